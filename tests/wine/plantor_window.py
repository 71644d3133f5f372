#!/usr/bin/python3
"""Plantor.exe without KESTRIN_SESSION under a display: its dialog shows as a
Win32 window, drive_plantor.exe types a folder there and clicks OK, answers
the closing message box, and the install is read back with `reg query`.
Usage: plantor_window.py PLANTOR.exe DRIVE_PLANTOR.exe REGISTRY.reg   (under xvfb-run)"""
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from plantor_sessions import WINE, dos, on_drive_c, query, reg_keys, wine  # noqa: E402


def main():
    plantor, driver, reg = (os.path.abspath(a) for a in sys.argv[1:4])
    keys, tops = reg_keys(reg)
    for top in tops:
        wine("reg", "delete", top, "/f")
    if wine("regedit", "/S", dos(reg)).returncode != 0:
        print("regedit could not import the registry")
        return 1
    shutil.rmtree(on_drive_c("Windowed"), ignore_errors=True)
    env = {k: v for k, v in os.environ.items() if not k.startswith("KESTRIN_")}
    run = subprocess.Popen([WINE, plantor], cwd=os.path.dirname(plantor), env=env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    drove = subprocess.run([WINE, driver, "C:\\Windowed"], stdin=subprocess.DEVNULL, capture_output=True, timeout=120)
    try:
        out, err = run.communicate(timeout=60)
    except subprocess.TimeoutExpired:
        run.kill()
        out, err = run.communicate()
    problems = []
    if drove.returncode != 0:
        problems.append("the driver: " + drove.stderr.decode("utf-8", "replace"))
    if run.returncode != 0:
        problems.append(f"Plantor.exe ended with {run.returncode}:\n" + out.decode("utf-8", "replace") +
                        err.decode("utf-8", "replace"))
    general = next(k for k in keys if k.endswith("\\General"))
    found = query(general, "ACAD")
    if not found or not found.startswith("C:\\Windowed;"):
        problems.append(f"{general} ACAD: reg query shows {found!r}")
    if not os.path.isfile(on_drive_c("Windowed/Kestrin.arx")):
        problems.append("C:/Windowed/Kestrin.arx was not installed")
    print(drove.stdout.decode("utf-8", "replace").strip())
    if problems:
        print("\n".join(problems))
        return 1
    print("Plantor's window installed into C:\\Windowed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
