//===- fuzz/CZqStringBuilderFuzz.cpp - builder and strings against a model ===//
//
// Decodes the input into named builder operations (and the strings they
// read and make) and string operations (strip and its kin, repeat, join), and
// runs each on the library and on a model written on std::u16string. The
// model tracks what the library promises: the texts, the builders' exact
// capacities (growth to the need plus 16, 20 units reserved for a number,
// copies that keep the capacity), every exception's text, and the body a
// stripped string shares when nothing was stripped.
//===----------------------------------------------------------------------===//
#include <algorithm>
#include <functional>
#include <iterator>
#include <memory>
#include <vector>

#include "FuzzModel.h"

namespace zqfuzz {
namespace {

constexpr int kMaxLength = 3000;  // keeps the texts small, so that a run stays fast

// The exceptions the model expects, rendered as the library renders them.
using Outcome = std::optional<U>;  // the text of the exception due; empty: none

U IndexError(long long index) { return u"CZqString index out of bounds: " + Num(index); }
U Thrown(const U& name, const U& message) {
  return u"com.zarq.lang." + name + u":\n" + (message.empty() ? U() : message + u"\n");
}
U StringError(const U& message) { return Thrown(u"StringIndexOutOfBoundsException", message); }
U BoundsError(const U& message) { return Thrown(u"IndexOutOfBoundsException", message); }

// A range of a text of n units reported by a bare index: a negative start,
// then a reversed range (end - start wrapping in 32 bits) and an end past n,
// in the order given.
Outcome RangeError(int start, int end, int n, bool reversedFirst) {
  const int reversed = static_cast<int>(static_cast<unsigned>(end) - static_cast<unsigned>(start));
  if (start < 0)
    return IndexError(start);
  if (start > end && (reversedFirst || end <= n))
    return IndexError(reversed);
  return end > n ? Outcome(IndexError(end)) : std::nullopt;
}

// The exception for an index outside [0, len), or none.
Outcome AtError(int index, int len, U (*thrown)(const U&), const U& negative, const U& past) {
  return index < 0 ? thrown(negative) : index >= len ? Outcome(thrown(past)) : std::nullopt;
}

// The checks of replace and deleteRange, with the member's name first.
Outcome EditError(const U& head, int start, int end, int len) {
  if (start < 0)
    return StringError(head + u": Negative start index: " + Num(start));
  if (start > len)
    return StringError(head + u": start index (" + Num(start) + u") is greater than length (" +
                       Num(len) + u")");
  if (start > end)
    return StringError(head + u": start index (" + Num(start) + u") is greater than end index (" +
                       Num(end) + u")");
  return std::nullopt;
}

// The checks of a source range of n units, with the member's name: insert
// refuses a negative end first, substring an end past n.
Outcome SourceError(const U& head, int start, int end, int n, bool negativeEnd) {
  if (start < 0)
    return StringError(head + u": Negative start: " + Num(start));
  if (negativeEnd && end < 0)
    return StringError(head + u": Negative end: " + Num(end));
  if (end > n && (!negativeEnd || start <= end))
    return StringError(head + u": end (" + Num(end) + u") is greater than length (" + Num(n) +
                       u")");
  if (start > end)
    return StringError(head + u": start (" + Num(start) + u") is greater than end (" + Num(end) +
                       u")");
  return std::nullopt;
}

U Text(const CZqString& s) { return U(s.view()); }

// The builder's text, read with getChars.
U Text(const CZqStringBuilder& b) {
  U out(static_cast<std::size_t>(b.length()), u'\0');
  if (!out.empty())
    b.getChars(0, b.length(), &out[0], 0);
  return out;
}

// Runs f on the library and renders what it threw.
template <class F>
Outcome Run(F f) {
  try {
    f();
  } catch (const StringIndexOutOfBoundsException& e) {
    return Text(e.toString());  // an index exception's own text
  } catch (const OutOfMemoryError&) {
    std::fprintf(stderr, "out of memory with small sizes\n");
    std::abort();
  } catch (const Throwable& e) {
    return Text(e.toString());
  }
  return std::nullopt;
}

// A builder's text and capacity. Copies of a shared body keep its capacity,
// so the model needs no sharing of its own.
struct ModelBuilder {
  U text;
  int capacity = 16;

