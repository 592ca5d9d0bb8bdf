//===- lang/CZqDynamicArray.h - base of growable arrays -------------------===//
/// \file
/// CZqDynamicArray owns one block of fixed-size elements and grows it on
/// request; it checks indices and ranges and throws
/// ArrayIndexOutOfBoundsException with a fixed message when a check fails.
/// It never stores, reads or counts elements itself: a derived class does
/// that through the protected fields, keeping mSize up to date.
///
/// \code
///   class IntArray : public CZqDynamicArray {
///    public:
///     IntArray() : CZqDynamicArray(sizeof(int)) {}
///     void add(int v) {
///       EnsureAtLeastFree(1);
///       static_cast<int*>(mData)[mSize++] = v;
///     }
///     int get(int i) const {
///       VerifyIndexForGetting(i);
///       return static_cast<const int*>(mData)[i];
///     }
///   };
/// \endcode
///
/// Elements are plain bytes to this class: growth and trimming copy
/// mSize * mElementSize bytes and never run a constructor or destructor, so
/// it suits trivially copyable element types. Growth is exact (the request,
/// or the request plus 16 spare elements in EnsureAtLeastFree), at least 16
/// elements, never doubling; it uses a reallocation that can extend the block
/// in place. A size whose byte count does not fit is treated as no memory.
/// Arrays cannot be copied: the block has one owner.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_CZQDYNAMICARRAY_H
#define ZQ_LANG_CZQDYNAMICARRAY_H

#include "lang/ZqExport.h"

namespace zqlang {

/// Base of growable arrays of fixed-size elements with checked indices.
class ZQ_API CZqDynamicArray {
 public:
  CZqDynamicArray(const CZqDynamicArray&) = delete;
  CZqDynamicArray& operator=(const CZqDynamicArray&) = delete;

  /// True when no element is in use.
  bool isEmpty() const { return mSize == 0; }
  /// Number of elements in use.
  int size() const { return mSize; }
  /// Shrinks the block to the elements in use. When the smaller block cannot
  /// be had nothing changes and nothing is thrown.
  void trimToSize() const;

 protected:
  /// An array of elements of \p elementSize bytes, without a block.
  explicit CZqDynamicArray(int elementSize);
  /// Frees the block. Not virtual: derived arrays are destroyed as
  /// themselves.
  ~CZqDynamicArray();

  /// Gives an array without a block one of \p capacity elements. Returns
  /// false, changing nothing, when it cannot be had (or \p capacity is
  /// negative).
  bool Construct(int capacity);

  /// Makes room for \p count more elements: when they do not fit, the
  /// capacity becomes size() + count + 16. Throws OutOfMemoryError.
  void EnsureAtLeastFree(int count);
  /// EnsureCapacityNoThrow, with OutOfMemoryError on failure.
  void EnsureCapacity(int capacity);
  /// Grows the block to at least \p capacity elements (exactly that, or 16
  /// when less). Returns false, changing nothing, when it cannot be had.
  bool EnsureCapacityNoThrow(int capacity);

  /// Accepts 0 <= index <= size(), else throws
  /// ArrayIndexOutOfBoundsException("Index: " + index + ", Length: " + size).
  void VerifyIndexForAdding(int index) const;
  /// Accepts 0 <= index < size(), with the same message.
  void VerifyIndexForGetting(int index) const;
  /// Checks, in order: fromIndex is an existing element's index (message as
  /// above); toIndex <= size ("toIndex: " + toIndex + ", Length: " + size);
  /// fromIndex <= toIndex ("fromIndex: " + fromIndex +
  /// " is greater than toIndex: " + toIndex).
  void VerifyRange(int fromIndex, int toIndex) const;

  /// Size of one element in bytes.
  const int mElementSize;
  /// The block; null until the first one is allocated.
  mutable void* mData;
  /// Elements in use, kept by the derived class.
  int mSize;
  /// Elements the block holds.
  mutable int mCapacity;

  // Internals: not part of the interface.
 private:
  // Replaces the block with one of newCapacity elements keeping the first
  // mSize; false when it cannot be had.
  bool Resize(long long newCapacity) const;
};

}  // namespace zqlang

#endif  // ZQ_LANG_CZQDYNAMICARRAY_H
