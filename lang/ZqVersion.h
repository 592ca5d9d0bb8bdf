//===- lang/ZqVersion.h - version of the library --------------------------===//
/// \file
/// The version of the headers being compiled against, as numbers for the
/// preprocessor. This header is the one place the version is written: the
/// build reads it for the shared library's SONAME, the CMake package
/// (`find_package(ZarqLang 1.0 CONFIG)`) and zarqlang.pc.
///
/// \code
///   #if ZARQLANG_VERSION >= 10100
///   // something added in 1.1
///   #endif
/// \endcode
//===----------------------------------------------------------------------===//
#ifndef ZQ_LANG_ZQVERSION_H
#define ZQ_LANG_ZQVERSION_H

/// Incremented for changes that break source or binary compatibility; it is
/// the SONAME version of libZarqLang.so.
#define ZARQLANG_VERSION_MAJOR 1
/// Incremented for additions that keep compatibility.
#define ZARQLANG_VERSION_MINOR 0
/// Incremented for fixes.
#define ZARQLANG_VERSION_PATCH 0

/// The three numbers as one, MAJOR * 10000 + MINOR * 100 + PATCH, for
/// comparisons in `#if`.
#define ZARQLANG_VERSION \
  (ZARQLANG_VERSION_MAJOR * 10000 + ZARQLANG_VERSION_MINOR * 100 + ZARQLANG_VERSION_PATCH)

#endif  // ZQ_LANG_ZQVERSION_H
