#!/usr/bin/env python3
"""End to end on the Windows API under Wine: the installed tallyra-cli.exe reads balance lines
from a pseudo-terminal mapped to COM9 and types them with SendInput into a Win32 window
(key_target_win.exe), under Xvfb with one X keyboard layout.

Every printable ASCII character is sent, in lines, for the keyboard type of the layout and for
ALL. The target logs the key messages and characters it receives; the text is rebuilt from
them: typed characters as they arrive (WM_CHAR), and ALT codes, which compose nothing under
Wine, from their key sequence (ALT held, keypad digits, ALT released).

Usage: typing_e2e.py TEMPLATE_PREFIX STAGE_DIR TARGET_EXE KEEPER_EXE WORK_DIR LAYOUT TYPE...
"""

import os
import pty
import sys
import time
import tty

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import winetest  # noqa: E402

VK_MENU = 18
VK_NUMPAD0 = 0x60
PRINTABLE = "".join(chr(c) for c in range(32, 127))
# Lines of the instrument: runs of printable characters, the blank inside a line.
LINES = [PRINTABLE[i:i + 24] for i in range(1, len(PRINTABLE), 24)] + ["a b"]
EXPECTED = "".join(line + "\r" for line in LINES)
assert set(EXPECTED) == set(PRINTABLE + "\r")


def rebuild(log_text):
    """The text the window received: its WM_CHAR characters, plus what Windows would have
    composed where Wine composes nothing: ALT codes (from their keys), AltGr chords (CONTROL
    ALT key: the layout's character, logged by the target) and a dead key followed by SPACE
    (the dead character itself). Returns (text, [(character, how)...])."""
    text, notes, digits, alt = [], [], "", False
    composed = None  # a character rebuilt from keys, not yet seen as WM_CHAR
    dead = None
    for entry in log_text.splitlines():
        kind, _, value = entry.partition(" ")
        if not value.isdigit():
            continue
        value = int(value)
        down, up = kind in ("D", "SD"), kind in ("U", "SU")
        if value == VK_MENU and down:
            alt, digits = True, ""
        elif value == VK_MENU and up:
            if alt and digits:
                composed = chr(int(digits))
                text.append(composed)
                notes.append((composed, "ALT code, from its keys"))
            alt, digits = False, ""
        elif alt and down and VK_NUMPAD0 <= value <= VK_NUMPAD0 + 9:
            digits += str(value - VK_NUMPAD0)
        elif kind == "G":
            composed = chr(value)
            text.append(composed)
            notes.append((composed, "AltGr chord, from its keys"))
        elif kind == "X":
            dead = chr(value)
        elif kind == "C":
            c = chr(value)
            if composed is not None and c == composed:
                composed = None  # the system composed it after all
                continue
            composed = None
            if dead is not None and c == " ":
                c = dead  # Windows types the accent itself for dead key + space
                notes.append((c, "dead key + space: WM_DEADCHAR, then a space"))
            dead = None
            text.append(c)
    return "".join(text), notes


def run_type(session, stage, target, layout, keyboard, checks):
    name = f"{layout}/{keyboard}"
    log = os.path.join(session.work, f"keys-{keyboard}.log")
    ready = os.path.join(session.work, f"ready-{keyboard}")
    master, slave = pty.openpty()
    tty.setraw(slave)
    link = os.path.join(session.prefix, "dosdevices", "com9")
    if os.path.lexists(link):
        os.remove(link)
    os.symlink(os.ttyname(slave), link)
    try:
        session.start([target, session.windows_path(log), session.windows_path(ready)],
                      f"target-{keyboard}.out")
        winetest.wait_until(lambda: os.path.exists(ready), 60, f"{name}: the target window")
        cli_log = f"cli-{keyboard}.out"
        cli = session.start([os.path.join(stage, "tallyra-cli.exe"), "read", "--port", "COM9",
                             "--type", "--instrument", "BARCODE_ALPHA_COMPLETE",
                             "--keyboard-type", keyboard, "--output-terminator", "ENTER",
                             "--delay", "0", "--count", str(len(LINES)), "--seconds", "600"],
                            cli_log, cwd=stage)
        cli_path = os.path.join(session.work, cli_log)
        winetest.wait_until(lambda: b"RTS:" in open(cli_path, "rb").read(), 60,
                            f"{name}: tallyra-cli opening COM9")
        opened = open(cli_path, "rb").read().decode("utf-8", "replace")
        checks.append((f"{name}: COM9 opens; its missing modem lines read as off",
                       "DSR: off, CTS: off." in opened, opened[-300:]))
        started = time.monotonic()
        for line in LINES:
            os.write(master, line.encode("ascii") + b"\r\n")
        status = cli.wait(timeout=600)
        # The window may still be taking its messages: wait for every Enter.
        winetest.wait_until(
            lambda: open(log, "rb").read().count(b"C 13\n") >= len(LINES), 60,
            f"{name}: every line typed")
        elapsed = time.monotonic() - started
        time.sleep(0.5)  # anything typed after the expected text shows now
        received, notes = rebuild(open(log, encoding="ascii").read())
        output = open(cli_path, "rb").read().decode("utf-8", "replace")
        checks.append((f"{name}: tallyra-cli ends normally", status == 0 and
                       "wine: Unhandled" not in output, f"status {status}: {output[-500:]}"))
        checks.append((f"{name}: every printable character arrives ({len(EXPECTED)} "
                       f"characters in {elapsed:.1f} s)", received == EXPECTED,
                       f"received {received!r}"))
        if keyboard == "QUERTY":
            checks.append((f"{name}: every character arrives as a typed character", not notes,
                           f"rebuilt from keys: {sorted(set(notes))}"))
        print(f"{name}: {len(EXPECTED)} characters typed in {elapsed:.1f} s", flush=True)
        if keyboard == "ALL":
            print(f"{name}: {len(notes)} characters arrive only as ALT codes", flush=True)
        else:
            for c, how in sorted(set(notes)):
                print(f"{name}: {c!r} arrives only as {how}", flush=True)
    finally:
        os.remove(link)
        os.close(master)
        os.close(slave)


def main():
    template, stage, target, keeper, work, layout = sys.argv[1:7]
    types = sys.argv[7:]
    checks = []
    try:
        with winetest.Session(template, work, layout, keeper) as session:
            for keyboard in types:
                try:
                    run_type(session, stage, target, layout, keyboard, checks)
                except winetest.Failure as e:
                    checks.append((f"{layout}/{keyboard}", False, str(e)))
    except winetest.Failure as e:
        checks.append((f"{layout}: session", False, str(e)))
    winetest.report(checks)


if __name__ == "__main__":
    main()
