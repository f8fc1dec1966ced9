#!/usr/bin/env bash
# Checks the example outputs in DIR (default: the checked-in ones beside the models) with
# independent readers: Ghostscript runs each EPS, pdfinfo reads each PDF, xmllint parses
# each SVG, and each PNG must start with the PNG signature and an IHDR chunk.
# Exits 77 (skipped) when one of those programs is missing.
#
# usage: bash examples/validate.sh [DIR]   (DIR holds NAME/NAME.{eps,pdf,svg,png})
set -euo pipefail

examples_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
dir=${1:-$examples_dir}

for tool in gs pdfinfo xmllint od; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "skipped: $tool is not installed"
        exit 77
    fi
done

failures=0
checked=0
fail() {
    echo "INVALID: $1"
    failures=$((failures + 1))
}

for model in "$examples_dir"/*/*.vmf; do
    name=$(basename "$model" .vmf)
    [ "$(basename "$(dirname "$model")")" = "$name" ] || continue
    base="$dir/$name/$name"
    checked=$((checked + 1))

    if ! log=$(gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=nullpage "$base.eps" 2>&1) || [ -n "$log" ]; then
        fail "$base.eps: Ghostscript says: $log"
    fi

    if ! info=$(pdfinfo "$base.pdf" 2>&1); then
        fail "$base.pdf: pdfinfo says: $info"
    elif ! grep -Eq '^Pages: +[1-9]' <<<"$info"; then
        fail "$base.pdf has no pages"
    elif ! grep -q '^Title: *model - ORVAN VISTARA$' <<<"$info"; then
        fail "$base.pdf lacks its document title"
    fi

    if ! log=$(xmllint --noout "$base.svg" 2>&1); then
        fail "$base.svg: xmllint says: $log"
    fi

    # 89 50 4e 47 0d 0a 1a 0a, then the length 13 and "IHDR".
    header=$(od -An -tx1 -N16 "$base.png" | tr -d ' \n')
    if [ "$header" != "89504e470d0a1a0a0000000d49484452" ]; then
        fail "$base.png does not start like a PNG file"
    fi
done

if [ "$checked" = 0 ]; then
    echo "no examples found under $examples_dir" >&2
    exit 1
fi
if [ "$failures" != 0 ]; then
    echo "$failures problems in the outputs of $checked examples under $dir"
    exit 1
fi
echo "outputs of $checked examples under $dir are valid"
