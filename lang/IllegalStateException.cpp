//===- lang/IllegalStateException.cpp --------------------------------------===//
#include "lang/IllegalStateException.h"

#include "lang/detail/ExceptionClass.h"
#include "lang/detail/FullNames.h"

namespace zqlang {

ZQ_DEFINE_EXCEPTION(IllegalStateException, RuntimeException, detail::kIllegalStateExceptionName)
ZQ_DEFINE_MESSAGE_CONSTRUCTOR(IllegalStateException, RuntimeException,
                              detail::kIllegalStateExceptionName)

}  // namespace zqlang
