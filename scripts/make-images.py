#!/usr/bin/python3
"""Draws the notifier's pictures and the resource script that links them into TrelmMail.exe:
the application icon, the 13 tray images (64x64: idle envelope, unread counts 1 to 10, checking, alarm), the
16x16 glyphs of the main window's buttons and of the tray menu's entries, the three language flags and the two 64x64
message-box pictures.
Deterministic: shapes are drawn four times larger and scaled down; the digits use Liberation Sans Bold.
With --setup it draws the installer's pictures instead: its icon, the two 60x60 title pictures, the two message-box
pictures and the ten 24x24 pictures of the language buttons (flags at 0, 2 and 3), with SetupImages.rc.
With --dialogs it draws the open dialogs' tool pictures: the four 16x16 PNGs of Back, Up, New Folder and the view
menu (RCDATA BS_BACK_PNG, BS_UP_PNG, BS_NEWFOLDER_PNG, BS_LVSTYLE_PNG) and the 16x16 bitmaps of Play and Stop
(BITMAP BS_PLAY, BS_STOP; drawn on the key colour of their bottom-left pixel), with DialogImages.rc.
Usage: make-images.py <output folder> [<preview.png>]
       make-images.py --setup <output folder> [<preview.png>]
       make-images.py --dialogs <output folder> [<preview.png>]"""
import os
import struct
import sys

from PIL import Image, ImageDraw, ImageFont

FONT = "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf"
SS = 4  # supersampling factor

BLUE = (31, 94, 170, 255)
BLUE_LIGHT = (92, 156, 230, 255)
PAPER = (250, 250, 246, 255)
PAPER_SHADE = (222, 228, 238, 255)
RED = (214, 40, 40, 255)
RED_DARK = (150, 20, 20, 255)
GREEN = (46, 160, 67, 255)
GOLD = (240, 180, 30, 255)
GOLD_DARK = (170, 110, 10, 255)
WHITE = (255, 255, 255, 255)


def canvas(size):
    img = Image.new("RGBA", (size * SS, size * SS), (0, 0, 0, 0))
    return img, ImageDraw.Draw(img)


def finish(img, size):
    return img.resize((size, size), Image.LANCZOS)


def s(v):
    return int(round(v * SS))


def envelope(d, x, y, w, h, outline=BLUE, width=2.0):
    d.rounded_rectangle([s(x), s(y), s(x + w), s(y + h)], radius=s(min(w, h) * 0.08), fill=PAPER,
                        outline=outline, width=s(width))
    d.polygon([(s(x + width), s(y + width)), (s(x + w / 2), s(y + h * 0.58)), (s(x + w - width), s(y + width))],
              fill=PAPER_SHADE)
    d.line([(s(x + width), s(y + width)), (s(x + w / 2), s(y + h * 0.58)), (s(x + w - width), s(y + width))],
           fill=outline, width=s(width), joint="curve")
    d.line([(s(x + width), s(y + h - width)), (s(x + w * 0.38), s(y + h * 0.45))], fill=outline, width=s(width * 0.6))
    d.line([(s(x + w - width), s(y + h - width)), (s(x + w * 0.62), s(y + h * 0.45))], fill=outline,
           width=s(width * 0.6))


def arrows(d, cx, cy, r, colour, width):
    """Two curved arrows chasing each other round a circle."""
    box = [s(cx - r), s(cy - r), s(cx + r), s(cy + r)]
    for start in (200, 20):
        d.arc(box, start, start + 130, fill=colour, width=s(width))
    import math
    for angle in (330, 150):
        a = math.radians(angle)
        tx, ty = cx + r * math.cos(a), cy + r * math.sin(a)
        # arrow head pointing along the direction of travel (clockwise on screen)
        dx, dy = -math.sin(a), math.cos(a)
        nx, ny = math.cos(a), math.sin(a)
        hl, hw = width * 1.9, width * 1.5
        d.polygon([(s(tx + dx * hl), s(ty + dy * hl)), (s(tx + nx * hw), s(ty + ny * hw)),
                   (s(tx - nx * hw), s(ty - ny * hw))], fill=colour)


