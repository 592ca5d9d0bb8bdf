//===- lang/CZqStringBody.cpp - shared, counted storage of UTF-16 units ---===//
#include "lang/CZqStringBody.h"

#include <cassert>
#include <climits>
#include <cstdint>
#include <cstring>

#include "lang/detail/CaseMap.h"
#include "lang/detail/Growth.h"
#include "lang/detail/Memory.h"
#include "lang/detail/NumberText.h"
#include "lang/detail/Surrogates.h"
#include "lang/detail/Text.h"
#include "lang/detail/Throw.h"
#include "lang/detail/UnicodeCase.h"
#include "lang/detail/UnitBuffer.h"
#include "lang/detail/UnitReverse.h"

namespace zqlang {

static_assert(CZqStringBody::kGrowthSlack == detail::kGrowthSlack,
              "the inline append grows by the rule of the library");

namespace {

// The bytes of a body's block: the object, then room + 1 units.
std::size_t BlockBytes(int room) noexcept {
  return sizeof(CZqStringBody) + (static_cast<std::size_t>(room) + 1) * sizeof(char16_t);
}

}  // namespace

//===-- Creation and counting ---------------------------------------------===//

void* CZqStringBody::operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return detail::Allocate(size);
}

void CZqStringBody::operator delete(void* block, const std::nothrow_t&) noexcept {
  detail::Free(block);
}

void CZqStringBody::operator delete(void* block) noexcept { detail::Free(block); }

CZqStringBody::~CZqStringBody() {
  if (!HasInlineUnits())
    FreeUnits(mData);
}

CZqStringBody& CZqStringBody::SharedEmpty() noexcept {
  // Static storage for the object and its 65 units, made at the first call
  // and never destroyed: nothing runs at load, and strings released by other
  // static destructors may still hold it at exit.
  constexpr int kCapacity = 64;
  alignas(CZqStringBody) static unsigned char
      storage[sizeof(CZqStringBody) + (kCapacity + 1) * sizeof(char16_t)];
  static CZqStringBody* const empty = [] {
    CZqStringBody* const body = ::new (storage) CZqStringBody();
    body->mData = body->InlineUnits();
    body->mData[0] = 0;  // terminated, as every string's body
    body->mRoom = kCapacity;
    body->mCapacity = kCapacity;
    body->mRefCount = kUncounted;
    return body;
  }();
  return *empty;
}

CZqStringBody* CZqStringBody::Create(int capacity) { return CreateWithRoom(capacity, capacity); }

CZqStringBody* CZqStringBody::Clone(const CZqStringBody& source) {
  return Clone(source, source.mCapacity);
}

CZqStringBody* CZqStringBody::CreateWithRoom(int capacity, int room) {
  if (capacity < 0)
    return nullptr;
  return NewBody(capacity, room < capacity ? capacity : room);
}

CZqStringBody* CZqStringBody::NewBody(int capacity, int room) noexcept {
  // One block: the body object, then its room + 1 units, so that a new
  // string costs one allocation. The units stay there until growth needs
  // more room than the block has; only a builder's body grows.
  static_assert(sizeof(CZqStringBody) % alignof(char16_t) == 0, "units follow the body");
  static_assert(SIZE_MAX / 4 > INT_MAX, "no int room overflows the block's size");
  void* const block = detail::Allocate(BlockBytes(room));
  if (block == nullptr)
    return nullptr;
  CZqStringBody* const body = ::new (block) CZqStringBody();
  body->mData = body->InlineUnits();
  body->mRoom = room;
  body->mCapacity = capacity;
  return body;
}

CZqStringBody* CZqStringBody::CreateCopy(const char16_t* units, int count, int capacity) {
  assert(0 <= count && count <= capacity);
  CZqStringBody* const body = detail::OrOutOfMemory(NewBody(capacity, count));
  if (count > 0)
    std::memcpy(body->mData, units, static_cast<std::size_t>(count) * sizeof(char16_t));
  body->mLength = count;
  body->mData[count] = 0;  // the body of a string: c_str() only reads
  return body;
}

CZqStringBody* CZqStringBody::Clone(const CZqStringBody& source, int room) {
  CZqStringBody* const copy = detail::OrOutOfMemory(CreateWithRoom(source.mCapacity, room));
  std::memcpy(copy->mData, source.mData,
              static_cast<std::size_t>(source.mLength) * sizeof(char16_t));
  copy->mLength = source.mLength;
  copy->mData[copy->mLength] = 0;  // may become a string's body
  return copy;
}

