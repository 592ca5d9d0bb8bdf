//===- lang/IndexOutOfBoundsException.h - IndexOutOfBounds exception -------===//
/// \file
/// IndexOutOfBoundsException ("com.zarq.lang.IndexOutOfBoundsException"):
/// Reports an index or range outside a sequence; thrown without a message by
/// charAt, with a fixed message by the builder's setLength and setCharAt.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_INDEXOUTOFBOUNDSEXCEPTION_H
#define ZQ_LANG_INDEXOUTOFBOUNDSEXCEPTION_H

#include "lang/RuntimeException.h"
#include "lang/ZqExport.h"

namespace zqlang {

/// Reports an index or range outside a sequence.
class ZQ_API IndexOutOfBoundsException : public RuntimeException {
 public:
  /// No message, no cause.
  IndexOutOfBoundsException();
  /// With \p message (a copy sharing its units).
  explicit IndexOutOfBoundsException(const CZqString& message);
  /// Transfers message, cause and cached text; \p other keeps its full name.
  IndexOutOfBoundsException(const IndexOutOfBoundsException& other);
  ~IndexOutOfBoundsException() override;

  /// "com.zarq.lang.IndexOutOfBoundsException", whatever the object's own class.
  const CZqString& GetFullName() const;
};

}  // namespace zqlang

#endif  // ZQ_LANG_INDEXOUTOFBOUNDSEXCEPTION_H
