#!/usr/bin/env bash
# Run every tape of a folder (or one tape) through a morlu program (PROGRAM --tape TAPE), each
# in a fresh folder, and check what its header comments expect:
#   # expect-status: N          the exit status (0 unless given)
#   # expect-stderr: TEXT       standard error holds TEXT
#   # expect-file: NAME TEXT    file NAME exists and holds the line TEXT
#   # expect-png: NAME W H      file NAME is a W x H PNG
# The tape's own `expect pixel` and `expect log` lines are checked by the program,
# which ends with status 68 when one does not hold.
# Usage: run_tapes.sh /path/to/program TAPES_FOLDER|TAPE
# With MORLU_RUN_WITH set (e.g. to wine64) the program runs under that command.
set -u
program=$(realpath "${1:?usage: run_tapes.sh PROGRAM FOLDER|TAPE}")
folder=${2:?usage: run_tapes.sh PROGRAM FOLDER|TAPE}
run_with=()
[[ -n ${MORLU_RUN_WITH:-} ]] && run_with=("$MORLU_RUN_WITH")
passed=0
failed=0

check_tape() {
    local tape=$1 dir status want_status=0 line name text w h
    dir=$(mktemp -d)
    cp "$tape" "$dir/tape"
    (cd "$dir" && timeout 60 "${run_with[@]}" "$program" --tape tape >stdout 2>stderr)
    status=$?
    while IFS= read -r line; do
        case $line in
        "# expect-status: "*) want_status=${line#\# expect-status: } ;;
        "# expect-stderr: "*)
            text=${line#\# expect-stderr: }
            grep -qF -- "$text" "$dir/stderr" || { echo "$tape: stderr lacks: $text"; return 1; } ;;
        "# expect-file: "*)
            read -r name text <<<"${line#\# expect-file: }"
            grep -qxF -- "$text" "$dir/$name" 2>/dev/null || { echo "$tape: $name lacks the line: $text"; return 1; } ;;
        "# expect-png: "*)
            read -r name w h <<<"${line#\# expect-png: }"
            [[ $(head -c 24 "$dir/$name" 2>/dev/null | od -An -tu1 -j16 | tr -s ' ') == \
               " $((w >> 24 & 255)) $((w >> 16 & 255)) $((w >> 8 & 255)) $((w & 255)) $((h >> 24 & 255)) $((h >> 16 & 255)) $((h >> 8 & 255)) $((h & 255))" ]] ||
                { echo "$tape: $name is not a ${w}x${h} PNG"; return 1; } ;;
        esac
    done <"$tape"
    if [[ $status != "$want_status" ]]; then
        echo "$tape: exit status $status, expected $want_status; stderr: $(head -c 300 "$dir/stderr")"
        return 1
    fi
    rm -rf "$dir"
}

tapes=("$folder"/*.tape)
[[ -f $folder ]] && tapes=("$folder")
for tape in "${tapes[@]}"; do
    if check_tape "$tape"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
done
echo "$passed passed, $failed failed"
[[ $failed -eq 0 && $passed -gt 0 ]]
