//===- lang/Error.cpp ------------------------------------------------------===//
#include "lang/Error.h"

#include "lang/detail/ExceptionClass.h"
#include "lang/detail/FullNames.h"

namespace zqlang {

ZQ_DEFINE_EXCEPTION(Error, Throwable, detail::kErrorName)
ZQ_DEFINE_MESSAGE_CONSTRUCTOR(Error, Throwable, detail::kErrorName)
ZQ_DEFINE_CAUSE_CONSTRUCTORS(Error, Throwable, detail::kErrorName)

}  // namespace zqlang
