#!/usr/bin/env python3
"""The desktop's own validators accept the desktop entry and the AppStream metadata, and
the metadata's newest release is the project's version.

usage: check_desktop_data.py DESKTOP_FILE METAINFO_FILE PROJECT_VERSION
"""
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ET


def run(tool, package, *args):
    if shutil.which(tool) is None:
        return [f"{tool} is missing: install {package} (scripts/install-deps.sh)"]
    r = subprocess.run([tool, *args], capture_output=True, text=True)
    # desktop-file-validate says nothing for a clean file, hints included.
    quiet_needed = tool == "desktop-file-validate"
    if r.returncode != 0 or (quiet_needed and (r.stdout or r.stderr)):
        return [f"{tool} refuses {args[-1]}:\n{r.stdout}{r.stderr}"]
    return []


def main():
    desktop, metainfo, version = sys.argv[1:4]
    faults = run("desktop-file-validate", "desktop-file-utils", desktop)
    faults += run("appstreamcli", "appstream", "validate", "--no-net", "--pedantic", metainfo)
    releases = ET.parse(metainfo).getroot().findall("./releases/release")
    newest = releases[0].get("version") if releases else None
    if newest != version:
        faults.append(f"{metainfo}: the newest release is {newest}, the project is {version}")
    for f in faults:
        print(f)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