def bell(d, cx, cy, h, body=GOLD, edge=GOLD_DARK):
    w = h * 0.9
    top = cy - h / 2
    d.ellipse([s(cx - h * 0.09), s(top - h * 0.1), s(cx + h * 0.09), s(top + h * 0.08)], fill=edge)
    d.chord([s(cx - w * 0.36), s(top), s(cx + w * 0.36), s(top + h * 0.75)], 180, 360, fill=body, outline=edge,
            width=s(h * 0.04))
    d.polygon([(s(cx - w * 0.36), s(top + h * 0.37)), (s(cx + w * 0.36), s(top + h * 0.37)),
               (s(cx + w * 0.5), s(top + h * 0.8)), (s(cx - w * 0.5), s(top + h * 0.8))], fill=body)
    d.line([(s(cx - w * 0.36), s(top + h * 0.37)), (s(cx - w * 0.5), s(top + h * 0.8))], fill=edge, width=s(h * 0.04))
    d.line([(s(cx + w * 0.36), s(top + h * 0.37)), (s(cx + w * 0.5), s(top + h * 0.8))], fill=edge, width=s(h * 0.04))
    d.rounded_rectangle([s(cx - w * 0.56), s(top + h * 0.76), s(cx + w * 0.56), s(top + h * 0.88)],
                        radius=s(h * 0.04), fill=edge)
    d.ellipse([s(cx - h * 0.1), s(top + h * 0.86), s(cx + h * 0.1), s(top + h * 1.02)], fill=edge)


def tray_image(n):
    size = 64
    img, d = canvas(size)
    if n == 0:
        envelope(d, 4, 13, 56, 38, width=3)
    elif 1 <= n <= 10:
        envelope(d, 2, 6, 44, 30, width=2.5)
        d.ellipse([s(14), s(14), s(63), s(63)], fill=RED, outline=WHITE, width=s(3))
        text = str(n)
        px = 40 if n < 10 else 32
        font = ImageFont.truetype(FONT, s(px))
        box = d.textbbox((0, 0), text, font=font)
        tw, th = box[2] - box[0], box[3] - box[1]
        d.text((s(38.5) - tw / 2 - box[0], s(38.5) - th / 2 - box[1]), text, font=font, fill=WHITE)
    elif n == 11:
        envelope(d, 2, 6, 44, 30, width=2.5)
        d.ellipse([s(18), s(18), s(62), s(62)], fill=WHITE, outline=GREEN, width=s(2))
        arrows(d, 40, 40, 14, GREEN, 5)
    else:
        d.ellipse([s(2), s(2), s(62), s(62)], fill=(255, 236, 200, 255), outline=RED, width=s(3))
        bell(d, 32, 31, 40)
        d.arc([s(6), s(10), s(26), s(40)], 150, 230, fill=RED, width=s(3))
        d.arc([s(38), s(10), s(58), s(40)], 310, 30, fill=RED, width=s(3))
    return finish(img, size)


def app_icon(size=64):
    img, d = canvas(64)
    d.rounded_rectangle([s(1), s(1), s(63), s(63)], radius=s(12), fill=BLUE, outline=(20, 60, 120, 255),
                        width=s(2))
    d.rounded_rectangle([s(3), s(3), s(61), s(30)], radius=s(10), fill=BLUE_LIGHT)
    envelope(d, 9, 17, 46, 32, outline=(20, 60, 120, 255), width=2.5)
    bell(d, 50, 48, 18)
    return finish(img, 64).resize((size, size), Image.LANCZOS)


