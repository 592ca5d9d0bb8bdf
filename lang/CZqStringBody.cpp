//===- lang/CZqStringBody.cpp - shared, counted storage of UTF-16 units ---===//
#include "lang/CZqStringBody.h"

#include <cassert>
#include <climits>
#include <cstdint>
#include <cstring>
#include <cwctype>

#include "lang/ArrayIndexOutOfBoundsException.h"
#include "lang/CZqStringBuilder.h"
#include "lang/IllegalArgumentException.h"
#include "lang/IndexOutOfBoundsException.h"
#include "lang/NullPointerException.h"
#include "lang/OutOfMemoryError.h"
#include "lang/StringIndexOutOfBoundsException.h"
#include "lang/detail/BoundsText.h"
#include "lang/detail/CaseMap.h"
#include "lang/detail/Checks.h"
#include "lang/detail/Growth.h"
#include "lang/detail/Memory.h"
#include "lang/detail/NumberText.h"
#include "lang/detail/Surrogates.h"
#include "lang/detail/UnicodeCase.h"
#include "lang/detail/UnitBuffer.h"
#include "lang/detail/UnitReverse.h"
#include "lang/detail/UnitScan.h"

namespace zqlang {
namespace {

// -1, 0 or 1 as the first length is smaller, equal or greater.
int LengthOrder(int a, int b) noexcept { return a < b ? -1 : (a > b ? 1 : 0); }

// iswspace of the current C locale. Every locale counts the space, tab,
// line feed, vertical tab, form feed and carriage return as white space, and
// the other printable ASCII units (letters, digits, punctuation) as none:
// those are settled without the library call, which is almost every unit
// that trim looks at.
bool IsBlank(char16_t unit) noexcept {
  if (unit == u' ' || (unit >= u'\t' && unit <= u'\r'))
    return true;
  if (unit > u' ' && unit < 0x7F)
    return false;
  return std::iswspace(unit) != 0;
}

}  // namespace

//===-- Creation and counting ---------------------------------------------===//

void* CZqStringBody::operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return detail::Allocate(size);
}

void CZqStringBody::operator delete(void* block, const std::nothrow_t&) noexcept {
  detail::Free(block);
}

namespace {
// The bytes of a body's block: the object, then room + 1 units.
std::size_t BlockBytes(int room) noexcept {
  return sizeof(CZqStringBody) + (static_cast<std::size_t>(room) + 1) * sizeof(char16_t);
}
}  // namespace

void CZqStringBody::operator delete(void* block) noexcept { detail::Free(block); }

CZqStringBody::~CZqStringBody() {
  if (!HasInlineUnits())
    FreeUnits(mData);
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
  CZqStringBody* const body = NewBody(capacity, count);
  if (body == nullptr)
    OutOfMemoryError::ThrowInstance();
  if (count > 0)
    std::memcpy(body->mData, units, static_cast<std::size_t>(count) * sizeof(char16_t));
  body->mLength = count;
  body->mData[count] = 0;  // the body of a string: c_str() only reads
  return body;
}

