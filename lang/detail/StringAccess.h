//===- lang/detail/StringAccess.h - strings made from bodies ----------------===//
/// \file
/// Lets the library's other classes (and its tests) reach the body of a
/// string, and wrap a body they made in a string without going through a
/// builder: one allocation, no copy.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_DETAIL_STRINGACCESS_H
#define ZQ_LANG_DETAIL_STRINGACCESS_H

#include "lang/CZqString.h"

namespace zqlang {
namespace detail {

struct StringAccess {
  /// The body a string holds.
  static const CZqStringBody& Body(const CZqString& s) { return *s.mBody.Get(); }

  /// A string holding a new body of exactly \p capacity units with the
  /// \p count units copied in (count <= capacity).
  static CZqString WithUnits(const char16_t* units, int count, int capacity) {
    const SPtr<CZqStringBody> body(CZqStringBody::CreateCopy(units, count, capacity));
    return CZqString(*body);
  }
};

}  // namespace detail
}  // namespace zqlang

#endif  // ZQ_LANG_DETAIL_STRINGACCESS_H
