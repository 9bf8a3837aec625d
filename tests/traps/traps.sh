#!/usr/bin/env bash
# A beginner's first-week mistakes, run as the student would meet them, each
# checked for the one line that says what happened and for an end that comes
# (no frozen window, no run that never exits):
#  - with a tape: crashes (a null write, a division by zero, an uncaught
#    exception, endless recursion) print the line, the hint and a stack, and
#    end with the crash's usual status; a loop that
#    ignores MORLU_QUIT ends with status 70; a loop that never waits ends
#    after Ctrl+C (Linux); a main of its own and drawing before canvas_open each say so;
#  - on the desktop (Xvfb, when there is one): the never-waiting loop ends after
#    Ctrl+C, SIGTERM, SIGHUP, a second SIGTERM, its window's close and Ctrl+Q,
#    and the loop that ignores MORLU_QUIT ends after Ctrl+Q.
# The times it took are printed, to be read: the program has a grace of one
# second, and this script fails only on a hang (10 s).
# Usage: traps.sh FOLDER_OF_TRAP_PROGRAMS. With MORLU_RUN_WITH set (wine) the
# Windows edition's .exe programs run under it, and the desktop part is skipped.
set -u
folder=$(realpath "${1:?usage: traps.sh FOLDER_OF_TRAP_PROGRAMS}")
source "$(dirname "$0")/../e2e/x_session.sh"
TEST_NAME=traps
# Nothing, or the emulator that runs the programs (Wine): left unquoted where
# it is used, so that nothing stands for no word at all.
run_with=${MORLU_RUN_WITH:-}
exe=""
# The statuses each crash ends with: the shell's 128 + signal on Linux; the
# low byte of the exception's code, and abort's 3, under Wine.
if [[ -n $run_with ]]; then
    exe=.exe
    declare -A crash_status=([null]=5 [divide]=148 [throw]=3 [recurse]=253)
    declare -A crash_words=([null]="null pointer" [divide]="divided an integer by zero"
                            [throw]="std::out_of_range" [recurse]="stack overflow")
else
    declare -A crash_status=([null]=139 [divide]=136 [throw]=134 [recurse]=139)
    declare -A crash_words=([null]="(SIGSEGV)" [divide]="divided an integer by zero (SIGFPE)"
                            [throw]="std::out_of_range" [recurse]="(SIGSEGV)")
fi
passed=0
failed=0
for program in crashes ignores_quit never_waits own_main draws_first; do
    [[ -x $folder/$program$exe ]] || fail "no program at $folder/$program$exe"
done

check() {  # WHAT CONDITION...
    local what=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $what; status $status; stderr: $(head -c 600 "$work/err")" >&2
    fi
}
has() { grep -qF -- "$1" "$work/$2"; }
once() { [[ $(grep -cF -- "$1" "$work/$2") == 1 ]]; }

# run_tape PROGRAM ARGS...: with tape.tape in the work folder; sets status.
run_tape() {
    local program=$folder/$1$exe
    shift
    # shellcheck disable=SC2086
    (cd "$work" && timeout 30 $run_with "$program" "$@" --tape tape.tape >out 2>err </dev/null)
    status=$?
}

# start_with_tape PROGRAM, then end_within SECONDS after a signal.
elapsed() { echo "$(($(date +%s%N) / 1000000 - $1)) ms"; }
wait_for_end() {  # the program's pid; sets status, or 999 for a hang
    local pid=$1
    for _ in $(seq 200); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill -9 "$pid"
        status=999
    else
        wait "$pid"
        status=$?
    fi
}

echo "== with a tape"
printf 'click 300 250\nwait 200\n' >"$work/tape.tape"
crashes_tried=(null divide throw recurse)
# Wine gives a thread that overflows its stack no exception: it ends the thread
# alone, so the recursion is tried on Linux only.
[[ -n $run_with ]] && crashes_tried=(null divide throw)
for how in "${crashes_tried[@]}"; do
    run_tape crashes "$how"
    check "$how: status ${crash_status[$how]}" test "$status" = "${crash_status[$how]}"
    check "$how: says what happened" has "${crash_words[$how]}" err
    check "$how: one line" once ": crashed: " err
    check "$how: says what to do" has "with -g" err
    [[ $how == throw ]] || check "$how: a stack" has "stack, innermost call first:" err
done

run_tape ignores_quit
check "ignores MORLU_QUIT: status 70" test "$status" = 70
check "ignores MORLU_QUIT: one line" once "it went on for a second after canvas_await_event returned MORLU_QUIT" err

# Ctrl+C reaches a Windows program through the console it runs in, which a
# program started by Wine from this script has none of: tests/windows/
# desktop_wine.sh presses it in a console instead.
if [[ -z $run_with ]]; then
    (cd "$work" && exec "$folder/never_waits" --tape tape.tape >out 2>err </dev/null) &
    pid=$!
    sleep 1
    started=$(($(date +%s%N) / 1000000))
    kill -INT "$pid"
    wait_for_end "$pid"
    echo "never waits, tape run, Ctrl+C: ended in $(elapsed "$started"), status $status"
    check "never waits, Ctrl+C: ends" test "$status" != 999
    check "never waits, Ctrl+C: one line" once "did not return to canvas_await_event within a second" err
fi

# shellcheck disable=SC2086
(cd "$work" && timeout 30 $run_with "$folder/own_main$exe" >out 2>err </dev/null)
status=$?
check "own main: one line with the fix" once "return morlu_main(argc, argv, app_main);" err

run_tape draws_first
check "drawing before canvas_open: once" once "called before canvas_open" err
check "drawing after canvas_close: once" once "called after canvas_close" err

# On the desktop, each way a user ends a program.
desktop_trial() {  # PROGRAM HOW WANTED_STATUS TEXT
    local program=$1 how=$2 want=$3 text=$4 id started
    start_program "$folder/$program$exe"
    id=$(find_window "MORLU Graphics") || fail "$program: no window"
    sleep 0.5
    started=$(($(date +%s%N) / 1000000))
    case $how in
        SIG*) kill -"${how#SIG}" "$program_pid" ;;
        twice) kill -TERM "$program_pid" && sleep 0.2 && kill -TERM "$program_pid" ;;
        close) send_delete_window "$id" ;;
        ctrl+q) xdotool mousemove --window "$id" 300 300 key ctrl+q ;;
    esac
    wait_for_end "$program_pid"
    program_pid=""
    cp "$work/program.log" "$work/err"
    echo "$program, $how: ended in $(elapsed "$started"), status $status"
    check "$program, $how: status $want" test "$status" = "$want"
    check "$program, $how: one line" once "$text" err
}

if [[ -z $run_with ]] && command -v Xvfb >/dev/null && command -v xdotool >/dev/null; then
    echo "== on the desktop"
    start_xvfb
    frozen="did not return to canvas_await_event within a second"
    desktop_trial never_waits SIGINT 130 "after Ctrl+C (SIGINT) it $frozen"
    desktop_trial never_waits SIGTERM 143 "after SIGTERM it $frozen"
    desktop_trial never_waits SIGHUP 129 "$frozen"
    desktop_trial never_waits twice 143 "ended at once by a second SIGTERM"
    desktop_trial never_waits close 70 "after its window was closed it $frozen"
    desktop_trial never_waits ctrl+q 70 "after Ctrl+Q it $frozen"
    desktop_trial ignores_quit ctrl+q 70 "it went on for a second after canvas_await_event returned MORLU_QUIT"
fi

echo "traps: $passed passed, $failed failed"
((failed == 0))
