//===- lang/ZqUnknownItf.cpp -----------------------------------------------===//
#include "lang/ZqUnknownItf.h"

#include "lang/detail/Memory.h"

namespace zqlang {

void* ZqUnknownItf::operator new(std::size_t size) { return detail::AllocateOrThrow(size); }

void* ZqUnknownItf::operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return detail::Allocate(size);
}

void ZqUnknownItf::operator delete(void* block) noexcept { detail::Free(block); }

void ZqUnknownItf::operator delete(void* block, const std::nothrow_t&) noexcept {
  detail::Free(block);
}

}  // namespace zqlang
