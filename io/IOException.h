//===- io/IOException.h - IO exception -------------------------------------===//
/// \file
/// IOException ("com.zarq.io.IOException"): Root of input and output failures.
/// The library never throws it; it exists for applications.
//===----------------------------------------------------------------------===//
#ifndef ZQ_IO_IOEXCEPTION_H
#define ZQ_IO_IOEXCEPTION_H

#include "lang/Exception.h"
#include "lang/ZqExport.h"

namespace zqio {

/// Root of input and output failures.
class ZQ_API IOException : public zqlang::Exception {
 public:
  /// No message, no cause.
  IOException();
  /// With \p message (a copy sharing its units).
  explicit IOException(const zqlang::CZqString& message);
  /// Transfers message, cause and cached text; \p other keeps its full name.
  IOException(const IOException& other);
  ~IOException() override;

  /// "com.zarq.io.IOException", whatever the object's own class.
  const zqlang::CZqString& GetFullName() const;
};

}  // namespace zqio

#endif  // ZQ_IO_IOEXCEPTION_H
