#!/usr/bin/env python3
"""Expands the run rows of the scripting codes of the output modes into one
line per value ("value code"), independently of the C++ table, so that the
test suite can hold the two against each other.

Each row pairs a value (or a run of values a to b) with a code (or the run of
codes from the first to the last); the last two characters of a run's codes
count up in decimal. Every run's last code is checked against the expansion
of its first code.

    python3 tools/expand_output_mode_codes.py > tests/frame/settings/data/output_mode_codes.txt
"""
import re
import sys

RUNS = """
| 1 to 15 | 'Fo01' to 'Fo15' |
| 16 | 'Fo70' |
| 17 to 34 | 'Fo16' to 'Fo33' |
| 35 | 'TW46' |
| 36 to 55 | 'Fo35' to 'Fo54' |
| 56 to 69 | 'Fo56' to 'Fo69' |
| 70 to 98 | 'Fo71' to 'Fo99' |
| 99 to 105 | 'Fp00' to 'Fp06' |
| 106 to 116 | 'Fp08' to 'Fp18' |
| 117 | 'Fp41' |
| 118 to 120 | 'Fp29' to 'Fp31' |
| 121 | 'Fp33' |
| 122 to 123 | 'Fp38' to 'Fp39' |
| 124 | 'Fp20' |
| 125 | 'Fp32' |
| 126 | 'Fp40' |
| 127 | 'Fp21' |
| 128 to 133 | 'Fp23' to 'Fp28' |
| 134 to 136 | 'Fp42' to 'Fp44' |
| 137 | 'TW45' |
| 138 to 142 | 'Fp47' to 'Fp51' |
| 143 to 144 | 'Fp53' to 'Fp54' |
| 145 | 'Fp56' |
| 146 to 149 | 'Fp58' to 'Fp61' |
| 150 | 'Fp55' |
| 151 | 'Fp57' |
| 152 to 163 | 'Fp62' to 'Fp73' |
| 164 to 174 | 'Fp76' to 'Fp86' |
| 175 to 176 | 'Fp89' to 'Fp90' |
| 177 to 198 | 'Fq00' to 'Fq21' |
| 199 to 201 | 'Fr00' to 'Fr02' |
| 202 | 'Fr30' |
| 203 | 'Fr40' |
| 204 | 'Fr03' |
| 205 | 'Fr31' |
| 206 to 209 | 'Fr04' to 'Fr07' |
| 210 | 'Fr32' |
| 211 | 'Fr41' |
| 212 | 'Fr08' |
| 213 | 'Fr33' |
| 214 | 'Fr42' |
| 215 to 219 | 'Fr09' to 'Fr13' |
| 220 | 'Fr34' |
| 221 | 'Fr43' |
| 222 | 'Fr14' |
| 223 | 'Fr35' |
| 224 | 'Fr44' |
| 225 | 'Fr15' |
| 226 | 'Fr36' |
| 227 to 232 | 'Fr16' to 'Fr21' |
| 233 | 'Fr37' |
| 234 | 'Fr45' |
| 235 | 'Fr22' |
| 236 | 'Fr38' |
| 237 | 'Fr46' |
| 238 | 'Fr23' |
| 239 | 'Fr39' |
| 240 | 'Fr47' |
| 241 to 246 | 'Fr24' to 'Fr29' |
| 247 to 254 | 'Fr48' to 'Fr55' |
| 255 to 262 | 'Fr62' to 'Fr69' |
| 263 to 267 | 'Fr56' to 'Fr60' |
| 268 to 291 | 'Fr70' to 'Fr93' |
| 1038 to 1041 | 'Fp34' to 'Fp37' |
| 1042 | 'Fp88' |
| 1043 | 'Fp##' |
| 1046 | 'Fo55' |
| 1047 | 'Fp87' |
"""

ROW = re.compile(r"^\|\s*(\d+)(?:\s+to\s+(\d+))?\s*\|\s*'(.{4})'(?:\s+to\s+'(.{4})')?\s*\|$")


def expand(rows):
    out = []
    for line in rows.strip().splitlines():
        m = ROW.match(line.strip())
        if not m:
            sys.exit("unreadable row: " + line)
        first, last = int(m.group(1)), int(m.group(2) or m.group(1))
        code_first, code_last = m.group(3), m.group(4) or m.group(3)
        if first == last:
            if code_first != code_last:
                sys.exit("a single value with two codes: " + line)
            out.append((first, code_first))
            continue
        stem, start = code_first[:2], int(code_first[2:])
        for i, value in enumerate(range(first, last + 1)):
            out.append((value, "%s%02d" % (stem, start + i)))
        if out[-1][1] != code_last:
            sys.exit("run does not end on its last code: " + line)
    values = [v for v, _ in out]
    codes = [c for _, c in out]
    if values != sorted(set(values)):
        sys.exit("values repeat or are out of order")
    if len(set(codes)) != len(codes):
        sys.exit("a code belongs to two values")
    return out


def main():
    table = expand(RUNS)
    if len(table) != 299:
        sys.exit("expected 299 codes, found %d" % len(table))
    for value, code in table:
        print(value, code)


if __name__ == "__main__":
    main()
