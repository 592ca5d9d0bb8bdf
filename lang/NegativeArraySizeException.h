//===- lang/NegativeArraySizeException.h - NegativeArraySize exception -----===//
/// \file
/// NegativeArraySizeException ("com.zarq.lang.NegativeArraySizeException"):
/// Reports a negative size or capacity, such as CZqStringBuilder(-1).
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_NEGATIVEARRAYSIZEEXCEPTION_H
#define ZQ_LANG_NEGATIVEARRAYSIZEEXCEPTION_H

#include "lang/RuntimeException.h"
#include "lang/ZqExport.h"

namespace zqlang {

/// Reports a negative size or capacity, such as CZqStringBuilder(-1).
class ZQ_API NegativeArraySizeException : public RuntimeException {
 public:
  /// No message, no cause.
  NegativeArraySizeException();
  /// With \p message; the parameter shares the caller's units.
  explicit NegativeArraySizeException(CZqString message);
  /// Transfers message, cause and cached text; \p other keeps its full name.
  NegativeArraySizeException(const NegativeArraySizeException& other);
  ~NegativeArraySizeException() override;

  /// "com.zarq.lang.NegativeArraySizeException", whatever the object's own class.
  const CZqString& GetFullName() const;
};

}  // namespace zqlang

#endif  // ZQ_LANG_NEGATIVEARRAYSIZEEXCEPTION_H
