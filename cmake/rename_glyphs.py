"""Gives the cut glyphs a name of their own.

The font they are cut from asks that a derived font never be called by its
name, so every name that identifies the font (family, subfamily pair, unique
id, full and PostScript names, and the typographic ones) is replaced; the
copyright notice and the licence's address stay.
Usage: rename_glyphs.py FONT FAMILY POSTSCRIPT_NAME VERSION_TEXT
"""
import sys

from fontTools.ttLib import TTFont

IDENTIFYING_NAMES = (1, 3, 4, 6, 16, 17, 18, 21, 22)


def main(path, family, postscript_name, version):
    font = TTFont(path)
    table = font["name"]
    table.names = [n for n in table.names if n.nameID not in IDENTIFYING_NAMES]
    for name_id, text in ((1, family), (2, "Regular"), (3, f"{family} {version}"),
                          (4, family), (6, postscript_name)):
        table.setName(text, name_id, 3, 1, 0x409)
    font.save(path)


if __name__ == "__main__":
    main(*sys.argv[1:])
