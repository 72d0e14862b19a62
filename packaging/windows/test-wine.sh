#!/usr/bin/env bash
# Runs the Windows edition (built by build.sh) under Wine on a virtual X server: the core test
# programs, then the real program's journey, whose files must match field by field those the
# Debian build writes for the same keys.
#   test-wine.sh [Debian kemurin]     (default: build-test/src/kemurin)
# Screenshots of the Windows program's windows go to build-windows/screenshots/.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
out="$root/build-windows"
debian_program="$(realpath "${1:-$root/build-test/src/kemurin}")"

if [ -z "${KEMURIN_UNDER_XVFB:-}" ]; then
    bash "$root/scripts/setup.sh" wine64 xvfb xauth xdotool xclip faketime x11-apps netpbm openbox trayer \
        locales
    exec env KEMURIN_UNDER_XVFB=1 xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
        bash "${BASH_SOURCE[0]}" "$debian_program"
fi

phase() { echo "== $* ($(date -u +%H:%M:%S)) =="; }
fail() {
    echo "test-wine: $*" >&2
    exit 1
}

export WINEPREFIX="$out/wine" WINEDEBUG=-all WINEARCH=win64
# Code page 932 as the system's own, as on a Japanese Windows: Wine keeps a shortcut's target
# in that code page only, where Windows keeps it in Unicode too. Glibc's Japanese locale is
# made here, outside the system's.
mkdir -p "$out/locale"
[ -d "$out/locale/ja_JP.UTF-8" ] || localedef -i ja_JP -f UTF-8 "$out/locale/ja_JP.UTF-8"
export LOCPATH="$out/locale" LANG=ja_JP.UTF-8
# No Mono or Gecko: nothing to download, no dialog asking for them.
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
# Debian keeps it out of the PATH.
wineserver=/usr/lib/wine/wineserver

# One wineserver for the whole run: a fresh one per program costs a second each. Wine's services
# start first, their output detached, or they hold ctest's pipes open and it never ends.
# A fresh prefix each time: a first wineboot was seen failing once, and a half-made prefix
# never recovers.
start_wine() {
    "$wineserver" -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    "$wineserver" -p
    timeout 300 "$wine" wineboot >/dev/null 2>&1 </dev/null
}
phase "Wine: wineserver and services"
trap '"$wineserver" -k || true' EXIT
start_wine || start_wine || fail "wineboot failed twice on a fresh prefix"

phase "Wine: core tests"
# A test program was once seen ending in 0.01 s with no output at all, a launch Wine lost, and
# passed in 25 runs after it: a failed test gets one more launch. A real fault fails both.
(cd "$out/build" && ctest --output-on-failure --timeout 120 --repeat until-pass:2)

source "$here/journey.sh"
phase "Journey: Debian build"
LANG=C.UTF-8 journey debian "$debian_program"
phase "Journey: Windows build under Wine"
mkdir -p "$out/screenshots"
journey wine "$wine" "$out/build/src/kemurin.exe"
phase "Journey: files compared"
compare_journeys debian wine

phase "Wine: a start from the temporary folder or the Windows folder"
# Explorer runs a program inside a zip from a copy in the temporary folder; a start with no
# working folder runs in the Windows folder. The program says so, ends and writes nothing there.
for dir in "$WINEPREFIX/drive_c/users/$(id -un)/Temp" "$WINEPREFIX/drive_c/windows/system32"; do
    (cd "$dir" && exec "$wine" "$out/build/src/kemurin.exe" >/dev/null 2>&1 </dev/null) &
    refused=$!
    answer "$(window "ケムリン式")" Return
    for _ in $(seq 150); do
        kill -0 "$refused" 2>/dev/null || break
        sleep 0.2
    done
    status=0
    wait "$refused" || status=$?
    [ "$status" -eq 1 ] || fail "a start in $dir ended with status $status, not 1"
    [ ! -e "$dir/kemurindata" ] || fail "a start in $dir made kemurindata there"
done
echo "wine: told, and nothing written, in the temporary and the Windows folder"

