#!/usr/bin/env bash
# Drives the built program on a real X server the way a person would, with
# keyboard and mouse through xdotool, while fake tools and a fake terminal
# record what they are handed. Waits are for windows and files by name, each
# with a time limit, never for a fixed time.
#
#   e2e.sh PROGRAM FIXTURES_DIR ARTIFACTS_DIR
set -euo pipefail

program=$(realpath "$1")
fixtures=$(realpath "$2")
# The captured tool runs; the run window part is skipped without them.
shared=${FERNCASTLE_SHARED_DIR:-$fixtures/../../../shared}
artifacts=$3
mkdir -p "$artifacts"
artifacts=$(realpath "$artifacts")

for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }
done

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    import -display "$DISPLAY" -window root "$artifacts/failure.png" 2>/dev/null || true
    exit 1
}

# --- waiting, with limits ---------------------------------------------------

until_true() { # SECONDS DESCRIPTION COMMAND...
    local limit=$1 what=$2 deadline
    shift 2
    deadline=$((SECONDS + limit))
    until "$@"; do
        ((SECONDS < deadline)) || fail "timed out waiting for $what"
        sleep 0.05
    done
}

visible_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -n 1; }
window_shown() { [[ -n $(visible_window "$1") ]]; }
window_gone() { [[ -z $(visible_window "$1") ]]; }

# Waits for the window, gives it the keyboard and prints its id.
take_window() {
    until_true 20 "window '$1'" window_shown "$1"
    local id
    id=$(visible_window "$1")
    xdotool windowfocus --sync "$id"
    echo "$id"
}

records_of() { grep -lz "^$1\$" "$work"/tools/tool.*.args 2>/dev/null | head -n 1 || true; }
tool_ran() { local r; r=$(records_of "$1"); [[ -n $r && -e ${r%.args}.done ]]; }

# The recorded argv of a tool, one argument a line, its name left out.
tool_argv() { tail -z -n +2 "$(records_of "$1")" | tr '\0' '\n'; }

expect_argv() { # TOOL EXPECTED-LINES
    until_true 20 "$1 to run" tool_ran "$1"
    local got
    got=$(tool_argv "$1")
    [[ $got == "$2" ]] || fail "$1 got arguments:"$'\n'"$got"$'\n'"expected:"$'\n'"$2"
    echo "ok: $1 arguments"
}

# Types a path into the open file dialog and confirms it.
answer_file_dialog() {
    take_window "Select File..." >/dev/null
    xdotool type --delay 5 "$1"
    xdotool key Return
    until_true 20 "the file dialog to close" window_gone "Select File..."
}

# Presses keys in the main window.
main_keys() {
    xdotool windowfocus --sync "$main"
    xdotool key "$@"
}

# The program's visible windows other than the main window: its menus.
popup_window() { xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null | grep -vx "$main" | tail -n 1 || true; }
popup_shown() { [[ -n $(popup_window) ]]; }
popup_gone() { [[ -z $(popup_window) ]]; }
window_y() { xdotool getwindowgeometry --shell "$1" | sed -n 's/^Y=//p'; }

# The status bar under the client area grows with what it shows, so the
# menu bar's height is read from where the File menu opens: right below it.
measure_menu_bar() {
    main_keys alt+f
    until_true 20 "the File menu" popup_shown
    menu_height=$(($(window_y "$(popup_window)") - $(window_y "$main")))
    xdotool key Escape
    until_true 20 "the File menu to close" popup_gone
    xdotool key Escape # out of the menu bar, back to the focused control
    ((menu_height > 0 && menu_height < 100)) || fail "menu bar height $menu_height"
}

# Clicks at a point of the main window's client area, in pixels below the
# menu bar.
click_client() {
    local id=$1 x=$2 y=$3
    xdotool mousemove --window "$id" "$x" $((y + menu_height)) click 1
}

tool_runs() { grep -lz "^$1\$" "$work"/tools/tool.*.args 2>/dev/null | wc -l; }

# --- the stage ----------------------------------------------------------------

mkdir -p "$work"/{bin,tools,disks,config,home}
ln -s "$fixtures/fake-terminal" "$work/bin/x-terminal-emulator"
for tool in cw2dmk dmk2cw dmk2jv3 jv2dmk; do
    ln -s "$fixtures/fake-tool" "$work/tools/$tool"
done
: >"$work/disks/game.dmk"

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
until_true 20 "Xvfb" test -s "$work/display"
export DISPLAY=":$(cat "$work/display")"

