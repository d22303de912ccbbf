#!/usr/bin/env bash
# Builds the parsers' fuzz targets with clang's libFuzzer and runs each for a
# while: tools/fuzz/run.sh [SECONDS]. Not part of the tests.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
secs="${1:-60}"
out="$here/build-fuzz"
mkdir -p "$out"
core=$(find "$here/src/core" -name '*.cpp')
flags=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -DSI_CONVERT_ICU
       -DVELMORA_VERSION_STRING=\"fuzz\" -DVELMORA_VERSION_MAJOR=1 -DVELMORA_VERSION_MINOR=0
       -DVELMORA_VERSION_PATCH=0 -DVELMORA_VERSION_TWEAK=0 -I"$here/src/core")
for t in fuzz_number_text fuzz_spec_file fuzz_refrig_file; do
  clang++ "${flags[@]}" "$here/tools/fuzz/$t.cpp" $core $(pkg-config --libs simpleini) -o "$out/$t"
  mkdir -p "$out/corpus-$t"
  "$out/$t" -max_total_time="$secs" -max_len=4096 "$out/corpus-$t"
done
