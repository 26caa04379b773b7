"""Helpers of the Windows tests that drive programs under Wine with a display of their own.

Each test works in a private copy of the run's Wine prefix (so that it has its own wineserver,
desktop and keyboard layout) and a private Xvfb. Every wait is bounded; everything started is
ended when the test ends, also when it fails.
"""

import os
import shutil
import signal
import subprocess
import sys
import time

WINE_ENV = {
    "WINEDEBUG": "-all",
    "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
}


class Failure(Exception):
    pass


def wait_until(predicate, seconds, what):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        value = predicate()
        if value:
            return value
        time.sleep(0.05)
    raise Failure(f"timed out after {seconds} s waiting for {what}")


class Session:
    """A private prefix copy and display; use as a context manager."""

    def __init__(self, template, work, layout="us", keeper=None):
        self.template = template
        self.keeper = keeper
        self.work = os.path.abspath(work)
        self.prefix = os.path.join(self.work, "wine")
        self.layout = layout
        self.processes = []
        self.display = None

    def __enter__(self):
        shutil.rmtree(self.work, ignore_errors=True)
        os.makedirs(self.work)
        self._copy_prefix()
        self._start_display()
        self._start_wine()
        return self

    def __exit__(self, *exc):
        for p in reversed(self.processes):
            if p.poll() is None:
                p.terminate()
        subprocess.run(["wineserver", "-k"], env=self.env(), timeout=30,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for p in reversed(self.processes):
            try:
                p.wait(timeout=10)
            except subprocess.TimeoutExpired:
                p.kill()
        return False

    def _copy_prefix(self):
        # Hard links for the large, never written files; real copies of the registry, which
        # each wineserver rewrites, and of every file below the users' folders.
        subprocess.run(["cp", "-al", self.template, self.prefix], check=True, timeout=120)
        for root, _, files in os.walk(self.prefix):
            for name in files:
                path = os.path.join(root, name)
                if name.endswith((".reg", ".ini")) or "/drive_c/users/" in path:
                    if os.path.islink(path):
                        continue
                    tmp = path + ".copy"
                    shutil.copy2(path, tmp)
                    os.replace(tmp, path)
        self._remove_com_links()

    def _start_wine(self):
        # As in wine-prefix.sh: the server stays up for the whole session, the keeper brings
        # the system programs up once (with no streams of ours), and the COM links that
        # Wine's device manager makes at that start are removed before anything runs.
        subprocess.run(["wineserver", "-p"], env=self.env(), timeout=60,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        if self.keeper:
            self.start([self.keeper], "keeper.out")
        self.run(["cmd", "/c", "exit"], timeout=120)
        time.sleep(1)
        self._remove_com_links()

    def _remove_com_links(self):
        folder = os.path.join(self.prefix, "dosdevices")
        for name in os.listdir(folder):
            if name.lower().startswith("com"):
                os.remove(os.path.join(folder, name))

    def _start_display(self):
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x800x24", "-noreset",
             "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        os.close(write_end)
        self.processes.append(xvfb)
        number = b""
        end = time.monotonic() + 20
        while not number.endswith(b"\n") and time.monotonic() < end:
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_end)
        if not number.strip():
            raise Failure("Xvfb did not start")
        self.display = ":" + number.decode().strip()
        self.set_layout(self.layout)

    def set_layout(self, layout):
        self.layout = layout
        subprocess.run(["setxkbmap", "-display", self.display, layout], check=True, timeout=20)
        query = subprocess.run(["setxkbmap", "-display", self.display, "-query"],
                               capture_output=True, text=True, timeout=20).stdout
        if f"layout:     {layout}" not in query:
            raise Failure(f"setxkbmap {layout} did not take: {query}")

    def env(self, **extra):
        env = dict(os.environ)
        env.update(WINE_ENV)
        env["WINEPREFIX"] = self.prefix
        env.pop("WINEPATH", None)
        if self.display:
            env["DISPLAY"] = self.display
        env.update({k: str(v) for k, v in extra.items()})
        return env

    def start(self, args, log, cwd=None, **env):
        """Starts a Windows program; its output goes to the file log."""
        out = open(os.path.join(self.work, log), "wb")
        p = subprocess.Popen(["wine"] + args, env=self.env(**env), cwd=cwd or self.work,
                             stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT,
                             start_new_session=True)
        self.processes.append(p)
        return p

    def run(self, args, timeout=120, cwd=None, **env):
        """Runs a Windows program to its end: (exit status, output)."""
        log = os.path.join(self.work, "run-%d.log" % len(self.processes))
        with open(log, "wb") as out:
            p = subprocess.Popen(["wine"] + args, env=self.env(**env), cwd=cwd or self.work,
                                 stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT,
                                 start_new_session=True)
            self.processes.append(p)
            try:
                status = p.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                p.kill()
                raise Failure(f"{args} did not end within {timeout} s")
        with open(log, "rb") as f:
            return status, f.read().decode("utf-8", "replace")

    def windows_path(self, path):
        return "Z:" + os.path.abspath(path).replace("/", "\\")

    def screenshot(self, path):
        xwd = subprocess.run(["xwd", "-root", "-display", self.display], capture_output=True,
                             timeout=30, check=True).stdout
        subprocess.run(["/usr/bin/convert", "xwd:-", path], input=xwd, timeout=60, check=True)

    def registry(self, key, value):
        """A value of the prefix's registry as `reg query` prints it, or None."""
        status, out = self.run(["reg", "query", key, "/v", value], timeout=60)
        if status != 0:
            return None
        for line in out.splitlines():
            parts = line.strip().split(None, 2)
            if len(parts) >= 2 and parts[0].lower() == value.lower():
                return parts[2] if len(parts) == 3 else ""
        return None


def write_settings(path, entries):
    """An exported settings file (the XML preferences format) with these entries."""
    body = "".join(f'<entry key="{k}" value="{v}"/>' for k, v in entries.items())
    with open(path, "w") as f:
        f.write('<?xml version="1.0" encoding="UTF-8" standalone="no"?>\n'
                '<!DOCTYPE preferences SYSTEM "http://java.sun.com/dtd/preferences.dtd">\n'
                '<preferences EXTERNAL_XML_VERSION="1.0"><root type="user"><map/>'
                '<node name="com"><map/><node name="brindle"><map/><node name="Tallyra">'
                f'<map>{body}</map></node></node></node></root></preferences>\n')


def report(checks):
    """Prints each check and exits with 1 when one failed."""
    failed = [c for c in checks if not c[1]]
    for name, ok, detail in checks:
        print(("ok   " if ok else "FAIL ") + name + ("" if ok or not detail else ": " + detail))
    sys.exit(1 if failed else 0)


def interrupted(*_):
    raise Failure("interrupted")


signal.signal(signal.SIGTERM, interrupted)
