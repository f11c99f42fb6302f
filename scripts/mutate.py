#!/usr/bin/env python3
"""Mutation testing of the model: plants one small fault at a time in a clone
of the repository (never in the working tree), builds, runs the tests, and
tells which faults no test notices.

Usage: mutate.py [--count N] [--seed S] [--files DIR ...] [--work DIR]
                 [--summary FILE] [--list] [--cmake-arg ARG ...]

The faults: a comparison, logic or sign operator swapped for its neighbour,
an integer constant one higher, true and false exchanged, or a statement
deleted. Code only Windows builds (#if defined(_WIN32)) is left out: this
runs the Linux build. Those of the model's files (the sources of the wrigglet_model library
and their headers, in the folders given) are listed, and N of them drawn with
the seed. A fault that does not compile is stillborn; one that a test fails on
or makes time out is killed; the others survived. The build is the suite's
plain build, unoptimised, with the standard library's bounds checks, and a
fault it survives is tried again in the suite's AddressSanitizer+UBSan build:
one that leaks or reads freed memory or past a container fails as it would in
test.sh. Kills there are named "test [asan]".

The clone is made in --work (default build/mutate) and moved to the last
commit at every start; results are kept there, one line per mutant, in a
journal named after the files the build and the tests are made of (not the
scripts or documents), so that a run broken off goes on where it stopped and a
commit that changes neither code nor tests reuses them. The summary (Markdown)
gives the score per file, every survivor, and for every test how many faults it
kills and how many only it kills. Survivors that scripts/mutants-equivalent.txt
names, with the reason no test can tell them from the code, are listed apart,
and the score is also given over the mutants it does not name.
"""
import argparse
import collections
import hashlib
import json
import os
import random
import re
import shutil
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
parser.add_argument("--count", type=int, default=150)
parser.add_argument("--seed", type=int, default=20261207)
parser.add_argument("--files", nargs="+", default=["field", "quiz", "run", "platform", "game"])
parser.add_argument("--work", default=os.path.join(ROOT, "build", "mutate"))
parser.add_argument("--summary")
parser.add_argument("--list", action="store_true", help="print the drawn mutants and stop")
parser.add_argument("--report", action="store_true", help="summarise the results so far without running")
parser.add_argument("--cmake-arg", action="append", default=[])
parser.add_argument("--timeout", type=int, default=20,
                    help="seconds a test may take (each takes well under one; a fault may make one hang)")
args = parser.parse_args()

# Generated data, not logic.
SKIP = {"platform/code_page_table.cpp"}
# What neither the build nor the tests read: changing it keeps the results.
NOT_BUILT = re.compile(r"^(docs/|\.ci/|scripts/(?!mutate\.py$)|.*\.md$)")
EQUIVALENT = "scripts/mutants-equivalent.txt"


def model_files(root):
    files = []
    for folder in args.files:
        cmake = os.path.join(root, folder, "CMakeLists.txt")
        sources = set()
        if os.path.exists(cmake):
            text = open(cmake).read()
            for block in re.findall(r"target_sources\(wrigglet_model\s+PRIVATE(.*?)\)", text, re.S):
                sources.update(block.split())
        stems = {os.path.splitext(s)[0] for s in sources}
        cpps = {os.path.splitext(f)[0] for f in os.listdir(os.path.join(root, folder)) if f.endswith(".cpp")}
        for name in sorted(os.listdir(os.path.join(root, folder))):
            stem, ext = os.path.splitext(name)
            path = "%s/%s" % (folder, name)
            if path in SKIP:
                continue
            # A header belongs to the model when its source does, or when it has none.
            if (ext == ".cpp" and name in sources) or (ext == ".h" and (stem in stems or stem not in cpps)):
                files.append(path)
    return files


def code_part(line):
    """The line with string and character literals and a trailing comment
    blanked out, so that positions still match the original."""
    out, quote, i = [], None, 0
    while i < len(line):
        c = line[i]
        if quote:
            out.append(" ")
            if c == "\\":
                out.append(" ")
                i += 1
            elif c == quote:
                quote = None
        elif c in "\"'":
            quote = c
            out.append(" ")
        elif line.startswith("//", i):
            out.extend(" " * (len(line) - i))
            break
        else:
            out.append(c)
        i += 1
    return "".join(out)[:len(line)]


SWAPS = [(" < ", " <= "), (" <= ", " < "), (" > ", " >= "), (" >= ", " > "), (" == ", " != "),
         (" != ", " == "), (" && ", " || "), (" || ", " && "), (" + ", " - "), (" - ", " + ")]
