//===- ZarqLang.h - every public header of the library --------------------===//
/// \file
/// Include this to get the whole library: strings and their storage, the
/// builder, the interfaces and SPtr, and the exception family of zqlang and zqio.
//===----------------------------------------------------------------------===//
#ifndef ZQ_ZARQLANG_H
#define ZQ_ZARQLANG_H

#include "io/EOFException.h"
#include "io/FileNotFoundException.h"
#include "io/IOException.h"
#include "lang/Appendable.h"
#include "lang/ArrayIndexOutOfBoundsException.h"
#include "lang/CZqDynamicArray.h"
#include "lang/CZqInteger.h"
#include "lang/CZqString.h"
#include "lang/CZqStringBody.h"
#include "lang/CZqStringBuilder.h"
#include "lang/CharSequence.h"
#include "lang/Error.h"
#include "lang/Exception.h"
#include "lang/IllegalArgumentException.h"
#include "lang/IllegalStateException.h"
#include "lang/IndexOutOfBoundsException.h"
#include "lang/InterruptedException.h"
#include "lang/NegativeArraySizeException.h"
#include "lang/NoSuchElementException.h"
#include "lang/NullPointerException.h"
#include "lang/NumberFormatException.h"
#include "lang/OutOfMemoryError.h"
#include "lang/RuntimeException.h"
#include "lang/SPtr.h"
#include "lang/SecurityException.h"
#include "lang/StringIndexOutOfBoundsException.h"
#include "lang/Throwable.h"
#include "lang/VirtualMachineError.h"
#include "lang/ZqCaseRules.h"
#include "lang/ZqExport.h"
#include "lang/ZqPattern.h"
#include "lang/ZqStringAdapter.h"
#include "lang/ZqUnknownItf.h"
#include "lang/ZqVersion.h"

#endif  // ZQ_ZARQLANG_H
