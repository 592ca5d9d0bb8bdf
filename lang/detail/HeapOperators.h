//===- lang/detail/HeapOperators.h - heap objects in the allocation layer -===//
/// \file
/// The class-specific operator new and delete of the interfaces whose heap
/// objects live in the library's allocation layer (CharSequence,
/// ZqUnknownItf), defined once for both.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_DETAIL_HEAPOPERATORS_H
#define ZQ_LANG_DETAIL_HEAPOPERATORS_H

#include <cstddef>
#include <new>

#include "lang/detail/Memory.h"

// The plain new throws std::bad_alloc when no memory can be had, the
// nothrow new returns null; both deletes give the block back.
#define ZQ_DEFINE_HEAP_OPERATORS(Class)                                                 \
  void* Class::operator new(std::size_t size) { return detail::AllocateOrThrow(size); } \
  void* Class::operator new(std::size_t size, const std::nothrow_t&) noexcept {         \
    return detail::Allocate(size);                                                      \
  }                                                                                     \
  void Class::operator delete(void* block) noexcept { detail::Free(block); }            \
  void Class::operator delete(void* block, const std::nothrow_t&) noexcept { detail::Free(block); }

#endif  // ZQ_LANG_DETAIL_HEAPOPERATORS_H
