#!/usr/bin/env bash
# Runs one sanitized test executable (ctest puts this in front of every test command of the sanitizer build).
# The leak checker stops every thread at exit through a tracer of its own, and that tracer has been seen to
# crash on a loaded machine after every test had passed: "Tracer caught signal 11" and "LeakSanitizer has
# encountered a fatal error", with no leak found. That is a fault of the sanitizer's runtime, not of the
# program, so exactly that case is run once more. A leak report, a failed test or any other crash keeps
# its exit status.
output=$(mktemp)
trap 'rm -f "$output"' EXIT
"$@" 2>&1 | tee "$output"
status=${PIPESTATUS[0]}
if ((status != 0)) &&
    grep -q "Tracer caught signal" "$output" &&
    grep -q "LeakSanitizer has encountered a fatal error" "$output" &&
    ! grep -q "ERROR: LeakSanitizer: detected memory leaks" "$output" &&
    ! grep -q "\[  FAILED  \]" "$output"; then
    echo "run-sanitized-test: the leak checker's tracer crashed with no leak found; running once more"
    rm -f "$output"
    exec "$@"
fi
exit "$status"
