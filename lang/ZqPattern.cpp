//===- lang/ZqPattern.cpp - compiled regular expressions -------------------===//
#include "lang/ZqPattern.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <atomic>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <utility>

#include "lang/CZqStringBuilder.h"
#include "lang/detail/JavaRegex.h"
#include "lang/detail/Memory.h"
#include "lang/detail/Surrogates.h"
#include "lang/detail/Text.h"
#include "lang/detail/Throw.h"

namespace zqlang {

namespace {

void* RegexAllocate(PCRE2_SIZE bytes, void*) { return detail::Allocate(bytes); }
void RegexFree(void* block, void*) { detail::Free(block); }

// The engine takes its memory from the library's allocation layer, through
// contexts made once when the library is loaded (if that failed, the
// engine would use malloc: the null contexts are valid).
struct Contexts {
  pcre2_general_context* general = pcre2_general_context_create(RegexAllocate, RegexFree, nullptr);
  pcre2_compile_context* compile = pcre2_compile_context_create(general);
  pcre2_match_context* match = pcre2_match_context_create(general);
  Contexts() = default;
  Contexts(const Contexts&) = delete;
  Contexts& operator=(const Contexts&) = delete;
  ~Contexts() {
    pcre2_match_context_free(match);
    pcre2_compile_context_free(compile);
    pcre2_general_context_free(general);
  }
};
const Contexts gContexts;

// Whether patterns are compiled by the JIT as well. The tests turn it off
// under valgrind, which takes the JIT's wide reads past the end of a subject
// (within its block, never deciding a match) for uses of undefined bytes.
std::atomic<bool> gUseJit{true};

const PCRE2_SPTR16 kNoUnits = reinterpret_cast<PCRE2_SPTR16>(u"");

PCRE2_SPTR16 Units(std::u16string_view text) {
  return text.data() == nullptr ? kNoUnits : reinterpret_cast<PCRE2_SPTR16>(text.data());
}

int AsInt(std::size_t value) { return static_cast<int>(value); }

// The index one character past \p at: a surrogate pair is one character.
std::size_t NextCharacter(std::u16string_view text, std::size_t at) {
  if (at + 1 < text.size() && detail::IsHighSurrogate(text[at]) &&
      detail::IsLowSurrogate(text[at + 1]))
    return at + 2;
  return at + 1;
}

std::u16string ErrorText(int code) {
  PCRE2_UCHAR16 buffer[256];
  const int n = pcre2_get_error_message(code, buffer, sizeof buffer / sizeof buffer[0]);
  return n > 0 ? std::u16string(reinterpret_cast<const char16_t*>(buffer),
                                static_cast<std::size_t>(n))
               : std::u16string(u"error");
}

// Runs \p body, turning the standard library's std::bad_alloc (containers,
// std::u16string) into OutOfMemoryError as the rest of the library reports
// it.
template <class Body>
auto Checked(Body&& body) -> decltype(body()) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    detail::ThrowOutOfMemory();
  }
}

}  // namespace

struct ZqPattern::Impl {
  std::atomic<int> refs{1};
  std::u16string source;
  int flags = 0;
  detail::JavaRegex regex;
  pcre2_code* code = nullptr;  // searches
  mutable std::atomic<pcre2_code*>
      whole{};  // matches(): anchored at both ends, made when first used

  Impl() = default;
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;
  ~Impl() {
    pcre2_code_free(code);
    pcre2_code_free(whole.load(std::memory_order_relaxed));
  }

  void AddRef() noexcept { refs.fetch_add(1, std::memory_order_relaxed); }
  void Release() noexcept {
    if (refs.fetch_sub(1, std::memory_order_acq_rel) == 1)
      delete this;
  }

