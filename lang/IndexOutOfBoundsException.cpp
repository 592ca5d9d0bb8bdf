//===- lang/IndexOutOfBoundsException.cpp ----------------------------------===//
#include "lang/IndexOutOfBoundsException.h"

#include "lang/detail/ExceptionClass.h"
#include "lang/detail/FullNames.h"

namespace zqlang {

ZQ_DEFINE_EXCEPTION(IndexOutOfBoundsException, RuntimeException,
                    detail::kIndexOutOfBoundsExceptionName)
ZQ_DEFINE_MESSAGE_CONSTRUCTOR(IndexOutOfBoundsException, RuntimeException,
                              detail::kIndexOutOfBoundsExceptionName)

}  // namespace zqlang
