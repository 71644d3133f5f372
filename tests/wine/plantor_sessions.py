#!/usr/bin/python3
"""Plantor.exe under Wine over the setup's session scripts: it installs into
the Wine prefix's own registry and drive C, and every check reads them back
with Wine's reg and regedit (never with our own registry reader).

Each script's directives are those of tests/setup/run_plantor.py:
registry (imported with `regedit /S` after its keys are deleted), folder,
runs, status, output, installed, absent, value and novalue (read with
`reg query`), unchanged (the `regedit /E` export of every key the starting
registry holds is byte for byte the same after each run, except after the
first of several), cadhost (cadhost.exe runs the script over the same
registry, @DRIVE_C@ being C:). Besides:
  #: running NAME.exe   a process of that name runs in the prefix during the runs
  #: folderfile PATH    a folder stands where the setup will copy a file
Usage: plantor_sessions.py PLANTOR.exe CADHOST.exe SCRIPT_DIR...   (WINEPREFIX: the prefix)"""
import glob
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
WINE = os.path.join(HERE, "wine.sh")
# The scripts that cover the setup's cases on Windows.
CASES = ["install.ks", "install_two_profiles.ks", "host_key_missing.ks", "host_running.ks", "copy_fails.ks",
         "check_fails.ks", "session_missing.ks"]


def wine(*args, **kw):
    return subprocess.run([WINE] + list(args), stdin=subprocess.DEVNULL, capture_output=True, timeout=120, **kw)


