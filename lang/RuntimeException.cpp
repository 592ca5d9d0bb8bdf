//===- lang/RuntimeException.cpp -------------------------------------------===//
#include "lang/RuntimeException.h"

#include "lang/detail/ExceptionClass.h"
#include "lang/detail/FullNames.h"

namespace zqlang {

ZQ_DEFINE_EXCEPTION(RuntimeException, Exception, detail::kRuntimeExceptionName)
ZQ_DEFINE_MESSAGE_CONSTRUCTOR(RuntimeException, Exception, detail::kRuntimeExceptionName)
ZQ_DEFINE_CAUSE_CONSTRUCTORS(RuntimeException, Exception, detail::kRuntimeExceptionName)

}  // namespace zqlang
