#!/usr/bin/env bash
# Regenerates the outputs of every example model examples/NAME/NAME.vmf with the vmod
# tool: NAME.txt (script), NAME.eps, NAME.png (render), NAME.pdf (print), NAME.svg (anno).
#
# usage: bash examples/regenerate.sh [BUILD_DIR] [OUT_DIR]
#   BUILD_DIR  the build tree holding tools/vmod (default: build/ of this repository)
#   OUT_DIR    where to write, one NAME/ directory per example (default: beside each model)
# The environment variable VMOD_TOOL, when set, names the tool instead of BUILD_DIR/tools/vmod.
#
# A model's file prompts take the lines of NAME.answers, in order. The outputs depend on
# nothing but the models, the tool, Cairo and the installed fonts: the tool is run from
# the repository root on relative model paths (the paths appear in the outputs), in the C
# locale (fontconfig picks fallback fonts by language), and with a fixed SOURCE_DATE_EPOCH
# (the PDF creation date). render-environment.txt records Cairo, libpng and the fonts,
# which the PNG and PDF files depend on.
set -euo pipefail

examples_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(dirname "$examples_dir")

absolute() {
    case "$1" in
    /*) printf '%s\n' "$1" ;;
    *) printf '%s/%s\n' "$PWD" "$1" ;;
    esac
}

build=$(absolute "${1:-$repo/build}")
out=""
if [ $# -ge 2 ]; then
    out=$(absolute "$2")
fi
vmod=${VMOD_TOOL:-$build/tools/vmod}
if [ ! -x "$vmod" ]; then
    echo "regenerate.sh: $vmod not found; build the tool first (cmake --build $build)" >&2
    exit 1
fi

export LC_ALL=C
unset FC_LANG LANGUAGE
export SOURCE_DATE_EPOCH=1767225600 # 2026-01-01 00:00:00 UTC

render_environment() {
    local cairo png fonts
    cairo=$(pkg-config --modversion cairo 2>/dev/null || echo unknown)
    png=$(pkg-config --modversion libpng 2>/dev/null || echo unknown)
    if command -v fc-list >/dev/null 2>&1; then
        fonts=$(fc-list --format '%{file}\n' | sort | md5sum | cut -d' ' -f1)
    else
        fonts=unknown
    fi
    printf 'cairo %s\nlibpng %s\nfonts %s\n' "$cairo" "$png" "$fonts"
}

run() {
    if ! "$@"; then
        echo "regenerate.sh: failed: $*" >&2
        exit 1
    fi
}

cd "$repo"
count=0
for model in examples/*/*.vmf; do
    dir=$(dirname "$model")
    name=$(basename "$model" .vmf)
    [ "$(basename "$dir")" = "$name" ] || continue
    dest="$dir"
    if [ -n "$out" ]; then
        dest="$out/$name"
        mkdir -p "$dest"
    fi

    # The examples name data under /data that need not be on this machine: the model is
    # checked, its files are not.
    if ! report=$("$vmod" check --no-files "$model"); then
        printf '%s\n' "$report" >&2
        echo "regenerate.sh: $model is not ready to run" >&2
        exit 1
    fi

    answers=()
    if [ -f "$dir/$name.answers" ]; then
        while IFS= read -r line || [ -n "$line" ]; do
            answers+=(--answer "$line")
        done <"$dir/$name.answers"
    fi
    # No terminal: a prompt without an answer cancels instead of waiting.
    run "$vmod" script "$model" -o "$dest/$name.txt" ${answers[@]+"${answers[@]}"} </dev/null
    run "$vmod" eps "$model" "$dest/$name.eps"
    run "$vmod" render "$model" "$dest/$name.png"
    run "$vmod" print "$model" "$dest/$name.pdf"
    run "$vmod" anno "$model" "$dest/$name.svg"
    count=$((count + 1))
done

render_environment >"${out:-$examples_dir}/render-environment.txt"
echo "regenerated $count examples into ${out:-$examples_dir}"