  int Length() const { return static_cast<int>(text.size()); }
  void MakeRoom(int count) {
    if (count > capacity - Length())
      capacity = Length() + count + 16;
  }
  // Checks an insert's index; then makes room (the units' at least) and inserts.
  Outcome Insert(int index, const U& units, int room = 0) {
    if (index < 0 || index > Length())
      return StringError(u"Index: " + Num(index) + u", Length: " + Num(Length()));
    MakeRoom(std::max(room, static_cast<int>(units.size())));
    text.insert(static_cast<std::size_t>(index), units);
    return std::nullopt;
  }
};

// Reversed units, with each high-low surrogate pair put back in its order.
U Reverse(U s) {
  std::reverse(s.begin(), s.end());
  for (std::size_t i = 0; i + 1 < s.size(); ++i)
    if (s[i] >= 0xDC00 && s[i] <= 0xDFFF && s[i + 1] >= 0xD800 && s[i + 1] <= 0xDBFF)
      std::swap(s[i], s[i + 1]), ++i;
  return s;
}
U Part(const U& s, int start, int end) {
  return s.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
}

// Java's Character.isWhitespace, listed: U+0009-U+000D, U+001C-U+001F and
// the space, line and paragraph separators but the no-break ones (U+00A0,
// U+2007, U+202F). None lies outside the BMP and no surrogate is one, so a
// unit is tested alone.
bool IsSpace(char16_t u) {
  static const char16_t kSpaces[] = {0x09,   0x0A,   0x0B,   0x0C,   0x0D,   0x1C,   0x1D,
                                     0x1E,   0x1F,   0x20,   0x1680, 0x2000, 0x2001, 0x2002,
                                     0x2003, 0x2004, 0x2005, 0x2006, 0x2008, 0x2009, 0x200A,
                                     0x2028, 0x2029, 0x205F, 0x3000};
  return std::find(std::begin(kSpaces), std::end(kSpaces), u) != std::end(kSpaces);
}

// The input, read as the operations ask: past its end every byte is zero.
struct Input {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t pos = 0;

  bool Empty() const { return pos >= size; }
  std::uint8_t Byte() { return pos < size ? data[pos++] : 0; }
  bool Bit() { return (Byte() & 1) != 0; }
  char16_t Unit() {
    static const char16_t kUnits[] = {u'a', u'b', u'c', u'A',   u'Z',   u' ',  u'\t', u'0',
                                      u'9', 0xE9, 0xC9, 0xD800, 0xDC00, 0x3A3, 0,     u'\n'};
    const std::uint8_t b = Byte();
    return b < 224 ? kUnits[b % 16] : static_cast<char16_t>(Byte() << 8 | Byte());
  }
  U Units() {
    U out(Byte() % 13, u'\0');
    for (char16_t& unit : out)
      unit = Unit();
    return out;
  }
  // 0 to 3 units of white space, or of units next to it in the code chart.
  U Blanks() {
    static const char16_t kNear[] = {0x08,   0x09,   0x0B,   0x0D,   0x0E,   0x1B,   0x1C,   0x1F,
                                     0x20,   0x21,   0x85,   0xA0,   0x1680, 0x180E, 0x2000, 0x2006,
                                     0x2007, 0x2008, 0x200A, 0x200B, 0x2028, 0x2029, 0x202F, 0x205F,
                                     0x3000, 0x3001, 0xFEFF, 0xD800, 0xDC00, 0x0A,   u'x',   0};
    U out(Byte() % 4, u'\0');
    for (char16_t& unit : out)
      unit = kNear[Byte() % std::size(kNear)];
    return out;
  }
  // An index near a text of length n, with the odd extreme value.
  int Index(int n) {
    const std::uint8_t b = Byte();
    if (b >= 252)
      return b == 255 ? INT_MIN : b == 254 ? INT_MAX : b == 253 ? -1000 : n + 1000;
    return b % (n + 4) - 2;
  }
  // A value of T from eight bytes (the low ones for a narrower type).
  template <class T>
  T Value() {
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
      bits = bits << 8 | Byte();
    T v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }
};

constexpr int kBuilders = 2;
constexpr int kStrings = 3;

struct State {
  CZqStringBuilder builders[kBuilders];
  ModelBuilder models[kBuilders];
  CZqString strings[kStrings];
  U texts[kStrings];
};

// One step: an operation on a builder and a string, and its report.
struct Step {
  const char* name;
  State& st;
  Input& in;
  int bi;  // the builder b (model m) and the string s (model t) worked on
  int si;
  CZqStringBuilder& b = st.builders[bi];
  ModelBuilder& m = st.models[bi];
  CZqString& s = st.strings[si];
  U& t = st.texts[si];
  const int len = m.Length();
  std::string args = std::string();

