#!/usr/bin/env bash
# Runs every writing command of the vmod tool over the example models and over models
# whose titles, notes and file names are hostile (PostScript and XML special characters,
# quotes, a statement smuggled into a name, line breaks with comment markers, very long
# names, bytes that are not UTF-8), then reads every output with an independent program:
# Ghostscript with -dSAFER for PostScript, xmllint for SVG, pdfinfo and pdffonts for PDF.
# A script is either refused or has no statement outside its quotes that the model did
# not ask for.
#
# usage: VMOD_TOOL=build/tools/vmod bash tests/outside/check_outputs.sh [SCRATCH_DIR]
# Exits 77 (skipped) when one of the readers is missing.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
vmod=${VMOD_TOOL:?set VMOD_TOOL to the vmod program}
scratch=${1:-$(mktemp -d)}
mkdir -p "$scratch"

for tool in gs pdfinfo pdffonts xmllint python3 od; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "skipped: $tool is not installed"
        exit 77
    fi
done
has_cairo=1
# Captured first: with pipefail, grep -q stopping early would fail the pipe.
render_says=$("$vmod" render "$scratch/absent.vmf" "$scratch/absent.png" 2>&1)
case "$render_says" in *"without Cairo"*) has_cairo=0 ;; esac

failures=0
checked=0
fail() {
    echo "FAILED: $1"
    failures=$((failures + 1))
}

# Every comment line of a PostScript file fits in 255 bytes, and the file ends exactly once.
check_postscript_text() {
    local file=$1
    if LC_ALL=C awk 'substr($0,1,1) == "%" && length($0) > 255 { bad = 1 } END { exit bad }' "$file"; then :; else
        fail "$file has a comment line longer than 255 bytes"
    fi
    local eofs
    eofs=$(LC_ALL=C grep -c '^%%EOF' "$file")
    if [ "$eofs" -gt 1 ]; then fail "$file holds $eofs %%EOF lines"; fi
}

check_ghostscript() {
    local file=$1 log
    if ! log=$(gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=nullpage "$file" 2>&1 </dev/null) || [ -n "$log" ]; then
        fail "$file: Ghostscript says: ${log:0:400}"
    fi
}

# The script's text outside double-quoted strings must not hold the marker that every
# hostile string carries: a name that ends a statement early shows up there.
check_script() {
    local file=$1
    if python3 - "$file" <<'EOF'; then :; else fail "$file: a name escaped its quotes"; fi
import re, sys
text = open(sys.argv[1], 'rb').read()
bare = re.sub(rb'"[^"\n]*"', b'', text)
sys.exit(1 if b'INJECTED' in bare else 0)
EOF
}

check_model() {
    local model=$1 name out status
    name=$(basename "$model" .vmf)
    out="$scratch/$name"
    checked=$((checked + 1))

    "$vmod" check "$model" >"$out.check" 2>&1
    status=$?
    if [ "$status" != 0 ] && [ "$status" != 3 ]; then fail "vmod check $model exited $status"; fi
    if LC_ALL=C grep -q $'[\x01-\x08\x0b-\x1f\x7f]' "$out.check"; then
        fail "vmod check $model printed raw control characters"
    fi

    local answers=()
    for i in 1 2 3 4 5 6 7 8; do answers+=(--answer "/data/answer$i.img"); done
    if "$vmod" script "$model" -o "$out.txt" "${answers[@]}" >/dev/null 2>"$out.script.err"; then
        check_script "$out.txt"
    elif [ -e "$out.txt" ]; then
        fail "vmod script $model failed but left $out.txt"
    fi

    if "$vmod" eps "$model" "$out.eps" 2>"$out.eps.err"; then
        check_postscript_text "$out.eps"
        check_ghostscript "$out.eps"
    else
        fail "vmod eps $model: $(head -c 300 "$out.eps.err")"
    fi

    if "$vmod" ps "$model" "$out.ps" 2>"$out.ps.err"; then
        check_postscript_text "$out.ps"
        check_ghostscript "$out.ps"
    else
        fail "vmod ps $model: $(head -c 300 "$out.ps.err")"
    fi

    if "$vmod" anno "$model" "$out.svg" 2>"$out.anno.err"; then
        local log
        if ! log=$(xmllint --noout "$out.svg" 2>&1); then fail "$out.svg: xmllint says: ${log:0:400}"; fi
    else
        fail "vmod anno $model: $(head -c 300 "$out.anno.err")"
    fi

    [ "$has_cairo" = 1 ] || return 0
    if "$vmod" print "$model" "$out.pdf" --dpi 72 2>"$out.print.err"; then
        local log
        if ! log=$(pdfinfo "$out.pdf" 2>&1); then fail "$out.pdf: pdfinfo says: ${log:0:400}"; fi
        if ! log=$(pdffonts "$out.pdf" 2>&1); then fail "$out.pdf: pdffonts says: ${log:0:400}"; fi
    else
        fail "vmod print $model: $(head -c 300 "$out.print.err")"
    fi
    if "$vmod" render "$model" "$out.png" 2>"$out.render.err"; then
        local header
        header=$(od -An -tx1 -N8 "$out.png" | tr -d ' \n')
        [ "$header" = 89504e470d0a1a0a ] || fail "$out.png is not a PNG file"
    else
        fail "vmod render $model: $(head -c 300 "$out.render.err")"
    fi
}

# Hostile variants of the model with every kind of node: each title, the note and the
# file names take the same hostile text.
python3 - "$root/examples/every_kind.vmf" "$scratch" <<'EOF'
import re, sys
source, scratch = sys.argv[1], sys.argv[2]
base = open(source, 'rb').read()
hostile = {
    'postscript': b'a (b)) % c { } [ / ] <> showpage quit INJECTED',
    'xml': b'<svg onload="x"> & &amp; ]]> <!-- INJECTED',
    'quotes': b'in.img"; SYSTEM "rm -rf ~"; INJECTED "',
    'linebreak': b'first\n%%EOF\n%%Page: 9 9\nINJECTED = 1;\nlast',
    'long': b'INJECTED' + b'x' * 1000,
    'bytes': b'caf\xe9 \xff\xfe \xc3\x28 INJECTED',
}
# The model file escapes only the double quote.
def escaped(text):
    return text.replace(b'"', b'\\"')
for name, text in hostile.items():
    model = re.sub(rb'(\n\t(?:TITLE|FILENAME|FEATURE|ATTRIBUTE|AOI) )"(?:[^"\\]|\\.)*"',
                   lambda m: m.group(1) + b'"' + escaped(text) + b'"', base)
    model = re.sub(rb'^TITLE "[^"]*"', b'TITLE "' + escaped(text) + b'"', model)
    open(f'{scratch}/hostile_{name}.vmf', 'wb').write(model)
EOF

for model in "$root"/examples/*.vmf "$root"/examples/*/*.vmf "$scratch"/hostile_*.vmf; do
    check_model "$model"
done

if [ "$failures" != 0 ]; then
    echo "$failures problems in the outputs of $checked models"
    exit 1
fi
echo "outputs of $checked models read back cleanly"
