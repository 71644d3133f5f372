"""Checks the desktop program's own picture of the palette over the title block.

Usage: check_screenshot.py PICTURE.png

The window is 1100 x 760; the drawing (left of the palette) holds dark text
strokes on white; the palette's caption bar is a strongly coloured band at
the top right, with the palette's light face below it.
"""
import sys

from PIL import Image


def fail(why):
    print(f"{sys.argv[1]}: {why}")
    sys.exit(1)


def main():
    image = Image.open(sys.argv[1]).convert("RGB")
    if image.size != (1100, 760):
        fail(f"size {image.size}, expected (1100, 760)")
    px = image.load()

    def share(box, test):
        x0, y0, x1, y1 = box
        hits = sum(1 for y in range(y0, y1) for x in range(x0, x1) if test(px[x, y]))
        return hits / ((x1 - x0) * (y1 - y0))

    dark = lambda c: max(c) < 100
    white = lambda c: min(c) > 240
    saturated = lambda c: max(c) - min(c) > 60
    drawing = (20, 160, 600, 540)  # below the heading, left of the palette
    if not 0.01 < share(drawing, dark) < 0.3:
        fail(f"the drawing holds {share(drawing, dark):.3f} dark pixels, not text strokes")
    if share(drawing, white) < 0.6:
        fail("the drawing is not dark on white")
    # The caption bar: the first band of coloured rows at the top right.
    rows = [y for y in range(30, 120) if share((700, y, 1000, y + 1), saturated) > 0.8]
    if not rows:
        fail("no palette caption bar at the top right")
    below = (700, rows[-1] + 4, 1000, rows[-1] + 60)
    if share(below, saturated) > 0.5:
        fail("nothing but colour below the caption bar: no palette")
    print(f"{sys.argv[1]}: drawing and palette as expected (caption rows {rows[0]}..{rows[-1]})")


main()
