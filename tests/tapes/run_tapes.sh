#!/usr/bin/env bash
# Run every tape of a folder (or one tape) through a morlu program (PROGRAM --tape TAPE), each
# in a fresh folder, and check what its header comments expect:
#   # expect-status: N          the exit status (0 unless given)
#   # expect-stderr: TEXT       standard error holds TEXT
#   # expect-file: NAME TEXT    file NAME exists and holds the line TEXT
#   # expect-png: NAME W H      file NAME is a W x H PNG
#   # expect-pixel: NAME X Y RRGGBB   pixel (X, Y) of the PNG NAME has that colour
# Usage: run_tapes.sh /path/to/program TAPES_FOLDER|TAPE
# With MORLU_RUN_WITH set (e.g. to wine64) the program runs under that command.
set -u
program=$(realpath "${1:?usage: run_tapes.sh PROGRAM FOLDER|TAPE}")
folder=${2:?usage: run_tapes.sh PROGRAM FOLDER|TAPE}
passed=0
failed=0

# The colour of pixel ($2, $3) of the PNG $1 as RRGGBB, for the 8-bit RGB
# pictures the driver writes; empty when the file is not one.
png_pixel() {
    python3 - "$@" <<'PY' 2>/dev/null
import struct, sys, zlib

path, x, y = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
data = open(path, "rb").read()
assert data[:8] == b"\x89PNG\r\n\x1a\n"
pos, idat = 8, b""
while pos < len(data):
    length, kind = struct.unpack(">I4s", data[pos:pos + 8])
    body = data[pos + 8:pos + 8 + length]
    if kind == b"IHDR":
        w, h, depth, color, _, _, interlace = struct.unpack(">IIBBBBB", body)
        assert depth == 8 and color == 2 and interlace == 0
    elif kind == b"IDAT":
        idat += body
    pos += 12 + length
assert 0 <= x < w and 0 <= y < h
raw, stride, prev = zlib.decompress(idat), w * 3, bytearray(w * 3)
for row in range(y + 1):
    start = row * (stride + 1)
    kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
    for i in range(stride):
        a = line[i - 3] if i >= 3 else 0
        b, c = prev[i], prev[i - 3] if i >= 3 else 0
        if kind == 1: line[i] = (line[i] + a) & 255
        elif kind == 2: line[i] = (line[i] + b) & 255
        elif kind == 3: line[i] = (line[i] + (a + b) // 2) & 255
        elif kind == 4:
            p = a + b - c
            pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
            line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
    prev = line
print("%02X%02X%02X" % tuple(prev[x * 3:x * 3 + 3]))
PY
}

check_tape() {
    local tape=$1 dir status want_status=0 line name text w h pixel
    dir=$(mktemp -d)
    cp "$tape" "$dir/tape"
    # MORLU_RUN_WITH: nothing, or the emulator that runs the program (Wine).
    # shellcheck disable=SC2086
    (cd "$dir" && timeout 60 ${MORLU_RUN_WITH:-} "$program" --tape tape >stdout 2>stderr)
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
        "# expect-pixel: "*)
            read -r name w h text <<<"${line#\# expect-pixel: }"
            pixel=$(png_pixel "$dir/$name" "$w" "$h")
            [[ ${pixel^^} == "${text^^}" ]] ||
                { echo "$tape: pixel ($w, $h) of $name is ${pixel:-unreadable}, expected $text"; return 1; } ;;
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