CZqStringBody* CZqStringBody::Clone(const CZqStringBody& source, int room) {
  CZqStringBody* copy = CreateWithRoom(source.mCapacity, room);
  if (copy == nullptr)
    OutOfMemoryError::ThrowInstance();
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

void CZqStringBody::ThrowCharAtOutOfBounds() { throw IndexOutOfBoundsException(); }

void CZqStringBody::GetChars(int srcBegin, int srcEnd, char16_t* dst, int dstBegin) const {
  detail::CheckSourceRange(srcBegin, srcEnd, mLength);
  if (dstBegin < 0)
    throw ArrayIndexOutOfBoundsException(dstBegin);
  if (srcBegin == srcEnd)
    return;
  if (dst == nullptr)
    throw NullPointerException(CZqString(u"getChars: null destination"));
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
    char16_t* const units = AllocUnits(room);
    if (units == nullptr)
      OutOfMemoryError::ThrowInstance();
    std::memcpy(units, mData, static_cast<std::size_t>(mLength) * sizeof(char16_t));
    mData = units;
  } else {
    char16_t* const grown =
        detail::ReallocateArray<char16_t>(mData, static_cast<long long>(room) + 1);
    if (grown == nullptr)
      OutOfMemoryError::ThrowInstance();
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
  const int n = mLength < other.mLength ? mLength : other.mLength;
  const int i = detail::FirstDifference(mData, other.mData, n);
  if (i < n)
    return static_cast<int>(mData[i]) - static_cast<int>(other.mData[i]);
  return LengthOrder(mLength, other.mLength);
}

int CZqStringBody::CompareToIgnoreCase(const CZqStringBody& other) const noexcept {
  const int n = mLength < other.mLength ? mLength : other.mLength;
  // Equal units stay equal after towlower: only differing ones are mapped.
  for (int i = detail::FirstDifference(mData, other.mData, n); i < n;
       i += detail::FirstDifference(mData + i, other.mData + i, n - i)) {
    const int d = static_cast<int>(detail::LowerUnit(mData[i])) -
                  static_cast<int>(detail::LowerUnit(other.mData[i]));
    if (d != 0)
      return d;
    ++i;
  }
  return LengthOrder(mLength, other.mLength);
}

int CZqStringBody::HashCode() const noexcept {
  return static_cast<int>(detail::HashUnits(mData, mLength));
}

int CZqStringBody::EncodeCodePoint(int codePoint, char16_t* out) noexcept {
  const unsigned cp = static_cast<unsigned>(codePoint);
  if (cp > 0x10FFFFu)
    return -1;
  if (cp > 0xFFFFu) {
    out[0] = detail::HighSurrogateOf(cp);
    out[1] = detail::LowSurrogateOf(cp);
    return 1;
  }
  out[0] = static_cast<char16_t>(cp);
  return 0;
}

int CZqStringBody::IndexOf(int codePoint, int fromIndex) const noexcept {
  char16_t units[2];
  const int encoded = EncodeCodePoint(codePoint, units);
  return encoded < 0 ? -1 : IndexOf(units, encoded + 1, fromIndex);
}

int CZqStringBody::IndexOf(const CZqStringBody& needle, int fromIndex) const noexcept {
  return IndexOf(needle.mData, needle.mLength, fromIndex);
}

int CZqStringBody::IndexOf(const char16_t* units, int count, int fromIndex) const noexcept {
  if (fromIndex < 0)
    fromIndex = 0;
  else if (static_cast<long long>(fromIndex) + count > mLength)
    return -1;
  if (count == 0)
    return fromIndex;
  return detail::FindUnits(mData, fromIndex, mLength - count, units, count);
}

int CZqStringBody::LastIndexOf(const char16_t* units, int count, int fromIndex) const noexcept {
  if (static_cast<long long>(fromIndex) + count > mLength)
    fromIndex = mLength - count;
  if (fromIndex < 0)
    return -1;
  if (count == 0)
    return fromIndex;
  return detail::FindLastUnits(mData, fromIndex, units, count);
}

int CZqStringBody::LastIndexOf(const CZqStringBody& needle, int fromIndex) const noexcept {
  return LastIndexOf(needle.mData, needle.mLength, fromIndex);
}

int CZqStringBody::LastIndexOf(int codePoint, int fromIndex) const noexcept {
  char16_t units[2];
  const int encoded = EncodeCodePoint(codePoint, units);
  return encoded < 0 ? -1 : LastIndexOf(units, encoded + 1, fromIndex);
}

bool CZqStringBody::StartsWith(const CZqStringBody& prefix, int fromIndex) const noexcept {
  if (fromIndex < 0 || static_cast<long long>(fromIndex) + prefix.mLength > mLength)
    return false;
  return detail::UnitsEqual(mData + fromIndex, prefix.mData, prefix.mLength);
}

bool CZqStringBody::EndsWith(const CZqStringBody& suffix) const noexcept {
  if (suffix.mLength > mLength)
    return false;
  return detail::UnitsEqual(mData + (mLength - suffix.mLength), suffix.mData, suffix.mLength);
}

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
  CZqStringBody* const copy = CreateWithRoom(mCapacity, mCapacity);
  if (copy == nullptr)
    OutOfMemoryError::ThrowInstance();
  map(mData, copy->mData, mLength);
  copy->mLength = mLength;
  copy->mData[mLength] = 0;  // the body of a string: c_str() only reads
  return copy;
}

int CZqStringBody::FirstNonBlank() const noexcept {
  for (int i = 0; i < mLength; ++i) {
    if (!IsBlank(mData[i]))
      return i;
  }
  return -1;
}

