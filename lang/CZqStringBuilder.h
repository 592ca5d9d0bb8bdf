//===- lang/CZqStringBuilder.h - mutable UTF-16 text, shared copy-on-write ===//
/// \file
/// CZqStringBuilder assembles text piece by piece and hands it out as a
/// CZqString without copying: toString() gives the string the builder's own
/// CZqStringBody and marks the builder shared; the builder's next change
/// first copies the body (same capacity), so the string never sees it.
///
/// \code
///   CZqStringBuilder b;                    // capacity 16
///   b.append(u"n=").append(42).append(u' ').append(true);
///   CZqString s = b.toString();            // "n=42 true", no unit copied
///   b.setLength(0);                        // b copies first; s is unchanged
/// \endcode
///
/// Growth is exact: when an append or insert needs more room the capacity
/// becomes the new length plus 16, never a multiple of the old one (a
/// default builder that takes 17 units reports capacity 33). Numbers reserve
/// 20 units before they are written, so appending an int to an empty default
/// builder gives capacity 36. The array behind the capacity is reserved with
/// room to spare, so long runs of small appends rarely reallocate and stay
/// linear.
///
/// Every failing member leaves the text, the length and the capacity as they
/// were, also when memory runs out half way. Members that change the text
/// (and ensureCapacity, setLength) end the sharing first, even when they
/// then reject their arguments: the builder is then exclusive, with its text
/// unchanged, in its own copy. Reading members never copy and never change
/// the sharing.
///
/// Copying or assigning a builder copies its text into a body of the same
/// capacity, as std::basic_string does, so a copy never shares its source's
/// body. A builder made from a string does share that string's body, and so
/// with every other builder made from it or from a copy of it, and with the
/// builder the string came from: trimToSize on any of them lowers the
/// capacity that all of them report (the units stay where they are):
///
/// \code
///   CZqStringBuilder b1;                   // capacity 16
///   b1.append(u"abc");
///   CZqStringBuilder b2(b1.toString());    // shares b1's body
///   b2.trimToSize();                       // b1.capacity() is now 3 too
/// \endcode
///
/// Pointers: begin(), view().data() and the units of a string's Ptr() are
/// not terminated. Pass them to append and insert with a count or as a view
/// (`b.insert(0, b.view().substr(3))`), never to the overloads that read up
/// to a 0 unit. Only CZqString::c_str() is terminated.
///
/// Threads: the count of a body is not atomic, so a builder and every string
/// or builder that shares its body are used from one thread at a time. With
/// ZARQLANG_ATOMIC_COUNTS, strings that share a builder's body may be on
/// other threads; the builder itself stays on one, and its trimToSize leaves
/// a body alone that it does not hold by itself.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_CZQSTRINGBUILDER_H
#define ZQ_LANG_CZQSTRINGBUILDER_H

#include <cstddef>
#include <iosfwd>
#include <new>
#include <string>
#include <string_view>

#include "lang/Appendable.h"
#include "lang/CZqString.h"
#include "lang/CZqStringBody.h"
#include "lang/CharSequence.h"
#include "lang/SPtr.h"
#include "lang/ZqExport.h"

namespace zqlang {

/// Mutable UTF-16 text that shares its storage with strings copy-on-write.
class ZQ_API CZqStringBuilder : public CharSequence, public Appendable {
 public:
  /// @name Construction
  /// @{

  /// Empty, capacity 16.
  CZqStringBuilder();
  /// Empty, capacity \p capacity (0 allowed). Throws
  /// NegativeArraySizeException (no message) when it is negative.
  explicit CZqStringBuilder(int capacity);
  /// Shares \p s's body (no copy): the length and capacity are the string's.
  /// The first change copies the body.
  explicit CZqStringBuilder(const CZqString& s);
  /// A builder of its own with \p other's text and capacity; \p other is not
  /// changed. OutOfMemoryError when the copy cannot be had.
  CZqStringBuilder(const CZqStringBuilder& other);
  /// Holds a copy of \p other's text and capacity. Self-assignment changes
  /// nothing; OutOfMemoryError (this builder unchanged) when the copy cannot
  /// be had.
  CZqStringBuilder& operator=(const CZqStringBuilder& other);
  /// Gives back this builder's reference; strings that share the body keep it.
  virtual ~CZqStringBuilder();
  /// @}

