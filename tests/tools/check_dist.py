#!/usr/bin/python3
"""Checks that the folder of installable files holds exactly the given files,
none of them empty.

Usage: check_dist.py DIR FILE..."""
import os
import sys

folder, wanted = sys.argv[1], set(sys.argv[2:])
present = set(os.listdir(folder))
faults = [f"missing {name}" for name in sorted(wanted - present)]
faults += [f"unexpected {name}" for name in sorted(present - wanted)]
faults += [f"{name} is empty" for name in sorted(wanted & present) if os.path.getsize(os.path.join(folder, name)) == 0]
if faults:
    sys.exit(f"{folder}: " + "; ".join(faults))
print(f"{folder}: {', '.join(sorted(present))}")
