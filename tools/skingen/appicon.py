"""The program icon: app/res/tavrino.ico (BMP entries up to 64 px, PNG at 256 px) and the logos
drawn from the same picture."""
import io
import os
import struct

import cairo
from PIL import Image

import common
from common import RES, SKIN, hexrgb, new, rrect, save, circle


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
