#!/usr/bin/env python3
"""Write the gallery page of the browser edition: one entry per program page,
with its picture inside the page, so that the gallery, like the pages, opens
from a file with no server."""
import argparse
import base64
import html
import pathlib

PAGE = """<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>morlu in the browser</title>
<style>
body {{ font: 15px/1.4 sans-serif; margin: 24px; color: #222; background: #f4f4f4; }}
ul {{ list-style: none; padding: 0; display: flex; flex-wrap: wrap; gap: 20px; }}
li {{ width: 320px; background: #fff; border: 1px solid #ccc; padding: 10px; }}
img {{ width: 300px; border: 1px solid #888; }}
</style>
</head>
<body>
<h1>morlu in the browser</h1>
<p>Each program is one page: open it, click the picture and use the Run menu or its Ctrl shortcuts.</p>
<ul>
{entries}
</ul>
</body>
</html>
"""

ENTRY = """<li><a href="{page}"><img src="data:image/png;base64,{picture}" alt="{name}"></a>
<h2><a href="{page}">{name}</a></h2><p>{text}</p></li>"""


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--entry", action="append", nargs=3, metavar=("PAGE", "PICTURE", "TEXT"), required=True,
                        help="a page's file name, its picture (PNG) and one sentence about it")
    parser.add_argument("-o", "--output", required=True)
    args = parser.parse_args()
    entries = []
    for page, picture, text in args.entry:
        entries.append(ENTRY.format(page=html.escape(page), name=html.escape(pathlib.Path(page).stem),
                                    picture=base64.b64encode(pathlib.Path(picture).read_bytes()).decode("ascii"),
                                    text=html.escape(text)))
    pathlib.Path(args.output).write_text(PAGE.format(entries="\n".join(entries)), encoding="utf-8")


if __name__ == "__main__":
    main()