  // Records an argument decoded from the input, for the report.
  template <class T>
  T Arg(const char* what, T v) {
    args += std::string(", ") + what + "=" + Show(v);
    return v;
  }
  int Index(const char* what, int n) { return Arg(what, in.Index(n)); }
  template <class T>
  void Same(const char* what, const T& got, const T& want) const {
    if (!(got == want))
      zqfuzz::Same(std::string(what) + " after " + name + "(builder=" + std::to_string(bi) +
                       ", string=" + std::to_string(si) + args + ")",
                   got, want);
  }
  // Runs op against the model's exception; true when none was due.
  template <class F>
  bool Throws(F op, const Outcome& want) const {
    Same("exception", Run(op), want);
    return !want;
  }
  // The sequence an operation reads: the string, this builder or the other.
  const CharSequence& Seq(int which) const {
    return which == 0 ? static_cast<const CharSequence&>(s)
                      : st.builders[(bi + which - 1) % kBuilders];
  }
  U SeqText(int which) const {
    return which == 0 ? t : st.models[(bi + which - 1) % kBuilders].text;
  }
};

// The texts (read over length() units) and the builders' capacities.
void Verify(const Step& c) {
  for (int i = 0; i < kBuilders; ++i) {
    c.Same("builder text", Text(c.st.builders[i]), c.st.models[i].text);
    c.Same("builder capacity", c.st.builders[i].capacity(), c.st.models[i].capacity);
  }
  for (int i = 0; i < kStrings; ++i)
    c.Same("string text", Text(c.st.strings[i]), c.st.texts[i]);
}

// A value decoded from the input: the model's text of it, the room append
// makes for it (20 units for a number), the library's calls and, for a range
// of units or of a sequence, what append and insert throw for that range.
struct Value {
  U text;
  int room;
  std::function<void(CZqStringBuilder&)> append;
  std::function<void(CZqStringBuilder&, int)> insert;
  Outcome appendError = std::nullopt;
  Outcome insertError = std::nullopt;
};

// The value *v: a string or sequence of the state, which outlives the step,
// or a value the functions own.
template <class T>
Value Of(T v, const U& text, int room = 0) {
  return {text, room, [v](CZqStringBuilder& b) { b.append(*v); },
          [v](CZqStringBuilder& b, int index) { b.insert(index, *v); }};
}
template <class T>
std::shared_ptr<const T> Own(T v) {
  return std::make_shared<const T>(v);
}

// A value of T read by read, with its text; a number gets 20 units of room.
U Format(bool v) { return v ? u"true" : u"false"; }
U Format(char16_t v) { return U(1, v); }
template <class T>
U Format(T v) {
  return Num(v);
}
template <class T, T (Input::*read)(), int room = 20>
Value Plain(Step& c) {
  const T v = c.Arg("v", (c.in.*read)());
  return Of(Own(v), Format(v), room);
}

const struct {
  const char* name;
  Value (*decode)(Step&);
} kValues[] = {
    {"bool", Plain<bool, &Input::Bit, 0>},
    {"char16_t", Plain<char16_t, &Input::Unit, 0>},
    {"text",  // read up to its first zero
     [](Step& c) {
       const auto units = Own(c.Arg("units", c.in.Units()));
       return Value{units->substr(0, units->find(u'\0')), 0,
                    [units](CZqStringBuilder& b) { b.append(units->c_str()); },
                    [units](CZqStringBuilder& b, int index) { b.insert(index, units->c_str()); }};
     }},
    {"CharSequence, or CZqString as which 3",
     [](Step& c) {
       const int which = c.Arg("which", c.in.Byte() % 4);
       return which == 3 ? Of(&c.s, c.t) : Of(&c.Seq(which), c.SeqText(which));
     }},
    {"units, begin, count",
     [](Step& c) {
       const auto units = Own(c.Arg("units", c.in.Units()));
       const int n = static_cast<int>(units->size());
       const int begin = c.Arg("begin", n == 0 ? 0 : c.in.Byte() % n);
       const int count =
           c.Arg("count", c.in.Byte() == 0 ? INT_MIN : c.in.Byte() % (n - begin + 2) - 1);
       const Outcome error = count < 0 ? Outcome(IndexError(count)) : std::nullopt;
       return Value{error ? U() : Part(*units, begin, begin + count),
                    0,
                    [=](CZqStringBuilder& b) { b.append(units->data(), begin, count); },
                    [=](CZqStringBuilder& b, int i) { b.insert(i, units->data(), begin, count); },
                    error,
                    error};
     }},
    {"CharSequence, start, end",  // insert refuses a negative end first
     [](Step& c) {
       const int which = c.Arg("which", c.in.Byte() % 3);
       const CharSequence* const seq = &c.Seq(which);
       const U units = c.SeqText(which);
       const int n = static_cast<int>(units.size());
       const int start = c.Index("start", n);
       const int end = c.Index("end", n);
       const Outcome error = RangeError(start, end, n, true);
       return Value{error ? U() : Part(units, start, end),
                    0,
                    [=](CZqStringBuilder& b) { b.append(*seq, start, end); },
                    [=](CZqStringBuilder& b, int i) { b.insert(i, *seq, start, end); },
                    error,
                    SourceError(u"insert", start, end, n, true)};
     }},
    {"int", Plain<int, &Input::Value<int>>},
    {"long", Plain<long, &Input::Value<long>>},
    {"long long", Plain<long long, &Input::Value<long long>>},
    {"double", Plain<double, &Input::Value<double>>},
};

Value DecodeValue(Step& c) {
  const auto& kind = kValues[c.in.Byte() % std::size(kValues)];
  c.args += std::string(", value ") + kind.name;
  return kind.decode(c);
}

// The operations, each on the library and on the model.
struct Operation {
  const char* name;
  bool grows;  // skipped once the builder is long
  void (*run)(Step&);
};

const Operation kOperations[] = {
    {"append(value)", true,
     [](Step& c) {
       const Value v = DecodeValue(c);
       if (c.Throws([&] { v.append(c.b); }, v.appendError))
         c.m.Insert(c.len, v.text, v.room);
     }},
    {"insert(index, value)", true,
     [](Step& c) {
       const int index = c.Index("index", c.len);
       const Value v = DecodeValue(c);
       c.Throws([&] { v.insert(c.b, index); },
                v.insertError ? v.insertError : c.m.Insert(index, v.text));
     }},
    {"replace(start, end, CZqString) or deleteRange(start, end)", false,
     [](Step& c) {
       const int start = c.Index("start", c.len);
       const int end = c.Index("end", c.len);
       const bool remove = c.Arg("deleteRange", c.in.Bit()) || c.len > kMaxLength;
       const U with = remove ? U() : c.t;
       const Outcome want = EditError(remove ? u"DeleteRange" : u"Replace", start, end, c.len);
       if (!want) {
         c.m.text.erase(static_cast<std::size_t>(start), std::min(end, c.len) - start);
         c.m.Insert(start, with);
       }
       c.Throws([&] { remove ? c.b.deleteRange(start, end) : c.b.replace(start, end, c.s); }, want);
     }},
    {"deleteCharAt", false,
     [](Step& c) {
       const int index = c.Index("index", c.len);
       if (c.Throws([&] { c.b.deleteCharAt(index); },
                    AtError(index, c.len, StringError,
                            u"DeleteCharAt: Negative start index: " + Num(index),
                            u"DeleteRange: Index (" + Num(index) +
                                u") is greater than or equal to length (" + Num(c.len) + u")")))
         c.m.text.erase(static_cast<std::size_t>(index), 1);
     }},
    {"setCharAt", false,
     [](Step& c) {
       const int index = c.Index("index", c.len);
       const char16_t v = c.Arg("v", c.in.Unit());
       if (c.Throws([&] { c.b.setCharAt(index, v); },
                    AtError(index, c.len, BoundsError, u"SetCharAt: Negative index",
                            u"SetCharAt: Index >= length")))
         c.m.text[static_cast<std::size_t>(index)] = v;
     }},
    {"reverse", false,
     [](Step& c) {
       c.b.reverse();
       c.m.text = Reverse(c.m.text);
     }},
    {"setLength", false,
     [](Step& c) {
       int n = c.in.Byte() == 0 ? -1 - c.in.Byte() : c.in.Index(c.len + 40);
       n = c.Arg("length", n > c.len + 40 ? c.len + 1 : n);  // no huge arrays
       if (c.Throws([&] { c.b.setLength(n); },
                    n < 0 ? Outcome(BoundsError(u"SetLength: Negative length")) : std::nullopt)) {
         c.m.capacity = std::max(c.m.capacity, n);
         c.m.text.resize(static_cast<std::size_t>(n), u'\0');
       }
     }},
    {"ensureCapacity", false,
     [](Step& c) {
       int minimum = c.in.Index(c.len + 60);
       minimum = c.Arg("minimum", minimum > c.len + 60 ? -minimum : minimum);  // no huge arrays
       c.b.ensureCapacity(minimum);
       c.m.capacity = std::max(c.m.capacity, minimum);
     }},
    {"trimToSize", false,
     [](Step& c) {
       c.b.trimToSize();
       c.m.capacity = c.len;
     }},
    {"toString", false,
     [](Step& c) {
       c.s = c.b.toString();
       c.t = c.m.text;
     }},
    {"assign to the other builder", false,
     [](Step& c) {
       // A copy of its own, with the same capacity; the source is unchanged.
       const int other = (c.bi + 1) % kBuilders;
       c.st.builders[other] = c.b;
       c.st.models[other] = c.m;
     }},
    {"CZqStringBuilder(capacity)", false,
     [](Step& c) {
       const int capacity = c.Arg("capacity", c.in.Byte() % 40 - 1);
       if (c.Throws(
               [&] { c.b = CZqStringBuilder(capacity); },
               capacity < 0 ? Outcome(Thrown(u"NegativeArraySizeException", U())) : std::nullopt))
         c.m = ModelBuilder{U(), capacity};
     }},
    {"CZqString(u16string_view)", false,
     [](Step& c) {
       c.t = c.Arg("units", c.in.Units());
       c.s = CZqString(std::u16string_view(c.t));
     }},
    {"substring of the builder or the string", false,
     [](Step& c) {
       const bool builder = c.Arg("of the builder", c.in.Bit());
       const U units = builder ? c.m.text : c.t;
       const int n = static_cast<int>(units.size());
       const int start = c.Index("start", n);
       const bool whole = c.Arg("whole", c.in.Bit());
       const int end = whole ? n : c.Index("end", n);
       const Outcome want = builder              ? SourceError(u"substring", start, end, n, false)
                            : whole && start > n ? Outcome(IndexError(start))
                                                 : RangeError(start, end, n, false);
       CZqString got;
       const auto op = [&](const auto& from) {
         got = whole ? from.substring(start) : from.substring(start, end);
       };
       if (c.Throws([&] { builder ? op(c.b) : op(c.s); }, want)) {
         c.st.strings[(c.si + 1) % kStrings] = got;
         c.st.texts[(c.si + 1) % kStrings] = Part(units, start, end);
       }
     }},
};

// A string made by a string operation replaces the next one of the state.
void Keep(Step& c, const CZqString& got, const U& want) {
  c.st.strings[(c.si + 1) % kStrings] = got;
  c.st.texts[(c.si + 1) % kStrings] = want;
}

// The members of Java's String that make a string of the string (or of
// several): strip, repeat, join.
const Operation kStringOperations[] = {
    {"strip, stripLeading, stripTrailing or isBlank", false,
     [](Step& c) {
       // The string between white space and units next to it, when some was read.
       const U before = c.Arg("before", c.in.Blanks());
       const U after = c.Arg("after", c.in.Blanks());
       if (!before.empty() || !after.empty()) {
         c.t = before + c.t + after;
         c.s = CZqString(c.t);
       }
       const int which = c.Arg("which", c.in.Byte() % 4);
       std::size_t first = 0;
       std::size_t end = c.t.size();
       while (which != 2 && first < end && IsSpace(c.t[first]))
         ++first;
       while (which != 1 && end > first && IsSpace(c.t[end - 1]))
         --end;
       if (which == 3) {
         c.Same("isBlank", c.s.isBlank(), first == end);
         return;
       }
       const CZqString got = which == 0   ? c.s.strip()
                             : which == 1 ? c.s.stripLeading()
                                          : c.s.stripTrailing();
       // A result with all the units shares the body.
       c.Same("shared body", got.Ptr() == c.s.Ptr(), end - first == c.t.size());
       Keep(c, got, c.t.substr(first, end - first));
     }},
    {"repeat", false,
     [](Step& c) {
       // Mostly -2 to 5; from 240, counts that make up to 6,000 units or so
       // of a short text. A text of more than 1,200 units (more than the
       // 1,024 that repeat copies at a time) is repeated at most once, so
       // that the state's strings stay short enough for fast runs.
       const std::uint8_t b = c.in.Byte();
       const int n = static_cast<int>(c.t.size());
       const int count = c.Arg("count", b == 255             ? INT_MIN
                                        : b == 254 && n == 0 ? INT_MAX
                                        : n > 1200           ? b % 4 - 2
                                        : b >= 240           ? (b - 239) * 400 / (n + 1)
                                                             : b % 8 - 2);
       CZqString got;
       if (c.Throws([&] { got = c.s.repeat(count); },
                    count < 0 ? Outcome(Thrown(u"IllegalArgumentException",
                                               u"count is negative: " + Num(count)))
                              : std::nullopt)) {
         U want;
         for (int i = 0; i < count && n > 0; ++i)
           want += c.t;
         Keep(c, got, want);
       }
     }},
    {"join", false,
     [](Step& c) {
       // Up to four parts, each a string of the state or units read, and a
       // delimiter, given as strings or as std::u16string. A long string is
       // not taken: joins of joins would grow without end.
       const U delimiter = c.Arg("delimiter", c.in.Units());
       std::vector<CZqString> strings;
       std::vector<U> texts;
       for (int parts = c.Arg("parts", c.in.Byte() % 5); parts > 0; --parts) {
         const int which = c.Arg("part", c.in.Byte() % 4);
         const bool own = which < kStrings && c.st.texts[which].size() <= kMaxLength;
         texts.push_back(own ? c.st.texts[which] : c.Arg("units", c.in.Units()));
         strings.push_back(own ? c.st.strings[which] : CZqString(texts.back()));
       }
       const bool asText = c.Arg("as std::u16string", c.in.Bit());
       U want;
       for (const U& text : texts)
         want += (&text == texts.data() ? U() : delimiter) + text;
       Keep(c,
            asText ? CZqString::join(delimiter, texts)
                   : CZqString::join(CZqString(delimiter), strings),
            want);
     }},
};

}  // namespace
}  // namespace zqfuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zqfuzz;
  Input in{data, size};
  State st;
  for (int steps = 0; steps < 200 && !in.Empty(); ++steps) {
    // The first byte of a step picks the operation, each about 15 of the
    // 256 values: kOperations below 15 times their number, then
    // kStringOperations.
    constexpr std::size_t kFirstStringByte = 15 * std::size(kOperations);
    static_assert(kFirstStringByte + 15 * std::size(kStringOperations) <= 256, "15 bytes each");
    const std::uint8_t pick = in.Byte();
    const Operation& op = pick < kFirstStringByte
                              ? kOperations[pick % std::size(kOperations)]
                              : kStringOperations[pick % std::size(kStringOperations)];
    const int bi = in.Byte() % kBuilders;
    Step step{op.name, st, in, bi, in.Byte() % kStrings};
    if (op.grows && step.len > kMaxLength)
      continue;  // no further growth: keep runs fast
    op.run(step);
    Verify(step);
  }
  return 0;
}
