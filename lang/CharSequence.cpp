//===- lang/CharSequence.cpp -----------------------------------------------===//
#include "lang/CharSequence.h"

#include "lang/detail/Memory.h"

namespace zqlang {

void* CharSequence::operator new(std::size_t size) { return detail::AllocateOrThrow(size); }

void* CharSequence::operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return detail::Allocate(size);
}

void CharSequence::operator delete(void* block) noexcept { detail::Free(block); }

void CharSequence::operator delete(void* block, const std::nothrow_t&) noexcept {
  detail::Free(block);
}

}  // namespace zqlang
