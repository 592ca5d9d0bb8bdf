//===- lang/ZqStringAdapter.h - a string as a counted object --------------===//
/// \file
/// ZqStringAdapter wraps one CZqString in a reference-counted object of the
/// ZqUnknownItf family, with hashCode() and equals() taken from the string,
/// so that a string can be held by an SPtr and used as the key of an
/// application's hashed collection.
///
/// \code
///   SPtr<ZqStringAdapter> key(new ZqStringAdapter(CZqString(u"id")));  // count 1
///   int h = key->hashCode();                                          // the string's hash
/// \endcode
///
/// Once anybody calls Release() on it, an adapter must live on the heap: the
/// Release() that reaches 0 deletes it.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_ZQSTRINGADAPTER_H
#define ZQ_LANG_ZQSTRINGADAPTER_H

#include <cstddef>
#include <new>

#include "lang/CZqString.h"
#include "lang/ZqExport.h"
#include "lang/ZqUnknownItf.h"

namespace zqlang {

/// A string in a counted object, hashed and compared as the string.
class ZQ_API ZqStringAdapter final : public ZqUnknownItf {
 public:
  /// Shares \p value's body; count 0.
  explicit ZqStringAdapter(const CZqString& value);
  /// Copies both members: the count of \p other too (it is not reset), and
  /// the string shares other's body.
  ZqStringAdapter(const ZqStringAdapter& other);
  ZqStringAdapter& operator=(const ZqStringAdapter&) = delete;
  /// Releases the string's share of its body.
  ~ZqStringAdapter();

  /// The wrapped string.
  const CZqString& GetValue() const { return mValue; }
  /// The string's hashCode().
  int hashCode() const;
  /// True when the two strings have equal units (case-sensitive).
  bool equals(const ZqStringAdapter& other) const;

  int AddRef() const override;
  int Release() const override;

  // Internals: not part of the interface.
 private:
  mutable int mRefCount;
  CZqString mValue;
};

}  // namespace zqlang

namespace std {
/// Hashes an adapter as its string, consistent with equals().
template <>
struct hash<zqlang::ZqStringAdapter> {
  /// The hash of the adapter's string.
  std::size_t operator()(const zqlang::ZqStringAdapter& adapter) const noexcept {
    return hash<zqlang::CZqString>()(adapter.GetValue());
  }
};
}  // namespace std

#endif  // ZQ_LANG_ZQSTRINGADAPTER_H
