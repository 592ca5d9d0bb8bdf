//===- lang/detail/CaseMap.cpp - case mapping of UTF-16 unit arrays -------===//
//
// A table belongs to one direction (lower or upper) and one C locale name.
// Its life: free -> claimed (one thread writes the name) -> named, for good.
// Each 256-unit page of it: empty -> building (one thread calls towlower for
// its units) -> ready, for good. Readers only use a page they saw ready with
// an acquire load, so they never read units while they are written; a page
// another thread is still building is bypassed with direct calls.
//===----------------------------------------------------------------------===//
#include "lang/detail/CaseMap.h"

#include <locale.h>

#include <atomic>
#include <clocale>
#include <cstring>
#include <cwctype>

#include "lang/detail/Simd.h"

namespace zqlang {
namespace detail {
namespace {

enum Direction { kLower = 0, kUpper = 1 };

constexpr int kTablesPerDirection = 4;
constexpr int kPageUnits = 256;
constexpr int kPages = 65536 / kPageUnits;
constexpr std::size_t kNameRoom = 64;

enum TableState { kFree = 0, kClaimed = 1, kNamed = 2 };
enum PageState : unsigned char { kEmpty = 0, kBuilding = 1, kReady = 2 };

// Static storage is zero-filled, so every table starts free with every page
// empty, and the operating system gives it memory only where it is written.
struct Table {
  std::atomic<int> state;
  char name[kNameRoom];
  std::atomic<unsigned char> pages[kPages];
  std::atomic<bool> asciiPlain;     // set before page 0 is ready
  std::atomic<unsigned char> wide;  // WideState: do units from 0x80 on change?
  char16_t units[65536];
};

// What a table knows of the units from 0x80 on. The C locale changes none of
// them, so a text of any script is mapped by the ASCII step alone there;
// finding that out takes every page, which is done once per table, by the
// first long text (a short one would pay much more than its own mapping).
enum WideState : unsigned char { kWideUnknown = 0, kWideUnchanged = 1, kWideChanged = 2 };
constexpr int kUnitsToLearnWide = 1 << 20;

Table gTables[2][kTablesPerDirection];

char16_t MapDirect(Direction direction, char16_t unit) noexcept {
  const std::wint_t mapped = direction == kLower ? std::towlower(static_cast<std::wint_t>(unit))
                                                 : std::towupper(static_cast<std::wint_t>(unit));
  return static_cast<char16_t>(mapped);
}

// True when the first 128 units map as plain ASCII does: only A-Z to a-z
// (lower) or a-z to A-Z (upper), everything else to itself.
bool MapsAsciiPlainly(Direction direction, const char16_t* page) noexcept {
  const char16_t from = direction == kLower ? u'A' : u'a';
  const int shift = direction == kLower ? 0x20 : -0x20;
  for (int u = 0; u < 0x80; ++u) {
    const bool letter = u >= from && u < from + 26;
    if (page[u] != static_cast<char16_t>(letter ? u + shift : u))
      return false;
  }
  return true;
}

// The table for the current locale, claimed and named on first use; null
// when the thread has a locale of its own or no table is left.
Table* CurrentTable(Direction direction) noexcept {
#if defined(LC_GLOBAL_LOCALE)
  if (uselocale(static_cast<locale_t>(nullptr)) != LC_GLOBAL_LOCALE)
    return nullptr;
  const char* name = std::setlocale(LC_CTYPE, nullptr);
  if (name == nullptr || std::strlen(name) >= kNameRoom)
    return nullptr;
  for (Table& table : gTables[direction]) {
    int state = table.state.load(std::memory_order_acquire);
    if (state == kFree &&
        table.state.compare_exchange_strong(state, kClaimed, std::memory_order_acquire)) {
      std::memcpy(table.name, name, std::strlen(name) + 1);  // fits: checked above
      table.state.store(kNamed, std::memory_order_release);
      return &table;
    }
    if (state == kNamed && std::strcmp(table.name, name) == 0)
      return &table;
  }
#else
  (void)direction;
#endif
  return nullptr;
}

// Page `page` of the table, filled on first use; null while another thread
// fills it.
const char16_t* PageOf(Table& table, Direction direction, int page) noexcept {
  std::atomic<unsigned char>& state = table.pages[page];
  unsigned char seen = state.load(std::memory_order_acquire);
  if (seen == kReady)
    return table.units + static_cast<std::ptrdiff_t>(page) * kPageUnits;
  if (seen != kEmpty || !state.compare_exchange_strong(seen, kBuilding, std::memory_order_acquire))
    return nullptr;
  char16_t* units = table.units + static_cast<std::ptrdiff_t>(page) * kPageUnits;
  for (int i = 0; i < kPageUnits; ++i)
    units[i] = MapDirect(direction, static_cast<char16_t>(page * kPageUnits + i));
  if (page == 0)
    table.asciiPlain.store(MapsAsciiPlainly(direction, units), std::memory_order_relaxed);
  state.store(kReady, std::memory_order_release);
  return units;
}

// Fills every page of the table and records whether any unit from 0x80 on
// changes; leaves the state unknown while another thread fills a page.
void LearnWide(Table& table, Direction direction) noexcept {
  for (int page = 0; page < kPages; ++page) {
    const char16_t* const units = PageOf(table, direction, page);
    if (units == nullptr)
      return;
    for (int u = page == 0 ? 0x80 : 0; u < kPageUnits; ++u) {
      if (units[u] != static_cast<char16_t>(page * kPageUnits + u)) {
        table.wide.store(kWideChanged, std::memory_order_relaxed);
        return;
      }
    }
  }
  table.wide.store(kWideUnchanged, std::memory_order_relaxed);
}

// Maps units through one table, keeping the page it used last: the wide
// units of a text mostly come from one or two scripts, hence pages.
class PageMapper {
 public:
  PageMapper(Table& table, Direction direction) noexcept : mTable(table), mDirection(direction) {}

