//===- io/EOFException.cpp -------------------------------------------------===//
#include "io/EOFException.h"

#include "lang/detail/ExceptionClass.h"
#include "lang/detail/FullNames.h"

namespace zqio {

ZQ_DEFINE_EXCEPTION(EOFException, IOException, zqlang::detail::kEOFExceptionName)
ZQ_DEFINE_MESSAGE_CONSTRUCTOR(EOFException, IOException, zqlang::detail::kEOFExceptionName)

}  // namespace zqio
