//===- io/EOFException.h - EOF exception -----------------------------------===//
/// \file
/// EOFException ("com.zarq.io.EOFException"): Reports an end of input met
/// before it was expected. The library never throws it.
//===----------------------------------------------------------------------===//
#ifndef ZQ_IO_EOFEXCEPTION_H
#define ZQ_IO_EOFEXCEPTION_H

#include "io/IOException.h"
#include "lang/ZqExport.h"

namespace zqio {

/// Reports an end of input met before it was expected.
class ZQ_API EOFException : public IOException {
 public:
  /// No message, no cause.
  EOFException();
  /// With \p message (a copy sharing its units).
  explicit EOFException(const zqlang::CZqString& message);
  /// Transfers message, cause and cached text; \p other keeps its full name.
  EOFException(const EOFException& other);
  ~EOFException() override;

  /// "com.zarq.io.EOFException", whatever the object's own class.
  const zqlang::CZqString& GetFullName() const;
};

}  // namespace zqio

#endif  // ZQ_IO_EOFEXCEPTION_H