  char16_t operator()(char16_t unit) noexcept {
    const int page = unit / kPageUnits;
    if (page != mPage) {
      const char16_t* const units = PageOf(mTable, mDirection, page);
      if (units == nullptr)
        return MapDirect(mDirection, unit);
      mPage = page;
      mUnits = units;
    }
    return mUnits[unit % kPageUnits];
  }

 private:
  Table& mTable;
  Direction mDirection;
  int mPage = -1;
  const char16_t* mUnits = nullptr;
};

void MapUnits(Direction direction, const char16_t* from, char16_t* to, int count) noexcept {
  if (count <= 0)
    return;
  Table* table = CurrentTable(direction);
  if (table == nullptr) {
    for (int i = 0; i < count; ++i)
      to[i] = MapDirect(direction, from[i]);
    return;
  }
  if (count >= kUnitsToLearnWide && table->wide.load(std::memory_order_relaxed) == kWideUnknown)
    LearnWide(*table, direction);
  PageMapper map(*table, direction);
  int i = 0;
#if ZQ_SSE2
  if (count >= 8 && PageOf(*table, direction, 0) != nullptr &&
      table->asciiPlain.load(std::memory_order_relaxed)) {
    const bool wideChanges = table->wide.load(std::memory_order_relaxed) != kWideUnchanged;
    // Blocks of 8 units: ASCII letters of the one case move by 0x20.
    const char16_t first = direction == kLower ? u'A' : u'a';
    const __m128i below = _mm_set1_epi16(static_cast<short>(first - 1));
    const __m128i above = _mm_set1_epi16(static_cast<short>(first + 26));
    const __m128i shift = _mm_set1_epi16(static_cast<short>(direction == kLower ? 0x20 : -0x20));
    const __m128i nonAscii = _mm_set1_epi16(static_cast<short>(0xFF80));
    const __m128i zero = _mm_setzero_si128();
    for (; i <= count - 8; i += 8) {
      __m128i* at = reinterpret_cast<__m128i*>(to + i);
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
      // Units below 0x80 compare correctly as signed 16-bit values; the
      // others fall outside the letter range and are left as they are.
      const __m128i letter =
          _mm_and_si128(_mm_cmpgt_epi16(block, below), _mm_cmplt_epi16(block, above));
      _mm_storeu_si128(at, _mm_add_epi16(block, _mm_and_si128(letter, shift)));
      if (!wideChanges)
        continue;
      // One bit per unit from 0x80 on: those are mapped by the table.
      const __m128i ascii = _mm_cmpeq_epi16(_mm_and_si128(block, nonAscii), zero);
      for (unsigned wide = ~_mm_movemask_epi8(_mm_packs_epi16(ascii, zero)) & 0xFFu; wide != 0;
           wide &= wide - 1) {
        const int k = i + __builtin_ctz(wide);
        to[k] = map(from[k]);
      }
    }
  }
#endif
  for (; i < count; ++i)
    to[i] = map(from[i]);
}

}  // namespace

void LowerUnits(const char16_t* from, char16_t* to, int count) noexcept {
  MapUnits(kLower, from, to, count);
}

void UpperUnits(const char16_t* from, char16_t* to, int count) noexcept {
  MapUnits(kUpper, from, to, count);
}

char16_t LowerUnit(char16_t unit) noexcept { return MapDirect(kLower, unit); }

}  // namespace detail
}  // namespace zqlang
