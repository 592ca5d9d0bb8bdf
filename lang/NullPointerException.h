//===- lang/NullPointerException.h - NullPointer exception -----------------===//
/// \file
/// NullPointerException ("com.zarq.lang.NullPointerException"): Reports a null
/// pointer where an object or a text is required, such as a null text given to
/// a CZqString constructor.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_NULLPOINTEREXCEPTION_H
#define ZQ_LANG_NULLPOINTEREXCEPTION_H

#include "lang/RuntimeException.h"
#include "lang/ZqExport.h"

namespace zqlang {

/// Reports a null pointer where an object or a text is required, such as a null text given to a
/// CZqString constructor.
class ZQ_API NullPointerException : public RuntimeException {
 public:
  /// No message, no cause.
  NullPointerException();
  /// With \p message; the parameter shares the caller's units.
  explicit NullPointerException(CZqString message);
  /// Transfers message, cause and cached text; \p other keeps its full name.
  NullPointerException(const NullPointerException& other);
  ~NullPointerException() override;

  /// "com.zarq.lang.NullPointerException", whatever the object's own class.
  const CZqString& GetFullName() const;
};

}  // namespace zqlang

#endif  // ZQ_LANG_NULLPOINTEREXCEPTION_H
