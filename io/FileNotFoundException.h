//===- io/FileNotFoundException.h - FileNotFound exception -----------------===//
/// \file
/// FileNotFoundException ("com.zarq.io.FileNotFoundException"): Reports a file
/// that could not be opened. The library never throws it.
//===----------------------------------------------------------------------===//
#ifndef ZQ_IO_FILENOTFOUNDEXCEPTION_H
#define ZQ_IO_FILENOTFOUNDEXCEPTION_H

#include "io/IOException.h"
#include "lang/ZqExport.h"

namespace zqio {

/// Reports a file that could not be opened.
class ZQ_API FileNotFoundException : public IOException {
 public:
  /// No message, no cause.
  FileNotFoundException();
  /// With \p message (a copy sharing its units).
  explicit FileNotFoundException(const zqlang::CZqString& message);
  /// Transfers message, cause and cached text; \p other keeps its full name.
  FileNotFoundException(const FileNotFoundException& other);
  ~FileNotFoundException() override;

  /// "com.zarq.io.FileNotFoundException", whatever the object's own class.
  const zqlang::CZqString& GetFullName() const;
};

}  // namespace zqio

#endif  // ZQ_IO_FILENOTFOUNDEXCEPTION_H
