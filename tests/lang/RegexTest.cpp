//===- tests/lang/RegexTest.cpp - Java's regular expressions ---------------===//
//
// Expected values written by Java 17 (java.util.regex and String's split,
// matches, replaceAll and replaceFirst), with the odd cases: empty parts and
// limits, empty matches, pairs, line terminators, case folding, classes with
// && and nesting, bad patterns and bad replacements.
//===----------------------------------------------------------------------===//
#include "lang/ZqPattern.h"
#include "support/TestSupport.h"

namespace zqlang {
namespace {

// What an operation gave, in one comparable form: split's parts as
// "[a|b|]", a boolean, a string, or the exception's short name and message.
std::u16string Outcome(const char* op, const CZqString& regex, const CZqString& input,
                       const CZqString& arg) {
  try {
    const std::string o = op;
    if (o == "s") {
      std::u16string parts = u"[";
      for (const CZqString& part : input.split(regex, CZqInteger::parseInt(arg)))
        parts += Text(part) + u"|";
      return parts + u"]";
    }
    if (o == "m")
      return input.matches(regex) ? u"true" : u"false";
    if (o == "ra")
      return Text(input.replaceAll(regex, arg));
    return Text(input.replaceFirst(regex, arg));
  } catch (const IllegalArgumentException& e) {
    return u"IAE " + Text(e.getMessage());
  } catch (const IndexOutOfBoundsException& e) {
    return u"IndexOutOfBoundsException " + Text(e.getMessage());
  }
}

TEST(RegexTest, AgreesWithJava) {
  const struct {
    const char* op;  // s: split (arg is the limit), m: matches, ra/rf: replaceAll/First
    const char16_t *regex, *input, *arg, *expected;
  } rows[] = {
      {"s", u",", u"a,b,,c,,", u"0", u"[a|b||c|]"},
      {"s", u",", u"a,b,,c,,", u"-1", u"[a|b||c|||]"},
      {"s", u",", u"a,b,,c,,", u"2", u"[a|b,,c,,|]"},
      {"s", u",", u",a", u"0", u"[|a|]"},
      {"s", u",", u"", u"0", u"[|]"},
      {"s", u",", u",", u"0", u"[]"},
      {"s", u",", u"abc", u"0", u"[abc|]"},
      {"s", u"\\s+",
       u" a  b\x0009"
       u"c ",
       u"0", u"[|a|b|c|]"},
      {"s", u"\\s*", u"abc", u"0", u"[a|b|c|]"},
      {"s", u"", u"abc", u"0", u"[a|b|c|]"},
      {"s", u"", u"", u"0", u"[|]"},
      {"s", u"x*", u"axb", u"0", u"[a||b|]"},
      {"s", u"(?=b)", u"abb", u"0", u"[a|b|b|]"},
      {"s", u"\\.", u"a.b.", u"0", u"[a|b|]"},
      {"s", u"\\|", u"a|b", u"5", u"[a|b|]"},
      {"s", u"ab", u"xabyab", u"-1", u"[x|y||]"},
      {"s", u"\xd83d\xde00",
       u"a\xd83d\xde00"
       u"b",
       u"0", u"[a|b|]"},
      {"s", u"[\xd83d\xde00x]",
       u"a\xd83d\xde00"
       u"bxc",
       u"0", u"[a|b|c|]"},
      {"s", u".", u"a\xd83d\xde00", u"-1", u"[|||]"},
      {"s", u"\\b", u"hi there", u"0", u"[hi| |there|]"},
      {"s", u"(?m)^",
       u"a\x000a"
       u"b\x000a",
       u"0", u"[a\x000a|b\x000a|]"},
      {"s", u"\\R",
       u"a\x000d\x000a"
       u"b\x000a"
       u"c\x2028"
       u"d",
       u"0", u"[a|b|c|d|]"},
      {"s", u"\\p{L}+",
       u"12ab34\x03a3\x03c3"
       u"5",
       u"0", u"[12|34|5|]"},
      {"s", u"(?i)B", u"abAB", u"0", u"[a|A|]"},
      {"s", u"$",
       u"a\x000a"
       u"b\x000a",
       u"-1",
       u"[a\x000a"
       u"b|\x000a||]"},
      {"ra", u"a", u"banana", u"o", u"bonono"},
      {"ra", u"a(n)?", u"banana", u"<$1>", u"b<n><n><>"},
      {"ra", u"(?<x>an)", u"banana", u"[${x}]", u"b[an][an]a"},
      {"ra", u"\\d+", u"a1b22c333", u"#", u"a#b#c#"},
      {"ra", u"", u"ab", u"-", u"-a-b-"},
      {"ra", u"x*", u"ab", u"-", u"-a-b-"},
      {"ra", u"(a)(b)?", u"ab a", u"$2$1", u"ba a"},
      {"ra", u"a", u"aaa", u"\\$", u"$$$"},
      {"ra", u"b*", u"abc", u"X", u"XaXXcX"},
      {"ra", u"(?s).",
       u"a\x000a"
       u"b",
       u".", u"..."},
      {"ra", u".",
       u"a\x000d\x000a"
       u"b\x0085"
       u"c",
       u".", u".\x000d\x000a.\x0085."},
      {"ra", u"$", u"a\x000a", u"E",
       u"aE\x000a"
       u"E"},
      {"ra", u"\\Z", u"a\x000d\x000a", u"E",
       u"aE\x000d\x000a"
       u"E"},
      {"ra", u"\\z", u"a\x000a", u"E",
       u"a\x000a"
       u"E"},
      {"ra",
       u"(?i)stra\x00df"
       u"e",
       u"STRASSE Stra\x00df"
       u"e",
       u"x", u"STRASSE x"},
      {"ra", u"(?iu)\x03c3", u"\x03a3\x03c3\x03c2", u"s", u"sss"},
      {"ra", u"(?i)\x03c3", u"\x03a3\x03c3\x03c2", u"s", u"\x03a3s\x03c2"},
      {"ra", u"[a-z&&[^aeiou]]", u"hello world", u"*", u"*e**o *o***"},
      {"ra", u"[\\w&&\\D]+", u"ab12cd", u"#", u"#12#"},
      {"ra", u"\\Q.*\\E", u"a.*b", u"", u"ab"},
      {"ra", u"(\\w)(\\w*)", u"hello big world", u"$2$1ay", u"ellohay igbay orldway"},
      {"ra", u"(a)|b", u"ab", u"[$1]", u"[a][]"},
      {"ra", u"\\u00e9|\\x{1F600}", u"\x00e9\xd83d\xde00", u"!", u"!!"},
      {"ra", u"a{2,3}?", u"aaaaa", u"X", u"XXa"},
      {"ra", u"a*+a", u"aaa", u"X", u"aaa"},
      {"ra", u"(?x) a  b # c", u"ab a b", u"X", u"X a b"},
      {"ra", u"[^a]",
       u"a\xd83d\xde00"
       u"b",
       u".", u"a.."},
      {"ra", u"\\w+", u"na\x00efve caf\x00e9", u"W", u"W\x00efW W\x00e9"},
      {"ra", u"\\b\\w", u"one two", u"^", u"^ne ^wo"},
      {"rf", u"a", u"banana", u"o", u"bonana"},
      {"rf", u"(n)(a)", u"banana", u"$2$1", u"baanna"},
      {"rf", u"z", u"abc", u"$9", u"abc"},
      {"m", u"a.c",
       u"a\x000a"
       u"c",
       u"", u"false"},
      {"m", u"(?s)a.c",
       u"a\x000a"
       u"c",
       u"", u"true"},
      {"m", u"a.c",
       u"a\x2028"
       u"c",
       u"", u"false"},
      {"m", u"(?d)a.c",
       u"a\x000d"
       u"c",
       u"", u"true"},
      {"m", u"\\d{3}-\\d{4}", u"555-1234", u"", u"true"},
      {"m", u"[[:alpha:]]+", u":alpha", u"", u"true"},
      {"m", u"(?i)\x01c5", u"\x01c6", u"", u"false"},
      {"m", u"(?iu)\x01c5", u"\x01c6", u"", u"true"},
      {"m", u"(?i)K", u"\x212a", u"", u"false"},
      {"m", u"(?iu)K", u"\x212a", u"", u"true"},
      {"m", u"\\p{IsGreek}+", u"\x03b1\x03b2\x03b3", u"", u"true"},
      {"m", u"\\p{Lower}+", u"abc", u"", u"true"},
      {"m", u"\\p{Lower}+",
       u"\x00e1"
       u"bc",
       u"", u"false"},
      {"m", u"(?i)\\p{Lower}+", u"ABC", u"", u"true"},
      {"m", u"\\w+", u"\x00ff", u"", u"false"},
      {"m", u"[^\\w]", u"\x00ff", u"", u"true"},
      {"m", u"a|ab", u"ab", u"", u"true"},
      {"m", u"(a|ab)(c|bcd)", u"abcd", u"", u"true"},
      {"m", u"\\h+", u" \x00a0\x3000", u"", u"true"},
      {"m", u"\\v", u"\x2029", u"", u"true"},
      {"m", u"\\X", u"e\x0301", u"", u"true"},
      {"m", u"[a-c[x-z]]+", u"abxz", u"", u"true"},
      {"m", u"[^a-c[x-z]]", u"d", u"", u"true"},
      {"m", u"[a&&b]", u"a", u"", u"false"},
      {"m", u"\\0101\\x41\\u0041\\cA", u"AAA\x0001", u"", u"true"},
      {"m", u"(?<n>a)\\k<n>", u"aa", u"", u"true"},
      {"m", u"(a)\\1", u"aa", u"", u"true"},
      {"m", u"(a)\\2", u"aa", u"", u"false"},
      {"m", u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)\\10", u"abcdefghijj", u"", u"true"},
      {"m", u"(a)\\10", u"aa0", u"", u"true"},
      {"m", u"\\Qa\\E+", u"aa", u"", u"true"},
      {"m", u"x{2}{3}", u"xx", u"", u"true"},
      {"m", u"*a", u"a", u"", u"IAE Dangling meta character '*' near index 0\x000a*a\x000a^"},
      {"m", u"a{", u"a", u"",
       u"IAE Illegal repetition near index 2\x000a"
       u"a{"},
      {"m", u"a{2,1}", u"a", u"",
       u"IAE Illegal repetition range near index 5\x000a"
       u"a{2,1}\x000a     ^"},
      {"m", u"(a", u"a", u"", u"IAE Unclosed group near index 2\x000a(a"},
      {"m", u"[a", u"a", u"", u"IAE Unclosed character class near index 1\x000a[a\x000a ^"},
      {"m", u"a)", u"a", u"",
       u"IAE Unmatched closing ')' near index 0\x000a"
       u"a)\x000a^"},
      {"m", u"\\", u"a", u"", u"IAE Unexpected internal error near index 1\x000a\\"},
      {"m", u"(?<1a>x)", u"a", u"",
       u"IAE capturing group name does not start with a Latin letter near index "
       u"3\x000a(?<1a>x)\x000a   ^"},
      {"m", u"\\p{Foo}", u"a", u"",
       u"IAE Unknown character property name {Foo} near index 6\x000a\\p{Foo}\x000a      ^"},
      {"m", u"\\i", u"a", u"",
       u"IAE Illegal/unsupported escape sequence near index 1\x000a\\i\x000a ^"},
      {"m", u"[b-a]", u"a", u"", u"IAE Illegal character range near index 3\x000a[b-a]\x000a   ^"},
      {"m", u"(?<n>a)(?<n>b)", u"a", u"",
       u"IAE Named capturing group <n> is already defined near index 11\x000a(?<n>a)(?<n>b)\x000a  "
       u"         ^"},
      {"m", u"\\k<x>", u"a", u"",
       u"IAE named capturing group <x> does not exist near index 4\x000a\\k<x>\x000a    ^"},
      {"m", u"(?z)", u"a", u"", u"IAE Unknown inline modifier near index 2\x000a(?z)\x000a  ^"},
      {"m", u"\\xg", u"a", u"",
       u"IAE Illegal hexadecimal escape sequence near index 2\x000a\\xg\x000a  ^"},
      {"m", u"\\u12", u"a", u"", u"IAE Illegal Unicode escape sequence near index 4\x000a\\u12"},
      {"m", u"\\0", u"a", u"", u"IAE Illegal octal escape sequence near index 2\x000a\\0"},
      {"m", u"(?", u"a", u"", u"IAE Unknown inline modifier near index 2\x000a(?"},
      {"m", u"[a-\\d]", u"a", u"",
       u"IAE Illegal character range near index 4\x000a[a-\\d]\x000a    ^"},
      {"ra", u"(?<n>a)", u"abc", u"$2", u"IndexOutOfBoundsException No group 2"},
      {"ra", u"(?<n>a)", u"abc", u"${n}", u"abc"},
      {"ra", u"(?<n>a)", u"abc", u"${x}", u"IAE No group with name {x}"},
      {"ra", u"(?<n>a)", u"abc", u"\\", u"IAE character to be escaped is missing"},
      {"ra", u"(?<n>a)", u"abc", u"$", u"IAE Illegal group reference: group index is missing"},
      {"ra", u"(?<n>a)", u"abc", u"$a", u"IAE Illegal group reference"},
      {"ra", u"(?<n>a)", u"abc", u"${1}",
       u"IAE capturing group name {1} starts with digit character"},
      {"ra", u"(?<n>a)", u"abc", u"${}", u"IAE named capturing group has 0 length name"},
      {"ra", u"(?<n>a)", u"abc", u"${n", u"IAE named capturing group is missing trailing '}'"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::PrintToString(std::u16string(row.regex)) + " " + row.op + " " +
                 ::testing::PrintToString(std::u16string(row.input)));
    EXPECT_EQ(row.expected, Outcome(row.op, row.regex, row.input, row.arg));
    // The same through a compiled pattern.
    if (std::string(row.op) == "ra" && std::u16string(row.expected).rfind(u"I", 0) != 0) {
      EXPECT_EQ(row.expected, Text(ZqPattern::compile(row.regex).replaceAll(row.input, row.arg)));
    }
  }
}

TEST(RegexTest, CompiledPatternsFindGroupsAndQuote) {
  const ZqPattern date = ZqPattern::compile(u"(?<y>\\d{4})-(\\d\\d)(x)?");
  EXPECT_EQ(3, date.groupCount());
  EXPECT_EQ(1, date.groupIndex(u"y"));
  EXPECT_EQ(-1, date.groupIndex(u"z"));
  EXPECT_EQ(u"(?<y>\\d{4})-(\\d\\d)(x)?", Text(date.pattern()));
  ZqMatch m;
  ASSERT_TRUE(date.find(u"on 2026-12, 2027-01", 4, m));  // from inside the first
  EXPECT_EQ((std::vector<int>{12, 19, 12, 16, 17, 19, -1, -1}),
            (std::vector<int>{m.start(), m.end(), m.start(1), m.end(1), m.start(2), m.end(2),
                              m.start(3), m.end(3)}));
  EXPECT_EQ(u"IndexOutOfBoundsException: No group 4", Failure([&] { (void)m.start(4); }));
  EXPECT_FALSE(date.find(u"2026-12", 7, m));
  EXPECT_EQ(0, m.groupCount());
  EXPECT_EQ(u"IndexOutOfBoundsException: Illegal start index",
            Failure([&] { date.find(u"ab", 3, m); }));

  const CZqString tricky(u"a\\Eb$1.*");
  EXPECT_TRUE(ZqPattern::compile(ZqPattern::quote(tricky)).matches(tricky));
  EXPECT_EQ(Text(tricky),
            Text(ZqPattern::compile(u"x").replaceAll(u"x", ZqPattern::quoteReplacement(tricky))));
  EXPECT_TRUE(
      ZqPattern::compile(u"A.B", ZqPattern::LITERAL | ZqPattern::CASE_INSENSITIVE).matches(u"a.b"));
  EXPECT_TRUE(ZqPattern::compile(u" \u00e9 # comment", ZqPattern::COMMENTS |
                                                           ZqPattern::CASE_INSENSITIVE |
                                                           ZqPattern::UNICODE_CASE)
                  .matches(u"\u00c9"));
  EXPECT_EQ(u"IllegalArgumentException: Unknown flag 0x100",
            Failure([] { (void)ZqPattern::compile(u"a", 0x100); }));
}

TEST(RegexTest, RefusesWhatCannotMeanWhatItMeansInJava) {
  for (const char16_t* regex :
       {u"(?U)\\w", u"(?c)a", u"\\Ga", u"\\b{g}", u"\\N{LATIN SMALL LETTER A}", u"\\p{InGreek}",
        u"\\p{javaMirrored}", u"(?i)(a)\\1", u"\\uD800", u"(?<=a+)b"}) {
    SCOPED_TRACE(::testing::PrintToString(std::u16string(regex)));
    EXPECT_EQ(u"IllegalArgumentException",
              Failure([&] { (void)ZqPattern::compile(regex); }).substr(0, 24));
  }
  EXPECT_TRUE(ZqPattern::compile(u"(?iu)(a)\\1").matches(u"aA"));
}

TEST(RegexTest, SubjectsWithSurrogatesAndSharedResults) {
  // A lone surrogate is matched by nothing, not even the dot; a pair is one
  // character to the dot, to classes and to an empty match.
  EXPECT_EQ(u"x\xD800x", Text(CZqString(u"a\xD800"
                                        u"b")
                                  .replaceAll(u".", u"x")));
  EXPECT_EQ(u"x", Text(CZqString(u"\xD83D\xDE00").replaceAll(u"[^a]", u"x")));
  EXPECT_EQ(u"-\xD83D\xDE00-", Text(CZqString(u"\xD83D\xDE00").replaceAll(u"", u"-")));
  const CZqString s(u"a,b");
  EXPECT_TRUE(SameBody(s, s.replaceAll(u";", u"-")));  // nothing matched: this string
  EXPECT_TRUE(SameBody(s, s.split(u";")[0]));
  EXPECT_TRUE(SameBody(s, s.replaceAll(u";+", u"$")));  // a bad replacement waits for a match
}

TEST(RegexTest, EveryAllocationFailureIsClean) {
  const CZqString text(u"alpha, beta,gamma , delta");
  const ZqPattern comma = ZqPattern::compile(u"\\s*,\\s*");
  ZqMatch m;
  // Without the JIT (under valgrind) the engine's interpreter takes one
  // block for its frames in each search.
  const int frames = detail::testing::RegexJitInUse() ? 0 : 1;
  const struct {
    const char* what;
    int points;
    std::function<void()> op;
    bool std;
  } rows[] = {
      {"compile", 1, [] { (void)ZqPattern::compile(u"(\\w+)@(?<host>[a-z.]+)"); }, true},
      {"matches, cached", 2 + frames, [&] { (void)text.matches(u"a.*a"); }, false},
      {"split, cached", 6 + frames, [&] { (void)text.split(u"\\s*,\\s*"); }, false},
      {"split, text", 5, [&] { (void)text.split(u","); }, false},
      {"replaceAll, cached", 4 + frames, [&] { (void)text.replaceAll(u"(\\w+)", u"<$1>"); }, false},
      {"replaceFirst, compiled", 2 + frames, [&] { (void)comma.replaceFirst(text, u";"); }, false},
      {"find", 1 + frames, [&] { comma.find(text, 0, m); }, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    row.op();  // the cache holds the regex before the sweep counts blocks
    EXPECT_EQ(row.points, SweepAllocationFailures(row.op));
    if (row.std) {
      EXPECT_GT(SweepAllocationFailures([&] {
                  const RouteStdAllocations route;
                  row.op();
                }),
                row.points);
    }
  }
  detail::testing::ClearPatternCache();
}

}  // namespace
}  // namespace zqlang
