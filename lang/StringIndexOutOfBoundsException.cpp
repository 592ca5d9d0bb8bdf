//===- lang/StringIndexOutOfBoundsException.cpp ----------------------------===//
#include "lang/StringIndexOutOfBoundsException.h"

#include <ostream>

#include "lang/detail/ExceptionClass.h"
#include "lang/detail/FullNames.h"

namespace zqlang {

ZQ_DEFINE_INDEX_EXCEPTION(StringIndexOutOfBoundsException,
                          detail::kStringIndexOutOfBoundsExceptionName)

}  // namespace zqlang