phase "Wine: a settings file of another user's"
# Wine gives a file of another Unix user an owner that is not this account. The program says the
# file is another's, runs on, and writes nothing in the folder.
runtime="$out/runtime-wine"
foreign="$out/foreign-wine"
rm -rf "$foreign" && mkdir -p "$foreign/kemurindata"
cp "$out/journey-wine/kemurindata/initial.ini" "$out/journey-wine/kemurindata/option.ini" \
    "$foreign/kemurindata/"
chown 65534 "$foreign/kemurindata/option.ini"
kept="$(cd "$foreign/kemurindata" && sha256sum initial.ini option.ini)"
printf '' | xclip -selection clipboard
launch "$foreign" "2026-11-03 09:00:00" "$wine" "$out/build/src/kemurin.exe"
program=$started
# The message comes before the counter: a counter shown first is a start that said nothing.
for _ in $(seq 300); do
    told="$(windows_titled "ケムリン式")"
    [ -z "$(windows_titled " ケムリン式 - pimaru")" ] ||
        fail "a start beside another's option.ini showed the counter without a word"
    [ -z "$told" ] || break
    sleep 0.2
done
told="$(window "ケムリン式")"
# A message box copies its text with Ctrl+C on Windows.
answer "$told" ctrl+c
for _ in $(seq 20); do
    text="$(timeout 10 xclip -o -selection clipboard 2>/dev/null || true)"
    [[ "$text" == *"設定ファイルが別のユーザーのものです。"* ]] && break
    sleep 0.5
done
[[ "$text" == *"設定ファイルが別のユーザーのものです。"* && "$text" == *"option.ini"* ]] ||
    fail "a start beside another's option.ini did not say so: $text"
answer "$told" Return
# Closed as a user closes it: the window's place is not saved either, and nothing is asked.
close_main wine "$(window " ケムリン式 - pimaru")"
ended "$program" "the program beside another's option.ini"
[ "$(cd "$foreign/kemurindata" && sha256sum initial.ini option.ini)" = "$kept" ] ||
    fail "a file was written in a folder holding another's file"
[ "$(ls -A "$foreign/kemurindata" | tr '\n' ' ')" = "initial.ini kemurin.lock option.ini " ] ||
    fail "the folder of another's file holds $(ls -A "$foreign/kemurindata")"
echo "wine: another's option.ini told, the counter shown and closed, nothing written"

phase "Wine: the help speaks of Windows"
folder="$out/journey-wine"
launch "$folder" "2026-11-03 09:00:00" "$wine" "$out/build/src/kemurin.exe"
program=$started
w="$(window " ケムリン式 - pimaru")"
read -r x y < <(where "$w" | tr , ' ')
xdotool mousemove $((x + 288)) $((y + 206)) click 1
help="$(window " ケムリン式 - help")"
screenshot "$help" help
answer "$help" ctrl+a ctrl+c
sleep 1
text="$(timeout 10 xclip -o -selection clipboard 2>/dev/null || true)"
for needed in "shell:startup" "作業フォルダー" "Windows 10"; do
    [[ "$text" == *"$needed"* ]] || fail "the help lacks \"$needed\""
done
for foreign in "xdg-settings" "apt " "~/.local"; do
    [[ "$text" != *"$foreign"* ]] || fail "the help speaks of \"$foreign\""
done
echo "wine: the help names shell:startup and its 作業フォルダー, and no Linux command"
answer "$help" alt+F4
gone "$help" "the help window"

phase "Wine: the report copied"
xdotool mousemove $((x + 32)) $((y + 206)) click 1
# The count started again on the 2nd by the journey's last slip; no settings after the date, as
# option.ini asks for none. Wine hands the text to X only when asked: asked until it is there.
for _ in $(seq 20); do
    report="$(timeout 10 xclip -o -selection clipboard 2>/dev/null | tr -d '\r' || true)"
    [[ "$report" == *$'ケムリン日： 2026年 11月 2日\n'* ]] && break
    sleep 0.5
done
[[ "$report" == *$'ケムリン日： 2026年 11月 2日\n'* ]] ||
    fail "the clipboard holds no report: $report"
echo "wine: the report copied"

