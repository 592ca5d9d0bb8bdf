//===- lang/ZqInterface.h - what every interface class declares -----------===//
/// \file
/// The members that the library's interface classes (CharSequence,
/// Appendable, ZqUnknownItf) all declare, written once.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_ZQINTERFACE_H
#define ZQ_LANG_ZQINTERFACE_H

#include <cstddef>
#include <new>

/// Construction, copy and assignment for implementing classes only (an
/// interface has no state of its own), and a destructor that is neither
/// virtual nor public: objects are destroyed by their own class, or through
/// Release() where the interface has one, never through the interface.
#define ZQ_INTERFACE_SPECIAL_MEMBERS(Class) \
 protected:                                 \
  Class() = default;                        \
  Class(const Class&) = default;            \
  Class& operator=(const Class&) = default; \
  ~Class() = default

/// Class-specific operator new and delete that take the blocks of heap
/// objects from the library's allocation layer, so that Release() and
/// `delete` give them back there. The plain new throws std::bad_alloc when
/// no memory can be had; the nothrow new returns null.
#define ZQ_HEAP_OPERATORS                                                      \
  static void* operator new(std::size_t size);                                 \
  static void* operator new(std::size_t size, const std::nothrow_t&) noexcept; \
  static void operator delete(void* block) noexcept;                           \
  static void operator delete(void* block, const std::nothrow_t&) noexcept

#endif  // ZQ_LANG_ZQINTERFACE_H
