#!/usr/bin/env python3
"""Runs the same ssftool commands with the Linux build and with the Windows build under Wine,
each in its own copy of one scratch folder, and fails on any command whose exit code or
standard output differs, or when the two folders end up with different files or bytes.
Messages on standard error name paths in each system's way and are only required to be
there (or not) on both sides.

usage: check_parity.py LINUX_SSFTOOL WINE WINDOWS_SSFTOOL MAPS_DIR MAKE_XLS
"""
import filecmp
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "package"))
from check_examples import Scratch, png  # noqa: E402  (the README examples' fixtures)

FORMATS = ["bmp", "jpg", "png", "raw", "ani2", "ifg"]


def commands():
    """(arguments) lists, run in order; later ones read what earlier ones wrote."""
    runs = [
        ["maps"],
        ["check-map", "MY.rxt"],
        ["check-map", "missing.rxt"],
        ["new", "--model", "QB-X240", "-o", "NEW.ssf", "--author", "Автор", "--name", "Тема",
         "--fit", "stretch"] + ["in.png"] * 38 + ["c512.tab", "c256.tab"],
        ["info", "NEW.ssf", "--json"],
        ["info", "NEW.ssf"],
        ["check", "NEW.ssf", "--json"],
        ["check", "THEME.ssf"],
        ["info", "in.png"],
        # Every route of convert: the sources first, in each format at 240x320.
        ["convert", "in.png", "src.bmp"],
        ["convert", "in.png", "src.jpg"],
        ["convert", "in.png", "src.png"],
        ["convert", "in.png", "src.raw"],
        ["convert", "in.png", "src.ani2"],
        ["convert", "in.png", "src.ifg"],
    ]
    for a in FORMATS:
        for b in FORMATS:
            size = ["--size", "240x320"] if a == "raw" else []
            runs.append(["convert", f"src.{a}", f"{a}-to-{b}.{b}"] + size)
    runs += [
        ["convert", "src.ifg", "lossy.ifg", "--max-error", "2"],
        ["convert", "src.raw", "bad.png"],  # a raw picture needs its size
        ["ifeg", "encode", "in.png", "e1.ifg", "--mode", "1"],
        ["ifeg", "encode", "in.png", "e3.ifg", "--mode", "3", "--max-error", "1"],
        ["ifeg", "decode", "PIC.ifg", "d.png"],
        ["ifeg", "decode", "PIC.ifg", "d.bmp"],
        ["ifeg", "info", "PIC.ifg"],
        ["extract", "NEW.ssf", "0", "x0.jpg"],
        ["extract", "NEW.ssf", "3", "x3.png"],
        ["extract", "NEW.ssf", "3", "x3.raw"],
        ["extract", "NEW.ssf", "38", "x38.tab"],
        ["extract", "NEW.ssf", "99", "x99.png"],
        ["export-res", "NEW.ssf", "OUT.res"],
        ["import-res", "THEME.ssf", "OUT.res", "-o", "BACK.ssf"],
        ["new", "--model", "QB-X240", "-o", "FROMRES.ssf", "--from", "OUT.res"],
        ["replace", "NEW.ssf", "3", "pic.png", "-o", "REPL.ssf"],
        ["icon", "NEW.ssf", "set", "pic.bmp", "-o", "ICON.ssf"],
        ["icon", "ICON.ssf", "get", "icon.png"],
        ["copy-colors", "scheme.xls", "A.tab", "B.tab"],
        ["copy-colors", "scheme.xls", "A.tab", "B.tab", "--reverse"],
        ["flm2flc", "IN.flm", "OUT.flc"],
        ["flc2flm", "OUT.flc", "NEW.flm"],
        ["info", "Тема с пробелом.ssf", "--json"],
        ["convert", "картинка.png", "картинка.bmp"],
    ]
    return runs


def main():
    if len(sys.argv) != 6:
        print(__doc__, file=sys.stderr)
        return 2
    linux, wine, windows, maps_dir, make_xls = sys.argv[1:]
    maps_dir = os.path.abspath(maps_dir)
    faults = []
    with tempfile.TemporaryDirectory() as top:
        base = os.path.join(top, "fixtures")
        os.makedirs(base)
        scratch = Scratch(os.path.abspath(linux), maps_dir, os.path.abspath(make_xls), base)
        scratch.make()
        scratch.write("картинка.png", png(24, 32))
        shutil.copy(os.path.join(base, "THEME.ssf"), os.path.join(base, "Тема с пробелом.ssf"))
        sides = {"linux": [os.path.abspath(linux)], "wine": [wine, os.path.abspath(windows)]}
        folders = {}
        for side in sides:
            folders[side] = os.path.join(top, side)
            shutil.copytree(base, folders[side])
        env = dict(os.environ, WINEDEBUG="-all")
        ran = 0
        for args in commands():
            results = {}
            for side, program in sides.items():
                r = subprocess.run(program + ["--maps", maps_dir] + args, cwd=folders[side], env=env,
                                   capture_output=True)
                results[side] = r
            ran += 1
            a, b = results["linux"], results["wine"]
            shown = "ssftool " + " ".join(args)
            if a.returncode != b.returncode:
                faults.append(f"{shown}: exit code {a.returncode} on Linux, {b.returncode} under Wine "
                              f"({b.stderr.decode('utf-8', 'replace').strip()})")
            elif a.stdout != b.stdout:
                faults.append(f"{shown}: standard output differs:\n--- Linux\n"
                              f"{a.stdout.decode('utf-8', 'replace')}\n--- Wine\n"
                              f"{b.stdout.decode('utf-8', 'replace')}")
            elif bool(a.stderr) != bool(b.stderr):
                faults.append(f"{shown}: a message on one side only: Linux {a.stderr!r}, Wine {b.stderr!r}")
        faults += compare_folders(folders["linux"], folders["wine"])
        files = sum(len(f) for _, _, f in os.walk(folders["linux"]))
    for f in faults:
        print(f)
    if not faults:
        print(f"parity: {ran} commands, {files} files the same on Linux and under Wine")
    return 1 if faults else 0


def compare_folders(left, right, rel=""):
    faults = []
    c = filecmp.dircmp(os.path.join(left, rel), os.path.join(right, rel))
    for name in c.left_only:
        faults.append(f"{os.path.join(rel, name)}: only on Linux")
    for name in c.right_only:
        faults.append(f"{os.path.join(rel, name)}: only under Wine")
    for name in c.common_files:
        if not filecmp.cmp(os.path.join(left, rel, name), os.path.join(right, rel, name), shallow=False):
            faults.append(f"{os.path.join(rel, name)}: bytes differ")
    for name in c.common_dirs:
        faults += compare_folders(left, right, os.path.join(rel, name))
    return faults


if __name__ == "__main__":
    sys.exit(main())
