#!/usr/bin/python3
"""Draws every image of the skin folder (skin15/) and the program icon (app/res/tavrino.ico).

Run from anywhere: /usr/bin/python3 tools/skingen/skingen.py
Needs Debian's python3-cairo and python3-pil. The output is the same byte for byte on every run:
no timestamps, no randomness, PNGs written by PIL without metadata.
"""
import io
import math
import os
import struct
import sys

import cairo
from PIL import Image

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
SKIN = os.path.join(ROOT, "skin15")
RES = os.path.join(ROOT, "app", "res")

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import weathericons  # noqa: E402
import common  # noqa: E402
from common import (hexrgb, new, rrect, save, circle, lerp_rgb)  # noqa: E402

# ----------------------------------------------------------------------------- palettes
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
CARD_W, CARD_SHORT, CARD_LONG = 346, 272, 318
CELL_W, CELL_H = 47, 46
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


# ----------------------------------------------------------------------------- month card and cells
def month_card(name, h):
    s, c = new(CARD_W, h)
    rrect(c, 0.5, 0.5, CARD_W - 1, h - 1, 8)
    c.set_source_rgba(1, 1, 1, 0.97)
    c.fill_preserve()
    c.set_source_rgba(0, 0, 0, 0.08)
    c.set_line_width(1)
    c.stroke()
    # hairline under the weekday row
    c.set_source_rgb(*hexrgb("#ECEFF3"))
    c.rectangle(9, 32, CARD_W - 18, 1)
    c.fill()
    save(s, os.path.join(SKIN, name))


def cell(name, w, fill, border=None, bw=1.0, tile_w=45, tile_h=44):
    """A day tile drawn at the top-left of a cell; the remaining column and row stay clear."""
    s, c = new(w, CELL_H)
    inset = bw / 2 if border else 0
    rrect(c, 0.5 + inset, 0.5 + inset, tile_w - 2 * inset, tile_h - 2 * inset, 5)
    if fill:
        c.set_source_rgba(*fill)
        c.fill_preserve()
    if border:
        c.set_source_rgba(*border)
        c.set_line_width(bw)
        c.stroke()
    c.new_path()
    save(s, os.path.join(SKIN, name))


def rgba(h, a=1.0):
    return (*hexrgb(h), a)


def cells():
    cell("day_n.png", CELL_W, rgba("#F4F6F9"))
    cell("day_n46.png", CELL_H, rgba("#F4F6F9"))
    cell("day_hot.png", CELL_W, rgba("#EAF1FF"), rgba("#B9D0FB"))
    cell("day_s.png", CELL_W, rgba("#FFF3DC"), rgba("#FFAA33"), 1.5)
    cell("select.png", CELL_W, rgba("#E2ECFF"), rgba("#3A7BFD"), 1.5)


def badge(name, colour, glyph):
    size = 14
    s, c = new(size, size)
    rrect(c, 0, 0, size, size, 3.5)
    c.set_source_rgb(*hexrgb(colour))
    c.fill()
    c.set_source_rgb(1, 1, 1)
    c.set_line_width(1.15)
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    glyph(c)
    save(s, os.path.join(SKIN, name))


def glyph_rest(c):
    """休: person radical and tree."""
    # 亻
    c.move_to(5.0, 2.6)
    c.line_to(2.6, 6.8)
    c.stroke()
    c.move_to(4.0, 5.0)
    c.line_to(4.0, 11.6)
    c.stroke()
    # 木
    c.move_to(6.0, 5.3)
    c.line_to(11.8, 5.3)
    c.stroke()
    c.move_to(8.9, 2.6)
    c.line_to(8.9, 11.6)
    c.stroke()
    c.move_to(8.7, 5.6)
    c.line_to(6.0, 9.8)
    c.stroke()
    c.move_to(9.1, 5.6)
    c.line_to(11.9, 9.6)
    c.stroke()