char16_t* CZqStringBody::AllocUnits(int capacity) noexcept {
  if (capacity < 0)
    return nullptr;
  return detail::AllocateArray<char16_t>(static_cast<long long>(capacity) + 1);
}

void CZqStringBody::FreeUnits(char16_t* units) noexcept { detail::Free(units); }

int CZqStringBody::Init(int capacity) noexcept {
  // A capacity below the length would leave text outside the array.
  if (capacity < mLength)
    return -1;
  char16_t* units = AllocUnits(capacity);
  if (units == nullptr)
    return -1;
  if (mLength > 0)
    std::memcpy(units, mData, static_cast<std::size_t>(mLength) * sizeof(char16_t));
  InstallUnits(units, capacity, capacity);
  return 0;
}

void CZqStringBody::InstallUnits(char16_t* units, int room, int capacity) noexcept {
  assert(mLength <= capacity && capacity <= room && "a body's text must fit its array");
  if (mData != units && !HasInlineUnits())
    FreeUnits(mData);
  mData = units;
  mRoom = room;
  mCapacity = capacity;
}

std::ptrdiff_t CZqStringBody::OffsetOf(const char16_t* units) const noexcept {
  // Compared as addresses: ordering pointers into different blocks is not
  // defined for the pointers themselves.
  const std::uintptr_t at = reinterpret_cast<std::uintptr_t>(units);
  const std::uintptr_t first = reinterpret_cast<std::uintptr_t>(mData);
  const std::uintptr_t bytes = (static_cast<std::uintptr_t>(mRoom) + 1) * sizeof(char16_t);
  if (mData == nullptr || at < first || at - first >= bytes)
    return -1;
  return static_cast<std::ptrdiff_t>((at - first) / sizeof(char16_t));
}

//===-- Reading -----------------------------------------------------------===//

void CZqStringBody::ThrowCharAtOutOfBounds() { detail::ThrowIndexOutOfBounds(); }

void CZqStringBody::GetChars(int srcBegin, int srcEnd, char16_t* dst, int dstBegin) const {
  detail::CheckSourceRange(srcBegin, srcEnd, mLength);
  if (dstBegin < 0)
    detail::ThrowArrayIndexOutOfBounds(dstBegin);
  if (srcBegin == srcEnd)
    return;
  if (dst == nullptr)
    detail::ThrowNullPointer(u"getChars", u"null destination");
  std::memmove(dst + dstBegin, mData + srcBegin,
               static_cast<std::size_t>(srcEnd - srcBegin) * sizeof(char16_t));
}

//===-- Appending and growth ----------------------------------------------===//

char16_t* CZqStringBody::AppendUninitialized(int count) {
  MakeRoom(count);
  char16_t* const start = mData + mLength;
  mLength += count;
  return start;
}

void CZqStringBody::MakeRoom(int count) { MakeRoomAfter(mLength, count); }

void CZqStringBody::MakeRoomAfter(int kept, int count) {
  if (count > mCapacity - kept)
    EnsureCapacity(detail::GrownCapacity(kept, count));
  else if (count > mRoom - kept)
    Expand();  // a compact body: its block holds the text alone
}

void CZqStringBody::EnsureCapacity(int capacity) {
  if (capacity <= mCapacity)
    return;
  // The capacity is exactly what was asked for, but the block behind it may
  // hold more: the heap rounds sizes up, and a reallocation here asks for
  // half as much again as the block held. A capacity that fits the block
  // costs nothing, so a long run of small appends reallocates a logarithmic
  // number of times, and realloc extends the block in place where it can.
  if (capacity > mRoom) {
    const long long ample = static_cast<long long>(mRoom) + mRoom / 2;
    Regrow(capacity > ample ? capacity : (ample < INT_MAX ? static_cast<int>(ample) : INT_MAX));
  }
  mCapacity = capacity;
  assert(mLength <= mCapacity && mCapacity <= mRoom);
}

