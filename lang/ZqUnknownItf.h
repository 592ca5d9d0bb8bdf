//===- lang/ZqUnknownItf.h - interface of counted heap objects ------------===//
/// \file
/// ZqUnknownItf is the interface of heap objects whose lifetime follows a
/// reference count: AddRef() adds a holder, Release() removes one and frees
/// the object when none is left. Objects start with count 0; the first holder
/// (usually an SPtr) raises it to 1.
///
/// There is no virtual destructor: an object of this family is destroyed only
/// by its own Release(), never by deleting it through this interface.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_ZQUNKNOWNITF_H
#define ZQ_LANG_ZQUNKNOWNITF_H

#include <cstddef>
#include <new>

#include "lang/ZqExport.h"

namespace zqlang {

/// Interface of heap objects counted by their holders (AddRef, Release).
class ZQ_API ZqUnknownItf {
 public:
  /// Adds one holder; returns the new count.
  virtual int AddRef() const = 0;
  /// Removes one holder; the call that reaches 0 frees the object and
  /// returns 0. Returns the new count.
  virtual int Release() const = 0;

  /// @name Heap objects
  /// Objects of this family made with `new` live in the library's allocation
  /// layer, so that Release() and `delete` give their blocks back there. The
  /// plain form throws std::bad_alloc when no memory can be had; the nothrow
  /// form returns null.
  /// @{
  /// A block from the allocation layer; std::bad_alloc when none.
  static void* operator new(std::size_t size);
  /// A block from the allocation layer; null when none.
  static void* operator new(std::size_t size, const std::nothrow_t&) noexcept;
  /// Gives the block back to the allocation layer.
  static void operator delete(void* block) noexcept;
  /// Gives the block back to the allocation layer.
  static void operator delete(void* block, const std::nothrow_t&) noexcept;
  /// @}

 protected:
  ZqUnknownItf() = default;
  /// For implementing classes only: the interface has no state to copy.
  ZqUnknownItf(const ZqUnknownItf&) = default;
  /// For implementing classes only: the interface has no state to assign.
  ZqUnknownItf& operator=(const ZqUnknownItf&) = default;
  ~ZqUnknownItf() = default;
};

}  // namespace zqlang

#endif  // ZQ_LANG_ZQUNKNOWNITF_H
