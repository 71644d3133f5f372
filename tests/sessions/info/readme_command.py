#!/usr/bin/python3
"""Runs the README's "try your own session" command as a new user would: in
a fresh folder holding only build/, dist/ and examples/ (no out/). Each
command of the block (joined by &&) is run with an argument vector.
Usage: readme_command.py README CADHOST DIST EXAMPLES"""
import os
import shlex
import subprocess
import sys
import tempfile


def command_block(readme):
    lines = open(readme, encoding="utf-8").read().split("\n")
    start = next(i for i, line in enumerate(lines) if "Try your own session with" in line)
    block = []
    for line in lines[start + 1:]:  # the first indented block after it
        if line.startswith("    ") and line.strip():
            block.append(line.strip())
        elif block:
            break
    if not block:
        sys.exit("the README shows no command after 'Try your own session with'")
    return " ".join(block)


def main():
    readme, cadhost, dist, examples = sys.argv[1:5]
    text = command_block(readme)
    fresh = tempfile.mkdtemp(prefix="kestrin-readme-")
    os.makedirs(os.path.join(fresh, "build"))
    os.symlink(os.path.dirname(os.path.dirname(cadhost)), os.path.join(fresh, "build", "release"))
    os.symlink(os.path.abspath(dist), os.path.join(fresh, "dist"))
    os.symlink(os.path.abspath(examples), os.path.join(fresh, "examples"))
    saved = [w for w in shlex.split(text) if w.endswith(".dxf")]
    for part in text.split("&&"):
        argv = shlex.split(part)
        run = subprocess.run(argv, cwd=fresh, capture_output=True, text=True, timeout=120)
        if run.returncode != 0:
            sys.exit(f"'{part.strip()}' failed with {run.returncode}:\n{run.stdout}{run.stderr}")
    missing = [p for p in saved if not os.path.isfile(os.path.join(fresh, p))]
    if missing:
        sys.exit(f"the README's command left no {missing}")
    print(f"ran: {text}")


if __name__ == "__main__":
    main()
