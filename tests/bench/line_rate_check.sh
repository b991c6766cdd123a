#!/usr/bin/env bash
# bench/line_rate, briefly, on the build under test: every workload must run
# the program at line rate to the end and count what it was sent (no two busy
# frames alike, no steady frame changed), and the latency pass must find the
# program's timing lines. The same for the floor reader. No figure is judged:
# a benchmark's numbers belong to the machine, not to a test.
# Usage: line_rate_check.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
src=${1:?usage: line_rate_check.sh SOURCE_DIR BUILD_DIR}
build=${2:?usage: line_rate_check.sh SOURCE_DIR BUILD_DIR}
out=$(mktemp)
trap 'rm -f "$out"' EXIT

check_rows() {  # FILE: each workload once, frames sent and changes counted
  awk '
    $1 == "steady" { s++; if ($2 < 20 || $3 != 0) bad = bad " steady" }
    $1 == "mixed"  { m++; if ($2 < 20) bad = bad " mixed" }
    $1 == "busy"   { b++; if ($2 < 20 || $3 != $2) bad = bad " busy" }
    / bytes not taken/ { bad = bad " dropped" }
    END {
      if (s != 1 || m != 1 || b != 1 || bad != "") {
        print "line_rate_check: unexpected rows (" s "," m "," b ")" bad; exit 1
      }
    }' "$1"
}

# The CPU and wake-ups between two snapshots of the program's threads: one
# thread ran on, one ended (its past must not come off the sum), one began.
python3 - "$src/bench/line_rate" <<'PY'
import runpy, sys
# The bench's functions, without running its main.
bench = runpy.run_path(sys.argv[1], run_name="line_rate")
got = bench["cpu_ns_between"]({"1": (100, 10), "2": (50, 5)}, {"1": (130, 13), "3": (7, 2)})
assert got == (37, 5), f"line_rate_check: cpu_ns_between gave {got}, not (37, 5)"
PY

"$src/bench/line_rate" --build "$build" --seconds 2 --warmup 1 >"$out"
cat "$out"
check_rows "$out"
grep -q '^start-up: window painted [0-9]* ms, first frame painted [0-9]* ms, so on screen at [0-9]* ms$' "$out"
grep -q '^latency, .* p50 [0-9.]* ms, p99 [0-9.]* ms' "$out"

"$src/bench/line_rate" --build "$build" --seconds 2 --warmup 1 --floor >"$out"
cat "$out"
check_rows "$out"
echo "line_rate_check: passed"
