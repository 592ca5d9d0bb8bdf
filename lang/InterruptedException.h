//===- lang/InterruptedException.h - Interrupted exception -----------------===//
/// \file
/// InterruptedException ("com.zarq.lang.InterruptedException"): Reports that a
/// waiting activity was interrupted. The library never throws it; it exists for
/// applications.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_INTERRUPTEDEXCEPTION_H
#define ZQ_LANG_INTERRUPTEDEXCEPTION_H

#include "lang/Exception.h"
#include "lang/ZqExport.h"

namespace zqlang {

/// Reports that a waiting activity was interrupted.
class ZQ_API InterruptedException : public Exception {
 public:
  /// No message, no cause.
  InterruptedException();
  /// With \p message (a copy sharing its units).
  explicit InterruptedException(const CZqString& message);
  /// With \p message and \p cause, which this object takes over (null allowed).
  InterruptedException(const CZqString& message, Throwable* cause);
  /// Takes over \p cause; its complete text becomes the message.
  explicit InterruptedException(Throwable* cause);
  /// Transfers message, cause and cached text; \p other keeps its full name.
  InterruptedException(const InterruptedException& other);
  ~InterruptedException() override;

  /// "com.zarq.lang.InterruptedException", whatever the object's own class.
  const CZqString& GetFullName() const;
};

}  // namespace zqlang

#endif  // ZQ_LANG_INTERRUPTEDEXCEPTION_H
