//===- lang/CZqStringBody.h - shared, counted storage of UTF-16 units -----===//
/// \file
/// CZqStringBody is the counted storage behind CZqString and
/// CZqStringBuilder: counting, one-block creation, growth, the builder's
/// editing, and the factories of derived bodies (case mapping, trimming).
/// The rules of reading a text (comparison, search, code points, blanks,
/// case mapping) are the text kernels of the library (lang/detail/Text.h,
/// CaseMap.h, UnicodeCase.h); the body's own comparison and search members
/// forward to them, as do the string's and the builder's.
///
/// Invariants:
///   - 0 <= mLength <= mCapacity, mLength <= mRoom, and the array holds
///     mRoom + 1 units, so index mLength is always inside it (room for a
///     terminator). The mRoom + 1 units are exactly what was asked of the
///     allocator: nothing is ever written past them.
///   - mCapacity <= mRoom, except in a compact body: one made for a string
///     with room for its text alone (CreateCopy, CreateNumber, Trimmed).
///     Every member that writes units makes the room it writes into first:
///     a compact body gets room for its whole capacity (Expand) before any
///     unit past its block is written, so its capacity stays what it reports.
///   - A body that a CZqString holds has a 0 unit at index mLength, written
///     when the body was made for the string or handed to it by a builder,
///     so that CZqString::c_str() only reads.
///   - A body that a CZqString holds never changes its first mLength units or
///     its length again. A builder that shares its body copies it before it
///     writes (CZqStringBuilder::UnShare).
///   - Growth gives exactly the need plus 16 spare units, never doubling.
///
/// Storage: a new body and its array are one heap block, the units just
/// past the body object, so that a new string costs one allocation. A
/// builder's body that grows past that room moves its units to an array of
/// their own; the body object itself never moves.
///
/// Ownership: Create() returns a body whose count is 0; every holder (an
/// SPtr inside a string, a builder or a temporary) takes one reference and
/// gives it back once; the Release() that reaches 0 frees array and body.
///
/// Threads: none. The count is a plain int; a body and all its holders are
/// used from one thread at a time. A build with ZARQLANG_ATOMIC_COUNTS makes
/// the count atomic, so that holders of one body may live on different
/// threads: nothing then writes to a body that has more than one holder
/// (its units, its terminator and its capacity stay as they are; a builder's
/// trimToSize leaves a shared body alone in that build).
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_CZQSTRINGBODY_H
#define ZQ_LANG_CZQSTRINGBODY_H

#include <cassert>
#include <cstddef>
#include <new>
#include <string_view>
#if defined(ZARQLANG_ATOMIC_COUNTS)
#include <atomic>
#endif

#include "lang/ZqCaseRules.h"
#include "lang/ZqExport.h"

namespace zqlang {

class CZqStringBuilder;
namespace detail {
enum class CaseMapping : int;
}

/// The counted unit array shared by strings and builders, and the home of
/// the character algorithms (see the file comment for its invariants).
class ZQ_API CZqStringBody {
 public:
  /// @name Creation and counting
  /// @{

  /// A new empty body (count 0) whose array holds \p capacity + 1 units.
  /// Returns null when the block for body and array cannot be had (or
  /// \p capacity is negative or too large).
  static CZqStringBody* Create(int capacity);

  /// A new body (count 0) with \p source's capacity, length and units.
  /// Throws OutOfMemoryError when either allocation fails.
  static CZqStringBody* Clone(const CZqStringBody& source);

  /// The two ways a body is made; the members above are these with no room
  /// to spare.
  ///
  /// A new empty body (count 0) of exactly \p capacity units whose array has
  /// room for at least \p room + 1 units, so that the first growths up to
  /// \p room cost no reallocation. Null when the block cannot be had (or
  /// \p capacity is negative).
  static CZqStringBody* CreateWithRoom(int capacity, int room);
  /// As Clone(source), in an array with room for at least \p room + 1
  /// units.
  static CZqStringBody* Clone(const CZqStringBody& source, int room);

