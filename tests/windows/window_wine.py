#!/usr/bin/env python3
"""The installed window program under Wine, driven from the keyboard under Xvfb.

- Settings seeded into the registry store with tallyra-cli; tallyra.exe --demo starts with
  them, screenshots of the main and the settings tabs (English, later German) go to SHOTS.
- Start reads the demo balance: the readings are typed into a Win32 window, the event log fills
  (screenshot); Stop and closing save every setting to the registry, and the second start reads
  them back (a start that did not would save the defaults over them).
- The autostart check box writes and removes the Run value.
- Bad input: a COM port that does not exist, and a driver DLL missing from the installation,
  in the window and the command-line tool.

Usage: window_wine.py TEMPLATE_PREFIX STAGE_DIR TARGET_EXE KEEPER_EXE WORK_DIR SHOTS_DIR
"""

import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import winetest  # noqa: E402

STORE = r"HKCU\Software\brindle\Tallyra\com\brindle\Tallyra"
RUN = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
# Values that differ from the defaults, so that a start that did not read them would show.
SEEDED = {"delay": "47", "outputTerminator": "NONE", "checkForUpdates": "false",
          "ignoreTimeLimit": "250"}
SETTINGS_TABS = ["main", "input", "processing", "output", "settings", "outputs"]


def find_window(session, title):
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title],
                           env=session.env(), capture_output=True, text=True,
                           timeout=30).stdout.split()
    return found[0] if found else None


def click_into(session, window):
    """Makes the window active with a click near its top left corner, as a user would:
    without a window manager Wine makes a window active on a click, not on an X focus change."""
    subprocess.run(["xdotool", "mousemove", "--window", window, "12", "12", "click", "1"],
                   env=session.env(), timeout=30, check=True)
    time.sleep(0.5)


def answer_dialog(session, dialog):
    click_into(session, dialog)
    subprocess.run(["xdotool", "key", "Return"], env=session.env(), timeout=30, check=True)


class Window:
    def __init__(self, session, stage, args, log):
        self.session = session
        self.process = session.start([os.path.join(stage, "tallyra.exe")] + args, log,
                                     cwd=stage)
        self.id = winetest.wait_until(lambda: self.find("Tallyra"), 90, "the Tallyra window")
        time.sleep(2)  # let it paint

    def find(self, title):
        return find_window(self.session, title)

    def key(self, *keys):
        for k in keys:
            subprocess.run(["xdotool", "key", k], env=self.session.env(), timeout=30,
                           check=True)
            time.sleep(0.4)

    def focus(self):
        # On the status line at the bottom, where a click changes nothing.
        geometry = subprocess.run(["xdotool", "getwindowgeometry", "--shell", self.id],
                                  env=self.session.env(), capture_output=True, text=True,
                                  timeout=30).stdout
        height = int(dict(line.split("=") for line in geometry.split())["HEIGHT"])
        subprocess.run(["xdotool", "mousemove", "--window", self.id, "12", str(height - 8),
                        "click", "1"], env=self.session.env(), timeout=30, check=True)
        time.sleep(0.5)

    def shot(self, path):
        subprocess.run(["import", "-window", self.id, path], env=self.session.env(),
                       timeout=60, check=True)

    def close(self):
        """Closes the window as the user does (WM_CLOSE); its exit status."""
        self.session.run(["taskkill", "/im", "tallyra.exe"], timeout=60)
        return self.process.wait(timeout=60)


def seed_settings(session, stage, checks):
    xml = os.path.join(session.work, "seed.xml")
    winetest.write_settings(xml, SEEDED)
    status, out = session.run([os.path.join(stage, "tallyra-cli.exe"), "settings", "import",
                               session.windows_path(xml)], cwd=stage)
    checks.append(("settings seeded into the registry with tallyra-cli", status == 0, out))


def stored(session):
    return {k: session.registry(STORE, k) for k in SEEDED}


