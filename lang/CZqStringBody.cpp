//===- lang/CZqStringBody.cpp - shared, counted storage of UTF-16 units ---===//
#include "lang/CZqStringBody.h"

#include <climits>
#include <cstring>
#include <cwctype>

#include "lang/ArrayIndexOutOfBoundsException.h"
#include "lang/IndexOutOfBoundsException.h"
#include "lang/OutOfMemoryError.h"
#include "lang/StringIndexOutOfBoundsException.h"
#include "lang/detail/CaseMap.h"
#include "lang/detail/Memory.h"
#include "lang/detail/NumberText.h"
#include "lang/detail/UnitScan.h"

namespace zqlang {
namespace {

// Spare units added beyond the need whenever an array grows.
constexpr int kGrowthSlack = 16;

// -1, 0 or 1 as the first length is smaller, equal or greater.
int LengthOrder(int a, int b) noexcept { return a < b ? -1 : (a > b ? 1 : 0); }

bool IsBlank(char16_t unit) noexcept { return std::iswspace(unit) != 0; }

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
  FreeUnits(mData);
  mData = nullptr;
  mLength = 0;
  mCapacity = 0;
}

CZqStringBody* CZqStringBody::Create(int capacity) {
  CZqStringBody* body = new (std::nothrow) CZqStringBody();
  if (body == nullptr)
    OutOfMemoryError::ThrowInstance();
  if (body->Init(capacity) != 0) {
    delete body;
    return nullptr;
  }
  return body;
}

CZqStringBody* CZqStringBody::Clone(const CZqStringBody& source) {
  CZqStringBody* copy = Create(source.mCapacity);
  if (copy == nullptr)
    OutOfMemoryError::ThrowInstance();
  std::memcpy(copy->mData, source.mData, static_cast<std::size_t>(source.mLength) * sizeof(char16_t));
  copy->mLength = source.mLength;
  return copy;
}

char16_t* CZqStringBody::AllocUnits(int capacity) noexcept {
  if (capacity < 0)
    return nullptr;
  return detail::AllocateArray<char16_t>(static_cast<long long>(capacity) + 1);
}

void CZqStringBody::FreeUnits(char16_t* units) noexcept { detail::Free(units); }

int CZqStringBody::Init(int capacity) noexcept {
  char16_t* units = AllocUnits(capacity);
  if (units == nullptr)
    return -1;
  if (mData != nullptr)
    FreeUnits(mData);
  mData = units;
  mCapacity = capacity;
  return 0;
}

//===-- Reading -----------------------------------------------------------===//

void CZqStringBody::ThrowCharAtOutOfBounds() { throw IndexOutOfBoundsException(); }

void CZqStringBody::GetChars(int srcBegin, int srcEnd, char16_t* dst, int dstBegin) const {
  if (srcBegin < 0)
    throw StringIndexOutOfBoundsException(srcBegin);
  if (srcBegin > srcEnd)
    throw StringIndexOutOfBoundsException(srcEnd - srcBegin);
  if (srcEnd > mLength)
    throw StringIndexOutOfBoundsException(srcEnd);
  if (dstBegin < 0)
    throw ArrayIndexOutOfBoundsException(dstBegin);
  std::memmove(dst + dstBegin, mData + srcBegin,
               static_cast<std::size_t>(srcEnd - srcBegin) * sizeof(char16_t));
}

//===-- Appending and growth ----------------------------------------------===//

void CZqStringBody::MakeRoom(int count) {
  if (count <= mCapacity - mLength)
    return;
  // mLength + count + 16 may not fit an int: such a size is no memory.
  const long long need = static_cast<long long>(mLength) + count + kGrowthSlack;
  if (need > INT_MAX)
    OutOfMemoryError::ThrowInstance();
  EnsureCapacity(static_cast<int>(need));
}

void CZqStringBody::EnsureCapacity(int capacity) {
  if (capacity <= mCapacity)
    return;
  // Reallocation keeps the units in use and can often extend the block in
  // place, so that a long run of small appends stays linear.
  char16_t* units =
      detail::ReallocateArray<char16_t>(mData, static_cast<long long>(capacity) + 1);
  if (units == nullptr)
    OutOfMemoryError::ThrowInstance();
  mData = units;
  mCapacity = capacity;
}

CZqStringBody& CZqStringBody::Append(const char16_t* units, int count) {
  if (count <= 0)
    return *this;
  MakeRoom(count);
  std::memcpy(mData + mLength, units, static_cast<std::size_t>(count) * sizeof(char16_t));
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

CZqStringBody& CZqStringBody::Append(long long value) {
  MakeRoom(detail::kNumberRoom);
  int count = detail::FormatInt64(value, mData + mLength, mCapacity - mLength);
  if (count > mCapacity - mLength) {  // a locale with digit grouping
    MakeRoom(count);
    detail::FormatInt64(value, mData + mLength, mCapacity - mLength);
  }
  mLength += count;
  return *this;
}

CZqStringBody& CZqStringBody::Append(double value) {
  MakeRoom(detail::kNumberRoom);
  int count = detail::FormatDouble(value, mData + mLength, mCapacity - mLength);
  if (count > mCapacity - mLength) {
    MakeRoom(count);
    detail::FormatDouble(value, mData + mLength, mCapacity - mLength);
  }
  mLength += count;
  return *this;
}

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
    const unsigned v = cp - 0x10000u;
    out[0] = static_cast<char16_t>(0xD800u + ((v & 0xFFC00u) >> 10));
    out[1] = static_cast<char16_t>(0xDC00u + (v & 0x3FFu));
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

int CZqStringBody::LastIndexOf(int codePoint, int fromIndex) const noexcept {
  char16_t units[2];
  const int encoded = EncodeCodePoint(codePoint, units);
  return encoded < 0 ? -1 : LastIndexOf(units, encoded + 1, fromIndex);
}

int CZqStringBody::LastIndexOf(const CZqStringBody& needle, int fromIndex) const noexcept {
  return LastIndexOf(needle.mData, needle.mLength, fromIndex);
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

void CZqStringBody::ToLowerCase() noexcept { detail::LowerUnits(mData, mLength); }

void CZqStringBody::ToUpperCase() noexcept { detail::UpperUnits(mData, mLength); }

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

}  // namespace zqlang
