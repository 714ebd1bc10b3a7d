#!/usr/bin/env python3
"""Draws mensor's icons as SVG and renders them to PNG with rsvg-convert.

Every icon comes at its size and at twice it (name@2x.png, for screens at
200 %). The application icon also goes to resources/hicolor/ for the
desktop's icon theme, at the theme's sizes and as scalable SVG.

The files are committed; run this script again after changing a drawing:
scripts/make-icons.py  (needs librsvg2-bin).
"""
import math
import os
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "resources", "icons")
THEME = os.path.join(HERE, "..", "resources", "hicolor")
APP_ID = "invalid.ortus.mensor"

STROKE = 'fill="none" stroke-linecap="round" stroke-linejoin="round"'


def svg(body, size=24):
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 24 24">%s</svg>'
            % (size, size, body))


def photo(x=2, y=4, w=20, h=16):
    return ('<rect x="%g" y="%g" width="%g" height="%g" rx="1.5" fill="#e8f1fb" stroke="#3a6ea5" stroke-width="1.5"/>'
            '<circle cx="%g" cy="%g" r="2" fill="#f2b705"/>'
            '<path d="M%g %g l5 -6 l3.5 4 l2.5 -2.5 l%g %g z" fill="#4c9a2a"/>'
            % (x, y, w, h, x + w - 5, y + 4.5, x + 1, y + h - 1, w - 12 - 1 + 1, 4.5))


def cross(cx, cy, r=4, colour="#d01c1c", width=1.8):
    gap = r * 0.35
    return ('<path d="M%g %g H%g M%g %g H%g M%g %g V%g M%g %g V%g" stroke="%s" stroke-width="%g" %s/>'
            % (cx - r, cy, cx - gap, cx + gap, cy, cx + r, cx, cy - r, cy - gap, cx, cy + gap, cy + r,
               colour, width, STROKE))


def magnifier(sign):
    body = ('<circle cx="10" cy="10" r="6.5" fill="#eef5fc" stroke="#2f4f6f" stroke-width="2"/>'
            '<path d="M15 15 L21 21" stroke="#2f4f6f" stroke-width="3" %s/>'
            '<path d="M7 10 H13" stroke="#2f4f6f" stroke-width="2" %s/>' % (STROKE, STROKE))
    if sign == "+":
        body += '<path d="M10 7 V13" stroke="#2f4f6f" stroke-width="2" %s/>' % STROKE
    return body


def arrow(direction):
    d = "M7 12 H17 M12.5 7.5 L17 12 L12.5 16.5" if direction > 0 else "M17 12 H7 M11.5 7.5 L7 12 L11.5 16.5"
    return ('<circle cx="12" cy="12" r="10" fill="#3c8d2f"/>'
            '<path d="%s" stroke="white" stroke-width="2.5" %s/>' % (d, STROKE))


def gear():
    teeth = "".join('<rect x="10.5" y="1.5" width="3" height="5" rx="0.6" fill="#5a6470" transform="rotate(%d 12 12)"/>'
                    % a for a in range(0, 360, 45))
    return teeth + ('<circle cx="12" cy="12" r="7" fill="#5a6470"/>'
                    '<circle cx="12" cy="12" r="3" fill="white"/>')


def ruler(x=1.5, y=8, w=21, h=8):
    ticks = "".join('<path d="M%g %g V%g" stroke="#5b4300" stroke-width="1" %s/>'
                    % (x + 2 + i * 2.5, y, y + (4 if i % 2 == 0 else 2.5), STROKE) for i in range(8))
    return ('<rect x="%g" y="%g" width="%g" height="%g" rx="1" fill="#f5c542" stroke="#8a6500" stroke-width="1.2"/>'
            % (x, y, w, h)) + ticks


def snap(horizontal):
    line = "M2 12 H22" if horizontal else "M12 2 V22"
    return ('<path d="%s" stroke="#1d6fd1" stroke-width="2" stroke-dasharray="3 2" %s/>' % (line, STROKE)
            + cross(12, 12, 5))


def info_circle(mark):
    body = '<circle cx="12" cy="12" r="10" fill="#2a6cc4"/>'
    if mark == "i":
        body += '<circle cx="12" cy="7" r="1.6" fill="white"/><rect x="10.6" y="10" width="2.8" height="8" rx="1" fill="white"/>'
    else:
        body += ('<path d="M8.8 9 a3.2 3.2 0 1 1 4.6 2.9 c-1 .5 -1.4 1.1 -1.4 2.4" stroke="white" stroke-width="2.4" %s/>'
                 '<circle cx="12" cy="17.6" r="1.5" fill="white"/>' % STROKE)
    return body


def flag_ch():
    return ('<rect x="2" y="4" width="20" height="16" fill="#d52b1e"/>'
            '<path d="M10.5 7 h3 v3.5 h3.5 v3 h-3.5 v3.5 h-3 v-3.5 h-3.5 v-3 h3.5 z" fill="white"/>')


def flag_de():
    return ('<rect x="2" y="4" width="20" height="5.4" fill="#000"/>'
            '<rect x="2" y="9.4" width="20" height="5.3" fill="#dd0000"/>'
            '<rect x="2" y="14.7" width="20" height="5.3" fill="#ffce00"/>')