def glyph_work(c):
    """班: jade, knife stroke, jade."""
    for x0 in (1.9, 8.4):
        c.move_to(x0, 3.2)
        c.line_to(x0 + 3.5, 3.2)
        c.move_to(x0 + 0.2, 6.7)
        c.line_to(x0 + 3.3, 6.7)
        c.move_to(x0 + 1.75, 3.2)
        c.line_to(x0 + 1.75, 10.6)
        c.move_to(x0, 10.6)
        c.line_to(x0 + 3.6, 9.8)
        c.stroke()
    c.set_line_width(0.95)
    c.move_to(7.0, 3.4)
    c.line_to(7.0, 8.6)
    c.line_to(6.2, 11.7)
    c.stroke()


# ----------------------------------------------------------------------------- buttons and glyphs
def round_state(name, size, alpha):
    s, c = new(size, size)
    circle(c, size / 2, size / 2, size / 2 - 0.5)
    c.set_source_rgba(1, 1, 1, alpha)
    c.fill()
    save(s, os.path.join(SKIN, name))


def stroke_style(c, w=1.6):
    c.set_line_width(w)
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    c.set_line_join(cairo.LINE_JOIN_ROUND)


def icon(name, size, draw, colour=(1, 1, 1, 1)):
    s, c = new(size, size)
    c.set_source_rgba(*colour)
    stroke_style(c)
    draw(c, size)
    save(s, os.path.join(SKIN, name))


def draw_close(c, n):
    m = n / 2
    d = n * 0.18
    c.move_to(m - d, m - d)
    c.line_to(m + d, m + d)
    c.move_to(m + d, m - d)
    c.line_to(m - d, m + d)
    c.stroke()


def draw_gear(c, n):
    m = n / 2
    teeth = 8
    ro, ri = 7.2, 5.4
    for i in range(teeth * 2):
        a0 = (i - 0.5) * math.pi / teeth
        a1 = (i + 0.5) * math.pi / teeth
        r = ro if i % 2 == 0 else ri
        if i == 0:
            c.move_to(m + r * math.cos(a0), m + r * math.sin(a0))
        else:
            c.line_to(m + r * math.cos(a0), m + r * math.sin(a0))
        c.line_to(m + r * math.cos(a1), m + r * math.sin(a1))
    c.close_path()
    c.new_sub_path()
    c.arc_negative(m, m, 2.4, 0, -2 * math.pi)
    c.set_fill_rule(cairo.FILL_RULE_EVEN_ODD)
    c.set_line_width(1.1)
    c.stroke()


def draw_skin(c, n):
    """A shirt outline: the usual sign for changing the look."""
    m = n / 2
    c.move_to(m - 3, 5.5)
    c.line_to(m - 7.5, 8)
    c.line_to(m - 6, 11.5)
    c.line_to(m - 4.2, 10.8)
    c.line_to(m - 4.2, 18.5)
    c.line_to(m + 4.2, 18.5)
    c.line_to(m + 4.2, 10.8)
    c.line_to(m + 6, 11.5)
    c.line_to(m + 7.5, 8)
    c.line_to(m + 3, 5.5)
    c.curve_to(m + 2, 7.6, m - 2, 7.6, m - 3, 5.5)
    c.close_path()
    c.set_line_width(1.4)
    c.stroke()


def draw_note(c, n):
    """Notepad with a pencil."""
    c.set_line_width(1.4)
    rrect(c, 5.5, 5.5, 10, 13, 1.5)
    c.stroke()
    c.set_line_width(1.2)
    for y in (9.5, 12.5):
        c.move_to(8, y)
        c.line_to(13, y)
    c.stroke()
    c.set_line_width(1.8)
    c.move_to(18.8, 8.2)
    c.line_to(12.6, 16.6)
    c.stroke()
    c.set_line_width(1.2)
    c.move_to(12.1, 17.6)
    c.line_to(12.0, 17.9)
    c.stroke()


