//===- lang/CharSequence.h - read-only sequence of UTF-16 code units ------===//
/// \file
/// The interface shared by CZqString and CZqStringBuilder. Besides reading,
/// it is how a sequence made by subSequence() is disposed of: the caller owns
/// it and calls Release() through this interface, never `delete`.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_CHARSEQUENCE_H
#define ZQ_LANG_CHARSEQUENCE_H

#include <cstddef>
#include <new>

#include "lang/ZqExport.h"
#include "lang/ZqInterface.h"

namespace zqlang {

/// Read-only access to UTF-16 units, implemented by CZqString and
/// CZqStringBuilder; see the file comment for disposing of subsequences.
class ZQ_API CharSequence {
 public:
  /// Number of UTF-16 code units.
  virtual int length() const = 0;

  /// The code unit at \p index. Throws IndexOutOfBoundsException (without a
  /// message) unless 0 <= index < length().
  virtual char16_t charAt(int index) const = 0;

  /// A new heap sequence holding units \p beginIndex to \p endIndex - 1,
  /// owned by the caller, who disposes of it with Release().
  [[nodiscard]] virtual CharSequence* subSequence(int beginIndex, int endIndex) const = 0;

  /// Destroys this sequence object; only for sequences made on the heap, such
  /// as those returned by subSequence().
  virtual void Release() = 0;

  /// Heap objects of this family live in the library's allocation layer.
  ZQ_HEAP_OPERATORS;

  ZQ_INTERFACE_SPECIAL_MEMBERS(CharSequence);
};

}  // namespace zqlang

#endif  // ZQ_LANG_CHARSEQUENCE_H
