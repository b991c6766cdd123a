#!/usr/bin/env bash
# Checks the simulator's streams from the outside: what veltrascope-decode
# makes of each scenario, faults, stream length and looping, capture replay,
# the outputs, and the command line.
# Usage: scenario_streams.sh SIM DECODE CASE   (CASE: scenarios faults length
# outputs usage)
set -uo pipefail
sim=$1
decode=$2
case=$3
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# summary FILE: alerts and modes that the decoder sees in the stream FILE.
summary() {
    "$decode" --events "$1" | awk -f "$here/alert_summary.awk"
}

# expect_summary WHAT FILE ALERTS-REGEX MODES
expect_summary() {
    local what=$1 file=$2 alerts=$3 modes=$4 got
    got=$(summary "$file") || fail "$what: decode failed"
    [[ $(sed -n 1p <<<"$got") =~ ^alerts:$alerts$ ]] || fail "$what: got $(sed -n 1p <<<"$got")"
    [[ $(sed -n 2p <<<"$got") == "modes: $modes" ]] || fail "$what: got $(sed -n 2p <<<"$got")"
}

# good_frames FILE: candidates between sync bytes that are exactly 25 bytes.
good_frames() {
    od -An -v -tx1 "$1" | tr -s ' \n' '\n\n' | awk '
        $1 == "" { next }
        $1 == "fe" { if (n == 25) good++; n = 0 }
        { n++ }
        END { if (n == 25) good++; print good + 0 }'
}

# The displays (log contents) of a decoded stream, without the times.
contents() {
    "$decode" "$1" | sed 's/^[^ ]* - //'
}

pass='/1/[5-8]/rise-fall/F,FS,R'
A='All Bogies Mode'
expected_alerts() {
    case $1 in
        idle | modes) echo '' ;;
        bands) echo " X$pass K$pass Ka$pass L/1/8/steady/F" ;;
        laser) echo ' L/1/8/steady/F' ;;
        mixed) echo " X/1/2/rise-fall/F,FS,R K/1/[6-8]/rise-fall/F,FS,R Ka$pass X\+K/2/[4-6]/rise-fall/F,FS,R L/1/8/steady/F" ;;
    esac
}
expected_modes() {
    case $1 in
        idle | bands | laser) echo "$A" ;;
        modes) echo "$A|Logic Mode|Advanced Logic Mode|$A" ;;
        mixed) echo "$A|Logic Mode|$A" ;;
    esac
}

case $case in
scenarios)
    for s in idle bands laser modes mixed; do
        for seed in 1 7; do
            f=$tmp/$s.$seed
            "$sim" --scenario "$s" --seed "$seed" --fast --seconds 70 --out "$f" || fail "$s: status $?"
            expect_summary "$s seed $seed" "$f" "$(expected_alerts $s)" "$(expected_modes $s)"
        done
    done
    # The seed moves the timing; the same seed gives the same bytes.
    cmp -s "$tmp/bands.1" "$tmp/bands.7" && fail "seeds 1 and 7 gave the same stream"
    "$sim" --scenario bands --seed 7 --fast --seconds 70 --out "$tmp/again"
    cmp -s "$tmp/bands.7" "$tmp/again" || fail "the same seed gave different streams"
    # The default scenario is the drive.
    "$sim" --fast --seconds 70 --out "$tmp/default"
    cmp -s "$tmp/mixed.1" "$tmp/default" || fail "the default is not mixed with seed 1"
    ;;

faults)
    for s in bands mixed; do
        clean=$tmp/$s.clean
        faulty=$tmp/$s.faulty
        "$sim" --scenario "$s" --seed 5 --fast --seconds 70 --out "$clean"
        "$sim" --scenario "$s" --seed 5 --fast --seconds 70 --faults --out "$faulty"
        frames=$(($(stat -c %s "$clean") / 25))
        good=$(good_frames "$faulty")
        ((good < frames)) || fail "$s: --faults spoiled no frame"
        ((good * 100 >= frames * 85)) || fail "$s: only $good of $frames frames survive"
        # The same alerts come through...
        [[ $(summary "$faulty" | head -1) == $(summary "$clean" | head -1) ]] ||
            fail "$s: faults changed the alerts: $(summary "$faulty" | head -1)"
        # ...and nothing the clean stream never showed: every display the
        # decoder sees is one of the clean stream's, in the same order.
        contents "$clean" >"$tmp/c"
        contents "$faulty" >"$tmp/f"
        awk 'NR == FNR { c[++n] = $0; next }
             { while (i < n && c[++i] != $0) {} if (c[i] != $0) bad = 1 }
             END { exit bad }' "$tmp/c" "$tmp/f" ||
            fail "$s: the faulty stream shows displays the clean one does not"
    done
    ;;