  /// @name Storage
  /// @{

  /// A string holding this builder's body itself: no unit is copied. The
  /// builder is marked shared and copies the body at its next change.
  /// Allocates nothing.
  CZqString toString() const;
  int length() const override;
  /// Units that fit before the array must grow.
  int capacity() const;
  /// Ends the sharing, then grows the array to exactly \p minimum units when
  /// that is more than capacity(); 0, negative and smaller values change
  /// nothing. Throws OutOfMemoryError (capacity unchanged) when it cannot.
  void ensureCapacity(int minimum);
  /// Lowers the capacity to the length, in the body itself even when strings
  /// or other builders share it (see the file comment). The units do not
  /// move (the room beyond stays for later growth), so every view and
  /// pointer into them stays valid. Never throws. With ZARQLANG_ATOMIC_COUNTS
  /// a body that others hold too is left as it is: they may be reading its
  /// capacity on other threads.
  void trimToSize() const;
  /// Ends the sharing, then makes the length \p newLength: units added are
  /// 0, the capacity grows to exactly \p newLength when needed and never
  /// shrinks. Throws IndexOutOfBoundsException ("SetLength: Negative length")
  /// for a negative length, OutOfMemoryError when the array cannot grow.
  void setLength(int newLength);
  /// @}

  /// @name Appending
  /// Each returns *this. Growth gives the new length plus 16 units of
  /// capacity; OutOfMemoryError (text unchanged) when that cannot be had or
  /// does not fit an int.
  /// @{

  /// "true" or "false".
  CZqStringBuilder& append(bool b);
  /// The one unit (U+0000 included).
  CZqStringBuilder& append(char16_t ch) override {
    if (mShared || !mBody->TryAppendInRoom(ch))
      AppendUnit(ch);
    return *this;
  }
  /// The \p count units from str + begin. \p begin is not checked; the units
  /// must be readable. Throws NullPointerException for a null \p str and
  /// StringIndexOutOfBoundsException (built from \p count) for a negative
  /// count, before anything else.
  CZqStringBuilder& append(const char16_t* str, int begin, int count);
  /// The units of \p text up to its terminating 0. Throws
  /// NullPointerException for a null \p text, before anything else. Not for
  /// a builder's own units, which are not terminated: use the view overload.
  CZqStringBuilder& append(const char16_t* text);
  /// All units of \p s. \p s may have been taken from this builder.
  CZqStringBuilder& append(const CZqString& s);
  /// All units of \p s, read with its charAt; \p s may be this builder
  /// (`b.append(b)` doubles the text).
  CZqStringBuilder& append(const CharSequence& s) override;
  /// Units \p start to \p end - 1 of \p s, read with its charAt into a
  /// temporary array first, so \p s may be this builder. After ending the
  /// sharing, throws StringIndexOutOfBoundsException built from \p start
  /// (negative), from end - start (start > end) or from \p end (past
  /// s.length()), in that order.
  CZqStringBuilder& append(const CharSequence& s, int start, int end) override;
  /// Decimal text as a default std::ostringstream writes it under the global
  /// C++ locale. 20 units of room are made first whatever the text's length.
  CZqStringBuilder& append(int v);
  CZqStringBuilder& append(long v);
  CZqStringBuilder& append(long long v);
  /// General notation with 6 significant digits ("0.1", "1.23457e+06");
  /// 20 units of room are made first.
  CZqStringBuilder& append(double v);

  /// Narrow text is refused: without these, a `const char*` would silently
  /// convert to bool and append "true".
  CZqStringBuilder& append(const char*) = delete;
  CZqStringBuilder& append(const char*, int, int) = delete;
  /// @}

