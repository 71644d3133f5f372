#!/usr/bin/python3
"""Checks the Debian package scripts/package.sh makes: its control fields and
contents, its desktop entry (desktop-file-validate) and lintian's errors, then
unpacks it into a temporary root and uses the installed programs as a person
would: `kestrin` composes a line in the window (offscreen) over a fresh
profile made on its first start, opens the saved drawing by its name alone,
and `plantor` registers an install in that profile.
Usage: check_package.py PACKAGE.deb
       check_package.py --cpack CPackConfig.cmake   (makes the package first,
                                                    in a temporary folder)"""
import os
import shutil
import subprocess
import sys
import tempfile

import ezdxf
from PIL import Image

COMPANIONS = ["zor.shx", "Zor_arx.mns", "Kestrin.chm", "Dtext.bmp", "Txe.bmp"]
EXPECTED = (["usr/bin/kestrin", "usr/bin/kestrin-render", "usr/bin/plantor",
             "usr/lib/kestrin/cadhost", "usr/lib/kestrin/Kestrin.arx",
             "usr/lib/kestrin/setup/Plantor", "usr/lib/kestrin/setup/Kestrin.arx",
             "usr/share/applications/kestrin.desktop",
             "usr/share/doc/kestrin/copyright", "usr/share/doc/kestrin/changelog.gz"]
            + ["usr/share/kestrin/" + f for f in COMPANIONS]
            + ["usr/lib/kestrin/setup/" + f for f in COMPANIONS]
            + ["usr/share/icons/hicolor/%dx%d/apps/kestrin.png" % (n, n) for n in (16, 32, 48, 64, 128, 256)]
            + ["usr/share/man/man1/%s.1.gz" % p for p in ("kestrin", "kestrin-render", "plantor")])

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL: " + what)


def run(args, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, timeout=120, **kwargs)


def check_control(deb):
    fields = run(["dpkg-deb", "-f", deb, "Package", "Depends", "Section"]).stdout
    check("Package: kestrin" in fields, "package name: " + fields)
    depends = [d.strip().split(" ")[0] for d in fields.split("Depends:")[1].split("\n")[0].split(",")]
    check("libqt6widgets6" in depends, "Qt 6 Widgets runtime not among the dependencies: %s" % depends)
    check(not any(d.endswith("-dev") for d in depends), "a -dev package among the dependencies: %s" % depends)


def check_contents(deb, root):
    listed = run(["dpkg-deb", "-c", deb]).stdout
    for path in EXPECTED:
        check(os.path.lexists(os.path.join(root, path)), "missing from the package: /" + path)
        check(os.path.exists(os.path.join(root, path)), "a dangling link in the package: /" + path)
    check("/build/" not in listed and "/out/" not in listed, "build paths in the package")
    check_icons(root)
    desktop = os.path.join(root, "usr/share/applications/kestrin.desktop")
    if shutil.which("desktop-file-validate"):
        result = run(["desktop-file-validate", desktop])
        check(result.returncode == 0 and not result.stdout.strip(), "desktop entry: " + result.stdout)
    entry = open(desktop, encoding="utf-8").read()
    check("MimeType=image/vnd.dxf;" in entry and "Exec=kestrin %f" in entry, "desktop entry's DXF association")
    if shutil.which("lintian"):
        result = run(["lintian", deb])
        errors = [line for line in result.stdout.splitlines() if line.startswith("E:")]
        check(not errors, "lintian errors:\n" + "\n".join(errors))
    for page in ("kestrin", "kestrin-render", "plantor"):
        result = run(["man", "-l", os.path.join(root, "usr/share/man/man1/%s.1.gz" % page)],
                     env=dict(os.environ, MANWIDTH="80"))
        check(result.returncode == 0 and "SYNOPSIS" in result.stdout, "man page %s: %s" % (page, result.stderr))


def check_icons(root):
    """Each size is the 16-pixel art enlarged by whole pixels, its background
    transparent and its drawing opaque."""
    icon = "usr/share/icons/hicolor/%dx%d/apps/kestrin.png"
    if not os.path.exists(os.path.join(root, icon % (16, 16))):
        return
    base = Image.open(os.path.join(root, icon % (16, 16))).convert("RGBA")
    alphas = set(base.getchannel("A").getdata())
    check(alphas == {0, 255}, "the icon's transparency: alpha values %s" % sorted(alphas))
    for n in (32, 48, 64, 128, 256):
        path = os.path.join(root, icon % (n, n))
        if os.path.exists(path):
            image = Image.open(path)
            check(image.mode == "RGBA" and image.size == (n, n), "icon %d: %s %s" % (n, image.mode, image.size))
            check(list(image.convert("RGBA").getdata()) == list(base.resize((n, n), Image.NEAREST).getdata()),
                  "icon %d is not the art enlarged" % n)


def texts(path):
    return sorted(e.dxf.text for e in ezdxf.readfile(path).modelspace().query("TEXT"))


