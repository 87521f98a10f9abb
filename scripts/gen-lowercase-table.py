#!/usr/bin/env python3
"""Prints the simple lower-case runs used by src/util/unicode_case.cc.

Each run {first, last, delta, stride} says that every stride-th code point
from first to last lower-cases to itself plus delta. Multi-code-point
mappings (only U+0130) are handled in the C++ code, not listed here.
Paste the output into kLowerRuns and run clang-format over the file.
"""
import unicodedata

single = []
for cp in range(0x110000):
    lower = chr(cp).lower()
    if lower != chr(cp) and len(lower) == 1:
        single.append((cp, ord(lower) - cp))


def run_end(i, stride):
    cp, delta = single[i]
    j = i
    while (j + 1 < len(single) and single[j + 1][0] == single[j][0] + stride
           and single[j + 1][1] == delta):
        j += 1
    return j


runs = []
i = 0
while i < len(single):
    one, two = run_end(i, 1), run_end(i, 2)
    end, stride = (one, 1) if one >= two else (two, 2)
    runs.append((single[i][0], single[end][0], single[i][1], stride))
    i = end + 1

print(f"// Unicode {unicodedata.unidata_version}: {len(runs)} runs.")
cells = [f"{{0x{a:04X}, 0x{b:04X}, {d}, {s}}}" for a, b, d, s in runs]
for k in range(0, len(cells), 4):
    print("    " + ", ".join(cells[k:k + 4]) + ",")
