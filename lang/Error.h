//===- lang/Error.h - error ------------------------------------------------===//
/// \file
/// Error ("com.zarq.lang.Error"): Root of the serious problems an application
/// should not try to handle, such as running out of memory.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_ERROR_H
#define ZQ_LANG_ERROR_H

#include "lang/Throwable.h"
#include "lang/ZqExport.h"

namespace zqlang {

/// Root of the serious problems an application should not try to handle, such as running out of
/// memory.
class ZQ_API Error : public Throwable {
 public:
  /// No message, no cause.
  Error();
  /// With \p message (a copy sharing its units).
  explicit Error(const CZqString& message);
  /// With \p message and \p cause, which this object takes over (null allowed).
  Error(const CZqString& message, Throwable* cause);
  /// Takes over \p cause; its complete text becomes the message.
  explicit Error(Throwable* cause);
  /// Transfers message, cause and cached text; \p other keeps its full name.
  Error(const Error& other);
  ~Error() override;

  /// "com.zarq.lang.Error", whatever the object's own class.
  const CZqString& GetFullName() const;
};

}  // namespace zqlang

#endif  // ZQ_LANG_ERROR_H