  /// A new compact body (count 0) of capacity \p capacity holding the
  /// \p count units (0 <= count <= capacity), with room for them alone: the
  /// body of a string. OutOfMemoryError when it cannot be had.
  static CZqStringBody* CreateCopy(const char16_t* units, int count, int capacity);

  /// A new compact body holding the text Append(value) writes into an empty
  /// body of capacity 20, with the capacity that leaves: 20, or what growth
  /// gives a longer (grouped) text. OutOfMemoryError when it cannot be had.
  static CZqStringBody* CreateNumber(long long value);
  static CZqStringBody* CreateNumber(double value);

  /// Gives a compact body an array with room for its whole capacity (the
  /// units move; the old ones stay readable while the body lives); any
  /// other body is left as it is. OutOfMemoryError, body unchanged, when the
  /// array cannot be had.
  void Expand();

  /// An uninitialised array of \p capacity + 1 units, or null when it cannot
  /// be had (a negative or overflowing capacity included). Free it with
  /// FreeUnits().
  static char16_t* AllocUnits(int capacity) noexcept;
  /// Gives back an array from AllocUnits(); null is ignored.
  static void FreeUnits(char16_t* units) noexcept;

  /// Gives this body a new array of exactly \p capacity units holding its
  /// text, and that capacity: 0 on success, -1 when \p capacity is below
  /// Length() or the array cannot be had (the body is then unchanged).
  /// Pointers into the old array are invalid afterwards.
  int Init(int capacity) noexcept;

  /// The one empty body of capacity 64 that every CZqString() shares. It is
  /// never counted and never freed (its count stays kUncounted, which
  /// AddRef and Release return), and nothing writes to it, so that strings
  /// of it may live on any thread in either build.
  static CZqStringBody& SharedEmpty() noexcept;
  /// The count of SharedEmpty(), which no holder changes.
  static constexpr int kUncounted = 0x3FFFFFFF;

#if defined(ZARQLANG_ATOMIC_COUNTS)
  /// Adds one holder; returns the new count. Atomic in this build, so that
  /// holders of one body may live on different threads.
  int AddRef() noexcept {
    if (mRefCount.load(std::memory_order_relaxed) == kUncounted)
      return kUncounted;
    return mRefCount.fetch_add(1, std::memory_order_relaxed) + 1;
  }
  /// Removes one holder; the call that brings the count to 0 frees the body
  /// (after every other holder's last use, which the release order makes
  /// visible to it). Returns the new count.
  int Release() noexcept {
    if (mRefCount.load(std::memory_order_relaxed) == kUncounted)
      return kUncounted;
    const int count = mRefCount.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (count == 0)
      delete this;
    return count;
  }
  /// Number of holders.
  int RefCount() const noexcept { return mRefCount.load(std::memory_order_acquire); }
#else
  /// Adds one holder; returns the new count.
  int AddRef() noexcept { return mRefCount == kUncounted ? kUncounted : ++mRefCount; }
  /// Removes one holder; the call that brings the count to 0 frees the body.
  /// Returns the new count.
  int Release() noexcept {
    if (mRefCount == kUncounted)
      return kUncounted;
    const int count = --mRefCount;
    assert(count >= 0 && "a body released more often than it was held");
    if (count == 0)
      delete this;
    return count;
  }
  /// Number of holders.
  int RefCount() const noexcept { return mRefCount; }
#endif
  /// @}

  /// @name Reading
  /// @{

  /// Number of units in use.
  int Length() const noexcept { return mLength; }
  /// Number of units the array holds before it must grow (one more unit is
  /// always there for a terminator).
  int Capacity() const noexcept { return mCapacity; }

  /// The array; not terminated. Valid until the array is replaced (growth,
  /// CZqStringBuilder::trimToSize) or the body dies.
  const char16_t* Ptr() const noexcept { return mData; }
  /// The units in use, as a view of the array (valid as long as Ptr()).
  std::u16string_view View() const noexcept {
    return std::u16string_view(mData, static_cast<std::size_t>(mLength));
  }