void CZqStringBody::Regrow(int room) {
  if (HasInlineUnits()) {
    // The units leave the body's block for an array of their own, which
    // later growths can reallocate; the block keeps the old ones.
    char16_t* const units = detail::OrOutOfMemory(AllocUnits(room));
    std::memcpy(units, mData, static_cast<std::size_t>(mLength) * sizeof(char16_t));
    mData = units;
  } else {
    char16_t* const grown = detail::OrOutOfMemory(
        detail::ReallocateArray<char16_t>(mData, static_cast<long long>(room) + 1));
    // The old block is gone (or is this one): nothing to free.
    mData = grown;
  }
  mRoom = room;
}

void CZqStringBody::Expand() {
  if (mRoom < mCapacity)
    Regrow(mCapacity);
}

CZqStringBody& CZqStringBody::Append(const char16_t* units, int count) {
  if (count <= 0)
    return *this;
  // Units of this very array move with it when it grows.
  const std::ptrdiff_t offset = OffsetOf(units);
  MakeRoom(count);
  const char16_t* const from = offset < 0 ? units : mData + offset;
  std::memmove(mData + mLength, from, static_cast<std::size_t>(count) * sizeof(char16_t));
  mLength += count;
  return *this;
}

CZqStringBody& CZqStringBody::AppendNarrow(const char* text, int count) {
  MakeRoom(count);
  for (int i = 0; i < count; ++i)
    mData[mLength + i] = static_cast<char16_t>(static_cast<unsigned char>(text[i]));
  mLength += count;
  return *this;
}

CZqStringBody& CZqStringBody::Append(bool value) {
  return value ? AppendNarrow("true", 4) : AppendNarrow("false", 5);
}

CZqStringBody& CZqStringBody::Append(char16_t unit) { return Append(&unit, 1); }

// The byte as a signed number, -128 to 127, also where char is unsigned.
CZqStringBody& CZqStringBody::Append(char value) {
  return Append(static_cast<long long>(static_cast<signed char>(value)));
}

CZqStringBody& CZqStringBody::Append(short value) { return Append(static_cast<long long>(value)); }

CZqStringBody& CZqStringBody::Append(int value) { return Append(static_cast<long long>(value)); }

namespace {

// The capacity a number text of count units leaves a body of this length and
// capacity: room for the 20 units every number asks for, by the MakeRoom
// rule, then once more when the text is longer (a locale's grouping).
int NumberCapacity(int length, int capacity, int count) {
  if (detail::kNumberRoom > capacity - length)
    capacity = detail::GrownCapacity(length, detail::kNumberRoom);
  if (count > capacity - length)
    capacity = detail::GrownCapacity(length, count);
  return capacity;
}

}  // namespace

void CZqStringBody::MakeNumberRoom(int count) {
  EnsureCapacity(NumberCapacity(mLength, mCapacity, count));
  if (count > mRoom - mLength)
    Expand();  // a compact body whose capacity already held the text
}

namespace {

// Formats value into a local array, or a scratch one when a locale's digit
// grouping makes the text longer, then hands the complete text to add: the
// body is not touched before the text is known, so a failure on the way
// leaves it as it was.
int FormatNumber(long long value, char16_t* out, int room) {
  return detail::FormatInt64(value, out, room);
}
int FormatNumber(double value, char16_t* out, int room) {
  return detail::FormatDouble(value, out, room);
}

template <class Number, class Add>
auto WithNumberText(Number value, Add add) -> decltype(add(nullptr, 0)) {
  char16_t text[detail::kNumberRoom];
  const int count = FormatNumber(value, text, detail::kNumberRoom);
  if (count <= detail::kNumberRoom)
    return add(text, count);
  const detail::UnitBuffer longer(count);
  FormatNumber(value, longer.Get(), count);
  return add(longer.Get(), count);
}

}  // namespace

template <class Number>
CZqStringBody& CZqStringBody::AppendNumber(Number value) {
  // When the block holds the capacity a classic text leaves, the text is
  // written in place, past the length: nobody reads those units, so a
  // failure leaves the body as it was, and the capacity is raised only once
  // the text is there. A longer (grouped) text takes the general way.
  const int capacity = NumberCapacity(mLength, mCapacity, detail::kNumberRoom);
  if (capacity <= mRoom) {
    const int count = FormatNumber(value, mData + mLength, detail::kNumberRoom);
    if (count <= detail::kNumberRoom) {
      mCapacity = capacity;
      mLength += count;
      return *this;
    }
  }
  return WithNumberText(value, [this](const char16_t* text, int count) -> CZqStringBody& {
    MakeNumberRoom(count);
    std::memcpy(mData + mLength, text, static_cast<std::size_t>(count) * sizeof(char16_t));
    mLength += count;
    return *this;
  });
}

