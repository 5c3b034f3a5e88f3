#!/bin/sh
# Scores the terrain guess of tessary-cli on maps whose provinces all have their true terrain: for
# every MAP, a fifth of the provinces given as examples and the others guessed, over N draws.
#
#   scripts/measure-terrain.sh [-c CLI] [-n DRAWS] [-s FIRST_SEED] MAP...
#   scripts/measure-terrain.sh -n 40 build/bin/maps/style_*.map build/bin/maps/aelfheim_painted.map
#
# The README's forty-draw figures are seeds 1 to 40 (-n 40), 41 to 80 (-n 40 -s 41) and so on; the
# test's floors are the five draws of seeds 1 to 5, the default. To compare two programs, give -c the
# tessary-cli of each one's own build tree: the CLI loads its picture code from the
# tessary-cli-pictures.so beside it, so a copy of the CLI elsewhere in a tree runs that tree's code.
set -eu
cli=build/bin/tessary-cli
draws=5
seed=1
while [ $# -gt 0 ]; do
    case $1 in
    -c) cli=$2; shift 2 ;;
    -n) draws=$2; shift 2 ;;
    -s) seed=$2; shift 2 ;;
    *) break ;;
    esac
done
[ $# -gt 0 ] || { echo "usage: $0 [-c CLI] [-n DRAWS] [-s FIRST_SEED] MAP..." >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for map in "$@"; do
    # Exit 1 only says that the map logged errors; the figures are printed all the same.
    status=0
    "$cli" guess-terrain "$map" "$work/out.map" --draws "$draws" --seed "$seed" >"$work/report" 2>"$work/errors" ||
        status=$?
    if [ "$status" -gt 1 ]; then cat "$work/errors" >&2; exit "$status"; fi
    grep -q "as examples" "$work/report" || { echo "$map: not every province has terrain, nothing to score" >&2; exit 2; }
    printf '%s\n' "$(basename "$map" .map)"
    sed -n 's/^/  /; /as examples\|without a sea example\|wrong a draw/p' "$work/report"
done