def glyph(name):
    size = 16
    img, d = canvas(size)
    if name == "add":
        d.rounded_rectangle([s(6), s(1.5), s(10), s(14.5)], radius=s(1), fill=GREEN)
        d.rounded_rectangle([s(1.5), s(6), s(14.5), s(10)], radius=s(1), fill=GREEN)
    elif name == "edit":
        d.polygon([(s(2), s(14)), (s(3), s(10.5)), (s(11), s(2.5)), (s(13.5), s(5)), (s(5.5), s(13))],
                  fill=GOLD, outline=GOLD_DARK)
        d.polygon([(s(11), s(2.5)), (s(12.3), s(1.2)), (s(14.8), s(3.7)), (s(13.5), s(5))], fill=RED)
        d.polygon([(s(2), s(14)), (s(2.6), s(11.8)), (s(4.2), s(13.4))], fill=(60, 60, 60, 255))
    elif name == "delete":
        d.line([(s(3), s(3)), (s(13), s(13))], fill=RED, width=s(3.2))
        d.line([(s(13), s(3)), (s(3), s(13))], fill=RED, width=s(3.2))
    elif name == "check":
        arrows(d, 8, 8, 5.2, BLUE, 2.0)
    elif name == "help":
        d.ellipse([s(1), s(1), s(15), s(15)], fill=BLUE)
        font = ImageFont.truetype(FONT, s(12))
        box = d.textbbox((0, 0), "?", font=font)
        d.text((s(8) - (box[2] - box[0]) / 2 - box[0], s(8) - (box[3] - box[1]) / 2 - box[1]), "?", font=font,
               fill=WHITE)
    elif name == "thanks":
        d.ellipse([s(1.5), s(2.5), s(8.5), s(9.5)], fill=RED)
        d.ellipse([s(7.5), s(2.5), s(14.5), s(9.5)], fill=RED)
        d.polygon([(s(1.9), s(7.5)), (s(14.1), s(7.5)), (s(8), s(14.5))], fill=RED)
    elif name == "apply":
        d.rounded_rectangle([s(1.5), s(1.5), s(14.5), s(14.5)], radius=s(1.5), fill=BLUE)
        d.rectangle([s(4), s(1.5), s(12), s(6)], fill=WHITE)
        d.rectangle([s(9.5), s(2.3), s(11), s(5.2)], fill=BLUE)
        d.rectangle([s(3.5), s(9), s(12.5), s(14.5)], fill=PAPER_SHADE)
    elif name == "file":
        d.polygon([(s(1), s(3)), (s(6), s(3)), (s(7.5), s(4.5)), (s(15), s(4.5)), (s(15), s(13.5)), (s(1), s(13.5))],
                  fill=GOLD_DARK)
        d.polygon([(s(1), s(13.5)), (s(3), s(6.5)), (s(16), s(6.5)), (s(14.5), s(13.5))], fill=GOLD)
    elif name == "skin":
        d.ellipse([s(1), s(2), s(15), s(14)], fill=(236, 210, 170, 255), outline=GOLD_DARK, width=s(0.8))
        for (x, y), c in zip([(4, 5), (8, 4), (12, 6), (4.5, 9.5)], [RED, GREEN, BLUE, GOLD]):
            d.ellipse([s(x - 1.5), s(y - 1.5), s(x + 1.5), s(y + 1.5)], fill=c)
        d.ellipse([s(9), s(9), s(12), s(12)], fill=(0, 0, 0, 0))
    elif name == "sound":
        d.polygon([(s(1.5), s(5.5)), (s(4.5), s(5.5)), (s(8.5), s(2)), (s(8.5), s(14)), (s(4.5), s(10.5)),
                   (s(1.5), s(10.5))], fill=(70, 70, 80, 255))
        d.arc([s(7), s(4.5), s(12), s(11.5)], 300, 60, fill=BLUE, width=s(1.4))
        d.arc([s(7), s(2), s(15), s(14)], 300, 60, fill=BLUE, width=s(1.4))
    return finish(img, size)


def menu_glyph(name):
    """The tray menu's entries: check now, open the window, show the popups, clear them, exit."""
    size = 16
    img, d = canvas(size)
    if name == "check":
        return glyph("check")
    if name == "open":
        d.rectangle([s(1.5), s(2.5), s(14.5), s(13.5)], fill=PAPER, outline=BLUE, width=s(1))
        d.rectangle([s(1.5), s(2.5), s(14.5), s(5.5)], fill=BLUE)
        d.rectangle([s(3.5), s(7.5), s(12.5), s(8.5)], fill=PAPER_SHADE)
        d.rectangle([s(3.5), s(10), s(9.5), s(11)], fill=PAPER_SHADE)
    elif name == "show":
        envelope(d, 1, 3.5, 14, 10, width=1.2)
    elif name == "clear":
        envelope(d, 1, 2, 11, 8, outline=(120, 130, 150, 255), width=1.0)
        d.line([(s(8), s(8)), (s(15), s(15))], fill=RED, width=s(2.2))
        d.line([(s(15), s(8)), (s(8), s(15))], fill=RED, width=s(2.2))
    elif name == "exit":
        d.arc([s(2), s(2.5), s(14), s(14.5)], 300, 240, fill=RED, width=s(2.2))
        d.line([(s(8), s(1)), (s(8), s(8))], fill=RED, width=s(2.2))
    return finish(img, size)


