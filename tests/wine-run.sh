#!/bin/sh
# Runs a Windows program under the test prefix. Wine's output goes to a file
# first: Wine's own background processes would keep a pipe open.
. "$(dirname "$0")/wine-env.sh"
log=$(mktemp)
"$WINE" "$@" >"$log" 2>&1 </dev/null
status=$?
cat "$log"
rm -f "$log"
exit $status
