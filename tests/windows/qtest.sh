#!/usr/bin/env bash
# Runs a QTest program under Wine and prints its log. A Windows program without a console of its own
# (so one that Wine starts from a Linux shell) gets QTest's log sent to the debugger instead of its
# standard output: the log goes to a file, printed when the program ends.
set -uo pipefail
log=$(mktemp)
"${KORVANE_WINE:-/usr/lib/wine/wine64}" "$@" -o "Z:$log,txt"
status=$?
cat "$log"
rm -f "$log"
exit $status
