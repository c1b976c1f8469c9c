#!/usr/bin/env bash
# Installs what is missing, builds from scratch and runs every test headless: once as built for use,
# once more under AddressSanitizer and UndefinedBehaviorSanitizer. Warnings are errors in both. With
# clang installed, the fuzzers are built and each is run briefly.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

# One style: every C++ file as clang-format writes it.
if ! git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror; then
    echo "Some files are not formatted: run clang-format -i on them." >&2
    exit 1
fi

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

rm -rf build/test build/test-sanitize
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANE_WERROR=ON
cmake --build build/test -j"$jobs"
ctest --test-dir build/test --output-on-failure -j"$jobs"

cmake -S . -B build/test-sanitize -DCMAKE_BUILD_TYPE=Debug -DKORVANE_WERROR=ON -DKORVANE_SANITIZE=ON \
    -DKORVANE_BENCH=OFF
cmake --build build/test-sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
    LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build/test-sanitize --output-on-failure -j"$jobs"

# With clang and its libFuzzer: the fuzzers, each run for a few seconds from its seeds (new inputs go
# to build/fuzz).
has_libfuzzer() {
    echo 'extern "C" int LLVMFuzzerTestOneInput(const char *, unsigned long) { return 0; }' |
        clang++ -x c++ -fsanitize=fuzzer - -o /dev/null 2>/dev/null
}
if command -v clang++ >/dev/null && has_libfuzzer; then
    rm -rf build/fuzz
    CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVANE_WERROR=ON \
        -DKORVANE_FUZZ=ON
    cmake --build build/fuzz -j"$jobs" --target fuzzers
    for fuzzer in build/fuzz/bin/fuzz_*; do
        input=${fuzzer##*/fuzz_}
        corpora=("build/fuzz/corpus/$input")
        mkdir -p "${corpora[0]}"
        [ -d "fuzz/corpus/$input" ] && corpora+=("fuzz/corpus/$input")
        echo "Fuzzing $input for 5 s"
        "$fuzzer" -max_total_time=5 -artifact_prefix="build/fuzz/$input-" "${corpora[@]}" >"build/fuzz/$input.log" 2>&1 ||
            { tail -n 40 "build/fuzz/$input.log"; exit 1; }
    done
fi