def dos(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def drive_c():
    return os.path.join(os.environ["WINEPREFIX"], "drive_c")


def on_drive_c(relative):
    return os.path.join(drive_c(), *relative.split("/"))


def reg_keys(reg_file):
    """The keys a REGEDIT4 file writes, and the top keys to clear before it."""
    keys, tops = [], set()
    for line in open(reg_file, encoding="cp1251"):
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            key = line[1:-1]
            keys.append(key)
            parts = key.split("\\")
            depth = 3 if len(parts) > 2 and parts[1].lower() == "software" else 2
            tops.add("\\".join(parts[:depth]))
    return keys, sorted(tops)


def export(tops, work, tag):
    """The `regedit /E` export of each top key, as bytes."""
    out = b""
    for i, top in enumerate(tops):
        path = os.path.join(work, f"{tag}-{i}.reg")
        done = wine("regedit", "/E", dos(path), top)
        out += open(path, "rb").read() if done.returncode == 0 and os.path.exists(path) else b"<none>"
    return out


def query(key, name):
    """The string data of a value as `reg query` shows it, or None."""
    done = wine("reg", "query", key, "/v", name)
    if done.returncode != 0:
        return None
    for line in done.stdout.decode("utf-8", "replace").replace("\r", "").split("\n"):
        parts = line.strip().split("    ")
        if len(parts) >= 3 and parts[0].lower() == name.lower():
            return parts[2].strip() if len(parts) == 3 else "    ".join(parts[2:]).strip()
        if len(parts) == 2 and parts[0].lower() == name.lower():
            return ""
    return None


def process_runs(name):
    """Whether a Windows program of that name runs (Wine's processes as /proc shows them)."""
    for cmdline in glob.glob("/proc/[0-9]*/cmdline"):
        try:
            if name.lower() in open(cmdline, "rb").read().decode("utf-8", "replace").lower():
                return True
        except OSError:
            pass
    return False


def run_case(plantor, cadhost, script, all_tops):
    here = os.path.dirname(script)
    dist = os.path.dirname(os.path.abspath(plantor))
    directives = [l[3:].rstrip("\n") for l in open(script, encoding="utf-8") if l.startswith("#: ")]
    work = tempfile.mkdtemp(prefix="kestrin-plantor-")
    problems, tops, running = [], [], None
    try:
        for d in directives:
            word, _, rest = d.partition(" ")
            if word == "registry":
                reg = os.path.join(here, rest)
                _, tops = reg_keys(reg)
                for top in all_tops:  # what an earlier case left
                    wine("reg", "delete", top, "/f")
                if wine("regedit", "/S", dos(reg)).returncode != 0:
                    problems.append("regedit could not import " + rest)
        for target in ("Kestrin", "Zor soft", "ACAD2000", "Data", "Program Files/Zor soft"):
            shutil.rmtree(on_drive_c(target), ignore_errors=True)
        env = dict(os.environ, KESTRIN_SESSION=script, KESTRIN_TRANSCRIPT=os.path.join(work, "transcript.txt"))
        env.pop("KESTRIN_REGISTRY", None)
        runs, status = 1, 0
        for d in directives:
            word, _, rest = d.partition(" ")
            rest = rest.replace("@WORK@", work).replace("@DIST@", dist)
            if word == "folder":
                os.makedirs(on_drive_c(rest), exist_ok=True)
            elif word == "folderfile":
                os.makedirs(on_drive_c(rest), exist_ok=True)
            elif word == "runs":
                runs = int(rest)
            elif word == "status":
                status = int(rest)
            elif word == "env":
                name, _, value = rest.partition("=")
                if value:
                    env[name] = value
                else:
                    env.pop(name, None)
            elif word == "running":
                program = os.path.join(work, rest)
                shutil.copy(os.path.abspath(cadhost), program)
                for dll in glob.glob(os.path.join(os.path.dirname(os.path.abspath(cadhost)), "*.dll")):
                    shutil.copy(dll, work)
                running = subprocess.Popen([WINE, program], stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                                           stderr=subprocess.DEVNULL)
                for _ in range(100):  # until the process has started
                    if process_runs(rest):
                        break
                    subprocess.run(["sleep", "0.2"])
                subprocess.run(["sleep", "1"])
        before = export(tops, work, "before")
        outputs = ""
        for n in range(runs):
            done = subprocess.run([WINE, os.path.abspath(plantor)], cwd=dist, env=env, stdin=subprocess.DEVNULL,
                                  capture_output=True, timeout=120)
            outputs += done.stdout.decode("utf-8", "replace").replace("\r\n", "\n")
            errors = done.stderr.decode("utf-8", "replace")
            if done.returncode != status:
                problems.append(f"run {n + 1}: exit status {done.returncode}, expected {status}\n{outputs}\n{errors}")
            after = export(tops, work, f"after{n}")
            if "unchanged" in directives and (runs == 1 or n > 0) and after != before:
                problems.append(f"run {n + 1}: the registry export changed")
            before = after
        for d in directives:
            word, _, rest = d.partition(" ")
            if word == "output" and rest not in outputs:
                problems.append(f"no output '{rest}' in:\n{outputs}")
            elif word == "stderr" and rest not in errors:
                problems.append(f"no '{rest}' on standard error:\n{errors}")
            elif word == "installed":
                source = os.path.join(dist, os.path.basename(rest))
                target = on_drive_c(rest)
                if not os.path.isfile(target) or open(target, "rb").read() != open(source, "rb").read():
                    problems.append(f"C:/{rest} is not the file of the setup's folder")
            elif word == "absent" and os.path.exists(on_drive_c(rest)):
                problems.append(f"C:/{rest} exists")
            elif word == "folderfile" and not os.path.isdir(on_drive_c(rest)):
                problems.append(f"the folder C:/{rest} was replaced")
            elif word in ("value", "novalue"):
                key, name, *text = rest.split("|")
                found = query(key, name)
                if word == "value" and found != text[0]:
                    problems.append(f"{key} {name}: reg query shows {found!r}, expected {text[0]!r}")
                if word == "novalue" and found is not None:
                    problems.append(f"{key} {name}: reg query shows {found!r}, expected none")
            elif word == "cadhost":
                session, *args = rest.split(" ")
                args = [a.replace("@DRIVE_C@/", "C:\\").replace("/", "\\") if "@DRIVE_C@" in a else a for a in args]
                done = subprocess.run([WINE, os.path.abspath(cadhost)] + args + [os.path.join(here, session)],
                                      cwd=work, stdin=subprocess.DEVNULL, capture_output=True, timeout=120)
                if done.returncode != 0:
                    problems.append("cadhost.exe over the installed registry: status " + str(done.returncode) + "\n" +
                                    done.stdout.decode("utf-8", "replace") + done.stderr.decode("utf-8", "replace"))
    finally:
        if running:
            running.stdin.close()
            running.wait(timeout=30)
        shutil.rmtree(work, ignore_errors=True)
    return problems


def main():
    plantor, cadhost = sys.argv[1:3]
    scripts = {}
    for folder in sys.argv[3:]:
        for path in glob.glob(os.path.join(folder, "*.ks")):
            scripts.setdefault(os.path.basename(path), os.path.abspath(path))
    all_tops = set()
    for folder in sys.argv[3:]:
        for reg in glob.glob(os.path.join(folder, "*.reg")):
            all_tops.update(reg_keys(reg)[1])
    failed = passed = 0
    for case in CASES:
        if case not in scripts:
            print(f"{case}: missing")
            failed += 1
            continue
        problems = run_case(plantor, cadhost, scripts[case], sorted(all_tops))
        if problems:
            failed += 1
            print(f"{case}: FAILED\n  " + "\n  ".join(problems))
        else:
            passed += 1
            print(f"{case}: passed")
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
