#!/usr/bin/env python3
"""Put a morlu program linked for the browser (emscripten's JavaScript with the
WebAssembly inside) into one self-contained page, with the page's own script
and the two bundled fonts as data URLs, so that it opens from a file with no
server."""
import argparse
import base64
import html
import pathlib


def inline_script(text):
    # A script element ends at the first "</script", whatever the JavaScript means.
    return "<script>\n" + text.replace("</script", "<\\/script") + "\n</script>"


def font_face(family, path):
    data = base64.b64encode(pathlib.Path(path).read_bytes()).decode("ascii")
    return ("@font-face { font-family: '%s'; src: url(data:font/ttf;base64,%s) format('truetype'); }"
            % (family, data))


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--template", required=True)
    parser.add_argument("--page-script", action="append", required=True,
                        help="the page's own scripts, in the order they run")
    parser.add_argument("--program", required=True, help="the program's JavaScript from emcc")
    parser.add_argument("--title", required=True)
    parser.add_argument("--sans", required=True, help="the sans-serif face (TTF)")
    parser.add_argument("--mono", required=True, help="the fixed-pitch face (TTF)")
    parser.add_argument("-o", "--output", required=True)
    args = parser.parse_args()

    page = pathlib.Path(args.template).read_text(encoding="utf-8")
    parts = {
        "/*MORLU-FONTS*/": font_face("morlu-sans", args.sans) + "\n" + font_face("morlu-mono", args.mono),
        "<!--MORLU-PROGRAM-->": inline_script(pathlib.Path(args.program).read_text(encoding="utf-8")),
        "<!--MORLU-PAGE-SCRIPT-->": "\n".join(
            inline_script(pathlib.Path(script).read_text(encoding="utf-8")) for script in args.page_script),
    }
    page = page.replace("{{TITLE}}", html.escape(args.title))
    # Each mark once, and never in the text put in for another: split, not replace.
    for mark, text in parts.items():
        if mark not in page:
            raise SystemExit("make_page: the template has no %s" % mark)
        before, _, after = page.partition(mark)
        page = before + text + after
    pathlib.Path(args.output).write_text(page, encoding="utf-8")


if __name__ == "__main__":
    main()