phase "Wine: the notification area, a second start and mini mode"
# A notification area along the top left, where Windows' own would be at the bottom right.
trayer --edge top --align left --widthtype request --height 24 >/dev/null 2>&1 &
tray=$!
sleep 1
shown() { [ -n "$(windows_titled " ケムリン式 - pimaru")" ]; }
hide_to_tray() {
    # A double click on the window's own surface, beside the first heading.
    xdotool mousemove --window "$w" 180 8 click --repeat 2 --delay 80 1
    for _ in $(seq 50); do shown || return 0; sleep 0.2; done
    fail "a double click did not hide the main window"
}
hide_to_tray
xdotool mousemove 10 10 click 1
w="$(window " ケムリン式 - pimaru")"
echo "wine: hidden by a double click, back by a click on its icon"
hide_to_tray
launch "$folder" "2026-11-03 09:05:00" "$wine" "$out/build/src/kemurin.exe"
second=$started
w="$(window " ケムリン式 - pimaru")"
answer "$(window "ケムリン式")" Return
ended "$second" "the second start"
echo "wine: a second start brought the hidden window back"
answer "$w" Menu Down Down Down Down Down Down Down Down Down Return
mini="$(window " ケムリン式 mini mode")"
screenshot "$mini" mini-window
answer "$mini" Menu Down Down Down Down Down Down Down Down Down Return
w="$(window " ケムリン式 - pimaru")"
gone "$mini" "the mini window"
kill "$tray"
read -r x y < <(where "$w" | tr , ' ')
echo "wine: to mini mode and back by the menu key"

phase "Wine: a session's end saves the place and ends the program"
xdotool windowmove "$w" 330 210
sleep 1
at="$(where "$w")"
timeout 60 "$wine" wineboot --end-session >/dev/null 2>&1 </dev/null || true
# Windows may end a program itself once it has answered the session's end: any status will do.
for _ in $(seq 150); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.2
done
! kill -0 "$program" 2>/dev/null || fail "the program still runs after the session's end"
wait "$program" || true
IFS=, read -r -a fields <"$folder/kemurindata/option.ini"
x="${at%,*}" y="${at#*,}"
# The place saved is the frame's corner; what xdotool finds is Wine's window below its caption.
dy=$((y * 15 - fields[7]))
[ "${fields[6]}" -eq $((x * 15)) ] && [ "$dy" -ge 0 ] && [ "$dy" -le 600 ] ||
    fail "the session's end kept ${fields[6]},${fields[7]}, not the window's place $at in twips"
echo "wine: the session's end saved the main window at $at"

phase "Wine: ログイン時に起動 makes a Startup shortcut that a /tray start follows"
# Wine spells the Startup folder StartUp.
startup="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/StartUp/ケムリン式.lnk"
session_item() {
    answer "$1" Menu Down Down Down Down Down Down Down Down Down Down Return
    for _ in $(seq 50); do
        [ "$([ -e "$startup" ] && echo made || echo none)" = "$2" ] && return
        sleep 0.2
    done
    fail "ログイン時に起動 left the Startup folder's shortcut $([ -e "$startup" ] && echo made || echo none)"
}
launch "$folder" "2026-11-03 09:10:00" "$wine" "$out/build/src/kemurin.exe"
program=$started
w="$(window " ケムリン式 - pimaru")"
session_item "$w" made
answer "$w" alt+F4
ended "$program" "the program"
# Read back through the shell's IShellLinkW: target, working folder, arguments, description.
mapfile -t shortcut < <("$wine" "$out/build/tests/show_startup_shortcut.exe" </dev/null 2>/dev/null | tr -d '\r')
unix_path() { realpath "$("$wine" winepath -u "$1" 2>/dev/null </dev/null | tr -d '\r')"; }
[ "${#shortcut[@]}" -eq 4 ] || fail "the shell read no shortcut: ${shortcut[*]}"
[ "$(unix_path "${shortcut[0]}")" = "$(realpath "$out/build/src/kemurin.exe")" ] ||
    fail "the shortcut's target is ${shortcut[0]}"
[ "$(unix_path "${shortcut[1]}")" = "$(realpath "$folder")" ] ||
    fail "the shortcut's working folder is ${shortcut[1]}"
[ "${shortcut[2]}" = /tray ] && [ "${shortcut[3]}" = ケムリン式 ] ||
    fail "the shortcut's arguments and description are ${shortcut[2]}, ${shortcut[3]}"
