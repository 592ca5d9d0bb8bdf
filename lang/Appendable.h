//===- lang/Appendable.h - something that text can be appended to ---------===//
/// \file
/// The interface of objects that accept text at their end. CZqStringBuilder
/// implements it; code that only adds text can take an Appendable& and
/// accept any such object. Each append returns the object itself, so calls
/// chain; the builder's overrides return CZqStringBuilder& (covariant).
///
/// An Appendable is never destroyed through this interface: its destructor
/// is protected and not virtual.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_APPENDABLE_H
#define ZQ_LANG_APPENDABLE_H

#include "lang/ZqExport.h"
#include "lang/ZqInterface.h"

namespace zqlang {

class CharSequence;

/// Interface of objects that text can be appended to: a unit, a sequence or
/// part of one.
class ZQ_API Appendable {
 public:
  /// Appends units \p start to \p end - 1 of \p s and returns *this.
  /// Throws StringIndexOutOfBoundsException for a range outside \p s.
  virtual Appendable& append(const CharSequence& s, int start, int end) = 0;

  /// Appends all units of \p s and returns *this.
  virtual Appendable& append(const CharSequence& s) = 0;

  /// Appends the one unit \p ch and returns *this.
  virtual Appendable& append(char16_t ch) = 0;

  ZQ_INTERFACE_SPECIAL_MEMBERS(Appendable);
};

}  // namespace zqlang

#endif  // ZQ_LANG_APPENDABLE_H
