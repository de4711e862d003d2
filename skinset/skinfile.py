"""The skin folder writer: ini text in the skin ini syntax plus BMP pictures, and a shelf atlas for picture sheets."""

import io
import os

from PIL import Image


def fmt(v):
    """A value in the ini syntax: rectangles and points as comma lists, booleans as 1/0, the rest as text."""
    if isinstance(v, bool):
        return '1' if v else '0'
    if isinstance(v, (tuple, list)):
        return ','.join(str(int(x)) for x in v)
    return str(v)


class Atlas:
    """Packs named images into one picture, shelf by shelf, in the order they are added (deterministic)."""

    def __init__(self, width, bg=(255, 0, 255), gap=1):
        self.width = width
        self.bg = bg
        self.gap = gap
        self.items = []  # (image, x, y)
        self.x = 0
        self.y = 0
        self.shelf = 0

    def add(self, img):
        w, h = img.size
        if w > self.width:
            raise ValueError('image wider than atlas')
        if self.x + w > self.width:
            self.x = 0
            self.y += self.shelf + self.gap
            self.shelf = 0
        pos = (self.x, self.y)
        self.items.append((img, pos))
        self.x += w + self.gap
        self.shelf = max(self.shelf, h)
        return (pos[0], pos[1], pos[0] + w, pos[1] + h)

    def add_row(self, imgs):
        """Several images side by side on one shelf; returns their rectangles."""
        total = sum(i.size[0] for i in imgs) + self.gap * (len(imgs) - 1)
        if self.x + total > self.width:
            self.newline()
        return [self.add(i) for i in imgs]

    def newline(self):
        if self.x:
            self.x = 0
            self.y += self.shelf + self.gap
            self.shelf = 0

    def render(self):
        h = self.y + self.shelf
        out = Image.new('RGB', (self.width, max(h, 1)), self.bg)
        for img, pos in self.items:
            if img.mode == 'RGBA':
                out.paste(img.convert('RGB'), pos, img.getchannel('A'))
            else:
                out.paste(img.convert('RGB'), pos)
        return out


class Skin:
    """One skin: its pictures and its ini sections, written as a folder."""

    def __init__(self, name, description, author='Trelm Mail'):
        self.name = name
        self.description = description
        self.sections = {}  # insertion ordered: name -> dict key -> value
        self.pictures = []  # active pictures: [file name, image, bmp mode]
        self.main = self.inactive = self.mask = None  # (file name, image, mode)
        self.objects = []  # (idname, kind)
        self.controls = []
        sec = self.section('VERSION')
        sec['ver'] = 1
        sec['skinname'] = name
        sec['skinauthor'] = author
        sec['authoremail'] = ''
        sec['authorurl'] = ''
        sec['skincomments'] = description

    def section(self, name):
        return self.sections.setdefault(name, {})

    def add_picture(self, fname, img, mode=None):
        for i, p in enumerate(self.pictures):
            if p[0] == fname:
                raise ValueError('duplicate picture ' + fname)
        self.pictures.append([fname, img, mode or img.mode])
        return len(self.pictures) - 1

    def add_object(self, idname, kind, keys):
        self.objects.append((idname, kind))
        self._entry(idname, keys)

    def add_control(self, idname, kind, keys):
        self.controls.append((idname, kind))
        self._entry(idname, keys)

    def _entry(self, idname, keys):
        # section names compare without regard to case in an ini file
        if idname.lower() in (n.lower() for n in self.sections):
            raise ValueError('duplicate entry ' + idname)
        self.sections[idname] = dict(keys)

    def ini_text(self):
        order = ['VERSION', 'PICTURES', 'FORMINFO', 'POPUPWINDOW', 'LAYERFRAME', 'HINTWINDOW', 'SKINCOLORS']
        pics = self.section('PICTURES')
        pics.clear()
        pics['picture'] = self.main[0] if self.main else ''
        pics['inactivepicture'] = self.inactive[0] if self.inactive else ''
        pics['mask'] = self.mask[0] if self.mask else ''
        pics['activepicturescount'] = len(self.pictures)
        for i, p in enumerate(self.pictures):
            pics[str(i)] = p[0]
        lines = []

        def emit(name, keys):
            lines.append('[%s]' % name)
            for k, v in keys.items():
                lines.append('%s=%s' % (k, fmt(v)))
            lines.append('')

        for name in order:
            if name in self.sections:
                emit(name, self.sections[name])
        for listname, entries in (('SKINOBJECTS', self.objects), ('SKINCONTROLS', self.controls)):
            keys = {'count': len(entries)}
            for i, (idn, kind) in enumerate(entries):
                keys[str(i)] = '%s:%s' % (idn, kind)
            emit(listname, keys)
            for idn, _ in entries:
                emit(idn, self.sections[idn])
        text = '\r\n'.join(lines) + '\r\n'
        text.encode('ascii')  # the stored skins are 7-bit text
        return text

    def files(self):
        """[(file name, bytes)] of the folder: the ini file first, then every picture as BMP."""
        out = [('skin.ini', self.ini_text().encode('ascii'))]
        seen = set()
        for p in ([self.main, self.inactive, self.mask] + self.pictures):
            if p is None or p[0] in seen:
                continue
            seen.add(p[0])
            out.append((p[0], bmp_bytes(p[1], p[2])))
        return out

    def write(self, folder):
        os.makedirs(folder, exist_ok=True)
        for fname, data in self.files():
            with open(os.path.join(folder, fname), 'wb') as f:
                f.write(data)


def bmp_bytes(img, mode):
    """A BMP file image: mode '1' (1-bit), 'L' (8-bit grey palette), 'P' (8-bit), 'RGB' (24-bit) or 'RGBA' (32-bit)."""
    if img.mode != mode:
        img = img.convert(mode)
    buf = io.BytesIO()
    img.save(buf, format='BMP')
    return buf.getvalue()
