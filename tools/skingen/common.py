"""Small drawing helpers and the output folders shared by the skin image scripts."""
import io
import math
import os

import cairo
from PIL import Image

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
SKIN = os.path.join(ROOT, "skin15")
RES = os.path.join(ROOT, "app", "res")


def hexrgb(h):
    h = h.lstrip("#")
    return tuple(int(h[i:i + 2], 16) / 255.0 for i in (0, 2, 4))


def rgba(h, a=1.0):
    return (*hexrgb(h), a)


def lerp_rgb(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


# Display scale of the images being drawn. The files the skins name are drawn at 1; the same
# drawings are drawn again at 1.5 and 2 into "name@1.5x.png" and "name@2x.png" beside them, for
# windows on scaled displays (a re-render, never an enlargement of the 1x pixels).
SCALES = (1, 1.5, 2)
_scale = 1


def set_scale(scale):
    global _scale
    _scale = scale


def scale():
    return _scale


def scaled(n):
    """A length at the current scale, rounded as the UI rounds edges (halves up)."""
    return int(math.floor(n * _scale + 0.5))


def new(w, h):
    """A transparent surface for a w x h drawing (in 1x units) at the current scale."""
    w, h = int(w), int(h)
    sw, sh = scaled(w), scaled(h)
    s = cairo.ImageSurface(cairo.FORMAT_ARGB32, sw, sh)
    c = cairo.Context(s)
    c.set_antialias(cairo.ANTIALIAS_BEST)
    # Per axis, so the drawing fills the rounded canvas exactly (edges stay crisp).
    c.scale(sw / w, sh / h)
    return s, c


def scaled_path(path):
    """The file name of the current scale's variant: "bg1.png" -> "bg1@1.5x.png"."""
    if _scale == 1:
        return path
    root, ext = os.path.splitext(path)
    return "%s@%gx%s" % (root, _scale, ext)


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


def strokes(c, *segments):
    """Each segment ((x0, y0), (x1, y1)) stroked on its own."""
    for (x0, y0), (x1, y1) in segments:
        c.move_to(x0, y0)
        c.line_to(x1, y1)
        c.stroke()


def gradient_disc(c, cx, cy, r, top_left, bottom_right):
    """A disc filled with a diagonal gradient between two colours."""
    g = cairo.LinearGradient(cx - r, cy - r, cx + r, cy + r)
    g.add_color_stop_rgb(0, *top_left)
    g.add_color_stop_rgb(1, *bottom_right)
    circle(c, cx, cy, r)
    c.set_source(g)
    c.fill()


def save(surface, path):
    """Writes the surface as an optimised RGBA PNG without metadata (same bytes on every run)."""
    buf = io.BytesIO()
    surface.write_to_png(buf)
    buf.seek(0)
    im = Image.open(buf)
    im.load()
    im = im.convert("RGBA")
    path = scaled_path(path)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    im.save(path, format="PNG", optimize=True)
