#!/usr/bin/env bash
# Sets up, builds and runs every test through CTest; the exit code is the suite's.
# Extra arguments go to ctest, for example: scripts/test.sh -R projectfile
# With --sanitize first, the suite is built in build-sanitize/ with
# AddressSanitizer and UndefinedBehaviorSanitizer, and any finding fails it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

mosaikon_install_packages "${mosaikon_base_packages[@]}" acme 64tass
if [ "${1:-}" = "--sanitize" ]; then
    shift
    mosaikon_build="$mosaikon_root/build-sanitize"
    flags="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
    cmake -S "$mosaikon_root" -B "$mosaikon_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" >/dev/null
    cmake --build "$mosaikon_build" -j2
    # The toolkit keeps some memory until the very end of a program: leaks
    # are not looked for, every other finding stops the test.
    export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1
else
    mosaikon_build_all
fi
cd "$mosaikon_build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 "$@"
