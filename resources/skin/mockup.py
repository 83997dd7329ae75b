"""Composes the main window, its settings popup and the message box from the
skin images at the rectangles the program gives them, to judge the design as
a whole before the real windows exist. Used by preview.py --mockup."""
import base64
import math
import os
import subprocess
from xml.sax.saxutils import escape

LANGUAGE_SOURCES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "language")

DEFAULT_FACE = "Open Sans, WenQuanYi Micro Hei"      # "Segoe UI" in the test prefix
ARIAL_FACE = "Liberation Sans, WenQuanYi Micro Hei"  # font\\Arial.ttf
SELECT = "#1BFFFF"


class Canvas:
    def __init__(self, skin, width, height):
        self.skin, self.width, self.height, self.parts, self.cache = skin, width, height, [], {}

    def data(self, name):
        if name not in self.cache:
            with open(os.path.join(self.skin, name), "rb") as f:
                self.cache[name] = base64.b64encode(f.read()).decode("ascii")
        return self.cache[name]

    def part(self, name, iw, ih, sx, sy, sw, sh, dx, dy, dw, dh):
        """Source rectangle of an image scaled into a destination rectangle."""
        if sw <= 0 or sh <= 0 or dw <= 0 or dh <= 0:
            return
        self.parts.append(
            f'<svg x="{dx}" y="{dy}" width="{dw}" height="{dh}" viewBox="{sx} {sy} {sw} {sh}" '
            f'preserveAspectRatio="none"><image width="{iw}" height="{ih}" '
            f'href="data:image/png;base64,{self.data(name)}"/></svg>')

    def frame(self, name, frames, fw, fh, index, x, y, w=None, h=None):
        self.part(name, frames * fw, fh, index * fw, 0, fw, fh, x, y, w or fw, h or fh)

    def nine(self, name, iw, ih, x, y, w, h, left, top, right, bottom, sx=0, frames=1):
        """Nine-slice of frame sx of a strip of frames of iw x ih each."""
        cols = ((0, left, x, left), (left, iw - left - right, x + left, w - left - right),
                (iw - right, right, x + w - right, right))
        rows = ((0, top, y, top), (top, ih - top - bottom, y + top, h - top - bottom),
                (ih - bottom, bottom, y + h - bottom, bottom))
        for csx, csw, cdx, cdw in cols:
            for rsy, rsh, rdy, rdh in rows:
                self.part(name, iw * frames, ih, sx * iw + csx, rsy, csw, rsh, cdx, rdy, cdw, rdh)

    def text(self, s, x, y, w, h, size=16, colour="#F2F2F2", align=0, bold=False, face=DEFAULT_FACE, valign=4):
        anchor, tx = {0: ("start", x), 1: ("middle", x + w / 2), 2: ("end", x + w)}[align]
        ty = {0: y + size * 0.6, 4: y + h / 2, 8: y + h - size * 0.4}[valign]
        weight = "bold" if bold else "normal"
        self.parts.append(f'<text x="{tx}" y="{ty}" font-family="{face}" font-size="{size}" font-weight="{weight}" '
                          f'fill="{colour}" text-anchor="{anchor}" dominant-baseline="central">{escape(s)}</text>')

    def raw(self, svg):
        self.parts.append(svg)

    def render(self, out, rsvg):
        sheet = (f'<svg xmlns="http://www.w3.org/2000/svg" width="{self.width}" height="{self.height}">'
                 f'<rect width="100%" height="100%" fill="#3C3C3C"/>{"".join(self.parts)}</svg>')
        subprocess.run([rsvg, "-f", "png", "-o", out], input=sheet.encode("utf-8"), check=True)


# The language selector's items, compiled into the program.
SELECTOR_NAMES = {1033: "English", 2052: "简体中文", 1031: "Deutsch", 1041: "日本語", 1036: "Français",
                  1040: "Italiano", 1034: "Español", 1028: "繁体中文", 1043: "Nederlands", 1045: "język polski"}


def load_texts(lcid):
    texts = {}
    with open(os.path.join(LANGUAGE_SOURCES, f"{lcid}.ini"), encoding="utf-8") as f:
        for line in f:
            if "=" in line and not line.startswith(";"):
                key, value = line.rstrip("\n").split("=", 1)
                texts[int(key)] = value
    texts["name"] = SELECTOR_NAMES[lcid]
    return texts


