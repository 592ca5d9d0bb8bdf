#!/usr/bin/env python3
"""Generates lang/detail/UnicodeCaseData.{h,cpp}, the case tables of the
Unicode case mapping (lang/detail/UnicodeCase.cpp), from the Unicode Character
Database.

    apt-get install unicode-data            # Debian: /usr/share/unicode
    scripts/gen-unicode-case.py [UCD directory]

Reads UnicodeData.txt (simple mappings, combining classes), SpecialCasing.txt
(one-to-many mappings), CaseFolding.txt (statuses C, S, F), DerivedCoreProperties
.txt (Cased, Case_Ignorable) and PropList.txt (Soft_Dotted), all of one version.

Every code point gets a record: the simple lower, upper and folding mappings
as differences from the code point, flags (cased, case-ignorable,
soft-dotted, combining class 230 or other non-zero, which full mappings are
one-to-many, whether a context or language rule applies) and, for the one-to-many ones,
an index into a table of full mappings. Records are shared; a two-stage table
(a block index per 2^shift code points, then a record index per code point
of each distinct block) finds them. The conditional rules of SpecialCasing
(Final_Sigma, Turkic, Lithuanian) are written out in UnicodeCase.cpp; this
script checks that the data still lists exactly those.
"""
import os
import re
import sys

UCD = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/unicode"
ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
LIMIT = 0x110000

# Flag bits; lang/detail/UnicodeCaseData.h names them (kCase*).
CASED, IGNORABLE, SOFT_DOTTED, ABOVE, COMBINING = 1, 2, 4, 8, 16
FULL_LOWER, FULL_UPPER, FULL_FOLD, SIGMA, LANGUAGE = 32, 64, 128, 256, 512

# The code points whose mapping depends on the language rules in the code
# (Σ, whose lower case depends on its context, has a flag of its own).
LANGUAGE_CODE_POINTS = {0x0049, 0x004A, 0x012E, 0x00CC, 0x00CD, 0x0128, 0x0130, 0x0069, 0x0307}
# The conditional lines of SpecialCasing.txt the code implements:
# (code point, lower, title, upper, conditions).
CONDITIONAL = {
    ("03A3", "03C2", "03A3", "03A3", "Final_Sigma"),
    ("0307", "0307", "", "", "lt After_Soft_Dotted"),
    ("0049", "0069 0307", "0049", "0049", "lt More_Above"),
    ("004A", "006A 0307", "004A", "004A", "lt More_Above"),
    ("012E", "012F 0307", "012E", "012E", "lt More_Above"),
    ("00CC", "0069 0307 0300", "00CC", "00CC", "lt"),
    ("00CD", "0069 0307 0301", "00CD", "00CD", "lt"),
    ("0128", "0069 0307 0303", "0128", "0128", "lt"),
    ("0130", "0069", "0130", "0130", "tr"),
    ("0130", "0069", "0130", "0130", "az"),
    ("0307", "", "0307", "0307", "tr After_I"),
    ("0307", "", "0307", "0307", "az After_I"),
    ("0049", "0131", "0049", "0049", "tr Not_Before_Dot"),
    ("0049", "0131", "0049", "0049", "az Not_Before_Dot"),
    ("0069", "0069", "0130", "0130", "tr"),
    ("0069", "0069", "0130", "0130", "az"),
}
# The fast tables cover Latin, Greek, Cyrillic and Armenian.
FAST_LIMIT = 0x0600
FAST_SLOW = 0x8000
TURKIC_FOLDING = {(0x0049, 0x0131), (0x0130, 0x0069)}


def lines(name):
    with open(os.path.join(UCD, name), encoding="utf-8") as f:
        for line in f:
            data = line.split("#", 1)[0].strip()
            if data:
                yield [field.strip() for field in data.split(";")]


def version(name):
    with open(os.path.join(UCD, name), encoding="utf-8") as f:
        match = re.match(r"# \S+-(\d+\.\d+\.\d+)\.txt", f.readline())
    if not match:
        sys.exit(f"{name}: no version line")
    return match.group(1)


def code_points(text):
    return [int(c, 16) for c in text.split()]


