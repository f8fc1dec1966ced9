#!/bin/bash
# A line longer than 2 GB: the reader's message still gives the true column, which does not
# fit in 32 bits. The model is streamed through a pipe, so nothing lands on the disk.
set -euo pipefail
tool=${VMOD_TOOL:?VMOD_TOOL names the vmod program}
command -v python3 >/dev/null || exit 77

blanks=2147483700 # 2^31 + 52
set +e
message=$(python3 - "$blanks" <<'PY' | "$tool" check /dev/stdin 2>&1
import sys
out = sys.stdout.buffer
out.write(b'TITLE "x";')
left = int(sys.argv[1])
chunk = b' ' * (1 << 22)
while left > 0:
    piece = chunk[:min(left, len(chunk))]
    out.write(piece)
    left -= len(piece)
out.write(b'@')
PY
)
status=$?
set -e
expected="/dev/stdin:1:$((10 + blanks + 1)): unexpected '@'"
if [[ $status -ne 1 || $message != *"$expected"* ]]; then
  echo "expected status 1 and \"$expected\", got status $status:"
  echo "$message"
  exit 1
fi
echo "ok: $expected"
