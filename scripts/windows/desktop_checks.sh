# Checks of the Windows desktop program under wine64 on an X server of its own: the unpacked zip
# started as a trader would, and the view tests. Sourced after common.sh.
desktop_packages=(xvfb xauth imagemagick xdotool zip unzip fonts-dejavu-core)
caption="Генерация информирующих скриптов для QUIK"
storage_folders=(Условия Описания Портфели Сообщения)

# An X server on a free display, for this run only; no window manager, as on a bare machine.
start_display() {
    local number=$out/display
    rm -f "$number"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number" </dev/null >/dev/null 2>&1 &
    display_pid=$!
    for _ in $(seq 100); do [ -s "$number" ] && break; sleep 0.1; done
    [ -s "$number" ] || { log "Xvfb did not start"; exit 1; }
    export DISPLAY=:$(cat "$number")
}

# A program of the Windows GUI subsystem: started from Explorer, it opens no console window.
gui_program() {
    [ "$(x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^Subsystem.*(\(.*\))$/\1/p')" = "Windows GUI" ]
}

# Waits up to $1 tenths of a second for the process $2 to end.
ends_within() {
    local tenths=$1 pid=$2
    for _ in $(seq "$tenths"); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    return 1
}

# The settings file that closing wrote: 15 lines of Windows-1251, each ending in CR LF, whose folder
# lines name the storage folders beside the program, Cyrillic names and all.
settings_written() {
    local file=$1/Zorvant.ini text
    [ -f "$file" ] || { log "no Zorvant.ini beside the program"; return 1; }
    [ "$(tr -cd '\r' <"$file" | wc -c)" = 15 ] && [ "$(grep -c $'\r$' "$file")" = 15 ] &&
        [ "$(wc -l <"$file")" = 15 ] || { log "Zorvant.ini is not 15 lines ending in CR LF"; return 1; }
    text=$(iconv -f CP1251 -t UTF-8 "$file" | tr -d '\r') || return 1
    grep -qx 'Папка условий=Z:.*\\Торговля Зорвант\\Zorvant\\Условия\\' <<<"$text" &&
        grep -qx 'Папка сообщений=Z:.*\\Торговля Зорвант\\Zorvant\\Сообщения\\' <<<"$text" ||
        { log "Zorvant.ini does not name the storage folders in Windows-1251:"; echo "$text"; return 1; }
}

storage_folders_made() {
    local folder
    for folder in "${storage_folders[@]}"; do
        [ -d "$1/$folder" ] || { log "no folder $folder beside the program"; return 1; }
    done
}

# Unpacks the zip into a fresh folder with a Cyrillic name, starts zorvant.exe there, finds its main
# window by its caption, keeps a screenshot of it, closes it with Alt+F4 and checks what closing left.
smoke_test() {
    local work=$out/smoke
    local program="$work/Торговля Зорвант/Zorvant" window="" starter pid rc=0
    rm -rf "$work"
    mkdir -p "$work/Торговля Зорвант"
    (cd "$work/Торговля Зорвант" && unzip -q "$zip") || return 1
    in_wine "$wine64" "$program/zorvant.exe" </dev/null >"$work/program.log" 2>&1 &
    starter=$!
    for _ in $(seq 600); do
        window=$(xdotool search --onlyvisible --name "^$caption\$" 2>/dev/null | head -n 1) || true
        [ -n "$window" ] || ! kill -0 "$starter" 2>/dev/null && break
        sleep 0.1
    done
    if [ -z "$window" ]; then
        log "no window \"$caption\" appeared; the program's output:"
        cat "$work/program.log"
        pkill -P "$starter" || true
        return 1
    fi
    pid=$(xdotool getwindowpid "$window") # Wine's own process, the program itself
    sleep 2                               # lets it finish drawing
    import -window "$window" "$work/windows-main.png"
    # A window drawn with its texts has many colours; a blank or black one has a few.
    [ "$(convert "$work/windows-main.png" -format %k info:)" -gt 100 ] ||
        { log "the window looks empty"; kill "$pid"; return 1; }
    cp "$work/windows-main.png" "$root/docs/screenshots/windows-main.png"
    xdotool windowfocus "$window"
    sleep 0.5
    xdotool key --clearmodifiers alt+F4
    if ! ends_within 200 "$starter"; then
        log "the program still runs 20 s after its window was closed"
        kill "$pid"
        return 1
    fi
    wait "$starter" || rc=$?
    [ "$rc" -eq 0 ] || { log "the program ended with exit code $rc"; return 1; }
    settings_written "$program" && storage_folders_made "$program"
}

# The Qt view tests on the qwindows platform. Without a console Qt Test writes to the debugger channel,
# so each test class writes its results to a file of its own (-o). Every class that started must
# finish, and none may fail.
run_view_tests() {
    local exe=$1 reports=$out/logs/ui rc=0
    rm -rf "$reports"
    mkdir -p "$reports"
    (cd "$reports" && in_wine timeout -k 10 900 "$wine64" "$exe" -o zorvant_ui_tests.txt,txt </dev/null \
        >"$reports/output.log" 2>&1) || rc=$?
    local results classes finished passed failed
    results=$(cat "$reports"/zorvant_ui_tests-*.txt 2>/dev/null || true)
    classes=$(grep -c '^\*\*\*\*\*\*\*\*\* Start testing of ' <<<"$results" || true)
    finished=$(grep -c '^\*\*\*\*\*\*\*\*\* Finished testing of ' <<<"$results" || true)
    passed=$(sed -n 's/^Totals: \([0-9]*\) passed.*/\1/p' <<<"$results" | sum_lines)
    failed=$(sed -n 's/^Totals: [0-9]* passed, \([0-9]*\) failed.*/\1/p' <<<"$results" | sum_lines)
    if [ "$rc" -ne 0 ] || [ "$classes" = 0 ] || [ "$classes" != "$finished" ] || [ "$failed" != 0 ]; then
        log "zorvant_ui_tests FAILED (exit $rc; $classes classes started, $finished finished, $failed tests failed):"
        grep -E -A2 '^(FAIL!|QFATAL)' <<<"$results" || true
        tail -n 20 "$reports/output.log"
        failures=$((failures + 1))
        return
    fi
    log "zorvant_ui_tests: $passed passed in $finished test classes"
    passed_total=$((passed_total + passed))
}

sum_lines() {
    awk '{ sum += $1 } END { print sum + 0 }'
}