def use_installed(root, work):
    env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(work, "config"), XDG_STATE_HOME=os.path.join(work, "state"),
               QT_QPA_PLATFORM="offscreen", HOME=work)
    for name in ("KESTRIN_REGISTRY", "KESTRIN_DOSDEVICES", "KESTRIN_SESSION", "DISPLAY", "WAYLAND_DISPLAY"):
        env.pop(name, None)
    profile = os.path.join(work, "config", "kestrin", "profile.reg")
    share = "Z:" + os.path.join(root, "usr/share/kestrin").replace("/", "\\")

    # First start: a new profile naming the installed files; the toolbar's menu
    # group loads from it (a missing menu file would be reported as an error).
    compose = os.path.join(work, "compose.ks")
    with open(compose, "w", encoding="utf-8") as f:
        f.write('command CKestrin\npoint 10,60\ntype "Проверка"\nclick "Выход"\n')
    first = os.path.join(work, "first.dxf")
    result = run([os.path.join(root, "usr/bin/kestrin"), "--save", first, compose], env=env, cwd=work)
    output = result.stdout + result.stderr
    check(result.returncode == 0 and "error" not in output, "kestrin's first start: %d\n%s" % (result.returncode, output))
    check(os.path.exists(profile), "no profile made on the first start")
    if not os.path.exists(profile):
        return
    made = open(profile, encoding="cp1251").read()
    check('"ACAD"="%s"' % share.replace("\\", "\\\\") in made, "the profile's support path:\n" + made)
    check('"Group1"="ZOR_ARX %s\\\\Zor_arx"' % share.replace("\\", "\\\\") in made, "the profile's menu group:\n" + made)
    if os.path.exists(first):
        check(texts(first) == ["Проверка"], "the composed drawing holds %s" % texts(first))

    # A drawing named alone is opened; the profile keeps what the person put
    # there and gains the drawing among its recent files.
    with open(profile, "a", encoding="cp1251", newline="") as f:
        f.write('[HKEY_CURRENT_USER\\Software\\Own]\r\n"Kept"="yes"\r\n\r\n')
    before = open(profile, "rb").read()
    again = os.path.join(work, "again.dxf")
    result = run([os.path.join(root, "usr/bin/kestrin"), first, "--save", again, compose], env=env, cwd=work)
    check(result.returncode == 0, "kestrin DRAWING: %d\n%s%s" % (result.returncode, result.stdout, result.stderr))
    if os.path.exists(again):
        check(texts(again) == ["Проверка", "Проверка"], "the reopened drawing holds %s" % texts(again))
    after = open(profile, "rb").read()
    lost = set(before.splitlines()) - set(after.splitlines())
    check(not lost, "the second start lost lines of the profile: %s" % sorted(lost))
    check(('"File1"="%s"' % first.replace("\\", "\\\\")).encode("cp1251") in after,
          "the opened drawing is not first in the profile's recent files")

    # The setup run as the user installs onto the profile's drive C and
    # registers the folder there.
    setup = os.path.join(work, "setup.ks")
    with open(setup, "w", encoding="utf-8") as f:
        f.write('focus 1000\ntype "C:\\\\Kestrin"\nanswer ok\nclick "ОК"\n')
    result = run([os.path.join(root, "usr/bin/plantor")], env=dict(env, KESTRIN_SESSION=setup), cwd=work)
    check(result.returncode == 0, "plantor: %d\n%s%s" % (result.returncode, result.stdout, result.stderr))
    installed = os.path.join(work, "config", "kestrin", "drive_c", "Kestrin")
    for name in COMPANIONS + ["Kestrin.arx"]:
        copied = os.path.join(installed, name)
        check(os.path.isfile(copied) and not os.path.islink(copied), "plantor did not copy " + name)
    registered = open(profile, encoding="cp1251").read()
    check('"ACAD"="C:\\\\Kestrin;%s"' % share.replace("\\", "\\\\") in registered, "plantor's support path:\n" + registered)
    check('"Group1"="ZOR_ARX C:\\\\Kestrin\\\\Zor_arx"' in registered, "plantor's menu group:\n" + registered)
    check('"Kept"="yes"' in registered, "plantor lost the person's own values")


def make_package(config, work):
    out = os.path.join(work, "package")
    result = run(["cpack", "--config", config, "-B", out])
    debs = [f for f in os.listdir(out) if f.endswith(".deb")] if os.path.isdir(out) else []
    if result.returncode != 0 or len(debs) != 1:
        sys.exit("cpack --config %s failed (%d):\n%s%s" % (config, result.returncode, result.stdout, result.stderr))
    return os.path.join(out, debs[0])


def main():
    work = tempfile.mkdtemp(prefix="kestrin-package-")
    try:
        if sys.argv[1] == "--cpack":
            deb = make_package(os.path.abspath(sys.argv[2]), work)
        else:
            deb = os.path.abspath(sys.argv[1])
        root = os.path.join(work, "root")
        subprocess.run(["dpkg-deb", "-x", deb, root], check=True)
        check_control(deb)
        check_contents(deb, root)
        use_installed(root, work)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    if failures:
        print("%d check(s) of %s failed" % (len(failures), deb))
        return 1
    print("package %s: contents, desktop entry, man pages and the installed programs checked" % os.path.basename(deb))
    return 0


if __name__ == "__main__":
    sys.exit(main())
