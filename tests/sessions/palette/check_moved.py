#!/usr/bin/python3
"""Compares texts of a saved drawing with the drawing they came from.

Usage: check_moved.py ORIGINAL SAVED CLAIM...  where each CLAIM is one of
  same=HANDLE            the entity's record is byte for byte as in ORIGINAL
  moved=HANDLE;x=X;y=Y   the entity is still there under its handle, with its
                         string, layer, colour and extended data as in
                         ORIGINAL, and its insertion point at (X, Y) (for an
                         aligned text, its alignment point)
The saved drawing must pass ezdxf's audit and hold as many texts as ORIGINAL."""
import math
import sys

import ezdxf


def fail(message):
    sys.exit(f"check_moved: {message}")


def raw_record(path, handle):
    """The lines of the entity record with this handle, as bytes."""
    with open(path, "rb") as f:
        lines = f.read().splitlines()
    pairs = list(zip(lines[0::2], lines[1::2]))
    for start, (code, _) in enumerate(pairs):
        if code.strip() != b"0":
            continue
        end = start + 1
        while end < len(pairs) and pairs[end][0].strip() != b"0":
            end += 1
        record = pairs[start:end]
        if any(c.strip() == b"5" and v.strip().upper() == handle.upper().encode() for c, v in record):
            return record
    fail(f"{path}: no record with handle {handle}")


def xdata_of(entity):
    return [(tag.code, tag.value) for tag in entity.get_xdata("KESTRIN_TEST")]


def check_moved(original, saved, handle, pairs):
    before, after = original.entitydb.get(handle), saved.entitydb.get(handle)
    if after is None or after.is_alive is False:
        fail(f"handle {handle}: gone from the saved drawing (made anew instead of moved?)")
    for name in ("text", "layer", "color", "height", "halign"):
        if before.dxf.get(name) != after.dxf.get(name):
            fail(f"handle {handle}: {name} {after.dxf.get(name)!r}, was {before.dxf.get(name)!r}")
    if xdata_of(before) != xdata_of(after):
        fail(f"handle {handle}: extended data {xdata_of(after)}, was {xdata_of(before)}")
    point = after.dxf.align_point if after.dxf.get("halign", 0) else after.dxf.insert
    wanted = dict(p.partition("=")[::2] for p in pairs)
    for axis in ("x", "y"):
        if axis in wanted and not math.isclose(getattr(point, axis), float(wanted[axis]), abs_tol=1e-9):
            fail(f"handle {handle}: {axis} {getattr(point, axis)}, expected {wanted[axis]}")


def main():
    if len(sys.argv) < 4:
        fail("usage: check_moved.py ORIGINAL SAVED CLAIM...")
    original_path, saved_path, claims = sys.argv[1], sys.argv[2], sys.argv[3:]
    original, saved = ezdxf.readfile(original_path), ezdxf.readfile(saved_path)
    auditor = saved.audit()
    if auditor.has_errors:
        fail(f"{saved_path}: audit errors {[str(e) for e in auditor.errors]}")
    count_before = len(original.modelspace().query("TEXT"))
    count_after = len(saved.modelspace().query("TEXT"))
    if count_before != count_after:
        fail(f"{saved_path}: {count_after} texts, the original had {count_before}")
    for claim in claims:
        kind, _, rest = claim.partition("=")
        handle, *pairs = rest.split(";")
        if kind == "same":
            if raw_record(original_path, handle) != raw_record(saved_path, handle):
                fail(f"handle {handle}: record changed:\n{raw_record(original_path, handle)}\n"
                     f"{raw_record(saved_path, handle)}")
            check_moved(original, saved, handle, [])
        elif kind == "moved":
            check_moved(original, saved, handle, pairs)
        else:
            fail(f"unknown claim {claim!r}")
    print(f"{saved_path}: {len(claims)} claims hold")


if __name__ == "__main__":
    main()
