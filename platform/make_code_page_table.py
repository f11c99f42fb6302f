#!/usr/bin/env python3
"""Writes code_page_table.cpp beside this script: every double-byte character
of code page 932 with its Unicode code point, from Python's own table of the
code page (the one Windows uses). Rows of user-defined characters follow a
formula and are left out. Run it again only if the table is to change."""
import os

LEADS = list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD))
TRAILS = [t for t in range(0x40, 0xFD) if t != 0x7F]


def decode(lead, trail):
    try:
        return ord(bytes([lead, trail]).decode("cp932"))
    except UnicodeDecodeError:
        return 0


rows = []
row_of_lead = {}
for lead in LEADS:
    if 0xF0 <= lead <= 0xF9:
        continue  # user-defined: U+E000 upwards, in order
    values = [decode(lead, t) for t in TRAILS]
    if any(values):
        row_of_lead[lead] = len(rows)
        rows.append((lead, values))

out = [
    "// Written by platform/make_code_page_table.py: code page 932 as Windows",
    "// maps it. Do not edit by hand.",
    '#include "platform/code_page_table.h"',
    "",
    "const int8_t kCodePage932Row[128] = {",
]
cells = [str(row_of_lead.get(b, -1)) for b in range(0x80, 0x100)]
for i in range(0, 128, 16):
    out.append("    " + ", ".join(cells[i:i + 16]) + ",")
out += ["};", "", "const uint16_t kCodePage932Table[][kCodePage932Trails] = {"]
for lead, values in rows:
    out.append("    {// 0x%02X" % lead)
    for i in range(0, len(values), 16):
        out.append("     " + ", ".join("0x%04X" % v for v in values[i:i + 16]) + ",")
    out.append("    },")
out.append("};")

path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "code_page_table.cpp")
with open(path, "w", encoding="ascii", newline="\n") as f:
    f.write("\n".join(out) + "\n")
print("wrote %s: %d rows" % (path, len(rows)))
