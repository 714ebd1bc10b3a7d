#!/usr/bin/env python3
"""Draws the sample images in examples/ as SVG and renders them with
rsvg-convert (librsvg2-bin) and ImageMagick's convert.

workbench.jpg: a board with a 100 mm ruler along its lower edge and four
round targets. 12 pixels are 1 mm; the ruler's 0 mark is at (200, 950).
petri.png: a culture dish with colonies and a 10 mm scale bar of 400 pixels.
oblique.jpg: an A4 sheet (297 x 210 mm) with four round targets, photographed
at an angle: the flat sheet is drawn at 5 pixels a millimetre and put into
the photo by the projective map that takes its corners to SHEET_CORNERS.
"""
import os
import random
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "examples")

# Target centres of workbench.jpg in image pixels.
TARGETS = [(420, 380), (900, 520), (1250, 300), (704, 764)]

# oblique.jpg: the sheet's corners in the photo (bottom left, bottom right,
# top right, top left, the order of the plane references) and the targets on
# the sheet in millimetres from its bottom-left corner, Y upwards.
SHEET_CORNERS = [(260, 1010), (1390, 1050), (1180, 330), (420, 300)]
SHEET_TARGETS = [(60, 50), (150, 160), (240, 80), (200, 30)]
MM = 5


def workbench():
    rnd = random.Random(7)
    grain = "".join('<path d="M0 %d C400 %d 1200 %d 1600 %d" stroke="#8a5a2b" stroke-opacity="0.25" stroke-width="%d" fill="none"/>'
                    % (y, y + rnd.randint(-30, 30), y + rnd.randint(-30, 30), y + rnd.randint(-10, 10), rnd.randint(2, 9))
                    for y in range(0, 1200, 23))
    ticks = []
    for mm in range(101):
        x = 200 + mm * 12
        length = 45 if mm % 10 == 0 else (30 if mm % 5 == 0 else 18)
        ticks.append('<path d="M%d 950 V%d" stroke="#111" stroke-width="2"/>' % (x, 950 + length))
        if mm % 10 == 0:
            ticks.append('<text x="%d" y="1030" font-family="DejaVu Sans, sans-serif" font-size="26" '
                         'text-anchor="middle" fill="#111">%d</text>' % (x, mm))
    targets = "".join(
        '<circle cx="%d" cy="%d" r="34" fill="#f4f4f4" stroke="#c00" stroke-width="6"/>'
        '<circle cx="%d" cy="%d" r="14" fill="#c00"/>'
        '<path d="M%d %d H%d M%d %d V%d" stroke="white" stroke-width="2"/>'
        % (x, y, x, y, x - 10, y, x + 10, x, y - 10, y + 10) for x, y in TARGETS)
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="1600" height="1200">'
            '<defs><linearGradient id="wood" x1="0" y1="0" x2="1" y2="1">'
            '<stop offset="0" stop-color="#d9a66b"/><stop offset="1" stop-color="#b07a43"/></linearGradient></defs>'
            '<rect width="1600" height="1200" fill="url(#wood)"/>' + grain +
            '<rect x="178" y="940" width="1260" height="120" rx="6" fill="#000" fill-opacity="0.3"/>'
            '<rect x="170" y="930" width="1260" height="120" rx="6" fill="#f2d33c" stroke="#8a7300" '
            'stroke-width="3"/>' + "".join(ticks) +
            # Between the 90 and 100 labels, clear of every tick.
            '<text x="1322" y="1030" font-family="DejaVu Sans, sans-serif" font-size="22" fill="#111">mm</text>'
            + targets + '</svg>')


def petri():
    rnd = random.Random(11)
    colonies = "".join('<circle cx="%d" cy="%d" r="%d" fill="#%02x%02x%02x" fill-opacity="0.85"/>'
                       % (600 + rnd.randint(-330, 330), 560 + rnd.randint(-330, 330), rnd.randint(6, 26),
                          rnd.randint(200, 250), rnd.randint(170, 220), rnd.randint(90, 140)) for _ in range(45))
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="1200" height="1200">'
            '<rect width="1200" height="1200" fill="#1c2430"/>'
            '<circle cx="600" cy="560" r="470" fill="#e9e2c9" stroke="#c9d4dc" stroke-width="18"/>'
            '<circle cx="600" cy="560" r="440" fill="#efe6c4"/>' + colonies +
            '<rect x="700" y="1090" width="400" height="16" fill="white"/>'
            '<text x="900" y="1075" font-family="DejaVu Sans, sans-serif" font-size="34" text-anchor="middle" '
            'fill="white">10 mm</text></svg>')