def draw_chat(c, n):
    c.set_line_width(1.4)
    rrect(c, 4.5, 6, 15, 10.5, 3)
    c.stroke()
    c.move_to(8.5, 16.5)
    c.line_to(7.5, 19.5)
    c.line_to(11.5, 16.5)
    c.stroke()
    for x in (8.5, 12, 15.5):
        circle(c, x, 11.25, 1.0)
        c.fill()


def draw_left(c, n):
    m = n / 2
    c.set_line_width(1.8)
    c.move_to(m + 2, m - 5)
    c.line_to(m - 3, m)
    c.line_to(m + 2, m + 5)
    c.stroke()


def draw_right(c, n):
    m = n / 2
    c.set_line_width(1.8)
    c.move_to(m - 2, m - 5)
    c.line_to(m + 3, m)
    c.line_to(m - 2, m + 5)
    c.stroke()


def draw_pin(c, n):
    m = n / 2
    c.arc(m, 6.2, 4.6, math.pi * 0.82, math.pi * 2.18)
    c.line_to(m, 14.6)
    c.close_path()
    c.arc_negative(m, 6.2, 1.7, 2 * math.pi, 0)
    c.set_fill_rule(cairo.FILL_RULE_EVEN_ODD)
    c.fill()


def draw_clock(c, n):
    m = n / 2
    c.set_line_width(1.3)
    circle(c, m, m, 6)
    c.stroke()
    c.move_to(m, m - 3.4)
    c.line_to(m, m)
    c.line_to(m + 2.6, m + 1.6)
    c.stroke()


def draw_info(c, n):
    m = n / 2
    c.set_line_width(1.3)
    circle(c, m, m, 6)
    c.stroke()
    c.move_to(m, m - 0.6)
    c.line_to(m, m + 3.2)
    c.stroke()
    circle(c, m, m - 3, 0.9)
    c.fill()


def draw_power(c, n):
    m = n / 2
    c.set_line_width(1.4)
    c.arc(m, m + 0.6, 5.6, -math.pi * 0.32, math.pi * 1.32)
    c.stroke()
    c.move_to(m, m - 6.2)
    c.line_to(m, m - 0.4)
    c.stroke()


def draw_check(c, n):
    c.set_line_width(1.7)
    c.move_to(n * 0.22, n * 0.52)
    c.line_to(n * 0.42, n * 0.72)
    c.line_to(n * 0.80, n * 0.30)
    c.stroke()


def draw_degree(c, n):
    """The Celsius sign, drawn so that it does not depend on the font having the glyph."""
    c.set_line_width(1.3)
    circle(c, 4.2, 5.2, 2.2)
    c.stroke()
    c.set_line_width(1.9)
    c.arc(13.6, 11, 6.2, math.radians(40), math.radians(320))
    c.stroke()


def refresh_frames():
    n = 16
    for f in range(24):
        s, c = new(n, n)
        c.translate(n / 2, n / 2)
        c.rotate(f * math.pi / 12)
        c.set_source_rgba(1, 1, 1, 1)
        stroke_style(c, 1.7)
        r = 5.4
        c.arc(0, 0, r, math.radians(-60), math.radians(215))
        c.stroke()
        # arrow head at the open end (angle -60 degrees), pointing along the turn
        a = math.radians(-60)
        ex, ey = r * math.cos(a), r * math.sin(a)
        tx, ty = -math.sin(a), math.cos(a)   # tangent in the direction of the arc
        nx, ny = math.cos(a), math.sin(a)
        c.move_to(ex - tx * 0.5 + nx * 3.1, ey - ty * 0.5 + ny * 3.1)
        c.line_to(ex - tx * 3.6, ey - ty * 3.6)
        c.line_to(ex - tx * 0.5 - nx * 3.1, ey - ty * 0.5 - ny * 3.1)
        c.close_path()
        c.fill()
        save(s, os.path.join(SKIN, "r%d.png" % f))


