#!/bin/sh
# Runs one libFuzzer target of a VEG_FUZZ build on its seeds, under AddressSanitizer and
# UndefinedBehaviorSanitizer.
#   fuzz/run-libfuzzer.sh BUILD_DIR TARGET [libFuzzer options, e.g. -runs=1000000]
# The seeds (fuzz/corpus/TARGET, and those fuzz_make_seeds wrote into the build) are converted to
# raw inputs in BUILD_DIR/fuzz/work/TARGET/seeds; the corpus grows in .../corpus, and a finding is
# written to BUILD_DIR/fuzz/work/TARGET/ (crash-*, timeout-*, leak-*).
set -eu
build=$(cd "$1" && pwd)
target=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
work=$build/fuzz/work/$target
mkdir -p "$work/seeds" "$work/corpus"
for f in "$here/corpus/$target"/* "$build/fuzz/corpus/$target"/*; do
    [ -f "$f" ] || continue
    case $f in
    *.hex) sed 's/#.*//' "$f" | xxd -r -p >"$work/seeds/$(basename "$f" .hex)" ;;
    *) cp "$f" "$work/seeds/" ;;
    esac
done
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$here/../scripts/lsan.supp:print_suppressions=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
exec "$build/fuzz/fuzz_$target" -artifact_prefix="$work/" "$@" "$work/corpus" "$work/seeds"
