"""The cases of run.sh: patterns by subjects by operations, bad patterns,
replacements and flags, one per line (op, pattern, input, argument, flags;
units outside printable ASCII as %XXXX)."""
import sys
def u16(s):
    # expand astral to surrogate pairs for %XXXX
    out=''
    for c in s:
        o=ord(c)
        if o>0xFFFF:
            o-=0x10000; out+='%%%04X%%%04X'%(0xD800+(o>>10),0xDC00+(o&0x3FF))
        elif o<0x20 or o>0x7e or c=='%': out+='%%%04X'%o
        else: out+=c
    return out
cases=[]
def add(op,p,i,a='',fl=0): cases.append('\t'.join([op,u16(p),u16(i),u16(a),str(fl)]))
subj=["", "a", "abc", "a,b,,c,,", ",a,b", "a\r\nb\nc\r", "foo bar  baz\t qux ", "x\u0085y\u2028z\u2029w", "Hello World", "aAbBcC", "a😀b😀", "café", "e\u0301x", "line1\nline2\n", "\n", "\r\n", "abc\r\n", "k\u212aK", "ß SS", "σς Σ", "123 abc 456", "__a_b", "a.b.c", "(a)[b]{c}"]
pats=["", ",", "\\.", ".", "\\s+", "\\s*", "x*", "a|b", "(a)|b", "^", "$", "(?m)^", "(?m)$", "^.*$", "(?s).*", "\\b", "\\B", "\\w+", "\\W", "\\d+", "[a-c]", "[^a-c]", "(?i)[a-c]", "(?i)abc", "(?iu)σ", "(?i)σ", "(?i)k", "(?iu)k", "[a-z&&[^b]]", "[a-d[x-z]]", "[^a[b]]", "[[:lower:]]", "\\p{Lower}+", "\\p{L}+", "\\p{Lu}", "(?i)\\p{Lu}", "\\p{IsLatin}+", "\\p{IsAlphabetic}", "\\p{javaLowerCase}", "\\P{L}", "\\pL", "\\Q.\\E", "\\Q(a)", "\\u0061", "\\x{1F600}", "\\x61", "\\0141", "\\t", "\\R", "\\Z", "\\z", "\\A", "a*?", "a++", "a{2}", "a{1,}", "(?<n>a)", "(a)\\1", "(a)\\2", "(?<=a)b", "(?<!a)b", "(?=b)", "[\\d&&[^5]]", "\\h", "\\v", "(?x) a b # c", "(?x)[ a ]", "[]a]", "[a-]", "[-a]", ".+?", "(?d).", "(?d)$", "(a|b)*", "\\\\", "[\\\\]", "[\\Q]\\E]", "(?:a)(b)?", "😀", "[😀]", ".", "\\X"]
for p in pats:
    for s in subj:
        add('s',p,s,'0'); add('s',p,s,'-1'); add('ra',p,s,'<$0>'); add('m',p,s); add('f',p,s)
    add('s',p,"a,b,,c,,",'2')
bad=["*a","a{","a{1","a{2,1}","(a","[a","a)",")","\\","(?<1a>x)","\\p{Foo}","a{,2}","\\i","[b-a]","(?<n>a)(?<n>b)","\\k<x>","(?<=a+)b","(?z)","\\x","\\xg","\\u12","\\0","\\08","[","[^","a**","(?","(?<","\\cA","[a&&]","[&&a]","x{2}{3}","{","}","]","\\E","\\G","(?U)a","\\N{LATIN SMALL LETTER A}","\\uD800"]
for p in bad: add('m',p,'a')
reps=["$1","$2","${n}","${x}","${1}","\\$","$","\\","$a","$12","$10","a$0b","${n","${}"]
for r in reps:
    add('ra','(?<n>a)(b)','abab',r); add('ra','x','abab',r); add('rf','(a)(b)?','abab',r)
for fl in [2,66,8,32,1,4,16,8|32]:
    for p in ["a.B", "^b$", "A", "Σ", "k", "a b", ".", "$"]:
        for s in ["a\nB", "b\nb", "a", "σ", "\u212a", "ab", "a b", "\r\n"]:
            add('f',p,s,'',fl)
open(sys.argv[1],'w').write('\n'.join(cases)+'\n')
print(len(cases))
