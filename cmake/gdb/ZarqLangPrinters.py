# gdb pretty-printers for ZarqLang: strings and builders print their text as
# a u"..." literal with their length (a builder also its capacity and whether
# it shares its storage with strings), and a holder (SPtr<T>) prints what it
# holds. The build puts this script into the library's .debug_gdb_scripts
# section (cmake/gdb/GdbScriptSection.cmake), so gdb loads it with
# libZarqLang.so wherever that is; `source` it by hand otherwise.
#
# The printers read the classes' members (mBody, mPtr, mLength, mCapacity,
# mRefCount, mShared) and keep working when the process is damaged: a bad
# pointer or length prints as such instead of failing the whole `print`.

import gdb
import gdb.printing

# Longest text read from the inferior when `print elements` is unlimited.
_MAX_UNITS = 1 << 20


def _body_units(body):
    """Address (a char16_t* value) of the units of the body `body` (a
    CZqStringBody value). The one place that knows where the units live:
    behind the pointer mData, or, when the body has no such member, in the
    same block right after the body object."""
    char16 = gdb.lookup_type("char16_t")
    fields = {f.name for f in body.type.strip_typedefs().fields()}
    if "mData" in fields:
        return body["mData"].cast(char16.pointer())
    if "mUnits" in fields:
        return body["mUnits"].address.cast(char16.pointer())
    end = int(body.address) + body.type.strip_typedefs().sizeof
    end = (end + char16.sizeof - 1) // char16.sizeof * char16.sizeof
    return gdb.Value(end).cast(char16.pointer())


def _limit():
    limit = gdb.parameter("print elements")
    return _MAX_UNITS if limit is None or limit <= 0 else int(limit)


def _escape(units):
    """The units as the inside of a C++ u"..." literal: ASCII as itself,
    anything else as a \\u or \\U escape (a lone surrogate as \\uD800...)."""
    simple = {0x22: '\\"', 0x5C: "\\\\", 0x0A: "\\n", 0x0D: "\\r", 0x09: "\\t", 0x00: "\\0"}
    out = []
    i = 0
    while i < len(units):
        u = units[i]
        if 0xD800 <= u <= 0xDBFF and i + 1 < len(units) and 0xDC00 <= units[i + 1] <= 0xDFFF:
            cp = 0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00)
            out.append("\\U%08X" % cp)
            i += 2
            continue
        if u in simple:
            out.append(simple[u])
        elif 0x20 <= u < 0x7F:
            out.append(chr(u))
        else:
            out.append("\\u%04X" % u)
        i += 1
    return "".join(out)


def _body_summary(body_ptr):
    """(literal, length, capacity) of the body that body_ptr (a
    CZqStringBody*) points to; literal is a text such as u"abc", or a note
    when the body cannot be read."""
    if int(body_ptr) == 0:
        return ("<no body>", None, None)
    try:
        body = body_ptr.dereference()
        length = int(body["mLength"])
        capacity = int(body["mCapacity"])
    except gdb.error as e:
        return ("<unreadable body at 0x%x: %s>" % (int(body_ptr), e), None, None)
    if length < 0 or length > capacity:
        return ("<bad length %d, capacity %d>" % (length, capacity), length, capacity)
    shown = min(length, _limit())
    try:
        data = _body_units(body)
        raw = bytes(gdb.selected_inferior().read_memory(int(data), 2 * shown)) if shown else b""
    except (gdb.error, gdb.MemoryError) as e:
        return ("<unreadable units: %s>" % e, length, capacity)
    units = [int.from_bytes(raw[k : k + 2], "little") for k in range(0, len(raw), 2)]
    literal = 'u"' + _escape(units) + '"' + ("..." if shown < length else "")
    return (literal, length, capacity)


def _held(holder):
    """The pointer a SPtr<T> holds."""
    return holder["mPtr"]


def _tolerant(to_string):
    """Wraps a printer's to_string so that a type gdb knows only by name (no
    debug info for the library: install libzarqlang1-dbgsym) or a member
    that moved prints a note instead of a Python error."""

    def wrapper(self):
        try:
            return to_string(self)
        except gdb.error as e:
            return "<%s: %s>" % (self.val.type.strip_typedefs().unqualified(), e)

    return wrapper


class CZqStringPrinter:
    """zqlang::CZqString: u"text" (length n)."""

    def __init__(self, val):
        self.val = val

    @_tolerant
    def to_string(self):
        literal, length, _ = _body_summary(_held(self.val["mBody"]))
        return literal if length is None else "%s (length %d)" % (literal, length)


class CZqStringBuilderPrinter:
    """zqlang::CZqStringBuilder: u"text" (length n, capacity c, shared or
    exclusive)."""

    def __init__(self, val):
        self.val = val

    @_tolerant
    def to_string(self):
        literal, length, capacity = _body_summary(_held(self.val["mBody"]))
        if length is None:
            return literal
        sharing = "shared" if bool(self.val["mShared"]) else "exclusive"
        return "%s (length %d, capacity %d, %s)" % (literal, length, capacity, sharing)


class CZqStringBodyPrinter:
    """zqlang::CZqStringBody: u"text" (length n, capacity c, count k)."""

    def __init__(self, val):
        self.val = val

    @_tolerant
    def to_string(self):
        literal, length, capacity = _body_summary(self.val.address)
        if length is None:
            return literal
        return "%s (length %d, capacity %d, count %d)" % (
            literal, length, capacity, int(self.val["mRefCount"]))


class SPtrPrinter:
    """zqlang::SPtr<T>: what it holds, printed as its dynamic type, or null."""

    def __init__(self, val):
        self.val = val

    @_tolerant
    def to_string(self):
        ptr = _held(self.val)
        kind = self.val.type.strip_typedefs().unqualified().name or "SPtr"
        if int(ptr) == 0:
            return "%s null" % kind
        try:
            try:
                ptr = ptr.cast(ptr.dynamic_type)
            except gdb.error:
                pass
            return "%s -> %s" % (kind, ptr.dereference().format_string())
        except gdb.error as e:
            return "%s -> <unreadable 0x%x: %s>" % (kind, int(ptr), e)


def build_printers():
    pp = gdb.printing.RegexpCollectionPrettyPrinter("ZarqLang")
    pp.add_printer("CZqString", "^zqlang::CZqString$", CZqStringPrinter)
    pp.add_printer("CZqStringBuilder", "^zqlang::CZqStringBuilder$", CZqStringBuilderPrinter)
    pp.add_printer("CZqStringBody", "^zqlang::CZqStringBody$", CZqStringBodyPrinter)
    pp.add_printer("SPtr", "^zqlang::SPtr<.*>$", SPtrPrinter)
    return pp


gdb.printing.register_pretty_printer(gdb.current_objfile(), build_printers(), replace=True)
