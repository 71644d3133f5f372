#!/usr/bin/python3
"""Automatic saves and recovery: cadhost, taking a person's lines through a
pipe (KESTRIN_CADHOST_INTERACTIVE=1) with the automatic save made short
(KESTRIN_SAVETIME_SECONDS=1), writes the changed drawing to its recovery file
in the state folder while it waits; killed with SIGKILL, it leaves that file,
and a new cadhost given --recover opens it in place of the drawing, with
everything up to the automatic save. A clean end removes the file.
Usage: autosave_recovery.py CADHOST MODULE_DIR"""
import glob
import os
import signal
import subprocess
import sys
import tempfile
import time

import ezdxf


def main():
    cadhost, modules = sys.argv[1:3]
    work = tempfile.mkdtemp(prefix="kestrin-autosave-")
    state = os.path.join(work, "state")
    env = dict(os.environ, KESTRIN_DOSDEVICES=os.path.join(work, ".dosdevices"), XDG_STATE_HOME=state,
               KESTRIN_REGISTRY=os.path.join(work, "registry.reg"), KESTRIN_SAVETIME_SECONDS="1",
               KESTRIN_CADHOST_INTERACTIVE="1")
    drawing = os.path.join(work, "plan.dxf")
    # A drawing of its own first, so the recovery file has a drawing to be newer than.
    subprocess.run([cadhost, "--save", drawing, "-"], input=b"", env=env, check=True, cwd=work, timeout=60)
    old = os.path.getmtime(drawing)

    host = subprocess.Popen([cadhost, "--open", drawing, "--load", os.path.join(modules, "hello.arx"), "-"],
                            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, env=env, cwd=work)
    host.stdin.write("HELLOTEXT\npoint 10,20\n".encode())
    host.stdin.flush()
    recovery = []
    end = time.time() + 20
    while not recovery and time.time() < end:
        time.sleep(0.2)
        recovery = glob.glob(os.path.join(state, "kestrin", "plan-*.dxf"))
    if not recovery:
        host.kill()
        sys.exit(f"no recovery file in {state} while cadhost waited; it printed:\n"
                 + host.communicate()[0].decode(errors="replace"))
    time.sleep(0.5)  # the rename that completes the file is its appearance
    host.send_signal(signal.SIGKILL)
    host.wait(timeout=20)
    if os.path.getmtime(drawing) != old:
        sys.exit("the automatic save wrote over the drawing")
    texts = [e.dxf.text for e in ezdxf.readfile(recovery[0]).modelspace().query("TEXT")]
    if "Привет, мир" not in texts:
        sys.exit(f"the recovery file lacks the text written before the kill: {texts}")

    # A script hears of the file; with --recover it opens it and saves it.
    script = os.path.join(work, "empty.ks")
    open(script, "w").close()
    told = subprocess.run([cadhost, "--open", drawing, script], env=env, cwd=work, capture_output=True, timeout=60)
    if b"--recover opens it" not in told.stdout:
        sys.exit("a script was not told of the recovery file:\n" + told.stdout.decode(errors="replace"))
    out = os.path.join(work, "recovered.dxf")
    done = subprocess.run([cadhost, "--open", drawing, "--recover", "--save", out, script], env=env, cwd=work,
                          capture_output=True, timeout=60)
    if done.returncode != 0 or b"Recovered from" not in done.stdout:
        sys.exit(f"--recover failed ({done.returncode}):\n" + done.stdout.decode(errors="replace"))
    texts = [e.dxf.text for e in ezdxf.readfile(out).modelspace().query("TEXT")]
    if "Привет, мир" not in texts:
        sys.exit(f"the recovered drawing lacks the text: {texts}")
    if glob.glob(os.path.join(state, "kestrin", "plan-*.dxf")):
        sys.exit("the recovery file stayed after a clean end")
    print("recovered after SIGKILL; the recovery file went at the clean end")


if __name__ == "__main__":
    main()
