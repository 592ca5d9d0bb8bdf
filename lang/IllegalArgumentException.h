//===- lang/IllegalArgumentException.h - IllegalArgument exception ---------===//
/// \file
/// IllegalArgumentException ("com.zarq.lang.IllegalArgumentException"): Reports
/// an argument outside what an operation accepts.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_ILLEGALARGUMENTEXCEPTION_H
#define ZQ_LANG_ILLEGALARGUMENTEXCEPTION_H

#include "lang/RuntimeException.h"
#include "lang/ZqExport.h"

namespace zqlang {

/// Reports an argument outside what an operation accepts.
class ZQ_API IllegalArgumentException : public RuntimeException {
 public:
  /// No message, no cause.
  IllegalArgumentException();
  /// With \p message (a copy sharing its units).
  explicit IllegalArgumentException(const CZqString& message);
  /// Transfers message, cause and cached text; \p other keeps its full name.
  IllegalArgumentException(const IllegalArgumentException& other);
  ~IllegalArgumentException() override;

  /// "com.zarq.lang.IllegalArgumentException", whatever the object's own class.
  const CZqString& GetFullName() const;
};

}  // namespace zqlang

#endif  // ZQ_LANG_ILLEGALARGUMENTEXCEPTION_H
