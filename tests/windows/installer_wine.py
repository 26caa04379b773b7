#!/usr/bin/env python3
"""The installer under Wine: silent install into a folder of our choice, the installed
tallyra-cli.exe run from there with nothing on PATH, the Start-menu shortcut and the licences;
then the silent uninstall, after which nothing of the program remains but the user's settings.

Usage: installer_wine.py TEMPLATE_PREFIX INSTALLER_EXE KEEPER_EXE WORK_DIR VERSION
"""

import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import winetest  # noqa: E402

# No blank in it: Wine would quote the argument, and NSIS takes /D= only unquoted.
FOLDER = r"C:\Tallyra-Test"
OURS = re.compile(r"tallyra|serdrv|qt6|libgmp|qwindows", re.IGNORECASE)


def files_of_ours(drive_c):
    """Files and folders below drive_c whose names are the program's, outside the temp folders."""
    found = []
    for root, dirs, files in os.walk(drive_c):
        if "/temp" in root.lower():
            continue
        found += [os.path.join(root, n) for n in dirs + files if OURS.search(n)]
    return sorted(found)


def registry_of_ours(prefix):
    """Registry keys that name the program, apart from the user's settings (Software\\brindle)."""
    keys = []
    for hive in ("system.reg", "user.reg"):
        with open(os.path.join(prefix, hive), encoding="utf-8", errors="replace") as f:
            for line in f:
                if line.startswith("[") and OURS.search(line) and "brindle" not in line.lower():
                    keys.append(line.strip())
    return keys


def main():
    template, installer, keeper, work, version = sys.argv[1:6]
    checks = []
    try:
        with winetest.Session(template, work, "us", keeper) as s:
            drive_c = os.path.join(s.prefix, "drive_c")
            folder = os.path.join(drive_c, "Tallyra-Test")
            before = files_of_ours(drive_c)
            status, out = s.run([installer, "/S", "/D=" + FOLDER], timeout=300)
            installed = sorted(os.listdir(folder)) if os.path.isdir(folder) else []
            checks.append(("silent install into the folder given with /D",
                           status == 0 and {"tallyra.exe", "tallyra-cli.exe", "serdrvWin.dll",
                                            "Uninstall.exe", "licenses"} <= set(installed),
                           f"status {status}, {installed}: {out[-300:]}"))
            licences = sorted(os.listdir(os.path.join(folder, "licenses")))
            checks.append(("the licences, ours and the LGPL notices, are installed",
                           {"LICENSE.txt", "LGPL-3.0.txt", "THIRD-PARTY-NOTICES.txt"} <=
                           set(licences), str(licences)))
            links = [p for p in files_of_ours(drive_c) if p.endswith("Tallyra.lnk")]
            checks.append(("a Start-menu shortcut", any("start menu" in p.lower()
                                                        for p in links), str(links)))

            cli = FOLDER + r"\tallyra-cli.exe"
            status, out = s.run([cli, "--version"], cwd=s.work)
            checks.append(("installed tallyra-cli.exe --version, nothing on PATH",
                           status == 0 and out.strip() == f"tallyra-cli {version} (20180208)",
                           out))
            status, out = s.run([cli, "presets"], cwd=s.work)
            lines = out.strip().splitlines()
            checks.append(("installed tallyra-cli.exe presets", status == 0 and len(lines) == 36
                           and lines[0].startswith("GENERIC\t"), out[-300:]))
            status, out = s.run([cli, "ports"], cwd=s.work, SERDRV_SIMULATED_PORTS="1")
            checks.append(("installed tallyra-cli.exe ports lists the demo balance",
                           status == 0 and "DEMO\t" in out, out[-300:]))
            # The user's settings, which an uninstaller leaves alone.
            xml = os.path.join(s.work, "settings.xml")
            winetest.write_settings(xml, {"delay": "47"})
            status, out = s.run([cli, "settings", "import", s.windows_path(xml)], cwd=s.work)
            checks.append(("the installed program stores settings", status == 0 and
                           s.registry(r"HKCU\Software\brindle\Tallyra\com\brindle\Tallyra",
                                      "delay") is not None, out))

            status, out = s.run([FOLDER + r"\Uninstall.exe", "/S"], timeout=300)
            # The uninstaller runs a copy of itself (Au_.exe) from the temporary folder and
            # returns at once: wait for that copy to end.
            winetest.wait_until(lambda: not os.path.exists(folder), 120,
                                "the uninstaller to remove the folder")
            winetest.wait_until(lambda: subprocess.run(["pgrep", "-f", "Au_.exe"],
                                                       stdout=subprocess.DEVNULL).returncode != 0,
                                120, "the uninstaller to end")
            left = [p for p in files_of_ours(drive_c) if p not in before]
            checks.append(("silent uninstall leaves no file of the program", not left,
                           str(left)))
            # The wineserver writes the registry files when it ends.
            subprocess.run(["wineserver", "-k"], env=s.env(), timeout=60)
            registry = registry_of_ours(s.prefix)
            checks.append(("silent uninstall leaves no registry key but the user's settings",
                           not registry, str(registry)))
            with open(os.path.join(s.prefix, "user.reg"), encoding="utf-8") as f:
                settings = f.read()
            checks.append(("the user's settings remain",
                           "[Software\\\\brindle\\\\Tallyra\\\\com\\\\brindle\\\\Tallyra]" in settings
                           and '"delay"=' in settings, ""))
    except (winetest.Failure, OSError) as e:
        checks.append(("session", False, str(e)))
    winetest.report(checks)


if __name__ == "__main__":
    main()
