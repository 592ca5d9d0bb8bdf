#!/usr/bin/env python3
"""Draws the include graph of lang/ and io/ as floors and prints the arrows that
run against the layers: kernels (lang/detail) at the bottom, the body above them,
the string and the builder above the body, the exception classes beside them.
An arrow back up is an include from a kernel into the body, a string or an
exception class, or from the body upwards.

    python3 scripts/include-graph.py [REV]     # the working tree, or a commit
"""
import re, subprocess, sys
rev = sys.argv[1] if len(sys.argv) > 1 else None
def files():
    if rev:
        out = subprocess.run(['git','ls-tree','-r','--name-only',rev,'lang','io'],capture_output=True,text=True).stdout.split()
    else:
        out = subprocess.run(['git','ls-files','-co','--exclude-standard','lang','io'],capture_output=True,text=True).stdout.split()
    return [f for f in out if f.endswith(('.h','.cpp'))]
def read(f):
    if rev: return subprocess.run(['git','show',f'{rev}:{f}'],capture_output=True,text=True).stdout
    return open(f).read()
fs = files()
inc = {f: [m for m in re.findall(r'#include "([^"]+)"', read(f)) if m in fs] for f in fs}
exc = set()
for f in fs:
    b = f.split('/')[-1]
    if re.search(r'(Exception|Error|Throwable)\.(h|cpp)$', b) or b in ('ExceptionClass.h','FullNames.h','FullNames.cpp','Throw.cpp'):
        exc.add(f)
def layer(f):
    if f in exc: return 'exc'
    if f.startswith('lang/detail/') and f not in ('lang/detail/StringAccess.h',): return 0
    if 'CZqStringBody' in f: return 1
    if f in ('lang/ZqExport.h','lang/ZqCaseRules.h','lang/ZqVersion.h'): return 0
    return 2
back = []
for f, ts in inc.items():
    for t in ts:
        lf, lt = layer(f), layer(t)
        if lf == 'exc': continue
        if lt == 'exc' or (lt > lf):
            back.append((f, t))
memo = {}
def h(f, stack=()):
    if f in memo: return memo[f]
    if f in stack: return 0
    v = 0 if not inc[f] else 1 + max(h(t, stack + (f,)) for t in inc[f])
    memo[f] = v; return v
print('files', len(fs), 'arrows', sum(len(v) for v in inc.values()), 'floors', 1 + max(h(f) for f in fs))
print('body floor:', h('lang/CZqStringBody.cpp'), 'string floor:', h('lang/CZqString.cpp'))
print('arrows back up:', len(back))
for a in back: print('  ', a[0], '->', a[1])
