#!/usr/bin/python3
"""Checks the drawings a session saved around its steps, byte for byte.
Usage: check_steps.py FOLDER NAME...
For each NAME the session saved NAME.before.dxf (before the step),
NAME.after.dxf (after it), NAME.undone.dxf (after U) and NAME.redone.dxf
(after REDO). The step must have changed the drawing, U must give back the
drawing before it and REDO the drawing after it. The drawing after the last
step is audited with ezdxf."""
import os
import sys

import ezdxf


def read(folder, name, state):
    with open(os.path.join(folder, f"{name}.{state}.dxf"), "rb") as f:
        return f.read()


def main():
    folder, names = sys.argv[1], sys.argv[2:]
    failed = []
    for name in names:
        before, after = read(folder, name, "before"), read(folder, name, "after")
        if before == after:
            failed.append(f"{name}: the step changed nothing")
        if read(folder, name, "undone") != before:
            failed.append(f"{name}: the drawing after U differs from the one before the step")
        if read(folder, name, "redone") != after:
            failed.append(f"{name}: the drawing after REDO differs from the one after the step")
    if names:
        doc = ezdxf.readfile(os.path.join(folder, f"{names[-1]}.redone.dxf"))
        auditor = doc.audit()
        if auditor.has_errors:
            failed.append(f"audit errors: {[str(e) for e in auditor.errors]}")
    if failed:
        sys.exit("\n".join(failed))


if __name__ == "__main__":
    main()
