#!/usr/bin/python3
"""Checks the menu source: code page 1251 text naming the menu group ZOR_ARX,
a pull-down and a toolbar with both commands, and the toolbar images.

Usage: check_mns.py Zor_arx.mns"""
import re
import sys


def main():
    path = sys.argv[1]
    text = open(path, "rb").read().decode("cp1251")
    sections = {}
    current = None
    for line in text.splitlines():
        if line.startswith("***"):
            current = line[3:].strip()
            sections[current] = []
        elif current and line.strip() and not line.startswith("//"):
            sections[current].append(line)
    faults = []
    if "MENUGROUP=ZOR_ARX" not in sections:
        faults.append("no ***MENUGROUP=ZOR_ARX")
    pops = [s for s in sections if re.fullmatch(r"POP\d+", s)]
    pop = "\n".join(line for s in pops for line in sections[s])
    toolbar = "\n".join(sections.get("TOOLBARS", []))
    for command in ("^C^CCKestrin", "^C^CEKestrin"):
        if not re.search(r"\]" + re.escape(command) + r"\s*$", pop, re.M):
            faults.append(f"no pull-down item runs {command}")
    for command, image in (("^C^CCKestrin", "Dtext.bmp"), ("^C^CEKestrin", "Txe.bmp")):
        pattern = r'\[_Button\("[^"]+", "' + re.escape(image) + '", "' + re.escape(image) + r'"\)\]' + re.escape(command)
        if not re.search(pattern, toolbar):
            faults.append(f"no toolbar button with {image} runs {command}")
    if "_Toolbar(" not in toolbar:
        faults.append("no _Toolbar line under ***TOOLBARS")
    if faults:
        sys.exit(f"{path}: " + "; ".join(faults))
    print(f"{path}: menu group ZOR_ARX, {len(pops)} pull-down(s), toolbar with Dtext.bmp and Txe.bmp")


if __name__ == "__main__":
    main()
