#!/usr/bin/env python3
"""Draws every image of skins\\theme1\\ from the design below.

Each image is written as SVG and rendered with rsvg-convert; the colour wheel,
which needs a hue per pixel, is computed here and written as PNG directly.
The names, frame counts and sizes come from images.txt; an image that comes
out at another size fails the build.

    make_skin.py --out <skin folder> --rsvg <rsvg-convert> [--svg <folder>]
"""
import argparse
import math
import os
import struct
import subprocess
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# Palette (see README.md). The framework fixes text 0xF2F2F2, captions
# 0xC8C8C8, greyed text 0x808080 and the selection colour 0x1BFFFF; the gauges
# draw in 0x0084FF, 0x3A5687 and 0x2A48B9. Everything here sits between them.
WINDOW = "#111419"      # window background, title area
PANEL = "#171B22"       # cards
PANEL_HI = "#1E232C"    # raised fields (boxes, tabs, switches)
HOVER = "#262C37"
PRESSED = "#0C1F25"
LINE = "#262C36"        # card borders
LINE_HI = "#3A4452"     # hovered borders
TEXT = "#F2F2F2"
CAPTION = "#C8C8C8"
MUTED = "#878787"
DISABLED = "#4A505A"
ACCENT = "#1BFFFF"      # the framework's selection colour
ACCENT_DEEP = "#0A8E9C"
BLUE = "#0084FF"
DANGER = "#E5484D"

RADIUS_CARD = 12
RADIUS_FIELD = 6


# ----------------------------------------------------------------- SVG helpers

def svg(width, height, body, defs=""):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
            f'viewBox="0 0 {width} {height}"><defs>{defs}</defs>{body}</svg>\n')


def rect(x, y, w, h, r, fill, stroke=None, sw=1, opacity=1.0, extra=""):
    s = f' stroke="{stroke}" stroke-width="{sw}"' if stroke else ""
    return (f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="{r}" fill="{fill}"'
            f'{s} opacity="{opacity}" {extra}/>')


def card(w, h, fill=PANEL, stroke=LINE, r=RADIUS_CARD, inset=0.5):
    """A card filling the whole image with a crisp one-pixel border."""
    return rect(inset, inset, w - 2 * inset, h - 2 * inset, r, fill, stroke)


def linear(gid, c1, c2, x2=0, y2=1, o1=1, o2=1):
    return (f'<linearGradient id="{gid}" x1="0" y1="0" x2="{x2}" y2="{y2}">'
            f'<stop offset="0" stop-color="{c1}" stop-opacity="{o1}"/>'
            f'<stop offset="1" stop-color="{c2}" stop-opacity="{o2}"/></linearGradient>')


def radial(gid, colour, o_centre, o_edge=0):
    return (f'<radialGradient id="{gid}"><stop offset="0" stop-color="{colour}" '
            f'stop-opacity="{o_centre}"/><stop offset="1" stop-color="{colour}" '
            f'stop-opacity="{o_edge}"/></radialGradient>')


def rainbow(gid, x2=1, y2=0):
    stops = "".join(f'<stop offset="{i / 6:.3f}" stop-color="{hsl_hex(i * 60, 1, 0.55)}"/>'
                    for i in range(7))
    return f'<linearGradient id="{gid}" x1="0" y1="0" x2="{x2}" y2="{y2}">{stops}</linearGradient>'


def strip(fw, fh, frames, defs=""):
    """Frames side by side; each frame body is drawn in its own coordinates."""
    body = "".join(f'<g transform="translate({i * fw},0)">{f}</g>' for i, f in enumerate(frames))
    return svg(fw * len(frames), fh, body, defs)


def stroke_path(d, colour, width=1.6, opacity=1.0, fill="none"):
    return (f'<path d="{d}" fill="{fill}" stroke="{colour}" stroke-width="{width}" '
            f'stroke-linecap="round" stroke-linejoin="round" opacity="{opacity}"/>')


def arc_path(cx, cy, r, a0, a1):
    """Clockwise arc from angle a0 to a1, degrees clockwise from +x (y down)."""
    x0, y0 = cx + r * math.cos(math.radians(a0)), cy + r * math.sin(math.radians(a0))
    x1, y1 = cx + r * math.cos(math.radians(a1)), cy + r * math.sin(math.radians(a1))
    large = 1 if (a1 - a0) % 360 > 180 else 0
    return f"M{x0:.2f} {y0:.2f} A{r} {r} 0 {large} 1 {x1:.2f} {y1:.2f}"


