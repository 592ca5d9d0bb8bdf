//===- lang/SecurityException.h - Security exception -----------------------===//
/// \file
/// SecurityException ("com.zarq.lang.SecurityException"): Reports an operation
/// that is not permitted. The library never throws it.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_SECURITYEXCEPTION_H
#define ZQ_LANG_SECURITYEXCEPTION_H

#include "lang/RuntimeException.h"
#include "lang/ZqExport.h"

namespace zqlang {

/// Reports an operation that is not permitted.
class ZQ_API SecurityException : public RuntimeException {
 public:
  /// No message, no cause.
  SecurityException();
  /// With \p message; the parameter shares the caller's units.
  explicit SecurityException(CZqString message);
  /// Transfers message, cause and cached text; \p other keeps its full name.
  SecurityException(const SecurityException& other);
  ~SecurityException() override;

  /// "com.zarq.lang.SecurityException", whatever the object's own class.
  const CZqString& GetFullName() const;
};

}  // namespace zqlang

#endif  // ZQ_LANG_SECURITYEXCEPTION_H