def flag_us():
    stripes = "".join('<rect x="2" y="%g" width="20" height="1.23" fill="%s"/>'
                      % (4 + i * 1.23, "#b22234" if i % 2 == 0 else "white") for i in range(13))
    stars = "".join('<circle cx="%g" cy="%g" r="0.45" fill="white"/>' % (3.2 + c * 1.7, 5.2 + r * 1.6)
                    for r in range(5) for c in range(5))
    return stripes + '<rect x="2" y="4" width="9" height="8.6" fill="#3c3b6e"/>' + stars


def application(size):
    return svg(photo(1.5, 2.5, 21, 16) + ruler(3, 17, 18, 5) + cross(15.5, 9, 3.5, width=1.6), size)


ICONS = {
    "open-image": photo() + '<path d="M16 2 v5 M13.5 4.5 h5" stroke="#2f4f6f" stroke-width="1.6" %s/>' % STROKE,
    "open-folder": ('<path d="M2 6 a1 1 0 0 1 1 -1 h6 l2 2 h9 a1 1 0 0 1 1 1 v11 a1 1 0 0 1 -1 1 h-17 a1 1 0 0 1 -1 -1 z" '
                    'fill="#f2c14e" stroke="#a6781b" stroke-width="1.2"/>'
                    '<path d="M2 10 h20" stroke="#a6781b" stroke-width="1"/>'),
    "go-next": arrow(1),
    "go-previous": arrow(-1),
    "exit": ('<circle cx="12" cy="13" r="8" stroke="#c62828" stroke-width="2.5" %s/>'
             '<path d="M12 2.5 V12" stroke="#c62828" stroke-width="2.8" %s/>' % (STROKE, STROKE)),
    "copy-coordinates": ('<rect x="3" y="3" width="12" height="14" rx="1" fill="white" stroke="#555" stroke-width="1.4"/>'
                         '<rect x="9" y="7" width="12" height="14" rx="1" fill="white" stroke="#2f4f6f" stroke-width="1.4"/>'
                         '<path d="M11.5 11 h7 M11.5 14 h7 M11.5 17 h5" stroke="#2f4f6f" stroke-width="1.2" %s/>' % STROKE),
    "delete-point": cross(10, 10, 7) + ('<circle cx="17" cy="17" r="5.5" fill="#c62828"/>'
                                        '<path d="M14.5 17 h5" stroke="white" stroke-width="2" %s/>' % STROKE),
    "configure": gear(),
    "zoom-in": magnifier("+"),
    "zoom-out": magnifier("-"),
    "snap-horizontal": snap(True),
    "snap-vertical": snap(False),
    "mode-calibrate": ruler(),
    "mode-edit": cross(7, 8, 4.5) + cross(16, 7, 4.5) + cross(12, 17, 4.5),
    "show-thumbnails": "".join('<rect x="%g" y="%g" width="9" height="9" rx="1" fill="#e8f1fb" stroke="#3a6ea5" stroke-width="1.3"/>'
                               % (x, y) for x in (2.5, 12.5) for y in (2.5, 12.5)),
    "about": info_circle("i"),
    "help": info_circle("?"),
    "color-black": '<rect x="3" y="3" width="18" height="18" rx="2" fill="#000"/>',
    "color-red": '<rect x="3" y="3" width="18" height="18" rx="2" fill="#e00000"/>',
    "color-yellow": '<rect x="3" y="3" width="18" height="18" rx="2" fill="#ffd800" stroke="#a08800" stroke-width="1"/>',
    "clear-points": cross(7, 8, 4.5) + cross(16, 7, 4.5) + cross(12, 17, 4.5)
                    + '<path d="M3 21 L21 3" stroke="#333" stroke-width="2.2" %s/>' % STROKE,
    "dialog/ok": '<path d="M4 12.5 L9.5 18 L20 6" stroke="#2e8b2e" stroke-width="3.2" %s/>' % STROKE,
    "dialog/cancel": '<path d="M6 6 L18 18 M18 6 L6 18" stroke="#c62828" stroke-width="3.2" %s/>' % STROKE,
    "locale/de_CH": flag_ch(),
    "locale/de_DE": flag_de(),
    "locale/en_US": flag_us(),
}


def render(name, document, size, folder=OUT):
    path = os.path.join(folder, name + ".png")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with tempfile.NamedTemporaryFile("w", suffix=".svg", delete=False) as f:
        f.write(document)
    try:
        subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size), "-o", path, f.name], check=True)
    finally:
        os.unlink(f.name)


def main():
    for name, body in ICONS.items():
        render(name, svg(body), 24)
        render(name + "@2x", svg(body), 48)
    for size in (32, 128):
        render("application-icon-%dx%d" % (size, size), application(size), size)
        render("application-icon-%dx%d@2x" % (size, size), application(size), 2 * size)
    for size in (16, 24, 32, 48, 64, 128, 256):
        render(os.path.join("%dx%d" % (size, size), "apps", APP_ID), application(size), size, THEME)
    scalable = os.path.join(THEME, "scalable", "apps")
    os.makedirs(scalable, exist_ok=True)
    with open(os.path.join(scalable, APP_ID + ".svg"), "w") as f:
        f.write(application(256) + "\n")


if __name__ == "__main__":
    main()
