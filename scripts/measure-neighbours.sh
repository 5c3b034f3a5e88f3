#!/bin/sh
# Scores both neighbour guesses of tessary-cli on maps that carry their true #neighbour lines:
# for every MAP, recall and precision of the exact guess and of the region guess.
#
#   scripts/measure-neighbours.sh [-c CLI] MAP...
#   scripts/measure-neighbours.sh build/bin/maps/style_*.map build/bin/maps/aelfheim_painted.map
#
# Recall is the share of the map's own pairs a guess finds, precision the share of its pairs that
# are true, F1 their harmonic mean. Pairs across the picture's edges count like any other.
set -eu
cli=build/bin/tessary-cli
if [ "${1:-}" = "-c" ]; then cli=$2; shift 2; fi
[ $# -gt 0 ] || { echo "usage: $0 [-c CLI] MAP..." >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

pairs() { # the #neighbour lines of a map, each pair once, smaller number first
    tr -d '\r' <"$1" | awk '$1 == "#neighbour" { a = $2 + 0; b = $3 + 0; if (a > b) { t = a; a = b; b = t } print a " " b }' | sort -u
}

printf '%-24s %6s  %-30s %-30s\n' map pairs "exact recall/precision/F1" "regions recall/precision/F1"
for map in "$@"; do
    pairs "$map" >"$work/truth"
    line=$(printf '%-24s %6s' "$(basename "$map" .map)" "$(wc -l <"$work/truth")")
    for how in exact regions; do
        out="$work/$how.map"
        if [ "$how" = regions ]; then flag=--regions; else flag=; fi
        # Exit 1 only says that the map logged errors; OUT is written all the same.
        status=0
        "$cli" guess-neighbours "$map" "$out" $flag >/dev/null 2>"$work/errors" || status=$?
        if [ "$status" -gt 1 ]; then cat "$work/errors" >&2; exit "$status"; fi
        pairs "$out" >"$work/guess"
        found=$(comm -12 "$work/truth" "$work/guess" | wc -l)
        awk -v f="$found" -v t="$(wc -l <"$work/truth")" -v g="$(wc -l <"$work/guess")" \
            'BEGIN { r = t ? f / t : 0; p = g ? f / g : 0
                     printf "%5.1f%% / %5.1f%% / %5.1f%%     ", 100 * r, 100 * p, r + p ? 200 * r * p / (r + p) : 0 }' >>"$work/cells"
    done
    printf '%s  %s\n' "$line" "$(cat "$work/cells")"
    rm -f "$work/cells"
done
