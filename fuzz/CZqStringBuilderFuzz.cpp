//===- fuzz/CZqStringBuilderFuzz.cpp - builder and strings against a model ===//
//
// Decodes the input into a sequence of builder and string operations and
// runs each on the library and on a small model written on std::u16string.
// The model tracks what the library promises: the text, the builder's exact
// capacity (growth to the need plus 16, 20 units reserved for numbers,
// copies that keep the capacity, trimToSize lowering it in a shared body)
// and the class and message of every exception. Any difference aborts.
//===----------------------------------------------------------------------===//
#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <memory>
#include <optional>
#include <string>

#include "FuzzModel.h"
#include "ZarqLang.h"

using namespace zqlang;

namespace {

using zqfuzz::Num;
using zqfuzz::U;
using zqfuzz::Widen;

// Keeps texts small, so that a run stays fast.
constexpr int kMaxLength = 3000;

[[noreturn]] void Mismatch(const char* what, int op) {
  std::fprintf(stderr, "mismatch in %s (operation %d)\n", what, op);
  std::abort();
}

U Dbl(double v) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 6);
  return Widen(buf, r.ptr);
}

// Exceptions as the model expects them, in the form the library renders them.
U IndexError(long long index) { return u"CZqString index out of bounds: " + Num(index); }
U StringError(const U& message) {
  return u"com.zarq.lang.StringIndexOutOfBoundsException:\n" + message + u"\n";
}
U BoundsError(const U& message) {
  return u"com.zarq.lang.IndexOutOfBoundsException:\n" + (message.empty() ? U() : message + u"\n");
}

using Outcome = std::optional<U>;  // empty: no exception

U Text(const CZqString& s) { return U(s.view()); }

// end - start in 32 bits with wrap-around, as an int difference is reported.
int Wrapped(int end, int start) {
  return static_cast<int>(static_cast<unsigned>(end) - static_cast<unsigned>(start));
}

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
    return Text(e.toString());
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
  void Append(const U& units) {
    MakeRoom(static_cast<int>(units.size()));
    body->text += units;
  }
  void AppendNumber(const U& units) {
    MakeRoom(20);
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

U Lower(U s) {
  for (char16_t& u : s)
    u = static_cast<char16_t>(std::towlower(u));
  return s;
}
U Upper(U s) {
  for (char16_t& u : s)
    u = static_cast<char16_t>(std::towupper(u));
  return s;
}
U Trim(const U& s) {
  std::size_t f = 0;
  while (f < s.size() && std::iswspace(s[f]))
    ++f;
  std::size_t l = s.size();
  while (l > f && std::iswspace(s[l - 1]))
    --l;
  return s.substr(f, l - f);
}
U Reverse(const U& s) {
  const std::size_t n = s.size();
  U out(n, u'\0');
  for (std::size_t i = 0; i < n;) {
    const char16_t u = s[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      out[n - i - 2] = u;
      out[n - i - 1] = s[i + 1];
      i += 2;
    } else {
      out[n - i - 1] = u;
      ++i;
    }
  }
  return out;
}
int CompareTo(const U& a, const U& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i)
    if (a[i] != b[i])
      return static_cast<int>(a[i]) - static_cast<int>(b[i]);
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}
int Hash(const U& s) {
  std::uint32_t h = 0;
  for (char16_t u : s)
    h = h * 31u + u;
  return static_cast<int>(h);
}
int IndexOf(const U& s, const U& needle, int from) {
  if (from < 0)
    from = 0;
  const std::size_t at = s.find(needle, static_cast<std::size_t>(from));
  return at == U::npos ? -1 : static_cast<int>(at);
}
int LastIndexOf(const U& s, const U& needle, int from) {
  if (from < 0)
    return -1;
  const std::size_t at = s.rfind(needle, static_cast<std::size_t>(from));
  return at == U::npos ? -1 : static_cast<int>(at);
}

//===-- Input decoding ----------------------------------------------------===//

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : mData(data), mSize(size) {}
  bool Empty() const { return mPos >= mSize; }
  std::uint8_t Byte() { return mPos < mSize ? mData[mPos++] : 0; }
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
    switch (b) {
      case 255:
        return INT_MIN;
      case 254:
        return INT_MAX;
      case 253:
        return -1000;
      case 252:
        return n + 1000;
      default:
        return b % (n + 4) - 2;
    }
  }
  long long Number() {
    long long v = 0;
    for (int i = 0; i < 8; ++i)
      v = v << 8 | Byte();
    return v;
  }
  double Double() {
    const long long bits = Number();
    double d;
    static_assert(sizeof d == sizeof bits, "64-bit double");
    std::memcpy(&d, &bits, sizeof d);
    return d;
  }

 private:
  const std::uint8_t* mData;
  std::size_t mSize;
  std::size_t mPos = 0;
};