  /// @name Inserting
  /// The units go before the unit at \p index; an index equal to length()
  /// appends. Each returns *this and, unless said otherwise, ends the sharing
  /// and then throws StringIndexOutOfBoundsException with the message
  /// "Index: <index>, Length: <length>" unless 0 <= index <= length().
  /// Growth and out-of-memory as for appending.
  /// @{

  CZqStringBuilder& insert(int index, bool b);
  CZqStringBuilder& insert(int index, char16_t ch);
  /// The \p count units from str + begin (\p begin not checked). A null
  /// \p str (NullPointerException) and a negative count
  /// (StringIndexOutOfBoundsException built from it) are reported first.
  CZqStringBuilder& insert(int index, const char16_t* str, int begin, int count);
  /// The units of \p text up to its terminating 0; NullPointerException for
  /// a null \p text, before anything else. Not for a builder's own units,
  /// which are not terminated: use the view overload.
  CZqStringBuilder& insert(int index, const char16_t* text);
  /// All units of \p s; \p s may have been taken from this builder.
  CZqStringBuilder& insert(int index, const CZqString& s);
  /// All units of \p s; \p s may be this builder (`b.insert(0, b)` doubles
  /// the text).
  CZqStringBuilder& insert(int index, const CharSequence& s);
  /// Units \p start to \p end - 1 of \p s, read with its charAt into a
  /// temporary array first. The range is checked before the sharing ends,
  /// so a bad range leaves the builder as it was, shared or not; each throws
  /// StringIndexOutOfBoundsException, in this order:
  /// "insert: Negative start: <start>", "insert: Negative end: <end>",
  /// "insert: start (<start>) is greater than end (<end>)",
  /// "insert: end (<end>) is greater than length (<s.length()>)".
  /// Then the index is checked as for every insert.
  CZqStringBuilder& insert(int index, const CharSequence& s, int start, int end);
  /// Decimal text, as append(int) writes it; the room made is the text's
  /// length (no 20-unit reserve).
  CZqStringBuilder& insert(int index, int v);
  CZqStringBuilder& insert(int index, long v);
  CZqStringBuilder& insert(int index, long long v);
  /// Text of \p v, as append(double) writes it; room as for insert(int).
  CZqStringBuilder& insert(int index, double v);

  CZqStringBuilder& insert(int, const char*) = delete;
  CZqStringBuilder& insert(int, const char*, int, int) = delete;
  /// @}

  /// @name Editing
  /// Each ends the sharing first, even when it then throws; a failure leaves
  /// the text unchanged.
  /// @{

  /// Removes units \p start to \p end - 1; an \p end past the text stops at
  /// its end. Throws StringIndexOutOfBoundsException, in this order:
  /// "DeleteRange: Negative start index: <start>",
  /// "DeleteRange: start index (<start>) is greater than length (<length>)",
  /// "DeleteRange: start index (<start>) is greater than end index (<end>)".
  CZqStringBuilder& deleteRange(int start, int end);
  /// Removes the unit at \p index. Throws StringIndexOutOfBoundsException:
  /// "DeleteCharAt: Negative start index: <index>", or
  /// "DeleteRange: Index (<index>) is greater than or equal to length
  /// (<length>)".
  CZqStringBuilder& deleteCharAt(int index);
  /// Replaces units \p start to \p end - 1 (\p end past the text stops at
  /// its end) by the units of \p str, which may have been taken from this
  /// builder. Throws StringIndexOutOfBoundsException, in this order:
  /// "Replace: Negative start index: <start>",
  /// "Replace: start index (<start>) is greater than length (<length>)",
  /// "Replace: start index (<start>) is greater than end index (<end>)".
  /// Grows as deleting and then inserting would; the room is made before
  /// anything moves, so OutOfMemoryError leaves the text as it was.
  CZqStringBuilder& replace(int start, int end, const CZqString& str);
  /// Reverses the order of the units, except that a high surrogate followed
  /// by a low one stays one character, in its own order. Works in a new
  /// array of the same capacity (OutOfMemoryError when none); an empty
  /// builder allocates nothing.
  CZqStringBuilder& reverse();
  /// Overwrites the unit at \p index. Throws IndexOutOfBoundsException with
  /// "SetCharAt: Negative index" or "SetCharAt: Index >= length".
  void setCharAt(int index, char16_t ch);
  /// @}