  // Compiles the translated pattern (or, with \p anchored, the pattern that
  // must match the whole input); a failure the engine finds is reported at
  // the index of the source it came from.
  pcre2_code* Compile(bool anchored) const {
    std::u16string wrapped;
    std::u16string_view text = regex.pcre;
    if (anchored) {
      wrapped = u"(?:" + regex.pcre + u")\\z";
      text = wrapped;
    }
    int error = 0;
    PCRE2_SIZE offset = 0;
    const uint32_t options = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_NEVER_BACKSLASH_C |
                             PCRE2_NO_UTF_CHECK | (anchored ? PCRE2_ANCHORED : 0);
    pcre2_code* compiled =
        pcre2_compile(Units(text), text.size(), options, &error, &offset, gContexts.compile);
    if (compiled == nullptr) {
      if (error == PCRE2_ERROR_HEAP_FAILED)
        detail::ThrowOutOfMemory();
      if (anchored)
        offset = offset >= 3 ? offset - 3 : 0;
      int index = AsInt(source.size());
      if (offset < regex.origin.size())
        index = regex.origin[offset];
      detail::ThrowPatternSyntax(ErrorText(error), index, source);
    }
    // Without the JIT (no memory for it, or a platform without one) the
    // interpreter gives the same answers.
    if (gUseJit.load(std::memory_order_relaxed))
      pcre2_jit_compile(compiled, PCRE2_JIT_COMPLETE);
    return compiled;
  }

  const pcre2_code* Whole() const {
    pcre2_code* code = whole.load(std::memory_order_acquire);
    if (code == nullptr) {
      pcre2_code* made = Compile(true);
      if (whole.compare_exchange_strong(code, made, std::memory_order_acq_rel)) {
        code = made;
      } else {
        pcre2_code_free(made);  // another thread was first; code is its
      }
    }
    return code;
  }
};

namespace {

// One search after another over one input, with one block of match data.
class Search {
 public:
  Search(const pcre2_code* code, std::u16string_view input)
      : mCode(code), mInput(input), mData(nullptr) {
    // Offsets and lengths are ints: a longer text cannot be searched.
    if (input.size() > 0x7FFFFFFF)
      detail::ThrowOutOfMemory();
    mData = pcre2_match_data_create_from_pattern(code, gContexts.general);
    if (mData == nullptr)
      detail::ThrowOutOfMemory();
  }
  Search(const Search&) = delete;
  Search& operator=(const Search&) = delete;
  ~Search() { pcre2_match_data_free(mData); }

  // The first match at \p from or later; false when there is none.
  bool Find(std::size_t from) {
    int rc = pcre2_match(mCode, Units(mInput), mInput.size(), from, PCRE2_NO_UTF_CHECK, mData,
                         gContexts.match);
    if (rc == PCRE2_ERROR_JIT_STACKLIMIT)  // the interpreter's frames are on the heap
      rc = pcre2_match(mCode, Units(mInput), mInput.size(), from, PCRE2_NO_UTF_CHECK | PCRE2_NO_JIT,
                       mData, gContexts.match);
    if (rc >= 0)
      return true;
    if (rc == PCRE2_ERROR_NOMATCH)
      return false;
    if (rc == PCRE2_ERROR_NOMEMORY || rc == PCRE2_ERROR_HEAPLIMIT)
      detail::ThrowOutOfMemory();
    detail::ThrowIllegalState(u"Regular expression match failed: " + ErrorText(rc));
  }

  std::size_t Start(int group = 0) const { return pcre2_get_ovector_pointer(mData)[2 * group]; }
  std::size_t End(int group = 0) const { return pcre2_get_ovector_pointer(mData)[2 * group + 1]; }

