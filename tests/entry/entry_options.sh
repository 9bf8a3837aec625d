#!/usr/bin/env bash
# The entry every morlu program shares, from the outside: --help, --version, an
# unknown option, tapes that are not regular files (a folder, a FIFO: refused,
# never an empty run or a hang), a UTF-16 tape (refused, with a mark or without),
# no display, --gif outside a tape run, and morlu-headless as an alias; each
# with its documented status.
# Usage: entry_options.sh /path/to/morlu-bugs /path/to/morlu-headless
set -u
program=$(realpath "${1:?usage: entry_options.sh PROGRAM HEADLESS}")
headless=$(realpath "${2:?usage: entry_options.sh PROGRAM HEADLESS}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
passed=0
failed=0

# expect STATUS STDERR_TEXT COMMAND...: the exit status, and a text stderr holds
# (standard output for status 0).
expect() {
    local want=$1 text=$2 status
    shift 2
    timeout 20 "$@" >out 2>err </dev/null
    status=$?
    local where=err
    [[ $want == 0 ]] && where=out
    if [[ $status == "$want" ]] && { [[ -z $text ]] || grep -qF -- "$text" "$where"; }; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $* -> status $status (want $want); $where: $(head -c 300 "$where")"
    fi
}

printf 'wait 300\nsnapshot shot.png\n' >good.tape
mkdir folder.tape
mkfifo fifo.tape
printf '\xff\xfew\0a\0i\0t\0 \0001\0\n\0' >marked-utf16.tape
printf 'w\0a\0i\0t\0 \0001\0\n\0' >utf16.tape
expect 0 "usage: morlu-bugs [--tape FILE" "$program" --help
expect 0 "morlu-bugs (morlu " "$program" --version
expect 0 "65  a tape line is not understood" "$program" --help
expect 64 "morlu-bugs: unknown option --bogus (try --help)" "$program" --bogus
expect 64 "--tape needs a value" "$program" --tape
expect 64 "--screen sets the screen of a --tape run" "$program" --screen 800x600
expect 64 "--gif records a --tape run" "$program" --gif run.gif
expect 66 "cannot read the tape folder.tape: it is a folder" "$program" --tape folder.tape
expect 66 "cannot read the tape fifo.tape: it is not a regular file" "$program" --tape fifo.tape
expect 66 "cannot read the tape missing.tape: No such file or directory" "$program" --tape missing.tape
expect 65 "marked-utf16.tape: the tape is UTF-16 text; save it as UTF-8" "$program" --tape marked-utf16.tape
expect 65 "utf16.tape: the tape is UTF-16 text; save it as UTF-8" "$program" --tape utf16.tape
expect 1 "--tape FILE" env -u DISPLAY -u WAYLAND_DISPLAY "$program"
expect 0 "" "$program" --tape good.tape --screen 800x600 --gif=run.gif
[[ -s shot.png ]] || { failed=$((failed + 1)); echo "FAILED: no snapshot from --tape"; }
[[ $(head -c 6 run.gif) == GIF89a ]] || { failed=$((failed + 1)); echo "FAILED: no GIF from --gif"; }
rm -f shot.png
expect 0 "" "$headless" good.tape
[[ -s shot.png ]] || { failed=$((failed + 1)); echo "FAILED: no snapshot from morlu-headless"; }
expect 66 "cannot read the tape folder.tape: it is a folder" "$headless" folder.tape
expect 64 "usage: morlu-headless" "$headless" one.tape two.tape

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
