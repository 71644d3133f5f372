#!/usr/bin/python3
"""Runs Plantor over one session script in a fresh folder and checks what the
script's directives ask. Plantor takes no arguments: the run's environment
gives it KESTRIN_SESSION (the script), KESTRIN_REGISTRY (WORK/registry.reg),
KESTRIN_DOSDEVICES (WORK/dosdevices, where c: links to WORK/drive_c) and
KESTRIN_TRANSCRIPT (WORK/transcript.txt). It runs in the folder it was built
into, beside the files it installs.

Directives (comment lines, so Plantor skips them):
  #: registry FILE        start from this registry file (beside the script)
  #: folder PATH          make a folder on drive C before the run ("Zor/sub")
  #: env NAME=VALUE       set (or with an empty VALUE, remove) a variable
  #: runs N               run Plantor N times (default 1)
  #: status N             expected exit status of every run (default 0)
  #: output TEXT          standard output holds TEXT
  #: stderr TEXT          standard error holds TEXT
  #: installed PATH       a file on drive C equal to the file of that name in
                          Plantor's folder
  #: absent PATH          no such file or folder on drive C afterwards
  #: value KEY|NAME|TEXT  the registry holds the string value; KEY starts at
                          its root (HKEY_CURRENT_USER\...); read back by
                          tests/platform/registry/read_regedit4.py)
  #: novalue KEY|NAME     the registry holds no such value
  #: unchanged            the registry file is byte for byte the same after
                          each run as before it, except after the first run
                          of several (which installs)
  #: preserved            every value of the starting registry is still there
                          unchanged, apart from the ACAD and Group values of
                          the host's profiles
  #: cadhost SCRIPT ARG.. after the runs, cadhost (the optional CADHOST
                          argument) runs the cadhost session SCRIPT (beside
                          this script) with ARGs over the same registry and
                          drive links, and must end with status 0
Placeholders: @WORK@ (the run's folder), @DIST@ (Plantor's folder), @DRIVE_C@
(the folder that is drive C).
Usage: run_plantor.py PLANTOR READ_REGEDIT4 SCRIPT [CADHOST]"""
import os
import shutil
import subprocess
import sys
import tempfile


def read_registry(reader, path, work):
    out = os.path.join(work, "registry.dump")
    subprocess.run([sys.executable, reader, path, out], check=True)
    values = {}
    for line in open(out, encoding="ascii"):
        parts = line.rstrip("\n").split(" ")  # an empty name leaves an empty field
        if parts and parts[0] == "VALUE":
            key = bytes.fromhex(parts[1]).decode("cp1251")
            name = bytes.fromhex(parts[2]).decode("cp1251")
            data = bytes.fromhex(parts[4]) if len(parts) > 4 else b""
            values[(key.lower(), name.lower())] = (int(parts[3]), data)
    return values


