//===- io/IOException.cpp --------------------------------------------------===//
#include "io/IOException.h"

#include "lang/detail/ExceptionClass.h"
#include "lang/detail/FullNames.h"

namespace zqio {

ZQ_DEFINE_EXCEPTION(IOException, zqlang::Exception, zqlang::detail::kIOExceptionName)
ZQ_DEFINE_MESSAGE_CONSTRUCTOR(IOException, zqlang::Exception, zqlang::detail::kIOExceptionName)

}  // namespace zqio
