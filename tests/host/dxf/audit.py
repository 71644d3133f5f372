"""Reads a DXF file with ezdxf's recover loader and audits it.

Usage: audit.py FILE...   Exit status 1 when a file has audit errors (printed),
2 when ezdxf cannot read it at all.
"""
import re
import sys

import ezdxf
from ezdxf import recover

# ezdxf writes the hexadecimal digits of \\U+xxxx escapes in lower case but
# reads back only upper case ones; the audit reads both.
ezdxf.lldxf.encoding.BACKSLASH_UNICODE = re.compile(r"(\\U\+[A-Fa-f0-9]{4})")


def is_binary(path):
    with open(path, "rb") as f:
        return f.read(22) == b"AutoCAD Binary DXF\r\n\x1a\x00"


def main(paths):
    status = 0
    for path in paths:
        try:
            if is_binary(path):
                doc = ezdxf.readfile(path)
                auditor = doc.audit()
            else:
                doc, auditor = recover.readfile(path)
        except (IOError, ezdxf.DXFError, ValueError) as e:
            print(f"{path}: cannot read: {e}")
            return 2
        second = doc.audit()
        errors = list(auditor.errors) + list(second.errors)
        for e in errors:
            print(f"{path}: audit error {e.code}: {e.message}")
        if errors:
            status = 1
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