def main():
    plantor, reader, script = (os.path.abspath(p) for p in sys.argv[1:4])
    dist = os.path.dirname(os.path.abspath(plantor))
    here = os.path.dirname(os.path.abspath(script))
    work = tempfile.mkdtemp(prefix="kestrin-plantor-")
    drive = os.path.join(work, "drive_c")
    devices = os.path.join(work, "dosdevices")
    os.makedirs(drive)
    os.makedirs(devices)
    os.symlink("../drive_c", os.path.join(devices, "c:"))
    os.symlink("/", os.path.join(devices, "z:"))
    registry = os.path.join(work, "registry.reg")
    transcript = os.path.join(work, "transcript.txt")
    # No display: a run without a session script reads standard input rather
    # than opening windows.
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    env.update(KESTRIN_SESSION=script, KESTRIN_REGISTRY=registry, KESTRIN_DOSDEVICES=devices,
               KESTRIN_TRANSCRIPT=transcript)

    def fill(text):
        return text.replace("@WORK@", work).replace("@DIST@", dist).replace("@DRIVE_C@", drive)

    runs, status, checks, start = 1, 0, [], None
    with open(script, encoding="utf-8") as f:
        for line in f:
            if not line.startswith("#:"):
                continue
            word, _, rest = line[2:].strip().partition(" ")
            rest = fill(rest.strip())
            if word == "registry":
                start = os.path.join(here, rest)
                shutil.copyfile(start, registry)
            elif word == "folder":
                os.makedirs(os.path.join(drive, rest), exist_ok=True)
            elif word == "env":
                name, _, value = rest.partition("=")
                if value:
                    env[name] = value
                else:
                    env.pop(name, None)
            elif word == "runs":
                runs = int(rest)
            elif word == "status":
                status = int(rest)
            elif word in ("output", "stderr", "installed", "absent", "value", "novalue", "unchanged", "preserved",
                          "cadhost"):
                checks.append((word, rest))
            else:
                sys.exit(f"{script}: unknown directive '#: {word}'")

    faults = []
    results = []
    for n in range(runs):
        before = open(registry, "rb").read() if os.path.exists(registry) else None
        run = subprocess.run([plantor], cwd=dist, env=env, stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
        results.append(run)
        out, err = run.stdout.decode("utf-8", "replace"), run.stderr.decode("utf-8", "replace")
        if run.returncode != status:
            faults.append(f"run {n + 1}: exit status {run.returncode}, expected {status}\n{out}{err}")
        after = open(registry, "rb").read() if os.path.exists(registry) else None
        if ("unchanged", "") in checks and (runs == 1 or n > 0) and after != before:
            faults.append(f"run {n + 1} changed the registry file:\n{(after or b'').decode('cp1251')}")

    out = "".join(r.stdout.decode("utf-8", "replace") for r in results)
    err = "".join(r.stderr.decode("utf-8", "replace") for r in results)
    wanted = any(word in ("value", "novalue", "preserved") for word, _ in checks)
    values = read_registry(reader, registry, work) if wanted and os.path.exists(registry) else {}
    for word, rest in checks:
        if word == "output" and rest not in out:
            faults.append(f"standard output lacks {rest!r}:\n{out}")
        elif word == "stderr" and rest not in err:
            faults.append(f"standard error lacks {rest!r}:\n{err}")
        elif word == "installed":
            target = os.path.join(drive, rest)
            wanted = os.path.join(dist, os.path.basename(rest))
            if not os.path.isfile(target):
                faults.append(f"not installed: {rest}")
            elif open(target, "rb").read() != open(wanted, "rb").read():
                faults.append(f"{rest} differs from {wanted}")
        elif word == "absent" and os.path.lexists(os.path.join(drive, rest)):
            faults.append(f"present: {rest}")
        elif word in ("value", "novalue"):
            key, name, *text = rest.split("|")
            found = values.get((key.lower(), name.lower()))
            if word == "novalue":
                if found is not None:
                    faults.append(f"{key} {name} is there: {found[1]!r}")
            elif found is None:
                faults.append(f"{key} {name} is missing")
            elif found != (1, text[0].encode("cp1251") + b"\0"):
                faults.append(f"{key} {name} is {found!r}, expected {text[0]!r}")
        elif word == "preserved":
            before = read_registry(reader, start, work)
            for (key, name), value in before.items():
                written = "\\profiles\\" in key and (name == "acad" or name.startswith("group"))
                if not written and values.get((key, name)) != value:
                    faults.append(f"{key} {name} was {value!r}, now {values.get((key, name))!r}")
        elif word == "cadhost":
            if len(sys.argv) < 5:
                sys.exit(f"{script}: '#: cadhost' needs the CADHOST argument")
            session, *args = rest.split()
            host_env = {k: v for k, v in env.items() if k not in ("KESTRIN_SESSION", "KESTRIN_TRANSCRIPT")}
            run = subprocess.run([sys.argv[4]] + args + [os.path.join(here, session)], cwd=work, env=host_env,
                                 stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
            if run.returncode != 0:
                faults.append(f"cadhost {session}: exit status {run.returncode}\n"
                              + run.stdout.decode("utf-8", "replace") + run.stderr.decode("utf-8", "replace"))
    if faults:
        sys.exit(f"{script}:\n" + "\n".join(faults))
    shutil.rmtree(work)


main()
