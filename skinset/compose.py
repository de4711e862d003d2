"""A small compositor that puts a skin's own pictures together the way the engine does (nine-part images, the
caption button row), for the contact sheet. It reads the skin back from its ini folder, so the sheet shows what
was written, not what the generator meant to write."""

import configparser
import os

from PIL import Image, ImageDraw, ImageFont

FONT_DIRS = ['/usr/share/fonts/truetype/dejavu', '/usr/share/fonts/truetype/liberation']


def load_font(bold=False, size=12):
    names = ['DejaVuSans-Bold.ttf' if bold else 'DejaVuSans.ttf',
             'LiberationSans-Bold.ttf' if bold else 'LiberationSans-Regular.ttf']
    for d in FONT_DIRS:
        for n in names:
            p = os.path.join(d, n)
            if os.path.exists(p):
                return ImageFont.truetype(p, size)
    return ImageFont.load_default()


def read_ini(path):
    cp = configparser.RawConfigParser(strict=False, interpolation=None)
    cp.optionxform = str.lower
    with open(path, encoding='ascii') as f:
        cp.read_file(f)
    return cp


def rect(v):
    return tuple(int(''.join(ch for ch in f if ch.isdigit()) or 0) for f in v.split(','))[:4]


def point(v):
    return tuple(int(''.join(ch for ch in f if ch.isdigit()) or 0) for f in v.split(','))[:2]


def colour(v):
    n = int(v)
    return (n & 255, (n >> 8) & 255, (n >> 16) & 255)


class LoadedSkin:
    def __init__(self, folder):
        self.folder = folder
        self.ini = read_ini(os.path.join(folder, 'skin.ini'))
        p = self.ini['PICTURES']
        self.main = self._bmp(p.get('picture', ''))
        self.mask = self._bmp(p.get('mask', ''))
        self.inactive = self._bmp(p.get('inactivepicture', ''))
        n = int(p.get('activepicturescount', '0'))
        self.pics = [self._bmp(p.get(str(i))) for i in range(n)]
        self.name = self.ini['VERSION'].get('skinname', '')

    def _bmp(self, name):
        if not name:
            return None
        im = Image.open(os.path.join(self.folder, name))
        im.load()
        return im.convert('RGB') if im.mode != 'L' else im

    def sec(self, name):
        return self.ini[name]


def nine_part(src, r, lt, rtp, lb, rbp, cl, w, h, stretch=True):
    """Compose a w x h image from rectangle r of src with corner points and client rectangle relative to r."""
    s = src.crop(r)
    rw, rh = s.size
    out = Image.new('RGB', (w, h))
    dx, dy = w - rw, h - rh
    ncl = (cl[0], cl[1], cl[2] + dx, cl[3] + dy)
    nlt, nrt = lt, (rtp[0] + dx, rtp[1])
    nlb, nrb = (lb[0], lb[1] + dy), (rbp[0] + dx, rbp[1] + dy)

    def put(sr, dr):
        sx0, sy0, sx1, sy1 = sr
        dx0, dy0, dx1, dy1 = dr
        if sx1 <= sx0 or sy1 <= sy0 or dx1 <= dx0 or dy1 <= dy0:
            return
        piece = s.crop(sr)
        if piece.size != (dx1 - dx0, dy1 - dy0):
            piece = piece.resize((dx1 - dx0, dy1 - dy0), Image.NEAREST if not stretch else Image.BILINEAR)
        out.paste(piece, (dx0, dy0))

    put((lt[0], 0, rtp[0], cl[1]), (nlt[0], 0, nrt[0], ncl[1]))
    put((lb[0], cl[3], rbp[0], rh), (nlb[0], ncl[3], nrb[0], h))
    put((0, lt[1], cl[0], lb[1]), (0, nlt[1], ncl[0], nlb[1]))
    put((cl[2], rtp[1], rw, rbp[1]), (ncl[2], nrt[1], w, nrb[1]))
    put((0, 0, lt[0], cl[1]), (0, 0, nlt[0], ncl[1]))
    put((0, cl[1], cl[0], lt[1]), (0, ncl[1], ncl[0], nlt[1]))
    put((rtp[0], 0, rw, cl[1]), (nrt[0], 0, w, ncl[1]))
    put((cl[2], cl[1], rw, rtp[1]), (ncl[2], ncl[1], w, nrt[1]))
    put((0, lb[1], cl[0], rh), (0, nlb[1], ncl[0], h))
    put((cl[0], cl[3], lb[0], rh), (ncl[0], ncl[3], nlb[0], h))
    put((rbp[0], cl[3], rw, rh), (nrb[0], ncl[3], w, h))
    put((cl[2], rbp[1], rw, cl[3]), (ncl[2], nrb[1], w, ncl[3]))
    put(cl, ncl)
    return out