NUMBER = re.compile(r"(?<![\w.])(0x[0-9A-Fa-f]+|\d+)(?![\w.])")
BOOL = re.compile(r"\b(true|false)\b")
STATEMENT = re.compile(r"^\s*(\+\+|--)?([\w.\[\]]|->|::)+\s*(\(.*\)|=[^=].*|[-+*/|&]=.*|\+\+|--)\s*;\s*$")


WINDOWS_ONLY = re.compile(r"#\s*(if\s+defined\s*\(\s*_WIN32\s*\)|ifdef\s+_WIN32)\s*$")


def mutants_of(path, lines):
    found = []
    in_comment = False
    # Per open #if: whether its branch now is Windows only. This build is
    # not Windows: such code is mutated where it is built, under Wine.
    branches = []
    seen = collections.Counter()  # how often each line came before: entries of mutants-equivalent.txt name it
    for number, line in enumerate(lines, 1):
        seen[line.strip()] += 1
        text = line.rstrip("\n")
        stripped = text.strip()
        if stripped.startswith("#"):
            if re.match(r"#\s*if", stripped):
                branches.append(bool(WINDOWS_ONLY.match(stripped)))
            elif re.match(r"#\s*(else|elif)", stripped) and branches:
                branches[-1] = False
            elif re.match(r"#\s*endif", stripped) and branches:
                branches.pop()
            continue
        if any(branches):
            continue
        if in_comment:
            in_comment = "*/" not in stripped
            continue
        if stripped.startswith("/*"):
            in_comment = "*/" not in stripped
            continue
        if not stripped or stripped.startswith(("#", "//", "static_assert")):
            continue
        code = code_part(text)

        def add(start, end, new):
            found.append({"file": path, "line": number, "old": text[start:end], "new": new,
                          "text": text[:start] + new + text[end:], "source": text,
                          "occurrence": seen[stripped]})

        for old, new in SWAPS:
            for m in re.finditer(re.escape(old), code):
                add(m.start(), m.end(), new)
        for m in NUMBER.finditer(code):
            value = int(m.group(1), 16 if m.group(1).startswith("0x") else 8 if m.group(1)[:1] == "0" and len(m.group(1)) > 1 else 10)
            add(m.start(), m.end(), hex(value + 1) if m.group(1).startswith("0x") else
                oct(value + 1).replace("0o", "0") if m.group(1)[:1] == "0" and len(m.group(1)) > 1 else str(value + 1))
        for m in BOOL.finditer(code):
            add(m.start(), m.end(), "false" if m.group(1) == "true" else "true")
        if (STATEMENT.match(code) and not re.match(r"\s*(return|break|continue)\b", code)
                and code.count("(") == code.count(")")):
            found.append({"file": path, "line": number, "old": stripped, "new": "",
                          "text": "", "source": text, "occurrence": seen[stripped]})
    return found


def all_mutants(root):
    mutants = []
    for path in model_files(root):
        with open(os.path.join(root, path), encoding="utf-8") as f:
            mutants.extend(mutants_of(path, f.readlines()))
    return mutants


def run(command, cwd, timeout=None):
    return subprocess.run(command, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          text=True, timeout=timeout)


def test_files(root):
    """Test name -> the file that defines it, for the kills per test: a gtest's
    source, or the CMakeLists.txt that adds another test."""
    names = {}
    for top in ("tests", "fuzz"):
        for folder, _, files in os.walk(os.path.join(root, top)):
            for name in files:
                path = os.path.relpath(os.path.join(folder, name), root)
                text = open(os.path.join(folder, name), encoding="utf-8", errors="replace").read()
                if name.endswith(".cpp"):
                    for suite, test in re.findall(r"^TEST(?:_F)?\((\w+),\s*(\w+)\)", text, re.M):
                        names["%s.%s" % (suite, test)] = path
                elif name == "CMakeLists.txt":
                    names.update((test, path) for test in re.findall(r"add_test\(NAME\s+(\w+)", text))
    return names


def failed_tests(output):
    """The tests ctest lists as failed, however they failed; a failure it
    names no test for still kills."""
    listed = output.split("The following tests FAILED:")[-1]
    return sorted(set(re.findall(r"^\s*\d+ - (\S+) \(", listed, re.M))) or ["(ctest)"]


