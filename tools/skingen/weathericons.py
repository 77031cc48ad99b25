"""Weather condition pictures, drawn in a 100 x 100 unit space and written in two sizes.

Files: weather/<name>.png (56 x 56) and weather/<name>small.png (28 x 28); conditions that look
different by day and by night live in weather/day/ and weather/night/.
"""
import math
import os

import cairo

from common import hexrgb, new, circle, gradient_disc, rrect, save

NORMAL, SMALL = 56, 28

SUN_A, SUN_B = hexrgb("#FFD24D"), hexrgb("#FF9F1A")
MOON_A, MOON_B = hexrgb("#FFF2BF"), hexrgb("#F7CF5C")
DROP = hexrgb("#8CD8FF")
ICE = hexrgb("#D2F4FF")
BOLT_A, BOLT_B = hexrgb("#FFE15A"), hexrgb("#FFB300")
SAND = hexrgb("#E9A95A")
SAND_DARK = hexrgb("#B9722F")

WHITE_CLOUD = (hexrgb("#FFFFFF"), hexrgb("#DCE6F2"))
GREY_CLOUD = (hexrgb("#D3DAE4"), hexrgb("#A9B4C3"))
DARK_CLOUD = (hexrgb("#9AA6B8"), hexrgb("#6C788C"))
STORM_CLOUD = (hexrgb("#7D889B"), hexrgb("#4F596B"))


# ----------------------------------------------------------------------------- parts
def sun(c, cx, cy, r, rays=True):
    if rays:
        c.save()
        c.set_line_cap(cairo.LINE_CAP_ROUND)
        c.set_line_width(r * 0.30)
        c.set_source_rgb(*SUN_A)
        for i in range(8):
            a = i * math.pi / 4
            c.move_to(cx + math.cos(a) * r * 1.42, cy + math.sin(a) * r * 1.42)
            c.line_to(cx + math.cos(a) * r * 1.86, cy + math.sin(a) * r * 1.86)
        c.stroke()
        c.restore()
    gradient_disc(c, cx, cy, r, SUN_A, SUN_B)


def moon(c, cx, cy, r):
    c.push_group()
    gradient_disc(c, cx, cy, r, MOON_A, MOON_B)
    c.set_operator(cairo.OPERATOR_CLEAR)
    circle(c, cx + r * 0.52, cy - r * 0.40, r * 0.80)
    c.fill()
    c.pop_group_to_source()
    c.paint()


def star(c, cx, cy, r):
    c.move_to(cx, cy - r)
    c.curve_to(cx + r * 0.15, cy - r * 0.15, cx + r * 0.15, cy - r * 0.15, cx + r, cy)
    c.curve_to(cx + r * 0.15, cy + r * 0.15, cx + r * 0.15, cy + r * 0.15, cx, cy + r)
    c.curve_to(cx - r * 0.15, cy + r * 0.15, cx - r * 0.15, cy + r * 0.15, cx - r, cy)
    c.curve_to(cx - r * 0.15, cy - r * 0.15, cx - r * 0.15, cy - r * 0.15, cx, cy - r)
    c.close_path()
    c.set_source_rgb(*MOON_A)
    c.fill()


def cloud_path(c, x, bottom, w):
    hb = 0.32 * w
    rrect(c, x, bottom - hb, w, hb, hb / 2)
    circle(c, x + 0.30 * w, bottom - hb * 0.80, 0.20 * w)
    circle(c, x + 0.60 * w, bottom - hb * 0.95, 0.27 * w)


def cloud(c, x, bottom, w, colours=WHITE_CLOUD):
    top = bottom - 0.32 * w * 0.95 - 0.27 * w
    g = cairo.LinearGradient(0, top, 0, bottom)
    g.add_color_stop_rgb(0, *colours[0])
    g.add_color_stop_rgb(1, *colours[1])
    cloud_path(c, x, bottom, w)
    c.set_source(g)
    c.fill()


def drops(c, xs, y, length=11, width=5.2, colour=DROP):
    c.save()
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    c.set_line_width(width)
    c.set_source_rgb(*colour)
    for i, x in enumerate(xs):
        yy = y + (i % 2) * 6
        c.move_to(x, yy)
        c.line_to(x - length * 0.35, yy + length)
    c.stroke()
    c.restore()


def flake(c, cx, cy, r, width=3.0):
    c.save()
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    c.set_line_width(width)
    c.set_source_rgb(1, 1, 1)
    for i in range(3):
        a = math.pi / 2 + i * math.pi / 3
        c.move_to(cx + math.cos(a) * r, cy + math.sin(a) * r)
        c.line_to(cx - math.cos(a) * r, cy - math.sin(a) * r)
    c.stroke()
    c.restore()


def hail(c, cx, cy, r=4.2):
    circle(c, cx, cy, r)
    c.set_source_rgb(*ICE)
    c.fill_preserve()
    c.set_source_rgb(*hexrgb("#7FC6EA"))
    c.set_line_width(1.4)
    c.stroke()


