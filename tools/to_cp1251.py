#!/usr/bin/python3
"""Copies UTF-8 text files as code page 1251 text (what the host and the help
viewer read), keeping the file names.

Usage: to_cp1251.py OUTDIR FILE...
A character without a code page 1251 form stops the run naming file:line."""
import os
import sys


def main():
    if len(sys.argv) < 3:
        sys.exit("usage: to_cp1251.py OUTDIR FILE...")
    out_dir = sys.argv[1]
    for path in sys.argv[2:]:
        try:
            text = open(path, encoding="utf-8").read()
        except (OSError, UnicodeDecodeError) as e:
            sys.exit(f"to_cp1251: {path}: {e}")
        for number, line in enumerate(text.split("\n"), 1):
            try:
                line.encode("cp1251")
            except UnicodeEncodeError as e:
                sys.exit(f"to_cp1251: {path}:{number}: {line[e.start]!r} has no code page 1251 form")
        with open(os.path.join(out_dir, os.path.basename(path)), "wb") as f:
            f.write(text.replace("\n", "\r\n").encode("cp1251"))


if __name__ == "__main__":
    main()
