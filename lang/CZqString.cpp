//===- lang/CZqString.cpp - immutable UTF-16 text with shared storage -----===//
#include "lang/CZqString.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>

#include "lang/detail/NumberText.h"
#include "lang/detail/StringAccess.h"
#include "lang/detail/Surrogates.h"
#include "lang/detail/Text.h"
#include "lang/detail/Throw.h"
#include "lang/detail/UnicodeCase.h"
#include "lang/detail/UnitBuffer.h"
#include "lang/detail/Utf8.h"

namespace zqlang {
namespace {

// count + 1 as an int; a count that leaves no room for it is no memory.
int CapacityFor(long long count) {
  if (count + 1 > INT_MAX)
    detail::ThrowOutOfMemory();
  return static_cast<int>(count + 1);
}

// A new empty body of the capacity; OutOfMemoryError when it cannot be had.
CZqStringBody* NewBody(int capacity) {
  return detail::OrOutOfMemory(CZqStringBody::Create(capacity));
}

// Every body a string holds keeps a 0 unit just past its text, written
// while the new string is its one holder: c_str() then only reads, so copies
// of one string may call it on different threads.
const CZqStringBody& Terminated(CZqStringBody& body) noexcept {
  body.CStr();
  return body;
}

// A string's body holding the classic-locale text of a number, as append
// adds it to an empty body of the capacity.
template <class Number>
SPtr<CZqStringBody> ClassicNumberBody(Number value, int capacity) {
  SPtr<CZqStringBody> body(NewBody(capacity));
  Terminated(body->AppendClassic(value));
  return body;
}

}  // namespace

//===-- Construction ------------------------------------------------------===//

// Every empty string made this way shares one body that is never counted:
// a million of them take no memory beyond their own objects.
CZqString::CZqString() : mBody(&CZqStringBody::SharedEmpty()) {}

CZqString::CZqString(const CZqStringBody& body) : mBody(const_cast<CZqStringBody*>(&body)) {}

CZqString::CZqString(const char16_t* text) {
  detail::CheckText(text, u"CZqString(const char16_t*)");
  const int count = detail::TextLength(text);
  mBody = CZqStringBody::CreateCopy(text, count, CapacityFor(count));
}

CZqString::CZqString(const char16_t* text, int count) {
  detail::CheckText(text, u"CZqString(const char16_t*, int)");
  mBody = CZqStringBody::CreateCopy(text, count, CapacityFor(detail::CheckCount(count)));
}

CZqString::CZqString(const char16_t* text, int start, int count) {
  detail::CheckText(text, u"CZqString(const char16_t*, int, int)");
  if (start < 0)
    detail::ThrowStringIndexOutOfBounds(start);
  mBody = CZqStringBody::CreateCopy(text + start, count, CapacityFor(detail::CheckCount(count)));
}

CZqString::CZqString(const CZqString& a, const CZqString& b) {
  const int lengthA = a.length();
  const int lengthB = b.length();
  CreateBody(CapacityFor(static_cast<long long>(lengthA) + lengthB));
  mBody->Append(a.mBody->Ptr(), lengthA);
  mBody->Append(b.mBody->Ptr(), lengthB);
  Terminated(*mBody);
}

CZqString::CZqString(bool value) {
  CreateBody(5);
  Terminated(mBody->Append(value));
}

CZqString::CZqString(char16_t value) {
  CreateBody(1);
  Terminated(mBody->Append(value));
}

CZqString::CZqString(char value)
    : mBody(CZqStringBody::CreateNumber(static_cast<long long>(static_cast<signed char>(value)))) {}

CZqString::CZqString(short value)
    : mBody(CZqStringBody::CreateNumber(static_cast<long long>(value))) {}

CZqString::CZqString(int value)
    : mBody(CZqStringBody::CreateNumber(static_cast<long long>(value))) {}

CZqString::CZqString(long value)
    : mBody(CZqStringBody::CreateNumber(static_cast<long long>(value))) {}

CZqString::CZqString(long long value) : mBody(CZqStringBody::CreateNumber(value)) {}

CZqString::CZqString(double value) : mBody(CZqStringBody::CreateNumber(value)) {}

CZqString& CZqString::operator=(const CZqString& other) {
  Copy(other);
  return *this;
}

void CZqString::Copy(const CZqString& other) { mBody = other.mBody; }

void CZqString::CreateBody(int capacity) { mBody = NewBody(capacity); }

void CZqString::Release() { delete this; }

//===-- Reading -----------------------------------------------------------===//

// The terminator is there since the body was made (Terminated): nothing is
// written, so copies may call this on different threads.
const char16_t* CZqString::c_str() const { return mBody->Ptr(); }

void CZqString::getChars(int srcBegin, int srcEnd, char16_t* const dst, int dstBegin) const {
  mBody->GetChars(srcBegin, srcEnd, dst, dstBegin);
}

//===-- Comparison, hashing and search ------------------------------------===//

int CZqString::compareTo(const CZqString& other) const {
  return detail::Compare(view(), other.view());
}

int CZqString::compareToIgnoreCase(const CZqString& other) const {
  return detail::CompareIgnoreCase(view(), other.view());
}

bool CZqString::equalsIgnoreCase(const CZqString& other) const {
  return compareToIgnoreCase(other) == 0;
}

int CZqString::hashCode() const { return detail::Hash(view()); }

int CZqString::compareToIgnoreCase(const CZqString& other, ZqCaseRules rules) const {
  return detail::CompareFolded(Ptr(), length(), other.Ptr(), other.length(), rules);
}

bool CZqString::equalsIgnoreCase(const CZqString& other, ZqCaseRules rules) const {
  return compareToIgnoreCase(other, rules) == 0;
}

int CZqString::indexOf(int ch) const { return detail::IndexOfCodePoint(view(), ch, 0); }

int CZqString::indexOf(int ch, int fromIndex) const {
  return detail::IndexOfCodePoint(view(), ch, fromIndex);
}

int CZqString::indexOf(const CZqString& str) const {
  return detail::IndexOf(view(), str.view(), 0);
}

int CZqString::indexOf(const CZqString& str, int fromIndex) const {
  return detail::IndexOf(view(), str.view(), fromIndex);
}

int CZqString::lastIndexOf(int ch) const {
  return detail::LastIndexOfCodePoint(view(), ch, length());
}

int CZqString::lastIndexOf(int ch, int fromIndex) const {
  return detail::LastIndexOfCodePoint(view(), ch, fromIndex);
}

int CZqString::lastIndexOf(const CZqString& str) const {
  return detail::LastIndexOf(view(), str.view(), length());
}

int CZqString::lastIndexOf(const CZqString& str, int fromIndex) const {
  return detail::LastIndexOf(view(), str.view(), fromIndex);
}

bool CZqString::startsWith(const CZqString& prefix) const {
  return detail::StartsWith(view(), prefix.view(), 0);
}

bool CZqString::startsWith(const CZqString& prefix, int fromIndex) const {
  return detail::StartsWith(view(), prefix.view(), fromIndex);
}

bool CZqString::endsWith(const CZqString& suffix) const {
  return detail::EndsWith(view(), suffix.view());
}

//===-- Code points -------------------------------------------------------===//

int CZqString::codePointAt(int index) const { return detail::CodePointAt(view(), index); }

int CZqString::codePointBefore(int index) const { return detail::CodePointBefore(view(), index); }

int CZqString::codePointCount(int begin, int end) const {
  return detail::CodePointCount(view(), begin, end);
}

int CZqString::offsetByCodePoints(int index, int offset) const {
  return detail::OffsetByCodePoints(view(), index, offset);
}

char32_t ZqCodePointIterator::operator*() const noexcept { return detail::DecodeAt(mAt, mEnd); }

//===-- Derived strings ---------------------------------------------------===//

CZqString CZqString::substring(int beginIndex) const {
  if (beginIndex < 0 || beginIndex > length())
    detail::ThrowStringIndexOutOfBounds(beginIndex);
  const int count = length() - beginIndex;
  return detail::StringAccess::WithUnits(Ptr() + beginIndex, count, CapacityFor(count));
}

void CZqString::CheckRange(int beginIndex, int endIndex, int length) {
  detail::CheckSubstringRange(beginIndex, endIndex, length);
}

CZqString CZqString::substring(int beginIndex, int endIndex) const {
  CheckRange(beginIndex, endIndex, length());
  const int count = endIndex - beginIndex;
  return detail::StringAccess::WithUnits(Ptr() + beginIndex, count, CapacityFor(count));
}

CharSequence* CZqString::subSequence(int beginIndex, int endIndex) const {
  CheckRange(beginIndex, endIndex, length());
  return detail::OrOutOfMemory(new (std::nothrow)
                                   CZqString(Ptr(), beginIndex, endIndex - beginIndex));
}

CZqString CZqString::concat(const CZqString& str) const {
  if (str.length() == 0)
    return *this;
  return CZqString(*this, str);
}

CZqString operator+(const CZqString& a, const CZqString& b) { return CZqString(a, b); }

template <class Change>
CZqString CZqString::WithClone(Change change) const {
  const SPtr<CZqStringBody> clone(CZqStringBody::Clone(*mBody));
  change(*clone);
  return CZqString(*clone);
}

CZqString CZqString::replace(char16_t oldChar, char16_t newChar) const {
  const int first = detail::IndexOf(view(), std::u16string_view(&oldChar, 1), 0);
  if (first < 0)
    return *this;
  return WithClone([=](CZqStringBody& body) { body.Replace(oldChar, newChar, first); });
}

CZqString CZqString::toLowerCase() const {
  const SPtr<CZqStringBody> body(mBody->LowerCased());
  return CZqString(*body);
}

CZqString CZqString::toUpperCase() const {
  const SPtr<CZqStringBody> body(mBody->UpperCased());
  return CZqString(*body);
}

CZqString CZqString::trim() const {
  const SPtr<CZqStringBody> body(mBody->Trimmed());
  return CZqString(*body);
}

CZqString CZqString::toString() const { return *this; }

CZqString CZqString::toLowerCase(ZqCaseRules rules) const {
  const SPtr<CZqStringBody> body(mBody->LowerCased(rules));
  return CZqString(*body);
}

CZqString CZqString::toUpperCase(ZqCaseRules rules) const {
  const SPtr<CZqStringBody> body(mBody->UpperCased(rules));
  return CZqString(*body);
}

CZqString CZqString::foldCase(ZqCaseRules rules) const {
  const SPtr<CZqStringBody> body(mBody->CaseFolded(rules));
  return CZqString(*body);
}

//===-- Standard library interop ------------------------------------------===//

CZqString::CZqString(std::u16string_view text) {
  const int count = CapacityFor(static_cast<long long>(text.size())) - 1;
  mBody = CZqStringBody::CreateCopy(text.data(), count, count + 1);
}

CZqString::CZqString(const std::u16string& text) : CZqString(std::u16string_view(text)) {}

// Programs built against headers in which these were not inline call the
// library's copies: keep them emitted and exported.
[[maybe_unused]] __attribute__((used)) constexpr bool (CZqString::*kKeepEquals)(
    const CZqString&) const = &CZqString::equals;
[[maybe_unused]] __attribute__((used)) constexpr std::u16string_view (
    CZqString::*kKeepView)() const noexcept = &CZqString::view;
[[maybe_unused]] __attribute__((used)) constexpr const char16_t* (
    CZqString::*kKeepBegin)() const noexcept = &CZqString::begin;
[[maybe_unused]] __attribute__((used)) constexpr const char16_t* (
    CZqString::*kKeepEnd)() const noexcept = &CZqString::end;

CZqString CZqString::fromUtf8(std::string_view utf8) {
  const std::size_t length = detail::Utf16LengthOfUtf8(utf8.data(), utf8.size());
  const int count = CapacityFor(static_cast<long long>(length)) - 1;
  const SPtr<CZqStringBody> body(NewBody(count + 1));
  // Decoded straight into the body, all of it before anybody reads it.
  detail::DecodeAllUtf8(utf8, body->AppendUninitialized(count), length);
  return CZqString(Terminated(*body));
}

std::string CZqString::toUtf8() const { return detail::ToUtf8(mBody->Ptr(), mBody->Length()); }

std::ostream& operator<<(std::ostream& os, const CZqString& s) {
  return detail::WriteUtf8(os, s.Ptr(), s.length());
}

void PrintTo(const CZqString& s, std::ostream* os) {
  *os << "u\"";
  for (const char16_t unit : s) {
    switch (unit) {
      case u'"':
        *os << "\\\"";
        break;
      case u'\\':
        *os << "\\\\";
        break;
      case u'\n':
        *os << "\\n";
        break;
      case u'\r':
        *os << "\\r";
        break;
      case u'\t':
        *os << "\\t";
        break;
      default:
        if (unit >= 0x20 && unit < 0x7F) {
          *os << static_cast<char>(unit);
        } else {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(unit));
          *os << escaped;
        }
    }
  }
  *os << '"';
}