CZqStringBody& CZqStringBody::Append(long long value) { return AppendNumber(value); }

template <class Number>
CZqStringBody* CZqStringBody::NumberBody(Number value) {
  // The capacity is the one Append(value) leaves an empty body of 20.
  return WithNumberText(value, [](const char16_t* text, int count) {
    return CreateCopy(text, count, NumberCapacity(0, detail::kNumberRoom, count));
  });
}

CZqStringBody* CZqStringBody::CreateNumber(long long value) { return NumberBody(value); }

CZqStringBody* CZqStringBody::CreateNumber(double value) { return NumberBody(value); }

CZqStringBody& CZqStringBody::Append(double value) { return AppendNumber(value); }

//===-- Comparison and search ---------------------------------------------===//

int CZqStringBody::CompareTo(const CZqStringBody& other) const noexcept {
  return detail::Compare(View(), other.View());
}

int CZqStringBody::CompareToIgnoreCase(const CZqStringBody& other) const noexcept {
  return detail::CompareIgnoreCase(View(), other.View());
}

int CZqStringBody::HashCode() const noexcept { return detail::Hash(View()); }

int CZqStringBody::EncodeCodePoint(int codePoint, char16_t* out) noexcept {
  return detail::EncodeUtf16(codePoint, out) - 1;
}

int CZqStringBody::IndexOf(int codePoint, int fromIndex) const noexcept {
  return detail::IndexOfCodePoint(View(), codePoint, fromIndex);
}

int CZqStringBody::IndexOf(const CZqStringBody& needle, int fromIndex) const noexcept {
  return detail::IndexOf(View(), needle.View(), fromIndex);
}

int CZqStringBody::IndexOf(const char16_t* units, int count, int fromIndex) const noexcept {
  return detail::IndexOf(View(), std::u16string_view(units, static_cast<std::size_t>(count)),
                         fromIndex);
}

int CZqStringBody::LastIndexOf(int codePoint, int fromIndex) const noexcept {
  return detail::LastIndexOfCodePoint(View(), codePoint, fromIndex);
}

int CZqStringBody::LastIndexOf(const CZqStringBody& needle, int fromIndex) const noexcept {
  return detail::LastIndexOf(View(), needle.View(), fromIndex);
}

int CZqStringBody::LastIndexOf(const char16_t* units, int count, int fromIndex) const noexcept {
  return detail::LastIndexOf(View(), std::u16string_view(units, static_cast<std::size_t>(count)),
                             fromIndex);
}

bool CZqStringBody::StartsWith(const CZqStringBody& prefix, int fromIndex) const noexcept {
  return detail::StartsWith(View(), prefix.View(), fromIndex);
}

bool CZqStringBody::EndsWith(const CZqStringBody& suffix) const noexcept {
  return detail::EndsWith(View(), suffix.View());
}

int CZqStringBody::FirstNonBlank() const noexcept { return detail::FirstNonBlank(View()); }

int CZqStringBody::LastNonBlank() const noexcept { return detail::LastNonBlank(View()); }

//===-- Changes applied to a fresh clone ----------------------------------===//

void CZqStringBody::Replace(char16_t oldChar, char16_t newChar, int fromIndex) noexcept {
  for (int i = fromIndex < 0 ? 0 : fromIndex; i < mLength; ++i) {
    if (mData[i] == oldChar)
      mData[i] = newChar;
  }
}

void CZqStringBody::ToLowerCase() noexcept { detail::LowerUnits(mData, mData, mLength); }

void CZqStringBody::ToUpperCase() noexcept { detail::UpperUnits(mData, mData, mLength); }

CZqStringBody* CZqStringBody::LowerCased() const { return MappedClone(detail::LowerUnits); }

CZqStringBody* CZqStringBody::UpperCased() const { return MappedClone(detail::UpperUnits); }

CZqStringBody* CZqStringBody::MappedClone(UnitMapper map) const {
  // A clone and the in-place mapping in one pass: the units are read once
  // and written once, mapped.
  CZqStringBody* const copy = detail::OrOutOfMemory(CreateWithRoom(mCapacity, mCapacity));
  map(mData, copy->mData, mLength);
  copy->mLength = mLength;
  copy->mData[mLength] = 0;  // the body of a string: c_str() only reads
  return copy;
}

