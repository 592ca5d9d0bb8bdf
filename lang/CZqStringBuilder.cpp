//===- lang/CZqStringBuilder.cpp - mutable UTF-16 text, shared copy-on-write ===//
//
// Every member is a thin wrapper: a changing one ends the sharing with
// UnShare() and then calls one CZqStringBody operation, which checks, makes
// its room and only then moves units. Arguments that the body cannot check
// (null text, negative counts, ranges of a sequence) are checked here first.
//===----------------------------------------------------------------------===//
#include "lang/CZqStringBuilder.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <string>

#include "lang/detail/Text.h"
#include "lang/detail/Throw.h"
#include "lang/detail/UnitBuffer.h"
#include "lang/detail/Utf8.h"

namespace zqlang {
namespace {

// Capacity of a builder made by the default constructor.
constexpr int kDefaultCapacity = 16;

// Units that the array of a new or copied body holds at least, whatever its
// capacity: a builder usually grows, and the first growths (a text and a
// number or two: "Index: 7, Length: 42" needs capacity 43) then cost no
// reallocation. The capacities reported are not affected.
constexpr int kStartRoom = 63;

// Reads units [start, end) of s, one charAt at a time, into units.
void ReadUnits(const CharSequence& s, int start, int end, char16_t* units) {
  for (int i = start; i < end; ++i)
    units[i - start] = s.charAt(i);
}

// A new body with the capacity, length and units of source, and room to grow.
SPtr<CZqStringBody> CopyOf(const CZqStringBody& source) {
  return SPtr<CZqStringBody>(CZqStringBody::Clone(source, kStartRoom));
}

// A new string body of capacity end - start holding units [start, end) of
// body.
SPtr<CZqStringBody> CopyRange(const CZqStringBody& body, int start, int end) {
  return SPtr<CZqStringBody>(
      CZqStringBody::CreateCopy(body.Ptr() + start, end - start, end - start));
}

}  // namespace

//===-- Construction and storage ------------------------------------------===//

CZqStringBuilder::CZqStringBuilder() : mShared(false) { CreateBody(kDefaultCapacity); }

CZqStringBuilder::CZqStringBuilder(int capacity) : mShared(false) {
  if (capacity < 0)
    detail::ThrowNegativeArraySize();
  CreateBody(capacity);
}

CZqStringBuilder::CZqStringBuilder(const CZqString& s) : mBody(s.mBody), mShared(true) {
  // The shared empty body is never written, not even by trimToSize: a
  // builder of it takes an empty body of its own, of the same capacity.
  if (mBody.Get() == &CZqStringBody::SharedEmpty())
    CreateBody(mBody->Capacity());
}

CZqStringBuilder::CZqStringBuilder(const CZqStringBuilder& other)
    : CharSequence(other), Appendable(other), mBody(CopyOf(*other.mBody)), mShared(false) {}

CZqStringBuilder& CZqStringBuilder::operator=(const CZqStringBuilder& other) {
  if (this != &other) {
    mBody = CopyOf(*other.mBody);  // a failed copy leaves this builder as it was
    mShared = false;
  }
  return *this;
}

CZqStringBuilder::~CZqStringBuilder() { mBody = nullptr; }

void CZqStringBuilder::CreateBody(int capacity) {
  mBody = detail::OrOutOfMemory(CZqStringBody::CreateWithRoom(capacity, kStartRoom));
  mShared = false;
}

void CZqStringBuilder::UnShare() {
  if (!mShared)
    return;
  // When the strings that shared the body are gone, it is this builder's
  // alone again: no copy is needed, and none is made, so that pointers into
  // the body that the caller passes along stay valid. A string's compact
  // body gets room for its capacity (its old units stay readable).
  if (mBody->RefCount() > 1)
    mBody = CopyOf(*mBody);
  else
    mBody->Expand();
  mShared = false;
}

CZqString CZqStringBuilder::toString() const {
  // Strings find a 0 unit past their text, so that their c_str() only reads.
  // A builder that is not shared holds its body alone and writes it here; a
  // shared one has written nothing since (the units of a body that strings
  // hold never change), so it is still there.
  if (!mShared)
    mBody->CStr();
  mShared = true;
  return CZqString(*mBody);
}

int CZqStringBuilder::length() const { return mBody->Length(); }

int CZqStringBuilder::capacity() const { return mBody->Capacity(); }

void CZqStringBuilder::ensureCapacity(int minimum) {
  UnShare();
  mBody->EnsureCapacity(minimum);
}

void CZqStringBuilder::trimToSize() const {
#if defined(ZARQLANG_ATOMIC_COUNTS)
  // Holders of a shared body may be on other threads, reading its capacity
  // (a plain int): only a body held by this builder alone is trimmed.
  if (mBody->RefCount() != 1)
    return;
#endif
  mBody->TrimToSize();
}

void CZqStringBuilder::setLength(int newLength) {
  UnShare();
  mBody->SetLength(newLength);
}

void CZqStringBuilder::Release() { delete this; }

//===-- Appending ---------------------------------------------------------===//

CZqStringBuilder& CZqStringBuilder::append(bool b) { return AppendValue(b); }

void CZqStringBuilder::AppendUnit(char16_t ch) {
  UnShare();
  mBody->MakeRoom(1);
  mBody->TryAppend(ch);
}

CZqStringBuilder& CZqStringBuilder::append(const char16_t* str, int begin, int count) {
  detail::CheckText(str, u"CZqStringBuilder::append(const char16_t*, int, int)");
  detail::CheckCount(count);
  UnShare();
  mBody->Append(str + begin, count);
  return *this;
}

CZqStringBuilder& CZqStringBuilder::append(const char16_t* text) {
  detail::CheckText(text, u"CZqStringBuilder::append(const char16_t*)");
  // The same units as appending CZqString(text), without the temporary.
  const int count = detail::TextLength(text);
  UnShare();
  mBody->Append(text, count);
  return *this;
}

CZqStringBuilder& CZqStringBuilder::append(const CZqString& s) {
  UnShare();  // s may hold this body: from here on it no longer does
  const CZqStringBody& units = *s.mBody;
  mBody->Append(units.Ptr(), units.Length());
  return *this;
}

CZqStringBuilder& CZqStringBuilder::append(const CharSequence& s) {
  return append(s, 0, s.length());
}

CZqStringBuilder& CZqStringBuilder::append(const CharSequence& s, int start, int end) {
  UnShare();
  detail::CheckSourceRange(start, end, s.length());
  // Read before the body is touched, so that s may be this builder.
  const detail::UnitBuffer units(end - start);
  ReadUnits(s, start, end, units.Get());
  mBody->Append(units.Get(), end - start);
  return *this;
}

CZqStringBuilder& CZqStringBuilder::append(int v) { return AppendValue(v); }

CZqStringBuilder& CZqStringBuilder::append(long v) { return append(static_cast<long long>(v)); }

CZqStringBuilder& CZqStringBuilder::append(long long v) { return AppendValue(v); }

CZqStringBuilder& CZqStringBuilder::append(double v) { return AppendValue(v); }

//===-- Inserting ---------------------------------------------------------===//

CZqStringBuilder& CZqStringBuilder::insert(int index, bool b) { return InsertValue(index, b); }

CZqStringBuilder& CZqStringBuilder::insert(int index, char16_t ch) {
  return InsertValue(index, ch);
}

CZqStringBuilder& CZqStringBuilder::insert(int index, const char16_t* str, int begin, int count) {
  detail::CheckText(str, u"CZqStringBuilder::insert(int, const char16_t*, int, int)");
  detail::CheckCount(count);
  UnShare();
  mBody->Insert(index, str + begin, count);
  return *this;
}

CZqStringBuilder& CZqStringBuilder::insert(int index, const char16_t* text) {
  detail::CheckText(text, u"CZqStringBuilder::insert(int, const char16_t*)");
  const int count = detail::TextLength(text);
  UnShare();
  mBody->Insert(index, text, count);
  return *this;
}

CZqStringBuilder& CZqStringBuilder::insert(int index, const CZqString& s) {
  UnShare();
  mBody->Insert(index, *s.mBody);
  return *this;
}

CZqStringBuilder& CZqStringBuilder::insert(int index, const CharSequence& s) {
  return insert(index, s, 0, s.length());
}

CZqStringBuilder& CZqStringBuilder::insert(int index, const CharSequence& s, int start, int end) {
  // The range is checked before the sharing ends.
  using detail::RangeFault;
  detail::CheckRange<RangeFault::kNegativeStart, RangeFault::kNegativeEnd,
                     RangeFault::kStartAfterEnd, RangeFault::kEndAfterLength>(
      start, end, s.length(), {u"insert", false});
  UnShare();
  const detail::UnitBuffer units(end - start);
  ReadUnits(s, start, end, units.Get());
  mBody->Insert(index, units.Get(), end - start);
  return *this;
}

CZqStringBuilder& CZqStringBuilder::insert(int index, int v) {
  return insert(index, static_cast<long long>(v));
}

CZqStringBuilder& CZqStringBuilder::insert(int index, long v) {
  return insert(index, static_cast<long long>(v));
}

CZqStringBuilder& CZqStringBuilder::insert(int index, long long v) { return InsertValue(index, v); }

CZqStringBuilder& CZqStringBuilder::insert(int index, double v) { return InsertValue(index, v); }

//===-- Editing -----------------------------------------------------------===//

CZqStringBuilder& CZqStringBuilder::deleteRange(int start, int end) {
  UnShare();
  mBody->DeleteRange(start, end);
  return *this;
}

CZqStringBuilder& CZqStringBuilder::deleteCharAt(int index) {
  UnShare();
  mBody->DeleteCharAt(index);
  return *this;
}

CZqStringBuilder& CZqStringBuilder::replace(int start, int end, const CZqString& str) {
  UnShare();  // str may hold this body: from here on it no longer does
  mBody->ReplaceRange(start, end, *str.mBody);
  return *this;
}

CZqStringBuilder& CZqStringBuilder::reverse() {
  UnShare();
  mBody->Reverse();
  return *this;
}

void CZqStringBuilder::setCharAt(int index, char16_t ch) {
  UnShare();
  mBody->SetCharAt(index, ch);
}

//===-- Reading -----------------------------------------------------------===//

char16_t CZqStringBuilder::charAt(int index) const { return mBody->CharAt(index); }

void CZqStringBuilder::getChars(int srcBegin, int srcEnd, char16_t* const dst, int dstBegin) const {
  mBody->GetChars(srcBegin, srcEnd, dst, dstBegin);
}

int CZqStringBuilder::indexOf(const CZqString& str) const {
  return detail::IndexOf(view(), str.view(), 0);
}

int CZqStringBuilder::indexOf(const CZqString& str, int fromIndex) const {
  return detail::IndexOf(view(), str.view(), fromIndex);
}

int CZqStringBuilder::lastIndexOf(const CZqString& str) const {
  return detail::LastIndexOf(view(), str.view(), length());
}

int CZqStringBuilder::lastIndexOf(const CZqString& str, int fromIndex) const {
  return detail::LastIndexOf(view(), str.view(), fromIndex);
}

CZqString CZqStringBuilder::substring(int start) const { return substring(start, length()); }

CZqString CZqStringBuilder::substring(int start, int end) const {
  detail::CheckSubstringRange(start, end, length(), {u"substring", false});
  return CZqString(*CopyRange(*mBody, start, end));
}

CharSequence* CZqStringBuilder::subSequence(int start, int end) const {
  detail::CheckSourceRange(start, end, length());
  const SPtr<CZqStringBody> body = CopyRange(*mBody, start, end);
  return detail::OrOutOfMemory(new (std::nothrow) CZqString(*body));
}

//===-- Standard library interop ------------------------------------------===//

std::u16string_view CZqStringBuilder::view() const noexcept {
  return std::u16string_view(mBody->Ptr(), static_cast<std::size_t>(mBody->Length()));
}

const char16_t* CZqStringBuilder::begin() const noexcept { return mBody->Ptr(); }

const char16_t* CZqStringBuilder::end() const noexcept { return mBody->Ptr() + mBody->Length(); }

std::string CZqStringBuilder::toUtf8() const {
  return detail::ToUtf8(mBody->Ptr(), mBody->Length());
}

CZqStringBuilder& CZqStringBuilder::appendUtf8(std::string_view utf8) {
  const std::size_t length = detail::Utf16LengthOfUtf8(utf8.data(), utf8.size());
  const int count = detail::LengthAsInt(length);
  UnShare();
  // Decoded straight into the body, all of it before anybody reads it.
  detail::DecodeAllUtf8(utf8, mBody->AppendUninitialized(count), length);
  return *this;
}

std::ostream& operator<<(std::ostream& os, const CZqStringBuilder& b) {
  return detail::WriteUtf8(os, b.begin(), b.length());
}

//===-- Views -------------------------------------------------------------===//

CZqStringBuilder& CZqStringBuilder::append(std::u16string_view text) {
  const int count = detail::LengthAsInt(text.size());
  UnShare();  // a view of a string that shares the body stays valid: it holds it
  mBody->Append(text.data(), count);
  return *this;
}

CZqStringBuilder& CZqStringBuilder::repeat(std::u16string_view text, int count) {
  if (count < 0)
    detail::ThrowIllegalArgument(u"count is negative: ", count);
  const int n = detail::LengthAsInt(text.size());
  if (n == 0 || count == 0)
    return *this;
  if (n > (INT_MAX - length()) / count)
    detail::ThrowOutOfMemory();
  // The text may be this builder's own units, which the growth moves: it is
  // found again by its offset.
  const std::u16string_view own = view();
  const auto address = [](const char16_t* p) { return reinterpret_cast<std::uintptr_t>(p); };
  const bool inside = address(text.data()) >= address(own.data()) &&
                      address(text.data()) < address(own.data() + own.size());
  const std::size_t offset = inside ? static_cast<std::size_t>(text.data() - own.data()) : 0;
  UnShare();
  const std::size_t total = static_cast<std::size_t>(n) * static_cast<std::size_t>(count);
  char16_t* const out = mBody->AppendUninitialized(static_cast<int>(total));
  const char16_t* const from = inside ? view().data() + offset : text.data();
  std::memcpy(out, from, static_cast<std::size_t>(n) * sizeof(char16_t));
  detail::FillWithCopies(out, static_cast<std::size_t>(n), total);
  return *this;
}

CZqStringBuilder& CZqStringBuilder::insert(int index, std::u16string_view text) {
  const int count = detail::LengthAsInt(text.size());
  UnShare();
  mBody->Insert(index, text.data(), count);
  return *this;
}

//===-- Code points -------------------------------------------------------===//

int CZqStringBuilder::codePointAt(int index) const { return detail::CodePointAt(view(), index); }

int CZqStringBuilder::codePointBefore(int index) const {
  return detail::CodePointBefore(view(), index);
}

int CZqStringBuilder::codePointCount(int begin, int end) const {
  return detail::CodePointCount(view(), begin, end);
}

int CZqStringBuilder::offsetByCodePoints(int index, int offset) const {
  return detail::OffsetByCodePoints(view(), index, offset);
}

CZqStringBuilder& CZqStringBuilder::appendCodePoint(int codePoint) {
  UnShare();
  mBody->AppendCodePoint(codePoint);
  return *this;
}

//===-- Numbers in the classic locale -------------------------------------===//

CZqStringBuilder& CZqStringBuilder::appendNumber(int v) {
  return appendNumber(static_cast<long long>(v));
}

CZqStringBuilder& CZqStringBuilder::appendNumber(long v) {
  return appendNumber(static_cast<long long>(v));
}

CZqStringBuilder& CZqStringBuilder::appendNumber(long long v) {
  UnShare();
  mBody->AppendClassic(v);
  return *this;
}

CZqStringBuilder& CZqStringBuilder::appendNumber(double v) {
  UnShare();
  mBody->AppendClassic(v);
  return *this;
}

}  // namespace zqlang
