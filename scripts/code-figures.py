#!/usr/bin/env python3
"""Prints the product code's shape: lines by folder, the longest file and functions, and how many
backend files have a twin of the same name under the other backend.
Usage: scripts/code-figures.py [tree]   (default: this checkout)"""
import os
import re
import sys

ROOT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
FOLDERS = ["app", "base", "console", "framework", "net"]
BACKENDS = [("framework/qt", "framework/win32"), ("net/posix", "net/win32"), ("net/qt", "net/win32")]
SOURCE = re.compile(r"\.(h|cpp)$")
# A line that opens a function body: a parameter list's closing parenthesis, then qualifiers and an
# opening brace, not a control statement or a lambda.
OPENS = re.compile(r"\)\s*(const)?\s*(noexcept)?\s*(override)?\s*(->\s*[\w:<>*& ]+)?\s*\{\s*$")
NOT_FUNCTION = re.compile(r"^\s*(if|for|while|switch|else|do|catch|return)\b|\[[^\]]*\]\s*\(|=\s*\[")


def files(folder):
    for base, _, names in os.walk(os.path.join(ROOT, folder)):
        for name in sorted(names):
            if SOURCE.search(name):
                path = os.path.join(base, name)
                yield os.path.relpath(path, ROOT), open(path, encoding="utf-8").read().splitlines()


def functions(lines):
    """(first line, length) of each function body that starts on a line of its own signature."""
    found = []
    i = 0
    while i < len(lines):
        line = lines[i]
        if OPENS.search(line) and not NOT_FUNCTION.search(line) and not line.startswith(" " * 8):
            depth, j = 0, i
            while j < len(lines):
                depth += lines[j].count("{") - lines[j].count("}")
                if depth <= 0:
                    break
                j += 1
            found.append((i + 1, j - i + 1, line.strip()))
            i = j
        i += 1
    return found


total = 0
longest_file = ("", 0)
longest_functions = []
print("product lines by folder:")
for folder in FOLDERS:
    count = 0
    subs = {}
    for path, lines in files(folder):
        count += len(lines)
        sub = os.path.dirname(path)
        subs[sub] = subs.get(sub, 0) + len(lines)
        if len(lines) > longest_file[1]:
            longest_file = (path, len(lines))
        for first, length, text in functions(lines):
            longest_functions.append((length, f"{path}:{first}", text))
    total += count
    print(f"  {folder:10} {count:6}" + "".join(f"   {s} {n}" for s, n in sorted(subs.items()) if s != folder))
print(f"  {'all':10} {total:6}")
print(f"longest file: {longest_file[0]} ({longest_file[1]} lines)")
print("longest functions:")
for length, where, text in sorted(longest_functions, reverse=True)[:5]:
    print(f"  {length:4} {where}  {text[:70]}")
print(f"functions over 60 lines: {sum(1 for f in longest_functions if f[0] > 60)}")

def names(folder):
    path = os.path.join(ROOT, folder)
    if not os.path.isdir(path):
        return None
    return {n for n in os.listdir(path) if SOURCE.search(n)}

STATED = re.compile(r"\b(Qt|Win32|Qt's backend) only\b|Twin: ")


def states_twin(folder, name):
    """Whether the file's opening comment names its twin or says it has none."""
    head = open(os.path.join(ROOT, folder, name), encoding="utf-8").read().split("\n")[:14]
    return any(STATED.search(line) for line in head if line.startswith("//"))


twinned = stated = alone = 0
for a, b in BACKENDS:
    left, right = names(a), names(b)
    if left is None or right is None:
        continue
    both = left & right
    twinned += 2 * len(both)
    only = sorted([(a, n) for n in left - both] + [(b, n) for n in right - both], key=lambda x: x[1])
    said = [n for f, n in only if states_twin(f, n)]
    unsaid = [n for f, n in only if not states_twin(f, n)]
    stated += len(said)
    alone += len(unsaid)
    print(f"{a} / {b}: {len(both)} pairs; on one side only, saying so: {len(said)}; not saying: {' '.join(unsaid) or 'none'}")
total_files = twinned + stated + alone
print(f"backend files whose twin is found by name: {twinned} of {total_files}; "
      f"one side only and saying so: {stated}; neither: {alone}")
