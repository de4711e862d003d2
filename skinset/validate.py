#!/usr/bin/python3
"""Checks a built skin set (the ini folders that skingen.py writes) before it is packed into the programs.

Per skin: the skin test sections exist; every picture file is a readable BMP; every picture index is -1 or in
range; every rectangle lies inside the picture it names (or inside its entry's image when it is relative to it);
corner points are ordered; no negative value is written except -1 for "no picture"; every name a record refers to
(scroll bars, list box, up-down, menu bar items and buttons) is present; every name the two programs ask for is
present. Over the set: indices 0-86 without gaps, unique names, and the coverage the engine's paths need.

  validate.py SETDIR              check a built set
  validate.py --build SETDIR      build it first (skingen.py build), then check it
"""

import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from PIL import Image  # noqa: E402

import compose  # noqa: E402
from draw import (LIST_TEXT_NEED, REMINDER_ROWS, ROW_TEXT_NEED, contrast as contrast_ratio, title_band,  # noqa: E402
                  worst_contrast)
from theme import CLIENT_MATCH, SYSTEM_FACE  # noqa: E402

OBJECT_KINDS = {'menuitem', 'mainmenubaritem', 'stdbutton', 'mainmenubarbutton', 'button', 'caption', 'animate',
                'userobject'}
CONTROL_KINDS = {'panel', 'expanel', 'menubutton', 'button', 'checkradio', 'gauge', 'splitter', 'trackbar', 'label',
                 'stdlabel', 'updown', 'grid', 'tab', 'mainmenubar', 'controlbar', 'appmenu', 'memo', 'edit',
                 'checklistbox', 'listbox', 'combobox', 'scrollbar', 'spinedit', 'scrollbox', 'treeview', 'bevel',
                 'slider', 'listview', 'richedit'}
# Control entries the notifier, the installer and their dialogs ask for by name.
REQUIRED_CONTROLS = [
    'button', 'resizebutton', 'resizetoolbutton', 'toolbutton', 'toolmenubutton', 'officemenubutton',
    'officequickbutton', 'menuitembutton', 'header', 'checkbox', 'radiobox', 'edit', 'buttonedit', 'spinedit',
    'hupdown', 'vupdown', 'combobox', 'listbox', 'checklistbox', 'memo', 'hscrollbar', 'vscrollbar',
    'bothhscrollbar', 'tab', 'officetab', 'panel', 'groupbox', 'toolpanel', 'resizetoolpanel', 'statusbar',
    'menupagepanel', 'stdlabel', 'label', 'menuheader', 'gauge', 'bevel', 'listview', 'treeview', 'appmenu',
    'mainmenubar', 'combobutton', 'editbutton', 'bigtoolbutton', 'bigtoolpanel', 'bigtoolmenubutton',
    'bigtoolmenutrackbutton', 'toolmenutrackbutton', 'htracktoolbutton', 'vtracktoolbutton', 'officeribbonbutton',
    'vgauge', 'updown']
REQUIRED_BUTTONS = {'cmclose', 'cmmaximize', 'cmminimize', 'cmsysmenu', 'cmminimizetotray', 'cmrollup'}
COMMANDS = {'cmclose', 'cmmaximize', 'cmminimize', 'cmsysmenu', 'cmdefault', 'cmrollup', 'cmminimizetotray'}
MORPHS = {'mkdefault', 'mkgradient', 'mkleftgradient', 'mkrightgradient', 'mkleftslide', 'mkrightslide', 'mkpush'}
# The entries the installer's wizard reads from its one skin, with their kinds.
WIZARD_CONTROLS = {'panel': 'panel', 'label': 'label', 'stdlabel': 'stdlabel', 'button': 'button',
                   'resizetoolbutton': 'button', 'tab': 'tab', 'memo': 'memo', 'vscrollbar': 'scrollbar',
                   'checkbox': 'checkradio', 'radiobox': 'checkradio', 'edit': 'edit', 'listbox': 'listbox',
                   'combobox': 'combobox', 'listview': 'listview', 'gauge': 'gauge'}