def nine_grid_button(name, w, h, r, fill, border=None, grad=None, arrow=None):
    s, c = new(w, h)
    rrect(c, 0.5, 0.5, w - 1, h - 1, r)
    if grad:
        g = cairo.LinearGradient(0, 0, 0, h)
        g.add_color_stop_rgba(0, *grad[0])
        g.add_color_stop_rgba(1, *grad[1])
        c.set_source(g)
    else:
        c.set_source_rgba(*fill)
    c.fill_preserve()
    if border:
        c.set_source_rgba(*border)
        c.set_line_width(1)
        c.stroke()
    c.new_path()
    if arrow:
        colour = arrow
        stroke_style(c, 1.4)
        c.set_source_rgba(*colour)
        ax, ay = w - 11, h / 2
        c.move_to(ax - 3.5, ay - 1.6)
        c.line_to(ax, ay + 1.9)
        c.line_to(ax + 3.5, ay - 1.6)
        c.stroke()
    save(s, os.path.join(SKIN, name))


def checkbox(name, on, hot):
    n = 16
    s, c = new(n, n)
    rrect(c, 0.5, 0.5, n - 1, n - 1, 3)
    if on:
        c.set_source_rgb(*hexrgb("#2F7BF5" if not hot else "#4C8DFF"))
        c.fill()
        c.set_source_rgb(1, 1, 1)
        stroke_style(c, 1.7)
        draw_check(c, n)
    else:
        c.set_source_rgb(1, 1, 1)
        c.fill_preserve()
        c.set_source_rgb(*hexrgb("#4C8DFF" if hot else "#B5BDC8"))
        c.set_line_width(1)
        c.stroke()
    save(s, os.path.join(SKIN, name))


def radio(name, on, hot):
    n = 16
    s, c = new(n, n)
    circle(c, n / 2, n / 2, n / 2 - 0.5)
    c.set_source_rgb(1, 1, 1)
    c.fill_preserve()
    c.set_source_rgb(*hexrgb("#2F7BF5" if on else ("#4C8DFF" if hot else "#B5BDC8")))
    c.set_line_width(1.2 if on else 1)
    c.stroke()
    if on:
        circle(c, n / 2, n / 2, 4)
        c.set_source_rgb(*hexrgb("#4C8DFF" if hot else "#2F7BF5"))
        c.fill()
    save(s, os.path.join(SKIN, name))


def panel():
    """White pop-up face with a hairline border; used nine-grid with 6-pixel corners."""
    n = 24
    s, c = new(n, n)
    c.set_source_rgb(1, 1, 1)
    c.paint()
    c.set_source_rgb(*hexrgb("#D5DBE3"))
    c.set_line_width(1)
    c.rectangle(0.5, 0.5, n - 1, n - 1)
    c.stroke()
    save(s, os.path.join(SKIN, "panel_bg.png"))


def menu_images():
    w, h = 136, 30
    s, c = new(w, h)
    rrect(c, 0, 0, w, h, 4)
    c.set_source_rgb(*hexrgb("#EEF3FC"))
    c.fill()
    save(s, os.path.join(SKIN, "menu_hot.png"))
    s, c = new(w, h)
    rrect(c, 0, 0, w, h, 4)
    c.set_source_rgb(*hexrgb("#EEF3FC"))
    c.fill()
    c.translate(10, 7)
    c.set_source_rgb(*hexrgb("#2F7BF5"))
    stroke_style(c, 1.7)
    draw_check(c, 16)
    save(s, os.path.join(SKIN, "menu_check_hot.png"))
    icon("menu_check.png", 16, draw_check, rgba("#2F7BF5"))
    icon("menu_time.png", 16, lambda c, n: draw_clock(c, n), rgba("#5B6573"))
    icon("menu_info.png", 16, lambda c, n: draw_info(c, n), rgba("#5B6573"))
    icon("menu_quit.png", 16, lambda c, n: draw_power(c, n), rgba("#D9534F"))


