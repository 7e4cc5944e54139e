#!/usr/bin/env python3
"""Checks a manual page: groff and man read it without a warning (under a UTF-8 locale, where
the Cyrillic renders), no request hides at the end of a text line, it has the sections a reader
looks for, and with --help-of PROGRAM every command and option that `PROGRAM --help`
lists has its place in it, so the page and the program cannot drift apart.

usage: check_man_page.py PAGE [--help-of PROGRAM]
"""
import os
import re
import shutil
import subprocess
import sys

# The line of the help after which the commands are listed.
COMMANDS_HEADING = "Команды:"

SECTIONS = ["NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "EXIT STATUS", "ENVIRONMENT", "FILES"]


def plain(troff):
    """The page's text with the escapes that hide a name undone: \\- and font changes."""
    text = troff.replace("\\-", "-").replace("\\(dq", '"')
    return re.sub(r"\\f[BIRP]", "", text)


# A request glued to the end of a text line ("....TP") is printed as text, and the entry it
# should have started disappears into the paragraph before it; groff says nothing.
GLUED_REQUEST = re.compile(r"\S\.(TP|TQ|PP|LP|IP|RS|RE|SH|SS|EX|EE|br|B|I|BR|BI|IR|RB|RI|IB)\s*$")


def glued_requests(troff):
    return [f"line {n}: a request at the end of a text line: {line.strip()}"
            for n, line in enumerate(troff.splitlines(), 1)
            if not line.startswith((".", "'")) and GLUED_REQUEST.search(line)]


def man_warnings(page):
    """What `man --warnings` says while formatting the page as a reader sees it."""
    if shutil.which("man") is None:
        return ["man is missing: install man-db (scripts/install-deps.sh)"]
    env = dict(os.environ, LC_ALL="C.UTF-8", MANPAGER="cat", PAGER="cat", MANWIDTH="80")
    r = subprocess.run(["man", "--warnings", "-l", page], capture_output=True, text=True, env=env)
    if r.returncode != 0 or r.stderr.strip():
        return [f"man --warnings: {r.stderr.strip()}"]
    return []


def help_commands_and_options(help_text):
    """The command names listed under the "Команды:" heading and every option named anywhere."""
    commands = []
    in_commands = False
    for line in help_text.splitlines():
        if line.startswith(COMMANDS_HEADING):
            in_commands = True
        elif in_commands:
            m = re.match(r"^  ([a-z][a-z0-9-]*)(\s|$)", line)
            if m:
                commands.append(m.group(1))
    options = sorted(set(re.findall(r"(?<![\w-])(--?[a-zA-Z][a-zA-Z0-9-]*)", help_text)))
    return commands, options


def command_entries(troff):
    """The names that start a tagged paragraph (.TP) under COMMANDS."""
    section = ""
    entries = set()
    lines = plain(troff).splitlines()
    for i, line in enumerate(lines):
        if line.startswith(".SH"):
            section = line[3:].strip().strip('"')
        elif section == "COMMANDS" and line.strip() == ".TP" and i + 1 < len(lines):
            words = lines[i + 1].split()
            if len(words) > 1 and words[0] in (".B", ".BI", ".BR"):
                entries.add(words[1].strip('"'))
    return entries


def main():
    args = sys.argv[1:]
    if len(args) not in (1, 3) or (len(args) == 3 and args[1] != "--help-of"):
        print(__doc__, file=sys.stderr)
        return 2
    page = args[0]
    troff = open(page, encoding="utf-8").read()
    faults = []

    lint = subprocess.run(["groff", "-k", "-man", "-ww", "-z", "-Tutf8", page],
                          capture_output=True, text=True)
    if lint.returncode != 0 or lint.stderr:
        faults.append(f"groff warns: {lint.stderr.strip()}")
    faults += man_warnings(page)
    faults += glued_requests(troff)

    headings = {line[3:].strip().strip('"') for line in troff.splitlines() if line.startswith(".SH")}
    faults += [f"no section {s}" for s in SECTIONS if s not in headings]
    if "SSF_MANAGER_HOME" not in troff:
        faults.append("SSF_MANAGER_HOME is not described")

    if len(args) == 3:
        help_text = subprocess.run([args[2], "--help"], capture_output=True, text=True, encoding="utf-8",
                                   check=True).stdout
        commands, options = help_commands_and_options(help_text)
        if not commands:
            faults.append(f"{args[2]} --help lists no commands")
        entries = command_entries(troff)
        faults += [f"no entry under COMMANDS for the command '{c}'" for c in commands if c not in entries]
        text = plain(troff)
        faults += [f"the option '{o}' is not described" for o in options
                   if not re.search(r"(?<![\w-])" + re.escape(o) + r"(?![\w-])", text)]

    for f in faults:
        print(f"{page}: {f}")
    if not faults:
        print(f"{page}: complete")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
