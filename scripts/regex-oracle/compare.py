"""Prints the cases where Java and ZqPattern differ (messages by their first line)."""
import collections
import re
import sys
cases=open(sys.argv[1]).read().split('\n')
j=open(sys.argv[2]).read().split('\n'); c=open(sys.argv[3]).read().split('\n')
def norm(x):
    x=re.sub(r'^PSE ','IAE ',x); x=re.sub(r'^IllegalArgumentException ','IAE ',x); return x
bad=collections.defaultdict(list)
for k,(a,b) in enumerate(zip(j,c)):
    a2,b2=norm(a),norm(b)
    if a2!=b2:
        if a2.startswith('IAE') and b2.startswith('IAE'):
            # compare first line only
            if a2.split('%000A')[0]!=b2.split('%000A')[0]: bad['msg'].append((cases[k],a,b))
        else: bad['res'].append((cases[k],a,b))
for kind in bad:
    print(kind, len(bad[kind]))
byp=collections.Counter(x[0].split('\t')[1] for x in bad['res'])
print(byp.most_common(60))
