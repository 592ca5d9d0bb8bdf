//===- lang/CZqDynamicArray.cpp - base of growable arrays -----------------===//
#include "lang/CZqDynamicArray.h"

#include <climits>

#include "lang/detail/Growth.h"
#include "lang/detail/Memory.h"
#include "lang/detail/Throw.h"

namespace zqlang {
namespace {

// Smallest block a growth makes.
constexpr int kMinimumCapacity = 16;

[[noreturn]] void ThrowIndex(const char16_t* first, int a, const char16_t* second, int b) {
  detail::ThrowArrayIndexOutOfBounds(first, a, second, b);
}

}  // namespace

CZqDynamicArray::CZqDynamicArray(int elementSize)
    : mElementSize(elementSize), mData(nullptr), mSize(0), mCapacity(0) {}

CZqDynamicArray::~CZqDynamicArray() {
  detail::Free(mData);
  mData = nullptr;
  mSize = 0;
  mCapacity = 0;
}

bool CZqDynamicArray::Resize(long long newCapacity) const {
  bool fits = false;
  const std::size_t bytes =
      detail::CheckedBytes(newCapacity, static_cast<std::size_t>(mElementSize), fits);
  if (!fits || mElementSize < 0)
    return false;
  void* block = detail::Reallocate(mData, bytes);
  if (block == nullptr)
    return false;
  mData = block;
  mCapacity = static_cast<int>(newCapacity);
  return true;
}

bool CZqDynamicArray::Construct(int capacity) {
  if (capacity < 0)
    return false;
  return Resize(capacity);
}

bool CZqDynamicArray::EnsureCapacityNoThrow(int capacity) {
  if (capacity <= mCapacity)
    return true;
  return Resize(capacity < kMinimumCapacity ? kMinimumCapacity : capacity);
}

void CZqDynamicArray::EnsureCapacity(int capacity) {
  if (!EnsureCapacityNoThrow(capacity))
    detail::ThrowOutOfMemory();
}

void CZqDynamicArray::EnsureAtLeastFree(int count) {
  if (count <= mCapacity - mSize)
    return;
  EnsureCapacity(detail::GrownCapacity(mSize, count));
}

void CZqDynamicArray::trimToSize() const {
  if (mSize < mCapacity)
    Resize(mSize);  // a failure keeps the larger block
}

void CZqDynamicArray::VerifyIndexForAdding(int index) const {
  if (index < 0 || index > mSize)
    ThrowIndex(u"Index: ", index, u", Length: ", mSize);
}

void CZqDynamicArray::VerifyIndexForGetting(int index) const {
  if (index < 0 || index >= mSize)
    ThrowIndex(u"Index: ", index, u", Length: ", mSize);
}

void CZqDynamicArray::VerifyRange(int fromIndex, int toIndex) const {
  VerifyIndexForGetting(fromIndex);
  if (toIndex > mSize)
    ThrowIndex(u"toIndex: ", toIndex, u", Length: ", mSize);
  if (fromIndex > toIndex)
    ThrowIndex(u"fromIndex: ", fromIndex, u" is greater than toIndex: ", toIndex);
}

}  // namespace zqlang