export XDG_CONFIG_HOME="$work/config" HOME="$work/home" LANG=C.UTF-8 LC_ALL=C.UTF-8
# Whether this machine has a card decides whether the card check asks
# before Disk to Image; the run here is about what follows, so it is off.
mkdir -p "$work/config"
printf '[Ferncastle]\nSkip%%20Card%%20Check=1\n' >"$work/config/Larkvale.ini"
export PATH="$work/bin:/usr/bin:/bin" QT_QPA_PLATFORM=xcb
export FERNCASTLE_REPLAY="$shared/tool-output/cw2dmk-replay-damaged"
export FERNCASTLE_REPLAY_IMAGE="$FERNCASTLE_REPLAY/produced/out.dmk.gz"
unset QT_QPA_PLATFORMTHEME XDG_CURRENT_DESKTOP
"$program" >"$artifacts/program.log" 2>&1 &
program_pid=$!
pids+=("$program_pid")

# --- first run: the tools folder ------------------------------------------

take_window "Larkvale Ferncastle" >/dev/null
xdotool key Return # "Path to DOS tools files is required."
answer_file_dialog "$work/tools/cw2dmk"
# The folder is stored before the main window shows.
main=$(take_window "Larkvale Ferncastle")
grep -q "^DOS%20Files%20Path=$work/tools/\$" "$work/config/Larkvale.ini" \
    || fail "the tools folder was not stored at once"
echo "ok: tools prompt"
measure_menu_bar

# Tools start in run windows unless this is ticked; the terminal checks
# below run with it ticked.
main_keys alt+o t
until_true 20 "the terminal choice to be stored" \
    grep -q "^Run%20Tools%20in%20a%20Terminal=1\$" "$work/config/Larkvale.ini"
echo "ok: terminal chosen"

# --- options by keyboard, along the tab order -----------------------------

# drive " 1", port 1, kind 2nd, steps unticked, tracks 40, sides " 2",
# encoding MFM, retries "abc" (warned about and left out)
xdotool key space Tab Down Tab space Tab
xdotool type "1"
xdotool key Tab space Tab Down Tab Tab space Tab ctrl+a
xdotool type "40"
xdotool key Tab space Tab Down Tab space Tab Down Tab space Tab ctrl+a
xdotool type "abc"
xdotool key Tab
xdotool type -- "-v 2"

# --- Disk to Image, clicked with the mouse --------------------------------

click_client "$main" 68 380 # cmdRead
take_window "Moorfield" >/dev/null
xdotool key Return # "The 'Number of retries' is not a number. Option not used"
answer_file_dialog "$work/disks/my disk"
expect_argv cw2dmk "-d1
-p1
-k2
-t40
-s2
-e2
-v
2
$work/disks/my disk.DMK"

# --- Image to Disk by its access key --------------------------------------

main_keys alt+i
answer_file_dialog "$work/disks/game.dmk"
expect_argv dmk2cw "-d1
-p1
-k2
-s2
-v
2
$work/disks/game.dmk"

# --- JV to DMK with optional parameters -----------------------------------

: >"$work/disks/converted.DSK"
click_client "$main" 172 457 # txtOptionalParms
xdotool type -- "-k2"
main_keys alt+j
# The Open form: the name as typed, with the default extension, is the file
# to convert, and nothing asks to replace it.
answer_file_dialog "$work/disks/converted"
expect_argv jv2dmk "-k2
$work/disks/converted.DSK"

# --- DMK to JV by Alt+M over an existing JV image --------------------------

printf 'old image\n' >"$work/disks/game.dsk"
click_client "$main" 172 457 # txtOptionalParms
xdotool key ctrl+a BackSpace # empty again
main_keys alt+m
answer_file_dialog "$work/disks/game.dmk"
take_window "Ferncastle" >/dev/null # "…game.dsk already exists… Replace it?"
xdotool key Return # No, the default
until_true 20 "the question to close" window_gone "Ferncastle"
main_keys alt+m
answer_file_dialog "$work/disks/game.dmk"
take_window "Ferncastle" >/dev/null
xdotool key alt+y
expect_argv dmk2jv3 "$work/disks/game.dmk"
[[ $(tool_runs dmk2jv3) == 1 ]] || fail "No to the replace question started dmk2jv3"
echo "ok: replace question for the derived output, none for the input"

# --- Save Options, change a box, Load Options ------------------------------

main_keys alt+s
answer_file_dialog "$work/disks/mine"
expected_file=$(printf '%s\r\n' 1 1 1 0 1 1 1 1 1 1 1 0 40 1 1 abc "-v 2")
file_holds() { [[ -f $1 && $(cat "$1") == "$2" ]]; }
# The file is written once the dialog has gone: wait for it.
until_true 20 "mine.DAT with the window's options" file_holds "$work/disks/mine.DAT" "$expected_file"
echo "ok: options saved"
click_client "$main" 30 40 # ckbDrive: untick it
main_keys alt+s
answer_file_dialog "$work/disks/changed"
first_line_is() { [[ -f $1 && $(head -n 1 "$1") == "$2" ]]; }
until_true 20 "changed.DAT with the drive box unticked" first_line_is "$work/disks/changed.DAT" $'0\r'
main_keys alt+l
answer_file_dialog "$work/disks/mine.DAT"
echo "ok: options loaded"

