//===- lang/detail/UnicodeCaseData.cpp - the Unicode case tables ----------===//
//
// The tables are generated from the Unicode Character Database into
// UnicodeCaseData.inc by scripts/gen-unicode-case.py; see UnicodeCaseData.h
// for what they hold.
//===----------------------------------------------------------------------===//
#include "lang/detail/UnicodeCaseData.h"

namespace zqlang {
namespace detail {

#include "lang/detail/UnicodeCaseData.inc"

}  // namespace detail
}  // namespace zqlang
