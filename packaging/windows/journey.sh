# The real program's journey, driven from outside on the current X display as a person would:
# the first run by keyboard, the main window, a second start refused, a close, a restart
# where the window was left with two slips recorded, and the history after another restart. Sourced by test-wine.sh; needs $out and fail().

faketime_library="$(find /usr/lib -name libfaketime.so.1 -print -quit)"

# Starts the program in a folder with its clock set to the given moment and running on from
# there; its process id in $started.
launch() {
    local folder="$1" at="$2"
    shift 2
    # A runtime folder of its own: the lock of a program running elsewhere is not this one's.
    (cd "$folder" && TZ=Asia/Tokyo XDG_RUNTIME_DIR="$runtime" LD_PRELOAD="$faketime_library" \
        FAKETIME="@$at" exec "$@" >>"$folder.log" 2>&1 </dev/null) &
    started=$!
}

# The visible windows with exactly this title, an id a line. Every window's name is read back
# and compared: a title is no search pattern (an anchored one misses Japanese titles, and some
# titles hold brackets and carets).
windows_titled() {
    local w
    for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
        [ "$(xdotool getwindowname "$w")" != "$1" ] || echo "$w"
    done
}

# The visible window with exactly this title, within 60 s (Wine starts slowly).
window() {
    local title="$1" w
    for _ in $(seq 300); do
        w="$(windows_titled "$title")"
        w="${w%%$'\n'*}"
        if [ -n "$w" ]; then
            sleep 0.5 # a window just mapped may not take keys yet
            echo "$w"
            return
        fi
        sleep 0.2
    done
    fail "no window \"$title\" within 60 s"
}

# Types into the window once it has the focus.
answer() {
    local w="$1"
    shift
    timeout 10 xdotool windowfocus --sync "$w" || fail "window $w took no focus in 10 s"
    xdotool key --delay 80 "$@"
    sleep 0.2
}

# Waits up to 30 s for the process to end with status 0.
ended() {
    local pid="$1" what="$2"
    for _ in $(seq 150); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid" || fail "$what ended with status $?"
            return
        fi
        sleep 0.2
    done
    fail "$what still running after 30 s"
}

# Waits up to 10 s for the window to be hidden or closed.
gone() {
    for _ in $(seq 50); do
        # grep reads all, so that an early end cannot cut the search's output short.
        xdotool search --onlyvisible --name . 2>/dev/null | grep -x "$1" >/dev/null || return 0
        sleep 0.2
    done
    fail "$2 is still shown after 10 s"
}

where() { xdotool getwindowgeometry --shell "$1" | sed -n 's/^[XY]=//p' | paste -sd,; }

# A window just mapped under Wine may not be painted yet: what lies under it would be taken.
screenshot() {
    sleep 2
    xwd -silent -id "$1" | xwdtopnm 2>/dev/null | pnmtopng >"$out/screenshots/$2.png"
}

# journey <label> <command...>: the files it leaves in $out/journey-<label>/kemurindata.
journey() {
    local label="$1"
    shift
    local folder="$out/journey-$label" runtime w program at before settings x y
    runtime="$out/runtime-$label"
    rm -rf "$folder" "$folder.log" "$runtime"
    mkdir -p "$folder"
    mkdir -m 0700 "$runtime"

    launch "$folder" "2026-11-01 09:00:10" "$@"
    program=$started
    w="$(window " ケムリン式初期設定 - pimaru")"
    [ "$label" = wine ] && screenshot "$w" first-run
    answer "$w" 2 0 Tab 3 0 0 Return
    answer "$(window " ようこそケムリン式へ - pimaru")" Return
    w="$(window " ケムリン式 - pimaru")"
    [ "$label" = wine ] && screenshot "$w" main-window
    # The quit moment of the first run is the minute it was confirmed in.
    cp "$folder/kemurindata/initial.ini" "$folder/first-run.ini"

    # The settings saved with a Japanese address, pasted as a person with a Japanese keyboard
    # would type it, and the quit moment moved to 8:00 that morning, so that the history's
    # lines are the same on both.
    read -r x y < <(where "$w" | tr , ' ')
    xdotool mousemove $((x + 336)) $((y + 206)) click 1
    settings="$(window " 設定ウィンドウ - 全て半角で記入してください - pimaru")"
    printf '%s' "ブログ.example.jp/" | timeout 10 xclip -selection clipboard -loops 1 &
    sleep 0.5
    # Eleven tabs from the address reach the hour of the quit moment.
    answer "$settings" ctrl+a ctrl+v $(printf 'Tab %.0s' $(seq 11)) ctrl+a 8 Tab ctrl+a 0 Return
    gone "$settings" "the settings window"
    # The main window opens anew as the settings close.
    w="$(window " ケムリン式 - pimaru")"
    at="$(where "$w")"

    # A second start in the same folder says so and changes no file.
    before="$(cat "$folder"/kemurindata/*.ini | md5sum)"
    launch "$folder" "2026-11-01 09:01:00" "$@"
    local box
    box="$(window "ケムリン式")"
    # On Windows a message box puts its text on the clipboard on Ctrl+C, as Windows' own do. (The
    # Debian build's messages are read in its own start-up tests.)
    if [ "$label" = wine ]; then
        answer "$box" ctrl+c
        [[ "$(timeout 10 xclip -o -selection clipboard 2>/dev/null)" == *"プログラムは既に起動されています。"* ]] ||
            fail "the second start under Wine did not say the program is running"
    fi
    answer "$box" Return
    ended "$started" "the second start"
    [ "$(cat "$folder"/kemurindata/*.ini | md5sum)" = "$before" ] ||
        fail "$label: the second start changed the files"

    close_main "$label" "$w"
    ended "$program" "the program"
    cp "$folder/kemurindata/initial.ini" "$folder/kemurindata/option.ini" "$folder/"

    # The next start opens the main window where it was left.
    launch "$folder" "2026-11-02 09:30:00" "$@"
    program=$started
    w="$(window " ケムリン式 - pimaru")"
    [ "$(where "$w")" = "$at" ] || fail "$label: the main window came back at $(where "$w"), not $at"

    # Two slips through the menu, with Japanese notes: two ended attempts in the history.
    slip "$label" "$w" 0 "飲み会でつい一本"
    slip "$label" "$w" 20 "朝のコーヒーと一緒に"
    close_main "$label" "$w"
    ended "$program" "the restarted program"

    # They are there after a restart, in the history window.
    launch "$folder" "2026-11-02 10:00:00" "$@"
    program=$started
    w="$(window " ケムリン式 - pimaru")"
    menu_item "$label" "$w" 7
    local history
    history="$(window " これまでの記録 - ケムリン式")"
    [ "$label" = wine ] && screenshot "$history" history
    answer "$history" Escape
    gone "$history" "the history window"
    close_main "$label" "$w"
    ended "$program" "the program started after the slips"
    echo "journey $label: $(tr -d '\r' <"$folder/initial.ini") | $(tr -d '\r' <"$folder/option.ini" | iconv -f CP932 -t UTF-8)"
}

