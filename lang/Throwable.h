//===- lang/Throwable.h - root of the exception family --------------------===//
/// \file
/// Every failure the library reports is an object of a class derived from
/// Throwable, thrown by value and caught by reference as its own class or any
/// base up to Throwable:
///
/// \code
///   try {
///     text.charAt(99);
///   } catch (const IndexOutOfBoundsException& e) {
///     CZqString shown = e.toString();  // "com.zarq.lang.Index...Exception:\n"
///   }
/// \endcode
///
/// An object carries an optional message, an optional cause (another
/// exception object made with `new`, which it then owns) and the dotted full
/// name of its class. toString() renders them as lines, each ending in a line
/// feed: the full name and ":", the message, then the cause's own text.
///
/// Members are not virtual: which toString() or GetFullName() runs follows
/// the static type of the call, as with the index exceptions' own
/// toString(). Only the destructor is virtual, so that deleting a cause of any
/// class through a Throwable pointer is well defined.
///
/// Copying transfers: the copy takes the message, cause and cached text, and
/// the source is left with its full name only. Assignment is deleted.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_THROWABLE_H
#define ZQ_LANG_THROWABLE_H

#include <iosfwd>

#include "lang/CZqString.h"
#include "lang/ZqExport.h"

namespace zqlang {

/// Root of the exception family: message, cause and full name, rendered by
/// toString() (see the file comment).
class ZQ_API Throwable {
 public:
  /// No message, no cause.
  Throwable();
  /// Stores a copy of \p message (sharing its units). If the copy cannot be
  /// stored for want of memory, the object simply has no message.
  explicit Throwable(const CZqString& message);
  /// As Throwable(message), and takes over \p cause (null allowed), which
  /// must have been made with `new` and belong to nobody else.
  Throwable(const CZqString& message, Throwable* cause);
  /// Takes over \p cause; when it is not null the message becomes the
  /// cause's complete toString() text.
  explicit Throwable(Throwable* cause);
  /// Transfers message, cause and cached text from \p other, which keeps only
  /// its full name.
  Throwable(const Throwable& other);
  Throwable& operator=(const Throwable&) = delete;
  /// Frees the cached text, the message and the whole cause chain.
  virtual ~Throwable();

  /// The message; when there is none, "com.zarq.lang.Throwable" for every
  /// class of the family.
  const CZqString& getMessage() const;
  /// Exactly getMessage().
  const CZqString& getLocalizedMessage() const;
  /// The cause, or null.
  const Throwable* getCause() const;

  /// Sets the cause once. Ignored (the argument stays with the caller) when a
  /// cause is already set, or when \p cause is this object or has it in its
  /// own cause chain. With no message, the cause's text becomes the message.
  /// A text cached by an earlier toString() is kept. Returns *this.
  Throwable& initCause(Throwable* cause);

  /// The full name, ":", a line feed; then the message and a line feed when
  /// the message is not empty; then the cause's complete text. Built once and
  /// cached. Never throws: when the text cannot be built for want of memory,
  /// the result is the full name alone.
  CZqString toString() const;

  /// Does nothing: the family keeps no stack traces.
  void printStackTrace();
  /// Does nothing and returns *this: the family keeps no stack traces.
  Throwable& fillInStackTrace();

  /// The full name of the object's most-derived class. Each derived class
  /// hides this with its own, which returns that class's name.
  const CZqString& GetFullName() const;

 protected:
  /// Drops the cached text of toString().
  void DeallocateString() const;

  /// Called by every derived constructor with its class's full name.
  void SetFullName(const CZqString& fullName) { mFullName = &fullName; }

  // Internals: not part of the interface.
 private:
  // Stores a heap copy of text as the message; stays without one when that
  // fails for any reason.
  void StoreMessage(const CZqString& text) noexcept;
  // True when this object is candidate or somewhere in its cause chain.
  bool InChainOf(const Throwable* candidate) const noexcept;

  const CZqString* mFullName;
  mutable CZqString* mMessage;
  mutable Throwable* mCause;
  mutable CZqString* mStringCache;
};

/// Writes \p t.toString() in UTF-8. Like toString(), this follows the static
/// type: the index exceptions have overloads of their own.
ZQ_API std::ostream& operator<<(std::ostream& os, const Throwable& t);

/// Makes an uncaught exception of the library say what it was: from now on
/// the program's terminate handler first writes the exception's toString()
/// in UTF-8 to standard error (for a library exception; anything else is
/// left to the handler that was installed before), then calls that earlier
/// handler, which ends the program as before. Call it once, early in main;
/// further calls change nothing.
///
/// \code
///   int main() {
///     zqlang::installTerminateHandler();
///     CZqString(u"abc").charAt(7);  // prints the exception's text, aborts
///   }
/// \endcode
ZQ_API void installTerminateHandler() noexcept;

}  // namespace zqlang

#endif  // ZQ_LANG_THROWABLE_H
