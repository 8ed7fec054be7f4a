#!/usr/bin/env bash
# Fuzzes every target of tests/fuzz/ with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, one after the other, SECONDS each (default 60):
#     scripts/fuzz.sh [SECONDS]
# Installs clang when missing and builds in build-fuzz/. Each target starts
# from its checked-in corpus tests/fuzz/corpus/NAME/, copied into
# build-fuzz/corpus/NAME/, which keeps what earlier runs found; the checked-in
# corpus changes only by hand. A finding is written to build-fuzz/findings/NAME/
# (cleared at the start of the target's run) and makes the script fail;
# checked in under tests/fuzz/corpus/NAME/, it stays a test of the suite.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

seconds="${1:-60}"
mosaikon_install_packages "${mosaikon_base_packages[@]}" clang
build="$mosaikon_root/build-fuzz"
cmake -S "$mosaikon_root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DMOSAIKON_FUZZ=ON >/dev/null
cmake --build "$build" -j2 --target fuzzers

# Scratch files of the targets stay inside the build folder.
mkdir -p "$build/tmp"
export TMPDIR="$build/tmp" UBSAN_OPTIONS=print_stacktrace=1
failed=0
for corpus in "$mosaikon_root"/tests/fuzz/corpus/*/; do
    name="$(basename "$corpus")"
    work="$build/corpus/$name"
    findings="$build/findings/$name"
    log="$build/findings/$name.log"
    mkdir -p "$work"
    rm -rf "$findings"
    mkdir -p "$findings"
    cp "$corpus"* "$work/"
    status=0
    "$build/tests/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$findings/" -print_final_stats=1 "$work" >"$log" 2>&1 || status=$?
    executions="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
    found="$(find "$findings" -type f | wc -l)"
    printf '%-16s %12s executions  %d finding(s)\n' "$name" "${executions:-?}" "$found"
    if [ "$found" -ne 0 ] || [ "$status" -ne 0 ]; then
        find "$findings" -type f -printf '    %p\n'
        echo "    log: $log"
        failed=1
    fi
done
exit "$failed"
