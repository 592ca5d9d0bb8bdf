//===- lang/detail/UnitBuffer.h - a temporary array of UTF-16 units -------===//
/// \file
/// The scratch array an operation needs for a moment (the units of a
/// sequence read before the builder is touched, a number text too long for
/// the local array). It comes from the library's allocation layer and is
/// given back when the operation ends, also when an exception passes.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_DETAIL_UNITBUFFER_H
#define ZQ_LANG_DETAIL_UNITBUFFER_H

#include "lang/detail/Memory.h"
#include "lang/detail/Throw.h"

namespace zqlang {
namespace detail {

class UnitBuffer {
 public:
  /// An uninitialised array of \p count units (0 included: a block of its
  /// own). OutOfMemoryError when it cannot be had.
  explicit UnitBuffer(int count) : mUnits(OrOutOfMemory(AllocateArray<char16_t>(count))) {}
  ~UnitBuffer() { Free(mUnits); }
  UnitBuffer(const UnitBuffer&) = delete;
  UnitBuffer& operator=(const UnitBuffer&) = delete;

  char16_t* Get() const noexcept { return mUnits; }

 private:
  char16_t* mUnits;
};

}  // namespace detail
}  // namespace zqlang

#endif  // ZQ_LANG_DETAIL_UNITBUFFER_H
