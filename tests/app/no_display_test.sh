#!/usr/bin/env bash
# Without any display Holdfin says so in one line on standard error and exits with status 1.
set -u
binary=$1
for display in "" ":4242"; do
    err=$(mktemp)
    if [ -z "$display" ]; then
        env -u DISPLAY -u WAYLAND_DISPLAY "$binary" 2>"$err" >/dev/null
    else
        env DISPLAY="$display" "$binary" 2>"$err" >/dev/null
    fi
    status=$?
    lines=$(wc -l <"$err")
    if [ "$status" -ne 1 ] || [ "$lines" -ne 1 ] || ! grep -q 'DISPLAY' "$err"; then
        echo "DISPLAY='$display': status $status, stderr:"; cat "$err"
        rm -f "$err"; exit 1
    fi
    rm -f "$err"
done
echo "1 passed, 0 failed"
