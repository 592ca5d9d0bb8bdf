//===- fuzz/CZqStringBuilderFuzz.cpp - builder and strings against a model ===//
//
// Decodes the input into a sequence of named builder and string operations
// and runs each on the library and on a small model written on
// std::u16string. The model tracks what the library promises: the text, the
// builder's exact capacity (growth to the need plus 16, 20 units reserved for
// numbers, copies that keep the capacity, trimToSize lowering it in a shared
// body) and the class and message of every exception. A difference aborts
// with the operation, the arguments it decoded and both results.
//===----------------------------------------------------------------------===//
#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include "FuzzModel.h"
#include "ZarqLang.h"

using namespace zqlang;

namespace {

using zqfuzz::Num;
using zqfuzz::Show;
using zqfuzz::U;
using zqfuzz::Widen;

// Keeps texts small, so that a run stays fast.
constexpr int kMaxLength = 3000;

// A number's text as the library writes it in the classic locale.
template <class T>
U Format(T v) {
  if constexpr (std::is_floating_point<T>::value) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 6);
    return Widen(buf, r.ptr);
  } else {
    return Num(v);
  }
}

//===-- Exceptions as the model expects them, rendered as the library does ===//

using Outcome = std::optional<U>;  // empty: no exception
std::string Show(const Outcome& o) { return o ? Show(*o) : "no exception"; }

U IndexError(long long index) { return u"CZqString index out of bounds: " + Num(index); }
U StringError(const U& message) {
  return u"com.zarq.lang.StringIndexOutOfBoundsException:\n" + message + u"\n";
}
U BoundsError(const U& message) {
  return u"com.zarq.lang.IndexOutOfBoundsException:\n" + (message.empty() ? U() : message + u"\n");
}

