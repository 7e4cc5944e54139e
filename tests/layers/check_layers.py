#!/usr/bin/env python3
"""Checks every #include "folder/..." under a source tree against its Layers.txt.

Usage: check_layers.py SRC_DIR. Prints one line per include a folder may not use, naming the
file and line, and exits 1 when there is any; also refuses Qt headers outside the Qt folders,
source folders missing from the table, and a table with a circle in it. Only the platform folder
may know the operating system: its headers and its macros are refused everywhere else.
"""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
SYSTEM_HEADER = re.compile(
    r"(windows|winbase|winreg|shlobj|shellapi|io|direct|unistd|fcntl|dlfcn|pwd|spawn|poll|dirent)\.h$|^sys/",
    re.IGNORECASE)
SYSTEM_MACRO = re.compile(r"^\s*#\s*(if|ifdef|ifndef|elif)\b.*\b(_WIN32|_WIN64|__MINGW32__|__MINGW64__|_MSC_VER|"
                          r"__linux__|__unix__|__APPLE__|__CYGWIN__)\b")
PLATFORM = "platform"


def read_table(src):
    layers = {}
    for raw in (src / "Layers.txt").read_text(encoding="utf-8").splitlines():
        line = raw.split("#", 1)[0].split()
        if not line:
            continue
        folder, kind, *deps = line
        layers[folder] = (kind, set(deps))
    return layers


def find_circle(layers):
    state = {}

    def visit(folder, path):
        if state.get(folder) == "done":
            return None
        if state.get(folder) == "open":
            return path[path.index(folder):] + [folder]
        state[folder] = "open"
        for dep in sorted(layers.get(folder, ("", set()))[1]):
            circle = visit(dep, path + [folder])
            if circle:
                return circle
        state[folder] = "done"
        return None

    for folder in sorted(layers):
        circle = visit(folder, [])
        if circle:
            return circle
    return None


def layer_of(rel, layers):
    # The longest table folder that holds the path: tools/forms before tools.
    parts = rel.split("/")
    for n in range(len(parts) - 1, 0, -1):
        folder = "/".join(parts[:n])
        if folder in layers:
            return folder
    return None


def main():
    src = pathlib.Path(sys.argv[1]).resolve()
    layers = read_table(src)
    problems = []
    circle = find_circle(layers)
    if circle:
        problems.append("Layers.txt: circle " + " -> ".join(circle))
    for dep in sorted({d for _, deps in layers.values() for d in deps} - set(layers)):
        problems.append(f"Layers.txt: unknown folder {dep}")
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp", ".in") or not path.is_file():
            continue
        rel = path.relative_to(src).as_posix()
        own = layer_of(rel, layers)
        if own is None:
            problems.append(f"{rel}: folder not in Layers.txt")
            continue
        kind, allowed = layers[own]
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            if own != PLATFORM and SYSTEM_MACRO.match(line):
                problems.append(f"{rel}:{number}: {own} may not ask which system it is built for")
            m = INCLUDE.match(line)
            if not m:
                continue
            quote, target = m.groups()
            if quote == "<":
                if own != PLATFORM and SYSTEM_HEADER.search(target):
                    problems.append(f"{rel}:{number}: {own} may not use the system's own header ({target})")
                if kind != "qt" and re.match(r"Q[A-Za-z]*(/|$)", target):
                    problems.append(f"{rel}:{number}: {own} may not use Qt ({target})")
                continue
            used = layer_of(target, layers)
            if used is None or used == own:
                continue
            if used not in allowed:
                problems.append(f"{rel}:{number}: {own} may not include {used} ({target})")
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
