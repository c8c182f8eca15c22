#!/bin/sh
# Runs a command on a private X server:  with-xvfb.sh command [arguments]
# Xvfb takes a free display number of its own choosing (-displayfd), so that tests started
# at once never share one; DISPLAY names it while the command runs, and it is stopped
# afterwards. Without Xvfb the command is not run and the exit code is 77, which CTest
# counts as a skipped test (SKIP_RETURN_CODE).
set -u
if ! command -v Xvfb >/dev/null 2>&1; then
    echo "with-xvfb: Xvfb is not installed (scripts/setup installs it): skipped"
    exit 77
fi
work=$(mktemp -d)
server=""
stop()
{
    [ -z "$server" ] || { kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; }
    rm -rf "$work"
}
trap stop EXIT
trap 'exit 143' INT TERM

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
server=$!
# The number arrives, with its newline, once the server accepts connections.
tries=0
until grep -q '^[0-9][0-9]*$' "$work/display" 2>/dev/null; do
    if ! kill -0 "$server" 2>/dev/null || [ "$tries" -ge 200 ]; then
        echo "with-xvfb: Xvfb did not start" >&2
        exit 1
    fi
    tries=$((tries + 1))
    sleep 0.05
done
DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY
"$@"
