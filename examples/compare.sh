#!/usr/bin/env bash
# Regenerates every example into WORK_DIR and compares the result with the files checked
# in beside the models. Each model, read and saved again, must come back unchanged; the
# scripts, EPS and SVG files must match byte for byte; so must the PNG and PDF files when
# Cairo, libpng and the fonts are those that made the checked-in ones
# (render-environment.txt), since their pixels and glyphs come from there.
#
# usage: bash examples/compare.sh BUILD_DIR [WORK_DIR]   (WORK_DIR: BUILD_DIR/examples/regenerated)
set -euo pipefail

examples_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if [ $# -lt 1 ]; then
    echo "usage: bash examples/compare.sh BUILD_DIR [WORK_DIR]" >&2
    exit 2
fi
build=$1
work=${2:-$build/examples/regenerated}

vmod=${VMOD_TOOL:-$build/tools/vmod}

rm -rf "$work"
mkdir -p "$work"
bash "$examples_dir/regenerate.sh" "$build" "$work"

same_environment=1
if ! cmp -s "$examples_dir/render-environment.txt" "$work/render-environment.txt"; then
    same_environment=0
    echo "note: PNG and PDF files not compared; they were made with another Cairo, libpng or set of fonts:"
    diff "$examples_dir/render-environment.txt" "$work/render-environment.txt" || true
fi

failures=0
compared=0
for model in "$examples_dir"/*/*.vmf; do
    dir=$(dirname "$model")
    name=$(basename "$model" .vmf)
    [ "$(basename "$dir")" = "$name" ] || continue
    for ext in txt eps svg png pdf; do
        if [ "$same_environment" = 0 ] && { [ "$ext" = png ] || [ "$ext" = pdf ]; }; then
            continue
        fi
        expected="$dir/$name.$ext"
        actual="$work/$name/$name.$ext"
        if [ ! -f "$expected" ]; then
            echo "MISSING: examples/$name/$name.$ext is not checked in"
            failures=$((failures + 1))
        elif ! cmp -s "$expected" "$actual"; then
            echo "DIFFERS: examples/$name/$name.$ext and the regenerated $actual"
            case "$ext" in
            txt | eps | svg) diff -u "$expected" "$actual" | head -40 || true ;;
            esac
            failures=$((failures + 1))
        fi
        compared=$((compared + 1))
    done
    resaved="$work/$name/$name.vmf"
    if ! "$vmod" resave "$model" "$resaved" || ! cmp -s "$model" "$resaved"; then
        echo "DIFFERS: examples/$name/$name.vmf does not read back unchanged (resaved as $resaved)"
        diff -u "$model" "$resaved" | head -40 || true
        failures=$((failures + 1))
    fi
    compared=$((compared + 1))
done

if [ "$compared" = 0 ]; then
    echo "no examples found under $examples_dir" >&2
    exit 1
fi
if [ "$failures" != 0 ]; then
    echo "$failures of $compared example models and outputs differ. If the change is intended, regenerate them with"
    echo "    bash examples/regenerate.sh $build"
    echo "from the repository root, look at the changed files and commit them."
    exit 1
fi
echo "all $compared example models and outputs match"
