#!/usr/bin/env bash
# The zip for Windows users, unpacked in a fresh folder, as a student would use
# it, under Wine:
#   - its demo runs the demo's tapes, and every program in it is a Windows
#     (GUI-subsystem) program;
#   - every document it or its programs name is in it, and each command block
#     of its README and pages names the one shell it is for;
#   - the commands of its README, its first-program page and the examples'
#     README run as written (the posix-threads cross compiler standing for the
#     Windows gcc and g++), and each program they build runs its tape;
#   - the win32-threads compiler (x86_64-w64-mingw32-gcc without -posix, C and
#     C++) fails to link, first with a line naming the posix-threads compiler;
#   - file names in UTF-8 reach the system whole, ü and Cyrillic alike;
#   - a program started from a console prints --help and its errors there; with
#     no console at all a tape run still ends, with its status, at once.
# Usage: package_check.sh ZIP
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
zip=$(realpath "${1:?usage: package_check.sh ZIP}")
export MORLU_RUN_WITH=${MORLU_WINE:-/usr/lib/wine/wine64}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "package_check: FAIL: $*" >&2
    exit 1
}

# A Windows program, not a console program: a double-click opens no console.
check_gui() {
    [[ $(x86_64-w64-mingw32-objdump -p "$1") == *"(Windows GUI)"* ]] || fail "$1 is not a GUI-subsystem program"
}
export root
export -f check_gui fail

cd "$work"
unzip -q "$zip"
cd morlu-windows-*/
folder=$PWD

echo "== the demo's tapes; every program is a Windows program"
"$root/tests/tapes/run_tapes.sh" morlu-bugs.exe "$root/tests/tapes"
for program in *.exe examples/*.exe; do check_gui "$program"; done

echo "== every document named is in the zip; each command block names one shell"
strings morlu-bugs.exe | grep -E '^(WINDOWS|UPDATES|MAC): ' >"$work/run-menu.txt" ||
    fail "morlu-bugs.exe holds no contact lines of the Run menu"
python3 "$here/zip_pages.py" names "$folder" "$work/run-menu.txt" || fail "documents are missing"
python3 "$here/zip_pages.py" shells "$folder" || fail "command blocks mix shells"

for page in README.txt docs/first-program.md examples/README.md; do
    echo "== the commands of $page, as written"
    (cd "$work" && rm -rf page && cp -r "$folder" page)
    python3 "$here/zip_pages.py" script "$work/page" "$page" >"$work/page.sh"
    bash "$work/page.sh" || fail "a command of $page did not work as written"
done

echo "== the win32-threads compiler: the link fails, first naming the posix-threads compiler"
libraries=(-Iinclude -Llib -lmorlu_main -lmorlu -luser32 -lgdi32 -lwindowscodecs -lole32 -luuid -static -mwindows)
for compiler in "x86_64-w64-mingw32-gcc examples/shapes.c -lstdc++" "x86_64-w64-mingw32-g++ examples/click_to_draw.cpp"; do
    rm -f win32.exe
    # shellcheck disable=SC2086  # the compiler and its source, as two words
    if $compiler "${libraries[@]}" -o win32.exe 2>"$work/link.txt"; then
        fail "${compiler%% *} linked a program with libmorlu.a"
    fi
    grep -m1 'undefined reference' "$work/link.txt" | grep -q 'posix-threads compiler: link with x86_64-w64-mingw32-gcc-posix' ||
        fail "${compiler%% *}: the first missing name does not name the posix-threads compiler: $(grep -m1 'undefined' "$work/link.txt")"
done

echo "== names in UTF-8: a tape whose name holds ü and Cyrillic writes a snapshot named so"
sed 's/^snapshot .*/snapshot Снимок-ü.png/' examples/shapes.tape >"тест-grün.tape"
rm -f "Снимок-ü.png"
# Wine takes a program's arguments from the terminal's character set.
LC_ALL=C.UTF-8 timeout 60 "$MORLU_RUN_WITH" examples/shapes.exe --tape "тест-grün.tape" >/dev/null 2>&1 ||
    fail "the tape тест-grün.tape did not run"
[[ -s "Снимок-ü.png" ]] || fail "the tape тест-grün.tape did not write Снимок-ü.png: $(ls)"

echo "== started from a console: --help and errors print there; with none, a tape run ends"
x86_64-w64-mingw32-gcc-posix "$here/start_from_console.c" -o "$work/start_from_console.exe"
# A terminal gives Wine's console a screen to write on; its cursor moves are dropped.
on_console() {
    TERM=dumb script -qc "$MORLU_RUN_WITH $work/start_from_console.exe $*; echo status \$?" /dev/null |
        sed 's/\x1b\[K\x1b\[1C/ /g; s/\x1b\[[0-9;?]*[a-zA-Z]//g; s/\r//g'
}
on_console examples/shapes.exe --help >"$work/console.txt"
grep -q '^usage: shapes.exe' "$work/console.txt" || fail "--help printed nothing on the console: $(cat "$work/console.txt")"
on_console examples/shapes.exe --bogus >"$work/console.txt"
if ! grep -q 'shapes.exe: unknown option --bogus' "$work/console.txt" || ! grep -q '^status 64' "$work/console.txt"; then
    fail "an unknown option printed nothing on the console, or ended otherwise: $(cat "$work/console.txt")"
fi
printf 'click 10 10\nfrobnicate\n' >bad.tape
status=0
timeout 60 "$MORLU_RUN_WITH" "$work/start_from_console.exe" examples/shapes.exe --tape bad.tape >/dev/null 2>&1 || status=$?
((status == 65)) || fail "a bad tape run with no console ended with $status, not 65 at once"
echo "package_check: PASS"
