//===- lang/NegativeArraySizeException.cpp ---------------------------------===//
#include "lang/NegativeArraySizeException.h"

#include "lang/detail/ExceptionClass.h"
#include "lang/detail/FullNames.h"

namespace zqlang {

ZQ_DEFINE_EXCEPTION(NegativeArraySizeException, RuntimeException,
                    detail::kNegativeArraySizeExceptionName)
ZQ_DEFINE_MESSAGE_BY_VALUE_CONSTRUCTOR(NegativeArraySizeException, RuntimeException,
                                       detail::kNegativeArraySizeExceptionName)

}  // namespace zqlang
