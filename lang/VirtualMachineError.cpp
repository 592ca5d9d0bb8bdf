//===- lang/VirtualMachineError.cpp ----------------------------------------===//
#include "lang/VirtualMachineError.h"

#include "lang/detail/ExceptionClass.h"
#include "lang/detail/FullNames.h"

namespace zqlang {

ZQ_DEFINE_EXCEPTION(VirtualMachineError, Error, detail::kVirtualMachineErrorName)
ZQ_DEFINE_MESSAGE_CONSTRUCTOR(VirtualMachineError, Error, detail::kVirtualMachineErrorName)

}  // namespace zqlang
