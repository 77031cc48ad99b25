"""The month card, the day cells and the rest/work badges with their hand-drawn glyphs."""
import os

import cairo

from common import SKIN, hexrgb, new, rgba, rrect, save, strokes

CARD_W, CARD_SHORT, CARD_LONG = 346, 272, 318
CELL_W, CELL_H = 47, 46


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
    strokes(c,
            ((5.0, 2.6), (2.6, 6.8)), ((4.0, 5.0), (4.0, 11.6)),  # 亻
            ((6.0, 5.3), (11.8, 5.3)), ((8.9, 2.6), (8.9, 11.6)),  # 木
            ((8.7, 5.6), (6.0, 9.8)), ((9.1, 5.6), (11.9, 9.6)))


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