def ranges(name, wanted):
    found = set()
    for fields in lines(name):
        if fields[1] != wanted:
            continue
        first, _, last = fields[0].partition("..")
        found.update(range(int(first, 16), int(last or first, 16) + 1))
    return found


def utf16(cps):
    units = []
    for cp in cps:
        if cp >= 0x10000:
            units += [0xD800 + ((cp - 0x10000) >> 10), 0xDC00 + ((cp - 0x10000) & 0x3FF)]
        else:
            units.append(cp)
    return units


def main():
    versions = {version(n) for n in ["SpecialCasing.txt", "CaseFolding.txt",
                                     "DerivedCoreProperties.txt", "PropList.txt"]}
    if len(versions) != 1:
        sys.exit(f"mixed versions of the data files: {sorted(versions)}")
    ucd_version = versions.pop()

    lower = list(range(LIMIT))
    upper = list(range(LIMIT))
    fold = list(range(LIMIT))
    ccc = [0] * LIMIT
    for f in lines("UnicodeData.txt"):
        cp = int(f[0], 16)
        ccc[cp] = int(f[3])
        if f[12]:
            upper[cp] = int(f[12], 16)
        if f[13]:
            lower[cp] = int(f[13], 16)

    full = [{}, {}, {}]  # lower, upper, fold: code point -> list of code points
    conditional = set()
    for f in lines("SpecialCasing.txt"):
        cp = int(f[0], 16)
        if len(f) > 4 and f[4]:
            conditional.add((f[0], f[1], f[2], f[3], f[4]))
            continue
        for which, text in ((0, f[1]), (1, f[3])):
            mapped = code_points(text)
            if mapped != [(lower, upper)[which][cp]]:
                full[which][cp] = mapped
    if conditional != CONDITIONAL:
        sys.exit("SpecialCasing.txt has other conditional mappings than UnicodeCase.cpp handles: "
                 f"{sorted(conditional ^ CONDITIONAL)}")

    turkic = set()
    for f in lines("CaseFolding.txt"):
        cp, status, mapped = int(f[0], 16), f[1], code_points(f[2])
        if status in ("C", "S"):
            fold[cp] = mapped[0]
        elif status == "F":
            full[2][cp] = mapped
        elif status == "T":
            turkic.add((cp, mapped[0]))
    if turkic != TURKIC_FOLDING:
        sys.exit(f"CaseFolding.txt has other T mappings: {sorted(turkic)}")

    cased = ranges("DerivedCoreProperties.txt", "Cased")
    ignorable = ranges("DerivedCoreProperties.txt", "Case_Ignorable")
    soft_dotted = ranges("PropList.txt", "Soft_Dotted")

    specials = []  # (lower, upper, fold) unit lists
    special_of = {}
    for cp in sorted(set(full[0]) | set(full[1]) | set(full[2])):
        texts = []
        for which, simple in enumerate((lower, upper, fold)):
            units = utf16(full[which].get(cp, [simple[cp]]))
            if len(units) > 3:
                sys.exit(f"U+{cp:04X}: a full mapping longer than 3 units")
            texts.append(units)
        special_of[cp] = len(specials)
        specials.append(texts)

    records = []
    record_of = {}
    entries = []
    for cp in range(LIMIT):
        flags = ((CASED if cp in cased else 0) | (IGNORABLE if cp in ignorable else 0) |
                 (SOFT_DOTTED if cp in soft_dotted else 0) |
                 (ABOVE if ccc[cp] == 230 else 0) | (COMBINING if ccc[cp] != 0 else 0) |
                 (FULL_LOWER if cp in full[0] else 0) | (FULL_UPPER if cp in full[1] else 0) |
                 (FULL_FOLD if cp in full[2] else 0) |
                 (SIGMA if cp == 0x03A3 else 0) |
                 (LANGUAGE if cp in LANGUAGE_CODE_POINTS else 0))
        for simple in (lower, upper, fold):
            if (cp < 0x10000) != (simple[cp] < 0x10000):
                sys.exit(f"U+{cp:04X}: a simple mapping that leaves its plane")
        key = (lower[cp] - cp, upper[cp] - cp, fold[cp] - cp, flags, special_of.get(cp, 0))
        if key not in record_of:
            record_of[key] = len(records)
            records.append(key)
        entries.append(record_of[key])
    if len(records) > 0xFFFF:
        sys.exit("too many distinct records")

    best = None
    for shift in range(4, 10):
        size = 1 << shift
        blocks, block_of, stage1 = [], {}, []
        for start in range(0, LIMIT, size):
            block = tuple(entries[start:start + size])
            if block not in block_of:
                block_of[block] = len(blocks)
                blocks.append(block)
            stage1.append(block_of[block])
        stage1_bytes = 1 if len(blocks) <= 256 else 2
        stage2_bytes = 1 if len(records) <= 256 else 2
        total = len(stage1) * stage1_bytes + len(blocks) * size * stage2_bytes
        if best is None or total < best[0]:
            best = (total, shift, stage1, blocks, stage1_bytes, stage2_bytes)
    total, shift, stage1, blocks, stage1_bytes, stage2_bytes = best
    types = {1: "std::uint8_t", 2: "std::uint16_t"}

    # The fast tables: for each mapping, the code points below FAST_LIMIT as
    # 16-bit differences (modulo 2^16), or FAST_SLOW where the record must be
    # read (a one-to-many mapping, Σ when lower-casing).
    fast = []
    for which, simple in enumerate((lower, upper, fold)):
        for cp in range(FAST_LIMIT):
            if cp in full[which] or (which == 0 and cp == 0x03A3):
                fast.append(FAST_SLOW)
            else:
                delta = (simple[cp] - cp) & 0xFFFF
                if delta == FAST_SLOW:
                    sys.exit(f"U+{cp:04X}: its difference is the slow mark")
                fast.append(delta)

    write_header(ucd_version, shift, len(stage1), len(blocks) << shift, len(records),
                 len(specials), types[stage1_bytes], types[stage2_bytes])
    write_source(ucd_version, stage1, blocks, records, specials, total, types[stage1_bytes],
                 types[stage2_bytes], fast)
    print(f"Unicode {ucd_version}: {len(records)} records, {len(specials)} full mappings, "
          f"{len(blocks)} blocks of {1 << shift}; tables {total + 16 * len(records) + 6 * FAST_LIMIT}"
          " bytes")