# ----------------------------------------------------------------------------- program icon
def draw_app_icon(c, n):
    """Blue rounded tile, a white calendar page with a red header and a golden crescent."""
    c.save()
    c.scale(n / 64.0, n / 64.0)
    rrect(c, 2, 2, 60, 60, 13)
    g = cairo.LinearGradient(0, 2, 0, 62)
    g.add_color_stop_rgb(0, *hexrgb("#5B9BFF"))
    g.add_color_stop_rgb(1, *hexrgb("#2A5FD8"))
    c.set_source(g)
    c.fill()
    # page
    rrect(c, 12, 15, 40, 38, 5)
    c.set_source_rgb(1, 1, 1)
    c.fill()
    c.save()
    rrect(c, 12, 15, 40, 38, 5)
    c.clip()
    c.rectangle(12, 15, 40, 10)
    c.set_source_rgb(*hexrgb("#F25C45"))
    c.fill()
    c.restore()
    # rings
    for x in (22, 42):
        rrect(c, x - 2.2, 10, 4.4, 10, 2.2)
        c.set_source_rgb(*hexrgb("#1E3F8F"))
        c.fill()
    # crescent
    c.push_group()
    circle(c, 32, 39.5, 10)
    c.set_source_rgb(*hexrgb("#F5B400"))
    c.fill()
    c.set_operator(cairo.OPERATOR_CLEAR)
    circle(c, 37.5, 35.5, 8.6)
    c.fill()
    c.pop_group_to_source()
    c.paint()
    c.restore()


def app_icon_png(n):
    s, c = new(n, n)
    draw_app_icon(c, n)
    buf = io.BytesIO()
    s.write_to_png(buf)
    buf.seek(0)
    im = Image.open(buf)
    im.load()
    return im.convert("RGBA")


