//===- lang/StringIndexOutOfBoundsException.h - string index exception ---===//
/// \file
/// StringIndexOutOfBoundsException ("com.zarq.lang.StringIndexOutOfBoundsException"):
/// Reports an index or range outside a string or builder.
///
/// Built from an index it has no message and its own toString() reads
/// "CZqString index out of bounds: " and the index in decimal. That form runs
/// only when toString() is called on this class itself: through a Throwable
/// or IndexOutOfBoundsException reference, or as the cause of another
/// exception, the object renders in the general form of Throwable.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_STRINGINDEXOUTOFBOUNDSEXCEPTION_H
#define ZQ_LANG_STRINGINDEXOUTOFBOUNDSEXCEPTION_H

#include <iosfwd>

#include "lang/IndexOutOfBoundsException.h"
#include "lang/ZqExport.h"

namespace zqlang {

/// Reports an index or range outside a string or builder.
class ZQ_API StringIndexOutOfBoundsException : public IndexOutOfBoundsException {
 public:
  /// No message, no index.
  StringIndexOutOfBoundsException();
  /// Carries \p index and no message.
  explicit StringIndexOutOfBoundsException(int index);
  /// With \p message and no index.
  explicit StringIndexOutOfBoundsException(const CZqString& message);
  /// Transfers message, cause and cached text; copies the index.
  StringIndexOutOfBoundsException(const StringIndexOutOfBoundsException& other);
  ~StringIndexOutOfBoundsException() override;

  /// "CZqString index out of bounds: " and the index when built from one,
  /// a new string each call; otherwise Throwable::toString().
  CZqString toString() const;

  /// "com.zarq.lang.StringIndexOutOfBoundsException", whatever the object's own class.
  const CZqString& GetFullName() const;

 private:
  int mIndex;
  bool mHasIndex;
};

/// Writes \p e.toString() of this class in UTF-8: the index when the object
/// was built from one.
ZQ_API std::ostream& operator<<(std::ostream& os, const StringIndexOutOfBoundsException& e);

}  // namespace zqlang

#endif  // ZQ_LANG_STRINGINDEXOUTOFBOUNDSEXCEPTION_H
