#!/usr/bin/python3
"""Checks the help file with tools that did not make it: chmls (Free Pascal)
lists its topics, python3-chm reads its default topic back.

Usage: check_chm.py FILE.chm TOPIC..."""
import subprocess
import sys

from chm import chm


def main():
    path, topics = sys.argv[1], sys.argv[2:]
    faults = []
    listing = subprocess.run(["chmls", "list", path], capture_output=True, text=True)
    names = {line.split()[-1] for line in listing.stdout.splitlines() if line.strip().split()[:1] != []}
    if listing.returncode != 0:
        faults.append(f"chmls failed: {listing.stderr.strip()}")
    for topic in topics:
        if "/" + topic not in names:
            faults.append(f"chmls does not list /{topic}")
    f = chm.CHMFile()
    if not f.LoadCHM(path.encode()):
        sys.exit(f"{path}: python3-chm cannot open it")
    home = f.home.decode() if f.home else ""
    if home != "/index.htm":
        faults.append(f"default topic {home!r}, expected '/index.htm'")
    status, unit = f.ResolveObject(f.home or b"/index.htm")
    if status != 0:
        faults.append(f"default topic {home!r} cannot be resolved")
    else:
        _, data = f.RetrieveObject(unit)
        if b"charset=windows-1251" not in data:
            faults.append("the default topic does not declare charset windows-1251")
        text = data.decode("cp1251")
        for want in ("CKestrin", "EKestrin", "palette.htm", "install.htm", "Кестрин"):
            if want not in text:
                faults.append(f"the default topic lacks {want!r}")
    if faults:
        sys.exit(f"{path}:\n  " + "\n  ".join(faults))
    print(f"{path}: chmls lists {len(topics)} topics; default topic {home} read back")


if __name__ == "__main__":
    main()
