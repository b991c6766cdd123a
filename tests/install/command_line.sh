#!/usr/bin/env bash
# The programs' command lines as a shell user meets them: --help and
# --version answer on standard output and exit 0 without a window, and the
# program without a display says so in one line and exits with status 2
# instead of aborting.
# Usage: command_line.sh VELTRASCOPE DECODE SIM
set -euo pipefail
program=$1 decode=$2 sim=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
fail() { echo "command_line: $*" >&2; status=1; }

# Runs a command with no display of any kind; fills out, err, rc.
run() {
  rc=0
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_SESSION_TYPE \
    XDG_CONFIG_HOME="$scratch/config" "$@" >"$scratch/out" 2>"$scratch/err" || rc=$?
  out=$(<"$scratch/out") err=$(<"$scratch/err")
}

for tool in "$program" "$decode" "$sim"; do
  name=$(basename "$tool")
  run "$tool" --version
  [[ $rc == 0 && -z $err ]] || fail "$name --version: status $rc, stderr '$err'"
  [[ $(head -n1 <<<"$out") =~ ^$name\ \(Veltra\ Scope\)\ [0-9]+\.[0-9]+\.[0-9]+$ ]] ||
    fail "$name --version: first line '$(head -n1 <<<"$out")'"
  run "$tool" --help
  [[ $rc == 0 && -z $err ]] || fail "$name --help: status $rc, stderr '$err'"
  grep -qi "^usage: $name" <<<"$out" || fail "$name --help: no usage line"
done

run "$program" --help
grep -q -- "--version" <<<"$out" || fail "veltrascope --help does not list --version"
# Nothing was started: no settings store was made.
[[ ! -e $scratch/config ]] || fail "--help touched the settings store"

no_display="cannot connect to a display: set DISPLAY, or run from a desktop session"
run "$program"
[[ $rc == 2 ]] || fail "without DISPLAY: status $rc, not 2"
[[ $err == "$no_display" ]] || fail "without DISPLAY: stderr '$err'"
# A display that does not answer is as good as none; so is a platform asked
# for by name whose server is absent.
run env DISPLAY=:65000 "$program"
[[ $rc == 2 && $err == "$no_display" ]] || fail "DISPLAY=:65000: status $rc, stderr '$err'"
run env QT_QPA_PLATFORM=xcb "$program"
[[ $rc == 2 && $err == "$no_display" ]] || fail "QT_QPA_PLATFORM=xcb: status $rc, stderr '$err'"
run "$program" -platform xcb
[[ $rc == 2 && $err == "$no_display" ]] || fail "-platform xcb: status $rc, stderr '$err'"
[[ ! -e $scratch/config ]] || fail "the program without a display touched the settings store"

exit $status