# --- Presets: the submenu opened by keyboard, pictured for the README -------

popup_count() { xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null | grep -vxc "$main" || true; }
two_popups() { (($(popup_count) >= 2)); }
main_keys alt+o r
until_true 20 "the Presets submenu" two_popups
sleep 0.3 # the last paint
eval "$(xdotool getwindowgeometry --shell "$main" | sed 's/^/MAIN_/')"
eval "$(xdotool getwindowgeometry --shell "$(popup_window)" | sed 's/^/MENU_/')"
right=$((MENU_X + MENU_WIDTH > MAIN_X + MAIN_WIDTH ? MENU_X + MENU_WIDTH : MAIN_X + MAIN_WIDTH))
bottom=$((MENU_Y + MENU_HEIGHT > MAIN_Y + MAIN_HEIGHT ? MENU_Y + MENU_HEIGHT : MAIN_Y + MAIN_HEIGHT))
import -window root -crop "$((right - MAIN_X))x$((bottom - MAIN_Y))+$MAIN_X+$MAIN_Y" +repage \
    "$artifacts/presets-menu.png"
xdotool key Escape Escape
until_true 20 "the menus to close" popup_gone
xdotool key Escape # out of the menu bar, back to the focused control
echo "ok: presets menu"

# --- Preferences and About ---------------------------------------------------

main_keys alt+o p
take_window "Ferncastle - Preferences" >/dev/null
xdotool key alt+c
until_true 20 "Preferences to close" window_gone "Ferncastle - Preferences"
echo "ok: preferences"

main_keys alt+h a
take_window "About Ferncastle" >/dev/null
xdotool key Return
until_true 20 "About to close" window_gone "About Ferncastle"
echo "ok: about"

# --- Image Information and one sector's bytes, pictured for the README -------

# Beside the other disks, so the folder the dialog remembers stays theirs.
cp "$fixtures/dos/xtrs-utility.dsk" "$work/disks/"
main_keys alt+f i
answer_file_dialog "$work/disks/xtrs-utility.dsk"
info_window=$(take_window "Image Information - xtrs-utility.dsk")
sector_title="Sector - xtrs-utility.dsk"
sector_opens() { # Enter on the sector list opens it; Tab walks there
    local deadline=$((SECONDS + 1))
    until window_shown "$sector_title"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.05
    done
}
# The disk holds a directory, so the window opens on its Files tab.
xdotool key alt+s
for _ in 1 2 3 4 5 6; do
    xdotool key Tab Return
    sector_opens && break
done
sector_window=$(take_window "$sector_title")
sleep 0.3 # the last paint
import -window "$sector_window" "$artifacts/sector-view.png"
xdotool key Escape
until_true 20 "the sector view to close" window_gone "$sector_title"
xdotool windowfocus --sync "$info_window"
xdotool key ctrl+w
until_true 20 "Image Information to close" window_gone "Image Information - xtrs-utility.dsk"
echo "ok: sector view, closed by Escape and Ctrl+W"

# --- a picture; a replayed read in a run window; Exit --------------------------

import -window "$main" "$artifacts/main-window.png"

# --- Image Information's Files tab on the LDOS disk, pictured for the README ---

main_keys alt+f i
answer_file_dialog "$fixtures/dos/ld1-531.dsk"
info_window=$(take_window "Image Information - ld1-531.dsk")
sleep 0.3 # the last paint
import -window "$info_window" "$artifacts/files-view.png"
xdotool key alt+c
until_true 20 "Image Information to close" window_gone "Image Information - ld1-531.dsk"
echo "ok: files view"

