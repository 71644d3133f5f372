#!/usr/bin/python3
"""Checks the BMP files made by pixart with independent readers (the file
headers unpacked with struct, the pixels read by Pillow) and compares the
button BMPs with the module's own bitmap resources.

Usage: check_bitmaps.py DUMP_PROGRAM BUTTON_BMP_DIR TOOLBAR_BMP...
DUMP_PROGRAM prints the module's resources (dump_resources.cpp); the button
BMPs (and the icon's) are named ID-name.bmp."""
import glob
import os
import struct
import subprocess
import sys

from PIL import Image


def check_bmp(path, faults):
    """Header fields of a 16-colour bitmap; returns its RGB rows or None."""
    data = open(path, "rb").read()
    if data[:2] != b"BM" or len(data) < 54:
        faults.append(f"{path}: no BMP file header")
        return None
    size, _, offset = struct.unpack_from("<IIII", data, 2)[0], 0, struct.unpack_from("<I", data, 10)[0]
    header, width, height, planes, bpp, compression, image_size, _, _, used, _ = struct.unpack_from("<IiiHHIIiiII", data, 14)
    problems = []
    if size != len(data):
        problems.append(f"file size field {size}, file has {len(data)} bytes")
    if header != 40 or planes != 1 or bpp != 4 or compression != 0:
        problems.append(f"header {header}, planes {planes}, {bpp} bits, compression {compression}")
    if used not in (0, 16) or offset != 14 + 40 + 64:
        problems.append(f"{used} colours, pixels at {offset}")
    row = ((width * 4 + 31) // 32) * 4
    if height <= 0 or image_size != row * height or offset + row * height != len(data):
        problems.append(f"{width} x {height} with rows of {row} bytes does not fill the file")
    if problems:
        faults.append(f"{path}: " + "; ".join(problems))
        return None
    image = Image.open(path)
    if image.mode != "P" or len(image.getpalette()) // 3 < 16 or image.size != (width, height):
        faults.append(f"{path}: Pillow reads mode {image.mode} size {image.size}")
        return None
    rgb = image.convert("RGB")
    return width, height, ["%02X%02X%02X" % rgb.getpixel((x, y)) for y in range(height) for x in range(width)]


def main():
    dump_program, button_dir, toolbar = sys.argv[1], sys.argv[2], sys.argv[3:]
    faults = []
    for path in toolbar:
        read = check_bmp(path, faults)
        if read and (read[0], read[1]) != (16, 16):
            faults.append(f"{path}: {read[0]} x {read[1]}, a toolbar image is 16 x 16")
        if read and len(set(read[2])) < 2:
            faults.append(f"{path}: a single colour")
    dump = subprocess.run([dump_program], capture_output=True, text=True, check=True).stdout
    module, bitmaps = {}, 0
    for line in dump.splitlines():
        kind, ident, width, height, *pixels = line.split()
        module[int(ident)] = (int(width), int(height), pixels)
        bitmaps += kind == "bitmap"
    files = sorted(glob.glob(os.path.join(button_dir, "*.bmp")))
    by_id = {int(os.path.basename(p).split("-")[0]): p for p in files}
    if bitmaps != 42 or set(by_id) != set(module):
        faults.append(f"module bitmaps and icons {sorted(module)} and BMP files {sorted(by_id)} differ")
    for ident, path in sorted(by_id.items()):
        read = check_bmp(path, faults)
        if read and ident in module and read != module[ident]:
            w, h, pixels = module[ident]
            differ = [i for i, (a, b) in enumerate(zip(read[2], pixels)) if a != b]
            faults.append(f"{path}: {read[0]} x {read[1]} differs from module bitmap {ident} ({w} x {h}), "
                          f"{len(differ)} pixels first at {differ[:1]}")
    if faults:
        sys.exit("\n".join(faults))
    print(f"{len(toolbar)} toolbar BMPs and {len(by_id)} button BMPs read; the module's bitmaps and icon equal them")


if __name__ == "__main__":
    main()
