#!/usr/bin/python3
"""Draws the pickers' eight 16x16 pictures (drive kinds and folders) in the style of the notifier's glyphs, as
24-bit BMP files whose bottom-left pixel holds the transparent colour (magenta), and the resource script that names
them BS_FLOPPY ... BS_CURRENTFOLDER. Programs that link the pickers compile that script.
Usage: make-picker-images.py <output folder> [<preview.png>]"""
import importlib.util
import os
import sys

from PIL import Image

_spec = importlib.util.spec_from_file_location("images", os.path.join(os.path.dirname(__file__), "make-images.py"))
images = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(images)
canvas, finish, s = images.canvas, images.finish, images.s
BLUE, BLUE_LIGHT, PAPER, PAPER_SHADE = images.BLUE, images.BLUE_LIGHT, images.PAPER, images.PAPER_SHADE
GOLD, GOLD_DARK, GREEN, RED, WHITE = images.GOLD, images.GOLD_DARK, images.GREEN, images.RED, images.WHITE

KEY = (255, 0, 255)  # the transparent colour
GREY = (120, 126, 136, 255)
GREY_DARK = (70, 74, 84, 255)
METAL = (200, 204, 212, 255)
FOLDER_LIGHT = (252, 214, 110, 255)


def drive_body(d, top=5.0, bottom=12.5):
    d.rounded_rectangle([s(0.5), s(top), s(15.5), s(bottom)], radius=s(1.2), fill=METAL, outline=GREY_DARK,
                        width=s(0.9))
    d.line([(s(1.5), s(bottom - 2.3)), (s(14.5), s(bottom - 2.3))], fill=GREY, width=s(0.8))


def picture(name):
    img, d = canvas(16)
    if name == "floppy":
        d.rounded_rectangle([s(1.5), s(1.5), s(14.5), s(14.5)], radius=s(1), fill=BLUE, outline=GREY_DARK,
                            width=s(0.8))
        d.rectangle([s(4.5), s(1.5), s(11.5), s(6)], fill=METAL)
        d.rectangle([s(8.8), s(2.3), s(10.4), s(5.2)], fill=GREY_DARK)
        d.rectangle([s(3.5), s(8.5), s(12.5), s(14.5)], fill=PAPER)
        d.line([(s(5), s(10.5)), (s(11), s(10.5))], fill=BLUE_LIGHT, width=s(0.8))
        d.line([(s(5), s(12.5)), (s(11), s(12.5))], fill=BLUE_LIGHT, width=s(0.8))
    elif name == "hard":
        drive_body(d)
        d.ellipse([s(11.5), s(10.6), s(13.5), s(12.6)], fill=GREEN)
    elif name == "network":
        drive_body(d, 2.0, 9.5)
        d.ellipse([s(11.5), s(7.6), s(13.5), s(9.6)], fill=GREEN)
        d.line([(s(8), s(9.5)), (s(8), s(13))], fill=GREY_DARK, width=s(1.3))
        d.line([(s(1.5), s(13.5)), (s(14.5), s(13.5))], fill=BLUE, width=s(1.6))
        d.rectangle([s(6.3), s(12.2), s(9.7), s(15)], fill=BLUE)
    elif name == "cdrom":
        d.ellipse([s(0.8), s(0.8), s(15.2), s(15.2)], fill=METAL, outline=GREY_DARK, width=s(0.8))
        d.pieslice([s(1.6), s(1.6), s(14.4), s(14.4)], 200, 250, fill=BLUE_LIGHT)
        d.pieslice([s(1.6), s(1.6), s(14.4), s(14.4)], 20, 70, fill=GOLD)
        d.ellipse([s(5.5), s(5.5), s(10.5), s(10.5)], fill=WHITE, outline=GREY, width=s(0.6))
        d.ellipse([s(7), s(7), s(9), s(9)], fill=(0, 0, 0, 0))
    elif name == "ram":
        d.rectangle([s(0.5), s(4), s(15.5), s(11)], fill=GREEN, outline=(20, 90, 40, 255), width=s(0.8))
        for x in (2, 6, 10):
            d.rectangle([s(x), s(5.5), s(x + 3), s(9)], fill=(40, 40, 48, 255))
        for x in range(1, 16, 2):
            d.rectangle([s(x), s(11), s(x + 1), s(13.5)], fill=GOLD)
    elif name == "closedfolder":
        d.polygon([(s(0.5), s(3)), (s(6), s(3)), (s(7.5), s(4.5)), (s(15.5), s(4.5)), (s(15.5), s(13.5)),
                   (s(0.5), s(13.5))], fill=GOLD, outline=GOLD_DARK)
        d.line([(s(1), s(6.3)), (s(15), s(6.3))], fill=FOLDER_LIGHT, width=s(1))
    elif name in ("openfolder", "currentfolder"):
        d.polygon([(s(0.5), s(3)), (s(6), s(3)), (s(7.5), s(4.5)), (s(14), s(4.5)), (s(14), s(13.5)),
                   (s(0.5), s(13.5))], fill=GOLD_DARK)
        if name == "currentfolder":
            d.rectangle([s(3), s(1.5), s(12), s(9)], fill=PAPER, outline=GREY, width=s(0.6))
            d.line([(s(4.5), s(3.5)), (s(10.5), s(3.5))], fill=BLUE_LIGHT, width=s(0.8))
            d.line([(s(4.5), s(5.5)), (s(10.5), s(5.5))], fill=BLUE_LIGHT, width=s(0.8))
        d.polygon([(s(0.5), s(13.5)), (s(3), s(7)), (s(15.8), s(7)), (s(13.5), s(13.5))], fill=FOLDER_LIGHT,
                  outline=GOLD_DARK)
    return finish(img, 16)


def on_key(img):
    """Opaque where the drawing covers at least half a pixel, the transparent colour elsewhere."""
    out = Image.new("RGB", img.size, KEY)
    px, po = img.load(), out.load()
    for y in range(img.height):
        for x in range(img.width):
            r, g, b, a = px[x, y]
            if a >= 128:
                po[x, y] = (r, g, b)
    po[0, img.height - 1] = KEY
    return out


NAMES = ["floppy", "hard", "network", "cdrom", "ram", "openfolder", "closedfolder", "currentfolder"]


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    rc = ["// Made by scripts/make-picker-images.py: the pickers' pictures."]
    pictures = []
    for name in NAMES:
        img = on_key(picture(name))
        img.save(os.path.join(out, "bs_%s.bmp" % name))
        rc.append('BS_%s BITMAP "%s"' % (name.upper(), os.path.join(out, "bs_%s.bmp" % name)))
        pictures.append(img)
    with open(os.path.join(out, "PickerImages.rc"), "w") as f:
        f.write("\n".join(rc) + "\n")
    if len(sys.argv) > 2:
        sheet = Image.new("RGB", (len(pictures) * 20 * 4, 20 * 4), (255, 255, 255))
        for i, img in enumerate(pictures):
            sheet.paste(img.resize((64, 64), Image.NEAREST), (i * 80 + 8, 8))
        sheet.save(sys.argv[2])


if __name__ == "__main__":
    main()
