#!/usr/bin/env python3
"""Mutation testing of the core: how many small faults does the suite catch?

  scripts/mutants.sh pick [N] [SEED]   writes N mutation sites (default 150)
                                       to tests/data/mutant_sites.txt
  scripts/mutants.sh run [FILTER [SKIP [COUNT]]]
                                       applies each site's mutation in turn,
                                       (only files whose path holds FILTER, or
                                       one of its comma-separated parts; the
                                       first SKIP of those passed over and at
                                       most COUNT run, to resume or share a
                                       run),
                                       rebuilds incrementally (build-mutants/),
                                       runs the core's test programs and
                                       reports which mutants survived

A site is one small change to one line of a core source file: a comparison
flipped (< to <=, == to !=, ...), + and - swapped, a whole-number constant
changed by one, a condition negated, or a statement dropped. Sites are picked
once, spread over the core folders by a fixed seed, and kept in a file, so
that runs before and after a change of the tests measure the same mutants.
Each site stores its line's text; a run finds the line again when lines have
moved, and reports a site whose line is gone as stale.

A mutant is killed when a test program fails or does not finish in 300 s,
survives when all pass, and is invalid when it does not compile (those do
not count). Run it in a checkout of its own: it edits the sources in place,
restoring each file before the next mutant and on Ctrl+C. The GUI tests are
not run (the core's behaviour is checked by the core's tests).
"""
import os
import random
import re
import signal
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CORE = ["engine", "formats", "render", "viewer", "generators", "app"]
SITES = os.path.join(ROOT, "tests", "data", "mutant_sites.txt")
BUILD = os.path.join(ROOT, "build-mutants")
# The test programs that check the core, with the folder each checks first.
PROGRAMS = {
    "engine": ["test_engine"],
    "formats": ["test_dxf", "test_export"],
    "render": ["test_render"],
    "viewer": ["test_viewer"],
    "generators": ["test_generators"],
    "app": ["test_app_core", "test_rtf"],
}
ALL_PROGRAMS = [p for f in CORE for p in PROGRAMS[f]] + ["test_cli"]

COMPARISONS = {" < ": " <= ", " <= ": " < ", " > ": " >= ", " >= ": " > ", " == ": " != ", " != ": " == "}
ARITHMETIC = {" + ": " - ", " - ": " + "}
CONSTANT = re.compile(r"(?<![\w.])(\d+)(?![\w.'])")
CONDITION = re.compile(r"\b(if|while) \(")
STATEMENT = re.compile(r"^\s*[A-Za-z_][\w.\->\[\]]*\s*(\(|\+=|-=|\*=|/=|=[^=]|\+\+|--).*;\s*$")


def code_part(line):
    """The line without its // comment and with string and character literals blanked."""
    out = []
    quote = None
    i = 0
    while i < len(line):
        c = line[i]
        if quote:
            if c == "\\":
                out.append("  ")
                i += 2
                continue
            if c == quote:
                quote = None
            out.append(c if quote is None else " ")
        elif c in "\"'":
            quote = c
            out.append(c)
        elif line.startswith("//", i):
            break
        else:
            out.append(c)
        i += 1
    return "".join(out)


def closing_paren(text, start):
    """Index of the parenthesis closing the one at start, or -1."""
    depth = 0
    for i in range(start, len(text)):
        if text[i] == "(":
            depth += 1
        elif text[i] == ")":
            depth -= 1
            if depth == 0:
                return i
    return -1


def candidates(line):
    """Every mutation of one line, as (kind, column, original, replacement)."""
    code = code_part(line)
    stripped = code.strip()
    if not stripped or stripped.startswith(("#", "static_assert", "template")):
        return []
    found = []
    for table, kind in ((COMPARISONS, "cmp"), (ARITHMETIC, "arith")):
        for old, new in table.items():
            for m in re.finditer(re.escape(old), code):
                found.append((kind, m.start(), old, new))
    for m in CONSTANT.finditer(code):
        found.append(("const", m.start(), m.group(1), str(int(m.group(1)) + 1)))
    for m in CONDITION.finditer(code):
        open_at = m.end() - 1
        close_at = closing_paren(code, open_at)
        if close_at > 0:
            original = code[open_at:close_at + 1]
            found.append(("neg", open_at, original, "(!" + original + ")"))
    if STATEMENT.match(code) and not stripped.startswith(("return", "throw", "case", "default")):
        indent = len(line) - len(line.lstrip())
        found.append(("drop", indent, line.strip(), ";"))
    return found


def pick(count, seed):
    pool = {folder: [] for folder in CORE}
    for folder in CORE:
        for name in sorted(os.listdir(os.path.join(ROOT, folder))):
            if not name.endswith(".cpp"):
                continue
            path = f"{folder}/{name}"
            with open(os.path.join(ROOT, path), encoding="utf-8") as f:
                for number, line in enumerate(f, 1):
                    for kind, column, old, new in candidates(line.rstrip("\n")):
                        pool[folder].append((path, number, column, kind, old, new, line.rstrip("\n")))
    total = sum(len(v) for v in pool.values())
    rng = random.Random(seed)
    chosen = []
    for folder in CORE:
        # Each folder's share follows its candidates, at least 15 where it has
        # them, taken from the five kinds in turn.
        share = min(max(15, round(count * len(pool[folder]) / total)), len(pool[folder]))
        kinds = {}
        for site in pool[folder]:
            kinds.setdefault(site[3], []).append(site)
        queues = [rng.sample(sites, len(sites)) for _, sites in sorted(kinds.items())]
        taken = []
        while len(taken) < share:
            for queue in queues:
                if queue and len(taken) < share:
                    taken.append(queue.pop())
        chosen += taken
    chosen.sort()
    with open(SITES, "w", encoding="utf-8") as f:
        f.write("# Mutation sites for scripts/mutants.sh: file, line, column, kind, original, replacement, line text\n")
        for site in chosen:
            f.write("\t".join(str(x) for x in site) + "\n")
    print(f"mutants: {len(chosen)} sites written to {os.path.relpath(SITES, ROOT)}")


