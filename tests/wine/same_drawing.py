#!/usr/bin/python3
"""Runs one session script through the Linux cadhost with the Linux module and
through cadhost.exe with Kestrin.arx under Wine, each in a fresh folder, and
checks that both end the same way and leave the same drawings, byte for
byte. The script's "#: args" line gives cadhost's arguments (as for
tests/sessions/run_session.py); @MODULES@ is each system's folder of the
module.
Usage: same_drawing.py CADHOST DIST CADHOST_EXE DIST_EXE SCRIPT"""
import os
import shlex
import shutil
import subprocess
import sys
import tempfile

WINE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "wine.sh")


def arguments(script):
    for line in open(script, encoding="utf-8"):
        if line.startswith("#: args "):
            return shlex.split(line[len("#: args "):])
    return ["@SCRIPT@"]


def run(program, modules, script, work):
    places = {"@SCRIPT@": script, "@MODULES@": modules, "@WORK@": work,
              "@SOURCE@": os.path.dirname(script)}
    args = []
    for arg in arguments(script):
        for key, value in places.items():
            arg = arg.replace(key, value)
        args.append(arg)
    env = dict(os.environ, KESTRIN_DOSDEVICES=os.path.join(work, "dosdevices"),
               KESTRIN_REGISTRY=os.path.join(work, "registry.reg"))
    done = subprocess.run(program + args, cwd=work, env=env, stdin=subprocess.DEVNULL, capture_output=True, timeout=120)
    drawings = {}
    for name in sorted(os.listdir(work)):
        if name.lower().endswith(".dxf"):
            with open(os.path.join(work, name), "rb") as f:
                drawings[name] = f.read()
    return done.returncode, done.stdout.replace(b"\r\n", b"\n"), drawings


def main():
    cadhost, dist, cadhost_exe, dist_exe, script = (os.path.abspath(a) for a in sys.argv[1:6])
    linux_work = tempfile.mkdtemp(prefix="kestrin-linux-")
    wine_work = tempfile.mkdtemp(prefix="kestrin-wine-")
    try:
        linux = run([cadhost], dist, script, linux_work)
        windows = run([WINE, cadhost_exe], dist_exe, script, wine_work)
    finally:
        shutil.rmtree(linux_work, ignore_errors=True)
        shutil.rmtree(wine_work, ignore_errors=True)
    problems = []
    if linux[0] != windows[0]:
        problems.append(f"exit status {linux[0]} on Linux, {windows[0]} under Wine")
    if linux[1] != windows[1]:
        problems.append("the transcripts differ:\n--- Linux\n" + linux[1].decode("utf-8", "replace") +
                        "\n--- Wine\n" + windows[1].decode("utf-8", "replace"))
    if not linux[2]:
        problems.append("the session left no drawing")
    if sorted(linux[2]) != sorted(windows[2]):
        problems.append(f"drawings {sorted(linux[2])} on Linux, {sorted(windows[2])} under Wine")
    for name in sorted(set(linux[2]) & set(windows[2])):
        a, b = linux[2][name], windows[2][name]
        if a != b:
            at = next((i for i in range(min(len(a), len(b))) if a[i] != b[i]), min(len(a), len(b)))
            problems.append(f"{name}: differs from byte {at} (Linux {len(a)} bytes, Wine {len(b)} bytes)")
        else:
            print(f"{name}: {len(a)} bytes, the same on both systems")
    if problems:
        print("\n".join(problems))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
