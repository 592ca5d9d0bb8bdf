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
  /// For implementing classes only.
  CharSequence() = default;
  /// For implementing classes only: the interface has no state to copy.
  CharSequence(const CharSequence&) = default;
  /// For implementing classes only: the interface has no state to assign.
  CharSequence& operator=(const CharSequence&) = default;
  // Not virtual and not public: sequences are destroyed by their own class or
  // through Release(), never by deleting a CharSequence pointer.
  ~CharSequence() = default;
};

}  // namespace zqlang

#endif  // ZQ_LANG_CHARSEQUENCE_H
