#!/usr/bin/python3
"""cadhost at a terminal: lines are edited as they are typed and come back
from the history; Ctrl+C and Ctrl+D, typed at a real pseudo-terminal
(and Ctrl+C as SIGINT through a pipe with KESTRIN_CADHOST_INTERACTIVE=1),
never lose the drawing: at "Command:" they ask "Save changes to NAME?" when
the drawing changed, and Cancel keeps the session going; while a request or
a dialog waits they cancel it as Escape does.
Usage: terminal_keys.py CADHOST MODULE_DIR PLUGIN_MODULE"""
import os
import pty
import select
import signal
import subprocess
import sys
import tempfile
import time


class Terminal:
    """cadhost on the slave side of a pseudo-terminal, its controlling terminal."""

    def __init__(self, args, work):
        env = dict(os.environ, KESTRIN_DOSDEVICES=os.path.join(work, ".dosdevices"),
                   KESTRIN_REGISTRY=os.path.join(work, "registry.reg"), XDG_STATE_HOME=os.path.join(work, "state"))
        env.pop("KESTRIN_CADHOST_INTERACTIVE", None)
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            os.chdir(work)
            os.execve(args[0], args, env)
        self.seen = b""

    def read_until(self, text, timeout=20):
        wanted = text.encode()
        end = time.time() + timeout
        while wanted not in self.seen:
            if time.time() > end:
                raise AssertionError(f"no {text!r} after {timeout}s; the terminal showed:\n" +
                                     self.seen.decode(errors="replace"))
            ready, _, _ = select.select([self.fd], [], [], 0.1)
            if ready:
                try:
                    self.seen += os.read(self.fd, 4096)
                except OSError:  # cadhost has ended
                    raise AssertionError(f"cadhost ended before {text!r}; the terminal showed:\n" +
                                         self.seen.decode(errors="replace"))
        at = self.seen.index(wanted) + len(wanted)
        self.seen = self.seen[at:]

    def send(self, text):
        os.write(self.fd, text.encode())

    def status(self, timeout=20):
        end = time.time() + timeout
        while time.time() < end:
            pid, status = os.waitpid(self.pid, os.WNOHANG)
            if pid:
                return os.waitstatus_to_exitcode(status)
            try:
                select.select([self.fd], [], [], 0.1)
                os.read(self.fd, 4096)
            except OSError:
                time.sleep(0.05)
        os.kill(self.pid, signal.SIGKILL)
        raise AssertionError("cadhost did not end")


def ctrl_c_asks_and_cancel_goes_on(cadhost, modules, plugin, work):
    save = os.path.join(work, "c.dxf")
    t = Terminal([cadhost, "--load", f"{modules}/hello.arx", "--save", save], work)
    t.read_until("Command: ")
    t.send("HELLOPOINT\n")
    t.read_until("Point: ")
    t.send("\x03")  # a request waits: cancelled, the command line again
    t.read_until("No point")
    t.read_until("Command: ")
    t.send("HELLODIALOG\n")
    t.read_until('dialog "')
    t.send("\x03")  # a dialog waits: cancelled as by its Escape key
    t.read_until("Command: ")
    t.send("\x03")  # nothing changed: nothing to ask
    assert t.status() == 0, "Ctrl+C at an unchanged drawing ends the session"
    assert os.path.exists(save), "--save writes the unchanged drawing as before"

    os.remove(save)
    t = Terminal([cadhost, "--load", f"{modules}/hello.arx", "--save", save], work)
    t.read_until("Command: ")
    t.send("HELLOTEXT\n")
    t.read_until("Text position: ")
    t.send("1,2\n")
    t.read_until("Command: ")
    t.send("\x03")
    t.read_until("Save changes to c.dxf? (yes/no/cancel)")
    t.send("cancel\n")
    t.read_until("Command: ")  # still running, with its work
    t.send("HELLOTEXT\n")
    t.read_until("Text position: ")
    t.send("3,4\n")
    t.read_until("Command: ")
    t.send("\x03")
    t.read_until("Save changes to c.dxf?")
    t.send("no\n")
    assert t.status() == 0
    assert not os.path.exists(save), "No drops the changes: --save does not write them"


