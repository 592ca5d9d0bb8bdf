//===- lang/ZqStringAdapter.cpp - a string as a counted object ------------===//
#include "lang/ZqStringAdapter.h"

#include "lang/detail/Memory.h"

namespace zqlang {

ZqStringAdapter::ZqStringAdapter(const CZqString& value) : mRefCount(0), mValue(value) {}

ZqStringAdapter::ZqStringAdapter(const ZqStringAdapter& other) = default;

ZqStringAdapter::~ZqStringAdapter() = default;

int ZqStringAdapter::hashCode() const { return mValue.hashCode(); }

bool ZqStringAdapter::equals(const ZqStringAdapter& other) const {
  return mValue.equals(other.mValue);
}

int ZqStringAdapter::AddRef() const { return ++mRefCount; }

int ZqStringAdapter::Release() const {
  const int count = --mRefCount;
  if (count != 0)
    return count;
  delete this;
  return 0;
}

}  // namespace zqlang
