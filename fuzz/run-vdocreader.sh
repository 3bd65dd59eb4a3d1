#!/usr/bin/env bash
# Runs the reader fuzzer for a while, seeded with the documents the normal
# build makes (both as whole files and as bare payloads).
#   fuzz/run-vdocreader.sh BUILD_FUZZ_DIR SECONDS [NORMAL_BUILD_DIR]
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
FUZZ_BUILD=${1:?fuzz build folder}
SECONDS_TO_RUN=${2:-60}
NORMAL_BUILD=${3:-$ROOT/build}
CORPUS=$ROOT/fuzz-corpus/vdocreader
mkdir -p "$CORPUS"
for doc in "$NORMAL_BUILD"/bin/*.vdoc; do
    [ -f "$doc" ] || continue
    python3 - "$doc" "$CORPUS" <<'PY'
import sys, zlib, os
data = open(sys.argv[1], 'rb').read()
name = os.path.basename(sys.argv[1])
open(os.path.join(sys.argv[2], name + '.file'), 'wb').write(b'\0' + data)
open(os.path.join(sys.argv[2], name + '.payload'), 'wb').write(b'\1' + zlib.decompress(data[12:]))
PY
done
cd "$ROOT"
"$FUZZ_BUILD/fuzz/fuzz_vdocreader" -max_total_time="$SECONDS_TO_RUN" -max_len=65536 \
    -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 "$CORPUS"
