#!/usr/bin/python3
"""Runs a build tool on faulty inputs: each must make it fail, name the file
and line given by the input's first line ("; expect: LINE: TEXT"), and write
no output file.

Usage: run_bad_inputs.py KIND TOOL INPUT...
KIND is shapec, pixart or hershey2shp."""
import os
import subprocess
import sys
import tempfile


def command(kind, tool, source, out):
    if kind == "shapec":
        return [tool, "-o", out, source]
    if kind == "pixart":
        return [tool, "--bmp", os.path.dirname(out), "--sheet", out, source]
    if kind == "hershey2shp":
        return ["/usr/bin/python3", tool, source, "/usr/share/hershey-fonts", out]
    sys.exit(f"unknown kind {kind}")


def main():
    kind, tool, sources = sys.argv[1], sys.argv[2], sys.argv[3:]
    faults = []
    for source in sources:
        first = open(source, encoding="utf-8").readline()
        if not first.startswith("; expect: "):
            sys.exit(f"{source}:1: no '; expect: LINE: TEXT' line")
        line, _, text = first[len("; expect: "):].strip().partition(": ")
        with tempfile.TemporaryDirectory() as work:
            out = os.path.join(work, "out.bin")
            run = subprocess.run(command(kind, tool, source, out), capture_output=True, text=True)
            wanted = f"{source}:{line}: {text}"
            if run.returncode == 0:
                faults.append(f"{source}: accepted (exit 0)")
            elif wanted not in run.stderr:
                faults.append(f"{source}: error {run.stderr.strip()!r}, expected {wanted!r}")
            if os.listdir(work):
                faults.append(f"{source}: left {os.listdir(work)} behind")
    if faults:
        sys.exit("\n".join(faults))
    print(f"{kind}: {len(sources)} faulty inputs refused with file:line")


if __name__ == "__main__":
    main()