void CZqStringBody::Trim() noexcept {
  const int first = FirstNonBlank();
  if (first < 0) {
    mLength = 0;
    return;
  }
  mLength = LastNonBlank() - first + 1;
  if (first > 0)
    std::memmove(mData, mData + first, static_cast<std::size_t>(mLength) * sizeof(char16_t));
}

CZqStringBody* CZqStringBody::Trimmed() const {
  if (mLength == 0 || (!detail::IsBlank(mData[0]) && !detail::IsBlank(mData[mLength - 1])))
    return const_cast<CZqStringBody*>(this);
  // Only the kept units are copied, into a body of the same capacity.
  const int first = FirstNonBlank();
  const int count = first < 0 ? 0 : LastNonBlank() - first + 1;
  return CreateCopy(mData + (first < 0 ? 0 : first), count, mCapacity);
}

//===-- Builder editing ---------------------------------------------------===//

void CZqStringBody::CheckInsertIndex(int index) const {
  if (index < 0 || index > mLength)
    detail::ThrowInsertIndex(index, mLength);
}

CZqStringBody& CZqStringBody::Insert(int index, const char16_t* units, int count) {
  CheckInsertIndex(index);
  if (count <= 0)
    return *this;
  const std::ptrdiff_t offset = OffsetOf(units);
  if (offset >= 0 && offset + count > mLength) {
    // Units of this array past its text: the tail would move over them, so
    // they are read out first.
    const detail::UnitBuffer copy(count);
    std::memcpy(copy.Get(), units, static_cast<std::size_t>(count) * sizeof(char16_t));
    return Insert(index, copy.Get(), count);
  }
  MakeRoom(count);
  char16_t* const at = mData + index;
  std::memmove(at + count, at, static_cast<std::size_t>(mLength - index) * sizeof(char16_t));
  if (offset < 0) {
    std::memcpy(at, units, static_cast<std::size_t>(count) * sizeof(char16_t));
  } else {
    // Units of the text before index stayed where they were; the rest moved
    // count units along with the tail.
    const std::ptrdiff_t gap = index - offset;
    const std::ptrdiff_t before = gap <= 0 ? 0 : (gap < count ? gap : count);
    std::memmove(at, mData + offset, static_cast<std::size_t>(before) * sizeof(char16_t));
    std::memmove(at + before, mData + offset + before + count,
                 static_cast<std::size_t>(count - before) * sizeof(char16_t));
  }
  mLength += count;
  return *this;
}

CZqStringBody& CZqStringBody::Insert(int index, bool value) {
  return value ? Insert(index, u"true", 4) : Insert(index, u"false", 5);
}

CZqStringBody& CZqStringBody::Insert(int index, char16_t unit) { return Insert(index, &unit, 1); }

template <class Number>
CZqStringBody& CZqStringBody::InsertNumber(int index, Number value) {
  return WithNumberText(value, [this, index](const char16_t* text, int count) -> CZqStringBody& {
    return Insert(index, text, count);
  });
}

CZqStringBody& CZqStringBody::Insert(int index, long long value) {
  return InsertNumber(index, value);
}

CZqStringBody& CZqStringBody::Insert(int index, double value) { return InsertNumber(index, value); }

CZqStringBody& CZqStringBody::Insert(int index, const CZqStringBody& other) {
  assert(&other != this && "a body inserted into itself");
  return Insert(index, other.mData, other.mLength);
}

void CZqStringBody::DeleteRange(int start, int end) {
  detail::CheckEditRange(start, end, mLength, u"DeleteRange");
  if (end > mLength)
    end = mLength;
  std::memmove(mData + start, mData + end,
               static_cast<std::size_t>(mLength - end) * sizeof(char16_t));
  mLength -= end - start;
}

void CZqStringBody::DeleteCharAt(int index) {
  if (index < 0 || index >= mLength)
    detail::ThrowDeleteCharAt(index, mLength);
  DeleteRange(index, index + 1);
}

