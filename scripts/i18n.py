#!/usr/bin/env python3
"""Edits the ID-based Qt Linguist catalogues under resources/i18n.

  i18n.py add CATALOGUE KEY ENGLISH GERMAN   add or replace one text in both languages
  i18n.py get CATALOGUE KEY                  print the English and German texts
  i18n.py keys CATALOGUE                     list the keys of a catalogue
  i18n.py format                             rewrite every file in the canonical form

CATALOGUE is config, worker or tallyra. Messages are kept sorted by key so that changes made
side by side merge cleanly. Texts may contain \\n for a line break.
"""
import os
import sys
import xml.etree.ElementTree as ET
from xml.sax.saxutils import escape

HERE = os.path.dirname(os.path.abspath(__file__))
I18N = os.path.join(HERE, "..", "resources", "i18n")
LANGS = {"en": "en_GB", "de": "de_DE"}


def path(cat, lang):
    return os.path.join(I18N, f"{cat}_{lang}.ts")


def load(cat, lang):
    p = path(cat, lang)
    msgs = {}
    if os.path.exists(p):
        root = ET.parse(p).getroot()
        for m in root.iter("message"):
            tr = m.find("translation")
            msgs[m.get("id")] = tr.text or "" if tr is not None else ""
    return msgs


def attr_escape(s):
    return escape(s, {'"': "&quot;"})


def text_escape(s):
    return escape(s).replace("\n", "&#10;" if False else "\n")


def save(cat, lang, msgs):
    lines = ['<?xml version="1.0" encoding="utf-8"?>', "<!DOCTYPE TS>",
             f'<TS version="2.1" language="{LANGS[lang]}">', "<context>", "    <name></name>"]
    for key in sorted(msgs):
        lines.append(f'    <message id="{attr_escape(key)}">')
        lines.append(f"        <source>{text_escape(key)}</source>")
        lines.append(f"        <translation>{text_escape(msgs[key])}</translation>")
        lines.append("    </message>")
    lines += ["</context>", "</TS>", ""]
    with open(path(cat, lang), "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


def main(argv):
    if len(argv) >= 5 and argv[0] == "add":
        cat, key, en, de = argv[1], argv[2], argv[3], argv[4]
        for lang, text in (("en", en), ("de", de)):
            msgs = load(cat, lang)
            msgs[key] = text.replace("\\n", "\n")
            save(cat, lang, msgs)
    elif len(argv) == 3 and argv[0] == "get":
        for lang in LANGS:
            print(f"{lang}: {load(argv[1], lang).get(argv[2])!r}")
    elif len(argv) == 2 and argv[0] == "keys":
        for k in sorted(load(argv[1], "en")):
            print(k)
    elif len(argv) == 1 and argv[0] == "format":
        for name in sorted(os.listdir(I18N)):
            if name.endswith(".ts"):
                cat, lang = name[:-3].rsplit("_", 1)
                save(cat, lang, load(cat, lang))
    else:
        print(__doc__, file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
