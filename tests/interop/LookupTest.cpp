//===- tests/interop/LookupTest.cpp - heterogeneous lookup (C++20) --------===//
//
// std::unordered_map<CZqString, V, ZqHash, ZqEqual> is searched with views,
// literals and std::u16string without making a string.
//===----------------------------------------------------------------------===//
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "ZarqLang.h"
#include "lang/detail/Memory.h"

namespace zqlang {
namespace {

TEST(LookupTest, FindsViewsWithoutMakingStrings) {
  std::unordered_map<CZqString, int, ZqHash, ZqEqual> map;
  map[CZqString(u"alpha")] = 1;
  map[CZqString(u"beta")] = 2;
  const std::u16string key = u"beta";
  const long long before = detail::testing::AllocationCount();
  EXPECT_EQ(2, map.find(std::u16string_view(key))->second);
  EXPECT_EQ(1, map.find(u"alpha")->second);
  EXPECT_TRUE(map.contains(key) && !map.contains(std::u16string_view(u"gamma")));
  EXPECT_EQ(1u, map.count(u"alpha"));
  EXPECT_EQ(before, detail::testing::AllocationCount());
  // Operators in C++20, where == and != are also tried reversed.
  const CZqString s(u"beta");
  EXPECT_TRUE(s == key && key == s && u"beta" == s && s != u"bet" && !(s != s));
}

}  // namespace
}  // namespace zqlang
