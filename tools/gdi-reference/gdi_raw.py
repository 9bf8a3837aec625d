"""Running the reference renderer and its twin on our rasteriser, reading
their pictures and writing them as PNG files."""
import os
import struct
import subprocess
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
HERE = os.path.dirname(os.path.abspath(__file__))
WINE = os.environ.get("WINE", "/usr/lib/wine/wine64")
# The Wine the reference pictures were made with; others may draw differently.
WINE_VERSION = "wine-8.0 (Debian 8.0~repack-4)"


def wine_version():
    out = subprocess.run([WINE, "--version"], capture_output=True, text=True)
    return out.stdout.strip()


def build_reference(build_dir):
    """Cross-compile the reference renderer; returns the program's path."""
    exe = os.path.join(build_dir, "gdi_reference.exe")
    os.makedirs(build_dir, exist_ok=True)
    subprocess.run(["x86_64-w64-mingw32-gcc", "-O2", "-Wall", "-Wextra", "-Werror", "-o", exe,
                    os.path.join(HERE, "gdi_reference.c"), "-lgdi32"], check=True)
    return exe


def run_reference(exe, ops, build_dir):
    """Draw the operation list with the platform under Wine, with no display
    and a private Wine prefix in the build folder."""
    env = dict(os.environ, WINEPREFIX=os.path.abspath(os.path.join(build_dir, "wine-prefix")), WINEDEBUG="-all")
    env.pop("DISPLAY", None)
    env.pop("WAYLAND_DISPLAY", None)
    out = subprocess.run([WINE, os.path.abspath(exe)], input=ops.encode("latin-1"), capture_output=True, env=env, check=True)
    return parse(out.stdout)


def run_ours(program, ops):
    out = subprocess.run([program], input=ops.encode("latin-1"), capture_output=True, check=True)
    return parse(out.stdout)


def parse(data):
    """The pictures of a stream, as {name: (w, h, pixels)}, and its other lines."""
    pictures, lines, i = {}, [], 0
    while i < len(data):
        j = data.index(b"\n", i)
        head = data[i:j].decode("latin-1")
        i = j + 1
        words = head.split()
        if words and words[0] == "picture":
            w, h = int(words[2]), int(words[3])
            pictures[words[1]] = (w, h, struct.unpack("<%dI" % (w * h), data[i:i + 4 * w * h]))
            i += 4 * w * h
        else:
            lines.append(head)
    return pictures, lines


def write_png(path, w, h, pixels):
    """An 8-bit RGB PNG of 0x00RRGGBB pixels."""
    raw = bytearray()
    for y in range(h):
        raw.append(0)
        for p in pixels[y * w:(y + 1) * w]:
            raw += bytes(((p >> 16) & 255, (p >> 8) & 255, p & 255))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
        f.write(chunk(b"IEND", b""))
