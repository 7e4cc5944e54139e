#!/usr/bin/env python3
"""Runs every ssftool example of the README and the manual pages as written, in a scratch
folder holding the files they name (pictures, a theme, a map, a file list, a scheme workbook,
made here), and fails on any example that does not exit 0. The examples of one document run
in order in one folder, so a later one may use what an earlier one wrote.

usage: check_examples.py SSFTOOL MAPS_DIR MAKE_XLS DOCUMENT...
"""
import json
import os
import re
import shlex
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib


SOURCE_DIR = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def examples(path):
    """The lines that run ssftool: README code blocks, .EX/.EE blocks of a manual page."""
    text = open(path, encoding="utf-8").read()
    if path.endswith(".md"):
        blocks = re.findall(r"```sh\n(.*?)```", text, re.S)
    else:
        blocks = [b.replace("\\-", "-") for b in re.findall(r"^\.EX\n(.*?)^\.EE", text, re.S | re.M)]
    found = []
    for block in blocks:
        for line in block.splitlines():
            command = re.sub(r"\s+#.*$", "", line).strip()
            words = command.split()
            if words and os.path.basename(words[0]) == "ssftool":
                found.append(command)
    return found


def png(width, height):
    """An RGB PNG with a gradient, so that every format has something to keep."""
    rows = b"".join(
        b"\0" + b"".join(bytes((x * 255 // max(width - 1, 1), y * 255 // max(height - 1, 1), 96))
                         for x in range(width))
        for y in range(height))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


class Scratch:
    def __init__(self, ssftool, maps_dir, make_xls, folder):
        self.ssftool, self.maps_dir, self.make_xls, self.folder = ssftool, maps_dir, make_xls, folder

    def tool(self, *args):
        r = subprocess.run([self.ssftool, "--maps", self.maps_dir, *args], cwd=self.folder,
                           capture_output=True, text=True)
        if r.returncode != 0:
            raise RuntimeError(f"making the fixtures: ssftool {' '.join(args)}: {r.stderr.strip()}")
        return r.stdout

    def write(self, name, data):
        with open(os.path.join(self.folder, name), "wb") as f:
            f.write(data)

    def make(self):
        """Every file the examples read, under the name they use."""
        self.write("in.png", png(240, 320))
        self.write("big.png", png(300, 400))
        self.tool("convert", "big.png", "big.jpg")
        self.write("menu.png", png(240, 320))
        self.tool("convert", "in.png", "wallpaper.jpg")
        self.write("colours.tab", bytes(range(256)) * 4)
        # A theme of the 40-file model, every theme file filled: the pictures stretched to
        # the map's sizes, the two colour tables at their sizes.
        pictures = ["in.png"] * 38
        self.write("c512.tab", bytes(512))
        self.write("c256.tab", bytes(256))
        self.tool("new", "--model", "QB-X240", "-o", "THEME.ssf", "--fit", "stretch",
                  *pictures, "c512.tab", "c256.tab")
        info = json.loads(self.tool("info", "THEME.ssf", "--json"))
        file3 = next(f for f in info["files"] if f["index"] == 3)
        self.write("pic.png", png(file3["width"], file3["height"]))
        self.write("icon-source.png", png(44, 44))  # the header's icon is 44x44
        self.tool("convert", "icon-source.png", "pic.bmp")
        self.tool("ifeg", "encode", "in.png", "PIC.ifg")
        shutil.copy(os.path.join(self.maps_dir, "QB-X240.rxt"), os.path.join(self.folder, "MY.rxt"))
        shutil.copy(os.path.join(SOURCE_DIR, "fuzz", "corpus", "filelist", "list.flm"),
                    os.path.join(self.folder, "IN.flm"))
        self.write("A.tab", bytes(range(32)))
        self.write("B.tab", bytes(range(32, 64)))
        scheme = {"sheets": [{"name": "Colors", "rows": [
            ["", "GT-A", "GT-B"], ["Цвет1", "entry 0", "entry 3"], ["Цвет2", "entry 1", "entry 2"]]}]}
        with open(os.path.join(self.folder, "scheme.json"), "w", encoding="utf-8") as f:
            json.dump(scheme, f)
        # Debian's own interpreter carries python3-xlwt; another python3 may come first in PATH.
        python = "/usr/bin/python3" if os.path.exists("/usr/bin/python3") else sys.executable
        subprocess.run([python, self.make_xls, "scheme.json", "scheme.xls"], cwd=self.folder, check=True)


def main():
    if len(sys.argv) < 5:
        print(__doc__, file=sys.stderr)
        return 2
    ssftool, maps_dir, make_xls = (os.path.abspath(a) for a in sys.argv[1:4])
    documents = sys.argv[4:]
    bin_dir = os.path.dirname(os.path.abspath(ssftool))
    faults, ran = [], 0
    for doc in documents:
        lines = examples(doc)
        if not lines and doc.endswith(".md"):
            faults.append(f"{doc}: no ssftool example found")
        with tempfile.TemporaryDirectory() as folder:
            Scratch(ssftool, maps_dir, make_xls, folder).make()
            # "build/bin/ssftool" and a bare "ssftool" both mean the program under test.
            os.symlink(bin_dir, os.path.join(folder, "bin"))
            os.makedirs(os.path.join(folder, "build"))
            os.symlink(bin_dir, os.path.join(folder, "build", "bin"))
            env = dict(os.environ, PATH=bin_dir + os.pathsep + os.environ.get("PATH", ""),
                       SSF_MANAGER_HOME=os.path.dirname(os.path.abspath(maps_dir)))
            for line in lines:
                r = subprocess.run(shlex.split(line), cwd=folder, env=env, capture_output=True, text=True)
                ran += 1
                if r.returncode != 0:
                    faults.append(f"{doc}: `{line}` exits {r.returncode}: {r.stderr.strip()}")
    for f in faults:
        print(f)
    if not faults:
        print(f"all {ran} examples run")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
