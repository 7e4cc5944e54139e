#!/usr/bin/env python3
"""Runs the bash completion of ssftool on a table of command lines, in a scratch folder
of files of several kinds, and compares what it offers with what a user expects.

usage: check_completion.py COMPLETION_SCRIPT BIN_DIR
"""
import os
import shlex
import subprocess
import sys
import tempfile

# (words typed, the last one being completed; exactly what is offered)
CASES = [
    (["check"], {"check", "check-map"}),
    (["--"], {"--maps", "--help", "--version"}),
    (["--maps", ""], {"sub"}),
    (["info", ""], {"t.ssf", "U.SSF", "sub"}),
    (["--maps", "sub", "info", "t"], {"t.ssf"}),
    (["info", "t.ssf", "--"], {"--json"}),
    (["check-map", ""], {"m.rxt", "sub"}),
    (["export-res", "t.ssf", ""], {"p.res", "sub"}),
    (["export-res", "t.ssf", "p.res", ""], set()),
    (["copy-colors", "s.xls", ""], {"a.tab", "sub"}),
    (["convert", "a.png", ""], {"a.png", "a.tab", "m.rxt", "p.res", "s.xls", "t.ssf", "U.SSF", "sub"}),
    (["convert", "a.png", "b.raw", "--size", ""], set()),
    (["icon", "t.ssf", ""], {"get", "set", "clear"}),
    (["icon", "t.ssf", "set", "a"], {"a.png", "a.tab"}),
    (["icon", "t.ssf", "clear", "-"], {"-o"}),
    (["ifeg", "e"], {"encode"}),
    (["ifeg", "encode", "a.png", "o.ifg", "--mode", ""], {"1", "2", "3"}),
    (["new", "--model", "QB"], {"QB-X240", "QB-C176"}),
    (["new", "--model", "QB-X240", "-o", ""], {"t.ssf", "U.SSF", "sub"}),
    (["new", "--map", ""], {"m.rxt", "sub"}),
    (["new", "--type", ""], {"0", "1"}),
    (["new", "--from", ""], {"p.res", "sub"}),
    (["new", "--model", "QB-X240", "-o", "t.ssf", "a"], {"a.png", "a.tab"}),
    (["replace", "t.ssf", ""], set()),
    (["maps", ""], set()),
    (["no-such-command", ""], set()),
]


def complete(script, bin_dir, folder, words):
    line = ["ssftool"] + words
    program = (
        f"source {shlex.quote(script)}\n"
        f"COMP_WORDS=({' '.join(shlex.quote(w) for w in line)})\n"
        f"COMP_CWORD={len(line) - 1}\n"
        "_ssftool\n"
        "printf '%s\\n' \"${COMPREPLY[@]}\"\n"
    )
    env = dict(os.environ, PATH=bin_dir + os.pathsep + os.environ.get("PATH", ""))
    env.pop("SSF_MANAGER_HOME", None)
    run = subprocess.run(["bash", "--norc", "--noprofile", "-c", program], cwd=folder, env=env,
                         capture_output=True, text=True, encoding="utf-8")
    errors = [e for e in run.stderr.splitlines() if "compopt" not in e]
    return {w for w in run.stdout.splitlines() if w}, errors


def main():
    script, bin_dir = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    faults = []
    with tempfile.TemporaryDirectory() as folder:
        for name in ["t.ssf", "U.SSF", "m.rxt", "p.res", "a.png", "a.tab", "s.xls"]:
            open(os.path.join(folder, name), "w").close()
        os.mkdir(os.path.join(folder, "sub"))
        open(os.path.join(folder, "sub", "t2.ssf"), "w").close()

        # Every command of the help is offered first.
        help_text = subprocess.run([os.path.join(bin_dir, "ssftool"), "--help"],
                                   capture_output=True, text=True, encoding="utf-8").stdout
        commands = help_text.split("\nКоманды:\n")[1]
        names = {l.split()[0] for l in commands.splitlines() if l.startswith("  ") and not l.startswith("   ")}
        cases = CASES + [([""], names)]

        for words, want in cases:
            got, errors = complete(script, bin_dir, folder, words)
            if got != want or errors:
                faults.append(f"ssftool {' '.join(words)}<TAB>: offered {sorted(got)}, "
                              f"expected {sorted(want)} {' '.join(errors)}")
    for f in faults:
        print(f)
    print(f"{len(cases) - len(faults)} of {len(cases)} command lines complete as expected")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
