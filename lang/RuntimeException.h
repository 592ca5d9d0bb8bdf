//===- lang/RuntimeException.h - Runtime exception -------------------------===//
/// \file
/// RuntimeException ("com.zarq.lang.RuntimeException"): Root of the exceptions
/// that report a mistake in the use of an operation, such as a bad index or a
/// bad number.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_RUNTIMEEXCEPTION_H
#define ZQ_LANG_RUNTIMEEXCEPTION_H

#include "lang/Exception.h"
#include "lang/ZqExport.h"

namespace zqlang {

/// Root of the exceptions that report a mistake in the use of an operation, such as a bad index or
/// a bad number.
class ZQ_API RuntimeException : public Exception {
 public:
  /// No message, no cause.
  RuntimeException();
  /// With \p message (a copy sharing its units).
  explicit RuntimeException(const CZqString& message);
  /// With \p message and \p cause, which this object takes over (null allowed).
  RuntimeException(const CZqString& message, Throwable* cause);
  /// Takes over \p cause; its complete text becomes the message.
  explicit RuntimeException(Throwable* cause);
  /// Transfers message, cause and cached text; \p other keeps its full name.
  RuntimeException(const RuntimeException& other);
  ~RuntimeException() override;

  /// "com.zarq.lang.RuntimeException", whatever the object's own class.
  const CZqString& GetFullName() const;
};

}  // namespace zqlang

#endif  // ZQ_LANG_RUNTIMEEXCEPTION_H
