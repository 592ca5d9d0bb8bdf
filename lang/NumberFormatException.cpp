//===- lang/NumberFormatException.cpp --------------------------------------===//
#include "lang/NumberFormatException.h"

#include "lang/detail/ExceptionClass.h"
#include "lang/detail/FullNames.h"

namespace zqlang {

ZQ_DEFINE_EXCEPTION(NumberFormatException, IllegalArgumentException,
                    detail::kNumberFormatExceptionName)
ZQ_DEFINE_MESSAGE_CONSTRUCTOR(NumberFormatException, IllegalArgumentException,
                              detail::kNumberFormatExceptionName)

}  // namespace zqlang