def prepare(work):
    source = os.path.join(work, "src")
    if not os.path.isdir(source):
        os.makedirs(work, exist_ok=True)
        subprocess.run(["git", "clone", "--quiet", ROOT, source], check=True)
    builds = [os.path.join(source, "build-plain"), os.path.join(source, "build-asan")]
    if args.report:
        return source, builds
    # The last commit, and nothing a broken-off run left planted.
    subprocess.run(["git", "-C", source, "fetch", "--quiet", ROOT, "HEAD"], check=True)
    subprocess.run(["git", "-C", source, "checkout", "--quiet", "--force", "FETCH_HEAD"], check=True)
    # Unoptimised: a fault in a header rebuilds most of the tree, and the
    # tests take seconds either way. The standard library checks its bounds,
    # so that a fault reading past a container fails where it reads.
    for build, sanitize in zip(builds, ["", "address"]):
        subprocess.run(["cmake", "-S", source, "-B", build, "-DCMAKE_BUILD_TYPE=None",
                        "-DCMAKE_CXX_FLAGS=-O0 -D_GLIBCXX_ASSERTIONS", "-DWRIGGLET_SANITIZE=" + sanitize,
                        "-DWRIGGLET_BENCH=OFF"] + args.cmake_arg, check=True, stdout=subprocess.DEVNULL)
    return source, builds


def build_and_test(source, builds):
    """None when the plain build fails, else the tests that failed in it or,
    when none did, in the sanitizer build."""
    for build in builds:
        made = run(["cmake", "--build", build, "-j%d" % os.cpu_count()], source)
        if made.returncode != 0:
            return None
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen", ASAN_OPTIONS="detect_leaks=1",
                   UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1")
        tested = subprocess.run(["ctest", "--test-dir", build, "-j%d" % os.cpu_count(), "--timeout", str(args.timeout)],
                                cwd=source, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, env=env)
        if tested.returncode != 0:
            return [t + (" [asan]" if build == builds[-1] else "") for t in failed_tests(tested.stdout)]
    return []


def equivalents(root):
    """Mutant identity -> why no test can tell it from the code. An entry is
    a line "[file] `source line` → `mutated line`" (or "→ deleted") and the
    indented lines of its reason; it names the mutant by its text, not its
    line number, so it lapses when the line changes. "[file#2]" names the
    second line of that text in the file."""
    named, last = {}, None
    path = os.path.join(root, EQUIVALENT)
    for line in open(path, encoding="utf-8") if os.path.exists(path) else []:
        m = re.match(r"^\[([^\s#]+)(?:#(\d+))?\] `(.*)` → (?:`(.*)`|deleted)\s*$", line)
        if m:
            last = (m.group(1), int(m.group(2) or 1), m.group(3).strip(), (m.group(4) or "").strip())
            named[last] = ""
        elif last and line.startswith("  ") and line.strip():
            named[last] = (named[last] + " " + line.strip()).strip()
        elif line.strip() and not line.startswith("#"):
            sys.exit("mutate: %s: not an entry: %s" % (EQUIVALENT, line.rstrip()))
    return named


def identity(m):
    return (m["file"], m["occurrence"], m["source"].strip(), m["text"].strip())


