//===- lang/CharSequence.cpp -----------------------------------------------===//
#include "lang/CharSequence.h"

#include "lang/detail/HeapOperators.h"

namespace zqlang {

ZQ_DEFINE_HEAP_OPERATORS(CharSequence)

}  // namespace zqlang