  /// Writes a 0 unit at index Length() (always inside the array, past what
  /// any holder reads) and returns the array. A write: on a body that other
  /// threads may read, use Ptr() of a body a string holds, which is
  /// terminated already.
  const char16_t* CStr() noexcept {
    mData[mLength] = 0;
    return mData;
  }

  /// The unit at \p index; throws IndexOutOfBoundsException (no message)
  /// unless 0 <= index < Length().
  char16_t CharAt(int index) const {
    if (static_cast<unsigned>(index) >= static_cast<unsigned>(mLength))
      ThrowCharAtOutOfBounds();
    return mData[index];
  }

  /// Copies units [srcBegin, srcEnd) to dst + dstBegin. Checks, in order:
  /// srcBegin < 0, srcBegin > srcEnd, srcEnd > Length() (each a
  /// StringIndexOutOfBoundsException built from srcBegin, srcEnd - srcBegin,
  /// srcEnd), then dstBegin < 0 (ArrayIndexOutOfBoundsException built from
  /// dstBegin), then a null \p dst for a range that is not empty
  /// (NullPointerException). Nothing is copied when a check fails, and an
  /// empty range touches nothing. The room in dst is the caller's to
  /// provide.
  void GetChars(int srcBegin, int srcEnd, char16_t* dst, int dstBegin) const;
  /// @}

  /// @name Appending and growth
  /// Growth raises OutOfMemoryError and leaves the body unchanged when the
  /// larger array cannot be had. A compact body is expanded (see Expand)
  /// before a unit past its block is written; its capacity does not change.
  /// @{

  /// Appends \p count units (count >= 0, units readable). The units may lie
  /// in this body's own array: they are found again after growth moves it.
  CZqStringBody& Append(const char16_t* units, int count);
  /// Appends "true" or "false".
  CZqStringBody& Append(bool value);
  /// Appends the one unit.
  CZqStringBody& Append(char16_t unit);
  /// Appends the decimal text of the value, as a default std::ostringstream
  /// writes it under the global C++ locale.
  CZqStringBody& Append(char value);
  /// Appends the decimal text of \p value.
  CZqStringBody& Append(short value);
  /// Appends the decimal text of \p value.
  CZqStringBody& Append(int value);
  /// Appends the decimal text of \p value. Room is made for 20 units
  /// whatever the text (more when a locale's digit grouping needs it), in
  /// one growth, after the text is complete.
  CZqStringBody& Append(long long value);
  /// Appends the text of \p value in general notation with 6 significant
  /// digits, as a default std::ostringstream writes it; room as for
  /// Append(long long).
  CZqStringBody& Append(double value);
  /// Appends the one or two units of \p codePoint. IllegalArgumentException
  /// "appendCodePoint: Not a valid Unicode code point: 0x<hex>" outside
  /// 0..0x10FFFF, before anything changes.
  CZqStringBody& AppendCodePoint(int codePoint);

  /// Ensures that \p count more units fit: when they do not, the capacity
  /// becomes Length() + count + 16. A count of 0 or less does nothing.
  void MakeRoom(int count);

  /// Makes room for \p count more units (the MakeRoom rule), adds them to
  /// the length and returns where they start. Their values are undefined:
  /// the caller writes all of them at once, before anybody reads the body.
  char16_t* AppendUninitialized(int count);

  /// Raises the capacity to exactly \p capacity when that is more than
  /// Capacity() (the array may hold more units: growth reserves some room
  /// beyond, so that runs of small growths rarely reallocate); otherwise
  /// does nothing.
  void EnsureCapacity(int capacity);
  /// @}

  /// @name Comparison and search
  /// The text kernels (lang/detail/Text.h) over View(): units compare as
  /// unsigned 16-bit values; a search that finds nothing gives -1. None of
  /// these throws.
  /// @{

  /// Difference of the first differing units, else -1, 0 or 1 by length.
  int CompareTo(const CZqStringBody& other) const noexcept;
  /// As CompareTo, each unit first mapped with towlower and cut to 16 bits.
  int CompareToIgnoreCase(const CZqStringBody& other) const noexcept;
  /// h = 31 * h + unit over all units, in 32-bit wrap-around arithmetic.
  int HashCode() const noexcept;

