//===- lang/InterruptedException.cpp ---------------------------------------===//
#include "lang/InterruptedException.h"

#include "lang/detail/ExceptionClass.h"
#include "lang/detail/FullNames.h"

namespace zqlang {

ZQ_DEFINE_EXCEPTION(InterruptedException, Exception, detail::kInterruptedExceptionName)
ZQ_DEFINE_MESSAGE_CONSTRUCTOR(InterruptedException, Exception, detail::kInterruptedExceptionName)
ZQ_DEFINE_CAUSE_CONSTRUCTORS(InterruptedException, Exception, detail::kInterruptedExceptionName)

}  // namespace zqlang
