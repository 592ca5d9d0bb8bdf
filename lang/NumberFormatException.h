//===- lang/NumberFormatException.h - NumberFormat exception ---------------===//
/// \file
/// NumberFormatException ("com.zarq.lang.NumberFormatException"): Reports a
/// text that is not a number in the requested radix; thrown by integer parsing
/// with a message that names the radix and quotes the text.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_NUMBERFORMATEXCEPTION_H
#define ZQ_LANG_NUMBERFORMATEXCEPTION_H

#include "lang/IllegalArgumentException.h"
#include "lang/ZqExport.h"

namespace zqlang {

/// Reports a text that is not a number in the requested radix.
class ZQ_API NumberFormatException : public IllegalArgumentException {
 public:
  /// No message, no cause.
  NumberFormatException();
  /// With \p message (a copy sharing its units).
  explicit NumberFormatException(const CZqString& message);
  /// Transfers message, cause and cached text; \p other keeps its full name.
  NumberFormatException(const NumberFormatException& other);
  ~NumberFormatException() override;

  /// "com.zarq.lang.NumberFormatException", whatever the object's own class.
  const CZqString& GetFullName() const;
};

}  // namespace zqlang

#endif  // ZQ_LANG_NUMBERFORMATEXCEPTION_H
