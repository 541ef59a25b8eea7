#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# Prints an SVG <path> that draws a line of text as outlines, so that a
# picture's lettering needs no font where it is shown and looks the same on
# every machine. Coordinates are in the picture's units, to a tenth, as
# relative moves, which keeps the path short.
#   outline_text.py FONT_FILE SIZE X Y ANCHOR FILL TEXT
# ANCHOR is start or middle, as SVG's text-anchor; X, Y the baseline's point.
# Needs fontTools (Debian package python3-fonttools).
import sys

from fontTools.pens.recordingPen import RecordingPen
from fontTools.ttLib import TTFont


def fmt(value):
    text = f"{value:.1f}".rstrip("0").rstrip(".")
    if text in ("-0", ""):
        return "0"
    # No leading zero: "-.5", ".5".
    return text.replace("0.", ".", 1) if text.lstrip("-").startswith("0.") else text


def numbers(values):
    # SVG needs no separator before a minus sign.
    out = ""
    for value in values:
        text = fmt(value)
        out += text if (not out or text.startswith("-")) else " " + text
    return out


def main():
    font_file, size, x, y, anchor, fill, text = sys.argv[1:8]
    size, x, y = float(size), float(x), float(y)
    font = TTFont(font_file)
    scale = size / font["head"].unitsPerEm
    glyphs = font.getGlyphSet()
    cmap = font.getBestCmap()
    names = [cmap[ord(c)] for c in text]
    width = sum(glyphs[n].width for n in names) * scale
    pen_x = x - (width / 2 if anchor == "middle" else 0)

    # Every point rounded once, in absolute terms, so that the relative moves
    # add up without drift.
    def point(px, py, origin):
        return round((origin + px * scale) * 10), round((y - py * scale) * 10)

    commands = []
    last = subpath = (0, 0)
    for name in names:
        recording = RecordingPen()
        glyphs[name].draw(recording)
        for op, args in recording.value:
            if op == "moveTo":
                p = point(*args[0], pen_x)
                commands.append("m" + numbers([(p[0] - last[0]) / 10, (p[1] - last[1]) / 10]))
                last = subpath = p
            elif op in ("lineTo", "qCurveTo", "curveTo"):
                pts = [point(*a, pen_x) for a in args if a is not None]
                if op == "qCurveTo" and len(pts) > 2:
                    # Implied on-curve points between successive off-curve ones.
                    split = []
                    for i, p in enumerate(pts[:-1]):
                        split.append(p)
                        if i < len(pts) - 2:
                            q = pts[i + 1]
                            split.append(((p[0] + q[0]) // 2, (p[1] + q[1]) // 2))
                    split.append(pts[-1])
                    pts = split
                letter = {"lineTo": "l", "qCurveTo": "q", "curveTo": "c"}[op]
                # The same command again needs no letter of its own.
                repeat = commands and commands[-1][0] == letter
                values = []
                start = last
                group = {"l": 1, "q": 2, "c": 3}[letter]
                for i, p in enumerate(pts):
                    values += [(p[0] - start[0]) / 10, (p[1] - start[1]) / 10]
                    if (i + 1) % group == 0:
                        start = p
                more = numbers(values)
                if repeat:
                    commands[-1] += more if more.startswith("-") else " " + more
                else:
                    commands.append(letter + more)
                last = pts[-1]
            elif op == "closePath":
                # Closing returns to the start of the outline.
                commands.append("z")
                last = subpath
        pen_x += glyphs[name].width * scale
    # A path's first relative move counts from the origin, as an absolute one.
    print(f'<path fill="{fill}" d="{"".join(commands)}"/>')


if __name__ == "__main__":
    main()