def bolt(c, x, y, s=1.0):
    pts = [(8, 0), (-5, 19), (3, 19), (-4, 36), (15, 12), (6, 12), (12, 0)]
    c.move_to(x + pts[0][0] * s, y + pts[0][1] * s)
    for px, py in pts[1:]:
        c.line_to(x + px * s, y + py * s)
    c.close_path()
    g = cairo.LinearGradient(x, y, x, y + 36 * s)
    g.add_color_stop_rgb(0, *BOLT_A)
    g.add_color_stop_rgb(1, *BOLT_B)
    c.set_source(g)
    c.fill()


def bars(c, rows, colour, width=5.0, alpha=1.0, halo=None):
    c.save()
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    if halo:
        c.set_line_width(width + 3)
        c.set_source_rgba(*halo, 0.85)
        for x0, x1, y in rows:
            c.move_to(x0, y)
            c.line_to(x1, y)
        c.stroke()
    c.set_line_width(width)
    c.set_source_rgba(*colour, alpha)
    for x0, x1, y in rows:
        c.move_to(x0, y)
        c.line_to(x1, y)
    c.stroke()
    c.restore()


def swirl(c, x0, y, length, curl, colour, width):
    """A gust: a straight run ending in a curl."""
    c.save()
    c.set_line_cap(cairo.LINE_CAP_ROUND)
    c.set_line_join(cairo.LINE_JOIN_ROUND)
    x1 = x0 + length
    c.move_to(x0, y)
    c.line_to(x1, y)
    c.arc_negative(x1, y - curl, curl, math.pi / 2, -math.pi * 0.9)
    path = c.copy_path()
    c.set_line_width(width + 3.2)
    c.set_source_rgba(1, 1, 1, 0.85)
    c.stroke()
    c.append_path(path)
    c.set_line_width(width)
    c.set_source_rgb(*colour)
    c.stroke()
    c.restore()


def dots(c, pts, r, colour):
    c.set_source_rgba(1, 1, 1, 0.85)
    for x, y in pts:
        circle(c, x, y, r + 1.5)
        c.fill()
    c.set_source_rgb(*colour)
    for x, y in pts:
        circle(c, x, y, r)
        c.fill()


# ----------------------------------------------------------------------------- pictures
def p_sunny_day(c):
    sun(c, 50, 50, 20)


def p_sunny_night(c):
    moon(c, 46, 54, 27)
    star(c, 76, 24, 7)
    star(c, 84, 48, 4.5)


def p_cloudy(c, night):
    if night:
        moon(c, 38, 40, 20)
    else:
        sun(c, 38, 38, 14)
    cloud(c, 20, 82, 68)


def p_overcast(c):
    cloud(c, 34, 62, 56, GREY_CLOUD)
    cloud(c, 10, 82, 66)


def rain_base(c, colours=WHITE_CLOUD):
    cloud(c, 14, 64, 72, colours)


def p_shower(c, night):
    if night:
        moon(c, 66, 30, 16)
    else:
        sun(c, 66, 30, 12)
    cloud(c, 10, 66, 66)
    drops(c, [33, 52], 74)


def p_thundershower(c):
    rain_base(c, DARK_CLOUD)
    bolt(c, 44, 56, 1.0)
    drops(c, [30, 74], 72)


def p_thundershower_hail(c):
    rain_base(c, DARK_CLOUD)
    bolt(c, 44, 56, 1.0)
    hail(c, 28, 76)
    hail(c, 72, 76)
    hail(c, 36, 91)
    hail(c, 78, 90)


def p_sleet(c):
    rain_base(c)
    drops(c, [36], 72, length=13)
    flake(c, 62, 82, 8)


def p_rain(c, xs, colours=WHITE_CLOUD, length=11, rows=1, back=False):
    if back:
        cloud(c, 38, 48, 52, GREY_CLOUD)
    rain_base(c, colours)
    drops(c, xs, 71, length)
    if rows > 1:
        drops(c, [x - 7 for x in xs[:-1]], 89, length * 0.6)


def p_snow(c, pts, colours=WHITE_CLOUD, r=7):
    rain_base(c, colours)
    for x, y in pts:
        flake(c, x, y, r)


def p_snow_shower(c, night):
    if night:
        moon(c, 66, 30, 16)
    else:
        sun(c, 66, 30, 12)
    cloud(c, 10, 66, 66)
    flake(c, 32, 82, 7)
    flake(c, 56, 82, 7)


def p_fog(c):
    cloud(c, 20, 54, 60, GREY_CLOUD)
    bars(c, [(18, 82, 64), (26, 90, 76), (14, 70, 88)], hexrgb("#EEF2F7"), 5.5)


def p_frost(c):
    rain_base(c)
    drops(c, [34, 66], 71)
    # an ice crystal between the drops
    cx, cy, r = 50, 84, 8
    c.move_to(cx, cy - r)
    c.line_to(cx + r * 0.7, cy)
    c.line_to(cx, cy + r)
    c.line_to(cx - r * 0.7, cy)
    c.close_path()
    c.set_source_rgb(*ICE)
    c.fill_preserve()
    c.set_source_rgb(*hexrgb("#7FC6EA"))
    c.set_line_width(1.6)
    c.stroke()


