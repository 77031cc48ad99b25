"""Line glyphs on the coloured header (close, settings, skin, note, ...) and the round hover and
pressed faces behind them; the menu and check boxes reuse some of them."""
import math
import os

import cairo

from common import SKIN, new, rrect, save, circle


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


def ring(c, n):
    """The round outline of the clock and info glyphs; its centre."""
    m = n / 2
    c.set_line_width(1.3)
    circle(c, m, m, 6)
    c.stroke()
    return m


def draw_clock(c, n):
    m = ring(c, n)
    c.move_to(m, m - 3.4)
    c.line_to(m, m)
    c.line_to(m + 2.6, m + 1.6)
    c.stroke()


def draw_info(c, n):
    m = ring(c, n)
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
