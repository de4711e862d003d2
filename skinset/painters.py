"""Pictures of one theme: frame, caption buttons, control faces, menu, hint, glow and layered-shadow pictures."""

from PIL import Image, ImageDraw, ImageFilter

from draw import (aa_ellipse, darken, glyph, hgrad, lighten, line, luma, mix, rgb, rounded_box, shape_mask,
                  soft_shadow, vgrad)

PW, PH = 200, 130  # frame picture size (also the smallest form the skin allows, see formminwidth)


def frame_geometry(t):
    d = t.d
    b = d['border']
    ct = d['cap_h']
    corner = max(d['rt'] + 4, d['rb'] + 4, b + 4, 12)
    g = dict(b=b, ct=ct, corner=corner)
    g['client'] = (b, ct, PW - b, PH - b)
    g['lt'] = (corner, ct + 2)
    g['rt'] = (PW - corner, ct + 2)
    g['lb'] = (corner, PH - b - 2)
    g['rb'] = (PW - corner, PH - b - 2)
    return g


def _caption_band(t, active, w, h):
    stops = t.cap if active else t.icap
    if t.design == 'classic':
        return hgrad(w, h, stops)
    return vgrad(w, h, stops)


def draw_frame(t, active):
    """The frame picture: rounded outer shape, caption band, side borders, inner client line and client area."""
    d = t.d
    g = frame_geometry(t)
    b, ct = g['b'], g['ct']
    img = Image.new('RGB', (PW, PH), (0, 0, 0) if not t.dark else (0, 0, 0))
    frame = t.frame if active else t.iframe
    outline = t.outline if active else t.ioutline
    radii = (d['rt'], d['rt'], d['rb'], d['rb'])
    # body: side colour with the caption band on top
    body = Image.new('RGB', (PW, PH), frame)
    if t.design in ('aero',):
        body = vgrad(PW, PH, [(0, lighten(frame, .25)), (0.35, frame), (1, darken(frame, .06))])
    body.paste(_caption_band(t, active, PW, ct), (0, 0))
    if t.design == 'classic':
        # caption bar inset within the raised frame
        body = Image.new('RGB', (PW, PH), t.face)
        body.paste(_caption_band(t, active, PW - 2 * b, ct - b - 1), (b, b))
    if t.design == 'aero':
        # glass: a few soft diagonal light streaks across the frame
        streaks = Image.new('L', (PW * 4, PH * 4), 0)
        sd = ImageDraw.Draw(streaks)
        for x0, wdt, a in ((30, 18, 46), (62, 8, 34), (128, 26, 40), (168, 10, 30)):
            sd.polygon([(x0 * 4, 0), ((x0 + wdt) * 4, 0), ((x0 + wdt - 60) * 4, PH * 4), ((x0 - 60) * 4, PH * 4)],
                       fill=a if active else a // 2)
        streaks = streaks.resize((PW, PH), Image.BOX).filter(ImageFilter.GaussianBlur(2))
        body.paste(Image.new('RGB', (PW, PH), (255, 255, 255)), (0, 0), streaks)
    rounded_box(img, (0, 0, PW, PH), radii, body, border=outline, border_w=1,
                inner=None)
    dr = ImageDraw.Draw(img)
    if t.design in ('aero', 'luna', 'elegant', 'office10'):
        # light inner edge along the top: the glossy rim
        hl = lighten((_caption_band(t, active, 1, ct).getpixel((0, 1))), .45)
        mask = shape_mask(PW - 2, ct, (max(d['rt'] - 1, 0),) * 2 + (0, 0))
        ring = Image.new('L', (PW - 2, ct), 0)
        inner = shape_mask(PW - 4, ct, (max(d['rt'] - 2, 0),) * 2 + (0, 0))
        ring.paste(mask, (0, 0))
        hole = Image.new('L', (PW - 2, ct), 0)
        hole.paste(inner, (1, 1))
        from PIL import ImageChops
        ring = ImageChops.subtract(ring, hole)
        ring = ring.crop((0, 0, PW - 2, ct // 2)).point(lambda v: v * 0.6)
        img.paste(Image.new('RGB', ring.size, hl), (1, 1), ring)
    if t.design == 'classic':
        # raised 3-D frame: light outer-top-left, dark bottom-right
        dr.line([(0, PH - 1), (0, 0), (PW - 1, 0)], fill=lighten(t.face, .3))
        dr.line([(1, PH - 2), (1, 1), (PW - 2, 1)], fill=(255, 255, 255))
        dr.line([(PW - 1, 0), (PW - 1, PH - 1), (0, PH - 1)], fill=(64, 64, 64))
        dr.line([(PW - 2, 1), (PW - 2, PH - 2), (1, PH - 2)], fill=darken(t.face, .35))
    if t.design == 'carbon':
        dr.line([(b, ct - 2), (PW - b - 1, ct - 2)], fill=t.acc if active else mix(t.acc, t.frame, .6))
        dr.line([(b, ct - 1), (PW - b - 1, ct - 1)], fill=darken(t.acc, .4) if active else t.frame)
    if t.design == 'office13':
        # an accent line right across under the caption (quieter when inactive)
        dr.line([(1, ct - 1), (PW - 2, ct - 1)], fill=t.acc if active else t.ioutline)
    # client: inner edge line just outside the client rectangle, then the client fill
    cl = g['client']
    if b >= 3:
        edge = darken(frame, .25) if not t.dark else darken(frame, .4)
        if t.design == 'classic':
            edge = darken(t.face, .35)
        dr.rectangle([cl[0] - 1, cl[1] - 1, cl[2], cl[3]], outline=edge)
    dr.rectangle([cl[0], cl[1], cl[2] - 1, cl[3] - 1], fill=t.client)
    return img


def draw_mask(t):
    """1-bit window shape: black inside the window, white outside."""
    d = t.d
    m = shape_mask(PW, PH, (d['rt'], d['rt'], d['rb'], d['rb']))
    return m.point(lambda v: 0 if v >= 128 else 255).convert('1')


# ---------------------------------------------------------------------------------------------- caption buttons

BUTTON_ROWS = ['close', 'max', 'restore', 'min', 'sysmenu', 'tray', 'rollup', 'rolldown', 'dialogclose']
STATES = ['normal', 'hot', 'down', 'inactive']


def button_top(t):
    d = t.d
    g = frame_geometry(t)
    if d['btn'] in ('glass', 'flat'):
        return 1  # below the frame's top line, which runs on across the caption
    return max((g['ct'] - d['bh']) // 2 - (1 if d['btn'] == 'bevel' else 0), 1)


def draw_caption_button(t, kind, state, active_frame, inactive_frame):
    """One caption button cell, drawn over the caption background it will sit on."""
    d = t.d
    wide = kind in ('close', 'dialogclose')
    w = d['cw'] if wide else d['bw']
    h = d['bh']
    if kind == 'dialogclose':
        w = max(d['cw'], d['bw'])
    y = button_top(t)
    src = active_frame if state != 'inactive' else inactive_frame
    x = PW // 2 - w // 2
    img = src.crop((x, y, x + w, y + h)).convert('RGB')
    style = d['btn']
    gk = {'dialogclose': 'close', 'rolldown': 'down'}.get(kind, kind)
    if gk == 'rollup':
        gk = 'rollup'
    is_close = kind in ('close', 'dialogclose')
    fg = t.capbtnfg if state != 'inactive' else t.icapfg
    scale = 1.0
    if style == 'glass':
        r = (0, 0, 4, 4)
        base = t.close if is_close else lighten(t.acc, .35)
        if state == 'inactive':
            stops = [(0, lighten(t.frame, .5)), (1, lighten(t.frame, .3))]
            border = mix(t.ioutline, (255, 255, 255), .3)
        elif state == 'normal':
            c = base if is_close else lighten(t.acc, .55)
            stops = [(0, lighten(c, .5)), (0.48, lighten(c, .25)), (0.5, c), (1, lighten(c, .2))]
            border = darken(t.outline, .1)
        elif state == 'hot':
            c = lighten(base, .1) if is_close else lighten(t.acc, .3)
            stops = [(0, lighten(c, .55)), (0.48, lighten(c, .3)), (0.5, c), (1, lighten(c, .45))]
            border = darken(t.outline, .1)
        else:
            c = darken(base, .2)
            stops = [(0, lighten(c, .2)), (0.48, c), (0.5, darken(c, .12)), (1, lighten(c, .1))]
            border = darken(t.outline, .2)
        rounded_box(img, (0, 0, w, h), r, vgrad(w, h, stops), border=border,
                    inner=lighten(stops[0][1], .4))
        fg = (255, 255, 255) if (is_close or state in ('hot', 'down')) and state != 'inactive' else \
            darken(t.acc, .55) if state != 'inactive' else mix(t.icapfg, t.iframe, .2)
        if is_close and state != 'inactive':
            glyph(img, 'close', (0, 0, w, h), darken(base, .5), 1.0, 2.6)
        glyph(img, gk, (0, 0, w, h), fg, 1.0, 1.6)
        return img
    if style == 'flat':
        if state == 'hot':
            fill = t.close if is_close else (mix(t.cap[0][1], (255, 255, 255), .22) if luma(t.cap[0][1]) < 200
                                            else (229, 229, 229))
            rounded_box(img, (0, 0, w, h), 0, fill)
            fg = (255, 255, 255) if is_close else fg
        elif state == 'down':
            fill = darken(t.close, .2) if is_close else (mix(t.cap[0][1], (0, 0, 0), .2) if luma(t.cap[0][1]) < 200
                                                         else (202, 202, 202))
            rounded_box(img, (0, 0, w, h), 0, fill)
            fg = (255, 255, 255) if is_close or luma(fill) < 140 else fg
        glyph(img, gk, (0, 0, w, h), fg, 0.95, 1.1)
        return img
    if style == 'pill':
        if state in ('hot', 'down'):
            if state == 'hot':
                stops = [(0, (255, 246, 208)), (0.5, (255, 229, 150)), (0.51, (255, 214, 102)), (1, (255, 232, 160))]
                border = (200, 164, 80)
            else:
                stops = [(0, (250, 196, 110)), (0.5, (248, 178, 84)), (0.51, (240, 156, 56)), (1, (250, 190, 100))]
                border = (170, 120, 50)
            if is_close:
                stops = [(0, lighten(t.close, .45)), (0.5, lighten(t.close, .15)), (0.51, t.close), (1, lighten(t.close, .3))] \
                    if state == 'hot' else [(0, darken(t.close, .1)), (1, darken(t.close, .25))]
                border = darken(t.close, .4)
            rounded_box(img, (1, 1, w - 1, h - 1), 3, vgrad(w - 2, h - 2, stops), border=border)
            fg = (255, 255, 255) if is_close else (40, 40, 40)
        glyph(img, gk, (0, 0, w, h), fg, 0.95, 1.3)
        return img
    if style == 'luna':
        base = t.close if is_close else lighten(t.acc, .08)
        if state == 'inactive':
            base = mix(base, t.iframe, .55)
        elif state == 'hot':
            base = lighten(base, .18)
        elif state == 'down':
            base = darken(base, .18)
        stops = [(0, lighten(base, .55)), (0.3, lighten(base, .2)), (0.8, base), (1, darken(base, .12))]
        if state == 'down':
            stops = [(0, darken(base, .1)), (0.5, base), (1, lighten(base, .3))]
        rounded_box(img, (0, 0, w, h), 3, vgrad(w, h, stops), border=(255, 255, 255) if state != 'inactive'
                    else lighten(t.iframe, .5))
        glyph(img, gk, (0, 0, w, h), (255, 255, 255) if state != 'inactive' else lighten(t.iframe, .7), 1.0, 1.8)
        return img
    if style == 'bevel':
        face = lighten(t.face, .2) if state == 'hot' else t.face
        img = Image.new('RGB', (w, h), face)
        dr = ImageDraw.Draw(img)
        hi, lo, lo2 = (255, 255, 255), (64, 64, 64), darken(t.face, .35)
        if state == 'down':
            hi, lo = lo, hi
            lo2 = lighten(t.face, .3)
        dr.line([(0, h - 1), (0, 0), (w - 1, 0)], fill=hi)
        dr.line([(w - 1, 0), (w - 1, h - 1), (0, h - 1)], fill=lo)
        dr.line([(w - 2, 1), (w - 2, h - 2), (1, h - 2)], fill=lo2)
        off = 1 if state == 'down' else 0
        glyph(img, gk, (off, off, w + off, h + off), (0, 0, 0) if state != 'inactive' else (128, 128, 128),
              0.85, 1.5)
        return img
    if style == 'outline':
        if state == 'hot':
            rounded_box(img, (1, 1, w - 1, h - 1), 3, mix(t.cap[0][1], t.acc, .12),
                        border=t.close if is_close else t.acc)
            fg = t.close if is_close else lighten(t.acc, .35)
        elif state == 'down':
            rounded_box(img, (1, 1, w - 1, h - 1), 3, t.close if is_close else t.acc)
            fg = (255, 255, 255)
        glyph(img, gk, (0, 0, w, h), fg, 0.9, 1.3)
        return img
    # flatround (the house look)
    if state == 'hot':
        fill = t.close if is_close else mix(t.cap[1][1], (255, 255, 255), .2)
        rounded_box(img, (0, 0, w, h), 4, fill)
        fg = (255, 255, 255)
    elif state == 'down':
        fill = darken(t.close, .2) if is_close else mix(t.cap[1][1], (0, 0, 0), .18)
        rounded_box(img, (0, 0, w, h), 4, fill)
        fg = (255, 255, 255)
    glyph(img, gk, (0, 0, w, h), fg, 0.95, 1.35)
    return img


def draw_glow(w, h, g, color):
    """Glow picture and its grey mask for an object of w x h: (w + 2g) x (h + 2g)."""
    W, H = w + 2 * g, h + 2 * g
    pic = Image.new('RGB', (W, H), rgb(color))
    mask = soft_shadow(W, H, g - 2, 5, g / 2.2, 0.85)
    return pic, mask.convert('L')


def draw_layer_shadow(inner_w, inner_h, s, radius, dark=(0, 0, 0), strength=0.55):
    """A drop-shadow ring for a layered border: picture (black) and grey mask; the hole is the window."""
    W, H = inner_w + 2 * s, inner_h + 2 * s
    m = Image.new('L', (W, H), 0)
    body = shape_mask(inner_w + 4, inner_h + 4, radius + 2)
    m.paste(body, (s - 2, s))
    m = m.filter(ImageFilter.GaussianBlur(s / 2.4)).point(lambda v: int(v * strength))
    # the window itself is not part of the shadow
    hole = shape_mask(inner_w, inner_h, radius)
    m.paste(Image.new('L', (inner_w, inner_h), 0), (s, s), hole)
    pic = Image.new('RGB', (W, H), rgb(dark))
    return pic, m


# ---------------------------------------------------------------------------------------------- control faces

def face_img(t, w, h, color=None):
    return Image.new('RGB', (w, h), color if color is not None else t.face)


def push_button(t, w, h, state, r=None, flatbg=None):
    """Push-button face in one state: normal, hot, down, disabled, focused."""
    r = t.d['r'] if r is None else r
    img = face_img(t, w, h, flatbg)
    ctl = t.d['ctl']
    if ctl == 'bevel':
        face = lighten(t.face, .15) if state == 'hot' else t.face
        img = Image.new('RGB', (w, h), face)
        dr = ImageDraw.Draw(img)
        hi, lo, lo2 = (255, 255, 255), (40, 40, 40), darken(t.face, .35)
        if state == 'down':
            dr.rectangle([0, 0, w - 1, h - 1], outline=(40, 40, 40))
            dr.rectangle([1, 1, w - 2, h - 2], outline=darken(t.face, .35))
            return img
        if state == 'focused':
            dr.rectangle([0, 0, w - 1, h - 1], outline=(0, 0, 0))
            x0 = 1
        else:
            x0 = 0
        dr.line([(x0, h - 1 - x0), (x0, x0), (w - 1 - x0, x0)], fill=hi)
        dr.line([(w - 1 - x0, x0), (w - 1 - x0, h - 1 - x0), (x0, h - 1 - x0)], fill=lo)
        dr.line([(w - 2 - x0, 1 + x0), (w - 2 - x0, h - 2 - x0), (1 + x0, h - 2 - x0)], fill=lo2)
        return img
    if state == 'hot':
        stops, border = t.hot, t.hotb
    elif state == 'down':
        stops, border = t.down, darken(t.hotb, .15)
    elif state == 'disabled':
        stops = [(p, mix(c, t.face, .6)) for p, c in t.btn]
        border = mix(t.btnb, t.face, .55)
    else:
        stops, border = t.btn, t.btnb
    if ctl == 'soft' and state in ('normal', 'focused', 'disabled'):
        stops = [(0, stops[0][1]), (1, stops[-1][1])]
    inner = None
    if ctl in ('glossy', 'soft') and not t.dark and state != 'down':
        inner = lighten(stops[0][1], .6)
    if state == 'focused':
        border = t.hotb if ctl != 'flat' else t.acc
        inner = lighten(t.acc, .55) if not t.dark else None
    rounded_box(img, (0, 0, w, h), r, vgrad(w, h, stops), border=border, inner=inner)
    if state == 'focused' and ctl == 'flat':
        rounded_box(img, (1, 1, w - 1, h - 1), max(r - 1, 0), vgrad(w - 2, h - 2, stops), border=t.acc)
    return img


def tool_button(t, w, h, state, bg=None):
    """Flat tool-bar button: invisible when idle, framed when hot or pressed."""
    img = face_img(t, w, h, bg)
    if state in ('normal', 'disabled'):
        return img
    r = max(t.d['r'], 2) if t.d['ctl'] != 'bevel' else 0
    if t.d['ctl'] == 'bevel':
        dr = ImageDraw.Draw(img)
        hi, lo = ((255, 255, 255), darken(t.face, .35)) if state == 'hot' else (darken(t.face, .35), (255, 255, 255))
        dr.line([(0, h - 1), (0, 0), (w - 1, 0)], fill=hi)
        dr.line([(w - 1, 0), (w - 1, h - 1), (0, h - 1)], fill=lo)
        return img
    if state == 'hot':
        rounded_box(img, (0, 0, w, h), r, vgrad(w, h, t.hot), border=t.hotb)
    else:
        rounded_box(img, (0, 0, w, h), r, vgrad(w, h, t.down), border=darken(t.hotb, .15))
    return img


def edit_frame(t, w, h, state):
    img = face_img(t, w, h)
    r = min(t.d['r'], 2)
    if t.d['ctl'] == 'bevel':
        img = Image.new('RGB', (w, h), t.window if state != 'disabled' else t.face)
        dr = ImageDraw.Draw(img)
        dr.line([(0, h - 1), (0, 0), (w - 1, 0)], fill=darken(t.face, .35))
        dr.line([(1, h - 2), (1, 1), (w - 2, 1)], fill=(40, 40, 40))
        dr.line([(w - 1, 0), (w - 1, h - 1), (0, h - 1)], fill=(255, 255, 255))
        dr.line([(w - 2, 1), (w - 2, h - 2), (1, h - 2)], fill=lighten(t.face, .3))
        return img
    border = t.edgeb if state == 'normal' else (t.acc if state == 'active' else mix(t.edgeb, t.face, .5))
    fill = t.window if state != 'disabled' else mix(t.window, t.face, .6)
    rounded_box(img, (0, 0, w, h), r, fill, border=border)
    return img


def small_button(t, w, h, state, kind=None, bg=None):
    """Small button (spin arrows, drop-down buttons, scroll arrows): a push button with an optional arrow glyph."""
    if t.d['ctl'] == 'flat' and state == 'normal':
        img = face_img(t, w, h, bg if bg is not None else t.window)
    else:
        img = push_button(t, w, h, 'normal' if state == 'normal' else state, r=min(t.d['r'], 2),
                          flatbg=bg if bg is not None else t.window)
    if kind:
        col = t.text if state != 'disabled' else t.dtext
        if t.d['ctl'] == 'flat' and state == 'down' and t.dark:
            col = (255, 255, 255)
        off = 1 if state == 'down' and t.d['ctl'] == 'bevel' else 0
        glyph(img, kind, (off, off, w + off, h + off), col, 0.8, 1.0)
    return img


def check_box(t, size, checked, state, radio=False):
    """13 x 13 check box or radio button image on the face colour."""
    s = size
    img = face_img(t, s, s)
    if state == 'disabled':
        border, fill, mark = mix(t.edgeb, t.face, .5), mix(t.window, t.face, .6), t.dtext
    elif state == 'hot':
        border, fill, mark = t.hotb, lighten(t.acc, .88) if not t.dark else mix(t.acc, t.window, .8), t.acc
    else:
        border, fill, mark = t.edgeb, t.window, t.acc
    if t.d['ctl'] == 'flat' and checked is True and not radio:
        fill, mark, border = (t.acc, (255, 255, 255), t.acc) if state != 'disabled' else (fill, mark, border)
    if t.dark:
        mark = lighten(t.acc, .35) if not (t.d['ctl'] == 'flat' and checked is True and not radio) else mark
    if radio:
        aa_ellipse(img, (0, 0, s, s), fill, outline=border, width=1.0)
        if checked:
            glyph(img, 'radio', (0, 0, s, s), mark, 1.0)
    else:
        # The engine draws a check image with its bottom-left pixel's colour transparent: a square box would lose
        # its border, so even the bevel look keeps its corners off the border colour.
        rounded_box(img, (0, 0, s, s), 2 if t.d['ctl'] != 'bevel' else 1, fill, border=border)
        if checked is True:
            glyph(img, 'check', (0, 0, s, s), mark, 0.95, 1.45)
        elif checked == 'grayed':
            glyph(img, 'grayed', (0, 0, s, s), mix(mark, fill, .3), 1.0)
    return img


def scroll_track(t, w, h, vertical):
    c0 = mix(t.face, t.window, .5) if not t.dark else darken(t.face, .2)
    img = Image.new('RGB', (w, h), c0)
    dr = ImageDraw.Draw(img)
    if vertical:
        dr.line([(0, 0), (0, h - 1)], fill=mix(c0, t.edgeb, .35))
    else:
        dr.line([(0, 0), (w - 1, 0)], fill=mix(c0, t.edgeb, .35))
    return img


def scroll_thumb(t, w, h, state, vertical):
    bg = mix(t.face, t.window, .5) if not t.dark else darken(t.face, .2)
    img = Image.new('RGB', (w, h), bg)
    if t.d['ctl'] == 'bevel':
        return push_button(t, w, h, 'normal' if state == 'normal' else 'hot')
    if t.d['ctl'] == 'flat':
        c = mix(bg, t.text, {'normal': .28, 'hot': .42, 'down': .56}[state])
        x0, y0, x1, y1 = (3, 1, w - 3, h - 1) if vertical else (1, 3, w - 1, h - 3)
        rounded_box(img, (x0, y0, x1, y1), 2 if t.d['r'] else 0, c)
        return img
    stops = t.btn if state == 'normal' else (t.hot if state == 'hot' else t.down)
    border = t.btnb if state == 'normal' else t.hotb
    if vertical:
        grad = hgrad(w - 2, h, stops)
        rounded_box(img, (1, 0, w - 1, h), 2, grad, border=border)
    else:
        rounded_box(img, (0, 1, w, h - 1), 2, vgrad(w, h - 2, stops), border=border)
    return img


def tab_face(t, w, h, state):
    img = face_img(t, w, h)
    r = t.d['r']
    if t.d['ctl'] == 'flat':
        if state == 'active':
            img = Image.new('RGB', (w, h), t.window if t.design != 'carbon' else t.face)
            dr = ImageDraw.Draw(img)
            dr.rectangle([0, 0, w - 1, 2], fill=t.acc)
            dr.line([(0, 0), (0, h - 1)], fill=t.edgeb)
            dr.line([(w - 1, 0), (w - 1, h - 1)], fill=t.edgeb)
        elif state == 'hot':
            img = Image.new('RGB', (w, h), mix(t.face, t.acc, .12))
            ImageDraw.Draw(img).line([(0, h - 1), (w - 1, h - 1)], fill=t.edgeb)
        else:
            ImageDraw.Draw(img).line([(0, h - 1), (w - 1, h - 1)], fill=t.edgeb)
        return img
    if state == 'active':
        stops, border = [(0, t.window), (1, t.window)], t.edgeb
    elif state == 'hot':
        stops, border = t.hot, t.hotb
    else:
        stops, border = [(0, lighten(t.face, .5)), (1, darken(t.face, .06))], t.edgeb
    y0 = 0 if state == 'active' else 2
    rounded_box(img, (0, y0, w, h + r + 1), (r, r, 0, 0), vgrad(w, h + r + 1 - y0, stops), border=border)
    if state == 'active':
        ImageDraw.Draw(img).line([(1, 0), (w - 2, 0)], fill=t.acc)
        ImageDraw.Draw(img).line([(2, 1), (w - 3, 1)], fill=lighten(t.acc, .4))
    else:
        ImageDraw.Draw(img).line([(0, h - 1), (w - 1, h - 1)], fill=t.edgeb)
    return img


def page_frame(t, w, h):
    img = Image.new('RGB', (w, h), t.window if t.design not in ('carbon',) else t.face)
    dr = ImageDraw.Draw(img)
    dr.rectangle([0, 0, w - 1, h - 1], outline=t.edgeb)
    return img


def header_face(t, w, h, state):
    if state == 'normal':
        stops = [(0, t.window), (1, mix(t.window, t.face, .8))] if not t.dark else [(0, t.face), (1, darken(t.face, .1))]
    elif state == 'hot':
        stops = t.hot
    else:
        stops = t.down
    img = vgrad(w, h, stops)
    dr = ImageDraw.Draw(img)
    dr.line([(0, h - 1), (w - 1, h - 1)], fill=t.edgeb)
    dr.line([(w - 1, 3), (w - 1, h - 4)], fill=mix(t.edgeb, t.window, .4))
    return img


def item_face(t, w, h, state):
    """List and menu item highlight: normal is the window colour, active a soft selection box."""
    base = t.window
    img = Image.new('RGB', (w, h), base)
    if state == 'normal':
        return img
    r = min(t.d['r'], 3)
    if t.d['ctl'] in ('flat', 'bevel'):
        fill = t.hi if state == 'focus' or t.d['ctl'] == 'bevel' else t.sel
        rounded_box(img, (0, 0, w, h), 0, fill)
        return img
    stops = [(0, lighten(t.sel, .4)), (1, t.sel)]
    rounded_box(img, (0, 0, w, h), r, vgrad(w, h, stops), border=t.selb if state == 'focus' else mix(t.selb, base, .3))
    return img


def gauge_trough(t, w, h):
    img = face_img(t, w, h)
    r = min(t.d['r'], 3)
    fill = vgrad(w, h, [(0, mix(t.window, t.face, .7)), (1, t.window)]) if not t.dark else darken(t.face, .25)
    rounded_box(img, (0, 0, w, h), r, fill, border=t.edgeb)
    return img


def gauge_fill(t, w, h, vertical=False):
    stops = t.progress
    img = vgrad(w, h, stops) if not vertical else hgrad(w, h, stops)
    return img


def panel_face(t, w, h, kind):
    """Panel family: plain panel, group box frame, tool bar, status bar, menu page."""
    if kind == 'panel':
        img = Image.new('RGB', (w, h), t.face)
        ImageDraw.Draw(img).rectangle([0, 0, w - 1, h - 1], outline=mix(t.edgeb, t.face, .35))
        return img
    if kind == 'groupbox':
        img = Image.new('RGB', (w, h), t.face)
        r = min(t.d['r'], 4)
        rounded_box(img, (0, 8, w, h), r, t.face, border=mix(t.edgeb, t.face, .25))
        return img
    if kind == 'toolbar':
        img = vgrad(w, h, t.toolbar)
        ImageDraw.Draw(img).line([(0, h - 1), (w - 1, h - 1)], fill=mix(t.edgeb, t.face, .4))
        return img
    if kind == 'statusbar':
        img = vgrad(w, h, [(0, lighten(t.face, .3)), (1, t.face)] if not t.dark else [(0, t.face), (1, t.face)])
        if t.design in ('metro', 'office13'):
            img = Image.new('RGB', (w, h), t.acc if t.design == 'metro' else (240, 240, 240))
        ImageDraw.Draw(img).line([(0, 0), (w - 1, 0)], fill=mix(t.edgeb, t.face, .3))
        return img
    img = Image.new('RGB', (w, h), t.window)  # menu page
    return img


def label_face(t, w, h):
    """Menu header / label bar: a quiet band with a bottom rule."""
    img = vgrad(w, h, [(0, mix(t.face, t.window, .5)), (1, t.face)])
    ImageDraw.Draw(img).line([(0, h - 1), (w - 1, h - 1)], fill=mix(t.edgeb, t.face, .35))
    return img


def tree_box(t, plus):
    img = Image.new('RGB', (9, 9), t.window)
    ImageDraw.Draw(img).rectangle([0, 0, 8, 8], outline=mix(t.edgeb, t.window, .2))
    glyph(img, 'plus' if plus else 'minus', (0, 0, 9, 9), t.text, 1.0)
    return img


# ---------------------------------------------------------------------------------------------- popup, hint

def popup_window(t, w, h):
    img = Image.new('RGB', (w, h), t.menu)
    r = min(t.d['r'], 4)
    border = mix(t.edgeb, (0, 0, 0), .15)
    rounded_box(img, (0, 0, w, h), r, t.menu, border=border)
    if t.d['ctl'] in ('glossy', 'soft') and not t.dark:
        # the icon column of the menu
        dr = ImageDraw.Draw(img)
        dr.rectangle([2, 2, 25, h - 3], fill=mix(t.menu, t.face, .7))
        dr.line([(26, 2), (26, h - 3)], fill=mix(t.edgeb, t.menu, .5))
    return img


def hint_window(t, w, h):
    img = Image.new('RGB', (w, h), (255, 255, 255))
    r = min(max(t.d['r'], 2), 4)
    stops = [(0, lighten(t.hint, .6)), (1, t.hint)]
    rounded_box(img, (0, 0, w, h), r, vgrad(w, h, stops), border=t.hintb)
    return img


def round_mask(w, h, r):
    m = shape_mask(w, h, r)
    return m.point(lambda v: 0 if v >= 128 else 255).convert('1')


def menu_arrow(t, active):
    img = Image.new('RGB', (7, 9), t.menuhi if active else t.menu)
    glyph(img, 'right', (0, 0, 7, 9), t.menutext, 0.7)
    return img


def menu_mark(t, kind, active):
    bg = t.menuhi if active else t.menu
    img = Image.new('RGB', (16, 16), bg)
    glyph(img, kind, (0, 0, 16, 16), t.acc if not active else darken(t.acc, .2), 1.0, 1.5)
    return img


def separator(t, w, h):
    img = Image.new('RGB', (w, h), t.menu)
    ImageDraw.Draw(img).line([(0, h // 2), (w - 1, h // 2)], fill=mix(t.edgeb, t.menu, .45))
    return img


def animation_strip(t, w, h, frames):
    """Caption animation: frames of an envelope glyph that brightens step by step (left to right)."""
    out = Image.new('RGB', (w * frames, h), (0, 0, 0))
    for i in range(frames):
        k = i / max(frames - 1, 1)
        cell = Image.new('RGB', (w, h), mix(t.cap[0][1], t.cap[-1][1], .5))
        glow = mix(t.capfg, t.acc if luma(t.acc) > 100 else lighten(t.acc, .5), 1 - k)
        rounded_box(cell, (1, 1, w - 1, h - 1), 4, mix(cell.getpixel((0, 0)), glow, 0.25 + 0.5 * k))
        glyph(cell, 'sysmenu', (0, 0, w, h), t.capfg, 1.0, 1.3)
        out.paste(cell, (i * w, 0))
    return out
