//===- lang/Exception.h - exception ----------------------------------------===//
/// \file
/// Exception ("com.zarq.lang.Exception"): Root of the conditions an application
/// may want to catch and handle.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_EXCEPTION_H
#define ZQ_LANG_EXCEPTION_H

#include "lang/Throwable.h"
#include "lang/ZqExport.h"

namespace zqlang {

/// Root of the conditions an application may want to catch and handle.
class ZQ_API Exception : public Throwable {
 public:
  /// No message, no cause.
  Exception();
  /// With \p message (a copy sharing its units).
  explicit Exception(const CZqString& message);
  /// With \p message and \p cause, which this object takes over (null allowed).
  Exception(const CZqString& message, Throwable* cause);
  /// Takes over \p cause; its complete text becomes the message.
  explicit Exception(Throwable* cause);
  /// Transfers message, cause and cached text; \p other keeps its full name.
  Exception(const Exception& other);
  ~Exception() override;

  /// "com.zarq.lang.Exception", whatever the object's own class.
  const CZqString& GetFullName() const;
};

}  // namespace zqlang

#endif  // ZQ_LANG_EXCEPTION_H