def hsl_hex(h, s, l):
    r, g, b = hsl_rgb(h / 360.0, s, l)
    return f"#{int(r * 255):02X}{int(g * 255):02X}{int(b * 255):02X}"


def hsl_rgb(h, s, l):
    if s == 0:
        return l, l, l
    q = l * (1 + s) if l < 0.5 else l + s - l * s
    p = 2 * l - q

    def channel(t):
        t %= 1.0
        if t < 1 / 6:
            return p + (q - p) * 6 * t
        if t < 1 / 2:
            return q
        if t < 2 / 3:
            return p + (q - p) * (2 / 3 - t) * 6
        return p
    return channel(h + 1 / 3), channel(h), channel(h - 1 / 3)


# Four push states: normal, hover, pressed, disabled.
STATES = ("normal", "hover", "pressed", "disabled")


# ------------------------------------------------------------ title-area images

def system_button(glyph, danger=False):
    def frame(state):
        bg = {"normal": None,
              "hover": DANGER if danger else HOVER,
              "pressed": "#B8383C" if danger else PRESSED,
              "disabled": None}[state]
        fg = {"normal": CAPTION, "hover": TEXT, "pressed": TEXT, "disabled": DISABLED}[state]
        body = rect(1, 1, 28, 28, RADIUS_FIELD, bg) if bg else ""
        return body + glyph(fg)
    return strip(30, 30, [frame(s) for s in STATES])


def glyph_close(c):
    return stroke_path("M10 10 L20 20 M20 10 L10 20", c, 1.8)


def glyph_min(c):
    return stroke_path("M9.5 15.5 H20.5", c, 1.8)


def glyph_gear(c):
    teeth = []
    for i in range(8):
        a = math.radians(i * 45)
        x0, y0 = 15 + 6.2 * math.cos(a), 15 + 6.2 * math.sin(a)
        x1, y1 = 15 + 9.0 * math.cos(a), 15 + 9.0 * math.sin(a)
        teeth.append(f"M{x0:.2f} {y0:.2f} L{x1:.2f} {y1:.2f}")
    return (stroke_path(" ".join(teeth), c, 2.6) +
            f'<circle cx="15" cy="15" r="6" fill="none" stroke="{c}" stroke-width="1.8"/>' +
            f'<circle cx="15" cy="15" r="2.2" fill="{c}"/>')


def combo_box():
    # The box is nine-sliced 6/6/32/6 over a slot of exactly this size, and the
    # framework fills the slot grey first: the corners are painted in the title
    # area's colour so that no grey shows through them.
    def frame(state):
        fill = {"normal": PANEL_HI, "hover": HOVER, "pressed": PANEL_HI, "disabled": PANEL}[state]
        line = {"normal": LINE_HI, "hover": "#4A5566", "pressed": ACCENT, "disabled": LINE}[state]
        fg = {"normal": CAPTION, "hover": TEXT, "pressed": ACCENT, "disabled": DISABLED}[state]
        globe = (f'<circle cx="15.5" cy="17.5" r="6.5" fill="none" stroke="{fg}" stroke-width="1.3"/>'
                 + stroke_path("M9 17.5 H22 M15.5 11 C12 14 12 21 15.5 24 C19 21 19 14 15.5 11", fg, 1.1))
        chevron = stroke_path("M129 15 L134 20 L139 15", fg, 1.8)
        divider = f'<path d="M118.5 8 V27" stroke="{LINE}" stroke-width="1"/>'
        return (f'<rect width="150" height="35" fill="{WINDOW}"/>' +
                rect(0.5, 0.5, 149, 34, RADIUS_FIELD, fill, line) + globe + divider + chevron)
    return strip(150, 35, [frame(s) for s in STATES])


def main_background():
    # 36-pixel corners are copied as they are, the rest is stretched: keep the
    # middle flat and put the window's edge in the margins. The main window
    # is not layered, so its corners stay square: a rounded picture would let
    # the dialog's border colour show through the transparent corners.
    defs = linear("top", "#FFFFFF", "#FFFFFF", 0, 1, 0.05, 0)
    body = (rect(0.5, 0.5, 119, 119, 0, WINDOW, "#2A303A") +
            rect(1, 1, 118, 30, 0, "url(#top)"))
    return svg(120, 120, body, defs)


