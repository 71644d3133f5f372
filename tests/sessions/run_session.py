#!/usr/bin/python3
"""Runs one session script through cadhost and checks what its directives ask.

Directives are comment lines of the script, so cadhost skips them:
  #: args ARG...        cadhost's arguments (shell words); default: @SCRIPT@
  #: stdin              feed the script on standard input instead
  #: status N           expected exit status (default 0)
  #: output TEXT        standard output holds TEXT; several appear in this order
  #: nooutput TEXT      standard output nowhere holds TEXT
  #: stderr TEXT        standard error holds TEXT
  #: file PATH TEXT     the file PATH holds TEXT (UTF-8)
  #: absent PATH        the file PATH does not exist afterwards
  #: check PROGRAM ARG  a program run afterwards must succeed
  #: env NAME=VALUE    an environment variable for cadhost (and what it starts)
  #: fifo PATH          make a FIFO at PATH before the run
  #: readonly PATH TEXT make a write-protected file holding TEXT before the run
  #: link PATH TARGET   make a symbolic link (and its missing folders) before the run
  #: copy FILE PATH     copy FILE (beside the script) to PATH before the run
  #: noleakcheck        no leak check under the sanitizers (a host that stops
                        at once leaves its modules' objects allocated)
Drive links (KESTRIN_DOSDEVICES) and the registry (KESTRIN_REGISTRY) default
to the run's folder, never the home folder.
Placeholders: @SCRIPT@ (this script), @CADHOST@ (the program), @MODULES@ (test modules), @WORK@ (a fresh
folder for this run, where cadhost runs), @SOURCE@ (the folder of the script).
Usage: run_session.py CADHOST MODULE_DIR SCRIPT
"""
import os
import shlex
import shutil
import subprocess
import sys
import tempfile


def main():
    cadhost, modules, script = sys.argv[1:4]
    work = tempfile.mkdtemp(prefix="kestrin-session-")
    places = {"@SCRIPT@": script, "@CADHOST@": os.path.abspath(cadhost), "@MODULES@": modules, "@WORK@": work,
              "@SOURCE@": os.path.dirname(os.path.abspath(script))}

    def fill(text):
        for key, value in places.items():
            text = text.replace(key, value)
        return text

    args, status, use_stdin, checks, setup = [script], 0, False, [], []
    env = dict(os.environ)
    # Drive links for Windows paths live in the run's folder, not in the home folder.
    env["KESTRIN_DOSDEVICES"] = os.path.join(work, ".dosdevices")
    # So are recovery files of automatic saves.
    env["XDG_STATE_HOME"] = os.path.join(work, ".state")
    # So is the registry, unless the script names one.
    env["KESTRIN_REGISTRY"] = os.path.join(work, "registry.reg")
    with open(script, encoding="utf-8") as f:
        for line in f:
            if not line.startswith("#:"):
                continue
            word, _, rest = line[2:].strip().partition(" ")
            rest = fill(rest.strip())
            if word == "args":
                args = shlex.split(rest)
            elif word == "env":
                name, _, value = rest.partition("=")
                env[name] = value
            elif word == "stdin":
                use_stdin = True
            elif word == "noleakcheck":
                env["ASAN_OPTIONS"] = ":".join(filter(None, [env.get("ASAN_OPTIONS"), "detect_leaks=0"]))
            elif word == "status":
                status = int(rest)
            elif word in ("fifo", "readonly", "link", "copy"):
                setup.append((word, rest))
            elif word in ("output", "nooutput", "stderr", "file", "absent", "check"):
                checks.append((word, rest))
            else:
                sys.exit(f"{script}: unknown directive '#: {word}'")

    for word, rest in setup:
        path, _, more = rest.partition(" ")
        if word == "fifo":
            os.mkfifo(path)
        elif word == "readonly":
            with open(path, "w", encoding="utf-8") as f:
                f.write(more)
            os.chmod(path, 0o444)
        elif word == "copy":
            shutil.copyfile(os.path.join(places["@SOURCE@"], path), more)
        else:
            os.makedirs(os.path.dirname(path), exist_ok=True)
            os.symlink(more, path)

    stdin = open(script, "rb") if use_stdin else subprocess.DEVNULL
    run = subprocess.run([cadhost] + args, stdin=stdin, capture_output=True, timeout=60, cwd=work, env=env)
    out = run.stdout.decode("utf-8", errors="replace")
    err = run.stderr.decode("utf-8", errors="replace")
    problems = []
    if run.returncode != status:
        problems.append(f"exit status {run.returncode}, expected {status}")
    at = 0
    for kind, rest in checks:
        if kind == "output":
            found = out.find(rest, at)
            if found < 0:
                problems.append(f"standard output lacks (after what was found before): {rest!r}")
            else:
                at = found + len(rest)
        elif kind == "nooutput" and rest in out:
            problems.append(f"standard output holds: {rest!r}")
        elif kind == "stderr" and rest not in err:
            problems.append(f"standard error lacks: {rest!r}")
        elif kind == "file":
            path, _, text = rest.partition(" ")
            try:
                with open(path, encoding="utf-8") as f:
                    content = f.read()
            except (OSError, UnicodeDecodeError) as e:
                problems.append(f"cannot read {path} as UTF-8: {e}")
                continue
            if text not in content:
                problems.append(f"{path} lacks: {text!r}")
        elif kind == "absent" and os.path.exists(rest):
            problems.append(f"{rest} exists but should not")
        elif kind == "check":
            done = subprocess.run(shlex.split(rest), capture_output=True, text=True, timeout=120)
            if done.returncode != 0:
                problems.append(f"check failed: {rest}\n{done.stdout}{done.stderr}")
    if problems:
        print("cadhost " + " ".join(shlex.quote(a) for a in args))
        print("--- standard output ---\n" + out + "--- standard error ---\n" + err + "---")
        for p in problems:
            print("FAILED: " + p)
        sys.exit(1)


if __name__ == "__main__":
    main()
