//===- lang/SPtr.h - holder of one counted reference ----------------------===//
/// \file
/// SPtr<T> holds one reference on an object that counts its holders itself
/// (intrusive counting): T only needs `AddRef()` and `Release()`. Strings
/// and builders hold their CZqStringBody this way; boxed integers reach
/// applications as SPtr<CZqInteger>.
///
/// \code
///   SPtr<CZqInteger> a = CZqInteger::valueOf(5);  // count 1
///   SPtr<CZqInteger> b = a;                       // count 2
///   b = nullptr;                                  // count 1
///   // a's destructor: count 0, the integer frees itself
/// \endcode
///
/// SPtr counts nothing itself: T's AddRef and Release do, atomically or
/// not as T decides (a string body's count is atomic in a build with
/// ZARQLANG_ATOMIC_COUNTS). One holder is used from one thread at a time.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_SPTR_H
#define ZQ_LANG_SPTR_H

#include <cstddef>
#include <functional>

namespace zqlang {

/// Holds one counted reference on a T (null allowed); see the file comment.
template <class T>
class SPtr {
 public:
  /// A holder of nothing.
  SPtr() noexcept : mPtr(nullptr) {}
  /// A holder of nothing, so that `SPtr<T> p = nullptr;` reads naturally.
  SPtr(std::nullptr_t) noexcept : mPtr(nullptr) {}

  /// Takes one reference on \p ptr, unless it is null.
  SPtr(T* ptr) : mPtr(ptr) {
    if (mPtr != nullptr)
      mPtr->AddRef();
  }

  /// Takes one more reference on what \p other holds.
  SPtr(const SPtr& other) : SPtr(other.mPtr) {}

  /// Takes over \p other's reference without touching the count; \p other
  /// is left holding nothing.
  SPtr(SPtr&& other) noexcept : mPtr(other.mPtr) { other.mPtr = nullptr; }

  ~SPtr() { Reset(); }

  /// Holds \p ptr instead. Holding the same object again changes no count.
  /// The new reference is taken before the old one is given back, so \p ptr
  /// may be an object that only the old one keeps alive (`head = head->next`
  /// in a list whose nodes hold their successors).
  SPtr& operator=(T* ptr) {
    if (ptr != mPtr) {
      if (ptr != nullptr)
        ptr->AddRef();
      T* const old = mPtr;
      mPtr = ptr;
      if (old != nullptr)
        old->Release();
    }
    return *this;
  }

  /// Holds what \p other holds; self-assignment changes no count.
  SPtr& operator=(const SPtr& other) { return *this = other.mPtr; }

  /// Takes over \p other's reference; the count of the object moved is not
  /// touched. Self-move leaves the holder as it was. \p other is emptied
  /// before the old reference is given back, so it may live inside the
  /// object that release frees (`head = std::move(head->next)`).
  SPtr& operator=(SPtr&& other) noexcept {
    if (this != &other) {
      T* const taken = other.mPtr;
      other.mPtr = nullptr;
      T* const old = mPtr;
      mPtr = taken;
      if (old != nullptr)
        old->Release();
    }
    return *this;
  }

  /// The held object, or null.
  T* Get() const noexcept { return mPtr; }
  /// True when the holder holds nothing.
  bool IsNull() const noexcept { return mPtr == nullptr; }

  /// The held object's members; the holder must not be null.
  T* operator->() const noexcept { return mPtr; }
  /// The held object; the holder must not be null.
  T& operator*() const noexcept { return *mPtr; }
  /// True when the holder holds an object.
  explicit operator bool() const noexcept { return mPtr != nullptr; }

  /// True when both hold the same object (or both nothing).
  friend bool operator==(const SPtr& a, const SPtr& b) noexcept { return a.mPtr == b.mPtr; }
  /// True when they hold different objects.
  friend bool operator!=(const SPtr& a, const SPtr& b) noexcept { return a.mPtr != b.mPtr; }

 private:
  // Gives back the held reference, if any, and holds nothing.
  void Reset() {
    T* old = mPtr;
    mPtr = nullptr;
    if (old != nullptr)
      old->Release();
  }

  T* mPtr;
};

}  // namespace zqlang

namespace std {
/// Hashes a holder by the object it holds, consistent with its == (identity),
/// so holders can key unordered containers.
template <class T>
struct hash<zqlang::SPtr<T>> {
  /// The hash of the held pointer.
  std::size_t operator()(const zqlang::SPtr<T>& holder) const noexcept {
    return hash<T*>()(holder.Get());
  }
};
}  // namespace std

#endif  // ZQ_LANG_SPTR_H
