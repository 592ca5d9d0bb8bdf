//===- tests/lang/ZqStringAdapterTest.cpp - a string as a counted object --===//
#include "lang/ZqStringAdapter.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace zqlang {
namespace {

using testing_support::CountOf;
using testing_support::SameBody;

TEST(ZqStringAdapterTest, CountsItsHoldersAndFreesAtZero) {
  const CZqString hello(u"hello");
  const long long before = testing_support::LiveBlocks();
  ZqStringAdapter* adapter = new ZqStringAdapter(hello);
  EXPECT_TRUE(SameBody(hello, adapter->GetValue()));
  EXPECT_EQ(2, CountOf(hello));
  EXPECT_EQ(1, adapter->AddRef());
  {
    SPtr<ZqStringAdapter> held(adapter);
    EXPECT_EQ(3, adapter->AddRef());
    adapter->Release();
  }
  EXPECT_EQ(0, adapter->Release());  // freed
  EXPECT_EQ(before, testing_support::LiveBlocks());
  EXPECT_EQ(1, CountOf(hello));
}

TEST(ZqStringAdapterTest, HashesAndComparesAsItsString) {
  const ZqStringAdapter a(CZqString(u"key"));
  const ZqStringAdapter b(CZqString(u"key"));
  EXPECT_TRUE(a.equals(b));
  EXPECT_EQ(a.hashCode(), b.hashCode());
  EXPECT_EQ(CZqString(u"key").hashCode(), a.hashCode());
  EXPECT_EQ(std::hash<ZqStringAdapter>()(a), std::hash<ZqStringAdapter>()(b));
  EXPECT_FALSE(ZqStringAdapter(CZqString(u"ABC")).equals(ZqStringAdapter(CZqString(u"abc"))));
}

TEST(ZqStringAdapterTest, CopyCarriesTheCount) {
  ZqStringAdapter a(CZqString(u"x"));
  a.AddRef();
  a.AddRef();
  const ZqStringAdapter copy(a);
  EXPECT_EQ(3, copy.AddRef());
  EXPECT_TRUE(SameBody(a.GetValue(), copy.GetValue()));
}

}  // namespace
}  // namespace zqlang
