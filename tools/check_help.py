#!/usr/bin/env python3
"""Fails the build when a command of the menus or the toolbar has no help topic.

Reads the menu and toolbar of resources/ondav.rc, the ids of resources/resource.h
and framework/ids.h, and the @cmd lines of the help text; writes STAMP when all
is well. Usage: check_help.py SOURCE_DIR STAMP
"""
import re
import sys
from pathlib import Path

src = Path(sys.argv[1])
ids = {}
for header in (src / "resources/resource.h", src / "framework/ids.h"):
    for name, value in re.findall(r"^#define\s+(\w+)\s+(0x[0-9A-Fa-f]+|\d+)", header.read_text(), re.M):
        ids[name] = int(value, 0)

rc = (src / "resources/ondav.rc").read_text(encoding="utf-8")
menu = re.search(r"IDR_MAINFRAME\s+MENU\s*\n(.*?)\n\s*IDR_MAINFRAME\s+ACCELERATORS", rc, re.S).group(1)
commands = {m for m in re.findall(r'MENUITEM\s+"[^"]*",\s*(\w+)', menu)}
toolbar = re.search(r"IDR_MAINFRAME\s+241\s*\nBEGIN(.*?)END", rc, re.S).group(1)
commands |= {w for w in re.findall(r"\b(ID_\w+)\b", toolbar)}
# Commands of the program's own that only a key reaches need a topic too.
accel = re.search(r"IDR_MAINFRAME\s+ACCELERATORS\s*\nBEGIN(.*?)END", rc, re.S).group(1)
commands |= {w for w in re.findall(r",\s*(ID_\w+)\s*,", accel) if 32771 <= ids.get(w, 0) < 57344}

topics = set()
for line in (src / "resources/aide/ondav-aide.txt").read_text(encoding="utf-8").splitlines():
    if line.startswith("@cmd"):
        topics |= {int(v) for v in line[4:].split()}

missing = sorted(name for name in commands if ids.get(name) not in topics)
if missing:
    sys.exit("help: no topic for " + ", ".join(f"{n} ({ids.get(n)})" for n in missing)
             + " -- add an @cmd line to resources/aide/ondav-aide.txt")
Path(sys.argv[2]).write_text(f"{len(commands)} commands have their help topic\n")
