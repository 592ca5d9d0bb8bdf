//===- lang/detail/Memory.h - the library's one allocation layer ----------===//
/// \file
/// Every block the library takes from the heap goes through these functions.
/// They never throw: "no memory" is a null result, and each caller decides
/// what that means (almost always OutOfMemoryError::ThrowInstance()).
///
/// Byte counts are computed here with overflow checks, so a request whose
/// size does not fit is reported exactly like an exhausted heap.
///
/// The library never asks the heap how large a block really is: a caller that
/// wants to use room beyond what it needs asks for that room and records it.
///
/// The tests link their own build of the library, compiled with
/// ZARQLANG_FAULT_INJECTION, in which the functions in zqlang::detail::testing
/// make the n-th next allocation fail and count the blocks that are alive:
/// that is how the tests prove that every failure path is clean. The library
/// that is installed never has them.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_DETAIL_MEMORY_H
#define ZQ_LANG_DETAIL_MEMORY_H

#include <cstddef>

#include "lang/ZqExport.h"

namespace zqlang {
namespace detail {

/// Returns a block of at least \p bytes bytes (a request for 0 bytes gets a
/// block of its own), or null when no memory can be had.
void* Allocate(std::size_t bytes) noexcept;

/// Resizes \p block to \p bytes bytes, extending it in place when the heap
/// can. On failure returns null and leaves \p block valid and unchanged.
/// \p block may be null, which makes this an Allocate.
void* Reallocate(void* block, std::size_t bytes) noexcept;

/// As Allocate, but throws std::bad_alloc instead of returning null: the
/// contract of a class's plain operator new.
void* AllocateOrThrow(std::size_t bytes);

/// Gives back a block from Allocate or Reallocate; null is ignored.
void Free(void* block) noexcept;

/// Returns count * size, or 0 with \p ok false when the product overflows.
inline std::size_t CheckedBytes(long long count, std::size_t size, bool& ok) noexcept {
  std::size_t bytes = 0;
  ok = count >= 0 && !__builtin_mul_overflow(static_cast<unsigned long long>(count), size, &bytes);
  return ok ? bytes : 0;
}

/// Allocates an array of \p count elements of T; null when count is negative,
/// the byte count overflows, or no memory can be had.
template <class T>
T* AllocateArray(long long count) noexcept {
  bool ok = false;
  const std::size_t bytes = CheckedBytes(count, sizeof(T), ok);
  return ok ? static_cast<T*>(Allocate(bytes)) : nullptr;
}

/// Resizes an array of T to \p count elements; null on failure, the old array
/// then stays valid.
template <class T>
T* ReallocateArray(T* array, long long count) noexcept {
  bool ok = false;
  const std::size_t bytes = CheckedBytes(count, sizeof(T), ok);
  return ok ? static_cast<T*>(Reallocate(array, bytes)) : nullptr;
}

#if defined(ZARQLANG_FAULT_INJECTION)
namespace testing {

/// Makes allocations fail: the \p nth allocation from now on (1 = the next
/// one) yields no memory, and with \p persistent every one after it too.
/// 0 turns the switch off.
ZQ_API void FailAllocation(long long nth, bool persistent = false) noexcept;

/// Empties the string members' cache of compiled patterns, whose blocks
/// would otherwise stay alive between a test's counts.
void ClearPatternCache() noexcept;

/// Compiles patterns with the JIT (the default) or for the interpreter
/// alone, which the tests choose under valgrind.
void UseRegexJit(bool on) noexcept;
/// Whether patterns are compiled with the JIT.
bool RegexJitInUse() noexcept;

/// Number of allocations attempted (failed ones included) since load.
ZQ_API long long AllocationCount() noexcept;

/// Number of blocks handed out and not yet freed.
ZQ_API long long LiveBlocks() noexcept;

/// Counts one allocation attempt made outside the layer (the tests route the
/// standard library's operator new here while they sweep a path that uses
/// it) and says whether the switch makes it fail.
ZQ_API bool TakeAllocation() noexcept;

}  // namespace testing
#endif
}  // namespace detail
}  // namespace zqlang

#endif  // ZQ_LANG_DETAIL_MEMORY_H
