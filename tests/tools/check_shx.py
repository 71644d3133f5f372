#!/usr/bin/python3
"""Reads a shape font with ezdxf (an independent SHX reader) and checks the
character numbers the system relies on.

Usage: check_shx.py FONT.shx

Every letter, digit, punctuation mark, Cyrillic letter (code page 1251) and
symbol-keyboard number must render to strokes and end on the baseline a
positive advance further; the raise and lower codes must draw nothing and
move the pen by half the capital height."""
import sys

from ezdxf import shapefile

ASCII = [n for n in range(33, 127)]
CYRILLIC = list(range(192, 256))
KEYBOARD = [36, 95, 127, 35] + [128, 129, 130, 131, 133, 134, 135, 136, 137, 138, 139, 140, 141, 142, 143,
                                144, 145, 146, 147, 148, 149, 150, 162, 163, 164, 165, 166, 167, 168, 169, 170,
                                176, 177, 178, 179, 180, 181, 182, 183, 184, 185, 186, 187, 188, 189]
SHIFTS = {172: +1, 173: -1, 174: -1, 175: +1}


def drawn_segments(p):
    return sum(len(sub) for sub in p.sub_paths()) if len(p) else 0


def main():
    path = sys.argv[1]
    with open(path, "rb") as f:
        data = f.read()
    font = shapefile.shx_load(data)
    faults = []
    if not font.is_font or font.above <= 0:
        faults.append(f"no font record (shape 0): above={font.above}")
    half = font.above / 2
    for n in sorted(set(ASCII + CYRILLIC + KEYBOARD)):
        if n not in font.shapes:
            faults.append(f"{n}: no shape")
            continue
        p = font.render_shape(n)
        if drawn_segments(p) == 0:
            faults.append(f"{n}: draws nothing")
            continue
        box = [v for v in p.flattening(0.5)]
        top = max(v.y for v in box)
        bottom = min(v.y for v in box)
        if top > font.above * 1.5 or bottom < -font.below * 1.5 - font.above * 0.5:
            faults.append(f"{n}: drawn from y={bottom:g} to y={top:g}, outside the font's height")
        if abs(p.end.y) > 1e-9 or p.end.x <= 0:
            faults.append(f"{n}: ends at ({p.end.x:g}, {p.end.y:g}), not on the baseline further right")
    space = font.render_shape(32)
    if drawn_segments(space) != 0 or space.end.x <= 0:
        faults.append("32: a blank must move right and draw nothing")
    for n, sign in SHIFTS.items():
        p = font.render_shape(n)
        if n not in font.shapes or drawn_segments(p) != 0 or abs(p.end.y - sign * half) > 1e-9 or p.end.x != 0:
            faults.append(f"{n}: should move the pen by {sign * half:+g} and draw nothing, "
                          f"ends at ({p.end.x:g}, {p.end.y:g})")
    # A raised then lowered run comes back to the baseline.
    p = font.render_shapes([ord("A"), 172, ord("2"), 173, 174, ord("3"), 175])
    if abs(p.end.y) > 1e-9:
        faults.append(f"raise/lower pairs leave the pen at y={p.end.y:g}")
    if faults:
        sys.exit(f"{path}:\n  " + "\n  ".join(faults))
    print(f"{path}: {len(font.shapes)} shapes, above {font.above}, below {font.below}; "
          f"{len(set(ASCII + CYRILLIC + KEYBOARD))} required numbers render")


if __name__ == "__main__":
    main()
