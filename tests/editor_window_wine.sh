#!/bin/sh
# tarva-editor's Windows build as a user drives it, in a real Win32 window under wine:
#   editor_window_wine.sh wine-run tarva-editor.exe      (DISPLAY set, see with-xvfb.sh)
# wine maps each top-level Win32 window, menus and dialogs included, to an X11 window of
# its own, so xdotool finds them by name and class and moves the real pointer over them:
# the editor's window procedure, TrackPopupMenu and the common file dialog run as in any
# Windows host. What reached the host is read back from tarva-editor's log.
set -u
wine_run=$1
editor=$2
if ! command -v xdotool >/dev/null 2>&1; then
    echo "editor_window_wine: xdotool is not installed (scripts/setup installs it): skipped"
    exit 77
fi

work=$(mktemp -d)
editor_pid=""
finish()
{
    # A failed step leaves the program running: without its display it ends at once.
    [ -z "$editor_pid" ] || kill "$editor_pid" 2>/dev/null
    rm -rf "$work"
}
trap finish EXIT
cd "$work" || exit 1
started=$(date +%s)

fail()
{
    echo "FAIL: $*"
    echo "--- host log"
    cat host.log 2>/dev/null
    echo "--- tarva-editor's errors"
    cat stderr 2>/dev/null
    exit 1
}

# Polls the command every 50 ms until it succeeds; fails after 60 s (wine may be slow to
# start on a busy machine; nothing else waits that long unless something is wrong).
wait_for()
{
    what=$1
    shift
    deadline=$(($(date +%s) + 60))
    until "$@"; do
        [ "$(date +%s)" -lt "$deadline" ] || fail "timed out waiting for $what"
        sleep 0.05
    done
}

log_lines() { wc -l <host.log; }
# The log after its first $1 lines.
log_after() { tail -n +"$(($1 + 1))" host.log; }
has_line_after() { log_after "$1" | grep -q "$2"; }
# The last value an 'automate INDEX VALUE' line after the first $1 lines gave index $2.
automated_after() { log_after "$1" | awk -v index_="$2" '$1 == "automate" && $2 == index_ { v = $3 } END { print v }'; }

# The top-level windows of tarva-editor.exe on screen, with their geometry.
editor_windows()
{
    for id in $(xdotool search --onlyvisible --classname '^tarva-editor\.exe$' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$id")" # sets WINDOW, X, Y, WIDTH, HEIGHT
        # shellcheck disable=SC2153
        echo "$WINDOW $X $Y $WIDTH $HEIGHT"
    done
}
# A visible window of the program other than the editor's: a menu or a dialog.
find_popup() { popup=$(editor_windows | awk -v main="$window" '$1 != main' | head -n 1); [ -n "$popup" ]; }
no_popup() { ! find_popup; }
find_window() { window=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1); [ -n "$window" ]; }
no_window_named() { [ -z "$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null)" ]; }

# In the editor: pointer to client coordinates x y, then the rest of xdotool's arguments.
in_editor() { x=$1 y=$2; shift 2; xdotool mousemove --window "$window" "$x" "$y" "$@"; }

# One click on Power: a whole gesture, begin, value, end.
click_power()
{
    seen=$(log_lines)
    in_editor 829 55 click 1
    wait_for "Power's gesture" has_line_after "$seen" '^endEdit 14$'
    gesture=$(log_after "$seen" | tr '\n' '|')
    case "$gesture" in
        "beginEdit 14|automate 14 0.25|endEdit 14|" | "beginEdit 14|automate 14 0.75|endEdit 14|") ;;
        *) fail "one click on Power gave: $gesture" ;;
    esac
    power=$(automated_after "$seen" 14)
}