def english_run(session, stage, target, shots, checks):
    w = Window(session, stage, ["--demo", "--language", "en"], "window-en.out")
    for i, tab in enumerate(SETTINGS_TABS):
        w.shot(os.path.join(shots, f"en-{i:02d}-{tab}.png"))
        w.key("ctrl+Tab")
    # Back to the settings tab: its autostart check box (Alt+S) writes and removes the value.
    w.key("ctrl+shift+Tab", "ctrl+shift+Tab")
    w.key("alt+s")
    written = session.registry(RUN, "Tallyra")
    checks.append(("autostart check box writes the Run value",
                   written is not None and "tallyra.exe" in written.lower(), str(written)))
    w.key("alt+s")
    checks.append(("autostart check box removes the Run value",
                   session.registry(RUN, "Tallyra") is None, ""))
    w.key("ctrl+Tab", "ctrl+Tab", "ctrl+Tab", "ctrl+Tab")  # outputs, event log, about, main

    # Start: the demo balance's readings are typed into the window that has the focus.
    w.key("alt+s")
    log = os.path.join(session.work, "typed.log")
    ready = log + ".ready"
    session.start([target, session.windows_path(log), session.windows_path(ready)],
                  "target.out")
    winetest.wait_until(lambda: os.path.exists(ready), 60, "the target window")
    typed = winetest.wait_until(
        lambda: (lambda t: t if t.count(".") >= 3 else None)(
            "".join(chr(int(line[2:])) for line in open(log).read().splitlines()
                    if line.startswith("C "))), 60, "three readings typed")
    checks.append(("Start reads the demo balance and types its readings",
                   all(c in "0123456789.-" for c in typed), typed))
    # Running, the tabs are main, event log, about: the log fills.
    w.focus()
    w.key("ctrl+Tab")
    time.sleep(1.5)
    w.shot(os.path.join(shots, "en-06-eventlog-running.png"))
    w.key("ctrl+Tab", "ctrl+Tab", "alt+s")  # back to main, Stop
    time.sleep(1)
    w.shot(os.path.join(shots, "en-07-main-stopped.png"))
    status = w.close()
    checks.append(("the window closes normally", status == 0, f"status {status}"))
    saved = stored(session)
    checks.append(("closing saves the settings in the registry", saved == SEEDED, str(saved)))
    checks.append(("the port read is saved", (session.registry(STORE, "port") or "") == "DEMO",
                   str(session.registry(STORE, "port"))))


def german_run(session, stage, shots, checks):
    w = Window(session, stage, ["--demo", "--language", "de"], "window-de.out")
    for i, tab in enumerate(SETTINGS_TABS):
        w.shot(os.path.join(shots, f"de-{i:02d}-{tab}.png"))
        w.key("ctrl+Tab")
    status = w.close()
    checks.append(("the second start reads the settings back (German)",
                   status == 0 and stored(session) == SEEDED, str(stored(session))))


def bad_input(session, stage, shots, checks):
    cli = os.path.join(stage, "tallyra-cli.exe")
    # COM1 to COM255 are reserved (empty) in the test prefix: a name above them is unknown.
    status, out = session.run([cli, "read", "--port", "COM300", "--count", "1",
                               "--seconds", "5"], cwd=stage)
    checks.append(("tallyra-cli: a COM port that does not exist",
                   status == 1 and "COM300: SerOpenPort failed: 2: No such device" in out,
                   f"status {status}: {out[-300:]}"))
    w = Window(session, stage, ["COM300", "--language", "en"], "window-noport.out")
    w.key("alt+s")
    dialog = winetest.wait_until(lambda: w.find("^Error$"), 30, "the error dialog")
    subprocess.run(["import", "-window", dialog, os.path.join(shots, "en-error-no-port.png")],
                   env=session.env(), timeout=60)
    answer_dialog(session, dialog)
    time.sleep(1)
    alive = w.process.poll() is None
    checks.append(("window: a COM port that does not exist gives the error dialog",
                   dialog is not None and alive, "the program ended"))
    w.close()

    # A driver DLL missing from the installation folder.
    broken = os.path.join(session.work, "no-driver")
    shutil.copytree(stage, broken)
    os.remove(os.path.join(broken, "serdrvWin.dll"))
    status, out = session.run([os.path.join(broken, "tallyra-cli.exe"), "ports"], cwd=broken)
    checks.append(("tallyra-cli: the driver DLL missing", status == 3 and
                   "serdrvWin could not be loaded" in out, f"status {status}: {out[-300:]}"))
    process = session.start([os.path.join(broken, "tallyra.exe"), "--language", "en"],
                            "window-nodriver.out", cwd=broken)
    dialog = winetest.wait_until(lambda: find_window(session, "^Fatal error$"), 90,
                                 "the fatal dialog")
    subprocess.run(["import", "-window", dialog,
                    os.path.join(shots, "en-fatal-no-driver.png")], env=session.env(), timeout=60)
    answer_dialog(session, dialog)
    status = process.wait(timeout=60)
    checks.append(("window: the driver DLL missing ends with status 2 after the dialog",
                   status == 2, f"status {status}"))


def main():
    template, stage, target, keeper, work, shots = sys.argv[1:7]
    shutil.rmtree(shots, ignore_errors=True)
    os.makedirs(shots)
    checks = []
    steps = [("seeding", lambda s: seed_settings(s, stage, checks)),
             ("English run", lambda s: english_run(s, stage, target, shots, checks)),
             ("German run", lambda s: german_run(s, stage, shots, checks)),
             ("bad input", lambda s: bad_input(s, stage, shots, checks))]
    try:
        with winetest.Session(template, work, "us", keeper) as session:
            for name, step in steps:
                try:
                    step(session)
                except (winetest.Failure, subprocess.SubprocessError, OSError) as e:
                    checks.append((name, False, str(e)))
                    break
    except winetest.Failure as e:
        checks.append(("session", False, str(e)))
    print("screenshots in " + shots)
    winetest.report(checks)


if __name__ == "__main__":
    main()