  /// First index >= fromIndex (negative: 0) of \p codePoint, found as its
  /// surrogate pair when above 0xFFFF; -1 for none or an invalid code point.
  int IndexOf(int codePoint, int fromIndex) const noexcept;
  /// First index >= fromIndex of \p needle's units (see the array form).
  int IndexOf(const CZqStringBody& needle, int fromIndex) const noexcept;
  /// First index >= fromIndex (negative: 0) at which the \p count units
  /// occur; -1 when none or fromIndex + count passes the length.
  int IndexOf(const char16_t* units, int count, int fromIndex) const noexcept;

  /// Last index <= fromIndex of \p codePoint; -1 when none, fromIndex is
  /// negative or the code point is invalid.
  int LastIndexOf(int codePoint, int fromIndex) const noexcept;
  /// Last index <= fromIndex of \p needle's units (see the array form).
  int LastIndexOf(const CZqStringBody& needle, int fromIndex) const noexcept;
  /// Last index <= fromIndex (clamped to Length() - count) at which the
  /// \p count units occur; -1 when none or fromIndex is negative.
  int LastIndexOf(const char16_t* units, int count, int fromIndex) const noexcept;

  /// True when \p prefix's units occur at \p fromIndex (false when that is
  /// negative or the prefix would pass the end).
  bool StartsWith(const CZqStringBody& prefix, int fromIndex) const noexcept;
  /// True when the units end with \p suffix's.
  bool EndsWith(const CZqStringBody& suffix) const noexcept;

  /// Writes the UTF-16 form of \p codePoint to out: returns 0 for one unit,
  /// 1 for two (a surrogate pair), -1 when it is above 0x10FFFF or negative.
  static int EncodeCodePoint(int codePoint, char16_t* out) noexcept;
  /// Index of the first unit that is not blank (iswspace), -1 if none.
  int FirstNonBlank() const noexcept;
  /// Index of the last unit that is not blank, -1 if none.
  int LastNonBlank() const noexcept;
  /// @}

  /// @name Changes applied to a fresh clone
  /// @{

  /// From \p fromIndex (0 if negative) on, every \p oldChar becomes \p newChar.
  void Replace(char16_t oldChar, char16_t newChar, int fromIndex) noexcept;
  /// Maps every unit with towlower of the current C locale.
  void ToLowerCase() noexcept;
  /// Maps every unit with towupper of the current C locale.
  void ToUpperCase() noexcept;
  /// A new body (count 0): a Clone() to which ToLowerCase() is applied, in
  /// one pass over the units. OutOfMemoryError when it cannot be had.
  CZqStringBody* LowerCased() const;
  /// As LowerCased(), with ToUpperCase().
  CZqStringBody* UpperCased() const;
  /// Strips leading and trailing units for which iswspace is true; the
  /// capacity stays.
  void Trim() noexcept;
  /// This body itself when neither end unit is blank, else a new body
  /// (count 0) of the same capacity holding the units between the leading
  /// and trailing blanks (as Trim leaves them). OutOfMemoryError when the
  /// new body cannot be had.
  CZqStringBody* Trimmed() const;
  /// @}

  /// @name Builder editing
  /// Changes made by CZqStringBuilder to a body that it alone holds (except
  /// TrimToSize, which keeps what every holder reads). Each checks its
  /// arguments and makes its room before it moves a unit, so a failure
  /// leaves the body as it was; growth follows MakeRoom.
  /// @{

  /// Spare units that every growth gives beyond the need.
  static constexpr int kGrowthSlack = 16;

  /// Appends \p unit and returns true when the array has room for it:
  /// a full body takes the capacity growth gives (the MakeRoom rule) when
  /// the array already holds it. Returns false, changing nothing, when the
  /// array must grow, or the body is compact (Append then makes the room).
  bool TryAppend(char16_t unit) noexcept { return mRoom >= mCapacity && TryAppendInRoom(unit); }