  /// @name Reading
  /// None of these copies the body or changes the sharing.
  /// @{

  /// The unit at \p index; IndexOutOfBoundsException (no message) unless
  /// 0 <= index < length().
  char16_t charAt(int index) const override;
  /// Copies units [srcBegin, srcEnd) to dst + dstBegin. Throws, before
  /// copying anything, StringIndexOutOfBoundsException built from srcBegin
  /// (negative), from srcEnd - srcBegin (srcBegin > srcEnd) or from srcEnd
  /// (past the length), then ArrayIndexOutOfBoundsException built from a
  /// negative dstBegin. The room in \p dst is the caller's to provide.
  void getChars(int srcBegin, int srcEnd, char16_t* const dst, int dstBegin) const;
  /// First index >= \p fromIndex (negative: 0) at which \p str occurs, or
  /// -1. An empty \p str is found at fromIndex when that is <= length().
  int indexOf(const CZqString& str) const;
  int indexOf(const CZqString& str, int fromIndex) const;
  /// Last index <= \p fromIndex at which \p str occurs, or -1; a fromIndex
  /// past the last place \p str fits searches from there, a negative one
  /// finds nothing.
  int lastIndexOf(const CZqString& str) const;
  int lastIndexOf(const CZqString& str, int fromIndex) const;
  /// Units \p start to the end, as substring(start, length()).
  [[nodiscard]] CZqString substring(int start) const;
  /// Units \p start to \p end - 1 in a new body of capacity end - start.
  /// Throws StringIndexOutOfBoundsException, in this order:
  /// "substring: Negative start: <start>",
  /// "substring: end (<end>) is greater than length (<length>)",
  /// "substring: start (<start>) is greater than end (<end>)";
  /// OutOfMemoryError when the body cannot be had.
  [[nodiscard]] CZqString substring(int start, int end) const;
  /// A new heap CZqString holding units \p start to \p end - 1 in a body of
  /// capacity end - start, owned by the caller, who disposes of it with
  /// Release() through CharSequence. Throws StringIndexOutOfBoundsException
  /// built from \p start (negative), from end - start (start > end) or from
  /// \p end (past the length), in that order; OutOfMemoryError when the body
  /// or the object cannot be had.
  [[nodiscard]] CharSequence* subSequence(int start, int end) const override;
  /// @}

  /// @name Standard library interop
  /// Views and iterators point into the builder's array and copy nothing;
  /// they stay valid until the builder's next change or its destruction.
  /// The units are not terminated.
  /// @{

  /// The text as a view.
  std::u16string_view view() const noexcept;
  /// First and one-past-last unit, for range-for and the standard algorithms.
  const char16_t* begin() const noexcept;
  const char16_t* end() const noexcept;
  /// The text in UTF-8; a lone surrogate becomes U+FFFD. Throws
  /// OutOfMemoryError when the result cannot be had.
  [[nodiscard]] std::string toUtf8() const;
  /// Appends \p utf8 decoded to UTF-16; each maximal ill-formed subpart
  /// becomes U+FFFD. One growth at most; on OutOfMemoryError the text is
  /// unchanged.
  CZqStringBuilder& appendUtf8(std::string_view utf8);
  /// @}

  /// @name Views
  /// Text from a std::u16string_view (or a std::u16string), without a
  /// temporary string: nothing is allocated beyond the builder's own growth.
  /// The view may be of this builder's text. Growth and errors as for the
  /// other appends and inserts; OutOfMemoryError for a view longer than an
  /// int can count.
  /// @{

