//===- lang/ArrayIndexOutOfBoundsException.h - array index exception -----===//
/// \file
/// ArrayIndexOutOfBoundsException ("com.zarq.lang.ArrayIndexOutOfBoundsException"):
/// Reports an index outside an array: thrown by the checks of CZqDynamicArray and by getChars when
/// the destination index is negative.
///
/// Built from an index it has no message and its own toString() reads
/// "CZqString index out of bounds: " and the index in decimal. That form runs
/// only when toString() is called on this class itself: through a Throwable
/// or IndexOutOfBoundsException reference, or as the cause of another
/// exception, the object renders in the general form of Throwable.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_ARRAYINDEXOUTOFBOUNDSEXCEPTION_H
#define ZQ_LANG_ARRAYINDEXOUTOFBOUNDSEXCEPTION_H

#include <iosfwd>

#include "lang/IndexOutOfBoundsException.h"
#include "lang/ZqExport.h"

namespace zqlang {

/// Reports an index outside an array.
class ZQ_API ArrayIndexOutOfBoundsException : public IndexOutOfBoundsException {
 public:
  /// No message, no index.
  ArrayIndexOutOfBoundsException();
  /// Carries \p index and no message.
  explicit ArrayIndexOutOfBoundsException(int index);
  /// With \p message and no index.
  explicit ArrayIndexOutOfBoundsException(const CZqString& message);
  /// Transfers message, cause and cached text; copies the index.
  ArrayIndexOutOfBoundsException(const ArrayIndexOutOfBoundsException& other);
  ~ArrayIndexOutOfBoundsException() override;

  /// "CZqString index out of bounds: " and the index when built from one,
  /// a new string each call; otherwise Throwable::toString().
  CZqString toString() const;

  /// "com.zarq.lang.ArrayIndexOutOfBoundsException", whatever the object's own class.
  const CZqString& GetFullName() const;

 private:
  int mIndex;
  bool mHasIndex;
};

/// Writes \p e.toString() of this class in UTF-8: the index when the object
/// was built from one.
ZQ_API std::ostream& operator<<(std::ostream& os, const ArrayIndexOutOfBoundsException& e);

}  // namespace zqlang

#endif  // ZQ_LANG_ARRAYINDEXOUTOFBOUNDSEXCEPTION_H
