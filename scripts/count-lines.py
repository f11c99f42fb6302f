#!/usr/bin/env python3
"""Counts the lines of C++ (.cpp and .h files that git tracks) per top-level
folder, leaving out blank lines, // and /* */ comments and the generated code
page table, and prints the test lines (tests/) against the code lines (the
two front-ends, the controller and the model) as a ratio.

Usage: scripts/count-lines.py
"""
import collections
import os
import subprocess

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CODE = ("app", "render", "win32", "game", "run", "quiz", "field", "platform")
GENERATED = {"platform/code_page_table.cpp"}


def count(path):
    lines, in_comment = 0, False
    with open(os.path.join(ROOT, path), encoding="utf-8", errors="replace") as f:
        for line in f:
            text = line.strip()
            if in_comment:
                in_comment = "*/" not in text
            elif text.startswith("/*"):
                in_comment = "*/" not in text
            elif text and not text.startswith("//"):
                lines += 1
    return lines


files = subprocess.run(["git", "-C", ROOT, "ls-files", "*.cpp", "*.h"], capture_output=True, text=True,
                       check=True).stdout.split()
folders = collections.Counter()
for path in files:
    if path not in GENERATED:
        folders[path.split("/")[0] if "/" in path else "."] += count(path)

for folder in sorted(folders):
    print(f"{folder:10} {folders[folder]}")
code = sum(folders[f] for f in CODE)
tests = folders["tests"]
print(f"tests {tests} / code {code} = {100 * tests / code:.1f}%")
