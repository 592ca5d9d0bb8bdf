//===- lang/OutOfMemoryError.h - exhausted memory and its reserve ---------===//
/// \file
/// OutOfMemoryError ("com.zarq.lang.OutOfMemoryError") is how the library
/// reports an allocation that yielded no memory, always through
/// ThrowInstance(): it first gives back a 256-byte reserve set aside when the
/// library was loaded (once; the reserve is never taken again), so that the
/// handler has a little room to work, then throws an error without message.
/// Applications cannot construct one; they catch it (as VirtualMachineError,
/// Error or Throwable) and may copy it.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_OUTOFMEMORYERROR_H
#define ZQ_LANG_OUTOFMEMORYERROR_H

#include "lang/VirtualMachineError.h"
#include "lang/ZqExport.h"

namespace zqlang {

/// Holds a block of heap memory in reserve until it is given back.
class ZQ_API MemorySaver {
 public:
  /// Reserves 256 bytes.
  MemorySaver();
  /// Reserves \p bytes bytes.
  explicit MemorySaver(int bytes);
  MemorySaver(const MemorySaver&) = delete;
  MemorySaver& operator=(const MemorySaver&) = delete;
  /// Gives the reserve back if it is still held.
  ~MemorySaver();

  /// Gives the reserve back to the heap; later calls do nothing. Threads
  /// may call it at the same time: exactly one of them frees the block.
  void FreeReserve() noexcept;
  /// True while the reserve is held.
  bool IsHeld() const noexcept { return __atomic_load_n(&mReserve, __ATOMIC_ACQUIRE) != nullptr; }

 private:
  void* mReserve;
};

/// Exhausted memory, reported only through ThrowInstance() (see the file
/// comment).
class ZQ_API OutOfMemoryError : public VirtualMachineError {
 public:
  /// Transfers message, cause and cached text; \p other keeps its full name.
  OutOfMemoryError(const OutOfMemoryError& other);
  ~OutOfMemoryError() override;

  /// "com.zarq.lang.OutOfMemoryError", whatever the object's own class.
  const CZqString& GetFullName() const;

  /// Gives back the reserve (first call only) and throws an OutOfMemoryError
  /// without message. Allocates nothing, so it cannot fail further.
  [[noreturn]] static void ThrowInstance();

 protected:
  /// No message, no cause; used by ThrowInstance().
  OutOfMemoryError();
  /// With \p message (a copy sharing its units).
  explicit OutOfMemoryError(const CZqString& message);

  /// The reserve, built when the library is loaded.
  static MemorySaver mMemorySaver;
};

}  // namespace zqlang

#endif  // ZQ_LANG_OUTOFMEMORYERROR_H
