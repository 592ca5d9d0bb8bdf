//===- lang/IllegalStateException.h - IllegalState exception ---------------===//
/// \file
/// IllegalStateException ("com.zarq.lang.IllegalStateException"): Reports an
/// operation called at a time the object does not allow it. The library never
/// throws it.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_ILLEGALSTATEEXCEPTION_H
#define ZQ_LANG_ILLEGALSTATEEXCEPTION_H

#include "lang/RuntimeException.h"
#include "lang/ZqExport.h"

namespace zqlang {

/// Reports an operation called at a time the object does not allow it.
class ZQ_API IllegalStateException : public RuntimeException {
 public:
  /// No message, no cause.
  IllegalStateException();
  /// With \p message (a copy sharing its units).
  explicit IllegalStateException(const CZqString& message);
  /// Transfers message, cause and cached text; \p other keeps its full name.
  IllegalStateException(const IllegalStateException& other);
  ~IllegalStateException() override;

  /// "com.zarq.lang.IllegalStateException", whatever the object's own class.
  const CZqString& GetFullName() const;
};

}  // namespace zqlang

#endif  // ZQ_LANG_ILLEGALSTATEEXCEPTION_H