 private:
  const pcre2_code* mCode;
  std::u16string_view mInput;
  pcre2_match_data* mData;
};

// A replacement text read once: runs of literal units and group numbers,
// with the failure Java reports for it kept until a match needs it.
class Replacement {
 public:
  Replacement(std::u16string_view text, const detail::JavaRegex& regex) {
    std::size_t i = 0;
    while (i < text.size()) {
      const char16_t c = text[i];
      if (c == '\\') {
        if (++i == text.size()) {
          Invalid(u"character to be escaped is missing");
          return;
        }
        mLiteral += text[i++];
      } else if (c == '$') {
        if (++i == text.size()) {
          Invalid(u"Illegal group reference: group index is missing");
          return;
        }
        int group = 0;
        if (text[i] == '{') {
          std::u16string name;
          ++i;
          while (i < text.size() &&
                 ((text[i] >= 'a' && text[i] <= 'z') || (text[i] >= 'A' && text[i] <= 'Z') ||
                  (text[i] >= '0' && text[i] <= '9')))
            name += text[i++];
          if (name.empty()) {
            Invalid(u"named capturing group has 0 length name");
            return;
          }
          if (i == text.size() || text[i] != '}') {
            Invalid(u"named capturing group is missing trailing '}'");
            return;
          }
          ++i;
          if (name[0] >= '0' && name[0] <= '9') {
            Invalid(u"capturing group name {" + name + u"} starts with digit character");
            return;
          }
          group = -1;
          for (const auto& named : regex.names) {
            if (named.first == name)
              group = named.second;
          }
          if (group < 0) {
            Invalid(u"No group with name {" + name + u"}");
            return;
          }
        } else {
          if (text[i] < '0' || text[i] > '9') {
            Invalid(u"Illegal group reference");
            return;
          }
          group = text[i++] - '0';
          // The longest run of digits that still names a group.
          while (i < text.size() && text[i] >= '0' && text[i] <= '9' &&
                 group * 10 + (text[i] - '0') <= regex.groupCount)
            group = group * 10 + (text[i++] - '0');
          if (group > regex.groupCount) {
            mMissingGroup = group;
            return;
          }
        }
        FlushLiteral();
        mParts.push_back({-1 - group, 0});
      } else {
        mLiteral += c;
        ++i;
      }
    }
    FlushLiteral();
  }

  bool Plain() const noexcept {
    return mError.empty() && mMissingGroup < 0 && mParts.size() <= 1 &&
           (mParts.empty() || mParts[0].first >= 0);
  }
  std::u16string_view PlainText() const noexcept { return mText; }

  // Appends the replacement of the current match to \p out.
  void AppendTo(CZqStringBuilder& out, std::u16string_view input, const Search& search) const {
    if (!mError.empty())
      detail::ThrowIllegalArgument(mError);
    if (mMissingGroup >= 0)
      detail::ThrowNoGroup(mMissingGroup);
    for (const auto& part : mParts) {
      if (part.first >= 0) {
        out.append(std::u16string_view(mText).substr(static_cast<std::size_t>(part.first),
                                                     static_cast<std::size_t>(part.second)));
      } else {
        const int group = -1 - part.first;
        const std::size_t start = search.Start(group);
        if (start != PCRE2_UNSET)
          out.append(input.substr(start, search.End(group) - start));
      }
    }
  }

 private:
  void Invalid(std::u16string message) { mError = std::move(message); }
  void FlushLiteral() {
    if (!mLiteral.empty()) {
      mParts.push_back({AsInt(mText.size()), AsInt(mLiteral.size())});
      mText += mLiteral;
      mLiteral.clear();
    }
  }

  std::u16string mText;                     // the literal units of every run
  std::u16string mLiteral;                  // the run being read
  std::vector<std::pair<int, int>> mParts;  // (offset, length) of a run, or (-1 - group, 0)
  std::u16string mError;
  int mMissingGroup = -1;
};

// The pattern cache of the string members (matches, split, replaceAll,
// replaceFirst of CZqString): the last few regexes and their compiled
// patterns, so that a loop over strings compiles its regex once. A mutex
// guards the slots; the patterns are shared by their atomic counts and
// never written after they are compiled, so any thread may use them.
class PatternCache {
 public:
  static constexpr int kSlots = 8;

  // The pattern compiled from \p regex, when it is kept.
  std::optional<ZqPattern> Find(std::u16string_view regex) {
    std::lock_guard<std::mutex> lock(mMutex);
    for (const Slot& slot : mSlots) {
      if (slot.pattern && slot.regex == regex)
        return slot.pattern;
    }
    return std::nullopt;
  }

  // Keeps \p pattern, compiled from \p regex, in place of the oldest entry.
  void Keep(std::u16string_view regex, const ZqPattern& pattern) {
    Slot entry;
    try {
      entry.regex = regex;
    } catch (const std::bad_alloc&) {
      return;  // not kept, which only costs time
    }
    entry.pattern = pattern;
    std::lock_guard<std::mutex> lock(mMutex);
    std::swap(mSlots[mNext], entry);
    mNext = (mNext + 1) % kSlots;
  }

