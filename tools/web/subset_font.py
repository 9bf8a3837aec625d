#!/usr/bin/env python3
"""Make the small font a page carries: the characters of code page 1252 (every
character a morlu program can draw) of one Liberation face, with its hinting,
copyright and licence kept. The Open Font License reserves the name
"Liberation" for the fonts as their authors made them, so the subset is named
after the page's own family (e.g. "morlu Sans"), with a note of where it comes
from."""
import argparse

from fontTools import subset
from fontTools.ttLib import TTFont


def cp1252_text():
    return bytes(range(32, 256)).decode("cp1252", errors="ignore")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("source")
    parser.add_argument("family", help="the subset's family name, e.g. 'morlu Sans'")
    parser.add_argument("output")
    args = parser.parse_args()

    options = subset.Options()
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.name_legacy = True
    options.notdef_outline = True
    font = TTFont(args.source)
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=cp1252_text())
    subsetter.subset(font)

    names = font["name"]
    original = names.getDebugName(4) or "Liberation"
    postscript = args.family.replace(" ", "") + "-Regular"
    # The records that carry the font's name: family, typographic family, unique
    # and full names, PostScript name.
    for record in names.names:
        if record.nameID in (1, 16):
            record.string = args.family
        elif record.nameID in (3, 4):
            record.string = args.family + " Regular"
        elif record.nameID == 6:
            record.string = postscript
    names.setName("A subset of %s for morlu's web pages; the SIL Open Font License, Version 1.1, applies."
                  % original, 10, 3, 1, 0x409)
    font.save(args.output)


if __name__ == "__main__":
    main()
