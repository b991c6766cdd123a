#!/usr/bin/env bash
# Fails when the manual page of a program leaves out an option that the
# program's --help lists, or names another program.
# Usage: man_matches_help.sh PROGRAM PAGE
set -euo pipefail
program=$1 page=$2
name=$(basename "$program")

fail() { echo "man_matches_help: $name: $*" >&2; exit 1; }

help=$("$program" --help) || fail "--help failed"
[[ -s $page ]] || fail "no page at $page"
# The page's text as a reader sees it: groff's escaped hyphens and font
# changes undone.
text=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' -e 's/\\[,\/]//g' -e 's/\\(aq/'"'"'/g' "$page")

grep -qE "^\.TH \"?${name^^}\"? +\"?1\"?" <<<"$text" || fail "the page is not ${name}(1)"
grep -q "^$name - " <<<"$text" || fail "the NAME line does not name $name"

options=$(grep -oE '(^|[][ ,(|])--?[A-Za-z][A-Za-z0-9-]*' <<<"$help" |
  sed -E 's/^[][ ,(|]//' | sort -u)
[[ -n $options ]] || fail "--help lists no options"
missing=()
while read -r opt; do
  grep -qE -- "(^|[^A-Za-z0-9-])${opt}([^A-Za-z0-9-]|$)" <<<"$text" || missing+=("$opt")
done <<<"$options"
((${#missing[@]} == 0)) || fail "options in --help but not in the page: ${missing[*]}"
echo "$name: $(wc -l <<<"$options") options, all in the page"
