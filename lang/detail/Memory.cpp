//===- lang/detail/Memory.cpp - the library's one allocation layer --------===//
//
// The blocks come from malloc/realloc/free: realloc can extend a block in
// place, which keeps the exact "need + 16" growth of string bodies linear in
// practice instead of copying the whole text at every growth.
//
// The failure switch and the counters are plain integers: the library has no
// threads, and a test drives one allocation at a time.
//===----------------------------------------------------------------------===//
#include "lang/detail/Memory.h"

#include <cstdlib>
#include <new>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace zqlang {
namespace detail {
namespace {

#if defined(ZARQLANG_FAULT_INJECTION)
long long gAllocations = 0;  // attempts since load
long long gFailAt = 0;       // attempt number that fails first; 0 = never
bool gFailPersistent = false;
long long gLiveBlocks = 0;

// Counts one attempt and says whether the switch makes it fail.
bool ShouldFail() noexcept {
  ++gAllocations;
  if (gFailAt == 0 || gAllocations < gFailAt)
    return false;
  if (!gFailPersistent)
    gFailAt = 0;
  return true;
}
#endif

}  // namespace

void* Allocate(std::size_t bytes) noexcept {
#if defined(ZARQLANG_FAULT_INJECTION)
  if (ShouldFail())
    return nullptr;
#endif
  void* block = std::malloc(bytes == 0 ? 1 : bytes);
#if defined(ZARQLANG_FAULT_INJECTION)
  if (block != nullptr)
    ++gLiveBlocks;
#endif
  return block;
}

void* AllocateOrThrow(std::size_t bytes) {
  void* block = Allocate(bytes);
  if (block == nullptr)
    throw std::bad_alloc();
  return block;
}

void* Reallocate(void* block, std::size_t bytes) noexcept {
  if (block == nullptr)
    return Allocate(bytes);
#if defined(ZARQLANG_FAULT_INJECTION)
  if (ShouldFail())
    return nullptr;
#endif
  return std::realloc(block, bytes == 0 ? 1 : bytes);
}

void Free(void* block) noexcept {
#if defined(ZARQLANG_FAULT_INJECTION)
  if (block != nullptr)
    --gLiveBlocks;
#endif
  std::free(block);
}

std::size_t UsableSize(const void* block) noexcept {
#if defined(__GLIBC__)
  return malloc_usable_size(const_cast<void*>(block));
#else
  static_cast<void>(block);
  return 0;
#endif
}

#if defined(ZARQLANG_FAULT_INJECTION)
namespace testing {

void FailAllocation(long long nth, bool persistent) noexcept {
  gFailAt = nth <= 0 ? 0 : gAllocations + nth;
  gFailPersistent = persistent;
}
long long AllocationCount() noexcept { return gAllocations; }
long long LiveBlocks() noexcept { return gLiveBlocks; }

}  // namespace testing
#endif
}  // namespace detail
}  // namespace zqlang