void CZqStringBody::ReplaceRange(int start, int end, const CZqStringBody& other) {
  assert(&other != this && "a body replaced into itself");
  detail::CheckEditRange(start, end, mLength, u"Replace");
  if (end > mLength)
    end = mLength;
  const int count = other.mLength;
  const int kept = mLength - (end - start);  // the length once the range is gone
  // Room first, exactly as much as deleting and then inserting would make,
  // so that running out of memory leaves the text as it was.
  MakeRoomAfter(kept, count);
  // The tail moves once, straight to its final place.
  std::memmove(mData + start + count, mData + end,
               static_cast<std::size_t>(mLength - end) * sizeof(char16_t));
  std::memcpy(mData + start, other.mData, static_cast<std::size_t>(count) * sizeof(char16_t));
  mLength = kept + count;
}

void CZqStringBody::Reverse() {
  if (mLength == 0)
    return;
  // A block as large as the old one, so that the room beyond the capacity
  // stays for later growth; a compact body's holds its whole capacity.
  const int room = mRoom < mCapacity ? mCapacity : mRoom;
  char16_t* const units =
      detail::OrOutOfMemory(detail::AllocateArray<char16_t>(static_cast<long long>(room) + 1));
  detail::ReverseUnits(mData, mLength, units);
  InstallUnits(units, room, mCapacity);
}

void CZqStringBody::SetCharAt(int index, char16_t unit) {
  if (index < 0)
    detail::ThrowIndexOutOfBounds(u"SetCharAt: Negative index");
  if (index >= mLength)
    detail::ThrowIndexOutOfBounds(u"SetCharAt: Index >= length");
  mData[index] = unit;
}

void CZqStringBody::SetLength(int newLength) {
  if (newLength < 0)
    detail::ThrowIndexOutOfBounds(u"SetLength: Negative length");
  EnsureCapacity(newLength);
  if (newLength > mRoom)
    Expand();  // a compact body whose capacity already held the length
  for (int i = mLength; i < newLength; ++i)
    mData[i] = 0;
  mLength = newLength;
}

void CZqStringBody::TrimToSize() noexcept {
  // The units stay where they are: strings that share the body keep their
  // pointers, and nothing can fail. The room beyond stays for later growth.
  mCapacity = mLength;
}

//===-- Unicode case mapping ----------------------------------------------===//

CZqStringBody* CZqStringBody::CaseMapped(detail::CaseMapping mapping, ZqCaseRules rules) const {
  int pos = detail::FirstCaseChange(mapping, rules, mData, mLength);
  if (pos == mLength)
    return const_cast<CZqStringBody*>(this);
  CZqStringBody* const result = detail::OrOutOfMemory(Create(mLength));
  std::memcpy(result->mData, mData, static_cast<std::size_t>(pos) * sizeof(char16_t));
  result->mLength = pos;
  try {
    for (;;) {
      result->mLength +=
          detail::MapCaseRun(mapping, rules, mData, mLength, &pos, result->mData + result->mLength,
                             result->mCapacity - result->mLength);
      if (pos == mLength)
        break;
      // A run stops early only where the next code point does not fit.
      result->MakeRoom(mLength - pos + detail::kMaxCaseExpansion);
    }
  } catch (...) {
    delete result;
    throw;
  }
  result->mData[result->mLength] = 0;  // the body of a string: c_str() only reads
  return result;
}

CZqStringBody* CZqStringBody::LowerCased(ZqCaseRules rules) const {
  return CaseMapped(detail::CaseMapping::kLower, rules);
}

CZqStringBody* CZqStringBody::UpperCased(ZqCaseRules rules) const {
  return CaseMapped(detail::CaseMapping::kUpper, rules);
}

CZqStringBody* CZqStringBody::CaseFolded(ZqCaseRules rules) const {
  return CaseMapped(detail::CaseMapping::kFold, rules);
}

CZqStringBody& CZqStringBody::AppendCodePoint(int codePoint) {
  char16_t units[2];
  const int count = detail::EncodeUtf16(codePoint, units);
  if (count == 0)
    detail::ThrowInvalidCodePoint(codePoint);
  return Append(units, count);
}

//===-- Numbers in the classic locale -------------------------------------===//

CZqStringBody& CZqStringBody::AppendClassic(long long value) {
  char16_t text[detail::kNumberRoom];
  const int count = detail::FormatClassic(value, text, detail::kNumberRoom);
  return Append(text, count);
}

CZqStringBody& CZqStringBody::AppendClassic(double value) {
  char16_t text[detail::kShortestRoom];
  const int count = detail::FormatShortest(value, text, detail::kShortestRoom);
  return Append(text, count);
}

}  // namespace zqlang