def read_sites(filter_text):
    sites = []
    with open(SITES, encoding="utf-8") as f:
        for row in f:
            if row.startswith("#") or not row.strip():
                continue
            path, number, column, kind, old, new, text = row.rstrip("\n").split("\t", 6)
            if filter_text and not any(part in path for part in filter_text.split(",")):
                continue
            sites.append((path, int(number), int(column), kind, old, new, text))
    return sites


def locate(lines, number, text):
    """The index of the site's line: where it was, or the nearest line with the same text."""
    if 0 < number <= len(lines) and lines[number - 1] == text:
        return number - 1
    matches = [i for i, line in enumerate(lines) if line == text]
    return min(matches, key=lambda i: abs(i - number + 1)) if matches else -1


def run_quiet(command, timeout):
    try:
        return subprocess.run(command, cwd=ROOT, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=timeout).returncode
    except subprocess.TimeoutExpired:
        return None


def build(targets):
    return run_quiet(["cmake", "--build", BUILD, "--target"] + targets, 900) == 0


def golden_check():
    """The golden outputs' check as a command, when this checkout has a manifest."""
    script = os.path.join(ROOT, "tests", "scripts", "check_golden.sh")
    manifest = os.path.join(ROOT, "tests", "data", "golden.sha256")
    if not (os.path.exists(script) and os.path.exists(manifest)):
        return None
    return ["bash", script, os.path.join(BUILD, "bin"), manifest]


def verdict(folder, golden=None):
    """('killed', by which check) or ('survived', ''): the folder's own programs
    first, then the others, then the golden outputs when given. Each program is
    linked just before it runs, so a mutant killed early skips the other links."""
    order = PROGRAMS[folder] + [p for p in ALL_PROGRAMS if p not in PROGRAMS[folder]]
    for program in order:
        if not build([program]):
            return "invalid", ""
        code = run_quiet([os.path.join(BUILD, "bin", program), "--gtest_brief=1", "--gtest_fail_fast"], 300)
        if code != 0:
            return "killed", program
    if golden and (not build(["verdel-cli", "verdel_data"]) or run_quiet(golden, 600) != 0):
        return "killed", "golden"
    return "survived", ""


def run(filter_text, skip=0, count=None):
    if not os.path.isdir(BUILD):
        subprocess.run(["cmake", "-S", ROOT, "-B", BUILD, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                        "-DCMAKE_CXX_FLAGS_RELEASE=-O1", "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"],
                       check=True, stdout=subprocess.DEVNULL)
    targets = ALL_PROGRAMS + ["verdel-cli", "verdel_data"]
    if not build(targets) or verdict("engine")[0] != "survived":
        sys.exit("mutants: the unmutated suite does not build and pass; nothing measured")
    golden = golden_check()
    if golden and run_quiet(golden, 600) != 0:
        print("mutants: the golden outputs of this build differ from the manifest; not checked")
        golden = None
    counts = {"killed": 0, "survived": 0, "invalid": 0, "stale": 0}
    survivors = []
    started = time.time()
    # The core library, the batch tool and the data: a mutant that does not
    # compile is invalid; the test programs link as verdict() needs them.
    core = ["verdel_core", "verdel-cli", "verdel_data", "verdel-import"]
    sites = read_sites(filter_text)[skip:]
    for path, number, column, kind, old, new, text in sites[:count] if count else sites:
        full = os.path.join(ROOT, path)
        with open(full, encoding="utf-8") as f:
            original = f.read()
        lines = original.split("\n")
        at = locate(lines, number, text)
        span = slice(column, column + len(old))
        if at < 0 or old not in (lines[at][span], code_part(lines[at])[span]):
            counts["stale"] += 1
            print(f"stale     {path}:{number} {kind}")
            continue
        # A site may keep its code with literals blanked: mutate the real text.
        real = lines[at][span]
        if kind == "neg":
            new = "(!" + real + ")"
        old = real
        lines[at] = lines[at][:column] + new + lines[at][column + len(old):]
        restore = lambda *_: open(full, "w", encoding="utf-8").write(original)
        signal.signal(signal.SIGINT, lambda *a: (restore(), sys.exit(130)))
        try:
            with open(full, "w", encoding="utf-8") as f:
                f.write("\n".join(lines))
            result, by = verdict(path.split("/")[0], golden) if build(core) else ("invalid", "")
        finally:
            restore()
        counts[result] += 1
        print(f"{result:9} {path}:{at + 1} {kind}: {old.strip()} -> {new.strip()}" + (f"  [{by}]" if by else ""),
              flush=True)
        if result == "survived":
            survivors.append(f"{path}:{at + 1} {kind}: {old.strip()} -> {new.strip()}")
    build(targets)
    valid = counts["killed"] + counts["survived"]
    rate = counts["killed"] / valid if valid else 0.0
    print(f"mutants: {counts['killed']} killed, {counts['survived']} survived, {counts['invalid']} invalid, "
          f"{counts['stale']} stale; kill rate {rate:.2f} ({time.time() - started:.0f} s)")
    for line in survivors:
        print("survivor: " + line)


def main():
    args = sys.argv[1:]
    if args[:1] == ["pick"]:
        pick(int(args[1]) if len(args) > 1 else 150, int(args[2]) if len(args) > 2 else 20261207)
    elif args[:1] == ["run"]:
        run(args[1] if len(args) > 1 else "", int(args[2]) if len(args) > 2 else 0,
            int(args[3]) if len(args) > 3 else None)
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
