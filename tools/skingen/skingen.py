#!/usr/bin/python3
"""Draws every image of the skin folder (skin15/) and the program icon (app/res/tavrino.ico).

Run from anywhere: /usr/bin/python3 tools/skingen/skingen.py
Needs Debian's python3-cairo and python3-pil. The output is the same byte for byte on every run:
no timestamps, no randomness, PNGs written by PIL without metadata.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import common  # noqa: E402
import weathericons  # noqa: E402
from appicon import logos, write_ico  # noqa: E402
from backgrounds import (PALETTES, main_background, skin_hover_frame, skin_tile, title_band,  # noqa: E402
                         weather_background)
from common import SKIN, rgba  # noqa: E402
from controls import checkbox, menu_images, nine_grid_button, panel, radio, refresh_frames  # noqa: E402
from glyphs import (draw_chat, draw_close, draw_degree, draw_gear, draw_left, draw_note, draw_pin,  # noqa: E402
                    draw_right, draw_skin, icon, round_state)
from month import CARD_LONG, CARD_SHORT, badge, cells, glyph_rest, glyph_work, month_card  # noqa: E402


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