length)
    "$sim" --seconds 2.5 --fast --out "$tmp/short"
    [[ $(stat -c %s "$tmp/short") == 1800 ]] || fail "--seconds 2.5 gave $(stat -c %s "$tmp/short") bytes"
    # One pass of a scenario, then the same with --loop for three passes.
    "$sim" --scenario laser --seed 2 --fast --out "$tmp/once"
    size=$(stat -c %s "$tmp/once")
    ((size > 0 && size % 25 == 0)) || fail "one pass of laser is $size bytes"
    secs=$(awk -v b="$size" 'BEGIN { printf "%.6f", 3 * b / 720 }')
    "$sim" --scenario laser --seed 2 --fast --loop --seconds "$secs" --out "$tmp/loop"
    cmp -s "$tmp/loop" <(cat "$tmp/once" "$tmp/once" "$tmp/once") || fail "--loop is not the pass repeated"
    # Without --loop a longer --seconds keeps showing the last display.
    "$sim" --scenario laser --seed 2 --fast --seconds "$secs" --out "$tmp/held"
    [[ $(stat -c %s "$tmp/held") == $((3 * size)) ]] || fail "held stream has the wrong length"
    cmp -s -n "$size" "$tmp/once" "$tmp/held" || fail "held stream does not start with the pass"
    last=$(tail -c 25 "$tmp/once" | od -An -v -tx1 -w25)
    tail=$(tail -c +$((size + 1)) "$tmp/held" | od -An -v -tx1 -w25 | sort -u)
    [[ $tail == "$last" ]] || fail "held stream does not repeat the last frame"
    ;;

outputs)
    # A capture with faults, replayed byte for byte, once and looped.
    "$sim" --scenario mixed --seed 3 --faults --fast --seconds 20 --out "$tmp/cap"
    "$sim" --play "$tmp/cap" --fast --out "$tmp/copy" || fail "--play: status $?"
    cmp -s "$tmp/cap" "$tmp/copy" || fail "--play changed the capture"
    "$sim" --play "$tmp/cap" --fast --loop --seconds 40 --out "$tmp/copy2"
    cmp -s "$tmp/copy2" <(cat "$tmp/cap" "$tmp/cap") || fail "--play --loop is not the capture twice"
    # stdout, into a pipe.
    "$sim" --play "$tmp/cap" --fast --out - | cmp -s - "$tmp/cap" || fail "--out - differs"
    expect_summary "piped laser" <("$sim" --scenario laser --fast --out -) "$(expected_alerts laser)" "$A"
    # A FIFO: the simulator waits for its reader.
    mkfifo "$tmp/fifo"
    "$sim" --scenario laser --fast --out "$tmp/fifo" &
    cat "$tmp/fifo" >"$tmp/from-fifo"
    wait $! || fail "FIFO: status $?"
    "$sim" --scenario laser --fast --out "$tmp/laser"
    cmp -s "$tmp/from-fifo" "$tmp/laser" || fail "FIFO output differs"
    # A reader that leaves a pipe early ends the stream without an error.
    "$sim" --loop --fast --out - 2>"$tmp/err" | head -c 1000 >/dev/null
    status=${PIPESTATUS[0]}
    [[ $status == 0 ]] || fail "pipe reader leaving: status $status"
    grep -q "the reader closed" "$tmp/err" || fail "pipe reader leaving: no message"
    ;;

usage)
    : >"$tmp/empty"
    mkdir "$tmp/dir"
    while IFS='|' read -r message args; do
        # shellcheck disable=SC2086
        "$sim" $args >"$tmp/out" 2>"$tmp/err"
        status=$?
        [[ $status == 2 ]] || fail "'$args': status $status, not 2"
        grep -qF -- "$message" "$tmp/err" || fail "'$args': no '$message' in: $(cat "$tmp/err")"
        [[ -s $tmp/out ]] && fail "'$args': wrote to stdout"
    done <<EOF_CASES
unknown option '--bogus'|--bogus
unexpected argument 'extra'|extra
unknown scenario 'nope'; choose one of idle, bands, laser, modes, mixed|--scenario nope
--seconds needs|--seconds 0
--seconds needs|--seconds -1
--seconds needs|--seconds abc
--seconds needs|--seconds inf
--seconds needs|--seconds 2s
--seed needs|--seed -3
--seed needs|--seed 99999999999999999999
option --out needs a value|--out
option --fast takes no value|--fast=1
exclude each other|--play $tmp/empty --scenario bands
is empty|--play $tmp/empty
cannot read the capture $tmp/missing|--play $tmp/missing
cannot open $tmp/missing/x|--out $tmp/missing/x
is a directory|--out $tmp/dir
EOF_CASES
    help=$("$sim" --help) || fail "--help: status $?"
    for s in idle bands laser modes mixed; do
        grep -q "^  $s " <<<"$help" || fail "--help does not describe $s"
    done
    ;;

*)
    echo "unknown case $case" >&2
    exit 2
    ;;
esac

((failures == 0))