echo "wine: the shortcut reads back as ${shortcut[*]}"
# Started as the shortcut says, as at sign-in: the icon comes and no window; a click on the icon
# brings the window. Trayer's panel grows as an icon docks in it.
trayer --edge top --align left --widthtype request --height 24 >/dev/null 2>&1 &
tray=$!
tray_width() {
    local id
    for id in $(windows_titled panel); do
        xdotool getwindowgeometry --shell "$id" | sed -n 's/^WIDTH=//p'
    done | sort -n | tail -1 | grep . || echo 0
}
for _ in $(seq 25); do [ "$(tray_width)" -gt 0 ] && break; sleep 0.2; done
empty="$(tray_width)"
launch "$(unix_path "${shortcut[1]}")" "2026-11-03 09:15:00" "$wine" "${shortcut[0]}" "${shortcut[2]}"
program=$started
for _ in $(seq 300); do [ "$(tray_width)" -gt "$empty" ] && break; sleep 0.2; done
[ "$(tray_width)" -gt "$empty" ] || fail "a /tray start put no icon in the notification area in 60 s"
shown && fail "a /tray start showed the main window"
xdotool mousemove 10 10 click 1
w="$(window " ケムリン式 - pimaru")"
echo "wine: a /tray start showed only its icon, and a click on it the window"
# Unticked, the shortcut goes.
session_item "$w" none
kill "$tray"
answer "$w" alt+F4
ended "$program" "the program started in the notification area"
echo "wine: unticking removed the shortcut"

phase "Wine: Enter after a message box"
# With a window manager, a message box closed by Enter leaves its release with the box. Each
# later Enter must still act: one shows the range message, the next closes it, and so on.
openbox >/dev/null 2>&1 &
window_manager=$!
sleep 1
launch "$folder" "2026-11-03 09:00:00" "$wine" "$out/build/src/kemurin.exe"
program=$started
w="$(window " ケムリン式 - pimaru")"
xdotool mousemove --window "$w" 336 206 click 1
settings="$(window " 設定ウィンドウ - 全て半角で記入してください - pimaru")"
xdotool windowactivate --sync "$settings"
# Eleven tabs from the address reach the hour of the quit moment.
answer "$settings" $(printf 'Tab %.0s' $(seq 11)) ctrl+a 9 9
message_boxes() { windows_titled "ケムリン式" | wc -l; }
for round in 1 2 3; do
    xdotool key Return
    sleep 1.5
    [ "$(message_boxes)" -eq 1 ] || fail "Enter $((2 * round - 1)) on hour 99 showed no message"
    xdotool key Return
    sleep 1.5
    [ "$(message_boxes)" -eq 0 ] || fail "Enter $((2 * round)) did not close the message"
done
# The hour mended, the first Enter asks whether to keep the attempt the later start ends, and
# the next answers いいえ, the default, and saves.
xdotool key ctrl+a 1 0 Return
sleep 1.5
[ "$(message_boxes)" -eq 1 ] || fail "a quit moment moved later asked nothing"
xdotool key Return
sleep 1.5
[ "$(message_boxes)" -eq 0 ] || fail "Enter did not answer the question"
IFS=, read -r -a quit <"$folder/kemurindata/initial.ini"
[ "${quit[3]}" -eq 10 ] || fail "the first Enter after the mended hour saved no hour 10"
# The settings closed, the main window has the focus again.
xdotool key alt+F4
ended "$program" "the program"
kill "$window_manager"
echo "wine: every Enter after a message box acted, and the first after mending saved"