def page_background():
    # Both pages sit on this picture, so it only lays a soft light behind the
    # central picture (mode dial or machine) and a hairline beside the tabs.
    defs = (radial("glow", ACCENT, 0.07) +
            linear("rule", LINE, LINE, 0, 1, 0, 1) +
            '<linearGradient id="fade" x1="0" y1="0" x2="0" y2="1">'
            f'<stop offset="0" stop-color="{LINE}" stop-opacity="0"/>'
            f'<stop offset="0.15" stop-color="{LINE}" stop-opacity="1"/>'
            f'<stop offset="0.85" stop-color="{LINE}" stop-opacity="1"/>'
            f'<stop offset="1" stop-color="{LINE}" stop-opacity="0"/></linearGradient>')
    body = ('<ellipse cx="688" cy="305" rx="330" ry="300" fill="url(#glow)"/>'
            '<rect x="250" y="10" width="1" height="660" fill="url(#fade)"/>')
    return svg(1500, 688, body, defs)


# ----------------------------------------------------------------- navigation

def nav_tab(icon):
    def frame(i):
        state = ("normal", "hover", "selected", "disabled")[i]
        fill = {"normal": PANEL, "hover": PANEL_HI, "selected": "url(#sel)", "disabled": PANEL}[state]
        line = {"normal": LINE, "hover": LINE_HI, "selected": ACCENT, "disabled": LINE}[state]
        fg = {"normal": MUTED, "hover": CAPTION, "selected": ACCENT, "disabled": DISABLED}[state]
        body = rect(1.5, 1.5, 192, 252, 14, fill, line, 1 if state != "selected" else 1.5)
        if state == "selected":
            body += rect(6, 96, 4, 60, 2, ACCENT)
        return body + icon(fg, state == "selected")
    defs = linear("sel", "#123038", "#161B22")
    return strip(195, 274, [frame(i) for i in range(4)], defs)


def icon_system(c, lit):
    # A speed dial: the system page's performance modes and gauges.
    ticks = " ".join(arc_path(97, 112, 46, a, a + 1) for a in range(150, 391, 30))
    glow = f'<circle cx="97" cy="112" r="58" fill="{ACCENT}" opacity="0.08"/>' if lit else ""
    return (glow + stroke_path(arc_path(97, 112, 52, 135, 405), c, 6, 0.35) +
            stroke_path(arc_path(97, 112, 52, 135, 300), c, 6) +
            stroke_path(ticks, c, 3, 0.6) +
            stroke_path("M97 112 L124 86", c, 4) +
            f'<circle cx="97" cy="112" r="8" fill="{c}"/>')


def icon_light(c, lit):
    # A bulb with rays: the light page.
    rays = []
    for a in range(-150, -20, 32):
        r0, r1 = 50, 62
        ca, sa = math.cos(math.radians(a)), math.sin(math.radians(a))
        rays.append(f"M{97 + r0 * ca:.1f} {104 + r0 * sa:.1f} L{97 + r1 * ca:.1f} {104 + r1 * sa:.1f}")
    glow = f'<circle cx="97" cy="100" r="48" fill="{ACCENT}" opacity="0.10"/>' if lit else ""
    bulb = ("M77 112 C68 102 66 92 66 86 C66 68 80 55 97 55 C114 55 128 68 128 86 "
            "C128 92 126 102 117 112 C112 118 110 124 110 130 H84 C84 124 82 118 77 112 Z")
    return (glow + stroke_path(bulb, c, 4.5) + stroke_path(" ".join(rays), c, 4.5) +
            stroke_path("M86 141 H108 M89 152 H105", c, 4.5) +
            stroke_path("M90 100 L97 110 L104 100", c, 3.5, 0.8))


# ----------------------------------------------------------- performance page

PERF_FILL = linear("pf", "#16B9C6", "#0B6F7C")


def perf_tab(level):
    """The selector tab of a mode; the lit dots show how much power it allows."""
    def frame(i):
        state = ("normal", "hover", "selected", "disabled")[i]
        fill = {"normal": PANEL_HI, "hover": HOVER, "selected": "url(#pf)", "disabled": PANEL}[state]
        line = {"normal": LINE_HI, "hover": "#4A5566", "selected": ACCENT, "disabled": LINE}[state]
        on = TEXT if state == "selected" else ACCENT
        off = "#FFFFFF" if state == "selected" else LINE_HI
        dots = "".join(
            f'<circle cx="{73 + 7 * k}" cy="36" r="1.7" fill="{on if k < level else off}" '
            f'opacity="{1 if k < level else 0.35}"/>' for k in range(3))
        return rect(0.5, 0.5, 159, 41, 10, fill, line) + dots
    return strip(160, 42, [frame(i) for i in range(4)], PERF_FILL)


