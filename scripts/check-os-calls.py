#!/usr/bin/python3
"""Fails when code outside platform/ reaches the operating system itself.

Every file, folder, process, library and environment access goes through
platform/ (platform/fs, platform/process). This script reads the C++ sources
of the other layers and names file:line for each OS header included or OS
function called. Printing to the terminal (printf, fwrite, std::cout) and
snprintf stay allowed. Comments and string literals are not code and are
skipped.

Usage: check-os-calls.py [ROOT] [FILE...]
  ROOT   the source tree (default: the folder above this script); its base/, render/, gui/,
         host/, plugin/, setup/ and tools/ are checked
  FILE   check these files instead (for the script's own test)
"""
import os
import re
import sys

CHECKED = ("base", "host", "plugin", "setup", "tools", "render", "gui")
SOURCES = (".c", ".cc", ".cpp", ".cxx", ".h", ".hh", ".hpp", ".inl")

HEADERS = re.compile(r"#\s*include\s*<\s*(unistd\.h|fcntl\.h|sys/[^>\s]+|dlfcn\.h|dirent\.h|filesystem|fstream)\s*>")
CALLS = [
    (re.compile(r"\bf(re|d)?open(64)?\s*\("), "fopen"),
    (re.compile(r"(?<![\w:])::\s*open(at)?(64)?\s*\("), "::open"),
    # A bare call of open( (not a member, not a declaration after a type).
    (re.compile(r"(?:^|[=(,!;{}?&|]|\breturn)\s*open(at)?(64)?\s*\("), "open"),
    (re.compile(r"\bmmap(64)?\s*\("), "mmap"),
    (re.compile(r"\bdl(open|sym|close|error)\s*\("), "dlopen/dlsym"),
    (re.compile(r"\bpopen\s*\("), "popen"),
    (re.compile(r"(?<![\w.>:])(::)?system\s*\("), "system"),
    (re.compile(r"(?<![\w.>])(::)?v?fork\s*\("), "fork"),
    (re.compile(r"(?<![\w.>])(::)?exec(l|lp|le|v|vp|vpe|ve)\s*\("), "exec"),
    (re.compile(r"\b(secure_)?getenv\s*\("), "getenv"),
    (re.compile(r"(?<![\w.>:])(::|std::)?(setenv|unsetenv|putenv|unlink|rmdir|mkdir|mkstemp|opendir|realpath|getcwd"
                r"|chdir|readlink|symlink|isatty|tmpfile|tmpnam)\s*\("), "a file or process function"),
    (re.compile(r"(?<![\w.>])(::|std::)(remove|rename|stat|lstat|access|read|write|close)\s*\("), "a file function"),
    (re.compile(r"\bstd\s*::\s*filesystem\b"), "std::filesystem"),
    (re.compile(r"\bstd\s*::\s*(i|o)?fstream\b"), "std::fstream"),
]


def strip(text):
    """The text with comments and string/char literals blanked, lines kept."""
    out, i, n = [], 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append("\n" * text.count("\n", i, j))
            i = j
        elif c == "R" and text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            m = re.match(r'R"([^(\s]*)\(', text[i:])
            if not m:
                out.append(c)
                i += 1
                continue
            end = text.find(")" + m.group(1) + '"', i)
            j = n if end < 0 else end + len(m.group(1)) + 2
            out.append('""' + "\n" * text.count("\n", i, j))
            i = j
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            out.append(c + c)
            i = j + 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


def check_file(path, shown):
    with open(path, encoding="utf-8", errors="replace") as f:
        raw = f.read()
    problems = []
    raw_lines = raw.split("\n")
    code_lines = strip(raw).split("\n")
    for number, line in enumerate(code_lines, 1):
        original = raw_lines[number - 1] if number <= len(raw_lines) else line
        m = HEADERS.search(original) if original.lstrip().startswith("#") else None
        if m:
            problems.append(f"{shown}:{number}: includes <{m.group(1)}>; use platform/fs or platform/process")
            continue
        for pattern, what in CALLS:
            found = pattern.search(line)
            if found:
                call = re.sub(r"^[^\w:]*|\breturn\b|\s|\($", "", found.group(0))
                kind = "" if call.endswith(what) else f" ({what})"
                problems.append(f"{shown}:{number}: calls {call}{kind}; use platform/fs or platform/process")
                break
    return problems


def sources(root):
    for top in CHECKED:
        for folder, dirs, files in os.walk(os.path.join(root, top)):
            dirs.sort()
            for name in sorted(files):
                if name.endswith(SOURCES):
                    yield os.path.join(folder, name)


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    files = argv[2:] or list(sources(root))
    problems = []
    for path in files:
        problems += check_file(path, os.path.relpath(path, root))
    for p in problems:
        print(p)
    if problems:
        print(f"{len(problems)} OS call(s) outside platform/", file=sys.stderr)
        return 1
    print(f"{len(files)} files checked: no OS calls outside platform/")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
