//===- lang/NullPointerException.cpp ---------------------------------------===//
#include "lang/NullPointerException.h"

#include "lang/detail/ExceptionClass.h"
#include "lang/detail/FullNames.h"

namespace zqlang {

ZQ_DEFINE_EXCEPTION(NullPointerException, RuntimeException, detail::kNullPointerExceptionName)
ZQ_DEFINE_MESSAGE_BY_VALUE_CONSTRUCTOR(NullPointerException, RuntimeException,
                                       detail::kNullPointerExceptionName)

}  // namespace zqlang