def mode_picture(level):
    """The mode dial: a 270-degree scale from Low (lower left) to High (lower
    right) in three segments, lit up to the mode, with the mode's sign inside."""
    cx = cy = 197.5
    defs = (linear("lit", "#1BFFFF", "#0084FF", 1, 1) + radial("core", "#1BFFFF", 0.10) +
            '<radialGradient id="face" cx="0.5" cy="0.4" r="0.6">'
            '<stop offset="0" stop-color="#1F2530"/><stop offset="1" stop-color="#12151B"/>'
            '</radialGradient>')
    body = [f'<circle cx="{cx}" cy="{cy}" r="190" fill="url(#core)"/>']
    segments = ((135, 223), (227, 313), (317, 405))
    for k, (a0, a1) in enumerate(segments):
        colour = "url(#lit)" if k < level else "#252B35"
        body.append(stroke_path(arc_path(cx, cy, 168, a0, a1), colour, 16).replace(
            'stroke-linecap="round"', 'stroke-linecap="butt"'))
    ticks = " ".join(arc_path(cx, cy, 146, a - 0.4, a + 0.4) for a in range(135, 406, 9))
    body.append(stroke_path(ticks, "#3A4452", 6).replace('stroke-linecap="round"', 'stroke-linecap="butt"'))
    end = segments[level - 1][1]
    mx, my = cx + 168 * math.cos(math.radians(end)), cy + 168 * math.sin(math.radians(end))
    body.append(f'<circle cx="{mx:.1f}" cy="{my:.1f}" r="13" fill="{ACCENT}" opacity="0.25"/>'
                f'<circle cx="{mx:.1f}" cy="{my:.1f}" r="7" fill="#FFFFFF"/>')
    body.append(f'<circle cx="{cx}" cy="{cy}" r="118" fill="url(#face)" stroke="#2A303A" stroke-width="1.5"/>')
    body.append(mode_sign(level, cx, cy))
    # Three small bars under the sign repeat the level for a glance.
    for k in range(3):
        colour = ACCENT if k < level else "#2B323D"
        body.append(rect(cx - 27 + 20 * k, cy + 62, 14, 5, 2.5, colour))
    return svg(395, 395, "".join(body), defs)


def mode_sign(level, cx, cy):
    c = ACCENT
    if level == 1:      # quiet: a crescent moon
        return (f'<path d="M{cx + 14} {cy - 50} A44 44 0 1 0 {cx + 36} {cy + 22} '
                f'A36 36 0 1 1 {cx + 14} {cy - 50} Z" fill="{c}" opacity="0.9"/>')
    if level == 2:      # balanced: a disc of two equal halves
        return (f'<circle cx="{cx}" cy="{cy}" r="44" fill="none" stroke="{c}" stroke-width="7"/>'
                f'<path d="M{cx} {cy - 44} A44 44 0 0 0 {cx} {cy + 44} Z" fill="{c}"/>')
    return (f'<path d="M{cx + 10} {cy - 58} L{cx - 30} {cy + 8} H{cx - 2} L{cx - 12} {cy + 58} '
            f'L{cx + 30} {cy - 10} H{cx + 2} Z" fill="{c}" stroke="{c}" stroke-width="4" '
            f'stroke-linejoin="round"/>')


