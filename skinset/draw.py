"""Drawing primitives of the skin generator: colours, gradients, anti-aliased shapes and glyphs.

Everything is drawn with PIL only and is deterministic: shapes are drawn four times larger and reduced with a box
filter, so rounded corners get exact area coverage without any randomness.
"""

from PIL import Image, ImageChops, ImageDraw, ImageFilter

SS = 4  # supersampling factor of the anti-aliased shapes


def rgb(h):
    """'#RRGGBB' or (r, g, b) to an (r, g, b) tuple."""
    if isinstance(h, str):
        h = h.lstrip('#')
        return (int(h[0:2], 16), int(h[2:4], 16), int(h[4:6], 16))
    return tuple(h[:3])


def mix(a, b, t):
    """Linear blend of two colours, t = 0 gives a, t = 1 gives b."""
    a, b = rgb(a), rgb(b)
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def lighten(c, t):
    return mix(c, (255, 255, 255), t)


def darken(c, t):
    return mix(c, (0, 0, 0), t)


def luma(c):
    c = rgb(c)
    return 0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2]


def colorref(c):
    """(r, g, b) to the 0x00BBGGRR integer the ini files store."""
    c = rgb(c)
    return c[0] | (c[1] << 8) | (c[2] << 16)


def luminance(c):
    """WCAG relative luminance of a colour."""
    out = []
    for v in rgb(c):
        v = v / 255.0
        out.append(v / 12.92 if v <= 0.03928 else ((v + 0.055) / 1.055) ** 2.4)
    return 0.2126 * out[0] + 0.7152 * out[1] + 0.0722 * out[2]


def contrast(a, b):
    """Contrast ratio of two colours (relative luminance, as for readable text)."""
    la, lb = sorted((luminance(a), luminance(b)), reverse=True)
    return (la + 0.05) / (lb + 0.05)


def title_band(img, skinrect, textrect, font_height):
    """The distinct pixels a caption title can cover: the rows of one line of text around the middle of the text
    rectangle (relative to the caption's skinrect), across the whole rectangle, so that a title of any length and
    alignment is inside. Empty when the rectangle lies outside the picture."""
    half = (font_height + 1) // 2
    mid = skinrect[1] + (textrect[1] + textrect[3]) // 2
    x0, x1 = max(skinrect[0] + textrect[0], 0), min(skinrect[0] + textrect[2], skinrect[2], img.width)
    y0 = max(mid - half, skinrect[1] + textrect[1], 0)
    y1 = min(mid + half, skinrect[1] + textrect[3], img.height)
    if x0 >= x1 or y0 >= y1:
        return set()
    return set(img.convert('RGB').crop((x0, y0, x1, y1)).getdata())


def worst_contrast(fg, pixels):
    """(lowest contrast of fg against the pixels, that pixel), or None without pixels."""
    lf = luminance(fg)
    best = None
    for px in pixels:
        lp = luminance(px)
        r = (max(lf, lp) + 0.05) / (min(lf, lp) + 0.05)
        if best is None or r < best[0]:
            best = (r, px)
    return best


def title_colour(preferred, pixels, need):
    """The preferred title colour when it reads at need against every pixel, else the nearest step of it towards
    white or black (whichever reads better) that does; the best it can reach when none does."""
    preferred = rgb(preferred)
    best = (worst_contrast(preferred, pixels)[0], preferred)
    if best[0] >= need:
        return preferred
    for end in ((255, 255, 255), (0, 0, 0)):
        for k in range(1, 21):
            c = mix(preferred, end, k / 20.0)
            r = worst_contrast(c, pixels)[0]
            if r >= need:
                if best[0] < need or k < best[2]:
                    best = (r, c, k)
                break
            if r > best[0] and best[0] < need:
                best = (r, c, 99)
    return best[1]


def readable(bg, preferred, need):
    """The preferred text colour when it reads on bg, else the closest tint of bg's own hue that does."""
    if contrast(preferred, bg) >= need:
        return rgb(preferred)
    light = contrast((255, 255, 255), bg) >= contrast((0, 0, 0), bg)
    for k in range(1, 21):
        t = k / 20.0
        c = mix(bg, (255, 255, 255) if light else (0, 0, 0), t)
        if contrast(c, bg) >= need:
            return c
    return (255, 255, 255) if light else (0, 0, 0)