run_window=""
replayed="$shared/tool-output/cw2dmk-replay-damaged"
if [[ -d $replayed ]]; then
    main_keys alt+o t # back to run windows
    until_true 20 "the run window choice to be stored" \
        grep -q "^Run%20Tools%20in%20a%20Terminal=0\$" "$work/config/Larkvale.ini"
    ln -sf "$fixtures/run/replay-tool" "$work/tools/cw2dmk"
    click_client "$main" 68 380 # cmdRead
    take_window "Moorfield" >/dev/null
    xdotool key Return # the retries warning again
    answer_file_dialog "$work/disks/replayed"
    run_window=$(take_window "cw2dmk .* replayed.DMK")
    transcript="$work/disks/replayed.cw2dmk.txt"
    until_true 20 "the run's end in its transcript" grep -q "^Exit status 0 after" "$transcript"
    grep -q "^Verdict: warning. 3 unrecovered errors in 2 bad tracks: track 5 side 0 (1 sector), track 20 side 0" \
        "$transcript" || fail "transcript:"$'\n'"$(cat "$transcript")"
    grep -q "Read back, replayed.DMK shows the same 3 bad sectors (2 with CRC errors).\$" "$transcript" ||
        fail "no read-back in the transcript:"$'\n'"$(cat "$transcript")"
    sleep 0.3 # the last paint
    import -window "$run_window" "$artifacts/run-window.png"
    colours=$(convert "$artifacts/run-window.png" -format %c histogram:info:-)
    for colour in "#F0E442" "#B2182B" "#4DAF4A"; do # the warning verdict and retried cells, bad and good cells
        grep -qi "$colour" <<<"$colours" || fail "the run window shows no $colour"
    done
    echo "ok: run window (map and verdict on the screenshot)"

    # --- a box of disks: the next one read at a key press, pictured ----------
    xdotool windowfocus --sync "$run_window"
    xdotool key space # Read Next Disk, focused when the read ended
    take_window "cw2dmk .* replayed.DMK" >/dev/null # "Put the next disk in the drive…"
    xdotool key alt+c
    until_true 20 "the second disk's end in its transcript" \
        grep -qs "^Exit status 0 after" "$work/disks/replayed-2.cw2dmk.txt"
    until_true 20 "both disks in the catalog" \
        grep -qs "^replayed-2.DMK," "$work/disks/catalog.csv"
    sleep 0.3 # the last paint
    import -window "$run_window" "$artifacts/batch-read.png"
    echo "ok: two disks read in one run window"

    # --- a verified write: dmk2cw, then the disk read back and compared ------
    # dmk2cw reports 35 tracks written; cw2dmk reads back the very image.
    written="$work/write-ok"
    mkdir -p "$written"
    for track in $(seq 0 34); do printf 'Track %d, side 0\r' "$track"; done >"$written/stdout"
    : >"$written/stderr"
    echo 0 >"$written/status"
    printf '[[0.1, "stdout", %d]]\n' "$(stat -c %s "$written/stdout")" >"$written/timing"
    clean="$shared/tool-output/cw2dmk-replay-clean"
    gzip -dc "$clean/produced/out.dmk.gz" >"$work/disks/archive.dmk"
    rm -f "$work/tools/dmk2cw" "$work/tools/cw2dmk"
    printf '#!/bin/sh\nFERNCASTLE_REPLAY="%s" FERNCASTLE_REPLAY_IMAGE= exec "%s" "$@"\n' \
        "$written" "$fixtures/run/replay-tool" >"$work/tools/dmk2cw"
    printf '#!/bin/sh\nFERNCASTLE_REPLAY="%s" FERNCASTLE_REPLAY_IMAGE="%s" exec "%s" "$@"\n' \
        "$clean" "$clean/produced/out.dmk.gz" "$fixtures/run/replay-tool" >"$work/tools/cw2dmk"
    chmod +x "$work/tools/dmk2cw" "$work/tools/cw2dmk"
    main_keys alt+i
    answer_file_dialog "$work/disks/archive.dmk"
    write_window=$(take_window "dmk2cw .* archive.dmk")
    until_true 20 "the read-back's end in its transcript" \
        grep -qs "^Exit status 0 after" "$work/disks/archive-verify.cw2dmk.txt"
    # An equal read-back is removed once compared: the chain has ended.
    until_true 20 "the equal read-back to be removed" test ! -e "$work/disks/archive-verify.dmk"
    sleep 0.3 # the last paint
    import -window "$write_window" "$artifacts/verified-write.png"
    xdotool windowfocus --sync "$write_window"
    xdotool key alt+c
    until_true 20 "the write's run window to close" window_gone "dmk2cw .* archive.dmk"
    echo "ok: verified write"
fi

main_keys alt+f x
if [[ -n $run_window ]]; then
    until_true 20 "the main window to close" window_gone "Larkvale Ferncastle"
    sleep 0.5
    kill -0 "$program_pid" 2>/dev/null || fail "Exit ended the program under an open run window"
    xdotool windowfocus --sync "$run_window"
    xdotool key alt+c
    echo "ok: run window outlives Exit"
fi
until_true 20 "the program to end" bash -c "! kill -0 $program_pid 2>/dev/null"
wait "$program_pid" || fail "the program ended with status $?"

settings="$work/config/Larkvale.ini"
for line in "CW%20Drive%20Enabled=1" "Steps%20Enabled=0" "Tracks=40" "Retries=abc" \
    "Extra%20Parameters=-v 2" "Last%20Used%20Directory=$work/disks/" \
    "DOS%20Files%20Path=$work/tools/"; do
    grep -qxF "$line" "$settings" || fail "settings lack '$line':"$'\n'"$(cat "$settings")"
done
echo "ok: settings stored at Exit"
