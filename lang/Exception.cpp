//===- lang/Exception.cpp --------------------------------------------------===//
#include "lang/Exception.h"

#include "lang/detail/ExceptionClass.h"
#include "lang/detail/FullNames.h"

namespace zqlang {

ZQ_DEFINE_EXCEPTION(Exception, Throwable, detail::kExceptionName)
ZQ_DEFINE_MESSAGE_CONSTRUCTOR(Exception, Throwable, detail::kExceptionName)
ZQ_DEFINE_CAUSE_CONSTRUCTORS(Exception, Throwable, detail::kExceptionName)

}  // namespace zqlang