def frame_controls(c, page, t):
    c.nine("main_bkg.png", 120, 120, 0, 0, 1500, 840, 36, 36, 36, 36)
    c.frame("img_perf_bkg.png", 1, 1500, 688, 0, 0, 100)
    for i, name in enumerate(("sysbtn_close.png", "sysbtn_min.png", "sysbtn_set.png")):
        c.frame(name, 4, 30, 30, 0, 1440 - 50 * i, 10)
    c.raw('<rect x="1180" y="10" width="120" height="35" fill="rgb(99,99,99)"/>')
    c.frame("img_combox.png", 4, 150, 35, 0, 1180, 10)
    c.text(t["name"], 1210, 10, 90, 35)
    tabs = (("tab_system_mode.png", t[60]), ("tab_light.png", t[61]))
    for i, (name, caption) in enumerate(tabs):
        selected = (i == 0) == (page == "system")
        y = 110 + 374 * i
        c.frame(name, 4, 195, 274, 2 if selected else 0, 30, y)
        c.text(caption, 30, y + 200, 195, 30, colour="#FFFFFF" if selected else "#878787", align=1, face=ARIAL_FACE)


def ring_gauge(c, x, y, caption, value_text, value):
    c.frame("img_systemmode_bkg.png", 1, 343, 155, 0, x, y, 343, 155)
    c.raw(f'<circle cx="{x + 75}" cy="{y + 75}" r="45" fill="none" stroke="#3A5687" stroke-width="6"/>')
    if value:
        end = 270 + value * 3.6
        x0, y0 = x + 75, y + 75 - 38
        x1 = x + 75 + 38 * math.cos(math.radians(end))
        y1 = y + 75 + 38 * math.sin(math.radians(end))
        large = 1 if value > 50 else 0
        c.raw(f'<path d="M{x0} {y0} A38 38 0 {large} 1 {x1:.1f} {y1:.1f}" fill="none" stroke="{SELECT}" '
              f'stroke-width="6" stroke-dasharray="10.8 3"/>')
    c.text(f"{int(value)}%", x + 30, y + 30, 90, 90, size=28, colour="#0084FF", align=1)
    c.text(value_text, x + 140, y + 85, 200, 60, size=28, colour="#0084FF", valign=0)
    c.text(caption, x + 140, y + 25, 160, 70, size=16, colour="#C8C8C8", valign=0)


