#!/usr/bin/env python3
"""Checks the layering of the tree from its #include lines.

- The core folders (engine, formats, render, viewer, generators, app) include
  no Qt header and nothing from gui/, cli/, tools/, tests/ or bench/.
- gui/ is built in three floors: the main frame and the program-wide windows
  at its top, a room for each family of windows (gui/editor, gui/viewer,
  gui/generators) below it, and the parts every window shares (gui/shared)
  at the bottom. No file includes a floor above its own.
- No two folders include each other, directly or through others: the graph
  of folder-to-folder includes (each gui room a folder of its own) has no cycle.
Prints each fault and exits 1 when there is one.
"""
import os
import re
import sys

CORE = ["engine", "formats", "render", "viewer", "generators", "app"]
ABOVE = ["gui", "cli", "tools"]
OUTSIDE_CORE = ABOVE + ["tests", "bench"]
# The floors of gui/: the higher a floor, the more it may include.
GUI_FLOORS = {"gui/shared": 0, "gui/editor": 1, "gui/viewer": 1, "gui/generators": 1, "gui": 2}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
QT_HEADER = re.compile(r"^(Q[A-Z]\w*|Qt\w*/)")


def folder_of(path):
    """The folder a file counts for: its top folder, or tests/<sub> and gui/<room> for those."""
    parts = path.split("/")
    if parts[0] in ("tests", "gui") and len(parts) > 2:
        return parts[0] + "/" + parts[1]
    return parts[0]


def resolve(root, source, target):
    """The repository path an #include "..." names, or None for a system header."""
    for base in (root, os.path.join(root, "tests"), os.path.dirname(os.path.join(root, source))):
        candidate = os.path.normpath(os.path.join(base, target))
        if os.path.isfile(candidate):
            return os.path.relpath(candidate, root)
    return None


def sources(root):
    for top in CORE + OUTSIDE_CORE:
        for folder, _, files in os.walk(os.path.join(root, top)):
            for name in sorted(files):
                if name.endswith((".h", ".cpp")):
                    yield os.path.relpath(os.path.join(folder, name), root)


def find_cycle(graph):
    """One cycle of the folder graph as a list of folders, or None."""
    state = {}
    stack = []

    def visit(node):
        state[node] = "open"
        stack.append(node)
        for nxt in sorted(graph.get(node, ())):
            if state.get(nxt) == "open":
                return stack[stack.index(nxt):] + [nxt]
            if nxt not in state:
                found = visit(nxt)
                if found:
                    return found
        stack.pop()
        state[node] = "done"
        return None

    for node in sorted(graph):
        if node not in state:
            found = visit(node)
            if found:
                return found
    return None


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
    faults = []
    graph = {}
    for path in sources(root):
        own = folder_of(path)
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as text:
            for number, line in enumerate(text, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                quote, target = match.groups()
                if own in CORE and QT_HEADER.match(target):
                    faults.append(f"{path}:{number}: core file includes the Qt header <{target}>")
                    continue
                if quote != '"':
                    continue
                resolved = resolve(root, path, target)
                if resolved is None:
                    continue
                other = folder_of(resolved)
                if own in CORE and other.split("/")[0] in OUTSIDE_CORE:
                    faults.append(f"{path}:{number}: core file includes {resolved}, which sits above the core")
                if GUI_FLOORS.get(other, -1) > GUI_FLOORS.get(own, 2):
                    faults.append(f"{path}:{number}: {own} file includes {resolved}, a floor above it")
                if other != own:
                    graph.setdefault(own, set()).add(other)
    cycle = find_cycle(graph)
    if cycle:
        faults.append("folders include each other: " + " -> ".join(cycle))
    for fault in faults:
        print(fault)
    if faults:
        return 1
    print(f"include check: {sum(1 for _ in sources(root))} files, {len(graph)} folders, no upward include, no cycle")
    return 0


if __name__ == "__main__":
    sys.exit(main())