def summarise(mutants, results, names, named):
    per_file = collections.OrderedDict()
    kills, unique = collections.Counter(), collections.Counter()
    survivors, equivalent, wrongly = [], [], []
    mutants = [m for m in mutants if key(m) in results]
    for m in mutants:
        r = results[key(m)]
        row = per_file.setdefault(m["file"], collections.Counter())
        row["mutants"] += 1
        if r is None:
            row["stillborn"] += 1
        elif r:
            row["killed"] += 1
            for t in r:
                kills[t] += 1
            if len(r) == 1:
                unique[r[0]] += 1
            if identity(m) in named:
                wrongly.append(m)
        else:
            row["survived"] += 1
            (equivalent if identity(m) in named else survivors).append(m)
    total = collections.Counter()
    for row in per_file.values():
        total.update(row)
    lines = ["# Mutation run: %d of %d mutants, seed %d" % (len(mutants), args.count, args.seed), ""]

    def score(row):
        live = row["mutants"] - row["stillborn"]
        return "%.1f%%" % (100.0 * row["killed"] / live) if live else "-"

    real = dict(total, mutants=total["mutants"] - len(equivalent))
    lines += ["Score %s: %d killed, %d survived, %d stillborn." % (score(total), total["killed"], total["survived"],
                                                                    total["stillborn"]), "",
              "Over the %d mutants %s does not name equivalent: %s." % (real["mutants"] - real["stillborn"], EQUIVALENT,
                                                                        score(real)), "",
              "| file | mutants | stillborn | killed | survived | score |", "|---|---|---|---|---|---|"]
    for path, row in sorted(per_file.items()):
        lines.append("| %s | %d | %d | %d | %d | %s |" % (path, row["mutants"], row["stillborn"], row["killed"],
                                                         row["survived"], score(row)))
    def change(m):
        return "deleted `%s`" % m["old"] if m["new"] == "" and m["text"] == "" else "`%s` → `%s`" % (m["old"], m["new"])

    lines += ["", "## Survivors", ""]
    lines += ["- %s:%d: %s" % (m["file"], m["line"], change(m)) for m in survivors] or ["None."]
    lines += ["", "## Survivors named equivalent", ""]
    lines += ["- %s:%d: %s: %s" % (m["file"], m["line"], change(m), named[identity(m)]) for m in equivalent] or ["None."]
    if wrongly:
        lines += ["", "## Named equivalent, but killed (the entry is wrong)", ""]
        lines += ["- %s:%d: %s: %s" % (m["file"], m["line"], change(m), ", ".join(results[key(m)])) for m in wrongly]
    lines += ["", "## Kills per test", "", "| test | file | kills | only it |", "|---|---|---|---|"]
    for test, count in kills.most_common():
        lines.append("| %s | %s | %d | %d |" % (test, names.get(test.split(" ")[0], "?"), count, unique[test]))
    return "\n".join(lines) + "\n"


def build_key(source):
    """A name for what the build and the tests are made of at HEAD."""
    listed = run(["git", "ls-tree", "-r", "HEAD"], source).stdout.splitlines()
    kept = "\n".join(line for line in listed if not NOT_BUILT.match(line.split("\t", 1)[1]))
    return hashlib.sha1(kept.encode()).hexdigest()[:12]


def key(m):
    return "%s:%d:%s:%s:%s" % (m["file"], m["line"], m["old"], m["new"], m["text"])


def draw(root):
    mutants = all_mutants(root)
    return random.Random(args.seed).sample(mutants, min(args.count, len(mutants))), mutants


def main():
    if args.list:
        drawn, mutants = draw(ROOT)
        for m in drawn:
            print("%s:%d: %r -> %r" % (m["file"], m["line"], m["old"], m["new"]))
        print("%d drawn of %d" % (len(drawn), len(mutants)))
        known = {identity(m) for m in mutants}
        for entry in equivalents(ROOT):
            if entry not in known:
                print("%s names no mutant of the code (lapsed): %s#%d `%s` → `%s`" % ((EQUIVALENT,) + entry))
        return
    source, builds = prepare(args.work)
    drawn, _ = draw(source)
    journal = os.path.join(args.work, "results-%s-%d.jsonl" % (build_key(source), args.seed))
    results = {}
    if os.path.exists(journal):
        for line in open(journal):
            entry = json.loads(line)
            results[entry["key"]] = entry["failed"]
    if args.report:
        drawn = [m for m in drawn if key(m) in results]
    elif any(key(m) not in results for m in drawn) and build_and_test(source, builds) != []:
        sys.exit("mutate: the tests do not pass without a mutant")
    for i, m in enumerate(drawn, 1):
        if args.report or key(m) in results:
            continue
        started = time.monotonic()
        path = os.path.join(source, m["file"])
        original = open(path, encoding="utf-8").read()
        lines = original.split("\n")
        lines[m["line"] - 1] = m["text"]
        with open(path, "w", encoding="utf-8") as f:
            f.write("\n".join(lines))
        try:
            failed = build_and_test(source, builds)
        finally:
            with open(path, "w", encoding="utf-8") as f:
                f.write(original)
        results[key(m)] = failed
        with open(journal, "a") as f:
            f.write(json.dumps({"key": key(m), "failed": failed}) + "\n")
        state = "stillborn" if failed is None else ("killed by %d" % len(failed) if failed else "SURVIVED")
        print("[%d/%d] %s:%d %r -> %r: %s (%.0f s)" % (i, len(drawn), m["file"], m["line"], m["old"], m["new"], state,
                                                     time.monotonic() - started), flush=True)
    summary = summarise(drawn, results, test_files(source), equivalents(source))
    if args.summary:
        with open(args.summary, "w") as f:
            f.write(summary)
    print(summary)


main()