  void Clear() {
    Slot evicted[kSlots];  // released after the lock
    std::lock_guard<std::mutex> lock(mMutex);
    for (int i = 0; i < kSlots; ++i)
      std::swap(mSlots[i], evicted[i]);
  }

 private:
  struct Slot {
    std::u16string regex;
    std::optional<ZqPattern> pattern;
  };
  std::mutex mMutex;
  Slot mSlots[kSlots];
  int mNext = 0;
};

PatternCache gCache;

}  // namespace

// Declared for the tests only (their build of the library shares this
// object), hence not exported.
namespace detail {
namespace testing {
void ClearPatternCache() noexcept;
void ClearPatternCache() noexcept { gCache.Clear(); }
void UseRegexJit(bool on) noexcept;
void UseRegexJit(bool on) noexcept { gUseJit.store(on, std::memory_order_relaxed); }
bool RegexJitInUse() noexcept;
bool RegexJitInUse() noexcept { return gUseJit.load(std::memory_order_relaxed); }
}  // namespace testing
}  // namespace detail

// --- ZqMatch -------------------------------------------------------------

int ZqMatch::start(int group) const {
  if (group < 0 || group > groupCount())
    detail::ThrowNoGroup(group);
  return mSpans[static_cast<std::size_t>(2 * group)];
}

int ZqMatch::end(int group) const {
  if (group < 0 || group > groupCount())
    detail::ThrowNoGroup(group);
  return mSpans[static_cast<std::size_t>(2 * group + 1)];
}

// --- ZqPattern -------------------------------------------------------------

ZqPattern ZqPattern::compile(std::u16string_view regex, int flags) {
  constexpr int kKnown =
      UNIX_LINES | CASE_INSENSITIVE | COMMENTS | MULTILINE | LITERAL | DOTALL | UNICODE_CASE;
  if ((flags & ~kKnown) != 0) {
    std::u16string message = u"Unknown flag 0x";
    for (int shift = 28; shift >= 0; shift -= 4) {
      const unsigned digit = (static_cast<unsigned>(flags) >> shift) & 0xFu;
      if (digit != 0 || message.size() > 15 || shift == 0)
        message += static_cast<char16_t>(digit < 10 ? u'0' + digit : u'a' + digit - 10);
    }
    detail::ThrowIllegalArgument(message);
  }
  return Checked([&] {
    Impl* impl = new Impl;
    try {
      impl->source = regex;
      impl->flags = flags;
      impl->regex = detail::TranslateJavaRegex(regex, flags);
      impl->code = impl->Compile(false);
    } catch (...) {
      impl->Release();
      throw;
    }
    return ZqPattern(impl);
  });
}

CZqString ZqPattern::quote(std::u16string_view text) {
  return Checked([&] {
    std::u16string quoted = u"\\Q";
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(u"\\E", from)) != std::u16string_view::npos;
         from = at + 2) {
      quoted += text.substr(from, at - from);
      quoted += u"\\E\\\\E\\Q";
    }
    quoted += text.substr(from);
    quoted += u"\\E";
    return CZqString(std::u16string_view(quoted));
  });
}

CZqString ZqPattern::quoteReplacement(std::u16string_view text) {
  if (text.find_first_of(u"\\$") == std::u16string_view::npos)
    return CZqString(text);
  return Checked([&] {
    std::u16string quoted;
    for (char16_t c : text) {
      if (c == '\\' || c == '$')
        quoted += u'\\';
      quoted += c;
    }
    return CZqString(std::u16string_view(quoted));
  });
}

ZqPattern::ZqPattern(const ZqPattern& other) noexcept : mImpl(other.mImpl) { mImpl->AddRef(); }

ZqPattern& ZqPattern::operator=(const ZqPattern& other) noexcept {
  other.mImpl->AddRef();  // first: other may be this
  mImpl->Release();
  mImpl = other.mImpl;
  return *this;
}