//===-- Comparison and search with views ----------------------------------===//

std::u16string_view CZqString::ViewOfText(const char16_t* text) {
  return std::u16string_view(detail::CheckText(text, u"CZqString"));
}

bool CZqString::EqualUnits(const CZqString& other) const noexcept {
  return detail::Equal(view(), other.view());
}

bool CZqString::equals(std::u16string_view text) const noexcept {
  return detail::Equal(view(), text);
}

int CZqString::compareTo(std::u16string_view text) const noexcept {
  return detail::Compare(view(), text);
}

bool CZqString::startsWith(std::u16string_view prefix, int fromIndex) const noexcept {
  return detail::StartsWith(view(), prefix, fromIndex);
}

bool CZqString::endsWith(std::u16string_view suffix) const noexcept {
  return detail::EndsWith(view(), suffix);
}

int CZqString::indexOf(std::u16string_view str, int fromIndex) const noexcept {
  return detail::IndexOf(view(), str, fromIndex);
}

int CZqString::lastIndexOf(std::u16string_view str) const noexcept {
  return detail::LastIndexOf(view(), str, length());
}

int CZqString::lastIndexOf(std::u16string_view str, int fromIndex) const noexcept {
  return detail::LastIndexOf(view(), str, fromIndex);
}

bool CZqString::contains(std::u16string_view str) const noexcept {
  return detail::IndexOf(view(), str, 0) >= 0;
}