def ctrl_d_in_the_palette_cancels_it_then_asks(cadhost, modules, plugin, work):
    save = os.path.join(work, "palette.dxf")
    t = Terminal([cadhost, "--load", plugin, "--save", save], work)
    t.read_until("Command: ")
    t.send("CKestrin\n")
    t.read_until("текста: ")
    t.send("10,20\n")
    t.read_until('dialog "')
    t.send('type "Первая"\n')
    t.read_until('dialog "')
    t.send("\x04")  # end of input while the palette waits
    t.read_until("Save changes to palette.dxf? (yes/no/cancel)")
    t.send("yes\n")
    assert t.status() == 0
    with open(save, encoding="cp1251") as f:
        assert "Первая" in f.read(), "the line placed before Ctrl+D is saved"


def ctrl_d_at_an_unchanged_drawing_ends_at_once(cadhost, modules, plugin, work):
    t = Terminal([cadhost, "--load", f"{modules}/hello.arx"], work)
    t.read_until("Command: ")
    t.send("\x04")
    assert t.status() == 0


def sigint_through_a_pipe(cadhost, modules, plugin, work):
    env = dict(os.environ, KESTRIN_CADHOST_INTERACTIVE="1", KESTRIN_DOSDEVICES=os.path.join(work, ".dosdevices"),
               KESTRIN_REGISTRY=os.path.join(work, "registry.reg"), XDG_STATE_HOME=os.path.join(work, "state"))
    save = os.path.join(work, "pipe.dxf")
    p = subprocess.Popen([cadhost, "--load", f"{modules}/hello.arx", "--save", save], stdin=subprocess.PIPE,
                         stdout=subprocess.PIPE, cwd=work, env=env)
    p.stdin.write(b"HELLOTEXT\n1,2\n")
    p.stdin.flush()
    time.sleep(1)
    p.send_signal(signal.SIGINT)
    time.sleep(0.5)
    p.stdin.write(b"cancel\nHELLOTEXT\n5,6\n")
    p.stdin.close()  # the end of the pipe: the question cannot be answered, so nothing is dropped
    text = p.stdout.read().decode(errors="replace")
    p.wait(timeout=20)
    assert p.returncode == 0, f"exit status {p.returncode}:\n{text}"
    assert text.count("message box [cadhost] Save changes to pipe.dxf?") == 2, text
    assert "-> cancel" in text and "(no answer: cancel)" in text, text
    with open(save, encoding="cp1251") as f:
        drawing = f.read()
    assert drawing.count("Привет, мир") == 2, "both texts are written at the end"


def lines_are_edited_and_remembered(cadhost, modules, plugin, work):
    save = os.path.join(work, "edit.dxf")
    t = Terminal([cadhost, "--load", f"{modules}/hello.arx", "--save", save], work)
    t.read_until("Command: ")
    t.send("HELLOTXT\x1b[D\x1b[DE\n")  # two steps left, a letter put in there
    t.read_until("Text position: ")
    t.send("1,2\n")
    t.read_until("Command: ")
    t.send("HELLOWORLD\n")
    t.read_until('Unknown command "HELLOWORLD"')
    t.read_until("Command: ")
    assert "unknown command" not in t.seen.decode(errors="replace"), "the unknown command is said once"
    t.send("\x1b[A\x1b[A\x1b[A\n")  # three lines back (the point typed is one): HELLOTEXT again
    t.read_until("Text position: ")
    t.send("Привет\x7f\x7f\x7f\x7f\x7f\x7f3,4\n")  # Cyrillic letters rubbed out one by one
    t.read_until("Command: ")
    t.send("\x03")
    t.read_until("Save changes to edit.dxf?")
    t.send("yes\n")
    assert t.status() == 0
    with open(save, encoding="cp1251") as f:
        drawing = f.read()
    assert drawing.count("Привет, мир") == 2, "both texts were placed"
    assert "\n3.0\n" in drawing or "\n3\n" in drawing, "the second text is at the point typed after the rub-outs"


def main():
    cadhost, modules, plugin = sys.argv[1:4]
    failed = []
    for test in (ctrl_c_asks_and_cancel_goes_on, ctrl_d_in_the_palette_cancels_it_then_asks,
                 ctrl_d_at_an_unchanged_drawing_ends_at_once, sigint_through_a_pipe, lines_are_edited_and_remembered):
        work = tempfile.mkdtemp(prefix="kestrin-terminal-")
        try:
            test(os.path.abspath(cadhost), os.path.abspath(modules), os.path.abspath(plugin), work)
        except AssertionError as e:
            failed.append(f"{test.__name__}: {e}")
    if failed:
        sys.exit("\n".join(failed))


if __name__ == "__main__":
    main()
