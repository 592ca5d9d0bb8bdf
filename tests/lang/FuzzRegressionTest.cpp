//===- tests/lang/FuzzRegressionTest.cpp - inputs the fuzzers found -------===//
//
// Each row is a call that once misbehaved under the fuzz targets, reduced to
// its core. Run under the sanitizers, they also prove the fix.
//===----------------------------------------------------------------------===//
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

#include "ZarqLang.h"
#include "support/TestSupport.h"

namespace zqlang {
namespace {

using testing_support::Failure;
using testing_support::Text;

// A reversed range whose ends lie far apart: end - start overflowed an int
// (undefined behaviour) before the reported value was computed in 32 bits
// with wrap-around.
TEST(FuzzRegressionTest, FarApartReversedRangeReportsTheWrappedDifference) {
  struct Row {
    const char* what;
    std::function<void()> op;
    int reported;
  };
  const CZqString s(u"abcdef");
  CZqStringBuilder b(s);
  char16_t buffer[8] = {};
  const Row rows[] = {
      {"builder append(CharSequence, start, end)", [&] { b.append(s, 1, INT_MIN); }, INT_MAX},
      {"builder subSequence", [&] { static_cast<void>(b.subSequence(2, INT_MIN)); }, INT_MAX - 1},
      {"builder getChars", [&] { b.getChars(1, INT_MIN, buffer, 0); }, INT_MAX},
      {"string substring", [&] { static_cast<void>(s.substring(2, INT_MIN)); }, INT_MAX - 1},
      {"string subSequence", [&] { static_cast<void>(s.subSequence(3, INT_MIN)); }, INT_MAX - 2},
      {"string getChars", [&] { s.getChars(1, INT_MIN, buffer, 0); }, INT_MAX},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(u"StringIndexOutOfBoundsException #" + Text(CZqString(row.reported)), Failure(row.op))
        << row.what;
  }
  EXPECT_EQ(u"abcdef", Text(b.toString()));
}

}  // namespace
}  // namespace zqlang