def p_haze(c):
    g = cairo.LinearGradient(30, 22, 70, 62)
    g.add_color_stop_rgb(0, *hexrgb("#F6D28A"))
    g.add_color_stop_rgb(1, *hexrgb("#E0A452"))
    circle(c, 50, 42, 20)
    c.set_source(g)
    c.fill()
    bars(c, [(16, 70, 52), (30, 86, 64), (14, 62, 76), (40, 84, 88)], hexrgb("#F1E4C8"), 6,
         halo=hexrgb("#B98A4E"))


def p_fly_ash(c):
    circle(c, 54, 42, 21)
    c.set_source_rgb(*hexrgb("#F2CF8E"))
    c.fill()
    dots(c, [(22, 34), (40, 24), (78, 30), (30, 56), (56, 70), (76, 62),
             (18, 80), (40, 82), (64, 90), (86, 84)], 3.6, SAND_DARK)


def p_quicksand(c):
    swirl(c, 12, 48, 46, 11, SAND, 5.5)
    bars(c, [(22, 58, 72)], SAND, 5.5, halo=(1, 1, 1))
    dots(c, [(70, 70), (82, 80), (66, 86), (80, 92), (54, 90)], 3.2, SAND_DARK)


def p_sandstorm(c, heavy):
    col = SAND_DARK if heavy else SAND
    w = 6.5 if heavy else 5.5
    swirl(c, 10, 38, 46, 11, col, w)
    swirl(c, 24, 62, 48, 9, col, w)
    bars(c, [(12, 50, 84)], col, w, halo=(1, 1, 1))
    if heavy:
        dots(c, [(64, 82), (78, 86), (90, 76), (72, 94), (88, 94)], 3.6, hexrgb("#B8732E"))
    else:
        dots(c, [(66, 84), (80, 90), (88, 78)], 3.2, SAND_DARK)


PICTURES = {
    "day/sunny": p_sunny_day,
    "night/sunny": p_sunny_night,
    "day/cloudy": lambda c: p_cloudy(c, False),
    "night/cloudy": lambda c: p_cloudy(c, True),
    "day/shower": lambda c: p_shower(c, False),
    "night/shower": lambda c: p_shower(c, True),
    "day/snowShower": lambda c: p_snow_shower(c, False),
    "night/snowShower": lambda c: p_snow_shower(c, True),
    "overcast": p_overcast,
    "thundershower": p_thundershower,
    "thundershowerHail": p_thundershower_hail,
    "sleet": p_sleet,
    "lightRain": lambda c: p_rain(c, [40, 62]),
    "moderateRain": lambda c: p_rain(c, [30, 50, 70]),
    "heavyRain": lambda c: p_rain(c, [28, 43, 58, 73], length=14),
    "rainstorm": lambda c: p_rain(c, [28, 43, 58, 73], DARK_CLOUD, 12, rows=2),
    "downpour": lambda c: p_rain(c, [26, 40, 54, 68, 82], DARK_CLOUD, 13, rows=2),
    "heavyRainfall": lambda c: p_rain(c, [26, 40, 54, 68, 82], STORM_CLOUD, 13, rows=2, back=True),
    "lightSnow": lambda c: p_snow(c, [(40, 82), (64, 82)]),
    "moderateSnow": lambda c: p_snow(c, [(30, 80), (52, 86), (74, 80)]),
    "heavySnow": lambda c: p_snow(c, [(28, 76), (50, 78), (72, 76), (39, 92), (61, 92)], r=6.5),
    "heavySnowfall": lambda c: p_snow(c, [(24, 76), (44, 78), (64, 76), (84, 78),
                                          (34, 93), (54, 93), (74, 93)], GREY_CLOUD, r=6),
    "fog": p_fog,
    "frost": p_frost,
    "sandstorm": lambda c: p_sandstorm(c, False),
    "flyAsh": p_fly_ash,
    "quicksand": p_quicksand,
    "heavySandstorm": lambda c: p_sandstorm(c, True),
    "haze": p_haze,
}


def render(draw, size):
    s, c = new(size, size)
    k = size / 100.0
    c.scale(k, k)
    c.push_group()
    draw(c)
    pic = c.pop_group()
    # soft drop shadow so light pictures stay visible on every skin colour
    c.save()
    c.translate(0, 2.6)
    c.set_source_rgba(0, 0, 0, 0.20)
    c.mask(pic)
    c.restore()
    c.set_source(pic)
    c.paint()
    return s


def generate(folder):
    for name, draw in PICTURES.items():
        for size, suffix in ((NORMAL, ""), (SMALL, "small")):
            path = os.path.join(folder, *name.split("/")) + suffix + ".png"
            save(render(draw, size), path)
