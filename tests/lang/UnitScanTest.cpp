//===- tests/lang/UnitScanTest.cpp - the vector scans ---------------------===//
#include <random>

#include "lang/detail/UnitScan.h"
#include "support/TestSupport.h"

namespace zqlang {
namespace {

// Every scan's vector path gives what its scalar reference gives, over
// lengths around the 8-, 32- and 64-unit steps and texts where matches are
// rare or dense, at every start.
TEST(UnitScanTest, VectorPathsAgreeWithTheirScalarReferences) {
#if ZQ_SSE2
  using namespace detail;
  std::mt19937 random(11);
  for (int length = 0; length < 140; ++length) {
    for (char16_t alphabet : {u'b', u'\xD801'}) {
      std::u16string text(static_cast<std::size_t>(length), u'a');
      for (char16_t& unit : text)
        unit = random() % 9 == 0 ? alphabet : static_cast<char16_t>(u'a' + random() % 2);
      std::u16string other = text;
      if (length > 0)
        other[random() % static_cast<unsigned>(length)] ^= 0x8000;
      const char16_t* t = text.data();
      ASSERT_EQ(FindUnitScalar(t, length, alphabet), FindUnitSse2(t, length, alphabet));
      ASSERT_EQ(FindLastUnitScalar(t, length, alphabet), FindLastUnitSse2(t, length, alphabet));
      ASSERT_EQ(FirstDifferenceScalar(t, other.data(), length),
                FirstDifferenceSse2(t, other.data(), length));
      ASSERT_EQ(HashUnitsScalar(t, length), HashUnitsSse2(t, length));
      const std::u16string needle = {u'a', alphabet, u'b'};
      for (int from = 0; from + 3 <= length; ++from) {
        ASSERT_EQ(FindUnitsScalar(t, from, length - 3, needle.data(), 3),
                  FindUnitsSse2(t, from, length - 3, needle.data(), 3));
        ASSERT_EQ(FindLastUnitsScalar(t, from, needle.data(), 3),
                  FindLastUnitsSse2(t, from, needle.data(), 3));
      }
    }
  }
#else
  GTEST_SKIP() << "built without the vector paths";
#endif
}
}  // namespace
}  // namespace zqlang