def ico_bmp_entry(im):
    """32-bit DIB with an AND mask, the form every Windows version reads."""
    w, h = im.size
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    px = im.load()
    rows = []
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            r, g, b, a = px[x, y]
            row += bytes((b, g, r, a))
        rows.append(bytes(row))
    mask_stride = ((w + 31) // 32) * 4
    mask = []
    for y in range(h - 1, -1, -1):
        bits = bytearray(mask_stride)
        for x in range(w):
            if px[x, y][3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask.append(bytes(bits))
    return header + b"".join(rows) + b"".join(mask)


def write_ico():
    """The program icon (every size drawn at its own pixel size: only in the 1x pass)."""
    if common.scale() != 1:
        return
    sizes = [16, 20, 24, 32, 40, 48, 64, 256]
    blobs = []
    for n in sizes:
        im = app_icon_png(n)
        if n >= 256:
            buf = io.BytesIO()
            im.save(buf, format="PNG", optimize=True)
            blobs.append(buf.getvalue())
        else:
            blobs.append(ico_bmp_entry(im))
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, blob in zip(sizes, blobs):
        d = 0 if n >= 256 else n
        out += struct.pack("<BBBBHHII", d, d, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    out += b"".join(blobs)
    os.makedirs(RES, exist_ok=True)
    with open(os.path.join(RES, "tavrino.ico"), "wb") as f:
        f.write(out)


def logos():
    for n, name in ((16, "logo16.png"), (48, "about_logo.png")):
        s, c = new(n, n)
        draw_app_icon(c, n)
        save(s, os.path.join(SKIN, name))


# ----------------------------------------------------------------------------- all
def main():
    for scale in common.SCALES:
        common.set_scale(scale)
        draw_all()


def draw_all():
    os.makedirs(SKIN, exist_ok=True)
    for i, pal in enumerate(PALETTES, start=1):
        main_background(i, pal)
        title_band(i, pal)
        weather_background(i, pal)
        skin_tile(i, pal)
    skin_hover_frame()
    month_card("bgshort.png", CARD_SHORT)
    month_card("bglong.png", CARD_LONG)
    cells()
    badge("release.png", "#F0533C", glyph_rest)
    badge("work.png", "#6B7A90", glyph_work)

    white = (1, 1, 1, 1)
    round_state("btn_round_h.png", 24, 0.18)
    round_state("btn_round_p.png", 24, 0.30)
    icon("ico_close.png", 24, draw_close, white)
    icon("ico_set.png", 24, draw_gear, white)
    icon("ico_skin.png", 24, draw_skin, white)
    icon("ico_note.png", 24, draw_note, white)
    icon("ico_feedback.png", 24, draw_chat, white)
    icon("ico_left.png", 24, draw_left, white)
    icon("ico_right.png", 24, draw_right, white)
    icon("ico_pin.png", 16, draw_pin, white)
    icon("deg.png", 20, draw_degree, (1, 1, 1, 0.92))
    refresh_frames()

    # faces on the coloured header (translucent white) and on white pop-ups
    nine_grid_button("combo_n.png", 40, 24, 5, (1, 1, 1, 0.16), (1, 1, 1, 0.28), arrow=(1, 1, 1, 0.95))
    nine_grid_button("combo_h.png", 40, 24, 5, (1, 1, 1, 0.26), (1, 1, 1, 0.45), arrow=(1, 1, 1, 1))
    nine_grid_button("combo_p.png", 40, 24, 5, (1, 1, 1, 0.34), (1, 1, 1, 0.55), arrow=(1, 1, 1, 1))
    nine_grid_button("pill_n.png", 24, 24, 11.5, (1, 1, 1, 0.16), (1, 1, 1, 0.30))
    nine_grid_button("pill_h.png", 24, 24, 11.5, (1, 1, 1, 0.28), (1, 1, 1, 0.50))
    nine_grid_button("pill_p.png", 24, 24, 11.5, (1, 1, 1, 0.38), (1, 1, 1, 0.60))
    nine_grid_button("cbw_n.png", 48, 28, 4, rgba("#FFFFFF"), rgba("#C9D1DB"), arrow=rgba("#6B7685"))
    nine_grid_button("cbw_h.png", 48, 28, 4, rgba("#FFFFFF"), rgba("#4C8DFF"), arrow=rgba("#2F7BF5"))
    nine_grid_button("cbw_p.png", 48, 28, 4, rgba("#F3F7FF"), rgba("#2F7BF5"), arrow=rgba("#2F7BF5"))
    # Push buttons are drawn at the size of the one control that uses each, so they never stretch.
    for base, w, h in (("btn_sure", 80, 30), ("btn_ok", 90, 25)):
        nine_grid_button(base + "_n.png", w, h, 5, None, None, grad=(rgba("#4C8DFF"), rgba("#2F72F0")))
        nine_grid_button(base + "_h.png", w, h, 5, None, None, grad=(rgba("#67A0FF"), rgba("#3F80F7")))
        nine_grid_button(base + "_p.png", w, h, 5, None, None, grad=(rgba("#2F6AE0"), rgba("#2A60CC")))
    nine_grid_button("btn_pos_n.png", 92, 30, 5, rgba("#FFFFFF"), rgba("#C9D1DB"))
    nine_grid_button("btn_pos_h.png", 92, 30, 5, rgba("#F3F7FF"), rgba("#4C8DFF"))
    nine_grid_button("btn_pos_p.png", 92, 30, 5, rgba("#E6EEFD"), rgba("#2F7BF5"))
    nine_grid_button("btn_pos_d.png", 92, 30, 5, rgba("#F4F5F7"), rgba("#DDE1E6"))
    checkbox("chk_n.png", False, False)
    checkbox("chk_h.png", False, True)
    checkbox("chk_s.png", True, False)
    checkbox("chk_sh.png", True, True)
    radio("radio_n.png", False, False)
    radio("radio_h.png", False, True)
    radio("radio_s.png", True, False)
    radio("radio_sh.png", True, True)
    panel()
    menu_images()
    write_ico()
    logos()
    weathericons.generate(os.path.join(SKIN, "weather"))


if __name__ == "__main__":
    main()
