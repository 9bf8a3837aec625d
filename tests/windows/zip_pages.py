#!/usr/bin/env python3
"""The documents of the unpacked zip for Windows users, read as a user would.

zip_pages.py names ROOT [TEXT...]
    Every document that README.txt, the pages (*.md), canvas.h and the extra
    TEXT files name (a .md page, a .sh script, README.txt, canvas.h) is in the
    zip, and none of them sends the user to git. One line per fault; status 1.
zip_pages.py shells ROOT
    Every command block names the one shell it is for (cmd.exe, the MSYS2
    shell or a Debian shell) and holds no line of another shell.
zip_pages.py script ROOT DOCUMENT
    Prints a bash script that performs DOCUMENT's commands in order, in ROOT:
    files of ```LANG file=NAME blocks are written; compiler lines run with the
    posix-threads cross compiler standing for gcc and g++, and every program
    they make runs its tape ($MORLU_RUN_WITH is Wine); tape runs run under
    Wine; <!-- expect-output: TEXT --> checks the output of the block before.
    Blocks that set up the compiler or open windows are read, not run.
"""
import os
import re
import shlex
import sys

SHELLS = {"cmd.exe": "cmd", "msys2": "bash", "debian": "bash"}
# Lines that belong to one kind of shell only.
CMD_ONLY = re.compile(r"%\w+%|^start /wait|^set \w+=|\w\\\w")
BASH_ONLY = re.compile(r"\$\?|\$\(|^\./|^export |(?:^|\s)\w+/[\w./-]+\.exe")


def read(path):
    with open(path, encoding="utf-8") as f:
        return f.read().replace("\r\n", "\n")


def texts(root):
    """The zip's documents: README.txt, the pages, canvas.h."""
    found = [os.path.join(root, "README.txt"), os.path.join(root, "include", "morlu", "canvas.h")]
    for folder, _, files in os.walk(root):
        found += [os.path.join(folder, f) for f in sorted(files) if f.endswith(".md")]
    return found


def named_documents(text):
    pattern = r"(?<![\w/\\.-])((?:[\w.-]+[/\\])*(?:[\w.-]+\.(?:md|sh)|README\.txt|canvas\.h))(?![\w-]|\.\w)"
    return {m.replace("\\", "/") for m in re.findall(pattern, text)}


def names(root, extra):
    faults = []
    for path in texts(root) + extra:
        if not os.path.exists(path):
            faults.append(f"{os.path.relpath(path, root)} is missing")
            continue
        text = read(path)
        where = os.path.relpath(path, root) if path.startswith(root) else path
        if re.search(r"\bgit (?:pull|clone)\b", text):
            faults.append(f"{where} sends the user to git, which the zip has no use for")
        for name in sorted(named_documents(text)):
            places = [os.path.dirname(path), root, os.path.join(root, "include"),
                      os.path.join(root, "include", "morlu")]
            if not any(os.path.exists(os.path.join(p, name)) for p in places):
                faults.append(f"{where} names {name}, which is not in the zip")
    return faults


def blocks(path):
    """(shell, info, lines, expected outputs) of each command block, in order."""
    text = read(path)
    if path.endswith(".md"):
        found = []
        for m in re.finditer(r"^```(\S*)([^\n]*)\n(.*?)^```\n|^<!-- expect-output: (.*?) -->$", text, re.S | re.M):
            if m.group(4) is not None:
                if found:
                    found[-1][3].append(m.group(4))
                continue
            lang, info = m.group(1), m.group(2).split()
            if lang in ("sh", "bat"):
                found.append([info[0] if info else "", info[1:], m.group(3).splitlines(), []])
        return found
    # README.txt: a block of commands is indented by two spaces and follows a
    # paragraph that ends with a colon and says where it runs.
    found = []
    paragraphs = re.split(r"\n\s*\n", text)
    for before, block in zip(paragraphs, paragraphs[1:]):
        lines = block.split("\n")
        if not before.rstrip().endswith(":") or not all(l.startswith("  ") for l in lines if l):
            continue
        if lines[0].lstrip().startswith("- ") or before.rstrip().endswith("---"):
            continue
        intro = " ".join(before.split())
        named = re.findall(r"\bIn (cmd\.exe|the MSYS2|a Debian)", intro)
        shell = {"cmd.exe": "cmd.exe", "the MSYS2": "msys2", "a Debian": "debian"}.get(named[0]) if len(named) == 1 else ""
        found.append([shell, [], [l.strip() for l in lines if l], []])
    return found