GENERATED = "Generated by scripts/gen-unicode-case.py from the Unicode Character Database"


def write_header(ucd_version, shift, stage1_count, stage2_count, record_count, special_count,
                 stage1_type, stage2_type):
    path = os.path.join(ROOT, "lang/detail/UnicodeCaseData.h")
    with open(path, "w", encoding="utf-8") as f:
        f.write(f"""//===- lang/detail/UnicodeCaseData.h - generated case tables --*- C++ -*-===//
/// \\file
/// {GENERATED}
/// {ucd_version}; do not edit. The records and the two-stage index of the case mapping in
/// lang/detail/UnicodeCase.cpp (see the script for what they hold).
//===----------------------------------------------------------------------===//
// clang-format off
#ifndef ZQ_LANG_DETAIL_UNICODECASEDATA_H
#define ZQ_LANG_DETAIL_UNICODECASEDATA_H

#include <cstdint>

namespace zqlang {{
namespace detail {{

/// The version of the Unicode Character Database the tables follow.
constexpr char kCaseUnicodeVersion[] = "{ucd_version}";

/// Record flags.
enum CaseFlag : std::uint16_t {{
  kCaseCased = {CASED},           ///< Cased
  kCaseIgnorable = {IGNORABLE},       ///< Case_Ignorable
  kCaseSoftDotted = {SOFT_DOTTED},      ///< Soft_Dotted
  kCaseAbove = {ABOVE},            ///< canonical combining class 230
  kCaseCombining = {COMBINING},       ///< canonical combining class other than 0
  kCaseFullLower = {FULL_LOWER},       ///< the full lower case mapping is in a CaseSpecial
  kCaseFullUpper = {FULL_UPPER},       ///< the full upper case mapping is in a CaseSpecial
  kCaseFullFold = {FULL_FOLD},       ///< the full case folding is in a CaseSpecial
  kCaseSigma = {SIGMA},         ///< Σ: its lower case depends on the context
  kCaseLanguage = {LANGUAGE},      ///< a Turkic or Lithuanian rule may apply
}};

/// What the tables know of one code point.
struct CaseRecord {{
  /// Simple lower case, upper case and folding, minus the code point.
  std::int32_t delta[3];
  /// CaseFlag bits.
  std::uint16_t flags;
  /// Index into kCaseSpecials when a kCaseFull* flag is set.
  std::uint16_t special;
}};

/// The full lower case, upper case and folding of a code point with a
/// one-to-many mapping, in UTF-16.
struct CaseSpecial {{
  char16_t units[3][3];
  std::uint8_t length[3];
}};

constexpr int kCaseShift = {shift};
extern const {stage1_type} kCaseStage1[{stage1_count}];
extern const {stage2_type} kCaseStage2[{stage2_count}];
extern const CaseRecord kCaseRecords[{record_count}];
extern const CaseSpecial kCaseSpecials[{special_count}];

/// The code points below kCaseFastLimit have their simple lower case, upper
/// case and folding in kCaseFast as 16-bit differences (add and cut to 16
/// bits), except where the entry is kCaseFastSlow: a one-to-many mapping or
/// Σ when lower-casing. The language rules are not in it.
constexpr unsigned kCaseFastLimit = {FAST_LIMIT:#06x};
constexpr unsigned kCaseFastSlow = {FAST_SLOW:#06x};
extern const std::uint16_t kCaseFast[3][kCaseFastLimit];

/// The record of \\p codePoint (0 to 0x10FFFF).
inline const CaseRecord& CaseRecordOf(unsigned codePoint) noexcept {{
  const unsigned block = kCaseStage1[codePoint >> kCaseShift];
  return kCaseRecords[kCaseStage2[(block << kCaseShift) | (codePoint & ((1u << kCaseShift) - 1))]];
}}

}}  // namespace detail
}}  // namespace zqlang

#endif  // ZQ_LANG_DETAIL_UNICODECASEDATA_H
""")