def fan_gauge(c, x, y, caption, value_text, value):
    c.frame("img_fan.png", 1, 90, 90, 0, x, y)
    c.text(caption, x + 100, y + 10, 60, 30, size=20, colour="#C8C8C8")
    c.text(value_text, x + 200, y + 10, 200, 30, size=20, colour="#C8C8C8")
    c.raw(f'<rect x="{x + 100.5}" y="{y + 55.5}" width="260" height="32" fill="none" stroke="#2A48B9"/>')
    length = int(value / 100 * 256)
    for k in range(length // 12):
        c.raw(f'<rect x="{x + 102 + 12 * k}" y="{y + 57}" width="10" height="28" fill="#2A48B9"/>')
    if length % 12:
        c.raw(f'<rect x="{x + 102 + 12 * (length // 12)}" y="{y + 57}" width="{min(length % 12, 10)}" '
              f'height="28" fill="#2A48B9"/>')


def system_page(skin, out, rsvg, t, popup=False):
    c = Canvas(skin, 1500, 840)
    frame_controls(c, "system", t)
    for i, caption in enumerate((t[63], t[64], t[65])):
        c.frame(f"img_btn_permode{i + 1}.png", 4, 160, 42, 2 if i == 1 else (1 if i == 2 else 0), 400 + 200 * i, 110)
        c.text(caption, 400 + 200 * i, 110, 160, 42, align=1, face=ARIAL_FACE, colour="#FFFFFF")
    c.frame("img_permode2.png", 1, 395, 395, 0, 490, 210)
    c.text(t[66], 630, 180, 100, 30, align=1, bold=True)
    c.text("CPU", 390, 320, 100, 30, align=2, bold=True)
    c.text("GPU", 880, 320, 100, 30, align=0, bold=True)
    c.text(t[67], 480, 580, 100, 30, align=2, bold=True)
    c.text(t[68], 790, 580, 100, 30, align=0, bold=True)
    fan_gauge(c, 290, 715, "CPU", "2150 RPM", 48)
    fan_gauge(c, 729, 715, "GPU", "1820 RPM", 37)
    ring_gauge(c, 1120, 115, "Compact CPU 8C", "54°C", 23)
    ring_gauge(c, 1120, 290, "Compact GPU", "47°C", 11)
    ring_gauge(c, 1120, 465, "Memory 32 GB", "9.6 GB", 30)
    ring_gauge(c, 1120, 640, "Disk 1 TB", "412 GB", 41)
    if popup:
        c.raw('<svg x="1190" y="50" width="310" height="190" overflow="hidden">')
        c.frame("light_set_bg.png", 1, 335, 190, 0, 0, 0)
        c.text(t[101], 50, 20, 150, 45, align=1)
        c.text(t[102], 30, 73, 120, 40, align=1)
        c.frame("img_btn_update.png", 4, 32, 32, 1, 190, 75)
        c.text(t[103], 30, 126, 120, 40, align=1)
        c.frame("img_btn_switch.png", 2, 80, 32, 1, 150, 126)
        c.raw('</svg>')
    c.render(out, rsvg)


def slider(c, x, y, w, value, maximum):
    travel = w - 36
    d = travel * value // maximum
    c.part("img_slider_back.png", 200, 16, 0, 8, 200, 8, x + 18, y + 14, travel, 8)
    c.part("img_slider_back.png", 200, 16, 0, 0, d, 8, x + 18, y + 14, d, 8)
    c.frame("img_thumb.png", 4, 36, 36, 0, x + d, y)


def light_page(skin, out, rsvg, t):
    c = Canvas(skin, 1500, 840)
    frame_controls(c, "light", t)
    c.frame("img_area_lightmode.png", 1, 156, 42, 0, 590, 110)
    c.text(t[61], 590, 110, 156, 42, align=1)
    c.frame("img_device.png", 1, 300, 390, 0, 530, 165)
    c.frame("img_btn_switch.png", 2, 80, 32, 1, 640, 565)
    captions = [t[70 + i] for i in range(7)]
    for i, caption in enumerate(captions):
        x = 270 + 122 * i
        c.frame(f"light_mode{i + 1}.png", 4, 102, 102, 2 if i == 3 else (1 if i == 5 else 0), x, 645)
        c.text(caption, x, 645 + 52, 102, 60, colour="#C8C8C8", align=1)
    c.frame("img_area_light1.png", 1, 335, 239, 0, 1120, 540)
    c.text(t[84], 1180, 560, 215, 35, align=1)
    c.text(t[85], 1140, 610, 110, 36)
    slider(c, 1230, 610, 190, 3, 4)
    c.text(t[86], 1140, 670, 110, 36)
    slider(c, 1230, 670, 190, 6, 9)
    c.frame("img_area_light2.png", 1, 336, 418, 0, 1120, 110)
    c.text(t[87], 1180, 130, 215, 35, align=1)
    c.frame("img_circlepalette.png", 1, 130, 130, 0, 1240, 175)
    c.raw('<circle cx="1345" cy="185" r="5" fill="none" stroke="#FFFFFF"/>')
    c.text(t[88], 1240, 320, 70, 32)
    c.raw('<rect x="1320" y="320" width="32" height="32" fill="#FF8000"/>')
    for i, (letter, value) in enumerate((("R", 255), ("G", 128), ("B", 0))):
        c.text(letter, 1140, 370 + 40 * i, 36, 36)
        slider(c, 1190, 370 + 40 * i, 230, value, 255)
    c.render(out, rsvg)


def message_box(skin, out, rsvg, t):
    c = Canvas(skin, 500, 230)
    c.frame("msg_box.png", 1, 500, 230, 0, 0, 0)
    c.text(t[105], 20, 15, 460, 25, align=1, colour="#FFFFFF")
    # SVG text does not wrap: break the message at the space nearest its middle.
    message = t[104]
    middle = len(message) // 2
    spaces = [i for i, ch in enumerate(message) if ch == " "]
    cut = min(spaces, key=lambda i: abs(i - middle)) if spaces else middle
    lines = (message[:cut].strip(), message[cut:].strip())
    for k, line in enumerate(lines):
        c.text(line, 60, 85 + 22 * k, 380, 30, align=1, colour="#FFFFFF")
    for i, caption in enumerate((t[23], t[25])):
        x = 70 + 200 * i
        c.nine("img_button.png", 80, 36, x, 170, 160, 36, 8, 8, 8, 8, sx=i, frames=4)
        c.text(caption, x, 170, 160, 36, align=1, colour="#FFFFFF")
    c.render(out, rsvg)


def render_all(skin, folder, rsvg, languages=(1033,)):
    os.makedirs(folder, exist_ok=True)
    for lcid in languages:
        t = load_texts(lcid)
        system_page(skin, os.path.join(folder, f"system-{lcid}.png"), rsvg, t)
        system_page(skin, os.path.join(folder, f"settings-{lcid}.png"), rsvg, t, popup=True)
        light_page(skin, os.path.join(folder, f"light-{lcid}.png"), rsvg, t)
        message_box(skin, os.path.join(folder, f"message-{lcid}.png"), rsvg, t)
