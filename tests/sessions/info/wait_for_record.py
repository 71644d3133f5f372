#!/usr/bin/python3
"""Waits (up to 10 s) until the record file holds every TEXT line given, or,
with --absent, checks after a short wait that the file does not exist.
Programs are started without waiting for them, so their record may come a
moment after cadhost has ended.
Usage: wait_for_record.py FILE TEXT... | wait_for_record.py --absent FILE"""
import os
import sys
import time


def main():
    if sys.argv[1] == "--absent":
        time.sleep(1.0)
        if os.path.exists(sys.argv[2]):
            sys.exit(f"{sys.argv[2]} exists:\n" + open(sys.argv[2], encoding="utf-8").read())
        return
    path, wanted = sys.argv[1], sys.argv[2:]
    lines = []
    for _ in range(100):
        if os.path.exists(path):
            with open(path, encoding="utf-8") as f:
                lines = f.read().splitlines()
            if all(w in lines for w in wanted):
                return
        time.sleep(0.1)
    sys.exit(f"{path} lacks some of {wanted}; it holds {lines}")


if __name__ == "__main__":
    main()