# Rectangles given relative to an image of the entry rather than as places in a picture: key -> the rectangle
# whose size bounds them (the entry's own image, or its item image).
RELATIVE = {'clientrect': 'skinrect', 'textrect': 'skinrect', 'trackarea': 'skinrect', 'progressarea': 'skinrect',
            'checkimagearea': 'skinrect', 'textarea': 'skinrect', 'captionrect': 'skinrect',
            'trackbuttonrect': 'skinrect', 'imagerect': 'skinrect', 'frametextrect': 'framerect',
            'buttonsarea': 'skinrect', 'itemsrect': 'skinrect', 'framerect': 'skinrect', 'itemtextrect': 'itemrect',
            'itemcheckrect': 'itemrect'}
# Rectangles relative to the entry's image for one kind of entry only: a scroll bar's buttons are drawn in their
# normal look as parts of the bar's own picture (their hot and pressed looks are places in the picture).
KIND_RELATIVE = {'scrollbar': {'upbuttonrect': 'skinrect', 'downbuttonrect': 'skinrect'},
                 'edit': {'buttonrect': 'skinrect'}}
POINTS = ('lefttoppoint', 'righttoppoint', 'leftbottompoint', 'rightbottompoint')
# Title against the caption it is drawn on, active and inactive (WCAG: large text and user-interface parts).
TITLE_CONTRAST = 3.0
NAME_REFS = {'listbox': ('hscrollbarname', 'vscrollbarname', 'bothhscrollbarname'),
             'checklistbox': ('hscrollbarname', 'vscrollbarname', 'bothhscrollbarname'),
             'combobox': ('listboxname',), 'tab': ('updown',)}