# The notifier paints its reminder rows in these two colours (due within the hour, overdue) under the list's own font.
REMINDER_ROWS = ((0x97, 0xFF, 0xAD), (0xFF, 0x00, 0x00))
LIST_TEXT_NEED = 4.5
ROW_TEXT_NEED = 4.0


def list_colours(window, text):
    """(background, font colour) of the list view entry: the theme's own when its text reads on the window and on
    both reminder rows; else (the dark themes) a light list with dark text, the only pairing that reads on all
    three."""
    if contrast(text, window) >= LIST_TEXT_NEED and all(contrast(text, r) >= ROW_TEXT_NEED for r in REMINDER_ROWS):
        return rgb(window), rgb(text)
    bg = mix(window, (255, 255, 255), .88)
    fg = (24, 26, 30)
    return bg, fg


def vgrad(w, h, stops):
    """An RGB image w x h with a vertical gradient through stops [(pos 0..1, colour), ...]."""
    col = Image.new('RGB', (1, max(h, 1)))
    px = col.load()
    stops = [(p, rgb(c)) for p, c in stops]
    for y in range(h):
        t = (y + 0.5) / h if h > 1 else 0.0
        for i in range(len(stops) - 1):
            p0, c0 = stops[i]
            p1, c1 = stops[i + 1]
            if t <= p1 or i == len(stops) - 2:
                u = 0.0 if p1 <= p0 else min(max((t - p0) / (p1 - p0), 0.0), 1.0)
                px[0, y] = mix(c0, c1, u)
                break
    return col.resize((max(w, 1), max(h, 1)), Image.NEAREST)


def hgrad(w, h, stops):
    return vgrad(h, w, stops).transpose(Image.Transpose.ROTATE_270).transpose(Image.Transpose.FLIP_LEFT_RIGHT)


def _corner_radii(r):
    if isinstance(r, (int, float)):
        return (r, r, r, r)
    return r  # top-left, top-right, bottom-right, bottom-left


def shape_mask(w, h, r, inset=0.0):
    """An 'L' mask of a rounded rectangle (radii per corner), anti-aliased, inset by `inset` pixels."""
    tl, tr, br, bl = _corner_radii(r)
    big = Image.new('L', (w * SS, h * SS), 0)
    d = ImageDraw.Draw(big)
    x0, y0 = inset * SS, inset * SS
    x1, y1 = (w - inset) * SS - 1, (h - inset) * SS - 1
    d.rectangle([x0, y0, x1, y1], fill=255)
    for rad, cx, cy, sx, sy in ((tl, x0, y0, 1, 1), (tr, x1, y0, -1, 1), (br, x1, y1, -1, -1), (bl, x0, y1, 1, -1)):
        if rad <= 0:
            continue
        R = max(rad - inset, 0.5) * SS
        # clear the corner square, then put the quarter disc back
        qx0, qx1 = sorted((cx, cx + sx * R))
        qy0, qy1 = sorted((cy, cy + sy * R))
        d.rectangle([qx0, qy0, qx1, qy1], fill=0)
        ex, ey = cx + sx * R, cy + sy * R
        d.ellipse([ex - R, ey - R, ex + R, ey + R], fill=255)
    # the quarter discs may spill outside the rectangle; clip to it
    clip = Image.new('L', big.size, 0)
    ImageDraw.Draw(clip).rectangle([x0, y0, x1, y1], fill=255)
    return ImageChops.multiply(big, clip).resize((w, h), Image.BOX)


def paste_fill(dst, fill, mask, pos=(0, 0)):
    """Composite `fill` (an image or a colour) onto dst through mask at pos."""
    if not isinstance(fill, Image.Image):
        fill = Image.new('RGB', mask.size, rgb(fill))
    dst.paste(fill, pos, mask)