"$wine_run" --own-desktop "$editor" --program 0 --log host.log >stdout 2>stderr &
editor_pid=$!
wait_for "the editor's window" find_window "Morvane TARVA"
main=$window
echo "window up after $(($(date +%s) - started)) s"
# The client area is the editor: 870 by 101 pixels.
eval "$(xdotool getwindowgeometry --shell "$window")"
if [ "$WIDTH" -ne 870 ] || [ "$HEIGHT" -ne 101 ]; then
    fail "the window is $WIDTH x $HEIGHT"
fi
grep -q '^program 0 ' host.log || fail "no start on program 0"

# Power, twice: on and off again, each a gesture of its own.
click_power
first=$power
click_power
[ "$first" != "$power" ] || fail "Power did not toggle ($first, then $power)"

# Fbck: 50 pixels up, then 50 down (past the window's edge: the editor keeps the mouse
# while the button is down), a quarter of its range each way (linear knob mode).
seen=$(log_lines)
in_editor 217 55 mousedown 1
in_editor 217 5 mouseup 1
wait_for "the Fbck drag up" has_line_after "$seen" '^endEdit 6$'
[ "$(log_after "$seen" | head -n 1)" = "beginEdit 6" ] || fail "the drag did not begin an edit of Fbck"
! log_after "$seen" | grep -v ' 6$' | grep -v -q '^automate 6 ' || fail "the drag touched more than Fbck"
up=$(automated_after "$seen" 6)
seen=$(log_lines)
in_editor 217 55 mousedown 1
in_editor 217 105 mouseup 1
wait_for "the Fbck drag down" has_line_after "$seen" '^endEdit 6$'
down=$(automated_after "$seen" 6)
awk -v up="$up" -v down="$down" 'BEGIN { d = up - down; exit !(d > 0.2499 && d < 0.2501) }' ||
    fail "Fbck went up to $up and down to $down, not a quarter apart"

# The program menu: TrackPopupMenu's window, one column of the 17 programs; the sixth row
# makes program 5 current, the host is told and finds it in the state.
seen=$(log_lines)
in_editor 326 93 click 1
wait_for "the program menu" find_popup
read -r _ menu_x menu_y menu_width menu_height <<EOF
$popup
EOF
[ "$menu_height" -ge $((17 * 12)) ] || fail "the menu is $menu_width x $menu_height pixels: not 17 rows"
xdotool mousemove "$((menu_x + 30))" "$((menu_y + menu_height * 11 / 34))" click 1
wait_for "program 5" has_line_after "$seen" '^program 5 '
has_line_after "$seen" '^updateDisplay$' || fail "the host was not told of the new program"
wait_for "the menu to close" no_popup

# The about screen lies over the whole editor and takes the next click itself: the click
# on Power closes it, and only the second click reaches Power.
seen=$(log_lines)
in_editor 836 27 click 1
in_editor 829 55 click 1
click_power
[ "$(log_after "$seen" | grep -c '^beginEdit 14$')" -eq 1 ] ||
    fail "Power was reached under the about screen"

# Load preset: the common file dialog, cancelled with Escape. Nothing is loaded and the
# editor carries on.
seen=$(log_lines)
in_editor 185 93 click 1
wait_for "the file dialog" find_window "Load preset"
dialog=$window
window=$main
xdotool mousemove --window "$dialog" 100 100 key Escape
wait_for "the dialog to close" no_window_named "Load preset"
click_power
! log_after "$seen" | grep -v -q ' 14' || fail "cancelling the dialog changed something"

# Alt+F4 closes the window; the program closes the editor and the plug-in and ends well.
in_editor 400 50 key alt+F4
wait_for "tarva-editor to end" sh -c "! kill -0 $editor_pid 2>/dev/null"
wait "$editor_pid"
status=$?
editor_pid=""
[ "$status" -eq 0 ] || fail "tarva-editor ended with $status"
# wine's own notes (the file dialog's look at the Z: drive, say) may come before.
! grep -q '^tarva-editor:' stderr || fail "tarva-editor reported an error"
echo "PASS in $(($(date +%s) - started)) s"