ZqPattern::~ZqPattern() { mImpl->Release(); }

CZqString ZqPattern::pattern() const { return CZqString(std::u16string_view(mImpl->source)); }

int ZqPattern::flags() const noexcept { return mImpl->flags; }

int ZqPattern::groupCount() const noexcept { return mImpl->regex.groupCount; }

int ZqPattern::groupIndex(std::u16string_view name) const noexcept {
  for (const auto& named : mImpl->regex.names) {
    if (named.first == name)
      return named.second;
  }
  return -1;
}

bool ZqPattern::matches(std::u16string_view input) const {
  if (mImpl->regex.isLiteral)
    return input == mImpl->regex.literal;
  Search search(mImpl->Whole(), input);
  return search.Find(0);
}

bool ZqPattern::find(std::u16string_view input, int from, ZqMatch& match) const {
  if (from < 0 || static_cast<std::size_t>(from) > input.size())
    detail::ThrowIndexOutOfBounds(u"Illegal start index");
  std::size_t at = static_cast<std::size_t>(from);
  if (at > 0 && at < input.size() && detail::IsLowSurrogate(input[at]) &&
      detail::IsHighSurrogate(input[at - 1]))
    ++at;  // the engine starts at a character
  return Checked([&] {
    Search search(mImpl->code, input);
    const int groups = mImpl->regex.groupCount;
    if (!search.Find(at)) {
      match.mSpans.clear();
      return false;
    }
    match.mSpans.resize(static_cast<std::size_t>(2 * groups + 2));
    for (int g = 0; g <= groups; ++g) {
      const std::size_t start = search.Start(g);
      const bool set = start != PCRE2_UNSET;
      match.mSpans[static_cast<std::size_t>(2 * g)] = set ? AsInt(start) : -1;
      match.mSpans[static_cast<std::size_t>(2 * g + 1)] = set ? AsInt(search.End(g)) : -1;
    }
    return true;
  });
}

std::vector<CZqString> ZqPattern::split(std::u16string_view input, int limit) const {
  return Split(input, nullptr, limit);
}

CZqString ZqPattern::replaceAll(std::u16string_view input, std::u16string_view replacement) const {
  return Replace(input, nullptr, replacement, true);
}

CZqString ZqPattern::replaceFirst(std::u16string_view input,
                                  std::u16string_view replacement) const {
  return Replace(input, nullptr, replacement, false);
}

namespace {

// Java's split over the matches that \p next finds: next(from, start, end)
// gives the first match at from or later.
template <class Next>
std::vector<CZqString> SplitBy(std::u16string_view input, const CZqString* whole, int limit,
                               Next&& next) {
  std::vector<CZqString> parts;
  std::size_t index = 0;
  std::size_t from = 0;
  std::size_t start = 0;
  std::size_t end = 0;
  const bool limited = limit > 0;
  bool matched = false;
  while (from <= input.size() && next(from, start, end)) {
    from = start == end ? NextCharacter(input, end) : end;
    if (index == 0 && start == 0 && end == 0)
      continue;  // no leading empty part for an empty match at the start
    matched = true;
    if (limited && parts.size() == static_cast<std::size_t>(limit) - 1)
      break;
    parts.emplace_back(input.substr(index, start - index));
    index = end;
  }
  if (!matched) {
    parts.clear();
    parts.push_back(whole != nullptr ? *whole : CZqString(input));
    return parts;
  }
  parts.emplace_back(input.substr(index));
  if (limit == 0) {
    while (!parts.empty() && parts.back().length() == 0)
      parts.pop_back();
  }
  return parts;
}

// Java's split at each occurrence of \p needle (not empty), found as text.
std::vector<CZqString> SplitAtText(std::u16string_view input, const CZqString* whole, int limit,
                                   std::u16string_view needle) {
  return SplitBy(input, whole, limit, [&](std::size_t from, std::size_t& start, std::size_t& end) {
    // One unit (a comma between short fields) is found by a plain loop,
    // which beats the vector search's set-up over a few units.
    if (needle.size() == 1) {
      start = input.find(needle[0], from);
      if (start == std::u16string_view::npos)
        return false;
    } else {
      const int at = detail::IndexOf(input, needle, AsInt(from));
      if (at < 0)
        return false;
      start = static_cast<std::size_t>(at);
    }
    end = start + needle.size();
    return true;
  });
}

}  // namespace

