#!/usr/bin/env python3
"""Draws the sample images in examples/ as SVG and renders them with
rsvg-convert (librsvg2-bin) and ImageMagick's convert.

workbench.jpg: a board with a 100 mm ruler along its lower edge and four
round targets. 12 pixels are 1 mm; the ruler's 0 mark is at (200, 950).
petri.png: a culture dish with colonies and a 10 mm scale bar of 400 pixels.
"""
import os
import random
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "examples")

# Target centres of workbench.jpg in image pixels.
TARGETS = [(420, 380), (900, 520), (1250, 300), (704, 764)]


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


if __name__ == "__main__":
    main()
