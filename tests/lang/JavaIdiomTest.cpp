//===- tests/lang/JavaIdiomTest.cpp - the everyday members of Java's String ===//
//
// Expected values written by Java 17 (java.lang.String), grouped by member,
// with the odd cases: empty texts and targets, lone surrogates and pairs,
// the white space Java counts and the one it does not.
//===----------------------------------------------------------------------===//
#include "support/TestSupport.h"

namespace zqlang {
namespace {

TEST(JavaIdiomTest, ReplaceTextsLeftToRightWithoutOverlap) {
  const struct {
    std::u16string text, target, replacement, expected;
  } rows[] = {
      {u"aaa", u"aa", u"b", u"ba"},
      {u"abc", u"", u"-", u"-a-b-c-"},
      {u"", u"", u"x", u"x"},
      {u"abc", u"x", u"y", u"abc"},
      {u"a==b==", u"==", u"=", u"a=b="},
      {u"\xD83D\xDE00x\xD83D\xDE00", u"\xD83D\xDE00", u"!", u"!x!"},
      {u"abab", u"ab", u"", u""},
      {u"\xD800", u"", u"|", u"|\xD800|"},
  };
  for (const auto& row : rows) {
    const CZqString s(row.text);
    SCOPED_TRACE(::testing::PrintToString(s));
    EXPECT_EQ(row.expected, Text(s.replace(row.target, row.replacement)));
    EXPECT_EQ(row.expected, Text(s.replace(CZqString(row.target), CZqString(row.replacement))));
  }
  const CZqString s(u"a==b");
  EXPECT_EQ(u"a=b", Text(s.replace(u"==", u"=")));  // literals pick the view form
  EXPECT_TRUE(SameBody(s, s.replace(u"x", u"y")));  // nothing found: the same body
  CZqStringBuilder b(CZqString(u"="));
  EXPECT_EQ(u"a-=-=b", Text(s.replace(b, CZqString(u"-="))));  // any sequence
  EXPECT_EQ(4, CapacityOf(s.replace(u"==", u"=")));
}

TEST(JavaIdiomTest, StripByJavasWhiteSpace) {
  const struct {
    std::u16string text, strip, leading, trailing;
    bool blank;
  } rows[] = {
      {u"  a b  ", u"a b", u"a b  ", u"  a b", false},
      {u"\u00A0x\u2007", u"\u00A0x\u2007", u"\u00A0x\u2007", u"\u00A0x\u2007", false},
      {u"\u2028y\u3000", u"y", u"y\u3000", u"\u2028y", false},
      {u"\u0009\u000A\u000B\u000C\u000D\u001C\u001D\u001E\u001Fz\u0085", u"z\u0085", u"z\u0085",
       u"\u0009\u000A\u000B\u000C\u000D\u001C\u001D\u001E\u001Fz\u0085", false},
      {u"", u"", u"", u"", true},
      {u" \u1680\u2000\u200A\u205F", u"", u"", u"", true},
      {u"\xD800 ", u"\xD800", u"\xD800 ", u"\xD800", false},
  };
  for (const auto& row : rows) {
    const CZqString s(row.text);
    SCOPED_TRACE(::testing::PrintToString(s));
    EXPECT_EQ(row.strip, Text(s.strip()));
    EXPECT_EQ(row.leading, Text(s.stripLeading()));
    EXPECT_EQ(row.trailing, Text(s.stripTrailing()));
    EXPECT_EQ(row.blank, s.isBlank());
  }
  const CZqString kept(u"a b");
  EXPECT_TRUE(SameBody(kept, kept.strip()) && SameBody(kept, kept.stripTrailing()));
}

TEST(JavaIdiomTest, RegionMatchesIgnoringCaseByJavasRule) {
  const struct {
    std::u16string a, b;
    bool matches;
  } rows[] = {
      {u"\u0130", u"i", true},
      {u"\u0131", u"I", true},
      {u"\u00DF", u"SS", false},
      {u"\xD801\xDC00", u"\xD801\xDC28", true},
      {u"\u212A", u"k", true},
      {u"\u03A3", u"\u03C2", true},
      {u"abc", u"ABD", false},
      {u"\u01C5", u"\u01C4", true},
      {u"\u1E9E", u"\u00DF", true},
      {u"\xD801", u"\xD801", true},
      {u"\xD801\xDC00x", u"\xD801\xDC28X", true},
      {u"\u10D0", u"\u1C90", true},
  };
  for (const auto& row : rows) {
    const CZqString a(row.a);
    SCOPED_TRACE(::testing::PrintToString(a));
    EXPECT_EQ(row.matches, a.regionMatches(true, 0, CZqString(row.b), 0, a.length()));
  }
  const CZqString abc(u"abc");
  EXPECT_TRUE(CZqString(u"abcdef").regionMatches(2, CZqString(u"xcd"), 1, 2));
  EXPECT_TRUE(abc.regionMatches(0, abc, 0, -5));
  EXPECT_FALSE(abc.regionMatches(-1, abc, 0, 0));
  EXPECT_TRUE(abc.regionMatches(3, abc, 3, 0));
  EXPECT_FALSE(abc.regionMatches(4, abc, 0, 0));
  EXPECT_FALSE(abc.regionMatches(2, abc, 0, INT_MAX));
  EXPECT_TRUE(abc.regionMatches(1, abc, 0, -1));
  EXPECT_FALSE(abc.regionMatches(false, 0, CZqString(u"ABC"), 0, 3));
}

TEST(JavaIdiomTest, LinesEndAtEachTerminatorWithoutATrailingEmptyOne) {
  const struct {
    std::u16string text;
    std::vector<std::u16string> lines;
  } rows[] = {
      {u"a\u000D\u000Ab\u000Dc\u000A\u000Ad\u000A", {u"a", u"b", u"c", u"", u"d"}},
      {u"", {}},
      {u"\u000A", {u""}},
      {u"x", {u"x"}},
      {u"\u000D\u000D\u000A\u000A", {u"", u"", u""}},
      {u"a\u000A\u000D", {u"a", u""}},
  };
  for (const auto& row : rows) {
    std::vector<std::u16string> got;
    for (std::u16string_view line : CZqString(row.text).lines())  // the range holds the text
      got.emplace_back(line);
    EXPECT_EQ(row.lines, got) << ::testing::PrintToString(CZqString(row.text));
  }
  const CZqString text(u"one\ntwo");
  EXPECT_EQ(u"two", Text(CZqString(*std::next(text.lines().begin()))));
}

TEST(JavaIdiomTest, RepeatWritesIntoOneBody) {
  const CZqString ab(u"ab");
  EXPECT_EQ(u"", Text(ab.repeat(0)));
  EXPECT_TRUE(SameBody(ab, ab.repeat(1)));
  // The copies are made in blocks of 1,024 units or fewer: texts that fill
  // one exactly, that do not, and one longer than a block.
  std::u16string longer(1100, u' ');
  for (std::size_t i = 0; i < longer.size(); ++i)
    longer[i] = static_cast<char16_t>(u'a' + i % 26);
  for (const std::u16string& text : {std::u16string(u"ab"), std::u16string(u"xyz"), longer}) {
    for (int count : {2, 3, 7, 64, 1000}) {
      std::u16string expected;
      for (int i = 0; i < count; ++i)
        expected += text;
      const CZqString r = CZqString(text).repeat(count);
      EXPECT_EQ(expected, Text(r));
      EXPECT_EQ(static_cast<int>(expected.size()) + 1, CapacityOf(r));
    }
  }
  EXPECT_EQ(u"", Text(CZqString(u"").repeat(5)));
  EXPECT_EQ(u"IllegalArgumentException: count is negative: -1",
            Failure([&] { (void)ab.repeat(-1); }));
  EXPECT_EQ(u"OutOfMemoryError", Failure([&] { (void)ab.repeat(INT_MAX / 2 + 1); }));
}

TEST(JavaIdiomTest, BuilderRepeatAppendsCopiesOfAnyTextEvenItsOwn) {
  CZqStringBuilder b(CZqString(u"[abc]"));
  const CZqString taken = b.toString();  // shares the body: the repeat copies first
  b.repeat(u"-=", 3).repeat(CZqString(u"x"), 0);
  EXPECT_EQ(u"[abc]-=-=-=", std::u16string(b.view()));
  EXPECT_EQ(u"[abc]", Text(taken));
  b.repeat(b.view().substr(1, 3), 4);  // its own units, moved by the growth
  EXPECT_EQ(u"[abc]-=-=-=abcabcabcabc", std::u16string(b.view()));
  EXPECT_EQ(u"IllegalArgumentException: count is negative: -2",
            Failure([&] { b.repeat(u"a", -2); }));
  EXPECT_EQ(u"OutOfMemoryError", Failure([&] { b.repeat(u"ab", INT_MAX / 2); }));
  EXPECT_EQ(u"[abc]-=-=-=abcabcabcabc", std::u16string(b.view()));
}

TEST(JavaIdiomTest, JoinWritesEveryPartIntoOneBody) {
  const std::vector<CZqString> words{CZqString(u"a"), CZqString(u""), CZqString(u"\u00E9t\u00E9")};
  const long long before = detail::testing::AllocationCount();
  const CZqString joined = CZqString::join(u", ", words);
  EXPECT_EQ(before + 1, detail::testing::AllocationCount());
  EXPECT_EQ(u"a, , \u00E9t\u00E9", Text(joined));
  EXPECT_EQ(9, CapacityOf(joined));
  EXPECT_EQ(u"x-y-z", Text(CZqString::join(CZqString(u"-"), {CZqString(u"x"), u"y", u"z"})));
  const std::vector<std::u16string_view> views{u"1", u"2"};
  EXPECT_EQ(u"12", Text(CZqString::join(u"", views)));
  EXPECT_EQ(u"only", Text(CZqString::join(u"+", std::vector<std::u16string>{u"only"})));
  EXPECT_EQ(u"", Text(CZqString::join(u"+", std::vector<CZqString>{})));
  const char16_t* const parts[] = {u"p", nullptr};
  EXPECT_EQ(u"NullPointerException: CZqString: null text",
            Failure([&] { (void)CZqString::join(u",", parts); }));
}

TEST(JavaIdiomTest, ContentEqualsAndIgnoringCaseWithViews) {
  const CZqString s(u"Key");
  CZqStringBuilder b(CZqString(u"Key"));
  EXPECT_TRUE(s.contentEquals(b) && s.contentEquals(CZqString(u"Key")));
  EXPECT_FALSE(s.contentEquals(CZqString(u"Ke")) || s.contentEquals(CZqString(u"KeY")));
  const long long before = detail::testing::AllocationCount();
  EXPECT_TRUE(s.equalsIgnoreCase(u"kEY") && s.equalsIgnoreCase(std::u16string(u"key")));
  EXPECT_EQ(-1, s.compareToIgnoreCase(u"KEZ"));
  EXPECT_EQ(-255, CZqInteger::parseInt(u"-ff", 16));  // a literal: no temporary string
  EXPECT_EQ(before, detail::testing::AllocationCount());
  EXPECT_EQ(Failure([] { CZqInteger::parseInt(CZqString(u"2147483648"), 10); }),
            Failure([] { CZqInteger::parseInt(std::u16string_view(u"2147483648")); }));
  EXPECT_EQ(Failure([] { CZqInteger::parseInt(CZqString(u"1G"), 17); }),
            Failure([] { CZqInteger::parseInt(u"1G", 17); }));
}

}  // namespace
}  // namespace zqlang