bool CZqString::contains(const CZqString& str) const noexcept {
  return detail::IndexOf(view(), str.view(), 0) >= 0;
}

//===-- Java's everyday members -------------------------------------------===//

namespace {

// A string of exactly \p count units that \p fill writes, in one new body
// of capacity count + 1.
template <class Fill>
SPtr<CZqStringBody> BodyOfLength(long long count, Fill fill) {
  const int capacity = CapacityFor(count);
  SPtr<CZqStringBody> body(NewBody(capacity));
  fill(body->AppendUninitialized(capacity - 1));
  Terminated(*body);
  return body;
}

// The units of a sequence: a string's own (they never change), else read
// with its charAt into a buffer made for them.
std::u16string_view UnitsOf(const CharSequence& s, std::optional<detail::UnitBuffer>& buffer) {
  if (const auto* string = dynamic_cast<const CZqString*>(&s))
    return string->view();
  const int n = s.length();
  buffer.emplace(n);
  for (int i = 0; i < n; ++i)
    buffer->Get()[i] = s.charAt(i);
  return std::u16string_view(buffer->Get(), static_cast<std::size_t>(n));
}

}  // namespace

CZqString CZqString::OfLength(std::size_t length, void (*write)(char16_t*, void*), void* context) {
  const SPtr<CZqStringBody> body =
      BodyOfLength(detail::LengthAsInt(length), [&](char16_t* out) { write(out, context); });
  return CZqString(*body);
}

