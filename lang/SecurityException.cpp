//===- lang/SecurityException.cpp ------------------------------------------===//
#include "lang/SecurityException.h"

#include "lang/detail/ExceptionClass.h"
#include "lang/detail/FullNames.h"

namespace zqlang {

ZQ_DEFINE_EXCEPTION(SecurityException, RuntimeException, detail::kSecurityExceptionName)
ZQ_DEFINE_MESSAGE_BY_VALUE_CONSTRUCTOR(SecurityException, RuntimeException,
                                       detail::kSecurityExceptionName)

}  // namespace zqlang