  /// Inserts \p count units (count >= 0, readable) before the unit at
  /// \p index. The units may lie in this body's own text: they are read
  /// from where the growth and the moved tail put them. Throws as
  /// CheckInsertIndex.
  CZqStringBody& Insert(int index, const char16_t* units, int count);
  /// Inserts "true" or "false".
  CZqStringBody& Insert(int index, bool value);
  /// Inserts the one unit.
  CZqStringBody& Insert(int index, char16_t unit);
  /// Inserts the decimal text of \p value (see Append(long long)).
  CZqStringBody& Insert(int index, long long value);
  /// Inserts the text of \p value (see Append(double)).
  CZqStringBody& Insert(int index, double value);
  /// Inserts the units of \p other, another body.
  CZqStringBody& Insert(int index, const CZqStringBody& other);

  /// Throws StringIndexOutOfBoundsException with the message
  /// "Index: <index>, Length: <length>" unless 0 <= index <= Length().
  void CheckInsertIndex(int index) const;

  /// Removes units [start, end); an end past the text is clamped. Throws
  /// StringIndexOutOfBoundsException for start < 0, start > Length() and
  /// start > end, in that order, with messages beginning "DeleteRange: ".
  void DeleteRange(int start, int end);
  /// Removes the unit at \p index. Throws StringIndexOutOfBoundsException
  /// for index < 0 ("DeleteCharAt: ...") and index >= Length()
  /// ("DeleteRange: Index (...").
  void DeleteCharAt(int index);
  /// Replaces units [start, end) (end clamped) by the units of \p other,
  /// another body. Throws StringIndexOutOfBoundsException for start < 0,
  /// start > Length() and start > end, with messages beginning "Replace: ".
  /// The capacity ends as deleting and then inserting would leave it.
  void ReplaceRange(int start, int end, const CZqStringBody& other);
  /// Reverses the units into a new array of the same capacity (which holds
  /// the whole capacity, a compact body's too), keeping each high-low
  /// surrogate pair in its order. Nothing happens to an empty body;
  /// OutOfMemoryError when the array cannot be had.
  void Reverse();
  /// Overwrites one unit. Throws IndexOutOfBoundsException with
  /// "SetCharAt: Negative index" or "SetCharAt: Index >= length".
  void SetCharAt(int index, char16_t unit);
  /// Sets the length; units added are 0 and the capacity grows to exactly
  /// \p newLength when needed (a compact body is expanded first when the
  /// length passes its block). Throws IndexOutOfBoundsException with
  /// "SetLength: Negative length" for a negative length.
  void SetLength(int newLength);
  /// Lowers the capacity to the length. The units do not move, so every
  /// holder keeps reading the same text through the same pointers.
  void TrimToSize() noexcept;
  /// @}

  /// @name Unicode case mapping
  /// Full case mapping and folding by the Unicode tables of the library
  /// (lang/detail/UnicodeCase), independent of the C locale. Each returns
  /// this body itself when the mapping changes no unit, else a new body
  /// (count 0) whose capacity is at least its length: the source's length
  /// to start with, grown by the MakeRoom rule when the text gets longer.
  /// OutOfMemoryError when a body or its growth cannot be had; nothing is
  /// left allocated then.
  /// @{

  /// The text in lower case (SpecialCasing, Final_Sigma, \p rules).
  CZqStringBody* LowerCased(ZqCaseRules rules) const;
  /// The text in upper case (ß becomes SS).
  CZqStringBody* UpperCased(ZqCaseRules rules) const;
  /// The full case folding of the text (CaseFolding statuses C and F; T as
  /// well for ZqCaseRules::kTurkic).
  CZqStringBody* CaseFolded(ZqCaseRules rules) const;
  /// @}

  /// @name Numbers in the classic locale
  /// The same text whatever std::locale::global is, never through a stream.
  /// Room is made for the text alone (the MakeRoom rule).
  /// @{

  /// Appends the decimal text of \p value ("-12", as std::to_chars).
  CZqStringBody& AppendClassic(long long value);
  /// Appends the shortest text that reads back as \p value, as std::to_chars
  /// without a format writes it ("0.1", "1e+21", "-0", "inf", "nan").
  CZqStringBody& AppendClassic(double value);
  /// @}

