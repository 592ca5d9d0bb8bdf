//===- lang/NoSuchElementException.h - NoSuchElement exception -------------===//
/// \file
/// NoSuchElementException ("com.zarq.lang.NoSuchElementException"): Reports a
/// request for an element that does not exist. The library never throws it.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_NOSUCHELEMENTEXCEPTION_H
#define ZQ_LANG_NOSUCHELEMENTEXCEPTION_H

#include "lang/RuntimeException.h"
#include "lang/ZqExport.h"

namespace zqlang {

/// Reports a request for an element that does not exist.
class ZQ_API NoSuchElementException : public RuntimeException {
 public:
  /// No message, no cause.
  NoSuchElementException();
  /// With \p message (a copy sharing its units).
  explicit NoSuchElementException(const CZqString& message);
  /// Transfers message, cause and cached text; \p other keeps its full name.
  NoSuchElementException(const NoSuchElementException& other);
  ~NoSuchElementException() override;

  /// "com.zarq.lang.NoSuchElementException", whatever the object's own class.
  const CZqString& GetFullName() const;
};

}  // namespace zqlang

#endif  // ZQ_LANG_NOSUCHELEMENTEXCEPTION_H