def shells(root):
    faults = []
    for path in texts(root):
        if path.endswith(".h"):
            continue
        where = os.path.relpath(path, root)
        for shell, _, lines, _ in blocks(path):
            if shell not in SHELLS:
                faults.append(f"{where}: a block names no one shell ({shell or 'none'}): {lines[0]}")
                continue
            other = BASH_ONLY if SHELLS[shell] == "cmd" else CMD_ONLY
            faults += [f"{where}: a {shell} block holds a line of another shell: {l}" for l in lines if other.search(l)]
    return faults


def compile_line(words):
    """The cross compiler's command for a gcc or g++ line, and the program it makes."""
    compilers = {"gcc": "x86_64-w64-mingw32-gcc-posix", "g++": "x86_64-w64-mingw32-g++-posix"}
    words = [compilers.get(words[0], words[0])] + words[1:]
    return " ".join(shlex.quote(w) for w in words), words[words.index("-o") + 1]


def bash_line(shell, line):
    # cmd.exe's paths use backslashes, which the cross compiler and Wine take as slashes.
    words = shlex.split(line.replace("\\", "/")) if shell == "cmd" else shlex.split(line)
    if words[0] in ("gcc", "g++") or words[0].startswith("x86_64-w64-mingw32-g"):
        command, made = compile_line(words)
        name = os.path.splitext(os.path.basename(made))[0]
        return (f"rm -f {shlex.quote(made)}\n{command}\ncheck_gui {shlex.quote(made)}\n"
                f"tape=examples/{name}.tape; [[ -f $tape ]] || tape={name}.tape\n"
                f'"$root/tests/tapes/run_tapes.sh" {shlex.quote(made)} "$tape"')
    if shell == "cmd":
        if words[0] == "set":
            return ":"  # the compiler is on the PATH already
        if words[:2] == ["start", "/wait"]:
            return '"$MORLU_RUN_WITH" ' + " ".join(shlex.quote(w) for w in words[2:])
        if words[0] == "echo":
            return "echo " + line[len("echo "):].replace("%ERRORLEVEL%", "$?")
        raise SystemExit(f"zip_pages: no way to run the cmd.exe line: {line}")
    if words[0].startswith("./") and words[0].endswith(".exe"):
        return '"$MORLU_RUN_WITH" ' + line
    return line


def script(root, document):
    path = os.path.join(root, document)
    out = ["set -uo pipefail", f"cd {shlex.quote(root)}", "output=$(mktemp)", "trap 'rm -f $output' EXIT"]
    text = read(path)
    for n, m in enumerate(re.finditer(r"^```\S*[ \t]+file=(\S+)\n(.*?)^```\n", text, re.S | re.M)):
        out.append(f"cat > {shlex.quote(m.group(1))} <<'MORLU_PAGE_{n}'\n{m.group(2)}MORLU_PAGE_{n}")
    for shell, info, lines, expected in blocks(path):
        if "setup" in info or "desktop" in info or shell not in SHELLS:
            continue
        body = "\n".join(bash_line(SHELLS[shell], l) for l in lines)
        out.append(f"printf '%s\\n' {shlex.quote(document + ' (' + shell + '): ' + lines[0])}")
        out.append(f"(\nset -e\n{body}\n) >$output 2>&1\nstatus=$?\ncat $output")
        out.append(f"((status == 0)) || {{ echo 'zip_pages: the block failed'; exit 1; }}")
        for text in expected:
            out.append(f"grep -qF -- {shlex.quote(text)} $output || "
                       f"{{ echo {shlex.quote('zip_pages: expected output missing: ' + text)}; exit 1; }}")
    return "\n".join(out)


def main():
    action, root = sys.argv[1], os.path.realpath(sys.argv[2])
    if action == "script":
        print(script(root, sys.argv[3]))
        return 0
    faults = names(root, sys.argv[3:]) if action == "names" else shells(root)
    for fault in faults:
        print(f"zip_pages: {fault}", file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