def sheet():
    w, h = 297 * MM, 210 * MM
    targets = "".join(
        '<circle cx="%g" cy="%g" r="40" fill="#f4f4f4" stroke="#0a4fb3" stroke-width="7"/>'
        '<circle cx="%g" cy="%g" r="15" fill="#0a4fb3"/>'
        '<path d="M%g %g H%g M%g %g V%g" stroke="white" stroke-width="2"/>'
        % (x * MM, h - y * MM, x * MM, h - y * MM, x * MM - 11, h - y * MM, x * MM + 11, x * MM, h - y * MM - 11,
           h - y * MM + 11) for x, y in SHEET_TARGETS)
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d">' % (w, h) +
            '<rect width="%d" height="%d" fill="#fbfbf7"/>' % (w, h) + targets +
            '<text x="%d" y="%d" font-family="DejaVu Sans, sans-serif" font-size="44" fill="#333">A4 297 × 210 mm</text>'
            % (w - 460, h - 40) + '</svg>')


def solve(rows, values):
    """Gaussian elimination for the 8 unknowns of a projective map."""
    n = len(values)
    m = [row[:] + [v] for row, v in zip(rows, values)]
    for c in range(n):
        p = max(range(c, n), key=lambda r: abs(m[r][c]))
        m[c], m[p] = m[p], m[c]
        for r in range(n):
            if r != c:
                f = m[r][c] / m[c][c]
                m[r] = [a - f * b for a, b in zip(m[r], m[c])]
    return [m[r][n] / m[r][r] for r in range(n)]


def projective(source, target):
    rows, values = [], []
    for (x, y), (u, v) in zip(source, target):
        rows.append([x, y, 1, 0, 0, 0, -u * x, -u * y]); values.append(u)
        rows.append([0, 0, 0, x, y, 1, -v * x, -v * y]); values.append(v)
    a, b, c, d, e, f, g, h = solve(rows, values)
    return lambda x, y: ((a * x + b * y + c) / (g * x + h * y + 1), (d * x + e * y + f) / (g * x + h * y + 1))


def sheet_on_plane_to_photo():
    w, h = 297, 210
    return projective([(0, 0), (w, 0), (w, h), (0, h)], SHEET_CORNERS)


def render_oblique(name):
    w, h = 297 * MM, 210 * MM
    flat_corners = [(0, h), (w, h), (w, 0), (0, 0)]
    pairs = " ".join("%g,%g %g,%g" % (fx, fy, px, py) for (fx, fy), (px, py) in zip(flat_corners, SHEET_CORNERS))
    with tempfile.TemporaryDirectory() as tmp:
        source = os.path.join(tmp, "sheet.svg")
        flat = os.path.join(tmp, "sheet.png")
        with open(source, "w") as f:
            f.write(sheet())
        subprocess.run(["rsvg-convert", "-o", flat, source], check=True)
        subprocess.run(["convert", "-size", "1600x1200", "gradient:#8a7358-#5e4b38",
                        "(", flat, "-alpha", "set", "-virtual-pixel", "transparent", "+distort", "Perspective", pairs, ")",
                        "-layers", "flatten", "-quality", "90", os.path.join(OUT, name)], check=True)
    to_photo = sheet_on_plane_to_photo()
    for x, y in SHEET_TARGETS:
        print("%s: target (%g, %g) mm at (%.1f, %.1f) in the photo" % ((name, x, y) + to_photo(x, y)))


def render(svg, name):
    with tempfile.TemporaryDirectory() as tmp:
        source = os.path.join(tmp, "image.svg")
        png = os.path.join(tmp, "image.png")
        with open(source, "w") as f:
            f.write(svg)
        subprocess.run(["rsvg-convert", "-o", png, source], check=True)
        target = os.path.join(OUT, name)
        if name.endswith(".jpg"):
            subprocess.run(["convert", png, "-quality", "88", target], check=True)
        else:
            subprocess.run(["convert", png, "-strip", target], check=True)


def main():
    os.makedirs(OUT, exist_ok=True)
    render(workbench(), "workbench.jpg")
    render(petri(), "petri.png")
    render_oblique("oblique.jpg")


if __name__ == "__main__":
    main()
