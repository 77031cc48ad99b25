"""The nine palettes and what is drawn from each: the main background (bgN), the title band
(bgbN), the weather pop-up (DlgWeatheBkN) and the chooser tile (skin_tN) with its hover frame."""
import os

import cairo

from common import SKIN, hexrgb, new, rrect, save, circle, lerp_rgb

# name, header top, header bottom, deep accent (used for pressed states and lines)
PALETTES = [
    ("海蓝", "#4A8CFF", "#2A60DA"),
    ("青碧", "#22B3A6", "#12807C"),
    ("翠绿", "#49B46A", "#2C8748"),
    ("橙光", "#F79A3E", "#E06A1B"),
    ("朱红", "#EE5A5F", "#C23238"),
    ("紫罗兰", "#8C6CEB", "#5E40C4"),
    ("樱粉", "#EC6A9C", "#C63F75"),
    ("石墨", "#6A7482", "#3B434E"),
    ("夜空", "#34467A", "#141B36"),
]

MAIN_W, MAIN_H = 358, 460
TITLE_W, TITLE_H = 240, 36
WEA_W, WEA_H = 196, 205
TILE_W, TILE_H = 56, 36


def stars(c, w, h, count, seed):
    """Small soft dots for the night skin; positions come from a fixed integer sequence."""
    x = seed
    for i in range(count):
        x = (x * 1103515245 + 12345) & 0x7FFFFFFF
        px = (x % 1000) / 1000.0 * w
        x = (x * 1103515245 + 12345) & 0x7FFFFFFF
        py = (x % 1000) / 1000.0 * h
        x = (x * 1103515245 + 12345) & 0x7FFFFFFF
        r = 0.5 + (x % 100) / 100.0 * 0.8
        a = 0.25 + (x % 37) / 37.0 * 0.45
        c.set_source_rgba(1, 1, 1, a)
        circle(c, px, py, r)
        c.fill()


def soft_rings(c, cx, cy, radii, alpha):
    for r in radii:
        c.set_source_rgba(1, 1, 1, alpha)
        circle(c, cx, cy, r)
        c.fill()


def main_background(idx, pal):
    _, top, bottom = pal
    s, c = new(MAIN_W, MAIN_H)
    g = cairo.LinearGradient(0, 0, MAIN_W * 0.35, MAIN_H)
    g.add_color_stop_rgb(0, *hexrgb(top))
    g.add_color_stop_rgb(0.55, *lerp_rgb(hexrgb(top), hexrgb(bottom), 0.7))
    g.add_color_stop_rgb(1, *hexrgb(bottom))
    c.set_source(g)
    c.paint()
    # Large, faint circles behind the clock and weather area.
    soft_rings(c, 318, 38, [120, 84], 0.05)
    soft_rings(c, 40, 200, [90], 0.035)
    if idx == 9:
        stars(c, MAIN_W, 180, 38, 7)
    # A hairline of light along the top edge.
    c.set_source_rgba(1, 1, 1, 0.18)
    c.rectangle(0, 0, MAIN_W, 1)
    c.fill()
    save(s, os.path.join(SKIN, "bg%d.png" % idx))


def title_band(idx, pal):
    _, top, bottom = pal
    s, c = new(TITLE_W, TITLE_H)
    g = cairo.LinearGradient(0, 0, TITLE_W, 0)
    g.add_color_stop_rgb(0, *hexrgb(top))
    g.add_color_stop_rgb(1, *lerp_rgb(hexrgb(top), hexrgb(bottom), 0.75))
    c.set_source(g)
    c.paint()
    c.set_source_rgba(1, 1, 1, 0.16)
    c.rectangle(0, 0, TITLE_W, 1)
    c.fill()
    c.set_source_rgba(0, 0, 0, 0.10)
    c.rectangle(0, TITLE_H - 1, TITLE_W, 1)
    c.fill()
    save(s, os.path.join(SKIN, "bgb%d.png" % idx))


def weather_background(idx, pal):
    _, top, bottom = pal
    s, c = new(WEA_W, WEA_H)
    g = cairo.LinearGradient(0, 0, WEA_W * 0.6, WEA_H)
    g.add_color_stop_rgb(0, *hexrgb(top))
    g.add_color_stop_rgb(1, *hexrgb(bottom))
    c.set_source(g)
    c.paint()
    soft_rings(c, 176, 20, [70, 44], 0.06)
    if idx == 9:
        stars(c, WEA_W, 110, 16, 11)
    save(s, os.path.join(SKIN, "DlgWeatheBk%d.png" % idx))


def skin_tile(idx, pal):
    """Thumbnail of one skin for the chooser: header colours above a white month card."""
    _, top, bottom = pal
    s, c = new(TILE_W, TILE_H)
    rrect(c, 0.5, 0.5, TILE_W - 1, TILE_H - 1, 4)
    g = cairo.LinearGradient(0, 0, TILE_W * 0.4, TILE_H)
    g.add_color_stop_rgb(0, *hexrgb(top))
    g.add_color_stop_rgb(1, *hexrgb(bottom))
    c.set_source(g)
    c.fill_preserve()
    c.set_source_rgba(0, 0, 0, 0.12)
    c.set_line_width(1)
    c.stroke()
    c.set_source_rgba(1, 1, 1, 0.9)
    c.rectangle(6, 7, 14, 3)
    c.fill()
    c.set_source_rgba(1, 1, 1, 0.6)
    c.rectangle(6, 12, 22, 2)
    c.fill()
    rrect(c, 5, 17, TILE_W - 10, TILE_H - 21, 2)
    c.set_source_rgba(1, 1, 1, 0.95)
    c.fill()
    c.set_source_rgba(*hexrgb(bottom), 0.35)
    for row in range(2):
        for col in range(6):
            c.rectangle(9 + col * 7, 21 + row * 5, 4, 2)
            c.fill()
    save(s, os.path.join(SKIN, "skin_t%d.png" % idx))


def skin_hover_frame():
    s, c = new(TILE_W, TILE_H)
    rrect(c, 1, 1, TILE_W - 2, TILE_H - 2, 4)
    c.set_source_rgba(1, 1, 1, 1)
    c.set_line_width(2)
    c.stroke()
    rrect(c, 0.5, 0.5, TILE_W - 1, TILE_H - 1, 4.5)
    c.set_source_rgba(0, 0, 0, 0.35)
    c.set_line_width(1)
    c.stroke()
    # check badge in the lower right corner
    cx, cy = TILE_W - 9, TILE_H - 9
    circle(c, cx, cy, 6)
    c.set_source_rgb(*hexrgb("#2FB36B"))
    c.fill_preserve()
    c.set_source_rgb(1, 1, 1)
    c.set_line_width(1)
    c.stroke()
    c.set_line_width(1.5)
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    c.move_to(cx - 3, cy)
    c.line_to(cx - 0.8, cy + 2.2)
    c.line_to(cx + 3, cy - 2)
    c.stroke()
    save(s, os.path.join(SKIN, "bgskin_n.png"))