# Every window of a first run on Christmas Eve, with the journey's history of two attempts,
# photographed at the given DPI: setup, welcome, greeting, main, settings, promotion, help,
# recovery, slip, history and mini window. Clicks scale with the DPI.
every_window() {
    local dpi="$1" scale=$(($1 * 100 / 96))
    at() { echo $(($1 * scale / 100)); }
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    folder="$out/windows-$dpi"
    rm -rf "$folder" "$folder.log"
    mkdir -p "$folder/kemurindata"
    cp "$out/journey-wine/kemurindata/history.ini" "$folder/kemurindata/"
    launch "$folder" "2026-12-24 09:00:00" "$wine" "$out/build/src/kemurin.exe"
    program=$started
    w="$(window " ケムリン式初期設定 - pimaru")"
    screenshot "$w" "$dpi-setup"
    answer "$w" 2 0 Tab 3 0 0 Return
    w="$(window " ようこそケムリン式へ - pimaru")"
    screenshot "$w" "$dpi-welcome"
    answer "$w" Return
    w="$(window "クリスマスイブ - pmrsoft")"
    screenshot "$w" "$dpi-greeting"
    answer "$w" Return
    w="$(window " ケムリン式 - pimaru")"
    screenshot "$w" "$dpi-main"
    local width
    width="$(xdotool getwindowgeometry --shell "$w" | sed -n 's/^WIDTH=//p')"
    [ "$width" -ge "$(at 370)" ] || fail "at $dpi DPI the main window is $width pixels wide"
    xdotool mousemove --window "$w" "$(at 336)" "$(at 206)" click 1
    w="$(window " 設定ウィンドウ - 全て半角で記入してください - pimaru")"
    screenshot "$w" "$dpi-settings"
    local sx sy
    read -r sx sy < <(where "$w" | tr , ' ')
    xdotool mousemove $((sx + $(at 65))) $((sy + $(at 206))) click 1
    local promotion
    promotion="$(window " ヾ(〃^∇^)ﾉ つぎはのんびりケムリン旅行～")"
    screenshot "$promotion" "$dpi-promotion"
    # Its own close button, とじる.
    read -r sx sy < <(where "$promotion" | tr , ' ')
    xdotool mousemove $((sx + $(at 340))) $((sy + $(at 222))) click 1
    gone "$promotion" "the promotion window"
    # The settings open anew as the promotion closes.
    w="$(window " 設定ウィンドウ - 全て半角で記入してください - pimaru")"
    answer "$w" Escape
    w="$(window " ケムリン式 - pimaru")"
    xdotool mousemove --window "$w" "$(at 288)" "$(at 206)" click 1
    local help
    help="$(window " ケムリン式 - help")"
    screenshot "$help" "$dpi-help"
    answer "$help" alt+F4
    # The help lies over the main window: a click before it is gone would land on it.
    gone "$help" "the help window at $dpi DPI"
    # A click on the lungs opens the body's recovery.
    xdotool mousemove --window "$w" "$(at 316)" "$(at 80)" click 1
    local recovery
    recovery="$(window "からだの回復")"
    screenshot "$recovery" "$dpi-recovery"
    answer "$recovery" alt+F4
    # The slip window, and the history of the two attempts the journey recorded.
    answer "$w" Menu Down Down Down Down Down Down Return
    local slip
    slip="$(window " 吸ってしまった… - ケムリン式")"
    screenshot "$slip" "$dpi-slip"
    answer "$slip" Escape
    gone "$slip" "the slip window"
    answer "$w" Menu Down Down Down Down Down Down Down Return
    local history
    history="$(window " これまでの記録 - ケムリン式")"
    screenshot "$history" "$dpi-history"
    answer "$history" Escape
    gone "$history" "the history window"
    answer "$w" Menu Down Down Down Down Down Down Down Down Down Return
    w="$(window " ケムリン式 mini mode")"
    screenshot "$w" "$dpi-mini"
    answer "$w" alt+F4
    ended "$program" "the program at $dpi DPI"
    echo "wine: every window at $dpi DPI in build-windows/screenshots/$dpi-*.png"
}
phase "Wine: every window at 96 and 144 DPI"
every_window 96
every_window 144
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1

phase "Wine: nothing left in the registry or the temporary folder"
# Qt writes its settings to HKCU\Software\QtProject unless told otherwise; the program never is.
! "$wine" reg query 'HKCU\Software\QtProject' >/dev/null 2>&1 ||
    fail "the program left HKCU\\Software\\QtProject in the registry"
left="$(ls "$WINEPREFIX/drive_c/users/$(id -un)/Temp" | grep -i kemurin || true)"
[ -z "$left" ] || fail "the program left $left in the temporary folder"
echo "wine: no HKCU\\Software\\QtProject, nothing of the program in %TEMP%"

phase "Wine: the start-up benchmark runs"
# Once, untimed: a benchmark that no longer builds or runs is seen here.
bash "$here/bench-wine.sh" 1