def control_image(sk, name, w, h, state_key='skinrect'):
    c = sk.sec(name)
    pic = sk.pics[int(c['pictureindex'])]
    r = rect(c[state_key])
    if r[2] <= r[0]:
        r = rect(c['skinrect'])
    base = rect(c['skinrect'])
    # the corner points and client rectangle are relative to the entry's normal rectangle; the state rectangles
    # share its size
    return nine_part(pic, r, point(c['lefttoppoint']), point(c['righttoppoint']), point(c['leftbottompoint']),
                     point(c['rightbottompoint']), rect(c['clientrect']), w, h) if base else None


def render_window(sk, W, H, active=True, title=None, icons=('close', 'max', 'min', 'tray')):
    fi = sk.sec('FORMINFO')
    pic = sk.main if active or sk.inactive is None else sk.inactive
    Pw, Ph = pic.size
    lt, rtp, lb, rbp = (point(fi[k]) for k in ('lefttoppoint', 'righttoppoint', 'leftbottompoint', 'rightbottompoint'))
    cl = rect(fi['clientrect'])
    img = nine_part(pic, (0, 0, Pw, Ph), lt, rtp, lb, rbp, cl, W, H)
    dx = W - Pw
    # caption text
    cap = sk.sec('caption')
    cr = rect(cap['skinrect'])
    tr = rect(cap['textrect'])
    f = load_font('fsbold' in cap.get('fontstyle', ''), 12 if int(cap.get('fontheight', '13')) <= 13 else 13)
    col = colour(cap['activefontcolor'] if active else cap['fontcolor'])
    dr = ImageDraw.Draw(img)
    x0 = cr[0] + tr[0]
    x1 = cr[0] + tr[2] + dx
    text = title if title is not None else sk.name
    # the text is cut to its area with an ellipsis, as the caption object does
    while len(text) > 1 and dr.textlength(text, font=f) > x1 - x0 - 2:
        text = text[:-2] + '\u2026'
    if dr.textlength(text, font=f) > x1 - x0 - 2:
        text = ''
    tw = dr.textlength(text, font=f)
    y = cr[1] + (tr[3] - tr[1]) // 2 + tr[1]
    if cap.get('alignment') == 'tacenter':
        tx = x0 + (x1 - x0 - tw) / 2
    else:
        tx = x0 + 2
    # the system menu button (form icon) sits at the caption rectangle's left
    capr = rect(fi['captionrect'])
    bs = sk.sec('sysmenubutton')
    if cap.get('alignment') != 'tacenter':
        tx += 0
    if cap.get('shadow') == '1' and active:
        dr.text((tx + 1, y + 1), text, font=f, fill=colour(cap['activeshadowcolor']), anchor='lm')
    dr.text((tx, y), text, font=f, fill=col, anchor='lm')
    # caption buttons, right-aligned row
    br = rect(fi['buttonsrect'])
    gap = int(fi.get('buttonsoffset', '0'))
    x = br[2] + dx
    bpic = sk.pics[int(sk.sec('closebutton')['activepictureindex'])]
    names = {'close': 'closebutton', 'max': 'maxbutton', 'min': 'minbutton', 'rollup': 'rollupbutton',
             'tray': 'traybutton'}
    for k in ('close', 'max', 'min', 'rollup', 'tray'):
        if k not in icons:
            continue
        b = sk.sec(names[k])
        r = rect(b['skinrect'] if active else b['inactiveskinrect'])
        cell = bpic.crop(r)
        x -= cell.width
        img.paste(cell, (x, br[1]))
        x -= gap
    # window shape
    if sk.mask is not None:
        m = sk.mask.convert('L')
        mimg = nine_part(m.convert('RGB'), (0, 0, Pw, Ph), lt, rtp, lb, rbp, cl, W, H, stretch=False).convert('L')
        shape = mimg.point(lambda v: 255 if v < 128 else 0)
    else:
        shape = Image.new('L', (W, H), 255)
    return img, shape, (cl[0], cl[1], cl[2] + dx, cl[3] + H - Ph)


def text_in(img, box, text, color, font, align='center'):
    dr = ImageDraw.Draw(img)
    x0, y0, x1, y1 = box
    tw = dr.textlength(text, font=font)
    tx = x0 + (x1 - x0 - tw) / 2 if align == 'center' else x0
    dr.text((tx, (y0 + y1) / 2), text, font=font, fill=color, anchor='lm')
