#!/usr/bin/python3
"""The OS-call guard names file:line for each violation and passes clean code.

Usage: check_os_calls_test.py PATH/TO/check-os-calls.py
"""
import os
import subprocess
import sys
import tempfile
import unittest

GUARD = None

CLEAN = r'''// Comments may name dlopen(), getenv("HOME") and <fstream>.
#include <cstdio>
#include <string>
/* std::filesystem::path p; ::open("x", 0); */
int open(const char* name);            // a declaration of a method named open
Status DrawingStore::open(int mode);   // a member's definition
void f(Store& s, Dict* d) {
    std::printf("system(%s)\n", "fork()");
    std::fwrite("x", 1, 1, stdout);
    char buf[8];
    std::snprintf(buf, sizeof buf, "%d", 1);
    s.open(1);
    d->remove("key");
    auto text = R"(popen("ls") and exec("x"))";
}
'''

VIOLATIONS = {
    "#include <unistd.h>": "includes <unistd.h>",
    "#  include <sys/stat.h>": "includes <sys/stat.h>",
    "#include <filesystem>": "includes <filesystem>",
    "#include <fstream>": "includes <fstream>",
    "#include <dlfcn.h>": "includes <dlfcn.h>",
    "#include <dirent.h>": "includes <dirent.h>",
    "FILE* f = fopen(\"a\", \"r\");": "calls fopen",
    "int fd = ::open(path, 0);": "calls ::open",
    "if (open(path, 0) < 0) return;": "calls open",
    "void* m = mmap(nullptr, 4, 1, 2, fd, 0);": "calls mmap",
    "void* h = dlopen(\"x.so\", 2);": "calls dlopen",
    "auto s = dlsym(h, \"f\");": "calls dlsym",
    "FILE* p = popen(\"ls\", \"r\");": "calls popen",
    "int rc = system(\"ls\");": "calls system",
    "pid_t pid = fork();": "calls fork",
    "execvp(argv[0], argv);": "calls execvp",
    "const char* home = getenv(\"HOME\");": "calls getenv",
    "const char* h = std::getenv(\"HOME\");": "calls getenv",
    "namespace fs = std::filesystem;": "calls std::filesystem",
    "std::ifstream in(path);": "calls std::ifstream",
    "std::ofstream out(path);": "calls std::ofstream",
    "std::remove(path.c_str());": "calls std::remove",
}


def run_guard(root, *files):
    return subprocess.run([sys.executable, GUARD, root, *files], capture_output=True, text=True)


class Guard(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.root = self.dir.name

    def tearDown(self):
        self.dir.cleanup()

    def write(self, relative, text):
        path = os.path.join(self.root, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w") as f:
            f.write(text)
        return path

    def test_clean_code_passes(self):
        self.write("host/clean.cpp", CLEAN)
        run = run_guard(self.root)
        self.assertEqual(run.returncode, 0, run.stdout + run.stderr)

    def test_each_violation_fails_naming_file_and_line(self):
        for line, expected in VIOLATIONS.items():
            with self.subTest(line=line):
                self.write("plugin/bad.cpp", "// first line\n\n" + line + "\n")
                run = run_guard(self.root)
                self.assertEqual(run.returncode, 1, run.stdout)
                self.assertIn("plugin/bad.cpp:3: " + expected, run.stdout)

    def test_the_layers_are_checked_and_platform_tests_bench_are_not(self):
        bad = "#include <unistd.h>\n"
        for folder in ("platform", "tests", "bench", "fuzz"):
            self.write(folder + "/ok.cpp", bad)
        self.assertEqual(run_guard(self.root).returncode, 0)
        for folder in ("base", "host", "plugin", "setup", "tools"):
            with self.subTest(folder=folder):
                path = self.write(folder + "/x/bad.h", bad)
                run = run_guard(self.root)
                self.assertIn(folder + "/x/bad.h:1: includes <unistd.h>", run.stdout)
                os.remove(path)

    def test_every_violation_of_a_file_is_listed(self):
        self.write("host/two.cpp", "#include <fstream>\nint x;\nauto v = getenv(\"A\");\n")
        run = run_guard(self.root)
        self.assertIn("host/two.cpp:1:", run.stdout)
        self.assertIn("host/two.cpp:3:", run.stdout)


if __name__ == "__main__":
    GUARD = sys.argv.pop(1)
    unittest.main(verbosity=1)