// A range of a text of n units reported by a bare index: a negative start,
// then a reversed range (end - start wrapping in 32 bits) and an end past n,
// in the order given.
Outcome RangeError(int start, int end, int n, bool reversedFirst) {
  const int reversed = static_cast<int>(static_cast<unsigned>(end) - static_cast<unsigned>(start));
  if (start < 0)
    return IndexError(start);
  if (reversedFirst && start > end)
    return IndexError(reversed);
  if (end > n)
    return IndexError(end);
  if (start > end)
    return IndexError(reversed);
  return std::nullopt;
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
  const U past = head + u": end (" + Num(end) + u") is greater than length (" + Num(n) + u")";
  if (start < 0)
    return StringError(head + u": Negative start: " + Num(start));
  if (negativeEnd && end < 0)
    return StringError(head + u": Negative end: " + Num(end));
  if (!negativeEnd && end > n)
    return StringError(past);
  if (start > end)
    return StringError(head + u": start (" + Num(start) + u") is greater than end (" + Num(end) +
                       u")");
  return end > n ? Outcome(StringError(past)) : std::nullopt;
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

//===-- The model -----------------------------------------------------------===//

struct ModelBody {
  U text;
  int capacity;
};

struct ModelBuilder {
  std::shared_ptr<ModelBody> body = std::make_shared<ModelBody>(ModelBody{U(), 16});
  bool shared = false;

  int Length() const { return static_cast<int>(body->text.size()); }
  U& Units() { return body->text; }
  void UnShare() {
    if (shared) {
      body = std::make_shared<ModelBody>(*body);
      shared = false;
    }
  }
  void MakeRoom(int count) {
    if (count > body->capacity - Length())
      body->capacity = Length() + count + 16;
  }
  void Append(const U& units, int room) {
    UnShare();
    MakeRoom(room);
    body->text += units;
  }
  // Checks the index after ending the sharing, as every insert does.
  Outcome Insert(int index, const U& units) {
    UnShare();
    if (index < 0 || index > Length())
      return StringError(u"Index: " + Num(index) + u", Length: " + Num(Length()));
    MakeRoom(static_cast<int>(units.size()));
    body->text.insert(static_cast<std::size_t>(index), units);
    return std::nullopt;
  }
};

U Trim(const U& s) {
  std::size_t f = 0;
  while (f < s.size() && std::iswspace(s[f]))
    ++f;
  std::size_t l = s.size();
  while (l > f && std::iswspace(s[l - 1]))
    --l;
  return s.substr(f, l - f);
}
// Reversed units, with each high-low surrogate pair put back in its order.
U Reverse(U s) {
  std::reverse(s.begin(), s.end());
  for (std::size_t i = 0; i + 1 < s.size(); ++i) {
    if (s[i] >= 0xDC00 && s[i] <= 0xDFFF && s[i + 1] >= 0xD800 && s[i + 1] <= 0xDBFF) {
      std::swap(s[i], s[i + 1]);
      ++i;
    }
  }
  return s;
}
U Part(const U& s, int start, int end) {
  return s.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
}
void Erase(U& s, int start, int end) {
  s.erase(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
}

//===-- Input decoding ----------------------------------------------------===//

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : mData(data), mSize(size) {}
  bool Empty() const { return mPos >= mSize; }
  std::uint8_t Byte() { return mPos < mSize ? mData[mPos++] : 0; }
  bool Bit() { return (Byte() & 1) != 0; }
  char16_t Unit() {
    static const char16_t kUnits[] = {u'a', u'b', u'c', u'A',   u'Z',   u' ',  u'\t', u'0',
                                      u'9', 0xE9, 0xC9, 0xD800, 0xDC00, 0x3A3, 0,     u'\n'};
    const std::uint8_t b = Byte();
    if (b < 224)
      return kUnits[b % 16];
    return static_cast<char16_t>(Byte() << 8 | Byte());
  }
  U Units(int max = 12) {
    const int n = Byte() % (max + 1);
    U out;
    for (int i = 0; i < n; ++i)
      out += Unit();
    return out;
  }
  // An index near a text of length n, with the odd extreme value.
  int Index(int n) {
    const std::uint8_t b = Byte();
    if (b >= 252)
      return b == 255 ? INT_MIN : b == 254 ? INT_MAX : b == 253 ? -1000 : n + 1000;
    return b % (n + 4) - 2;
  }
  template <class T>
  T Value() {
    long long bits = 0;
    for (int i = 0; i < 8; ++i)
      bits = bits << 8 | Byte();
    if constexpr (std::is_floating_point<T>::value) {
      static_assert(sizeof(T) == sizeof bits, "64-bit double");
      T d;
      std::memcpy(&d, &bits, sizeof d);
      return d;
    } else {
      return static_cast<T>(bits);
    }
  }

 private:
  const std::uint8_t* mData;
  std::size_t mSize;
  std::size_t mPos = 0;
};

//===-- One step: an operation on a builder and a string ------------------===//

constexpr int kBuilders = 2;
constexpr int kStrings = 3;

struct State {
  CZqStringBuilder builders[kBuilders];
  ModelBuilder models[kBuilders];
  CZqString strings[kStrings];
  U texts[kStrings];
};

struct Step {
  Step(const char* name, State& st, Input& in, int bi, int si)
      : name(name), st(st), in(in), bi(bi), si(si) {}
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
  std::string args;

  // Records an argument decoded from the input, for the report.
  template <class T>
  T Arg(const char* what, T v) {
    args += std::string(args.empty() ? "" : ", ") + what + "=" + Show(v);
    return v;
  }
  template <class T>
  void Same(const char* what, const T& got, const T& want) const {
    if (got == want)
      return;
    std::fprintf(stderr, "mismatch in %s: %s(%s) on builder %d and string %d\n", what, name,
                 args.c_str(), bi, si);
    std::fprintf(stderr, "  library: %s\n  model:   %s\n", Show(got).c_str(), Show(want).c_str());
    std::abort();
  }
  // Runs op against the model's exception; true when none was due.
  template <class F>
  bool Throws(F op, const Outcome& want) const {
    Same("exception", Run(op), want);
    return !want;
  }
  int Index(const char* what, int n) { return Arg(what, in.Index(n)); }
  // The sequence an operation reads: the string, this builder or the other.
  const CharSequence& Seq(int which) const {
    return which == 0 ? static_cast<const CharSequence&>(s)
                      : st.builders[(bi + which - 1) % kBuilders];
  }
  U SeqText(int which) const {
    return which == 0 ? t : st.models[(bi + which - 1) % kBuilders].body->text;
  }
};

void Verify(const Step& c) {
  for (int i = 0; i < kBuilders; ++i) {
    c.Same("builder text", Text(c.st.builders[i]), c.st.models[i].body->text);
    c.Same("builder length", c.st.builders[i].length(), c.st.models[i].Length());
    c.Same("builder capacity", c.st.builders[i].capacity(), c.st.models[i].body->capacity);
  }
  for (int i = 0; i < kStrings; ++i) {
    c.Same("string text", Text(c.st.strings[i]), c.st.texts[i]);
    c.Same("string length", c.st.strings[i].length(), static_cast<int>(c.st.texts[i].size()));
  }
}

//===-- Values that append and insert take --------------------------------===//

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

template <class T>
Value Of(T v, const U& text, int room = -1) {
  return {text, room < 0 ? static_cast<int>(text.size()) : room,
          [v](CZqStringBuilder& b) { b.append(v); },
          [v](CZqStringBuilder& b, int index) { b.insert(index, v); }};
}

// A value append and insert read by reference: the string or a builder.
template <class T>
Value OfRef(const T& v, const U& text) {
  const T* const p = &v;
  return {text, static_cast<int>(text.size()), [p](CZqStringBuilder& b) { b.append(*p); },
          [p](CZqStringBuilder& b, int index) { b.insert(index, *p); }};
}

template <class T>
Value Number(Step& c) {
  const T v = c.Arg("v", c.in.Value<T>());
  return Of(v, Format(v), 20);
}

const struct {
  const char* name;
  Value (*decode)(Step&);
} kValues[] = {
    {"bool",
     [](Step& c) {
       const bool v = c.Arg("v", c.in.Bit());
       return Of(v, v ? u"true" : u"false");
     }},
    {"char16_t",
     [](Step& c) {
       const char16_t v = c.Arg("v", c.in.Unit());
       return Of(v, U(1, v));
     }},
    {"text",  // read up to its first zero
     [](Step& c) {
       const auto units = std::make_shared<const U>(c.Arg("units", c.in.Units()));
       const U read = units->substr(0, units->find(u'\0'));
       return Value{read, static_cast<int>(read.size()),
                    [units](CZqStringBuilder& b) { b.append(units->c_str()); },
                    [units](CZqStringBuilder& b, int index) { b.insert(index, units->c_str()); }};
     }},
    {"CZqString", [](Step& c) { return OfRef(c.s, c.t); }},
    {"CharSequence",
     [](Step& c) {
       const int which = c.Arg("which", c.in.Byte() % 3);
       return OfRef(c.Seq(which), c.SeqText(which));
     }},
    {"units, begin, count",
     [](Step& c) {
       const auto units = std::make_shared<const U>(c.Arg("units", c.in.Units()));
       const int n = static_cast<int>(units->size());
       const int begin = c.Arg("begin", n == 0 ? 0 : c.in.Byte() % n);
       const int count =
           c.Arg("count", c.in.Byte() == 0 ? INT_MIN : c.in.Byte() % (n - begin + 2) - 1);
       const Outcome error = count < 0 ? Outcome(IndexError(count)) : std::nullopt;
       const U text = error ? U() : Part(*units, begin, begin + count);
       return Value{text,
                    static_cast<int>(text.size()),
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
       const U text = error ? U() : Part(units, start, end);
       return Value{text,
                    static_cast<int>(text.size()),
                    [=](CZqStringBuilder& b) { b.append(*seq, start, end); },
                    [=](CZqStringBuilder& b, int i) { b.insert(i, *seq, start, end); },
                    error,
                    SourceError(u"insert", start, end, n, true)};
     }},
    {"int", Number<int>},
    {"long", Number<long>},
    {"long long", Number<long long>},
    {"double", Number<double>},
};

Value DecodeValue(Step& c) {
  const auto& kind = kValues[c.in.Byte() % std::size(kValues)];
  c.Arg("value", U(kind.name, kind.name + std::strlen(kind.name)));
  return kind.decode(c);
}

//===-- The operations ------------------------------------------------------===//

// A string operation whose result replaces the string, with its model.
template <class Op, class Model>
void Derive(Step& c, Op op, Model model) {
  c.s = op(c.s);
  c.t = model(c.t);
}

const struct {
  const char* name;
  bool grows;  // skipped once the builder is long
  void (*run)(Step&);
} kOperations[] = {
    {"append(value)", true,
     [](Step& c) {
       const Value v = DecodeValue(c);
       if (c.Throws([&] { v.append(c.b); }, v.appendError))
         c.m.Append(v.text, v.room);
     }},
    {"insert(index, value)", true,
     [](Step& c) {
       const int index = c.Index("index", c.len);
       const Value v = DecodeValue(c);
       c.Throws([&] { v.insert(c.b, index); },
                v.insertError ? v.insertError : c.m.Insert(index, v.text));
     }},
    {"replace(start, end, CZqString)", true,
     [](Step& c) {
       const int start = c.Index("start", c.len);
       const int end = c.Index("end", c.len);
       const U copy = c.t;
       c.m.UnShare();
       const Outcome want = EditError(u"Replace", start, end, c.len);
       if (!want) {
         Erase(c.m.Units(), start, std::min(end, c.len));
         c.m.Insert(start, copy);
       }
       c.Throws([&] { c.b.replace(start, end, c.s); }, want);
     }},
    {"deleteRange", false,
     [](Step& c) {
       const int start = c.Index("start", c.len);
       const int end = c.Index("end", c.len);
       c.m.UnShare();
       const Outcome want = EditError(u"DeleteRange", start, end, c.len);
       if (!want)
         Erase(c.m.Units(), start, std::min(end, c.len));
       c.Throws([&] { c.b.deleteRange(start, end); }, want);
     }},
    {"deleteCharAt", false,
     [](Step& c) {
       const int index = c.Index("index", c.len);
       c.m.UnShare();
       Outcome want;
       if (index < 0)
         want = StringError(u"DeleteCharAt: Negative start index: " + Num(index));
       else if (index >= c.len)
         want = StringError(u"DeleteRange: Index (" + Num(index) +
                            u") is greater than or equal to length (" + Num(c.len) + u")");
       else
         Erase(c.m.Units(), index, index + 1);
       c.Throws([&] { c.b.deleteCharAt(index); }, want);
     }},
    {"reverse", false,
     [](Step& c) {
       c.b.reverse();
       c.m.UnShare();
       c.m.Units() = Reverse(c.m.Units());
     }},
    {"setCharAt", false,
     [](Step& c) {
       const int index = c.Index("index", c.len);
       const char16_t v = c.Arg("v", c.in.Unit());
       c.m.UnShare();
       Outcome want;
       if (index < 0)
         want = BoundsError(u"SetCharAt: Negative index");
       else if (index >= c.len)
         want = BoundsError(u"SetCharAt: Index >= length");
       else
         c.m.Units()[static_cast<std::size_t>(index)] = v;
       c.Throws([&] { c.b.setCharAt(index, v); }, want);
     }},
    {"setLength", false,
     [](Step& c) {
       int n = c.in.Byte() == 0 ? -1 - c.in.Byte() : c.in.Index(c.len + 40);
       n = c.Arg("length", n > c.len + 40 ? c.len + 1 : n);  // no huge arrays
       c.m.UnShare();
       if (c.Throws([&] { c.b.setLength(n); },
                    n < 0 ? Outcome(BoundsError(u"SetLength: Negative length")) : std::nullopt)) {
         c.m.body->capacity = std::max(c.m.body->capacity, n);
         c.m.Units().resize(static_cast<std::size_t>(n), u'\0');
       }
     }},
    {"ensureCapacity", false,
     [](Step& c) {
       int minimum = c.in.Index(c.len + 60);
       minimum = c.Arg("minimum", minimum > c.len + 60 ? -minimum : minimum);  // no huge arrays
       c.b.ensureCapacity(minimum);
       c.m.UnShare();
       c.m.body->capacity = std::max(c.m.body->capacity, minimum);
     }},
    {"trimToSize", false,
     [](Step& c) {
       c.b.trimToSize();
       c.m.body->capacity = c.len;  // in the body, seen by every builder sharing it
     }},
    {"toString", false,
     [](Step& c) {
       c.s = c.b.toString();
       c.t = c.m.body->text;
       c.m.shared = true;
     }},
    {"builder substring", false,
     [](Step& c) {
       const int start = c.Index("start", c.len);
       const bool whole = c.Arg("whole", c.in.Bit());
       const int end = whole ? c.len : c.Index("end", c.len);
       CZqString got;
       if (c.Throws([&] { got = whole ? c.b.substring(start) : c.b.substring(start, end); },
                    SourceError(u"substring", start, end, c.len, false))) {
         c.s = got;
         c.t = Part(c.m.body->text, start, end);
       }
     }},
    {"builder subSequence", false,
     [](Step& c) {
       const int start = c.Index("start", c.len);
       const int end = c.Index("end", c.len);
       CharSequence* got = nullptr;
       if (c.Throws([&] { got = c.b.subSequence(start, end); },
                    RangeError(start, end, c.len, true))) {
         U units;
         for (int i = 0; i < got->length(); ++i)
           units += got->charAt(i);
         got->Release();
         c.Same("subSequence", units, Part(c.m.body->text, start, end));
       }
     }},
    {"charAt", false,
     [](Step& c) {
       const int index = c.Index("index", c.len);
       char16_t got = 0;
       if (c.Throws([&] { got = c.b.charAt(index); },
                    index >= 0 && index < c.len ? std::nullopt : Outcome(BoundsError(U()))))
         c.Same("charAt", U(1, got), Part(c.m.body->text, index, index + 1));
     }},
    {"getChars", false,
     [](Step& c) {
       const int n = c.Index("n", c.len);
       if (n < 0 || n > c.len)
         return;
       U units(static_cast<std::size_t>(n), u'\0');
       if (n > 0)
         c.b.getChars(0, n, &units[0], 0);
       c.Same("getChars", units, Part(c.m.body->text, 0, n));
     }},
    {"assign to the other builder", false,
     [](Step& c) {
       // A copy of its own, with the same capacity; the source is unchanged.
       const int other = (c.bi + 1) % kBuilders;
       c.st.builders[other] = c.b;
       c.st.models[other] = ModelBuilder{std::make_shared<ModelBody>(*c.m.body), false};
     }},
    {"CZqStringBuilder(capacity)", false,
     [](Step& c) {
       const int capacity = c.Arg("capacity", c.in.Byte() % 40 - 1);
       if (c.Throws([&] { c.b = CZqStringBuilder(capacity); },
                    capacity < 0 ? Outcome(U(u"com.zarq.lang.NegativeArraySizeException:\n"))
                                 : std::nullopt)) {
         c.m.body = std::make_shared<ModelBody>(ModelBody{U(), capacity});
         c.m.shared = false;
       }
     }},
    {"CZqString(u16string_view)", false,
     [](Step& c) {
       c.t = c.Arg("units", c.in.Units());
       c.s = CZqString(std::u16string_view(c.t));
     }},
    {"string substring", false,
     [](Step& c) {
       const int n = static_cast<int>(c.t.size());
       const int start = c.Index("start", n);
       const bool whole = c.Arg("whole", c.in.Bit());
       const int end = whole ? n : c.Index("end", n);
       CZqString got;
       if (c.Throws([&] { got = whole ? c.s.substring(start) : c.s.substring(start, end); },
                    whole && start > n ? Outcome(IndexError(start))
                                       : RangeError(start, end, n, false))) {
         c.st.strings[(c.si + 1) % kStrings] = got;
         c.st.texts[(c.si + 1) % kStrings] = Part(c.t, start, end);
       }
     }},
    {"trim", false,
     [](Step& c) {
       Derive(
           c, [](const CZqString& s) { return s.trim(); }, Trim);
     }},
    {"replace(unit, unit)", false,
     [](Step& c) {
       const char16_t from = c.Arg("from", c.in.Unit());
       const char16_t to = c.Arg("to", c.in.Unit());
       Derive(
           c, [&](const CZqString& s) { return s.replace(from, to); },
           [&](U t) {
             std::replace(t.begin(), t.end(), from, to);
             return t;
           });
     }},
    {"concat", false,
     [](Step& c) {
       const int other = c.Arg("other", c.in.Byte() % kStrings);
       if (c.t.size() + c.st.texts[other].size() > kMaxLength)
         return;
       const U joined = c.t + c.st.texts[other];
       c.s = c.s.concat(c.st.strings[other]);
       c.t = joined;
     }},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  State st;
  for (int steps = 0; steps < 200 && !in.Empty(); ++steps) {
    const auto& op = kOperations[in.Byte() % std::size(kOperations)];
    const int bi = in.Byte() % kBuilders;
    Step step(op.name, st, in, bi, in.Byte() % kStrings);
    if (op.grows && step.len > kMaxLength)
      continue;  // no further growth: keep runs fast
    op.run(step);
    Verify(step);
  }
  return 0;
}
