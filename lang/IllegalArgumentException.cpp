//===- lang/IllegalArgumentException.cpp -----------------------------------===//
#include "lang/IllegalArgumentException.h"

#include "lang/detail/ExceptionClass.h"
#include "lang/detail/FullNames.h"

namespace zqlang {

ZQ_DEFINE_EXCEPTION(IllegalArgumentException, RuntimeException,
                    detail::kIllegalArgumentExceptionName)
ZQ_DEFINE_MESSAGE_CONSTRUCTOR(IllegalArgumentException, RuntimeException,
                              detail::kIllegalArgumentExceptionName)

}  // namespace zqlang