def fan_picture():
    """A fan seen from the front: seven swept blades in a round frame."""
    defs = linear("blade", "#1BFFFF", "#0084FF", 1, 1)
    body = [f'<circle cx="45" cy="45" r="43" fill="{PANEL}" stroke="{LINE_HI}" stroke-width="2"/>',
            f'<circle cx="45" cy="45" r="37" fill="#0E1115"/>']
    # Wide blades swept back: each starts 34 degrees wide at the hub and ends
    # 40 degrees wide at the rim, turned 28 degrees further on.
    def polar(r, a):
        return 45 + r * math.cos(math.radians(a)), 45 + r * math.sin(math.radians(a))
    for k in range(7):
        a = k * 360 / 7
        (x0, y0), (x1, y1) = polar(11, a), polar(11, a + 34)
        (x2, y2), (x3, y3) = polar(35, a + 68), polar(35, a + 28)
        (c1x, c1y), (c2x, c2y) = polar(26, a + 62), polar(24, a + 14)
        body.append(f'<path d="M{x0:.2f} {y0:.2f} L{x1:.2f} {y1:.2f} Q{c1x:.2f} {c1y:.2f} {x2:.2f} {y2:.2f} '
                    f'A35 35 0 0 0 {x3:.2f} {y3:.2f} Q{c2x:.2f} {c2y:.2f} {x0:.2f} {y0:.2f} Z" '
                    f'fill="url(#blade)" opacity="0.95"/>')
    body.append(f'<circle cx="45" cy="45" r="11" fill="{PANEL_HI}" stroke="{ACCENT}" stroke-width="2"/>'
                f'<circle cx="45" cy="45" r="3" fill="{ACCENT}"/>')
    return svg(90, 90, "".join(body), defs)


def gauge_card():
    defs = radial("well", "#000000", 0.35, 0.0)
    body = (card(343, 155) +
            '<circle cx="75" cy="75" r="62" fill="url(#well)"/>' +
            rect(0, 40, 3, 70, 1.5, ACCENT, opacity=0.6) +
            f'<path d="M140 75.5 H320" stroke="{LINE}" stroke-width="1"/>')
    return svg(343, 155, body, defs)


# ------------------------------------------------------------------ light page

def heading_pill(w, h):
    return svg(w, h, rect(0.5, 0.5, w - 1, h - 1, h / 2 - 0.5, PANEL_HI, LINE_HI) +
               rect(h / 2, h - 3, w - h, 1.5, 0.75, ACCENT, opacity=0.7))


def device_picture():
    """The compact PC at three-quarter view with its light ring lit."""
    defs = (linear("front", "#2A303B", "#171B22") + linear("side", "#1C2029", "#101318", 1, 0) +
            linear("top", "#3A424F", "#262C37") + rainbow("rgb", 1, 1) +
            radial("floor", ACCENT, 0.22) + radial("halo", "#FFFFFF", 0.10))
    fx0, fy0, fw, fh = 42, 52, 186, 300
    depth_x, depth_y = 34, -24
    body = [f'<ellipse cx="150" cy="364" rx="130" ry="20" fill="url(#floor)"/>',
            # side and top faces
            f'<path d="M{fx0 + fw} {fy0 + 14} L{fx0 + fw + depth_x} {fy0 + 14 + depth_y} '
            f'L{fx0 + fw + depth_x} {fy0 + fh - 14 + depth_y} L{fx0 + fw} {fy0 + fh - 14} Z" fill="url(#side)"/>',
            f'<path d="M{fx0 + 14} {fy0} L{fx0 + 14 + depth_x} {fy0 + depth_y} L{fx0 + fw + depth_x - 4} {fy0 + depth_y} '
            f'L{fx0 + fw} {fy0 + 6} Z" fill="url(#top)"/>',
            rect(fx0, fy0, fw, fh, 16, "url(#front)", "#3A4452", 1.5),
            # light ring
            f'<circle cx="{fx0 + fw / 2}" cy="{fy0 + 122}" r="70" fill="url(#halo)"/>',
            f'<circle cx="{fx0 + fw / 2}" cy="{fy0 + 122}" r="56" fill="none" stroke="url(#rgb)" stroke-width="9"/>',
            f'<circle cx="{fx0 + fw / 2}" cy="{fy0 + 122}" r="46" fill="#101318" stroke="#2A303A" stroke-width="1.5"/>',
            # vent slots and front ports
            ]
    for k in range(6):
        body.append(rect(fx0 + 48, fy0 + 212 + 9 * k, fw - 96, 3, 1.5, "#0E1115"))
    body.append(f'<circle cx="{fx0 + 30}" cy="{fy0 + 30}" r="7" fill="none" stroke="{ACCENT}" stroke-width="2"/>'
                + stroke_path(f"M{fx0 + 30} {fy0 + 25} V{fy0 + 30}", ACCENT, 2))
    body.append(rect(fx0 + fw - 52, fy0 + 26, 8, 8, 2, "#0E1115") +
                rect(fx0 + fw - 38, fy0 + 26, 14, 8, 2, "#0E1115"))
    body.append(rect(fx0 + 20, fy0 + fh - 14, fw - 40, 4, 2, "url(#rgb)", opacity=0.85))
    return svg(300, 390, "".join(body), defs)


