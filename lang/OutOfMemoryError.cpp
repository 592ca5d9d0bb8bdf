//===- lang/OutOfMemoryError.cpp - exhausted memory and its reserve -------===//
#include "lang/OutOfMemoryError.h"

#include "lang/detail/ExceptionClass.h"
#include "lang/detail/FullNames.h"
#include "lang/detail/Memory.h"

namespace zqlang {
namespace {

constexpr int kDefaultReserveBytes = 256;

}  // namespace

MemorySaver::MemorySaver() : MemorySaver(kDefaultReserveBytes) {}

MemorySaver::MemorySaver(int bytes) : mReserve(nullptr) {
  mReserve = detail::Allocate(bytes < 0 ? 0 : static_cast<std::size_t>(bytes));
}

MemorySaver::~MemorySaver() { FreeReserve(); }

void MemorySaver::FreeReserve() noexcept {
  // Taken out atomically: ThrowInstance may run on several threads at once.
  detail::Free(__atomic_exchange_n(&mReserve, nullptr, __ATOMIC_ACQ_REL));
}

ZQ_DEFINE_EXCEPTION(OutOfMemoryError, VirtualMachineError, detail::kOutOfMemoryErrorName)
ZQ_DEFINE_MESSAGE_CONSTRUCTOR(OutOfMemoryError, VirtualMachineError, detail::kOutOfMemoryErrorName)

void OutOfMemoryError::ThrowInstance() {
  mMemorySaver.FreeReserve();
  throw OutOfMemoryError();
}

}  // namespace zqlang