CZqString CZqString::repeat(int count) const {
  if (count < 0)
    detail::ThrowIllegalArgument(u"count is negative: ", count);
  if (count == 1)
    return *this;
  const std::size_t n = view().size();
  const std::size_t total = n * static_cast<std::size_t>(count);  // below 2^62: no overflow
  const SPtr<CZqStringBody> body = BodyOfLength(static_cast<long long>(total), [&](char16_t* out) {
    if (total == 0)
      return;
    std::memcpy(out, Ptr(), n * sizeof(char16_t));
    detail::FillWithCopies(out, n, total);
  });
  return CZqString(*body);
}

namespace {

// Units [first, end) of \p s, whose units are \p text: \p s itself (its body
// shared) when that is all of them, else a new body with them, made as
// substring makes one.
CZqString Part(const CZqString& s, std::u16string_view text, int first, int end) {
  if (first == 0 && static_cast<std::size_t>(end) == text.size())
    return s;
  const int count = end - first;
  return detail::StringAccess::WithUnits(text.data() + first, count, CapacityFor(count));
}

}  // namespace

CZqString CZqString::strip() const {
  const std::u16string_view text = view();
  const int first = detail::FirstNonWhitespace(text);
  const bool blank = static_cast<std::size_t>(first) == text.size();
  return Part(*this, text, first, blank ? first : detail::EndOfNonWhitespace(text));
}

