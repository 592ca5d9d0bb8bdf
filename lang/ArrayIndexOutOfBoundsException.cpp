//===- lang/ArrayIndexOutOfBoundsException.cpp -----------------------------===//
#include "lang/ArrayIndexOutOfBoundsException.h"

#include <ostream>

#include "lang/detail/ExceptionClass.h"
#include "lang/detail/FullNames.h"

namespace zqlang {

ZQ_DEFINE_INDEX_EXCEPTION(ArrayIndexOutOfBoundsException,
                          detail::kArrayIndexOutOfBoundsExceptionName)

}  // namespace zqlang
