"""Small drawing helpers shared by the skin image scripts."""
import io
import math
import os

import cairo
from PIL import Image


def hexrgb(h):
    h = h.lstrip("#")
    return tuple(int(h[i:i + 2], 16) / 255.0 for i in (0, 2, 4))


def lerp_rgb(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def new(w, h):
    s = cairo.ImageSurface(cairo.FORMAT_ARGB32, int(w), int(h))
    c = cairo.Context(s)
    c.set_antialias(cairo.ANTIALIAS_BEST)
    return s, c


def rrect(c, x, y, w, h, r):
    r = min(r, w / 2, h / 2)
    c.new_sub_path()
    c.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    c.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    c.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    c.arc(x + r, y + r, r, math.pi, 1.5 * math.pi)
    c.close_path()


def circle(c, x, y, r):
    c.new_sub_path()
    c.arc(x, y, r, 0, 2 * math.pi)
    c.close_path()


def save(surface, path):
    """Writes the surface as an optimised RGBA PNG without metadata (same bytes on every run)."""
    buf = io.BytesIO()
    surface.write_to_png(buf)
    buf.seek(0)
    im = Image.open(buf)
    im.load()
    im = im.convert("RGBA")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    im.save(path, format="PNG", optimize=True)