CZqString CZqString::stripLeading() const {
  const std::u16string_view text = view();
  return Part(*this, text, detail::FirstNonWhitespace(text), static_cast<int>(text.size()));
}

CZqString CZqString::stripTrailing() const {
  const std::u16string_view text = view();
  return Part(*this, text, 0, detail::EndOfNonWhitespace(text));
}

bool CZqString::isBlank() const noexcept {
  return static_cast<std::size_t>(detail::FirstNonWhitespace(view())) == view().size();
}

CZqString CZqString::replace(const CharSequence& target, const CharSequence& replacement) const {
  // Another sequence (a builder) is read out first; a string is taken as is.
  std::optional<detail::UnitBuffer> targetUnits;
  std::optional<detail::UnitBuffer> replacementUnits;
  const std::u16string_view targetView = UnitsOf(target, targetUnits);
  return replace(targetView, UnitsOf(replacement, replacementUnits));
}

CZqString CZqString::replace(std::u16string_view target, std::u16string_view replacement) const {
  const std::u16string_view text = view();
  const int first = detail::IndexOf(text, target, 0);
  if (first < 0)
    return *this;
  detail::LengthAsInt(replacement.size());  // a longer one cannot fit in any result
  // Where the target stands, left to right without overlapping; an empty
  // one stands before every unit and at the end.
  const int step = target.empty() ? 1 : static_cast<int>(target.size());
  const auto next = [&](int at) {
    return at < length() ? detail::IndexOf(text, target, at + step) : -1;
  };
  long long found = 0;
  for (int at = first; at >= 0; at = next(at))
    ++found;
  const long long total =
      static_cast<long long>(text.size()) +
      found * (static_cast<long long>(replacement.size()) - static_cast<long long>(target.size()));
  const SPtr<CZqStringBody> body = BodyOfLength(total, [&](char16_t* out) {
    int from = 0;
    for (int at = first; at >= 0; at = next(at)) {
      out = std::copy(text.data() + from, text.data() + at, out);
      out = std::copy(replacement.begin(), replacement.end(), out);
      from = at + static_cast<int>(target.size());
    }
    std::copy(text.data() + from, text.data() + text.size(), out);
  });
  return CZqString(*body);
}

bool CZqString::regionMatches(int toffset, const CZqString& other, int ooffset,
                              int len) const noexcept {
  return detail::RegionMatches(view(), toffset, other.view(), ooffset, len, false);
}

bool CZqString::regionMatches(bool ignoreCase, int toffset, const CZqString& other, int ooffset,
                              int len) const noexcept {
  return detail::RegionMatches(view(), toffset, other.view(), ooffset, len, ignoreCase);
}

bool CZqString::contentEquals(const CharSequence& cs) const {
  const int n = length();
  if (cs.length() != n)
    return false;
  for (int i = 0; i < n; ++i) {
    if (cs.charAt(i) != Ptr()[i])
      return false;
  }
  return true;
}

int CZqString::compareToIgnoreCase(std::u16string_view text) const noexcept {
  return detail::CompareIgnoreCase(view(), text);
}

bool CZqString::equalsIgnoreCase(std::u16string_view text) const noexcept {
  return compareToIgnoreCase(text) == 0;
}

//===-- Numbers in the classic locale -------------------------------------===//

CZqString CZqString::fromNumber(int value) { return fromNumber(static_cast<long long>(value)); }

CZqString CZqString::fromNumber(long value) { return fromNumber(static_cast<long long>(value)); }

CZqString CZqString::fromNumber(long long value) {
  return CZqString(*ClassicNumberBody(value, detail::kNumberRoom));
}

CZqString CZqString::fromNumber(double value) {
  return CZqString(*ClassicNumberBody(value, detail::kShortestRoom));
}

}  // namespace zqlang
