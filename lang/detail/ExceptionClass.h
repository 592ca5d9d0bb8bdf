//===- lang/detail/ExceptionClass.h - members every exception class has ---===//
/// \file
/// The exception classes differ only in their base, their full name and which
/// constructor kinds they offer. Each constructor runs the base constructor of
/// the same kind and then sets the class's own full name; these macros write
/// that once for every class.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_DETAIL_EXCEPTIONCLASS_H
#define ZQ_LANG_DETAIL_EXCEPTIONCLASS_H

// Default constructor, transferring copy, destructor and GetFullName.
#define ZQ_DEFINE_EXCEPTION(Class, Base, FullName) \
  Class::Class() { SetFullName(FullName); }        \
  Class::Class(const Class& other) = default;      \
  Class::~Class() = default;                       \
  const ::zqlang::CZqString& Class::GetFullName() const { return FullName; }

#define ZQ_DEFINE_MESSAGE_CONSTRUCTOR(Class, Base, FullName) \
  Class::Class(const ::zqlang::CZqString& message) : Base(message) { SetFullName(FullName); }

// The parameter is a copy sharing the caller's units; it is released when the
// constructor returns, after the base has stored its own copy.
#define ZQ_DEFINE_MESSAGE_BY_VALUE_CONSTRUCTOR(Class, Base, FullName) \
  Class::Class(::zqlang::CZqString message) : Base(message) { SetFullName(FullName); }

#define ZQ_DEFINE_CAUSE_CONSTRUCTORS(Class, Base, FullName)                    \
  Class::Class(const ::zqlang::CZqString& message, ::zqlang::Throwable* cause) \
      : Base(message, cause) {                                                 \
    SetFullName(FullName);                                                     \
  }                                                                            \
  Class::Class(::zqlang::Throwable* cause) : Base(cause) { SetFullName(FullName); }

// The two index exceptions: no index, an index (and no message), a message;
// their own toString() shows the index when they carry one, and so does
// their stream operator.
#define ZQ_DEFINE_INDEX_EXCEPTION(Class, FullName)                                                \
  Class::Class() : mIndex(0), mHasIndex(false) { SetFullName(FullName); }                         \
  Class::Class(int index) : mIndex(index), mHasIndex(true) { SetFullName(FullName); }             \
  Class::Class(const ::zqlang::CZqString& message)                                                \
      : IndexOutOfBoundsException(message), mIndex(0), mHasIndex(false) {                         \
    SetFullName(FullName);                                                                        \
  }                                                                                               \
  Class::Class(const Class& other) = default;                                                     \
  Class::~Class() = default;                                                                      \
  std::ostream& operator<<(std::ostream& os, const Class& e) { return os << e.toString(); }       \
  ::zqlang::CZqString Class::toString() const {                                                   \
    if (!mHasIndex)                                                                               \
      return Throwable::toString();                                                               \
    return ::zqlang::CZqString(u"CZqString index out of bounds: ") + ::zqlang::CZqString(mIndex); \
  }                                                                                               \
  const ::zqlang::CZqString& Class::GetFullName() const { return FullName; }

#endif  // ZQ_LANG_DETAIL_EXCEPTIONCLASS_H