def rounded_box(dst, box, r, fill, border=None, border_w=1, inner=None):
    """A rounded box on dst: optional border ring, a fill (colour or image sized to the box), optional inner
    highlight ring just inside the border. box = (x0, y0, x1, y1), right and bottom exclusive."""
    x0, y0, x1, y1 = box
    w, h = x1 - x0, y1 - y0
    if w <= 0 or h <= 0:
        return
    outer = shape_mask(w, h, r)
    if border is not None:
        paste_fill(dst, border, outer, (x0, y0))
        body = shape_mask(w, h, _shrink(r, border_w), inset=border_w)
    else:
        body = outer
    if isinstance(fill, Image.Image) and fill.size != (w, h):
        fill = fill.resize((w, h), Image.BILINEAR)
    if inner is not None and border is not None:
        paste_fill(dst, inner, body, (x0, y0))
        body = shape_mask(w, h, _shrink(r, border_w + 1), inset=border_w + 1)
    paste_fill(dst, fill, body, (x0, y0))


def _shrink(r, d):
    return tuple(max(v - d, 0) for v in _corner_radii(r))


def line(dst, xy, color, width=1):
    ImageDraw.Draw(dst).line(xy, fill=rgb(color), width=width)


def aa_polyline(dst, pts, color, width, box=None):
    """An anti-aliased polyline (supersampled) within box (defaults to the whole image)."""
    x0, y0, x1, y1 = box if box else (0, 0, dst.width, dst.height)
    w, h = x1 - x0, y1 - y0
    m = Image.new('L', (w * SS, h * SS), 0)
    d = ImageDraw.Draw(m)
    sp = [((px - x0) * SS, (py - y0) * SS) for px, py in pts]
    d.line(sp, fill=255, width=int(width * SS), joint='curve')
    for px, py in sp:  # round caps
        rr = width * SS / 2
        d.ellipse([px - rr, py - rr, px + rr, py + rr], fill=255)
    paste_fill(dst, color, m.resize((w, h), Image.BOX), (x0, y0))


def aa_polygon(dst, pts, color, box=None):
    x0, y0, x1, y1 = box if box else (0, 0, dst.width, dst.height)
    w, h = x1 - x0, y1 - y0
    m = Image.new('L', (w * SS, h * SS), 0)
    ImageDraw.Draw(m).polygon([((px - x0) * SS, (py - y0) * SS) for px, py in pts], fill=255)
    paste_fill(dst, color, m.resize((w, h), Image.BOX), (x0, y0))


def aa_ellipse(dst, box, color, outline=None, width=1.0):
    x0, y0, x1, y1 = [int(v) for v in box]
    w, h = x1 - x0, y1 - y0
    m = Image.new('L', (w * SS, h * SS), 0)
    ImageDraw.Draw(m).ellipse([0, 0, w * SS - 1, h * SS - 1], fill=255)
    m = m.resize((w, h), Image.BOX)
    if outline is not None:
        paste_fill(dst, outline, m, (x0, y0))
        mi = Image.new('L', (w * SS, h * SS), 0)
        ww = width * SS
        ImageDraw.Draw(mi).ellipse([ww, ww, w * SS - 1 - ww, h * SS - 1 - ww], fill=255)
        m = mi.resize((w, h), Image.BOX)
    if color is not None:
        paste_fill(dst, color, m, (x0, y0))


# ---- caption and control glyphs (drawn into a cell, centred) ----

