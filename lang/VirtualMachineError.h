//===- lang/VirtualMachineError.h - VirtualMachine error -------------------===//
/// \file
/// VirtualMachineError ("com.zarq.lang.VirtualMachineError"): Root of the
/// errors of the machinery under the library, such as OutOfMemoryError.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_VIRTUALMACHINEERROR_H
#define ZQ_LANG_VIRTUALMACHINEERROR_H

#include "lang/Error.h"
#include "lang/ZqExport.h"

namespace zqlang {

/// Root of the errors of the machinery under the library, such as OutOfMemoryError.
class ZQ_API VirtualMachineError : public Error {
 public:
  /// No message, no cause.
  VirtualMachineError();
  /// With \p message (a copy sharing its units).
  explicit VirtualMachineError(const CZqString& message);
  /// Transfers message, cause and cached text; \p other keeps its full name.
  VirtualMachineError(const VirtualMachineError& other);
  ~VirtualMachineError() override;

  /// "com.zarq.lang.VirtualMachineError", whatever the object's own class.
  const CZqString& GetFullName() const;
};

}  // namespace zqlang

#endif  // ZQ_LANG_VIRTUALMACHINEERROR_H
