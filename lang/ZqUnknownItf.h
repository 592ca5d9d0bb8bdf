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
#include "lang/ZqInterface.h"

namespace zqlang {

/// Interface of heap objects counted by their holders (AddRef, Release).
class ZQ_API ZqUnknownItf {
 public:
  /// Adds one holder; returns the new count.
  virtual int AddRef() const = 0;
  /// Removes one holder; the call that reaches 0 frees the object and
  /// returns 0. Returns the new count.
  virtual int Release() const = 0;

  /// Heap objects of this family live in the library's allocation layer.
  ZQ_HEAP_OPERATORS;

  ZQ_INTERFACE_SPECIAL_MEMBERS(ZqUnknownItf);
};

}  // namespace zqlang

#endif  // ZQ_LANG_ZQUNKNOWNITF_H
