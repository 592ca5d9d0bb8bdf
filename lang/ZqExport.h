//===- lang/ZqExport.h - symbol visibility of the public interface --------===//
/// \file
/// ZQ_API marks the classes and functions that libZarqLang exports. The
/// library is compiled with hidden visibility, so anything without ZQ_API stays
/// private to the shared object. On ELF the same attribute serves the library
/// and its users; a static build needs nothing else.
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_ZQEXPORT_H
#define ZQ_LANG_ZQEXPORT_H

#if defined(__GNUC__) || defined(__clang__)
#define ZQ_API __attribute__((visibility("default")))
#else
#define ZQ_API
#endif

#endif  // ZQ_LANG_ZQEXPORT_H
