//===- io/FileNotFoundException.cpp ----------------------------------------===//
#include "io/FileNotFoundException.h"

#include "lang/detail/ExceptionClass.h"
#include "lang/detail/FullNames.h"

namespace zqio {

ZQ_DEFINE_EXCEPTION(FileNotFoundException, IOException, zqlang::detail::kFileNotFoundExceptionName)
ZQ_DEFINE_MESSAGE_CONSTRUCTOR(FileNotFoundException, IOException,
                              zqlang::detail::kFileNotFoundExceptionName)

}  // namespace zqio