def switch():
    defs = linear("on", "#16C3D0", "#0A8E9C", 1, 0)
    off = (rect(1, 2, 78, 28, 14, "#2B323D", LINE_HI) +
           f'<circle cx="17" cy="16" r="10" fill="{MUTED}"/>')
    on = (rect(1, 2, 78, 28, 14, "url(#on)", ACCENT) +
          f'<circle cx="63" cy="16" r="10" fill="#FFFFFF"/>')
    return strip(80, 32, [off, on], defs)


def light_tile(picture):
    def frame(i):
        state = ("normal", "hover", "selected", "disabled")[i]
        fill = {"normal": PANEL, "hover": PANEL_HI, "selected": "#112A31", "disabled": PANEL}[state]
        line = {"normal": LINE, "hover": LINE_HI, "selected": ACCENT, "disabled": LINE}[state]
        width = 2 if state == "selected" else 1
        inset = 1 if state == "selected" else 0.5
        opacity = 0.35 if state == "disabled" else 1.0
        return (rect(inset, inset, 102 - 2 * inset, 102 - 2 * inset, RADIUS_CARD, fill, line, width) +
                f'<g opacity="{opacity}">{picture}</g>')
    defs = rainbow("rb") + linear("wv", "#1BFFFF", "#8A5CFF", 1, 0)
    return strip(102, 102, [frame(i) for i in range(4)], defs)


# Tile pictures live in the top half (y 12..56); the caption is drawn below.
TILE_PICTURES = {
    1: rect(16, 26, 70, 16, 8, "url(#rb)"),
    2: "".join(f'<circle cx="51" cy="34" r="{r}" fill="{ACCENT}" opacity="{o}"/>'
               for r, o in ((22, 0.12), (16, 0.25), (10, 0.55), (5, 1.0))),
    3: stroke_path("M14 34 C22 18 30 18 38 34 S54 50 62 34 S78 18 88 34", "url(#wv)", 5),
    4: rect(26, 22, 50, 24, 6, BLUE) + rect(26, 22, 50, 10, 6, "#FFFFFF", opacity=0.12),
    5: (stroke_path(arc_path(51, 34, 16, 200, 340), "url(#rb)", 5) +
        stroke_path(arc_path(51, 34, 16, 20, 160), "url(#rb)", 5) +
        f'<path d="M63 22 L69 29 L60 31 Z" fill="{hsl_hex(200, 1, 0.55)}"/>'
        f'<path d="M39 46 L33 39 L42 37 Z" fill="{hsl_hex(20, 1, 0.55)}"/>'),
    6: (f'<path d="M54 14 L40 37 H50 L46 54 L62 30 H52 Z" fill="#FFD43B"/>'
        + stroke_path("M26 22 L32 27 M24 38 H31 M76 22 L70 27 M78 38 H71", "#FFD43B", 2.5, 0.7)),
    7: ('<path d="M16 44 L70 24" stroke="url(#wv)" stroke-width="6" stroke-linecap="round" opacity="0.5"/>'
        '<path d="M40 37 L70 24" stroke="url(#wv)" stroke-width="6" stroke-linecap="round"/>'
        f'<circle cx="72" cy="23" r="7" fill="#FFFFFF"/><circle cx="72" cy="23" r="11" fill="{ACCENT}" opacity="0.3"/>'),
}


def light_card(w, h, divider_y):
    return svg(w, h, card(w, h) + f'<path d="M20 {divider_y}.5 H{w - 20}" stroke="{LINE}" stroke-width="1"/>')


def slider_track():
    defs = linear("fill", "#0A8E9C", "#1BFFFF", 1, 0)
    return svg(200, 16, rect(0, 1, 200, 6, 3, "url(#fill)") + rect(0, 9, 200, 6, 3, "#2B323D"), defs)


def slider_thumb():
    def frame(state):
        ring = {"normal": ACCENT, "hover": ACCENT, "pressed": "#FFFFFF", "disabled": DISABLED}[state]
        core = {"normal": "#FFFFFF", "hover": "#FFFFFF", "pressed": ACCENT, "disabled": MUTED}[state]
        halo = 0.25 if state in ("hover", "pressed") else 0.12
        return (f'<circle cx="18" cy="18" r="14" fill="{ACCENT}" opacity="{halo}"/>'
                f'<circle cx="18" cy="18" r="9" fill="{core}" stroke="{ring}" stroke-width="3"/>')
    return strip(36, 36, [frame(s) for s in STATES])