constexpr int kBuilders = 2;
constexpr int kStrings = 3;

struct State {
  CZqStringBuilder builders[kBuilders];
  ModelBuilder models[kBuilders];
  CZqString strings[kStrings];
  U texts[kStrings];
};

void Check(const Outcome& got, const Outcome& want, int op) {
  if (got != want)
    Mismatch("exception", op);
}

void Verify(State& s, int op) {
  for (int i = 0; i < kBuilders; ++i) {
    if (Text(s.builders[i]) != s.models[i].body->text)
      Mismatch("builder text", op);
    if (s.builders[i].length() != s.models[i].Length())
      Mismatch("builder length", op);
    if (s.builders[i].capacity() != s.models[i].body->capacity)
      Mismatch("builder capacity", op);
  }
  for (int i = 0; i < kStrings; ++i)
    if (Text(s.strings[i]) != s.texts[i] ||
        s.strings[i].length() != static_cast<int>(s.texts[i].size()))
      Mismatch("string text", op);
}

// The null-free prefix of units, as append(text) reads it.
U UpToZero(const U& u) { return u.substr(0, u.find(u'\0')); }

void Step(State& st, Input& in) {
  const int op = in.Byte() % 48;
  const int bi = in.Byte() % kBuilders;
  CZqStringBuilder& b = st.builders[bi];
  ModelBuilder& m = st.models[bi];
  const int si = in.Byte() % kStrings;
  CZqString& s = st.strings[si];
  U& t = st.texts[si];
  const int len = m.Length();
  if (len > kMaxLength && op < 26)
    return;  // no further growth: keep runs fast
  switch (op) {
    case 0: {
      const bool v = in.Byte() & 1;
      b.append(v);
      m.UnShare();
      m.Append(v ? u"true" : u"false");
      break;
    }
    case 1: {
      const char16_t c = in.Unit();
      b.append(c);
      m.UnShare();
      m.Append(U(1, c));
      break;
    }
    case 2: {
      const U units = in.Units();
      const int begin = units.empty() ? 0 : in.Byte() % static_cast<int>(units.size());
      int count = in.Byte() % (static_cast<int>(units.size()) - begin + 2) - 1;
      if (in.Byte() == 0)
        count = INT_MIN;
      Check(Run([&] { b.append(units.data(), begin, count); }),
            count < 0 ? Outcome(IndexError(count)) : std::nullopt, op);
      if (count >= 0) {
        m.UnShare();
        m.Append(units.substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(count)));
      }
      break;
    }
    case 3: {
      const U units = in.Units();
      b.append(units.c_str());
      m.UnShare();
      m.Append(UpToZero(units));
      break;
    }
    case 4: {
      const U copy = t;  // s may share this builder's body
      b.append(s);
      m.UnShare();
      m.Append(copy);
      break;
    }
    case 5: {
      // A string, the other builder or this builder itself.
      const int which = in.Byte() % 3;
      const CharSequence& cs = which == 0 ? static_cast<const CharSequence&>(s)
                                          : st.builders[(bi + which - 1) % kBuilders];
      const U units = which == 0 ? t : st.models[(bi + which - 1) % kBuilders].body->text;
      b.append(cs);
      m.UnShare();
      m.Append(units);
      break;
    }
    case 6: {
      const bool self = in.Byte() & 1;
      const CharSequence& cs = self ? static_cast<const CharSequence&>(b) : s;
      const U units = self ? m.body->text : t;
      const int n = static_cast<int>(units.size());
      const int start = in.Index(n);
      const int end = in.Index(n);
      Outcome want;
      m.UnShare();
      if (start < 0)
        want = IndexError(start);
      else if (start > end)
        want = IndexError(Wrapped(end, start));
      else if (end > n)
        want = IndexError(end);
      Check(Run([&] { b.append(cs, start, end); }), want, op);
      if (!want)
        m.Append(
            units.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
      break;
    }
    case 7:
    case 8:
    case 9: {
      const long long v = in.Number();
      if (op == 7) {
        b.append(static_cast<int>(v));
        m.UnShare();
        m.AppendNumber(Num(static_cast<int>(v)));
      } else if (op == 8) {
        b.append(static_cast<long>(v));
        m.UnShare();
        m.AppendNumber(Num(static_cast<long>(v)));
      } else {
        b.append(v);
        m.UnShare();
        m.AppendNumber(Num(v));
      }
      break;
    }
    case 10: {
      const double v = in.Double();
      b.append(v);
      m.UnShare();
      m.AppendNumber(Dbl(v));
      break;
    }
    case 11: {
      const int index = in.Index(len);
      const bool v = in.Byte() & 1;
      Check(Run([&] { b.insert(index, v); }), m.Insert(index, v ? u"true" : u"false"), op);
      break;
    }
    case 12: {
      const int index = in.Index(len);
      const char16_t c = in.Unit();
      Check(Run([&] { b.insert(index, c); }), m.Insert(index, U(1, c)), op);
      break;
    }
    case 13: {
      const int index = in.Index(len);
      const U units = in.Units();
      const int begin = units.empty() ? 0 : in.Byte() % static_cast<int>(units.size());
      const int count = in.Byte() % (static_cast<int>(units.size()) - begin + 2) - 1;
      Outcome want;
      if (count < 0)
        want = IndexError(count);
      else
        want = m.Insert(
            index, units.substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(count)));
      Check(Run([&] { b.insert(index, units.data(), begin, count); }), want, op);
      break;
    }
    case 14: {
      const int index = in.Index(len);
      const U units = in.Units();
      Check(Run([&] { b.insert(index, units.c_str()); }), m.Insert(index, UpToZero(units)), op);
      break;
    }
    case 15: {
      const int index = in.Index(len);
      const U copy = t;
      Check(Run([&] { b.insert(index, s); }), m.Insert(index, copy), op);
      break;
    }
    case 16: {
      const int index = in.Index(len);
      const bool self = in.Byte() & 1;
      const CharSequence& cs = self ? static_cast<const CharSequence&>(b) : s;
      const U units = self ? m.body->text : t;
      Check(Run([&] { b.insert(index, cs); }), m.Insert(index, units), op);
      break;
    }
    case 17: {
      const bool self = in.Byte() & 1;
      const CharSequence& cs = self ? static_cast<const CharSequence&>(b) : s;
      const U units = self ? m.body->text : t;
      const int n = static_cast<int>(units.size());
      const int index = in.Index(len);
      const int start = in.Index(n);
      const int end = in.Index(n);
      Outcome want;
      if (start < 0)
        want = StringError(u"insert: Negative start: " + Num(start));
      else if (end < 0)
        want = StringError(u"insert: Negative end: " + Num(end));
      else if (start > end)
        want = StringError(u"insert: start (" + Num(start) + u") is greater than end (" + Num(end) +
                           u")");
      else if (end > n)
        want = StringError(u"insert: end (" + Num(end) + u") is greater than length (" + Num(n) +
                           u")");
      else
        want = m.Insert(index, units.substr(static_cast<std::size_t>(start),
                                            static_cast<std::size_t>(end - start)));
      Check(Run([&] { b.insert(index, cs, start, end); }), want, op);
      break;
    }
    case 18:
    case 19:
    case 20: {
      const int index = in.Index(len);
      const long long v = in.Number();
      if (op == 18)
        Check(Run([&] { b.insert(index, static_cast<int>(v)); }),
              m.Insert(index, Num(static_cast<int>(v))), op);
      else if (op == 19)
        Check(Run([&] { b.insert(index, static_cast<long>(v)); }),
              m.Insert(index, Num(static_cast<long>(v))), op);
      else
        Check(Run([&] { b.insert(index, v); }), m.Insert(index, Num(v)), op);
      break;
    }
    case 21: {
      const int index = in.Index(len);
      const double v = in.Double();
      Check(Run([&] { b.insert(index, v); }), m.Insert(index, Dbl(v)), op);
      break;
    }
    case 22: {  // replace(start, end, string)
      const int start = in.Index(len);
      const int end = in.Index(len);
      const U copy = t;
      Outcome want;
      m.UnShare();
      if (start < 0) {
        want = StringError(u"Replace: Negative start index: " + Num(start));
      } else if (start > len) {
        want = StringError(u"Replace: start index (" + Num(start) + u") is greater than length (" +
                           Num(len) + u")");
      } else if (start > end) {
        want = StringError(u"Replace: start index (" + Num(start) +
                           u") is greater than end index (" + Num(end) + u")");
      } else {
        const int stop = std::min(end, len);
        m.Units().erase(static_cast<std::size_t>(start), static_cast<std::size_t>(stop - start));
        m.Insert(start, copy);
      }
      Check(Run([&] { b.replace(start, end, s); }), want, op);
      break;
    }
    case 23:
    case 24:
    case 25:
    case 26:
      break;  // spare: growth ops end here
    case 27: {
      const int start = in.Index(len);
      const int end = in.Index(len);
      Outcome want;
      m.UnShare();
      if (start < 0) {
        want = StringError(u"DeleteRange: Negative start index: " + Num(start));
      } else if (start > len) {
        want = StringError(u"DeleteRange: start index (" + Num(start) +
                           u") is greater than length (" + Num(len) + u")");
      } else if (start > end) {
        want = StringError(u"DeleteRange: start index (" + Num(start) +
                           u") is greater than end index (" + Num(end) + u")");
      } else {
        m.Units().erase(static_cast<std::size_t>(start),
                        static_cast<std::size_t>(std::min(end, len) - start));
      }
      Check(Run([&] { b.deleteRange(start, end); }), want, op);
      break;
    }
    case 28: {
      const int index = in.Index(len);
      Outcome want;
      m.UnShare();
      if (index < 0)
        want = StringError(u"DeleteCharAt: Negative start index: " + Num(index));
      else if (index >= len)
        want = StringError(u"DeleteRange: Index (" + Num(index) +
                           u") is greater than or equal to length (" + Num(len) + u")");
      else
        m.Units().erase(static_cast<std::size_t>(index), 1);
      Check(Run([&] { b.deleteCharAt(index); }), want, op);
      break;
    }
    case 29: {
      b.reverse();
      m.UnShare();
      m.Units() = Reverse(m.Units());
      break;
    }
    case 30: {
      const int index = in.Index(len);
      const char16_t c = in.Unit();
      Outcome want;
      m.UnShare();
      if (index < 0)
        want = BoundsError(u"SetCharAt: Negative index");
      else if (index >= len)
        want = BoundsError(u"SetCharAt: Index >= length");
      else
        m.Units()[static_cast<std::size_t>(index)] = c;
      Check(Run([&] { b.setCharAt(index, c); }), want, op);
      break;
    }
    case 31: {
      int n = in.Byte() == 0 ? -1 - in.Byte() : in.Index(len + 40);
      if (n > len + 40)
        n = len + 1;  // no huge arrays
      Outcome want;
      m.UnShare();
      if (n < 0) {
        want = BoundsError(u"SetLength: Negative length");
      } else {
        if (n > m.body->capacity)
          m.body->capacity = n;
        m.Units().resize(static_cast<std::size_t>(n), u'\0');
      }
      Check(Run([&] { b.setLength(n); }), want, op);
      break;
    }
    case 32: {
      int minimum = in.Index(len + 60);
      if (minimum > len + 60)
        minimum = -minimum;  // no huge arrays
      b.ensureCapacity(minimum);
      m.UnShare();
      if (minimum > m.body->capacity)
        m.body->capacity = minimum;
      break;
    }
    case 33: {
      b.trimToSize();
      m.body->capacity = len;  // in the body, seen by every builder sharing it
      break;
    }
    case 34: {
      s = b.toString();
      t = m.body->text;
      m.shared = true;
      break;
    }
    case 35: {
      const int start = in.Index(len);
      const bool whole = in.Byte() & 1;
      const int end = whole ? len : in.Index(len);
      Outcome want;
      if (start < 0)
        want = StringError(u"substring: Negative start: " + Num(start));
      else if (end > len)
        want = StringError(u"substring: end (" + Num(end) + u") is greater than length (" +
                           Num(len) + u")");
      else if (start > end)
        want = StringError(u"substring: start (" + Num(start) + u") is greater than end (" +
                           Num(end) + u")");
      CZqString got;
      Check(Run([&] { got = whole ? b.substring(start) : b.substring(start, end); }), want, op);
      if (!want) {
        s = got;
        t = m.body->text.substr(static_cast<std::size_t>(start),
                                static_cast<std::size_t>(end - start));
      }
      break;
    }
    case 36: {
      const int start = in.Index(len);
      const int end = in.Index(len);
      Outcome want;
      if (start < 0)
        want = IndexError(start);
      else if (start > end)
        want = IndexError(Wrapped(end, start));
      else if (end > len)
        want = IndexError(end);
      CharSequence* got = nullptr;
      Check(Run([&] { got = b.subSequence(start, end); }), want, op);
      if (got) {
        U units;
        for (int i = 0; i < got->length(); ++i)
          units += got->charAt(i);
        got->Release();
        if (units != m.body->text.substr(static_cast<std::size_t>(start),
                                         static_cast<std::size_t>(end - start)))
          Mismatch("subSequence", op);
      }
      break;
    }
    case 37: {
      const int from = in.Index(len);
      const bool last = in.Byte() & 1;
      const int got = last ? b.lastIndexOf(s, from) : b.indexOf(s, from);
      if (got != (last ? LastIndexOf(m.body->text, t, from) : IndexOf(m.body->text, t, from)))
        Mismatch("builder indexOf", op);
      break;
    }
    case 38: {
      const int index = in.Index(len);
      char16_t got = 0;
      const Outcome want = index >= 0 && index < len ? std::nullopt : Outcome(BoundsError(U()));
      Check(Run([&] { got = b.charAt(index); }), want, op);
      if (!want && got != m.body->text[static_cast<std::size_t>(index)])
        Mismatch("charAt", op);
      break;
    }
    case 39: {  // copy or assign the other builder: both share and are marked shared
      const int other = (bi + 1) % kBuilders;
      st.builders[other] = b;
      st.models[other].body = m.body;
      st.models[other].shared = true;
      m.shared = true;
      break;
    }
    case 40: {
      t = in.Units();
      s = CZqString(std::u16string_view(t));
      break;
    }
    case 41: {
      const int n = static_cast<int>(t.size());
      const int start = in.Index(n);
      const bool whole = in.Byte() & 1;
      const int end = whole ? n : in.Index(n);
      Outcome want;
      if (whole) {
        if (start < 0 || start > n)
          want = IndexError(start);
      } else if (start < 0) {
        want = IndexError(start);
      } else if (end > n) {
        want = IndexError(end);
      } else if (start > end) {
        want = IndexError(Wrapped(end, start));
      }
      CZqString got;
      Check(Run([&] { got = whole ? s.substring(start) : s.substring(start, end); }), want, op);
      if (!want) {
        CZqString& target = st.strings[(si + 1) % kStrings];
        target = got;
        st.texts[(si + 1) % kStrings] =
            t.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
      }
      break;
    }
    case 42: {
      const int kind = in.Byte() % 4;
      const char16_t from = in.Unit();
      const char16_t to = in.Unit();
      switch (kind) {
        case 0:
          s = s.trim();
          t = Trim(t);
          break;
        case 1:
          s = s.replace(from, to);
          for (char16_t& u : t)
            u = u == from ? to : u;
          break;
        case 2:
          s = s.toLowerCase();
          t = Lower(t);
          break;
        default:
          s = s.toUpperCase();
          t = Upper(t);
          break;
      }
      break;
    }
    case 43: {
      const int other = in.Byte() % kStrings;
      const int got = s.compareTo(st.strings[other]);
      if (got != CompareTo(t, st.texts[other]))
        Mismatch("compareTo", op);
      if (s.hashCode() != Hash(t))
        Mismatch("hashCode", op);
      break;
    }
    case 44: {
      const int other = in.Byte() % kStrings;
      if (t.size() + st.texts[other].size() > kMaxLength)
        break;
      const U joined = t + st.texts[other];
      s = s.concat(st.strings[other]);
      t = joined;
      break;
    }
    case 45: {
      const int other = in.Byte() % kStrings;
      const int from = in.Index(static_cast<int>(t.size()));
      const bool last = in.Byte() & 1;
      const int got =
          last ? s.lastIndexOf(st.strings[other], from) : s.indexOf(st.strings[other], from);
      if (got != (last ? LastIndexOf(t, st.texts[other], from) : IndexOf(t, st.texts[other], from)))
        Mismatch("string indexOf", op);
      break;
    }
    case 46: {  // a new builder with a chosen capacity
      const int capacity = in.Byte() % 40 - 1;
      Check(
          Run([&] { b = CZqStringBuilder(capacity); }),
          capacity < 0 ? Outcome(U(u"com.zarq.lang.NegativeArraySizeException:\n")) : std::nullopt,
          op);
      if (capacity >= 0) {
        m.body = std::make_shared<ModelBody>(ModelBody{U(), capacity});
        m.shared = false;
      }
      break;
    }
    default: {
      const int n = in.Index(len);
      if (n < 0 || n > len)
        break;
      U units(static_cast<std::size_t>(n), u'\0');
      if (n > 0)
        b.getChars(0, n, &units[0], 0);
      if (units != m.body->text.substr(0, static_cast<std::size_t>(n)))
        Mismatch("getChars", op);
      break;
    }
  }
  Verify(st, op);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  State st;
  for (int steps = 0; steps < 200 && !in.Empty(); ++steps)
    Step(st, in);
  return 0;
}