def glyph(dst, kind, cell, color, scale=1.0, weight=1.4):
    """Caption-button glyphs: close, max, restore, min, sysmenu, tray, rollup; arrows up/down/left/right;
    check, radio, plus, minus. cell = (x0, y0, x1, y1)."""
    x0, y0, x1, y1 = cell
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    s = 4.0 * scale
    w = weight * scale
    if kind == 'close':
        aa_polyline(dst, [(cx - s, cy - s), (cx + s, cy + s)], color, w, cell)
        aa_polyline(dst, [(cx - s, cy + s), (cx + s, cy - s)], color, w, cell)
    elif kind == 'max':
        _frame(dst, (cx - s - 0.5, cy - s, cx + s + 0.5, cy + s), color, w, top=max(w * 1.6, 2))
    elif kind == 'restore':
        d = s * 0.5
        # the window behind shows only its top and right edges
        aa_polyline(dst, [(cx - s + d, cy - s + d), (cx - s + d, cy - s), (cx + s, cy - s), (cx + s, cy + s - d),
                          (cx + s - d, cy + s - d)], color, w, cell)
        _frame(dst, (cx - s, cy - s + d, cx + s - d, cy + s), color, w, top=max(w * 1.3, 1.5))
    elif kind == 'min':
        aa_polyline(dst, [(cx - s, cy + s * 0.6), (cx + s, cy + s * 0.6)], color, max(w * 1.3, 1.6), cell)
    elif kind == 'tray':
        aa_polyline(dst, [(cx - s, cy + s), (cx + s, cy + s)], color, w, cell)
        aa_polygon(dst, [(cx - s * 0.8, cy - s * 0.6), (cx + s * 0.8, cy - s * 0.6), (cx, cy + s * 0.45)], color, cell)
    elif kind == 'rollup':
        aa_polygon(dst, [(cx - s, cy + s * 0.45), (cx + s, cy + s * 0.45), (cx, cy - s * 0.55)], color, cell)
    elif kind == 'sysmenu':
        # a small envelope: the notifier's own mark
        ex0, ey0, ex1, ey1 = cx - s * 1.2, cy - s * 0.8, cx + s * 1.2, cy + s * 0.8
        _frame(dst, (ex0, ey0, ex1, ey1), color, w * 0.9, top=w * 0.9)
        aa_polyline(dst, [(ex0 + 0.5, ey0 + 0.5), (cx, cy + s * 0.15), (ex1 - 0.5, ey0 + 0.5)], color, w * 0.9, cell)
    elif kind in ('up', 'down', 'left', 'right'):
        a = s * 0.75
        pts = {'down': [(cx - a, cy - a / 2), (cx + a, cy - a / 2), (cx, cy + a / 2)],
               'up': [(cx - a, cy + a / 2), (cx + a, cy + a / 2), (cx, cy - a / 2)],
               'right': [(cx - a / 2, cy - a), (cx - a / 2, cy + a), (cx + a / 2, cy)],
               'left': [(cx + a / 2, cy - a), (cx + a / 2, cy + a), (cx - a / 2, cy)]}[kind]
        aa_polygon(dst, pts, color, cell)
    elif kind == 'check':
        aa_polyline(dst, [(cx - s * 0.8, cy), (cx - s * 0.2, cy + s * 0.6), (cx + s * 0.9, cy - s * 0.7)], color,
                    w * 1.25, cell)
    elif kind == 'radio':
        r = s * 0.55
        aa_ellipse(dst, (cx - r, cy - r, cx + r + 1, cy + r + 1), color)
    elif kind == 'grayed':
        _fillrect(dst, (cx - s * 0.6, cy - s * 0.6, cx + s * 0.6 + 1, cy + s * 0.6 + 1), color)
    elif kind == 'plus' or kind == 'minus':
        aa_polyline(dst, [(cx - s * 0.55, cy), (cx + s * 0.55, cy)], color, 1.0, cell)
        if kind == 'plus':
            aa_polyline(dst, [(cx, cy - s * 0.55), (cx, cy + s * 0.55)], color, 1.0, cell)
    elif kind == 'grip':
        for i in range(3):
            yy = int(cy) - 3 + i * 3
            _fillrect(dst, (int(cx) - 3, yy, int(cx) + 4, yy + 1), color)


def _fillrect(dst, box, color):
    if color is None:
        return
    x0, y0, x1, y1 = [int(round(v)) for v in box]
    ImageDraw.Draw(dst).rectangle([x0, y0, x1 - 1, y1 - 1], fill=rgb(color))


def _frame(dst, box, color, w, top=None):
    """A rectangle outline with a heavier top edge (window glyphs)."""
    x0, y0, x1, y1 = box
    cell = (int(x0) - 2, int(y0) - 2, int(x1) + 3, int(y1) + 3)
    aa_polyline(dst, [(x0, y0), (x1, y0), (x1, y1), (x0, y1), (x0, y0)], color, w, cell)
    if top and top > w:
        aa_polyline(dst, [(x0, y0 + (top - w) / 2), (x1, y0 + (top - w) / 2)], color, top, cell)


def soft_shadow(w, h, inset, radius, blur, strength):
    """An 'L' shadow mask w x h: a rounded rectangle inset by `inset`, blurred; values scaled by strength (0..1)."""
    m = Image.new('L', (w, h), 0)
    inner = shape_mask(w - 2 * inset, h - 2 * inset, radius)
    m.paste(inner, (inset, inset))
    m = m.filter(ImageFilter.GaussianBlur(blur))
    return m.point(lambda v: int(v * strength))