def flag(name):
    size = 16
    img, d = canvas(size)
    x0, y0, x1, y1 = 0.5, 2.5, 15.5, 13.5
    h = y1 - y0
    if name == "rus":
        stripes = [WHITE, (0, 57, 166, 255), (213, 43, 30, 255)]
        for i, c in enumerate(stripes):
            d.rectangle([s(x0), s(y0 + h * i / 3), s(x1), s(y0 + h * (i + 1) / 3)], fill=c)
    elif name == "bel":
        d.rectangle([s(x0), s(y0), s(x1), s(y0 + h * 2 / 3)], fill=(200, 49, 62, 255))
        d.rectangle([s(x0), s(y0 + h * 2 / 3), s(x1), s(y1)], fill=(0, 153, 40, 255))
        d.rectangle([s(x0), s(y0), s(x0 + 2.4), s(y1)], fill=WHITE)
        for k in range(5):
            cy = y0 + 1.1 + k * 2.2
            d.polygon([(s(x0 + 1.2), s(cy - 0.9)), (s(x0 + 2.1), s(cy)), (s(x0 + 1.2), s(cy + 0.9)),
                       (s(x0 + 0.3), s(cy))], fill=(200, 49, 62, 255))
    else:
        d.rectangle([s(x0), s(y0), s(x1), s(y0 + h / 2)], fill=(0, 87, 183, 255))
        d.rectangle([s(x0), s(y0 + h / 2), s(x1), s(y1)], fill=(255, 215, 0, 255))
    d.rectangle([s(x0), s(y0), s(x1), s(y1)], outline=(90, 90, 90, 255), width=s(0.5))
    return finish(img, size)


def message_image(kind):
    size = 64
    img, d = canvas(size)
    if kind == "warning":
        d.polygon([(s(32), s(4)), (s(62), s(58)), (s(2), s(58))], fill=GOLD, outline=GOLD_DARK)
        d.rounded_rectangle([s(28.5), s(20), s(35.5), s(44)], radius=s(3), fill=(40, 40, 40, 255))
        d.ellipse([s(28.5), s(47), s(35.5), s(54)], fill=(40, 40, 40, 255))
    else:
        d.ellipse([s(3), s(3), s(61), s(61)], fill=BLUE, outline=(20, 60, 120, 255), width=s(2))
        font = ImageFont.truetype(FONT, s(44))
        box = d.textbbox((0, 0), "?", font=font)
        d.text((s(32) - (box[2] - box[0]) / 2 - box[0], s(32) - (box[3] - box[1]) / 2 - box[1]), "?", font=font,
               fill=WHITE)
    return finish(img, size)


def ico_entry(img):
    """One icon image: a 32-bit bottom-up DIB with its AND mask (no PNG entries, which old shells cannot read)."""
    w, h = img.size
    px = img.load()
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = px[x, y]
            xor += bytes((b, g, r, a))
    row = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        bits = bytearray(row)
        for x in range(w):
            if px[x, y][3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return bytes(header + xor + mask)


def write_ico(path, images):
    entries = [ico_entry(i) for i in images]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for img, data in zip(images, entries):
        w, h = img.size
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(entries))


GLYPHS = ["add", "edit", "delete", "check", "help", "thanks", "apply", "file", "skin", "sound"]
FLAGS = ["rus", "bel", "ukr"]
MESSAGES = ["warning", "question"]
MENU = ["check", "open", "show", "clear", "exit"]


def setup_box(size=60):
    """The installer's right-hand title picture: a package with an arrow into it."""
    img, d = canvas(size)
    d.polygon([(s(8), s(24)), (s(30), s(34)), (s(30), s(57)), (s(8), s(47))], fill=(214, 160, 80, 255),
              outline=(130, 86, 30, 255))
    d.polygon([(s(30), s(34)), (s(52), s(24)), (s(52), s(47)), (s(30), s(57))], fill=(190, 136, 60, 255),
              outline=(130, 86, 30, 255))
    d.polygon([(s(8), s(24)), (s(30), s(14)), (s(52), s(24)), (s(30), s(34))], fill=(236, 196, 120, 255),
              outline=(130, 86, 30, 255))
    d.rectangle([s(26), s(2), s(34), s(16)], fill=GREEN)
    d.polygon([(s(19), s(15)), (s(41), s(15)), (s(30), s(28))], fill=GREEN)
    return finish(img, size)


def globe(tint):
    """A small globe: the language pictures without a flag of their own."""
    size = 24
    img, d = canvas(size)
    d.ellipse([s(2), s(2), s(22), s(22)], fill=tint, outline=(40, 70, 110, 255), width=s(1.2))
    d.arc([s(7), s(2), s(17), s(22)], 0, 360, fill=(255, 255, 255, 200), width=s(1))
    d.line([s(2), s(12), s(22), s(12)], fill=(255, 255, 255, 200), width=s(1))
    d.line([s(4), s(7), s(20), s(7)], fill=(255, 255, 255, 160), width=s(1))
    d.line([s(4), s(17), s(20), s(17)], fill=(255, 255, 255, 160), width=s(1))
    return finish(img, size)