class Checker:
    def __init__(self, folder):
        self.folder = folder
        self.errors = []
        self.facts = {}

    def err(self, msg):
        self.errors.append('%s: %s' % (os.path.basename(self.folder), msg))

    def nums(self, sec, key, n):
        v = sec[key]
        fields = v.split(',')
        if len(fields) != n or not all(f.strip().isdigit() for f in fields):
            self.err('[%s] %s=%s is not %d non-negative numbers' % (sec.name, key, v, n))
            return None
        return tuple(int(f) for f in fields)

    def inside(self, sec, key, r, size, what):
        if r is None or (r[2] == r[0] and r[3] == r[1] and r[0] == 0 and r[1] == 0):
            return
        if r[0] > r[2] or r[1] > r[3]:
            self.err('[%s] %s=%s is not ordered' % (sec.name, key, sec[key]))
        elif size is None:
            self.err('[%s] %s names a place in %s, which does not exist' % (sec.name, key, what))
        elif r[2] > size[0] or r[3] > size[1]:
            self.err('[%s] %s=%s lies outside %s (%dx%d)' % (sec.name, key, sec[key], what, size[0], size[1]))

    def wizard(self):
        """The installer's skin: every entry its wizard reads, of the kind it reads, and a gauge whose bar has a
        place to fill and a picture to fill it with."""
        ctls = getattr(self, 'ctls', {})
        for name, kind in WIZARD_CONTROLS.items():
            if ctls.get(name) != kind:
                self.err('the wizard needs a %s entry %s' % (kind, name))
        if ctls.get('gauge') == 'gauge':
            sec = self.ini['gauge']
            for key in ('progressarea', 'progressrect'):
                r = self.nums(sec, key, 4) if key in sec else None
                if not r or r[2] <= r[0] or r[3] <= r[1]:
                    self.err('[gauge] %s is missing or empty' % key)

    def run(self):
        path = os.path.join(self.folder, 'skin.ini')
        try:
            with open(path, 'rb') as f:
                raw = f.read()
            raw.decode('ascii')
        except (OSError, UnicodeDecodeError) as e:
            self.err('skin.ini unreadable or not 7-bit: %s' % e)
            return
        if b'\r\n' not in raw or raw.replace(b'\r\n', b'').find(b'\n') >= 0:
            self.err('lines must end in CR LF')
        # a repeated section or key would be read once by the private-profile functions and twice elsewhere
        sec, keys, secs = None, set(), set()
        for ln in raw.decode('ascii').split('\r\n'):
            if ln.startswith('['):
                sec = ln[1:-1].lower()
                if sec in secs:
                    self.err('section [%s] repeated' % sec)
                secs.add(sec)
                keys = set()
            elif '=' in ln:
                k = ln.split('=', 1)[0].lower()
                if k in keys:
                    self.err('[%s] key %s repeated' % (sec, k))
                keys.add(k)
        ini = compose.read_ini(path)
        for s in ('VERSION', 'PICTURES', 'FORMINFO', 'SKINOBJECTS', 'SKINCONTROLS'):
            if not ini.has_section(s) or not ini[s]:
                self.err('section [%s] missing or empty' % s)
                return
        # no negative values, except -1 for "no picture"
        for s in ini.sections():
            for k, v in ini[s].items():
                if v.startswith('-') and not (k.endswith('pictureindex') and v == '-1'):
                    self.err('[%s] %s=%s: negative value' % (s, k, v))
        # pictures
        p = ini['PICTURES']
        sizes = {}

        def pic(name):
            if name in sizes:
                return sizes[name]
            try:
                im = Image.open(os.path.join(self.folder, name))
                if im.format != 'BMP':
                    raise ValueError('not a BMP')
                im.load()
                sizes[name] = im.size
            except Exception as e:  # noqa: BLE001 - any failure is a finding
                self.err('picture %s: %s' % (name, e))
                sizes[name] = None
            return sizes[name]

        main = pic(p['picture']) if p.get('picture') else None
        if main is None:
            self.err('no frame picture')
            return
        for key in ('inactivepicture', 'mask'):
            if p.get(key) and pic(p[key]) != main:
                self.err('%s is not the size of the frame picture' % key)
        n = int(p.get('activepicturescount', '0'))
        active = [pic(p.get(str(i), '')) if p.get(str(i)) else None for i in range(n)]
        self.facts['mask'] = bool(p.get('mask'))

        def apic(sec, key):
            if key not in sec:
                return None
            v = int(sec[key])
            if v == -1:
                return None
            if not 0 <= v < n:
                self.err('[%s] %s=%d out of range (0..%d)' % (sec.name, key, v, n - 1))
                return None
            return active[v]

        for s in ini.sections():
            for k in ini[s]:
                if k.endswith('pictureindex'):
                    apic(ini[s], k)

        # form frame
        fi = ini['FORMINFO']
        cl = self.nums(fi, 'clientrect', 4)
        pts = {k: self.nums(fi, k, 2) for k in POINTS}
        self.points_ordered(fi, pts, cl, main, form=True)
        for k in ('clientrect', 'buttonsrect', 'captionrect', 'maskrectarea'):
            if k in fi:
                self.inside(fi, k, self.nums(fi, k, 4), main, 'the frame picture')
        self.facts['modern'] = cl is not None and cl[0] == 1
        if cl is not None and cl[0] < cl[2] and cl[1] < cl[3]:
            # the form's client is tiled from this part of the frame picture; plain labels and pages paint the
            # system's button face over it, so a client that differs shows a box behind every label; a dark skin
            # (light label text) keeps a dark client, on which its skinned labels must read
            client = Image.open(os.path.join(self.folder, p['picture'])).convert('RGB').crop(cl)
            label = compose.colour(ini['stdlabel']['fontcolor']) if ini.has_section('stdlabel') else (0, 0, 0)
            dark = contrast_ratio(label, (0, 0, 0)) > contrast_ratio(label, (255, 255, 255))
            for px in sorted(set(client.getdata())):
                if dark and contrast_ratio(px, label) < LIST_TEXT_NEED:
                    self.err('the client area %s does not carry the labels\' text %s' % (px, label))
                    break
                if not dark and contrast_ratio(px, SYSTEM_FACE) >= CLIENT_MATCH:
                    self.err('the client area %s is not the system face %s: labels would show a box' %
                             (px, SYSTEM_FACE))
                    break
        if fi.get('autorenderinginactiveimage') == '1':
            self.facts['effect'] = fi.get('inactiveeffect')
        # popup, hint, layer frame: places within their own window pictures
        for s, idx in (('POPUPWINDOW', 'windowpictureindex'), ('HINTWINDOW', 'windowpictureindex'),
                       ('LAYERFRAME', 'pictureindex')):
            if not ini.has_section(s):
                continue
            sec = ini[s]
            size = apic(sec, idx)
            if size is None:
                continue
            if s == 'LAYERFRAME':
                self.facts['layer'] = True
                self.facts['fullborder'] = sec.get('fullborder') == '1'
                m = apic(sec, 'maskpictureindex')
                if m != size:
                    self.err('[LAYERFRAME] mask picture missing or not the size of the frame picture')
            mk = apic(sec, 'maskpictureindex')
            if mk is not None and mk != size:
                self.err('[%s] mask picture is not the size of the window picture' % s)
            for k, v in sec.items():
                if k in POINTS or k.startswith('hittest') and k.endswith('point'):
                    pt = self.nums(sec, k, 2)
                    if pt and (pt[0] > size[0] or pt[1] > size[1]):
                        self.err('[%s] %s outside its picture' % (s, k))
                elif k.endswith('rect'):
                    self.inside(sec, k, self.nums(sec, k, 4), size, 'its picture')
            if all(k in sec for k in POINTS):
                self.points_ordered(sec, {k: self.nums(sec, k, 2) for k in POINTS},
                                    self.nums(sec, 'clientrect', 4) if 'clientrect' in sec else None, size)
        # entries
        names = {}
        for listname, kinds in (('SKINOBJECTS', OBJECT_KINDS), ('SKINCONTROLS', CONTROL_KINDS)):
            sec = ini[listname]
            count = int(sec.get('count', '0'))
            for i in range(count):
                entry = sec.get(str(i), '')
                if ':' not in entry:
                    self.err('[%s] entry %d has no kind' % (listname, i))
                    continue
                name, kind = entry.split(':', 1)
                if kind not in kinds:
                    self.err('[%s] %s has unknown kind %s' % (listname, name, kind))
                if any(name.lower() == other.lower() for (_, other) in names):
                    self.err('[%s] %s listed twice' % (listname, name))
                names[(listname, name)] = kind
                if not ini.has_section(name):
                    self.err('no section for %s' % name)
                    continue
                self.entry(ini[name], kind, listname == 'SKINOBJECTS', main, active, apic)
        objs = {n: k for (l, n), k in names.items() if l == 'SKINOBJECTS' and ini.has_section(n)}
        ctls = {n: k for (l, n), k in names.items() if l == 'SKINCONTROLS' and ini.has_section(n)}
        self.ini, self.ctls = ini, ctls
        for c in REQUIRED_CONTROLS:
            if c not in ctls:
                self.err('control entry %s missing' % c)
        for o in ('caption', 'dialogclosebutton'):
            if o not in objs:
                self.err('object %s missing' % o)
        if 'menuitem' not in objs and 'MENUITEM' not in objs:
            self.err('no menu item object')
        self.facts['MENUITEM'] = 'MENUITEM' in objs
        self.facts['animate'] = 'animate' in objs.values()
        # caption buttons are drawn into the top band of the frame: they must fit above the client area
        if cl:
            br = self.nums(fi, 'buttonsrect', 4) if 'buttonsrect' in fi else None
            for n, k in objs.items():
                if k == 'stdbutton' and ini[n].get('skinrectinapicture') == '1' and br:
                    r = self.nums(ini[n], 'skinrect', 4)
                    if r and br[1] + (r[3] - r[1]) > cl[1]:
                        self.err('[%s] the button is taller than the caption band' % n)
        cmds = {ini[n].get('command') for n, k in objs.items() if k == 'stdbutton'}
        for c in REQUIRED_BUTTONS - cmds:
            self.err('no standard button for %s' % c)
        for n, k in ctls.items():
            for ref in NAME_REFS.get(k, ()):
                v = ini[n].get(ref)
                if v is not None and v not in ctls:
                    self.err('[%s] %s names %s, which is not a control entry' % (n, ref, v))
            if k == 'mainmenubar':
                for ref in ('menubaritem', 'closebutton', 'maxbutton', 'minbutton', 'sysmenubutton'):
                    v = ini[n].get(ref, '')
                    if v and v not in objs:
                        self.err('[%s] %s names %s, which is not an object entry' % (n, ref, v))
        self.facts['morphs'] = {ini[n].get('morphkind') for n in list(objs) + list(ctls)
                                if ini[n].get('morphing') == '1'}
        self.facts['glow'] = any(ini[n].get('glowlayerpictureindex', '-1') != '-1' for n in objs)

    def contrast(self, ini):
        """Text must stay readable on the picture it is drawn over: caption (active and inactive), push button
        (every state), menu item (normal and highlighted), panel caption, and the list view's font on its background
        and on the reminder rows."""
        p = ini['PICTURES']

        def px(name, x, y):
            im = Image.open(os.path.join(self.folder, name)).convert('RGB')
            return im.getpixel((x, y))

        def pic_of(sec, key):
            return p[str(int(sec[key]))]

        checks = []
        cap = ini['caption']
        for what, fkey, picture in (('active caption', 'activefontcolor', p['picture']),
                                    ('inactive caption', 'fontcolor', p.get('inactivepicture'))):
            if picture:
                worst = self.title_contrast(picture, cap, compose.colour(cap[fkey]))
                if worst is not None and worst[0] < TITLE_CONTRAST:
                    self.err('%s title contrast %.2f below %.1f (%s on %s)' % (what, worst[0], TITLE_CONTRAST,
                                                                               compose.colour(cap[fkey]), worst[1]))
        b = ini['button']
        for key, fkey in (('skinrect', 'fontcolor'), ('activeskinrect', 'activefontcolor'),
                          ('downskinrect', 'downfontcolor')):
            r = compose.rect(b[key])
            checks.append(('button ' + key, compose.colour(b[fkey]),
                           px(pic_of(b, 'pictureindex'), (r[0] + r[2]) // 2, (r[1] + r[3]) // 2), 4.0))
        mi = ini['menuitem'] if ini.has_section('menuitem') else ini['MENUITEM']
        for key, fkey in (('skinrect', 'fontcolor'), ('activeskinrect', 'activefontcolor')):
            r = compose.rect(mi[key])
            checks.append(('menu item ' + key, compose.colour(mi[fkey]),
                           px(pic_of(mi, 'activepictureindex'), (r[0] + r[2]) // 2, (r[1] + r[3]) // 2), 4.0))
        pn = ini['panel']
        r, sr = compose.rect(pn['captionrect']), compose.rect(pn['skinrect'])
        checks.append(('panel caption', compose.colour(pn['fontcolor']),
                       px(pic_of(pn, 'pictureindex'), sr[0] + (r[0] + r[2]) // 2, sr[1] + (r[1] + r[3]) // 2), 4.0))
        # The list's font is drawn over its own background and over the notifier's two reminder row colours.
        if ini.has_section('listview'):
            lv = ini['listview']
            fg = compose.colour(lv['fontcolor'])
            checks.append(('list view', fg, compose.colour(lv['bgcolor']), LIST_TEXT_NEED))
            for row in REMINDER_ROWS:
                checks.append(('list view reminder row', fg, row, ROW_TEXT_NEED))
        for what, fg, bg, need in checks:
            ratio = contrast_ratio(fg, bg)
            if ratio < need:
                self.err('%s text contrast %.2f below %.1f (%s on %s)' % (what, ratio, need, fg, bg))

    def check_images(self, ini):
        """The engine draws a check box's images with their bottom-left pixel's colour transparent: that colour must
        not be the box's border (the middle of its left edge), or the border vanishes."""
        p = ini['PICTURES']
        for name in ('checkbox', 'radiobox'):
            if not ini.has_section(name) or ini[name].get('pictureindex', '-1') == '-1':
                continue
            sec = ini[name]
            im = Image.open(os.path.join(self.folder, p[str(int(sec['pictureindex']))])).convert('RGB')
            for key in ('checkimagerect', 'uncheckimagerect'):
                if key not in sec:
                    continue
                r = compose.rect(sec[key])
                if r[2] - r[0] < 3 or r[3] - r[1] < 3:
                    continue
                if im.getpixel((r[0], r[3] - 1)) == im.getpixel((r[0], (r[1] + r[3]) // 2)):
                    self.err('[%s] %s: the bottom-left pixel is the border colour, which would be drawn transparent'
                             % (name, key))

    def title_contrast(self, picture, cap, fg):
        """The lowest contrast of the title colour against the caption pixels the title can cover."""
        im = Image.open(os.path.join(self.folder, picture))
        band = title_band(im, compose.rect(cap['skinrect']), compose.rect(cap['textrect']),
                          int(cap.get('fontheight', '13')))
        return worst_contrast(fg, band)

    def points_ordered(self, sec, pts, cl, size, form=False):
        if any(v is None for v in pts.values()):
            return
        lt, rt, lb, rb = (pts[k] for k in POINTS)
        if not (lt[0] <= rt[0] and lb[0] <= rb[0] and lt[1] <= lb[1] and rt[1] <= rb[1]):
            self.err('[%s] corner points not ordered: %s %s %s %s' % (sec.name, lt, rt, lb, rb))
        for p in (lt, rt, lb, rb):
            if size and (p[0] > size[0] or p[1] > size[1]):
                self.err('[%s] corner point %s outside %dx%d' % (sec.name, p, size[0], size[1]))
        if cl and (cl[0] > cl[2] or cl[1] > cl[3]):
            self.err('[%s] client rectangle not ordered' % sec.name)
        if form and cl:
            # the reader pulls the corner points into the client rectangle; a skin must not rely on that
            if lt[0] < cl[0] or lt[1] < cl[1] or rt[0] > cl[2] or rt[1] < cl[1] or lb[0] < cl[0] or \
                    lb[1] > cl[3] or rb[0] > cl[2] or rb[1] > cl[3]:
                self.err('[%s] corner points outside the client rectangle' % sec.name)

    def entry(self, sec, kind, is_object, main, active, apic):
        if is_object:
            if kind in ('stdbutton', 'animate') and sec.get('command') not in COMMANDS:
                self.err('[%s] bad command %s' % (sec.name, sec.get('command')))
            if sec.get('morphing') == '1' and sec.get('morphkind', 'mkdefault') not in MORPHS:
                self.err('[%s] bad morph kind' % sec.name)
            ap = apic(sec, 'activepictureindex')
            own = ap if sec.get('skinrectinapicture') == '1' else main
            base = self.nums(sec, 'skinrect', 4) if 'skinrect' in sec else None
            for k in sec:
                if not k.endswith('rect') or k in ('textrect', 'imagerect', 'frametextrect'):
                    continue
                r = self.nums(sec, k, 4)
                if k == 'skinrect':
                    self.inside(sec, k, r, own, 'its picture')
                else:
                    self.inside(sec, k, r, ap, 'its active picture')
            if base and 'textrect' in sec:
                self.inside(sec, 'textrect', self.nums(sec, 'textrect', 4), (base[2] - base[0], base[3] - base[1]),
                            'its own image')
            if kind == 'animate' and base:
                a = self.nums(sec, 'activeskinrect', 4)
                n = int(sec.get('countframes', '1'))
                if a and (a[2] - a[0]) != n * (base[2] - base[0]):
                    self.err('[%s] the frame strip does not hold %d frames' % (sec.name, n))
            if sec.get('glowlayerpictureindex', '-1') != '-1':
                g, m = apic(sec, 'glowlayerpictureindex'), apic(sec, 'glowlayermaskpictureindex')
                if g is None or g != m:
                    self.err('[%s] glow picture and its mask differ or are missing' % sec.name)
            return
        pic = apic(sec, 'pictureindex')
        base = self.nums(sec, 'skinrect', 4) if 'skinrect' in sec else None
        own = (base[2] - base[0], base[3] - base[1]) if base else None
        relative = dict(RELATIVE, **KIND_RELATIVE.get(kind, {}))
        for k in sec:
            if not k.endswith('rect'):
                continue
            r = self.nums(sec, k, 4)
            if k in relative:
                b = self.nums(sec, relative[k], 4) if relative[k] in sec else None
                self.inside(sec, k, r, (b[2] - b[0], b[3] - b[1]) if b else None, 'its ' + relative[k])
            else:
                self.inside(sec, k, r, pic, 'its picture')
        if sec.name.lower() == 'groupbox':
            for k in ('checkimagerect', 'uncheckimagerect'):
                r = self.nums(sec, k, 4) if k in sec else None
                if not r or r[2] <= r[0] or r[3] <= r[1]:
                    self.err('[%s] %s is empty: a checked group shows no check picture' % (sec.name, k))
        if sec.name.lower() == 'panel':
            r = self.nums(sec, 'captionrect', 4) if 'captionrect' in sec else None
            if not r or r[2] <= r[0] or r[3] <= r[1]:
                self.err('[%s] captionrect is empty: a captioned panel shows no caption' % sec.name)
        if sec.name.lower() == 'buttonedit':
            r = self.nums(sec, 'buttonrect', 4) if 'buttonrect' in sec else None
            if not r or r[2] <= r[0] or r[3] <= r[1]:
                self.err('[%s] buttonrect is empty: the edit shows no button' % sec.name)
        if kind == 'scrollbar':
            for k in ('upbuttonrect', 'downbuttonrect', 'trackarea', 'thumbrect'):
                r = self.nums(sec, k, 4) if k in sec else None
                if not r or r[2] <= r[0] or r[3] <= r[1]:
                    self.err('[%s] %s is empty: the bar shows no such part' % (sec.name, k))
        if all(k in sec for k in POINTS) and own:
            self.points_ordered(sec, {k: self.nums(sec, k, 2) for k in POINTS},
                                self.nums(sec, 'clientrect', 4) if 'clientrect' in sec else None, own)
        if sec.get('glowlayerpictureindex', '-1') != '-1':
            g, m = apic(sec, 'glowlayerpictureindex'), apic(sec, 'glowlayermaskpictureindex')
            if g is None or g != m:
                self.err('[%s] glow picture and its mask differ or are missing' % sec.name)


# The entries that draw the main window's texts.
TEXT_ENTRIES = ('stdlabel', 'checkbox', 'button', 'tab', 'groupbox', 'edit', 'combobox', 'spinedit', 'listview')


def check_set(setdir):
    from skingen import read_list
    errors = []
    facts = []
    rows = read_list(os.path.join(setdir, 'notifier', 'skins.lst'))
    if [r['index'] for r in rows] != list(range(87)):
        errors.append('the notifier list must hold indices 0 to 86 in order')
    if len({r['name'] for r in rows}) != len(rows):
        errors.append('skin names are not unique')
    for r in rows:
        c = Checker(os.path.join(setdir, 'notifier', r['folder']))
        c.run()
        if not c.errors:
            c.contrast(compose.read_ini(os.path.join(c.folder, 'skin.ini')))
            c.check_images(compose.read_ini(os.path.join(c.folder, 'skin.ini')))
        errors += c.errors
        facts.append((r, c.facts))
    # The main window is laid out once, in the fonts of the skin it starts with: every skin gives the entries that
    # carry its texts one font, so that a layout found in one skin holds in all.
    for name in TEXT_ENTRIES:
        fonts = set()
        for r in rows:
            ini = compose.read_ini(os.path.join(setdir, 'notifier', r['folder'], 'skin.ini'))
            if ini.has_section(name):
                fonts.add(tuple(ini[name].get(k, '') for k in ('fontname', 'fontheight', 'fontstyle')))
        if len(fonts) > 1:
            errors.append('the [%s] entries of the notifier skins differ in font: %s' % (name, sorted(fonts)))
    setup = read_list(os.path.join(setdir, 'setup', 'skins.lst'))
    if [(r['index'], r['name'], r['folder']) for r in setup] != [(0, 'Windows 8', 'Win8')]:
        errors.append('the installer list must hold one skin "Windows 8" (Win8.skn)')
    for r in setup:
        c = Checker(os.path.join(setdir, 'setup', r['folder']))
        c.run()
        c.wizard()
        errors += c.errors
    # coverage of the engine's paths across the notifier's set
    f = [x[1] for x in facts]
    cover = {
        'skins with a window mask': (sum(x.get('mask', False) for x in f), lambda n: n >= 5),
        'skins with a layer frame': (sum(x.get('layer', False) for x in f), lambda n: 2 <= n <= 3),
        'skins with a full layered border': (sum(x.get('fullborder', False) for x in f), lambda n: n == 1),
        'modern skins': (sum(x.get('modern', False) for x in f), lambda n: n >= 2),
        'skins naming MENUITEM': (sum(x.get('MENUITEM', False) for x in f), lambda n: n >= 2),
        'skins with an animated caption object': (sum(x.get('animate', False) for x in f), lambda n: n >= 1),
        'skins with glow layers': (sum(x.get('glow', False) for x in f), lambda n: n >= 2),
        'version-2 blocks': (sum(r['version'] == 2 for r in rows), lambda n: n == 5),
        'morph kinds used': (len(set().union(*[x.get('morphs', set()) for x in f])), lambda n: n == 7),
        'inactive effects used': (len({x['effect'] for x in f if 'effect' in x}), lambda n: n == 6),
    }
    for what, (n, ok) in cover.items():
        if not ok(n):
            errors.append('coverage: %s = %d' % (what, n))
    return errors


# The entries the main window's rows hold; its rows are sized once to the largest of their heights over the set.
ROW_ENTRIES = ('edit', 'buttonedit', 'combobox', 'spinedit', 'button', 'checkbox', 'resizetoolbutton')


def control_heights(setdir):
    """The largest picture height of each row entry over the notifier's skins (entries without a picture left out)."""
    from skingen import read_list
    out = {}
    for r in read_list(os.path.join(setdir, 'notifier', 'skins.lst')):
        ini = compose.read_ini(os.path.join(setdir, 'notifier', r['folder'], 'skin.ini'))
        for name in ROW_ENTRIES:
            if ini.has_section(name) and 'skinrect' in ini[name]:
                rect = compose.rect(ini[name]['skinrect'])
                out[name] = max(out.get(name, 0), rect[3] - rect[1])
    return out


def main():
    args = sys.argv[1:]
    if args and args[0] == '--build':
        setdir = args[1]
        subprocess.run([sys.executable, os.path.join(HERE, 'skingen.py'), 'build', setdir], check=True)
    elif args:
        setdir = args[0]
    else:
        print(__doc__)
        return 2
    errors = check_set(setdir)
    for e in errors:
        print(e)
    print('row heights over the set: ' + ', '.join('%s %d' % kv for kv in sorted(control_heights(setdir).items())))
    print('%d problem(s)' % len(errors))
    return 1 if errors else 0


if __name__ == '__main__':
    sys.exit(main())