int CZqStringBody::LastNonBlank() const noexcept {
  for (int i = mLength - 1; i >= 0; --i) {
    if (!IsBlank(mData[i]))
      return i;
  }
  return -1;
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
  if (mLength == 0 || (!IsBlank(mData[0]) && !IsBlank(mData[mLength - 1])))
    return const_cast<CZqStringBody*>(this);
  // Only the kept units are copied, into a body of the same capacity.
  const int first = FirstNonBlank();
  const int count = first < 0 ? 0 : LastNonBlank() - first + 1;
  return CreateCopy(mData + (first < 0 ? 0 : first), count, mCapacity);
}

//===-- Builder editing ---------------------------------------------------===//

namespace {

[[noreturn]] void ThrowInsertIndex(int index, int length) {
  // Assembled in a builder, the way the library builds its texts.
  CZqStringBuilder message(CZqString(u"Index: "));
  message.append(index).append(u", Length: ").append(length);
  throw StringIndexOutOfBoundsException(message.toString());
}

// The three checks shared by DeleteRange and ReplaceRange, in their order;
// the texts name the operation.
void CheckEditRange(int start, int end, int length, const char16_t* negativeStart,
                    const char16_t* startIndex) {
  if (start < 0)
    throw StringIndexOutOfBoundsException(detail::BoundsText(negativeStart, start));
  if (start > length) {
    throw StringIndexOutOfBoundsException(
        detail::BoundsText(startIndex, start, u") is greater than length (", length));
  }
  if (start > end) {
    throw StringIndexOutOfBoundsException(
        detail::BoundsText(startIndex, start, u") is greater than end index (", end));
  }
}

}  // namespace

void CZqStringBody::CheckInsertIndex(int index) const {
  if (index < 0 || index > mLength)
    ThrowInsertIndex(index, mLength);
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
  CheckEditRange(start, end, mLength, u"DeleteRange: Negative start index: ",
                 u"DeleteRange: start index (");
  if (end > mLength)
    end = mLength;
  std::memmove(mData + start, mData + end,
               static_cast<std::size_t>(mLength - end) * sizeof(char16_t));
  mLength -= end - start;
}

void CZqStringBody::DeleteCharAt(int index) {
  if (index < 0) {
    throw StringIndexOutOfBoundsException(
        detail::BoundsText(u"DeleteCharAt: Negative start index: ", index));
  }
  if (index >= mLength) {
    throw StringIndexOutOfBoundsException(detail::BoundsText(
        u"DeleteRange: Index (", index, u") is greater than or equal to length (", mLength));
  }
  DeleteRange(index, index + 1);
}

void CZqStringBody::ReplaceRange(int start, int end, const CZqStringBody& other) {
  assert(&other != this && "a body replaced into itself");
  CheckEditRange(start, end, mLength, u"Replace: Negative start index: ",
                 u"Replace: start index (");
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
  char16_t* const units = detail::AllocateArray<char16_t>(static_cast<long long>(room) + 1);
  if (units == nullptr)
    OutOfMemoryError::ThrowInstance();
  detail::ReverseUnits(mData, mLength, units);
  InstallUnits(units, room, mCapacity);
}

void CZqStringBody::SetCharAt(int index, char16_t unit) {
  if (index < 0)
    throw IndexOutOfBoundsException(CZqString(u"SetCharAt: Negative index"));
  if (index >= mLength)
    throw IndexOutOfBoundsException(CZqString(u"SetCharAt: Index >= length"));
  mData[index] = unit;
}