def lang_picture(i):
    flags = {0: "rus", 2: "bel", 3: "ukr"}
    if i in flags:
        small = flag(flags[i])
        img = Image.new("RGBA", (24, 24), (0, 0, 0, 0))
        img.alpha_composite(small.resize((22, 22), Image.LANCZOS), (1, 1))
        return img
    tints = [(90, 150, 220, 255), (70, 170, 120, 255), (220, 150, 60, 255), (150, 110, 200, 255),
             (200, 90, 90, 255), (90, 180, 190, 255), (160, 160, 160, 255)]
    return globe(tints[i % len(tints)])


def setup_main(out, preview):
    os.makedirs(out, exist_ok=True)
    rc = ["// Made by scripts/make-images.py --setup; ids in setup/SetupResources.h.",
          '#include "setup/SetupResources.h"', ""]
    sheet = []
    write_ico(os.path.join(out, "setup.ico"), [app_icon(n) for n in (64, 48, 32, 16)])
    rc.append('IDI_SETUP_APP ICON "setup.ico"')
    for name, img in (("SETUP_IMAGE1", app_icon(60)), ("SETUP_IMAGE2", setup_box(60))):
        img.save(os.path.join(out, name.lower() + ".png"))
        rc.append('%s RCDATA "%s.png"' % (name, name.lower()))
        sheet.append(img)
    for i, name in enumerate(MESSAGES):
        img = message_image(name)
        write_ico(os.path.join(out, "msg_%s.ico" % name), [img])
        rc.append('%d ICON "msg_%s.ico"' % (400 + i, name))
        sheet.append(img)
    for i in range(10):
        img = lang_picture(i)
        img.save(os.path.join(out, "lang%d.png" % i))
        rc.append('SETUP_LANG%d RCDATA "lang%d.png"' % (i, i))
        sheet.append(img)
    with open(os.path.join(out, "SetupImages.rc"), "w") as f:
        f.write("\n".join(rc) + "\n")
    if preview:
        prev = Image.new("RGBA", (len(sheet) * 68, 68), (255, 255, 255, 255))
        for k, img in enumerate(sheet):
            prev.alpha_composite(img, (k * 68 + 2, 2))
        prev.save(preview)


def folder_shape(d, x, y, w, h):
    """A closed folder: tab and body."""
    d.polygon([(s(x), s(y + 1.5)), (s(x + w * 0.38), s(y + 1.5)), (s(x + w * 0.48), s(y + 3)), (s(x + w), s(y + 3)),
               (s(x + w), s(y + h)), (s(x), s(y + h))], fill=GOLD_DARK)
    d.rectangle([s(x), s(y + 4.5), s(x + w), s(y + h)], fill=GOLD)


def dialog_tool(name):
    """The open dialog's tool pictures, 16x16 with alpha."""
    size = 16
    img, d = canvas(size)
    if name == "back":
        d.polygon([(s(1), s(8)), (s(7.5), s(2)), (s(7.5), s(5.5)), (s(15), s(5.5)), (s(15), s(10.5)),
                   (s(7.5), s(10.5)), (s(7.5), s(14))], fill=GREEN, outline=(20, 100, 40, 255))
    elif name == "up":
        folder_shape(d, 0.5, 4, 12, 11)
        d.polygon([(s(11.5), s(0.5)), (s(15.5), s(5)), (s(13), s(5)), (s(13), s(11)), (s(10), s(11)), (s(10), s(5)),
                   (s(7.5), s(5))], fill=GREEN, outline=(20, 100, 40, 255))
    elif name == "newfolder":
        folder_shape(d, 0.5, 4, 12, 11)
        for a, b in (((12, 0.5), (12, 7.5)), ((8.5, 4), (15.5, 4)), ((9.5, 1.5), (14.5, 6.5)), ((14.5, 1.5), (9.5, 6.5))):
            d.line([(s(a[0]), s(a[1])), (s(b[0]), s(b[1]))], fill=(235, 200, 40, 255), width=s(1.3))
        d.ellipse([s(10.6), s(2.6), s(13.4), s(5.4)], fill=WHITE)
    elif name == "lvstyle":
        for row in range(3):
            y = 1.5 + row * 5
            d.rectangle([s(1), s(y), s(4), s(y + 3)], fill=BLUE)
            d.rectangle([s(6), s(y + 1), s(15), s(y + 2)], fill=(70, 70, 80, 255))
    return finish(img, size)