def rows(values, width=16):
    # Each row starts with the index of its first value: the tables are easier
    # to read, and rows of equal values in different places stay distinct.
    out = []
    for i in range(0, len(values), width):
        out.append(f"    /* {i:#06x} */ " + ", ".join(str(v) for v in values[i:i + width]) + ",")
    return "\n".join(out)


def write_source(ucd_version, stage1, blocks, records, specials, total, stage1_type,
                 stage2_type, fast):
    path = os.path.join(ROOT, "lang/detail/UnicodeCaseData.inc")
    stage2 = [e for block in blocks for e in block]
    record_rows = "\n".join(
        f"    {{{{{dl}, {du}, {df}}}, {flags}, {special}}},"
        for dl, du, df, flags, special in records)
    special_rows = []
    for texts in specials:
        units = ", ".join("{" + ", ".join(f"0x{u:04X}" for u in t + [0] * (3 - len(t))) + "}"
                          for t in texts)
        lengths = ", ".join(str(len(t)) for t in texts)
        special_rows.append(f"    {{{{{units}}}, {{{lengths}}}}},")
    special_rows = "\n".join(special_rows)
    part = len(fast) // 3
    fast_rows = "\n".join("  {\n" + rows(fast[k * part:(k + 1) * part], 16) + "\n  },"
                          for k in range(3))
    with open(path, "w", encoding="utf-8") as f:
        f.write(f"""// lang/detail/UnicodeCaseData.inc - generated case tables, included by
// UnicodeCaseData.cpp inside namespace zqlang::detail.
//
// {GENERATED}
// {ucd_version}; do not edit. {total} bytes of index, {len(records)} records.

const {stage1_type} kCaseStage1[] = {{
{rows(stage1, 24)}
}};

const {stage2_type} kCaseStage2[] = {{
{rows(stage2, 16)}
}};

const CaseRecord kCaseRecords[] = {{
{record_rows}
}};

const CaseSpecial kCaseSpecials[] = {{
{special_rows}
}};

const std::uint16_t kCaseFast[3][kCaseFastLimit] = {{
{fast_rows}
}};
""")


if __name__ == "__main__":
    main()
