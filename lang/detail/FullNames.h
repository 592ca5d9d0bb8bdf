//===- lang/detail/FullNames.h - the exception classes' full names --------===//
/// \file
/// One constant string per exception class, holding its dotted full name.
/// They are created when the library is loaded, before any member can be
/// called, and live until it is unloaded; every exception object refers to
/// one of them, so no exception object may outlive the library.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_DETAIL_FULLNAMES_H
#define ZQ_LANG_DETAIL_FULLNAMES_H

#include "lang/CZqString.h"

namespace zqlang {
namespace detail {

extern const CZqString kArrayIndexOutOfBoundsExceptionName;
extern const CZqString kEOFExceptionName;
extern const CZqString kErrorName;
extern const CZqString kExceptionName;
extern const CZqString kFileNotFoundExceptionName;
extern const CZqString kIllegalArgumentExceptionName;
extern const CZqString kIllegalStateExceptionName;
extern const CZqString kIndexOutOfBoundsExceptionName;
extern const CZqString kInterruptedExceptionName;
extern const CZqString kIOExceptionName;
extern const CZqString kNegativeArraySizeExceptionName;
extern const CZqString kNoSuchElementExceptionName;
extern const CZqString kNullPointerExceptionName;
extern const CZqString kNumberFormatExceptionName;
extern const CZqString kOutOfMemoryErrorName;
extern const CZqString kRuntimeExceptionName;
extern const CZqString kSecurityExceptionName;
extern const CZqString kStringIndexOutOfBoundsExceptionName;
extern const CZqString kThrowableName;
extern const CZqString kVirtualMachineErrorName;

}  // namespace detail
}  // namespace zqlang

#endif  // ZQ_LANG_DETAIL_FULLNAMES_H