  /// Appends the units of \p text.
  CZqStringBuilder& append(std::u16string_view text);
  /// Appends \p count copies of \p text (Java's StringBuilder.repeat), with
  /// one growth at most: `b.repeat(u"-", 20)`. IllegalArgumentException
  /// "count is negative: <count>" for a negative count.
  CZqStringBuilder& repeat(std::u16string_view text, int count);
  /// Inserts the units of \p text before the unit at \p index; the index
  /// is checked as for every insert.
  CZqStringBuilder& insert(int index, std::u16string_view text);
  /// @}

  /// @name Code points
  /// As the string's members of the same names, on the current text: a high
  /// surrogate followed by a low one is one code point, every other unit is
  /// one of its own. None of the reading members copies or ends the sharing.
  /// @{

  /// The code point at \p index; IndexOutOfBoundsException (no message), as
  /// charAt, unless 0 <= index < length().
  int codePointAt(int index) const;
  /// The code point that ends just before \p index;
  /// IndexOutOfBoundsException (no message) unless 1 <= index <= length().
  int codePointBefore(int index) const;
  /// Number of code points in units [begin, end). Throws as getChars does:
  /// StringIndexOutOfBoundsException built from begin (negative), from
  /// end - begin (begin > end), then from end (past length()).
  int codePointCount(int begin, int end) const;
  /// The index \p offset code points after \p index (before it when
  /// negative); IndexOutOfBoundsException (no message) when \p index is
  /// outside 0..length() or fewer code points lie on that side.
  int offsetByCodePoints(int index, int offset) const;
  /// Appends \p codePoint as one unit, or two (a surrogate pair) above
  /// 0xFFFF. Throws IllegalArgumentException
  /// "appendCodePoint: Not a valid Unicode code point: 0x<hex>" (upper-case
  /// hex of the 32 bits) outside 0 to 0x10FFFF, after ending the sharing and
  /// before anything else changes.
  CZqStringBuilder& appendCodePoint(int codePoint);
  /// @}

  /// @name Numbers in the classic locale
  /// The text of CZqString::fromNumber, whatever std::locale::global is;
  /// room is made for the text alone (the length plus 16 when it grows).
  /// @{

  /// Decimal text ("-1234").
  CZqStringBuilder& appendNumber(int v);
  /// Decimal text; `std::int64_t` arguments pick this one.
  CZqStringBuilder& appendNumber(long v);
  /// Decimal text.
  CZqStringBuilder& appendNumber(long long v);
  /// The shortest text that reads back as \p v ("0.1", "1e+21", "inf").
  CZqStringBuilder& appendNumber(double v);
  /// @}

 protected:
  /// Holds a new empty body of \p capacity units (releasing the old one) and
  /// marks the builder exclusive. OutOfMemoryError when none can be had.
  void CreateBody(int capacity);
  /// When the builder is marked shared: holds a copy of the body (same
  /// capacity, length and units) and marks the builder exclusive; when no
  /// string holds the body any more, only marks it exclusive. Otherwise
  /// nothing. OutOfMemoryError (still shared) when the copy cannot be had.
  void UnShare();
  /// Deletes this heap builder; the disposal of CharSequence.
  void Release() override;

  // Internals: not part of the interface.
 private:
  // append(char16_t) when the unit does not simply fit: ends the sharing,
  // then appends with growth.
  void AppendUnit(char16_t ch);

  // The appends and inserts of one value: end the sharing, then one body
  // operation.
  template <class Value>
  CZqStringBuilder& AppendValue(Value value) {
    UnShare();
    mBody->Append(value);
    return *this;
  }
  template <class Value>
  CZqStringBuilder& InsertValue(int index, Value value) {
    UnShare();
    mBody->Insert(index, value);
    return *this;
  }

  SPtr<CZqStringBody> mBody;
  mutable bool mShared;
};

/// Writes the builder's text to \p os in UTF-8.
ZQ_API std::ostream& operator<<(std::ostream& os, const CZqStringBuilder& b);

}  // namespace zqlang

#endif  // ZQ_LANG_CZQSTRINGBUILDER_H
