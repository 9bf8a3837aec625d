#!/usr/bin/env python3
"""Run a page of morlu's documentation as a reader would, in a fresh home
folder that holds a copy of the source as ~/morlu.

Each ```sh block runs in order in one shell (so cd and export carry over); a
```LANG file=NAME block is written to NAME in the shell's current folder; a
```sh desktop block runs its program on a private X server and passes when the
program's graphics window appears; <!-- expect-output: TEXT --> checks the
output of the block before it. Indented blocks and other fences are read, not run.
Usage: run_page.py SOURCE_FOLDER PAGE (PAGE relative to the source folder,
e.g. docs/first-program.md)
"""
import os
import re
import shlex
import subprocess
import sys
import tempfile

source = os.path.realpath(sys.argv[1])
page = open(os.path.join(source, sys.argv[2])).read()
blocks = re.finditer(r"^```(\S*)([^\n]*)\n(.*?)^```\n|^<!-- expect-output: (.*?) -->$", page, re.S | re.M)

home = tempfile.mkdtemp(prefix="morlu-page-")
# A copy of the source without its build folders, as a reader would have it.
os.mkdir(os.path.join(home, "morlu"))
subprocess.run(f"tar -C {shlex.quote(source)} --exclude='./build*' --exclude=./.git -cf - . | "
               f"tar -C {shlex.quote(os.path.join(home, 'morlu'))} -xf -", shell=True, check=True)
out = os.path.join(home, "block-output")
script = ["set -euo pipefail", f"source {shlex.quote(source)}/tests/e2e/x_session.sh",
          f"trap 'status=$?; [[ $status == 0 ]] || cat {out}; cleanup' EXIT", "cd ~"]
for n, b in enumerate(blocks):
    lang, info, body, expected = b.group(1), (b.group(2) or "").strip(), b.group(3), b.group(4)
    if expected is not None:
        script.append(f"grep -qF -- {shlex.quote(expected)} {out} || "
                      f"{{ echo 'expected output {expected} missing'; exit 1; }}")
    elif info.startswith("file="):
        name = info[len("file="):]
        script.append(f"cat > {shlex.quote(name)} <<'MORLU_PAGE_{n}'\n{body}MORLU_PAGE_{n}")
    elif lang == "sh" and info == "desktop":
        script += ["[[ -n ${xvfb_pid:-} ]] || start_xvfb",
                   f"{body.strip()} >$work/program.log 2>&1 & program_pid=$!",
                   'find_window "MORLU Graphics" >/dev/null || fail "no graphics window from: ' + body.strip() + '"',
                   "kill $program_pid; wait $program_pid 2>/dev/null || true; program_pid=''"]
    elif lang == "sh":
        script.append("printf '%s\\n' " + shlex.quote("$ " + body.strip().splitlines()[0]))
        script.append(f"{{\n{body}}} >{out} 2>&1")
        script.append(f"cat {out}")
env = dict(os.environ, HOME=home)
status = subprocess.run(["bash", "-c", "\n".join(script)], env=env).returncode
if status == 0:
    subprocess.run(["rm", "-rf", home])
print("1 passed, 0 failed" if status == 0 else f"0 passed, 1 failed (kept {home})")
sys.exit(status)
