//===- lang/detail/FullNames.cpp - objects built when the library loads ---===//
//
// The library's only static objects: the twenty full-name strings and the
// memory reserve of OutOfMemoryError. They live in this one translation unit
// so that they are built in the order written here, whatever the link order,
// and destroyed in the reverse order when the library is unloaded. The reserve
// sits between the names of OutOfMemoryError and RuntimeException.
//===----------------------------------------------------------------------===//
#include "lang/detail/FullNames.h"

#include "lang/OutOfMemoryError.h"

namespace zqlang {
namespace detail {

const CZqString kArrayIndexOutOfBoundsExceptionName(
    u"com.zarq.lang.ArrayIndexOutOfBoundsException");
const CZqString kEOFExceptionName(u"com.zarq.io.EOFException");
const CZqString kErrorName(u"com.zarq.lang.Error");
const CZqString kExceptionName(u"com.zarq.lang.Exception");
const CZqString kFileNotFoundExceptionName(u"com.zarq.io.FileNotFoundException");
const CZqString kIllegalArgumentExceptionName(u"com.zarq.lang.IllegalArgumentException");
const CZqString kIllegalStateExceptionName(u"com.zarq.lang.IllegalStateException");
const CZqString kIndexOutOfBoundsExceptionName(u"com.zarq.lang.IndexOutOfBoundsException");
const CZqString kInterruptedExceptionName(u"com.zarq.lang.InterruptedException");
const CZqString kIOExceptionName(u"com.zarq.io.IOException");
const CZqString kNegativeArraySizeExceptionName(u"com.zarq.lang.NegativeArraySizeException");
const CZqString kNoSuchElementExceptionName(u"com.zarq.lang.NoSuchElementException");
const CZqString kNullPointerExceptionName(u"com.zarq.lang.NullPointerException");
const CZqString kNumberFormatExceptionName(u"com.zarq.lang.NumberFormatException");
const CZqString kOutOfMemoryErrorName(u"com.zarq.lang.OutOfMemoryError");

}  // namespace detail

MemorySaver OutOfMemoryError::mMemorySaver;

namespace detail {

const CZqString kRuntimeExceptionName(u"com.zarq.lang.RuntimeException");
const CZqString kSecurityExceptionName(u"com.zarq.lang.SecurityException");
const CZqString kStringIndexOutOfBoundsExceptionName(
    u"com.zarq.lang.StringIndexOutOfBoundsException");
const CZqString kThrowableName(u"com.zarq.lang.Throwable");
const CZqString kVirtualMachineErrorName(u"com.zarq.lang.VirtualMachineError");

}  // namespace detail
}  // namespace zqlang