def settings_panel():
    # Hangs under the settings button (x 150..180 of the panel) with a notch
    # pointing at it; the card stops at x 300 because the window ends at 310.
    shadow = '<filter id="sh" x="-10%" y="-10%" width="120%" height="130%"><feGaussianBlur stdDeviation="4"/></filter>'
    outline = ("M13 10.5 H155 L165 1.5 L175 10.5 H287 A12 12 0 0 1 299 22.5 V174 "
               "A12 12 0 0 1 287 186 H13 A12 12 0 0 1 1 174 V22.5 A12 12 0 0 1 13 10.5 Z")
    body = (f'<path d="{outline}" fill="#000000" opacity="0.45" filter="url(#sh)" transform="translate(0,2)"/>'
            f'<path d="{outline}" fill="{PANEL_HI}" stroke="{LINE_HI}" stroke-width="1"/>'
            f'<path d="M20 69.5 H280 M20 120.5 H280" stroke="{LINE}" stroke-width="1"/>')
    return svg(335, 190, body, shadow)


def update_button():
    def frame(state):
        bg = {"normal": HOVER, "hover": "#2E3642", "pressed": PRESSED, "disabled": PANEL}[state]
        fg = {"normal": CAPTION, "hover": ACCENT, "pressed": ACCENT, "disabled": DISABLED}[state]
        arrows = (stroke_path(arc_path(16, 16, 8, 200, 340), fg, 2) +
                  stroke_path(arc_path(16, 16, 8, 20, 160), fg, 2) +
                  f'<path d="M23.5 9.5 L25 14.5 L20 13.5 Z" fill="{fg}"/>'
                  f'<path d="M8.5 22.5 L7 17.5 L12 18.5 Z" fill="{fg}"/>')
        return f'<circle cx="16" cy="16" r="15" fill="{bg}" stroke="{LINE_HI}" stroke-width="1"/>' + arrows
    return strip(32, 32, [frame(s) for s in STATES])


# --------------------------------------------------------------- dialog images

def message_box():
    # Stretched whole for the message box, nine-sliced with a 16-pixel border
    # for the update dialog: the rounding and the accent stay inside 16 pixels.
    body = (rect(0.5, 0.5, 499, 229, RADIUS_CARD, "#1B1F27", "#343C49") +
            f'<path d="M14 1.5 H486" stroke="{ACCENT}" stroke-width="2" stroke-linecap="round"/>')
    return svg(500, 230, body)


def dialog_button():
    defs = PERF_FILL
    def frame(state):
        fill = {"normal": HOVER, "hover": "#2E3642", "pressed": "url(#pf)", "disabled": PANEL_HI}[state]
        line = {"normal": LINE_HI, "hover": ACCENT, "pressed": ACCENT, "disabled": LINE}[state]
        return rect(0.5, 0.5, 79, 35, RADIUS_FIELD, fill, line)
    return strip(80, 36, [frame(s) for s in STATES], defs)


def tip_background():
    return svg(32, 32, rect(0.5, 0.5, 31, 31, 5, HOVER, LINE_HI))


def tip_arrow(direction):
    shapes = {"left": (8, 14, "M8 0 L0.5 7 L8 14 Z"),
              "right": (8, 14, "M0 0 L7.5 7 L0 14 Z"),
              "top": (14, 8, "M0 8 L7 0.5 L14 8 Z")}
    w, h, d = shapes[direction]
    return svg(w, h, f'<path d="{d}" fill="{HOVER}"/>')


def paging_thumb():
    return svg(60, 7, rect(0, 1, 60, 5, 2.5, ACCENT))


# ------------------------------------------------------------------ the wheel