  // Internals: not part of the interface.
 private:
  friend class CZqStringBuilder;

  CZqStringBody() noexcept : mRefCount(0), mRoom(0), mData(nullptr), mLength(0), mCapacity(0) {}
  CZqStringBody(const CZqStringBody&) = delete;
  CZqStringBody& operator=(const CZqStringBody&) = delete;
  virtual ~CZqStringBody();

  // Body objects live in blocks of the library's allocation layer; a failed
  // allocation yields null, which Create() turns into OutOfMemoryError.
  static void* operator new(std::size_t size, const std::nothrow_t&) noexcept;
  static void operator delete(void* block, const std::nothrow_t&) noexcept;
  static void operator delete(void* block) noexcept;

  // TryAppend on a body that is not compact, as every body is that a builder
  // holds alone (it expands a string's body before it writes): the inline
  // fast path of CZqStringBuilder::append(char16_t).
  bool TryAppendInRoom(char16_t unit) noexcept {
    if (mLength >= mCapacity) {
      if (mRoom - mLength <= kGrowthSlack)
        return false;
      mCapacity = mLength + 1 + kGrowthSlack;
    }
    mData[mLength++] = unit;
    return true;
  }

  // MakeRoom for count units after the first kept ones (kept <= Length()):
  // the capacity grows to kept + count + 16 when they do not fit it, and a
  // compact body is expanded when they do not fit its block.
  void MakeRoomAfter(int kept, int count);

  // Appends narrow ASCII text, widening each character to one unit.
  CZqStringBody& AppendNarrow(const char* text, int count);

  // Index of units in this body's array, or -1 when they lie elsewhere.
  std::ptrdiff_t OffsetOf(const char16_t* units) const noexcept;

  // Appends / inserts the text of a number (long long or double): the one
  // body of each pair of number forms.
  template <class Number>
  CZqStringBody& AppendNumber(Number value);
  template <class Number>
  CZqStringBody& InsertNumber(int index, Number value);

  // Makes room for a number text of count units: the room that MakeRoom
  // gives for the 20 units every number asks for, raised once more when the
  // text is longer, reached in a single growth.
  void MakeNumberRoom(int count);

  // The units' place in the body's own block, just past the object, and
  // whether the units are there.
  char16_t* InlineUnits() const noexcept {
    return reinterpret_cast<char16_t*>(const_cast<CZqStringBody*>(this) + 1);
  }
  bool HasInlineUnits() const noexcept { return mData == InlineUnits(); }

  // A new body (count 0) of the capacity in one block with room + 1 units;
  // null when the block cannot be had.
  static CZqStringBody* NewBody(int capacity, int room) noexcept;

  // Moves the units to an array of room + 1 units (room > mRoom): a new one
  // when they are in the body's block, else the old one reallocated.
  void Regrow(int room);

  template <class Number>
  static CZqStringBody* NumberBody(Number value);

  // Installs a new array of room + 1 units (taking ownership) for the given
  // capacity, freeing the old one.
  void InstallUnits(char16_t* units, int room, int capacity) noexcept;

  [[noreturn]] static void ThrowCharAtOutOfBounds();

  // A clone (as Clone()) whose units are map(from, to, count) of these.
  using UnitMapper = void (*)(const char16_t* from, char16_t* to, int count) noexcept;
  CZqStringBody* MappedClone(UnitMapper map) const;

  // The one body operation behind the Unicode LowerCased, UpperCased and
  // CaseFolded.
  CZqStringBody* CaseMapped(detail::CaseMapping mapping, ZqCaseRules rules) const;

#if defined(ZARQLANG_ATOMIC_COUNTS)
  std::atomic<int> mRefCount;
#else
  int mRefCount;
#endif
  int mRoom;  // the array holds mRoom + 1 units; mCapacity <= mRoom unless compact
  char16_t* mData;
  int mLength;
  int mCapacity;
};

}  // namespace zqlang

#endif  // ZQ_LANG_CZQSTRINGBODY_H
