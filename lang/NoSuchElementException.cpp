//===- lang/NoSuchElementException.cpp -------------------------------------===//
#include "lang/NoSuchElementException.h"

#include "lang/detail/ExceptionClass.h"
#include "lang/detail/FullNames.h"

namespace zqlang {

ZQ_DEFINE_EXCEPTION(NoSuchElementException, RuntimeException, detail::kNoSuchElementExceptionName)
ZQ_DEFINE_MESSAGE_CONSTRUCTOR(NoSuchElementException, RuntimeException,
                              detail::kNoSuchElementExceptionName)

}  // namespace zqlang
