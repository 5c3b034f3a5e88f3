#!/bin/sh
# Scores both neighbour guesses of tessary-cli on maps that carry their true #neighbour lines:
# for every MAP, recall and precision of the exact guess and of the region guess.
#
#   scripts/measure-neighbours.sh [-c CLI] MAP...
#   scripts/measure-neighbours.sh build/bin/maps/style_*.map build/bin/maps/aelfheim_painted.map
#
# Recall is the share of the map's own pairs a guess finds, precision the share of its pairs that
# are true. Pairs across the picture's edges count like any other.
set -eu
cli=build/bin/tessary-cli
if [ "${1:-}" = "-c" ]; then cli=$2; shift 2; fi
[ $# -gt 0 ] || { echo "usage: $0 [-c CLI] MAP..." >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

pairs() { # the #neighbour lines of a map, each pair once, smaller number first
    tr -d '\r' <"$1" | awk '$1 == "#neighbour" { a = $2 + 0; b = $3 + 0; if (a > b) { t = a; a = b; b = t } print a " " b }' | sort -u
}

printf '%-24s %6s  %-22s %-22s\n' map pairs "exact recall/precision" "regions recall/precision"
for map in "$@"; do
    pairs "$map" >"$work/truth"
    line=$(printf '%-24s %6s' "$(basename "$map" .map)" "$(wc -l <"$work/truth")")
    for how in exact regions; do
        out="$work/$how.map"
        # The guess writes OUT beside the picture so that it can be opened; exit 1 only means the
        # map logged errors.
        if [ "$how" = regions ]; then flag=--regions; else flag=; fi
        "$cli" guess-neighbours "$map" "$out" $flag >/dev/null 2>&1 || [ $? -eq 1 ]
        pairs "$out" >"$work/guess"
        found=$(comm -12 "$work/truth" "$work/guess" | wc -l)
        awk -v f="$found" -v t="$(wc -l <"$work/truth")" -v g="$(wc -l <"$work/guess")" \
            'BEGIN { printf "%5.1f%% / %5.1f%%          ", t ? 100 * f / t : 0, g ? 100 * f / g : 0 }' >>"$work/cells"
    done
    printf '%s  %s\n' "$line" "$(cat "$work/cells")"
    rm -f "$work/cells"
done