std::vector<CZqString> ZqPattern::Split(std::u16string_view input, const CZqString* whole,
                                        int limit) const {
  return Checked([&] {
    const detail::JavaRegex& regex = mImpl->regex;
    if (regex.isLiteral)
      return SplitAtText(input, whole, limit, regex.literal);
    Search search(mImpl->code, input);
    return SplitBy(input, whole, limit,
                   [&](std::size_t from, std::size_t& start, std::size_t& end) {
                     if (!search.Find(from))
                       return false;
                     start = search.Start();
                     end = search.End();
                     return true;
                   });
  });
}

CZqString ZqPattern::Replace(std::u16string_view input, const CZqString* whole,
                             std::u16string_view replacement, bool all) const {
  return Checked([&]() -> CZqString {
    const detail::JavaRegex& regex = mImpl->regex;
    const Replacement parsed(replacement, regex);
    if (regex.isLiteral && all && parsed.Plain() && whole != nullptr)
      return whole->replace(std::u16string_view(regex.literal), parsed.PlainText());
    Search search(mImpl->code, input);
    if (!search.Find(0))
      return whole != nullptr ? *whole : CZqString(input);
    CZqStringBuilder out(AsInt(input.size()));  // Search took only an int's length
    std::size_t index = 0;
    do {
      const std::size_t start = search.Start();
      const std::size_t end = search.End();
      out.append(input.substr(index, start - index));
      parsed.AppendTo(out, input, search);
      index = end;
      if (!all)
        break;
      const std::size_t from = start == end ? NextCharacter(input, end) : end;
      if (from > input.size() || !search.Find(from))
        break;
    } while (true);
    out.append(input.substr(index));
    return out.toString();
  });
}

ZqPattern ZqPattern::Cached(const CZqString& regex) {
  if (std::optional<ZqPattern> kept = gCache.Find(regex.view()))
    return *kept;
  ZqPattern compiled = compile(regex.view());
  gCache.Keep(regex.view(), compiled);
  return compiled;
}

// --- the string members ------------------------------------------------------

bool CZqString::matches(const CZqString& regex) const {
  return ZqPattern::Cached(regex).matches(view());
}

CZqString CZqString::replaceAll(const CZqString& regex, const CZqString& replacement) const {
  return ZqPattern::Cached(regex).Replace(view(), this, replacement.view(), true);
}

CZqString CZqString::replaceFirst(const CZqString& regex, const CZqString& replacement) const {
  return ZqPattern::Cached(regex).Replace(view(), this, replacement.view(), false);
}

namespace {

// The unit a regex of one character without regex meaning stands for (",",
// or "\\." escaped): split searches for it without the engine or the
// cache, as Java's split does.
bool SingleUnit(std::u16string_view regex, char16_t& unit) {
  auto plain = [](char16_t c) { return !detail::IsSurrogate(c); };
  if (regex.size() == 1 &&
      std::u16string_view(u".$|()[{^?*+\\").find(regex[0]) == std::u16string_view::npos) {
    unit = regex[0];
    return plain(unit);
  }
  if (regex.size() == 2 && regex[0] == '\\') {
    unit = regex[1];
    const bool alnum = (unit >= '0' && unit <= '9') || (unit >= 'a' && unit <= 'z') ||
                       (unit >= 'A' && unit <= 'Z');
    return !alnum && plain(unit);
  }
  return false;
}

}  // namespace

std::vector<CZqString> CZqString::split(const CZqString& regex, int limit) const {
  char16_t unit = 0;
  if (!SingleUnit(regex.view(), unit))
    return ZqPattern::Cached(regex).Split(view(), this, limit);
  return Checked([&] { return SplitAtText(view(), this, limit, std::u16string_view(&unit, 1)); });
}

}  // namespace zqlang