def dialog_bitmap(name):
    """Play and Stop: hard-edged shapes on the magenta key colour, so the key leaves no fringe."""
    img = Image.new("RGB", (16, 16), (255, 0, 255))
    d = ImageDraw.Draw(img)
    if name == "play":
        d.polygon([(4, 2), (4, 13), (12, 7.5)], fill=(20, 120, 40), outline=(10, 70, 20))
    else:
        d.rectangle([3, 3, 12, 12], fill=(40, 70, 160), outline=(20, 40, 100))
    return img


def dialogs_main(out, preview):
    os.makedirs(out, exist_ok=True)
    rc = ["// Made by scripts/make-images.py --dialogs: the open dialogs' tool pictures.", ""]
    sheet = []
    for name in ("back", "up", "newfolder", "lvstyle"):
        img = dialog_tool(name)
        img.save(os.path.join(out, "bs_%s.png" % name))
        rc.append('BS_%s_PNG RCDATA "%s"' % (name.upper(), os.path.join(os.path.abspath(out), "bs_%s.png" % name)))
        sheet.append(img)
    for name in ("play", "stop"):
        img = dialog_bitmap(name)
        img.save(os.path.join(out, "bs_%s.bmp" % name))
        rc.append('BS_%s BITMAP "%s"' % (name.upper(), os.path.join(os.path.abspath(out), "bs_%s.bmp" % name)))
        sheet.append(img.convert("RGBA"))
    with open(os.path.join(out, "DialogImages.rc"), "w") as f:
        f.write("\n".join(rc) + "\n")
    if preview:
        prev = Image.new("RGBA", (len(sheet) * 68, 68), (255, 255, 255, 255))
        for k, img in enumerate(sheet):
            prev.alpha_composite(img.resize((64, 64), Image.NEAREST), (k * 68 + 2, 2))
        prev.save(preview)


def main():
    if sys.argv[1] == "--dialogs":
        dialogs_main(sys.argv[2], sys.argv[3] if len(sys.argv) > 3 else None)
        return
    if sys.argv[1] == "--setup":
        setup_main(sys.argv[2], sys.argv[3] if len(sys.argv) > 3 else None)
        return
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    rc = ["// Made by scripts/make-images.py; ids in app/AppResources.h.", '#include "app/AppResources.h"', ""]
    sheet = []
    write_ico(os.path.join(out, "app.ico"), [app_icon(n) for n in (64, 48, 32, 16)])
    rc.append('IDI_TRELM_APP ICON "app.ico"')
    sheet.append(app_icon(64))
    for n in range(13):
        img = tray_image(n)
        small = img.resize((32, 32), Image.LANCZOS), img.resize((16, 16), Image.LANCZOS)
        write_ico(os.path.join(out, "tray%02d.ico" % n), [img, *small])
        rc.append('%d ICON "tray%02d.ico"' % (100 + n, n))
        sheet.append(img)
    for first, prefix, names, draw in ((200, "glyph", GLYPHS, glyph), (300, "flag", FLAGS, flag),
                                       (400, "msg", MESSAGES, message_image), (500, "menu", MENU, menu_glyph)):
        for i, name in enumerate(names):
            img = draw(name)
            write_ico(os.path.join(out, "%s_%s.ico" % (prefix, name)), [img])
            rc.append('%d ICON "%s_%s.ico"' % (first + i, prefix, name))
            sheet.append(img)
    with open(os.path.join(out, "TrelmMail.rc"), "w") as f:
        f.write("\n".join(rc) + "\n")
    if len(sys.argv) > 2:
        # A preview on grey and white: every picture at 2x, small ones also at their real size.
        cell = 136
        cols = 8
        rows = (len(sheet) + cols - 1) // cols
        prev = Image.new("RGBA", (cols * cell, rows * cell), (255, 255, 255, 255))
        for k, img in enumerate(sheet):
            x, y = (k % cols) * cell, (k // cols) * cell
            bg = (200, 200, 200, 255) if (k // cols + k) % 2 else (255, 255, 255, 255)
            prev.paste(Image.new("RGBA", (cell, cell), bg), (x, y))
            big = img.resize((img.size[0] * 2 if img.size[0] == 64 else 96,) * 2, Image.NEAREST)
            prev.alpha_composite(big, (x + 4, y + 4))
            real = img.resize((16, 16), Image.LANCZOS)
            prev.alpha_composite(real, (x + cell - 20, y + cell - 20))
        prev.save(sys.argv[2])


if __name__ == "__main__":
    main()
