#!/usr/bin/env python3
"""Checks that two versions of a C header differ only in order and comments.

    scripts/header-decls.py OLD.h NEW.h

Compares the sorted multisets of preprocessor directives and of declarations
(comments stripped, whitespace normalised) and checks that every QX/EP macro
named in a #define body of NEW is defined earlier in NEW. Exit status 0 when
both hold. Example, against the committed header:

    git show HEAD:include/torva.h > /tmp/old.h
    scripts/header-decls.py /tmp/old.h include/torva.h
"""
import re
import sys
from collections import Counter


def items(path):
    text = open(path).read()
    text = re.sub(r'/\*.*?\*/', ' ', text, flags=re.S)
    text = re.sub(r'//[^\n]*', ' ', text)
    text = text.replace('\\\n', ' ')
    directives, rest = [], []
    for line in text.split('\n'):
        if line.strip().startswith('#'):
            directives.append(' '.join(line.split()))
        elif line.strip() not in ('}', 'extern "C" {'):
            rest.append(line)
    decls, cur, depth = [], '', 0
    for ch in '\n'.join(rest):
        cur += ch
        if ch == '{':
            depth += 1
        elif ch == '}':
            depth -= 1
        elif ch == ';' and depth == 0:
            decls.append(' '.join(cur.split()))
            cur = ''
    if cur.strip():
        sys.exit(f'{path}: text after the last declaration: {cur.strip()[:60]}')
    return directives, decls


def used_before_defined(directives):
    defined, bad = set(), []
    for d in directives:
        m = re.match(r'#define (\w+)(.*)', d)
        if not m:
            continue
        for tok in re.findall(r'[A-Za-z_]\w*', m.group(2)):
            if re.match(r'(QX|EP_)', tok) and tok not in defined:
                bad.append(f'{m.group(1)} uses {tok}')
        defined.add(m.group(1))
    return bad


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    old_pp, old_decls = items(sys.argv[1])
    new_pp, new_decls = items(sys.argv[2])
    ok = True
    for kind, a, b in (('directives', old_pp, new_pp), ('declarations', old_decls, new_decls)):
        ca, cb = Counter(a), Counter(b)
        if ca == cb:
            print(f'{kind}: {sum(ca.values())}, identical')
            continue
        ok = False
        for item in (ca - cb).elements():
            print(f'{kind}: only in old: {item}')
        for item in (cb - ca).elements():
            print(f'{kind}: only in new: {item}')
    bad = used_before_defined(new_pp)
    for b in bad:
        print(f'macro used before its definition: {b}')
    sys.exit(0 if ok and not bad else 1)


if __name__ == '__main__':
    main()
