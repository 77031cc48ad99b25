"""Control faces: the refresh animation frames, nine-grid buttons and combo boxes, check boxes, radio
buttons, the pop-up panel and the menu images."""
import math
import os

import cairo

from common import SKIN, hexrgb, new, rgba, rrect, save, circle
from glyphs import draw_check, draw_clock, draw_info, draw_power, icon, stroke_style


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