# menu_item <label> <window> <n>: the popup menu's nth item, by the menu key on Windows and by
# a right click under X.
menu_item() {
    local downs
    downs="$(printf 'Down %.0s' $(seq "$3"))"
    if [ "$1" = wine ]; then
        answer "$2" Menu $downs Return
    else
        local x y
        read -r x y < <(where "$2" | tr , ' ')
        xdotool mousemove $((x + 2)) $((y + 2)) click 3 sleep 0.4 key --delay 60 $downs Return
    fi
}

# Windows closes a window on Alt+F4; under X without a window manager the popup menu's last
# item does.
close_main() {
    if [ "$1" = wine ]; then
        answer "$2" alt+F4
    else
        menu_item "$1" "$2" 11
    fi
}

# slip <label> <main window> <minute> <note>: a slip recorded from the menu, counting again from
# that minute of the current hour, with the note pasted.
slip() {
    local label="$1" main="$2" minute="$3" note="$4" w
    menu_item "$label" "$main" 6
    w="$(window " 吸ってしまった… - ケムリン式")"
    [ "$label" = wine ] && [ "$minute" = 20 ] && screenshot "$w" slip
    printf '%s' "$note" | timeout 10 xclip -selection clipboard -loops 1 &
    sleep 0.5
    # Back from 記録する past the note to 日時を指定する, which Space chooses; then the five boxes
    # of the moment, the minute last, and the note.
    answer "$w" shift+Tab shift+Tab space Tab Tab Tab Tab Tab ctrl+a $(echo "$minute" | sed 's/./& /g') \
        Tab ctrl+v Return
    gone "$w" "the slip window"
}

# The files of the two journeys, field by field; the quit moment may differ by the minute it
# was confirmed in.
compare_journeys() {
    local a="$out/journey-$1" b="$out/journey-$2" file i
    for file in initial.ini option.ini kemurindata/initial.ini kemurindata/history.ini; do
        cmp -s <(tail -c 2 "$a/$file") <(printf '\r\n') || fail "$1's $file does not end in CR LF"
        IFS=, read -r -a left <"$a/$file"
        IFS=, read -r -a right <"$b/$file"
        [ ${#left[@]} -eq ${#right[@]} ] || fail "$file: ${#left[@]} fields against ${#right[@]}"
        for i in "${!left[@]}"; do
            [ "${left[i]}" = "${right[i]}" ] ||
                fail "$file field $((i + 1)): $1 wrote ${left[i]}, $2 wrote ${right[i]}"
        done
        cmp "$a/$file" "$b/$file" || fail "$file differs byte for byte"
    done
    LC_ALL=C grep -qF "$(printf 'ブログ.example.jp/' | iconv -f UTF-8 -t CP932)" "$a/option.ini" ||
        fail "$1's option.ini lacks the address in code page 932"
    [ "$(grep -c $'\r$' "$a/kemurindata/history.ini")" -eq 2 ] ||
        fail "$1's history.ini does not hold two attempts"
    LC_ALL=C grep -qF "$(printf '朝のコーヒーと一緒に' | iconv -f UTF-8 -t CP932)" "$a/kemurindata/history.ini" ||
        fail "$1's history.ini lacks the note in code page 932"
    local quit_a quit_b
    quit_a="$(quit_minute "$a/first-run.ini")"
    quit_b="$(quit_minute "$b/first-run.ini")"
    [ $((quit_a - quit_b)) -le 60 ] && [ $((quit_b - quit_a)) -le 60 ] ||
        fail "first runs' quit moments more than a minute apart: $(cut -d, -f1-5 "$a/first-run.ini") and $(cut -d, -f1-5 "$b/first-run.ini")"
    echo "journeys: initial.ini, option.ini and history.ini alike, byte for byte"
}

quit_minute() {
    local y m d h min
    IFS=, read -r y m d h min _ <"$1"
    TZ=UTC date -d "$(printf '%04d-%02d-%02d %02d:%02d' "$y" "$m" "$d" "$h" "$min")" +%s
}
