//===- tests/interop/FormatTest.cpp - {fmt} formatters --------------------===//
//
// The formatters print UTF-8 with the options of a string argument, width
// and precision counted in code points (as {fmt} counts UTF-8 text).
//===----------------------------------------------------------------------===//
#include <gtest/gtest.h>

#include <string>

#include "ZarqLang.h"
#include "lang/ZqFormat.h"

namespace zqlang {
namespace {

TEST(FormatTest, StringAndBuilderAsUtf8StringArguments) {
  const CZqString city(u"K\u00F6ln\U0001F600");
  CZqStringBuilder b;
  b.append(u"ab");
  const struct {
    std::string got, expected;
  } rows[] = {
      {fmt::format("{}", city), "K\xC3\xB6ln\xF0\x9F\x98\x80"},
      {fmt::format("[{:>7}]", CZqString(u"K\u00F6ln")), "[   K\xC3\xB6ln]"},
      {fmt::format("[{:*^6}]", b), "[**ab**]"},
      {fmt::format("[{:.2}]", city), "[K\xC3\xB6]"},
      {fmt::format("[{:<3.1}|{}]", city, CZqString(u"\xD800")), "[K  |\xEF\xBF\xBD]"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(row.expected, row.got);
#if defined(__cpp_lib_format)
  EXPECT_EQ("[   K\xC3\xB6ln]", std::format("[{:>7}]", CZqString(u"K\u00F6ln")));
  EXPECT_EQ("[ab]", std::format("[{}]", b));
#endif
}

}  // namespace
}  // namespace zqlang
