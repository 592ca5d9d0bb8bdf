//===- lang/detail/Memory.cpp - the library's one allocation layer --------===//
//
// The blocks come from malloc/realloc/free: realloc can extend a block in
// place, which keeps the exact "need + 16" growth of string bodies linear in
// practice instead of copying the whole text at every growth.
//
// Small blocks of a known size (string bodies) also pass through a cache
// per thread, in front of malloc: see BlockCache below.
//
// In the tests' build the failure switch and the counters are atomics with
// relaxed order: a test drives one allocation at a time, but the thread tests
// allocate from several threads at once, and the counts must stay exact.
// A block in a cache is not live: it counts as given back.
//===----------------------------------------------------------------------===//
#include "lang/detail/Memory.h"

#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define ZQ_POISON(block, bytes) ASAN_POISON_MEMORY_REGION(block, bytes)
#define ZQ_UNPOISON(block, bytes) ASAN_UNPOISON_MEMORY_REGION(block, bytes)
#else
#define ZQ_POISON(block, bytes) ((void)(block), (void)(bytes))
#define ZQ_UNPOISON(block, bytes) ((void)(block), (void)(bytes))
#endif

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

// The block cache. Requests of 25 to 264 bytes fall into classes of the
// sizes glibc's malloc rounds to one chunk size (25 to 40 bytes take a
// 48-byte chunk, 41 to 56 a 64-byte one, and so on up to 272); a class is
// allocated at its largest request, so a block costs the heap no more than
// the request itself would, and any block of a class fits every request of
// it. Each thread keeps up to 16 given-back blocks per class (36 KiB at
// most) and hands them out again first: a string made and dropped in a loop
// costs two list operations instead of a malloc and a free.
//
// A block freed on another thread than the one that allocated it goes to
// the freeing thread's cache, as glibc's own per-thread cache does. When a
// thread ends, its cache goes back to the heap and the thread caches no
// more. Under AddressSanitizer a cached block is poisoned, so a use after
// release is still reported.
constexpr int kClasses = 15;
constexpr int kBlocksPerClass = 16;
constexpr std::size_t kSmallestCached = 25;
constexpr std::size_t kLargestCached = 264;

int ClassOf(std::size_t bytes) noexcept {
  return bytes >= kSmallestCached && bytes <= kLargestCached
             ? static_cast<int>((bytes + 23) / 16) - 3
             : -1;
}

constexpr std::size_t ClassBytes(int blockClass) noexcept {
  return 40 + 16 * static_cast<std::size_t>(blockClass);
}
static_assert(ClassBytes(kClasses - 1) == kLargestCached, "the classes end at the largest");

struct CachedBlock {
  CachedBlock* next;
};

// Plain data, initialised statically: reaching it is one access relative to
// the thread pointer, with no guard. The initial-exec model takes these 144
// bytes (and the 8 of tDyingBlockBytes in CZqStringBody.cpp) from the static
// TLS block; a library loaded with dlopen gets them from the surplus glibc
// keeps for that (512 bytes at least).
struct BlockCache {
  CachedBlock* heads[kClasses];
  unsigned char counts[kClasses];
  bool armed;  // this thread's Flusher is registered (Arm)
  bool gone;   // the Flusher ran: nothing is cached any more
};
static_assert(sizeof(BlockCache) == 144, "the static TLS the comment above names");
__attribute__((tls_model("initial-exec"))) thread_local BlockCache tCache;

// Gives a thread's cached blocks back to the heap when the thread ends.
struct Flusher {
  Flusher() noexcept {}
  Flusher(const Flusher&) = delete;
  Flusher& operator=(const Flusher&) = delete;
  ~Flusher() {
    tCache.gone = true;
    for (int c = 0; c < kClasses; ++c) {
      while (CachedBlock* const block = tCache.heads[c]) {
        ZQ_UNPOISON(block, ClassBytes(c));
        tCache.heads[c] = block->next;
        std::free(block);
      }
      tCache.counts[c] = 0;
    }
  }
};

// Registers this thread's Flusher. Only an armed thread caches: a thread
// arms at its first small allocation, and the thread that loads the library
// at once, so that the main thread's cache is flushed (and closed) when
// exit() runs the threads' destructors, before the static ones, which may
// still release strings.
void Arm() noexcept {
  static thread_local Flusher flusher;
  (void)flusher;
  tCache.armed = true;
}

struct ArmLoadingThread {
  ArmLoadingThread() noexcept { Arm(); }
} gArmLoadingThread;

// A block of class c: a cached one, else a new one of the class's size.
void* TakeBlock(int c) noexcept {
  if (!tCache.armed)
    Arm();
  CachedBlock* const block = tCache.heads[c];
  if (block == nullptr)
    return std::malloc(ClassBytes(c));
  ZQ_UNPOISON(block, ClassBytes(c));
  tCache.heads[c] = block->next;
  --tCache.counts[c];
  return block;
}

// Keeps a block of class c for the next request; false when the cache is
// full, or the thread is not armed or is ending (the caller frees it).
bool KeepBlock(void* block, int c) noexcept {
  if (tCache.counts[c] >= kBlocksPerClass || !tCache.armed || tCache.gone)
    return false;
  tCache.heads[c] = ::new (block) CachedBlock{tCache.heads[c]};
  ++tCache.counts[c];
  ZQ_POISON(block, ClassBytes(c));
  return true;
}

}  // namespace

void* AllocateSized(std::size_t bytes) noexcept {
  if (Refused())
    return nullptr;
  const int c = ClassOf(bytes);
  return Counted(c < 0 ? std::malloc(bytes == 0 ? 1 : bytes) : TakeBlock(c));
}

void FreeSized(void* block, std::size_t bytes) noexcept {
  Uncount(block);
  const int c = ClassOf(bytes);
  if (block != nullptr && (c < 0 || !KeepBlock(block, c)))
    std::free(block);
}

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
