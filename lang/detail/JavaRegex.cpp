//===- lang/detail/JavaRegex.cpp - Java's pattern syntax in PCRE2's -------===//
#include "lang/detail/JavaRegex.h"

#include <string>

#include "lang/detail/Surrogates.h"
#include "lang/detail/Throw.h"

namespace zqlang {
namespace detail {

namespace {

constexpr int kEnd = -1;

bool IsAsciiDigit(int c) { return c >= '0' && c <= '9'; }
bool IsAsciiLetter(int c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsOctal(int c) { return c >= '0' && c <= '7'; }
int HexValue(int c) {
  if (IsAsciiDigit(c))
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}
// Java's white space of COMMENTS mode.
bool IsCommentSpace(int c) { return c == ' ' || (c >= 0x09 && c <= 0x0D); }

void AppendHex(std::u16string& out, char32_t c) {
  out += u"\\x{";
  char16_t digits[8];
  int n = 0;
  do {
    const int d = static_cast<int>(c & 0xF);
    digits[n++] = static_cast<char16_t>(d < 10 ? u'0' + d : u'a' + d - 10);
    c >>= 4;
  } while (c != 0);
  while (n > 0)
    out += digits[--n];
  out += u'}';
}

// A character class while it is built: a union of plain items, which PCRE2
// writes as one bracket expression, or, once nested negations or
// intersections make that impossible, a PCRE2 expression that matches one
// character.
struct ClassExpr {
  bool flat = true;
  bool negated = false;  // of a flat class
  std::u16string text;   // flat: the items between the brackets; else the expression

  bool Empty() const { return flat && !negated && text.empty(); }

  std::u16string Matcher() const {
    if (!flat)
      return text;
    if (text.empty())
      return negated ? u"(?s:.)" : u"(?!)";
    return (negated ? u"[^" : u"[") + text + u"]";
  }
  void Union(const ClassExpr& other) {
    if (other.Empty())
      return;
    if (Empty()) {
      *this = other;
    } else if (flat && !negated && other.flat && !other.negated) {
      text += other.text;
    } else {
      text = u"(?:" + Matcher() + u"|" + other.Matcher() + u")";
      flat = false;
    }
  }
  void Intersect(const ClassExpr& other) {
    text = u"(?:(?=" + Matcher() + u")" + other.Matcher() + u")";
    flat = false;
  }
  void Negate() {
    if (flat) {
      negated = !negated;
    } else {
      text = u"(?:(?!" + text + u")(?s:.))";
    }
  }
};

class Translator {
 public:
  Translator(std::u16string_view pattern, int flags, int totalGroups)
      : mP(pattern), mFlags(flags), mTotalGroups(totalGroups) {}

  JavaRegex Run() {
    if (mFlags & kRegexLiteral) {
      SetFlags(mFlags);
      mOut.isLiteral = !(mFlags & kRegexCaseInsensitive) && !mP.empty();
      while (mPos < mP.size()) {
        const int at = static_cast<int>(mPos);
        const char32_t c = ReadCodePoint();
        mOut.literal += mP.substr(at, mPos - at);
        EmitLiteral(c, at);
      }
      return std::move(mOut);
    }
    SetFlags(mFlags);
    const bool caseless = Has(kRegexCaseInsensitive);
    ParseAlternation();
    if (mPos < mP.size()) {
      // Only a ')' stops the top level early.
      Fail(u"Unmatched closing ')'", static_cast<int>(mPos) - 1);
    }
    mOut.groupCount = mGroupsOpened;
    mOut.isLiteral = mPlain && !caseless && !mOut.literal.empty();
    return std::move(mOut);
  }

 private:
  std::u16string_view mP;
  std::size_t mPos = 0;
  int mFlags;
  int mTotalGroups;
  int mGroupsOpened = 0;
  bool mPcreCaseless = false;
  bool mPlain = true;  // no construct but literal characters so far
  JavaRegex mOut;

  [[noreturn]] void Fail(std::u16string_view description, int index) {
    ThrowPatternSyntax(description, index, mP);
  }
  [[noreturn]] void Fail(std::u16string_view description) {
    Fail(description, static_cast<int>(mPos));
  }

  // --- reading -------------------------------------------------------------

  int Raw(std::size_t at) const { return at < mP.size() ? mP[at] : kEnd; }
  // Reads one unit; past the end it still moves on, so that an error there
  // is reported one past the last unit, as Java does.
  int RawNext() { return mPos < mP.size() ? mP[mPos++] : (++mPos, kEnd); }

  bool Has(int flag) const { return (mFlags & flag) != 0; }
  bool IsLineTerminator(int c) const {
    if (Has(kRegexUnixLines))
      return c == '\n';
    return c == '\n' || c == '\r' || c == 0x85 || c == 0x2028 || c == 0x2029;
  }

  // The next unit, past white space and comments in COMMENTS mode.
  int Peek() {
    if (Has(kRegexComments)) {
      for (;;) {
        const int c = Raw(mPos);
        if (IsCommentSpace(c)) {
          ++mPos;
        } else if (c == '#') {
          while (mPos < mP.size() && !IsLineTerminator(mP[mPos]))
            ++mPos;
        } else {
          break;
        }
      }
    }
    return Raw(mPos);
  }

  // The code point at the read position (a pair is one); a lone surrogate
  // cannot be matched by the engine and is refused.
  char32_t ReadCodePoint() {
    const int at = static_cast<int>(mPos);
    const char16_t c = mP[mPos++];
    if (IsHighSurrogate(c) && mPos < mP.size() && IsLowSurrogate(mP[mPos]))
      return PairToCodePoint(c, mP[mPos++]);
    if (IsSurrogate(c))
      Fail(u"Lone surrogate characters cannot be matched", at);
    return c;
  }

  // --- writing -------------------------------------------------------------

  void Emit(std::u16string_view text, int origin) {
    mOut.pcre += text;
    mOut.origin.insert(mOut.origin.end(), text.size(), origin);
  }

  void SetFlags(int flags) {
    mFlags = flags;
    const bool caseless = Has(kRegexCaseInsensitive) && Has(kRegexUnicodeCase);
    if (caseless != mPcreCaseless) {
      Emit(caseless ? u"(?i)" : u"(?-i)", static_cast<int>(mPos));
      mPcreCaseless = caseless;
    }
  }
  bool AsciiCaseless() const { return Has(kRegexCaseInsensitive) && !Has(kRegexUnicodeCase); }

  void EmitLiteral(char32_t c, int origin) {
    std::u16string text;
    if (c < 0x80 && IsAsciiLetter(static_cast<int>(c)) && AsciiCaseless()) {
      text = u"[";
      text += static_cast<char16_t>(c);
      text += static_cast<char16_t>(c ^ 0x20);
      text += u"]";
    } else if (c < 0x80 &&
               (IsAsciiLetter(static_cast<int>(c)) || IsAsciiDigit(static_cast<int>(c)))) {
      text = static_cast<char16_t>(c);
    } else {
      AppendHex(text, c);
    }
    Emit(text, origin);
  }

  // --- structure -----------------------------------------------------------

  void ParseAlternation() {
    ParseSequence();
    while (Peek() == '|') {
      Emit(u"|", static_cast<int>(mPos));
      ++mPos;
      mPlain = false;
      ParseSequence();
    }
  }

  void ParseSequence() {
    for (;;) {
      const int c = Peek();
      const int at = static_cast<int>(mPos);
      bool atom = true;
      switch (c) {
        case kEnd:
        case '|':
        case ')':
          return;
        case '(':
          mPlain = false;
          atom = ParseGroup();
          break;
        case '[':
          mPlain = false;
          ++mPos;
          Emit(ParseClass(true).Matcher(), at);
          break;
        case '\\':
          atom = ParseEscape();
          break;
        case '^':
          mPlain = false;
          ++mPos;
          EmitCaret(at);
          break;
        case '$':
          mPlain = false;
          ++mPos;
          EmitDollar(Has(kRegexMultiline), at);
          break;
        case '.':
          mPlain = false;
          ++mPos;
          EmitDot(at);
          break;
        case '*':
        case '+':
        case '?': {
          std::u16string text = u"Dangling meta character '";
          text += static_cast<char16_t>(c);
          text += u"'";
          Fail(text, at);
        }
        case '{':
          // A counted repetition of nothing, which Java accepts and which
          // matches the empty text; anything else is refused.
          mPlain = false;
          ParseQuantifier(false);
          atom = false;
          break;
        default: {
          const char32_t cp = ReadCodePoint();
          if (mPlain && !AsciiCaseless())
            mOut.literal += mP.substr(at, mPos - at);
          EmitLiteral(cp, at);
          break;
        }
      }
      if (atom)
        ParseQuantifier(true);
    }
  }

  void ParseQuantifier(bool emit) {
    const int c = Peek();
    const int at = static_cast<int>(mPos);
    std::u16string text;
    if (c == '?' || c == '*' || c == '+') {
      ++mPos;
      text = static_cast<char16_t>(c);
    } else if (c == '{') {
      ++mPos;
      if (!IsAsciiDigit(Raw(mPos)))
        Fail(u"Illegal repetition", at + 1);
      text = u"{";
      long long low = 0;
      while (IsAsciiDigit(Raw(mPos))) {
        low = low * 10 + (mP[mPos] - '0');
        if (low > 0x7FFFFFFF)
          Fail(u"Illegal repetition range");
        text += mP[mPos++];
      }
      long long high = low;
      if (Raw(mPos) == ',') {
        text += mP[mPos++];
        high = -1;
        if (IsAsciiDigit(Raw(mPos))) {
          high = 0;
          while (IsAsciiDigit(Raw(mPos))) {
            high = high * 10 + (mP[mPos] - '0');
            if (high > 0x7FFFFFFF)
              Fail(u"Illegal repetition range");
            text += mP[mPos++];
          }
        }
      }
      if (Raw(mPos) != '}')
        Fail(u"Unclosed counted closure", static_cast<int>(mPos));
      if (high != -1 && high < low)
        Fail(u"Illegal repetition range", static_cast<int>(mPos));
      text += mP[mPos++];
    } else {
      return;
    }
    mPlain = false;
    const int mode = Peek();
    if (mode == '?' || mode == '+') {
      text += static_cast<char16_t>(mode);
      ++mPos;
    }
    if (emit)
      Emit(text, at);
  }

  // A group, or inline flags; returns whether it can take a quantifier.
  bool ParseGroup() {
    const int open = static_cast<int>(mPos);
    ++mPos;
    const int savedFlags = mFlags;
    const bool savedCaseless = mPcreCaseless;
    if (Raw(mPos) == '?') {
      ++mPos;
      const int kind = RawNext();
      switch (kind) {
        case ':':
          Emit(u"(?:", open);
          break;
        case '=':
          Emit(u"(?=", open);
          break;
        case '!':
          Emit(u"(?!", open);
          break;
        case '>':
          Emit(u"(?>", open);
          break;
        case '<': {
          const int next = RawNext();
          if (next == '=') {
            Emit(u"(?<=", open);
          } else if (next == '!') {
            Emit(u"(?<!", open);
          } else {
            --mPos;
            const std::u16string name = ParseGroupName();
            for (const auto& known : mOut.names) {
              if (known.first == name)
                Fail(u"Named capturing group <" + name + u"> is already defined",
                     static_cast<int>(mPos) - 1);
            }
            mOut.names.emplace_back(name, ++mGroupsOpened);
            Emit(u"(?<" + name + u">", open);
          }
          break;
        }
        case '$':
        case '@':
          Fail(u"Unknown group type", static_cast<int>(mPos) - 1);
        default: {
          --mPos;
          const int flags = ParseFlags(mFlags);
          const int end = RawNext();
          if (end == ')') {
            SetFlags(flags);  // in force to the end of the enclosing group
            return false;
          }
          if (end != ':')
            Fail(u"Unknown inline modifier", static_cast<int>(mPos) - 1);
          Emit(u"(?:", open);
          SetFlags(flags);
          break;
        }
      }
    } else {
      ++mGroupsOpened;
      Emit(u"(", open);
    }
    ParseAlternation();
    if (Peek() != ')')
      Fail(u"Unclosed group", static_cast<int>(mP.size()));
    Emit(u")", static_cast<int>(mPos));
    ++mPos;
    mFlags = savedFlags;
    mPcreCaseless = savedCaseless;  // PCRE2 ends the group's options too
    return true;
  }

  std::u16string ParseGroupName() {
    std::u16string name;
    if (!IsAsciiLetter(Raw(mPos)))
      Fail(u"capturing group name does not start with a Latin letter");
    while (IsAsciiLetter(Raw(mPos)) || IsAsciiDigit(Raw(mPos)))
      name += mP[mPos++];
    if (Raw(mPos) != '>')
      Fail(u"named capturing group is missing trailing '>'");
    ++mPos;
    return name;
  }

  int ParseFlags(int flags) {
    bool on = true;
    for (;;) {
      const int c = Raw(mPos);
      int bit = 0;
      switch (c) {
        case 'i':
          bit = kRegexCaseInsensitive;
          break;
        case 'd':
          bit = kRegexUnixLines;
          break;
        case 'm':
          bit = kRegexMultiline;
          break;
        case 's':
          bit = kRegexDotAll;
          break;
        case 'u':
          bit = kRegexUnicodeCase;
          break;
        case 'x':
          bit = kRegexComments;
          break;
        case 'c':
        case 'U':
          Fail(c == 'c' ? u"Canonical equivalence (?c) is not supported"
                        : u"Unicode character classes (?U) are not supported");
        case '-':
          if (!on)
            Fail(u"Unknown inline modifier");
          on = false;
          ++mPos;
          continue;
        default:
          return flags;
      }
      flags = on ? (flags | bit) : (flags & ~bit);
      ++mPos;
    }
  }

  // --- assertions and the dot ----------------------------------------------

  std::u16string Terminators() const {
    return Has(kRegexUnixLines) ? u"\\n" : u"\\n\\r\\x{85}\\x{2028}\\x{2029}";
  }

  void EmitDot(int at) {
    if (Has(kRegexDotAll))
      Emit(u"(?s:.)", at);
    else
      Emit(u"[^" + Terminators() + u"]", at);
  }

  void EmitCaret(int at) {
    if (!Has(kRegexMultiline)) {
      Emit(u"\\A", at);
    } else if (Has(kRegexUnixLines)) {
      // After a \n or at the start, never at the end of the input.
      Emit(u"(?:(?<![^\\n])(?!\\z))", at);
    } else {
      // At the start or after a line terminator, not inside a \r\n pair,
      // never at the end of the input.
      Emit(u"(?:(?<![^" + Terminators() + u"])(?!(?<=\\r)\\n)(?!\\z))", at);
    }
  }

  void EmitDollar(bool multiline, int at) {
    if (Has(kRegexUnixLines)) {
      Emit(multiline ? u"(?=\\n|\\z)" : u"(?=\\n?\\z)", at);
    } else if (multiline) {
      Emit(u"(?:(?=[" + Terminators() + u"]|\\z)(?!(?<=\\r)\\n))", at);
    } else {
      Emit(u"(?:(?=(?:\\r\\n|[" + Terminators() + u"])?\\z)(?!(?<=\\r)\\n))", at);
    }
  }

  // --- escapes ---------------------------------------------------------------

  // An escape outside a class; returns whether it can take a quantifier.
  bool ParseEscape() {
    const int at = static_cast<int>(mPos);
    ++mPos;
    const int c = RawNext();
    if (c == kEnd)
      Fail(u"Unexpected internal error", static_cast<int>(mP.size()));
    if (c != 'Q' && !(c < 0x80 && !IsAsciiLetter(c) && !IsAsciiDigit(c)))
      mPlain = false;
    switch (c) {
      case 'b':
      case 'B': {
        if (Raw(mPos) == '{')
          Fail(u"Boundary \\b{g} is not supported");
        // Java's word characters for \b: letters, decimal digits, the
        // underscore, and the marks that follow them.
        const std::u16string w = u"[\\p{L}\\p{Nd}\\p{Mn}_]";
        if (c == 'b')
          Emit(u"(?:(?<=" + w + u")(?!" + w + u")|(?<!" + w + u")(?=" + w + u"))", at);
        else
          Emit(u"(?:(?<=" + w + u")(?=" + w + u")|(?<!" + w + u")(?!" + w + u"))", at);
        return true;
      }
      case 'A':
        Emit(u"\\A", at);
        return true;
      case 'z':
        Emit(u"\\z", at);
        return true;
      case 'Z':
        EmitDollar(false, at);
        return true;
      case 'G':
        Fail(u"The end of the previous match \\G is not supported", at + 1);
      case 'R':
        Emit(u"(?:\\r\\n|[\\n\\x{0b}\\f\\r\\x{85}\\x{2028}\\x{2029}])", at);
        return true;
      case 'X':
        Emit(u"\\X", at);
        return true;
      case 'k': {
        if (RawNext() != '<')
          Fail(u"\\k is not followed by '<' for named capturing group", static_cast<int>(mPos) - 1);
        const std::u16string name = ParseGroupName();
        bool known = false;
        for (const auto& group : mOut.names)
          known = known || group.first == name;
        if (!known)
          Fail(u"named capturing group <" + name + u"> does not exist", static_cast<int>(mPos) - 1);
        if (AsciiCaseless())
          Fail(u"Back references under CASE_INSENSITIVE need UNICODE_CASE", at);
        Emit(u"\\k<" + name + u">", at);
        return true;
      }
      case 'Q': {
        for (;;) {
          if (mPos >= mP.size())
            break;
          if (mP[mPos] == '\\' && Raw(mPos + 1) == 'E') {
            mPos += 2;
            break;
          }
          const int from = static_cast<int>(mPos);
          const char32_t cp = ReadCodePoint();
          if (mPlain && !AsciiCaseless())
            mOut.literal += mP.substr(from, mPos - from);
          EmitLiteral(cp, from);
          // Each quoted character is an atom of its own: a quantifier after
          // \E applies to the last one.
        }
        return true;
      }
      default:
        break;
    }
    if (c >= '1' && c <= '9') {
      int group = c - '0';
      while (IsAsciiDigit(Raw(mPos))) {
        const int wider = group * 10 + (mP[mPos] - '0');
        if (wider > mGroupsOpened)
          break;
        group = wider;
        ++mPos;
      }
      if (AsciiCaseless())
        Fail(u"Back references under CASE_INSENSITIVE need UNICODE_CASE", at);
      if (group > mTotalGroups) {
        Emit(u"(?!)", at);  // a group that does not exist never matched
      } else {
        std::u16string text = u"(?:\\g{";
        for (char16_t d : std::to_string(group))
          text += d;
        Emit(text + u"})", at);
      }
      return true;
    }
    --mPos;
    ClassExpr item;
    const char32_t cp = ParseClassEscape(item, at);
    if (cp == kNoChar) {
      Emit(item.Matcher(), at);
    } else {
      if (mPlain && !AsciiCaseless())
        AppendCodePoint(mOut.literal, cp);
      EmitLiteral(cp, at);
    }
    return true;
  }

  static constexpr char32_t kNoChar = 0xFFFFFFFF;

  static void AppendCodePoint(std::u16string& out, char32_t cp) {
    char16_t units[2];
    out.append(units, static_cast<std::size_t>(EncodeUtf16(static_cast<int>(cp), units)));
  }

  // The escape at the read position (just after the backslash), as the
  // character it stands for, or kNoChar with \p item set to the class it
  // stands for (\d, \p{L}, ...). Used inside and outside classes.
  char32_t ParseClassEscape(ClassExpr& item, int at) {
    const int c = RawNext();
    switch (c) {
      case 't':
        return 0x09;
      case 'n':
        return 0x0A;
      case 'r':
        return 0x0D;
      case 'f':
        return 0x0C;
      case 'a':
        return 0x07;
      case 'e':
        return 0x1B;
      case 'c': {
        const int control = RawNext();
        if (control == kEnd)
          Fail(u"Illegal control escape sequence");
        return static_cast<char32_t>(control ^ 64);
      }
      case '0':
        return ParseOctal();
      case 'x':
        return ParseHex();
      case 'u':
        return ParseUnicode();
      case 'd':
      case 'D':
      case 's':
      case 'S':
      case 'w':
      case 'W':
      case 'h':
      case 'H':
      case 'v':
      case 'V':
        item.text = u"\\";
        item.text += static_cast<char16_t>(c);
        mPlain = false;
        return kNoChar;
      case 'p':
      case 'P':
        mPlain = false;
        item = ParseProperty(c == 'P');
        return kNoChar;
      case 'N':
        Fail(u"Named characters \\N{...} are not supported", at + 1);
      default:
        break;
    }
    if (c == kEnd)
      Fail(u"Unexpected internal error", static_cast<int>(mP.size()));
    if (IsAsciiLetter(c) || IsAsciiDigit(c))
      Fail(u"Illegal/unsupported escape sequence", static_cast<int>(mPos) - 1);
    --mPos;
    return ReadCodePoint();
  }

  char32_t ParseOctal() {
    const int n = RawNext();
    if (!IsOctal(n))
      Fail(u"Illegal octal escape sequence", static_cast<int>(mPos) - 1);
    if (!IsOctal(Raw(mPos)))
      return static_cast<char32_t>(n - '0');
    const int m = RawNext();
    if (IsOctal(Raw(mPos)) && n <= '3')
      return static_cast<char32_t>((n - '0') * 64 + (m - '0') * 8 + (RawNext() - '0'));
    return static_cast<char32_t>((n - '0') * 8 + (m - '0'));
  }

  char32_t ParseHex() {
    const int first = HexValue(Raw(mPos));
    if (first >= 0) {
      const int second = HexValue(Raw(mPos + 1));
      if (second < 0)
        Fail(u"Illegal hexadecimal escape sequence", static_cast<int>(mPos) + 1);
      mPos += 2;
      return static_cast<char32_t>(first * 16 + second);
    }
    if (Raw(mPos) == '{') {
      ++mPos;
      long long value = 0;
      int digits = 0;
      while (HexValue(Raw(mPos)) >= 0) {
        value = value * 16 + HexValue(mP[mPos++]);
        ++digits;
        if (value > 0x10FFFF)
          Fail(u"Hexadecimal codepoint is too big");
      }
      if (digits == 0 || Raw(mPos) != '}')
        Fail(u"Unclosed hexadecimal escape sequence");
      ++mPos;
      if (value >= 0xD800 && value <= 0xDFFF)
        Fail(u"Lone surrogate characters cannot be matched");
      return static_cast<char32_t>(value);
    }
    Fail(u"Illegal hexadecimal escape sequence");
  }

  int FourHex() {
    int value = 0;
    for (int i = 0; i < 4; ++i) {
      const int d = HexValue(Raw(mPos));
      if (d < 0)
        Fail(u"Illegal Unicode escape sequence");
      value = value * 16 + d;
      ++mPos;
    }
    return value;
  }

  char32_t ParseUnicode() {
    const int at = static_cast<int>(mPos);
    const int value = FourHex();
    if (IsHighSurrogate(static_cast<char16_t>(value)) && Raw(mPos) == '\\' &&
        Raw(mPos + 1) == 'u') {
      const std::size_t back = mPos;
      mPos += 2;
      const int low = FourHex();
      if (IsLowSurrogate(static_cast<char16_t>(low)))
        return PairToCodePoint(static_cast<unsigned>(value), static_cast<unsigned>(low));
      mPos = back;
    }
    if (IsSurrogate(static_cast<char16_t>(value)))
      Fail(u"Lone surrogate characters cannot be matched", at);
    return static_cast<char32_t>(value);
  }

  // \p{name} or \pX, read past the letter p or P.
  ClassExpr ParseProperty(bool negated) {
    std::u16string name;
    if (Raw(mPos) == '{') {
      ++mPos;
      while (mPos < mP.size() && mP[mPos] != '}')
        name += mP[mPos++];
      if (mPos >= mP.size())
        Fail(u"Unclosed character family");
      if (name.empty())
        Fail(u"Empty character family");
    } else {
      if (mPos >= mP.size())
        Fail(u"Illegal character family");
      name = mP[mPos];
    }
    const int close = static_cast<int>(mPos);
    ++mPos;
    if (!name.empty() && name[0] == '^') {  // \p{^L} is \P{L}
      negated = !negated;
      name.erase(0, 1);
    }
    ClassExpr item;
    if (!PropertyItem(name, negated, item.text)) {
      if (item.text == u"!")
        Fail(u"Character property {" + name + u"} is not supported", close);
      Fail(u"Unknown character property name {" + name + u"}", close);
    }
    if (item.text == u"all") {
      item.text.clear();
      item.negated = !negated;
    }
    return item;
  }

  // The class item of a Java property name; false when there is none (text
  // "!" when Java knows the name but the engine cannot match it alike).
  bool PropertyItem(std::u16string name, bool negated, std::u16string& text) {
    const bool caseless = Has(kRegexCaseInsensitive);
    static const struct {
      const char16_t* java;
      const char16_t* posix;
    } kPosix[] = {{u"Lower", u"lower"}, {u"Upper", u"upper"}, {u"ASCII", u"ascii"},
                  {u"Alpha", u"alpha"}, {u"Digit", u"digit"}, {u"Alnum", u"alnum"},
                  {u"Punct", u"punct"}, {u"Graph", u"graph"}, {u"Print", u"print"},
                  {u"Blank", u"blank"}, {u"Cntrl", u"cntrl"}, {u"XDigit", u"xdigit"},
                  {u"Space", u"space"}};
    for (const auto& p : kPosix) {
      if (name == p.java) {
        std::u16string posix = p.posix;
        if (caseless && (posix == u"lower" || posix == u"upper"))
          posix = u"alpha";  // case-insensitive: either case
        text = (negated ? u"[:^" : u"[:") + posix + u":]";
        return true;
      }
    }
    if (name == u"all") {
      text = u"all";
      return true;
    }
    std::u16string pcre;
    if (name == u"L1") {
      text = negated ? u"\\x{100}-\\x{10ffff}" : u"\\x{0}-\\x{ff}";
      return true;
    }
    // Character's predicates that are Unicode properties; the others are
    // refused. Under CASE_INSENSITIVE Java widens the case ones.
    static const struct {
      const char16_t* java;
      const char16_t* pcre;
    } kJava[] = {{u"javaLowerCase", u"Lowercase"},
                 {u"javaUpperCase", u"Uppercase"},
                 {u"javaTitleCase", u"Lt"},
                 {u"javaAlphabetic", u"Alphabetic"},
                 {u"javaLetter", u"L"},
                 {u"javaDigit", u"Nd"},
                 {u"javaIdeographic", u"Ideographic"},
                 {u"javaSpaceChar", u"Z"},
                 {u"javaDefined", u"^Cn"}};
    for (const auto& j : kJava) {
      if (name == j.java) {
        pcre = j.pcre;
        if (pcre[0] == '^') {
          pcre.erase(0, 1);
          negated = !negated;
        }
        return PropertyText(pcre, negated, caseless, text);
      }
    }
    if (name.rfind(u"In", 0) == 0 || name.rfind(u"block=", 0) == 0 || name.rfind(u"blk=", 0) == 0 ||
        name.rfind(u"java", 0) == 0) {
      text = u"!";
      return false;
    }
    bool script = false;
    if (name.rfind(u"Is", 0) == 0) {
      name.erase(0, 2);
      if (!Category(name, caseless, pcre) && !BinaryProperty(name, pcre)) {
        script = true;
      }
    } else if (name.rfind(u"general_category=", 0) == 0 || name.rfind(u"gc=", 0) == 0) {
      name.erase(0, name.find(u'=') + 1);
      if (!Category(name, caseless, pcre))
        return false;
    } else if (name.rfind(u"script=", 0) == 0 || name.rfind(u"sc=", 0) == 0) {
      name.erase(0, name.find(u'=') + 1);
      script = true;
    } else if (!Category(name, caseless, pcre)) {
      return false;
    }
    if (script) {
      for (char16_t u : name) {
        if (!IsAsciiLetter(u) && u != '_' && u != ' ')
          return false;
      }
      if (name.empty())
        return false;
      pcre = u"sc:" + name;
    }
    return PropertyText(pcre, negated, caseless, text);
  }

  static bool PropertyText(const std::u16string& pcre, bool negated, bool caseless,
                           std::u16string& text) {
    if (caseless && (pcre == u"Lowercase" || pcre == u"Uppercase" || pcre == u"Lt")) {
      // Case-insensitive, Java takes a character of any case.
      if (negated) {
        text = u"!";
        return false;
      }
      text = u"\\p{Lowercase}\\p{Uppercase}\\p{Lt}";
      return true;
    }
    text = (negated ? u"\\P{" : u"\\p{") + pcre + u"}";
    return true;
  }

  // A general category as Java names it (exactly: "Lu", "L", "LC").
  static bool Category(const std::u16string& name, bool caseless, std::u16string& pcre) {
    static const char16_t* const kCategories[] = {
        u"C",  u"Cc", u"Cf", u"Cn", u"Co", u"Cs", u"L",  u"Ll", u"Lm", u"Lo", u"Lt", u"Lu", u"M",
        u"Mc", u"Me", u"Mn", u"N",  u"Nd", u"Nl", u"No", u"P",  u"Pc", u"Pd", u"Pe", u"Pf", u"Pi",
        u"Po", u"Ps", u"S",  u"Sc", u"Sk", u"Sm", u"So", u"Z",  u"Zl", u"Zp", u"Zs"};
    if (name == u"LC" || (caseless && (name == u"Lu" || name == u"Ll" || name == u"Lt"))) {
      pcre = u"L&";  // a cased letter; case-insensitive, any of the three
      return true;
    }
    if (name == u"LD") {
      pcre = u"Xan";  // a letter or a number
      return false;   // PCRE2's Xan takes every number, Java's LD decimal digits only
    }
    for (const char16_t* category : kCategories) {
      if (name == category) {
        pcre = name;
        return true;
      }
    }
    return false;
  }

  // The binary properties Java names after "Is", in any letter case, that
  // the engine has with the same definition.
  static bool BinaryProperty(const std::u16string& name, std::u16string& pcre) {
    std::u16string key;
    for (char16_t u : name) {
      if (u == '_' || u == ' ' || u == '-')
        continue;
      key += (u >= 'A' && u <= 'Z') ? static_cast<char16_t>(u + 32) : u;
    }
    static const struct {
      const char16_t* key;
      const char16_t* pcre;
    } kBinary[] = {
        {u"alphabetic", u"Alphabetic"},
        {u"letter", u"L"},
        {u"lowercase", u"Lowercase"},
        {u"uppercase", u"Uppercase"},
        {u"titlecase", u"Lt"},
        {u"punctuation", u"P"},
        {u"control", u"Cc"},
        {u"whitespace", u"White_Space"},
        {u"digit", u"Nd"},
        {u"ideographic", u"Ideographic"},
        {u"joincontrol", u"Join_Control"},
        {u"noncharactercodepoint", u"Noncharacter_Code_Point"},
    };
    for (const auto& b : kBinary) {
      if (key == b.key) {
        pcre = b.pcre;
        return true;
      }
    }
    return false;
  }

  // --- classes ---------------------------------------------------------------

  // A class, read just past its '['. With \p consume the closing ']' is
  // read too; without it (the right operand of &&) it is left.
  ClassExpr ParseClass(bool consume) {
    ClassExpr result;
    bool have = false;
    bool negate = false;
    if (consume && Raw(mPos) == '^') {
      ++mPos;
      negate = true;
    }
    for (;;) {
      const int c = Peek();
      if (c == kEnd)
        Fail(u"Unclosed character class", static_cast<int>(mP.size()) - 1);
      if (c == '[') {
        ++mPos;
        result.Union(ParseClass(true));
        have = true;
        continue;
      }
      if (c == '&' && Raw(mPos + 1) == '&') {
        mPos += 2;
        ClassExpr right;
        bool haveRight = false;
        for (;;) {
          const int r = Peek();
          if (r == ']' || r == '&' || r == kEnd)
            break;
          if (r == '[') {
            ++mPos;
            right.Union(ParseClass(true));
          } else {
            right.Union(ParseClass(false));
          }
          haveRight = true;
        }
        if (haveRight) {
          if (have)
            result.Intersect(right);
          else
            result = right;
          have = true;
        } else if (!have) {
          Fail(u"Bad class syntax");
        }
        continue;
      }
      if (c == ']' && (have || !consume)) {
        if (consume)
          ++mPos;
        if (negate)
          result.Negate();
        return result;
      }
      ParseRange(result);
      have = true;
    }
  }

  void AddRange(ClassExpr& into, char32_t low, char32_t high) {
    std::u16string text;
    AppendHex(text, low);
    if (high != low) {
      text += u'-';
      AppendHex(text, high);
    }
    if (AsciiCaseless()) {
      // Java's ASCII-only case folding: the other case of each ASCII letter
      // in the range.
      const char32_t spans[2][3] = {{'a', 'z', 'A'}, {'A', 'Z', 'a'}};
      for (const auto& span : spans) {
        const char32_t from = low > span[0] ? low : span[0];
        const char32_t to = high < span[1] ? high : span[1];
        if (from <= to) {
          AppendHex(text, from - span[0] + span[2]);
          text += u'-';
          AppendHex(text, to - span[0] + span[2]);
        }
      }
    }
    ClassExpr item;
    item.text = text;
    into.Union(item);
  }

  // One item of a class: a character, a range, or an escape's class.
  void ParseRange(ClassExpr& into) {
    const int at = static_cast<int>(mPos);
    char32_t low;
    if (Peek() == '\\') {
      ++mPos;
      if (Raw(mPos) == 'Q') {
        ++mPos;
        while (mPos < mP.size() && !(mP[mPos] == '\\' && Raw(mPos + 1) == 'E')) {
          const char32_t cp = ReadCodePoint();
          AddRange(into, cp, cp);
        }
        if (mPos < mP.size())
          mPos += 2;
        return;
      }
      const int next = Raw(mPos);
      if (next == 'b' || next == 'B' || next == 'A' || next == 'z' || next == 'Z' || next == 'G' ||
          next == 'R' || next == 'X' || next == 'k' || next == 'E' || (next >= '1' && next <= '9'))
        Fail(u"Illegal/unsupported escape sequence", static_cast<int>(mPos));
      ClassExpr item;
      low = ParseClassEscape(item, at);
      if (low == kNoChar) {
        into.Union(item);
        return;
      }
    } else {
      low = ReadCodePoint();
    }
    char32_t high = low;
    if (Peek() == '-') {
      const int after = Raw(mPos + 1);
      if (after != '[' && after != ']') {
        ++mPos;
        if (Peek() == '\\') {
          ++mPos;
          ClassExpr item;
          high = ParseClassEscape(item, static_cast<int>(mPos) - 1);
          if (high == kNoChar)
            Fail(u"Illegal character range", static_cast<int>(mPos) - 1);
        } else {
          if (Raw(mPos) == kEnd)
            Fail(u"Unclosed character class", static_cast<int>(mP.size()) - 1);
          high = ReadCodePoint();
        }
        if (high < low)
          Fail(u"Illegal character range", static_cast<int>(mPos) - 1);
      }
    }
    AddRange(into, low, high);
  }
};

// A first pass over the pattern that counts its capturing groups, so that a
// back reference to a group that never exists can be told from a forward
// one.
int CountGroups(std::u16string_view pattern, int flags) {
  if (flags & kRegexLiteral)
    return 0;
  int count = 0;
  bool inClass = false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char16_t c = pattern[i];
    if (c == '\\') {
      if (i + 1 < pattern.size() && pattern[i + 1] == 'Q') {
        const std::size_t end = pattern.find(u"\\E", i + 2);
        i = end == std::u16string_view::npos ? pattern.size() : end + 1;
      } else {
        ++i;
      }
    } else if (c == '[') {
      inClass = true;  // nested classes hold no groups either
    } else if (c == ']') {
      inClass = false;
    } else if (c == '(' && !inClass) {
      if (i + 1 < pattern.size() && pattern[i + 1] == '?') {
        if (i + 3 < pattern.size() && pattern[i + 2] == '<' && IsAsciiLetter(pattern[i + 3]))
          ++count;
      } else {
        ++count;
      }
    }
  }
  return count;
}

}  // namespace

void ThrowPatternSyntax(std::u16string_view description, int index, std::u16string_view pattern) {
  std::u16string message(description);
  if (index >= 0) {
    message += u" near index ";
    for (char16_t d : std::to_string(index))
      message += d;
  }
  message += u'\n';
  message += pattern;
  if (index >= 0 && static_cast<std::size_t>(index) < pattern.size()) {
    message += u'\n';
    message.append(static_cast<std::size_t>(index), u' ');
    message += u'^';
  }
  ThrowIllegalArgument(message);
}

JavaRegex TranslateJavaRegex(std::u16string_view pattern, int flags) {
  return Translator(pattern, flags, CountGroups(pattern, flags)).Run();
}

}  // namespace detail
}  // namespace zqlang