void CZqStringBody::SetLength(int newLength) {
  if (newLength < 0)
    throw IndexOutOfBoundsException(CZqString(u"SetLength: Negative length"));
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
  CZqStringBody* result = Create(mLength);
  if (result == nullptr)
    OutOfMemoryError::ThrowInstance();
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

int CZqStringBody::CompareToIgnoreCase(const CZqStringBody& other,
                                       ZqCaseRules rules) const noexcept {
  return detail::CompareFolded(mData, mLength, other.mData, other.mLength, rules);
}

//===-- Units held elsewhere ----------------------------------------------===//

bool CZqStringBody::EqualsUnits(const char16_t* units, std::size_t count) const noexcept {
  return count == static_cast<std::size_t>(mLength) && detail::UnitsEqual(mData, units, mLength);
}

bool CZqStringBody::Equals(const CZqStringBody& other) const noexcept {
  return this == &other || EqualsUnits(other.mData, static_cast<std::size_t>(other.mLength));
}

int CZqStringBody::CompareToUnits(const char16_t* units, std::size_t count) const noexcept {
  const int n = count < static_cast<std::size_t>(mLength) ? static_cast<int>(count) : mLength;
  const int i = detail::FirstDifference(mData, units, n);
  if (i < n)
    return static_cast<int>(mData[i]) - static_cast<int>(units[i]);
  const std::size_t length = static_cast<std::size_t>(mLength);
  return length < count ? -1 : (length > count ? 1 : 0);
}

int CZqStringBody::IndexOfUnits(const char16_t* units, std::size_t count,
                                int fromIndex) const noexcept {
  if (count > static_cast<std::size_t>(mLength))
    return -1;
  return IndexOf(units, static_cast<int>(count), fromIndex);
}

int CZqStringBody::LastIndexOfUnits(const char16_t* units, std::size_t count,
                                    int fromIndex) const noexcept {
  if (count > static_cast<std::size_t>(mLength))
    return -1;
  return LastIndexOf(units, static_cast<int>(count), fromIndex);
}

bool CZqStringBody::StartsWithUnits(const char16_t* units, std::size_t count,
                                    int fromIndex) const noexcept {
  if (fromIndex < 0 || fromIndex > mLength || count > static_cast<std::size_t>(mLength - fromIndex))
    return false;
  return detail::UnitsEqual(mData + fromIndex, units, static_cast<int>(count));
}

bool CZqStringBody::EndsWithUnits(const char16_t* units, std::size_t count) const noexcept {
  if (count > static_cast<std::size_t>(mLength))
    return false;
  const int n = static_cast<int>(count);
  return detail::UnitsEqual(mData + (mLength - n), units, n);
}

//===-- Code points -------------------------------------------------------===//

int CZqStringBody::CodePointAt(int index) const {
  if (static_cast<unsigned>(index) >= static_cast<unsigned>(mLength))
    ThrowCharAtOutOfBounds();
  return static_cast<int>(DecodeAt(mData + index, mData + mLength));
}

int CZqStringBody::CodePointBefore(int index) const {
  if (index < 1 || index > mLength)
    ThrowCharAtOutOfBounds();
  const char16_t low = mData[index - 1];
  if (index >= 2 && detail::IsLowSurrogate(low) && detail::IsHighSurrogate(mData[index - 2]))
    return static_cast<int>(DecodeAt(mData + index - 2, mData + index));
  return low;
}

int CZqStringBody::CodePointCount(int begin, int end) const {
  detail::CheckSourceRange(begin, end, mLength);
  int count = end - begin;
  for (int i = begin; i + 1 < end; ++i) {
    if (detail::IsHighSurrogate(mData[i]) && detail::IsLowSurrogate(mData[i + 1])) {
      --count;
      ++i;
    }
  }
  return count;
}

int CZqStringBody::OffsetByCodePoints(int index, int offset) const {
  if (index < 0 || index > mLength)
    ThrowCharAtOutOfBounds();
  int at = index;
  for (; offset > 0; --offset) {
    if (at >= mLength)
      ThrowCharAtOutOfBounds();
    at += DecodeAt(mData + at, mData + mLength) > 0xFFFF ? 2 : 1;
  }
  for (; offset < 0; ++offset) {
    if (at <= 0)
      ThrowCharAtOutOfBounds();
    --at;
    if (at > 0 && detail::IsLowSurrogate(mData[at]) && detail::IsHighSurrogate(mData[at - 1]))
      --at;
  }
  return at;
}

CZqStringBody& CZqStringBody::AppendCodePoint(int codePoint) {
  char16_t units[2];
  const int encoded = EncodeCodePoint(codePoint, units);
  if (encoded < 0) {
    // Java's wording: the 32 bits in upper-case hex, no leading zeros.
    static constexpr char16_t kHead[] = u"appendCodePoint: Not a valid Unicode code point: 0x";
    constexpr int kHeadLength = static_cast<int>(sizeof kHead / sizeof kHead[0]) - 1;
    char16_t message[kHeadLength + 8];
    std::memcpy(message, kHead, sizeof message - 8 * sizeof(char16_t));
    int n = kHeadLength;
    const unsigned value = static_cast<unsigned>(codePoint);
    bool started = false;
    for (int shift = 28; shift >= 0; shift -= 4) {
      const unsigned digit = (value >> shift) & 0xFu;
      started = started || digit != 0 || shift == 0;
      if (started)
        message[n++] = static_cast<char16_t>(digit < 10 ? u'0' + digit : u'A' + digit - 10);
    }
    throw IllegalArgumentException(CZqString(message, n));
  }
  return Append(units, encoded + 1);
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
