//===- lang/ZqUnknownItf.cpp -----------------------------------------------===//
#include "lang/ZqUnknownItf.h"

#include "lang/detail/HeapOperators.h"

namespace zqlang {

ZQ_DEFINE_HEAP_OPERATORS(ZqUnknownItf)

}  // namespace zqlang
