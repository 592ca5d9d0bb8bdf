//===- lang/detail/Memory.cpp - the library's one allocation layer --------===//
//
// The blocks come from malloc/realloc/free: realloc can extend a block in
// place, which keeps the exact "need + 16" growth of string bodies linear in
// practice instead of copying the whole text at every growth.
//
// Nothing is cached here: keeping freed blocks for later requests is the
// allocator's job (glibc's per-thread cache, or jemalloc or mimalloc where
// the program links or preloads one), and it does it for every library
// alike.
//
// In the tests' build the failure switch and the counters are atomics with
// relaxed order: a test drives one allocation at a time, but the thread tests
// allocate from several threads at once, and the counts must stay exact.
//===----------------------------------------------------------------------===//
#include "lang/detail/Memory.h"

#include <cstdlib>
#include <new>

#if defined(ZARQLANG_FAULT_INJECTION)
#include <atomic>
#endif

namespace zqlang {
namespace detail {
namespace {

#if defined(ZARQLANG_FAULT_INJECTION)
std::atomic<long long> gAllocations{0};  // attempts since load
std::atomic<long long> gFailAt{0};       // attempt number that fails first; 0 = never
std::atomic<bool> gFailPersistent{false};
std::atomic<long long> gLiveBlocks{0};

// Counts one attempt and says whether the switch makes it fail.
bool ShouldFail() noexcept {
  const long long attempt = gAllocations.fetch_add(1, std::memory_order_relaxed) + 1;
  const long long failAt = gFailAt.load(std::memory_order_relaxed);
  if (failAt == 0 || attempt < failAt)
    return false;
  if (!gFailPersistent.load(std::memory_order_relaxed))
    gFailAt.store(0, std::memory_order_relaxed);
  return true;
}
#endif

// The bookkeeping of the tests' build, nothing in the installed one: whether
// the switch refuses this attempt, and the count of live blocks.
bool Refused() noexcept {
#if defined(ZARQLANG_FAULT_INJECTION)
  return ShouldFail();
#else
  return false;
#endif
}
void* Counted(void* block) noexcept {
#if defined(ZARQLANG_FAULT_INJECTION)
  if (block != nullptr)
    ++gLiveBlocks;
#endif
  return block;
}
void Uncount(void* block) noexcept {
#if defined(ZARQLANG_FAULT_INJECTION)
  if (block != nullptr)
    --gLiveBlocks;
#else
  (void)block;
#endif
}

}  // namespace

void* Allocate(std::size_t bytes) noexcept {
  if (Refused())
    return nullptr;
  return Counted(std::malloc(bytes == 0 ? 1 : bytes));
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
  if (Refused())
    return nullptr;
  return std::realloc(block, bytes == 0 ? 1 : bytes);
}

void Free(void* block) noexcept {
  Uncount(block);
  std::free(block);
}

#if defined(ZARQLANG_FAULT_INJECTION)
namespace testing {

void FailAllocation(long long nth, bool persistent) noexcept {
  gFailPersistent.store(persistent, std::memory_order_relaxed);
  gFailAt.store(nth <= 0 ? 0 : gAllocations.load(std::memory_order_relaxed) + nth,
                std::memory_order_relaxed);
}
long long AllocationCount() noexcept { return gAllocations.load(std::memory_order_relaxed); }
long long LiveBlocks() noexcept { return gLiveBlocks.load(std::memory_order_relaxed); }
bool TakeAllocation() noexcept { return ShouldFail(); }

}  // namespace testing
#endif
}  // namespace detail
}  // namespace zqlang
