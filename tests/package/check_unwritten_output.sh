#!/bin/sh
# ssftool whose output cannot be written (a full disk: /dev/full) says so and fails, rather
# than ending as a success with nothing written.
tool=$1
err=$("$tool" --version 2>&1 >/dev/full)
code=$?
[ "$code" = 1 ] || { echo "exit code $code, expected 1 (stderr: $err)"; exit 1; }
case "$err" in
  *"не удалось записать вывод"*) ;;
  *) echo "no message on stderr: '$err'"; exit 1 ;;
esac
# The same tool, written normally, succeeds.
"$tool" --version >/dev/null || { echo "--version failed"; exit 1; }
echo "ok"