def colour_wheel_png(size):
    """Hue by angle (red at the right, clockwise as the screen's y runs),
    saturation falling to white at the centre. Drawn per pixel with a
    one-pixel antialiased rim so the wheel sits cleanly on the card."""
    radius = size / 2 - 1
    centre = size / 2
    rows = []
    for y in range(size):
        row = bytearray([0])
        for x in range(size):
            dx, dy = x + 0.5 - centre, y + 0.5 - centre
            d = math.hypot(dx, dy)
            coverage = max(0.0, min(1.0, radius + 0.5 - d))
            if coverage == 0:
                row += b"\0\0\0\0"
                continue
            hue = (math.degrees(math.atan2(dy, dx)) % 360) / 360
            sat = min(1.0, d / radius)
            r, g, b = hsl_rgb(hue, 1.0, 1.0 - 0.5 * sat)
            row += bytes((int(r * 255), int(g * 255), int(b * 255), int(coverage * 255)))
        rows.append(bytes(row))
    return png_bytes(size, size, b"".join(rows))


def png_bytes(w, h, raw):
    def chunk(kind, data):
        c = kind + data
        return struct.pack(">I", len(data)) + c + struct.pack(">I", zlib.crc32(c) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path} is not a PNG")
    return struct.unpack(">II", head[16:24])


# ------------------------------------------------------------------ the table

SVG_IMAGES = {
    "main_bkg.png": main_background,
    "sysbtn_close.png": lambda: system_button(glyph_close, danger=True),
    "sysbtn_min.png": lambda: system_button(glyph_min),
    "sysbtn_set.png": lambda: system_button(glyph_gear),
    "img_combox.png": combo_box,
    "tab_system_mode.png": lambda: nav_tab(icon_system),
    "tab_light.png": lambda: nav_tab(icon_light),
    "img_perf_bkg.png": page_background,
    "img_btn_permode1.png": lambda: perf_tab(1),
    "img_btn_permode2.png": lambda: perf_tab(2),
    "img_btn_permode3.png": lambda: perf_tab(3),
    "img_permode1.png": lambda: mode_picture(1),
    "img_permode2.png": lambda: mode_picture(2),
    "img_permode3.png": lambda: mode_picture(3),
    "img_fan.png": fan_picture,
    "img_systemmode_bkg.png": gauge_card,
    "img_area_lightmode.png": lambda: heading_pill(156, 42),
    "img_device.png": device_picture,
    "img_btn_switch.png": switch,
    **{f"light_mode{m}.png": (lambda m=m: light_tile(TILE_PICTURES[m])) for m in range(1, 8)},
    "img_area_light1.png": lambda: light_card(335, 239, 62),
    "img_area_light2.png": lambda: light_card(336, 418, 60),
    "img_slider_back.png": slider_track,
    "img_thumb.png": slider_thumb,
    "light_set_bg.png": settings_panel,
    "img_btn_update.png": update_button,
    "msg_box.png": message_box,
    "img_button.png": dialog_button,
    "img_tip_bk.png": tip_background,
    "img_tip_arrow_left.png": lambda: tip_arrow("left"),
    "img_tip_arrow_right.png": lambda: tip_arrow("right"),
    "img_tip_arrow_top.png": lambda: tip_arrow("top"),
    "img_slider.png": paging_thumb,
}

PIXEL_IMAGES = {
    "img_circlepalette.png": lambda: colour_wheel_png(130),
}


def read_manifest(path):
    images = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            name, frames, fw, fh = line.split()[:4]
            images.append((name, int(frames), int(fw), int(fh)))
    return images


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--out", required=True)
    ap.add_argument("--rsvg", default="rsvg-convert")
    ap.add_argument("--svg", help="also keep the SVG sources here")
    args = ap.parse_args()
    os.makedirs(args.out, exist_ok=True)
    if args.svg:
        os.makedirs(args.svg, exist_ok=True)

    failures = []
    for name, frames, fw, fh in read_manifest(os.path.join(HERE, "images.txt")):
        target = os.path.join(args.out, name)
        if name in PIXEL_IMAGES:
            with open(target, "wb") as f:
                f.write(PIXEL_IMAGES[name]())
        elif name in SVG_IMAGES:
            text = SVG_IMAGES[name]()
            if args.svg:
                with open(os.path.join(args.svg, name[:-4] + ".svg"), "w", encoding="utf-8") as f:
                    f.write(text)
            subprocess.run([args.rsvg, "-f", "png", "-o", target], input=text.encode("utf-8"), check=True)
        else:
            failures.append(f"{name}: listed in images.txt but nothing draws it")
            continue
        size = png_size(target)
        if size != (frames * fw, fh):
            failures.append(f"{name}: drawn at {size[0]}x{size[1]}, expected {frames * fw}x{fh}")
    for failure in failures:
        print(f"make_skin: {failure}", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
