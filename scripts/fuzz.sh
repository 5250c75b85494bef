#!/usr/bin/env bash
# Runs each fuzz target for a bounded time on its committed corpus (fuzz/corpus/<target>/).
#
#   scripts/fuzz.sh [seconds per target, default 60] [target ...]
#
# Needs the sanitizer build (cmake --preset asan), which this script configures and
# builds when it is missing. Inputs that find new paths collect in build/asan/fuzz-work/,
# never in the committed corpus; an input that breaks a rule, crashes, leaks or runs
# longer than 10 seconds is kept in build/asan/fuzz-crashes/<target>/ and the script
# fails. Replay one with: build/asan/fuzz/<target> <file>
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
[ $# -gt 0 ] && shift
all=(fuzz_IniFile fuzz_NotesFile fuzz_LineAssembler fuzz_NoteCommands fuzz_SmtpReplyReader
     fuzz_SmtpSession)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all[@]}")

build=build/asan
if [ ! -f "$build/build.ninja" ]; then
    cmake --preset asan >/dev/null
fi
cmake --build "$build" --target "${targets[@]}"

export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=0"

failed=0
for target in "${targets[@]}"; do
    work="$build/fuzz-work/$target"
    crashes="$build/fuzz-crashes/$target"
    log="$build/fuzz-work/$target.log"
    mkdir -p "$work" "$crashes"
    if "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$crashes/" "$work" "fuzz/corpus/$target" >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
        printf '%-22s %9s inputs in %ss (%s a second)\n' "$target" "$runs" "$seconds" "$rate"
    else
        echo "$target: FOUND A FAULT; the input is in $crashes/, the log in $log" >&2
        grep -E -A3 'broken rule|ERROR:|runtime error|SUMMARY' "$log" | head -20 >&2 || true
        failed=1
    fi
done
exit $failed
