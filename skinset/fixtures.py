"""Small fixtures for the skin engine's tests (written to tests/skin/fixtures by `skingen.py fixtures DIR`).

- colorcoded/: an ini skin whose every picture part is a distinct flat colour: each nine-part image has nine slices
  of different colours, each state rectangle its own colour; legend.txt names every colour, so a test that probes
  one pixel of a drawn window or control knows which picture, state and slice the engine used.
- colorcoded.skn and colorcoded_v2extra.skn: the same skin as a compressed block (version 3), and as version-2
  content whose two extra slots hold pictures (the reader must drop them).
- hostile blocks: outer version 4, inner version 4, damaged zlib data, N = 0, a picture whose size field lies (too
  large, too small), a stream cut short, a picture count of 2^31 - 1, all three picture flags set.
- pictures: BMPs of 1, 4, 8, 24 (bottom-up and top-down) and 32 bits, PNGs of colour types 0, 2, 3, 4 and 6 and a PCX,
  each 4 x 3 pixels with the pattern described in legend.txt.
"""

import os
import struct
import zlib

from PIL import Image

from skinfile import Skin, bmp_bytes

# Slice order of a nine-part image and the green value that marks each slice.
SLICES = ['lt', 'top', 'rt', 'left', 'client', 'right', 'lb', 'bottom', 'rb']


def nine_colors(red, blue):
    """Nine colours that share red and blue and differ in green: slice i has green 20 + 25 i."""
    return {s: (red, 20 + 25 * i, blue) for i, s in enumerate(SLICES)}


def nine_image(w, h, l, t, r, b, cols):
    """An image cut at x = l, w - r and y = t, h - b, each of the nine parts filled with its colour."""
    im = Image.new('RGB', (w, h))
    xs = [(0, l), (l, w - r), (w - r, w)]
    ys = [(0, t), (t, h - b), (h - b, h)]
    names = [['lt', 'top', 'rt'], ['left', 'client', 'right'], ['lb', 'bottom', 'rb']]
    for j, (y0, y1) in enumerate(ys):
        for i, (x0, x1) in enumerate(xs):
            if x1 > x0 and y1 > y0:
                im.paste(cols[names[j][i]], (x0, y0, x1, y1))
    return im


def nine_keys(w, h, l, t, r, b):
    return {'lefttoppoint': (l, t), 'righttoppoint': (w - r, t), 'leftbottompoint': (l, h - b),
            'rightbottompoint': (w - r, h - b), 'clientrect': (l, t, w - r, h - b)}


def colorcoded():
    legend = []
    sk = Skin('Colour coded', 'test fixture: every part a distinct flat colour', author='tests')
    # frame: 100 x 80, client (5, 25, 95, 75), corner points at the client corners; red 250, blue 0
    fw, fh = 100, 80
    fcols = nine_colors(250, 0)
    frame = nine_image(fw, fh, 5, 25, 5, 5, fcols)
    ifcols = nine_colors(250, 100)
    sk.main = ('frame.bmp', frame, 'RGB')
    sk.inactive = ('frame_inactive.bmp', nine_image(fw, fh, 5, 25, 5, 5, ifcols), 'RGB')
    for s in SLICES:
        legend.append('frame.%s=%d,%d,%d' % ((s,) + fcols[s]))
        legend.append('frame_inactive.%s=%d,%d,%d' % ((s,) + ifcols[s]))
    fi = sk.section('FORMINFO')
    fi.update({'lefttoppoint': (5, 25), 'righttoppoint': (95, 25), 'leftbottompoint': (5, 75),
               'rightbottompoint': (95, 75), 'clientrect': (5, 25, 95, 75), 'bgpictureindex': -1,
               'buttonsrect': (60, 4, 95, 20), 'captionrect': (5, 2, 95, 22), 'buttonsoffset': 1, 'borderwidth': 4,
               'topstretch': False, 'leftstretch': False, 'rightstretch': False, 'bottomstretch': False,
               'stretcheffect': True, 'stretchtype': 'stfull', 'inactiveeffect': 'iebrightness'})
    # caption buttons: 16 x 16 cells, one colour per command and state (red = 10 + 20 * command, green = state)
    states = ['normal', 'hot', 'down', 'inactive']
    cmds = [('closebutton', 'cmclose'), ('maxbutton', 'cmmaximize'), ('minbutton', 'cmminimize'),
            ('sysmenubutton', 'cmsysmenu'), ('traybutton', 'cmminimizetotray'), ('rollupbutton', 'cmrollup')]
    sheet = Image.new('RGB', (4 * 16, len(cmds) * 16))
    rects = {}
    for ci, (name, _) in enumerate(cmds):
        for si, st in enumerate(states):
            c = (10 + 20 * ci, 40 + 50 * si, 200)
            sheet.paste(c, (si * 16, ci * 16, si * 16 + 16, ci * 16 + 16))
            rects[(name, st)] = (si * 16, ci * 16, si * 16 + 16, ci * 16 + 16)
            legend.append('capbutton.%s.%s=%d,%d,%d' % ((name, st) + c))
    pb = sk.add_picture('capbuttons.bmp', sheet)
    sk.add_object('caption', 'caption', {'skinrect': (5, 0, 95, 25), 'textrect': (20, 0, 50, 25),
                                         'fontcolor': 0xFFFFFF, 'activefontcolor': 0xFFFFFF,
                                         'alignment': 'taleftjustify'})
    for name, cmd in cmds:
        sk.add_object(name, 'stdbutton', {
            'hint': name, 'skinrectinapicture': True, 'activepictureindex': pb, 'skinrect': rects[(name, 'normal')],
            'activeskinrect': rects[(name, 'hot')], 'downrect': rects[(name, 'down')],
            'inactiveskinrect': rects[(name, 'inactive')], 'command': cmd, 'morphing': False})
    # controls: one sheet, each nine-part state image with its own red (state) and blue (control) values
    ctl = Image.new('RGB', (214, 106), (0, 0, 0))
    y = 0
    entries = []
    for bi, (cname, kind, w, h, m, sts) in enumerate([
            ('button', 'button', 40, 20, 4, ['skinrect', 'activeskinrect', 'downskinrect', 'disabledskinrect',
                                             'focusedskinrect']),
            ('edit', 'edit', 40, 20, 3, ['skinrect', 'activeskinrect']),
            ('panel', 'panel', 30, 30, 5, ['skinrect'])]):
        keys = {'pictureindex': 1, 'maskpictureindex': -1}
        keys.update(nine_keys(w, h, m, m, m, m))
        keys.update({'leftstretch': False, 'topstretch': False, 'rightstretch': False, 'bottomstretch': False,
                     'stretcheffect': False, 'stretchtype': 'stfull'})
        for si, key in enumerate(sts):
            cols = nine_colors(30 + 40 * si, 60 + 60 * bi)
            ctl.paste(nine_image(w, h, m, m, m, m, cols), (si * (w + 2), y))
            keys[key] = (si * (w + 2), y, si * (w + 2) + w, y + h)
            for s in SLICES:
                legend.append('%s.%s.%s=%d,%d,%d' % ((cname, key, s) + cols[s]))
        y += h + 2
        entries.append((cname, kind, keys))
    # one entry per resize mode (row y = 76): the picture's points decide the mode; red 200 - 30 * mode, blue 40
    nostretch = {'leftstretch': False, 'topstretch': False, 'rightstretch': False, 'bottomstretch': False,
                 'stretcheffect': False, 'stretchtype': 'stfull'}
    for mi, (cname, x, w, h, l, t, r, b) in enumerate([
            ('mode0', 0, 20, 10, 0, 0, 0, 0), ('mode1', 22, 30, 20, 5, 5, 5, 5),
            ('mode2', 54, 30, 12, 5, 0, 5, 0), ('mode3', 86, 12, 30, 0, 5, 0, 5)]):
        cols = nine_colors(200 - 30 * mi, 40)
        ctl.paste(nine_image(w, h, l, t, r, b, cols), (x, 76))
        keys = {'pictureindex': 1, 'maskpictureindex': -1, 'skinrect': (x, 76, x + w, 76 + h),
                'lefttoppoint': (l, t) if l or t else (0, 0),
                'righttoppoint': (w - r, t) if r else (0, 0),
                'leftbottompoint': (l, h - b) if b else (0, 0),
                'rightbottompoint': (w - r, h - b) if r and b else (0, 0),
                'clientrect': (l, t, w - r, h - b)}
        keys.update(nostretch)
        for sl in SLICES:
            legend.append('%s.skinrect.%s=%d,%d,%d' % ((cname, sl) + cols[sl]))
        entries.append((cname, 'panel', keys))
    # no picture rectangle: resize mode -1
    entries.append(('modenone', 'panel', dict(nostretch, pictureindex=1, maskpictureindex=-1, skinrect=(0, 0, 0, 0))))
    # a fixed 20 x 20 entry with a mask (picture 2): white in the top-left 5 x 5 corner, black elsewhere
    mcol = (90, 90, 40)
    ctl.paste(mcol, (100, 76, 120, 96))
    legend.append('masked.skinrect.client=%d,%d,%d' % mcol)
    entries.append(('masked', 'panel', dict(nostretch, pictureindex=1, maskpictureindex=2,
                                            skinrect=(100, 76, 120, 96), clientrect=(0, 0, 20, 20))))
    mask = Image.new('RGB', (20, 20), (0, 0, 0))
    mask.paste((255, 255, 255), (0, 0, 5, 5))
    # a button whose optional state rectangles are all empty
    bcol = nine_colors(60, 250)
    ctl.paste(nine_image(40, 20, 4, 4, 4, 4, bcol), (122, 76))
    for sl in SLICES:
        legend.append('buttonempty.skinrect.%s=%d,%d,%d' % ((sl,) + bcol[sl]))
    bkeys = {'pictureindex': 1, 'maskpictureindex': -1, 'skinrect': (122, 76, 162, 96)}
    bkeys.update(nine_keys(40, 20, 4, 4, 4, 4))
    bkeys.update(nostretch)
    bkeys.update({'activeskinrect': (0, 0, 0, 0), 'downskinrect': (0, 0, 0, 0), 'disabledskinrect': (0, 0, 0, 0),
                  'focusedskinrect': (0, 0, 0, 0)})
    entries.append(('buttonempty', 'button', bkeys))
    # the label font and the bevel colours (class-library colours 0x00BBGGRR)
    entries.append(('stdlabel', 'stdlabel', {'fontname': 'Arial', 'fontheight': 20, 'fontstyle': '',
                                             'fontcolor': 0x0000C8, 'activefontcolor': 0x00C800}))
    legend.append('stdlabel.fontcolor=200,0,0')
    legend.append('stdlabel.activefontcolor=0,200,0')
    entries.append(('bevel', 'bevel', {'lightcolor': 0x00DCFF, 'darkcolor': 0xA03C00}))
    legend.append('bevel.lightcolor=255,220,0')
    legend.append('bevel.darkcolor=0,60,160')
    # the edit's font colours, and "buttonedit": the edit picture with a push button in its right end (hot and
    # pressed button pictures at the sheet's bottom right)
    ekeys = dict(next(k for n, _, k in entries if n == 'edit'))
    ekeys.update({'fontname': 'Arial', 'fontheight': 14, 'fontstyle': '', 'fontcolor': 0x0000C8,
                  'activefontcolor': 0x00C800, 'disabledfontcolor': 0x808080})
    entries[[n for n, _, _ in entries].index('edit')] = ('edit', 'edit', ekeys)
    legend.append('edit.fontcolor=200,0,0')
    legend.append('edit.activefontcolor=0,200,0')
    bekeys = dict(ekeys, buttonrect=(24, 3, 37, 17), activebuttonrect=(164, 76, 177, 90),
                  downbuttonrect=(180, 76, 193, 90), unenabledbuttonrect=(0, 0, 0, 0), clientrect=(3, 3, 22, 17),
                  righttoppoint=(22, 3), rightbottompoint=(22, 17))
    ctl.paste((15, 200, 200), (164, 76, 177, 90))
    ctl.paste((15, 150, 200), (180, 76, 193, 90))
    legend.append('buttonedit.activebutton=15,200,200')
    legend.append('buttonedit.downbutton=15,150,200')
    entries.append(('buttonedit', 'edit', bekeys))
    # "editbutton": the push button an edit without the skin's font size stretches to its own (8 x 8 flat states)
    bstates = {}
    for si, (key, col) in enumerate([('skinrect', (110, 20, 60)), ('activeskinrect', (110, 90, 60)),
                                      ('downskinrect', (110, 160, 60))]):
        rect = (si * 10, 97, si * 10 + 8, 105)
        ctl.paste(col, rect)
        bstates[key] = rect
        legend.append('editbutton.%s=%d,%d,%d' % ((key,) + col))
    entries.append(('editbutton', 'button', dict(
        nostretch, pictureindex=1, maskpictureindex=-1, lefttoppoint=(2, 2), righttoppoint=(6, 2),
        leftbottompoint=(2, 6), rightbottompoint=(6, 6), clientrect=(2, 2, 6, 6), disabledskinrect=(0, 0, 0, 0),
        focusedskinrect=(0, 0, 0, 0), **bstates)))
    sk.add_picture('controls.bmp', ctl)
    sk.add_picture('ctlmask.bmp', mask)
    entries.extend(bars_and_groups(sk, legend))
    # "memo": the edit's fonts with background colours of its own
    entries.append(('memo', 'memo', dict(ekeys, bgcolor=0xF0E0D0, activebgcolor=0xD0F0E0)))
    legend.append('memo.bgcolor=208,224,240')
    legend.append('memo.activebgcolor=224,240,208')
    for cname, kind, keys in entries:
        sk.add_control(cname, kind, keys)
    button_entries(sk, legend)
    for cname, kind, keys in list_entries(sk, legend):
        sk.add_control(cname, kind, keys)
    view_entries(sk, legend)
    tool_entries(sk, legend)
    bar_panel_entries(sk, legend)
    spin_entries(sk, legend)
    tab_entries(sk, legend)
    combo_entries(sk, legend)
    sk.section('SKINCOLORS').update({'cbtnface': 0x00C0C0C0, 'cbtntext': 0, 'cwindow': 0xFFFFFF, 'cwindowtext': 0,
                                     'chighlight': 0x00FF0000, 'chighlighttext': 0xFFFFFF,
                                     'cbtnhighlight': 0xFFFFFF, 'cbtnshadow': 0x00808080})
    return sk, legend


def button_entries(sk, legend):
    """Buttons, check box, radio button and menu button on a picture of their own (buttons.bmp) with the glow
    picture and its mask (glow.bmp, glowmask.bmp). Check images are 13 x 13 with a magenta edge (the automatic
    transparent colour) around an 11 x 11 flat colour."""
    pic = Image.new('RGB', (200, 100), (0, 0, 0))
    magenta = (255, 0, 255)
    fixed = {'lefttoppoint': (0, 0), 'righttoppoint': (0, 0), 'leftbottompoint': (0, 0), 'rightbottompoint': (0, 0),
             'leftstretch': False, 'topstretch': False, 'rightstretch': False, 'bottomstretch': False,
             'stretcheffect': False, 'stretchtype': 'stfull'}

    def flat(name, col, rect):
        pic.paste(col, rect)
        legend.append('%s=%d,%d,%d' % ((name,) + col))
        return rect

    def check(name, col, x, y):
        pic.paste(magenta, (x, y, x + 13, y + 13))
        pic.paste(col, (x + 1, y + 1, x + 12, y + 12))
        legend.append('%s=%d,%d,%d' % ((name,) + col))
        return (x, y, x + 13, y + 13)

    # animbutton: fixed 40 x 20, morphing, three animation frames side by side, an empty pressed rectangle, glow
    ab = dict(fixed, clientrect=(0, 0, 40, 20), morphing=True, morphkind='mkdefault', framecount=3,
              animateinterval=30, fontcolor=0x000000, activefontcolor=0x0000FF, downfontcolor=0x00FF00,
              disabledfontcolor=0x808080)
    ab['skinrect'] = flat('animbutton.skinrect', (10, 200, 30), (0, 0, 40, 20))
    ab['activeskinrect'] = flat('animbutton.activeskinrect', (10, 200, 90), (42, 0, 82, 20))
    ab['focusedskinrect'] = flat('animbutton.focusedskinrect', (10, 200, 150), (84, 0, 124, 20))
    ab['downskinrect'] = (0, 0, 0, 0)
    for f in range(3):
        flat('animbutton.frame%d' % (f + 1), (20 + 60 * f, 120, 250), (f * 40, 22, f * 40 + 40, 42))
    ab['animateskinrect'] = (0, 22, 120, 42)
    # menubutton: width-stretching 60 x 20, a track part at the right, marker pictures (transparent black)
    mb = {'lefttoppoint': (5, 0), 'righttoppoint': (55, 0), 'leftbottompoint': (0, 0), 'rightbottompoint': (0, 0),
          'clientrect': (5, 0, 55, 20), 'leftstretch': False, 'topstretch': False, 'rightstretch': False,
          'bottomstretch': False, 'stretcheffect': False, 'stretchtype': 'stfull', 'trackbuttonrect': (45, 0, 60, 20),
          'fontcolor': 0, 'activefontcolor': 0, 'downfontcolor': 0, 'disabledfontcolor': 0x808080,
          'menumarkertransparentcolor': 0}
    mb['skinrect'] = flat('toolmenubutton.skinrect', (250, 250, 10), (0, 44, 60, 64))
    mb['activeskinrect'] = flat('toolmenubutton.activeskinrect', (250, 190, 10), (62, 44, 122, 64))
    mb['downskinrect'] = flat('toolmenubutton.downskinrect', (250, 130, 10), (124, 44, 184, 64))
    mb['menumarkerrect'] = flat('toolmenubutton.marker', (0, 90, 0), (186, 44, 193, 48))
    # checkbox and radiobox: 100 x 20 stretching across, check area at the left, text area after it
    for ci, cname in enumerate(['checkbox', 'radiobox']):
        y = 66 + ci * 17
        keys = {'lefttoppoint': (20, 0), 'righttoppoint': (90, 0), 'leftbottompoint': (0, 0),
                'rightbottompoint': (0, 0), 'clientrect': (20, 0, 90, 15), 'leftstretch': False,
                'topstretch': False, 'rightstretch': False, 'bottomstretch': False, 'stretcheffect': False,
                'stretchtype': 'stfull', 'checkimagearea': (2, 1, 18, 14), 'textarea': (20, 0, 98, 15),
                'fontcolor': 0x000080, 'activefontcolor': 0x008000, 'unenabledfontcolor': 0x808080,
                'framefontcolor': 0x800000, 'morphing': False}
        keys['skinrect'] = flat(cname + '.skinrect', (200, 200, 100 + 40 * ci), (0, y, 100, y + 15))
        keys['activeskinrect'] = (0, 0, 0, 0)
        keys['checkimagerect'] = check(cname + '.check', (0, 0, 200 - 60 * ci), 102, y)
        keys['uncheckimagerect'] = check(cname + '.uncheck', (0, 160, 60 * ci), 117, y)
        keys['activecheckimagerect'] = check(cname + '.activecheck', (200, 0, 60 * ci), 132, y)
        keys['activeuncheckimagerect'] = check(cname + '.activeuncheck', (200, 120, 60 * ci), 147, y)
        sk.add_control(cname, 'checkradio', keys)
    bi = sk.add_picture('buttons.bmp', pic)
    glow = Image.new('RGB', (52, 30), (255, 128, 0))
    glowmask = Image.new('RGB', (52, 30), (128, 128, 128))
    gi = sk.add_picture('glow.bmp', glow)
    gm = sk.add_picture('glowmask.bmp', glowmask)
    legend.append('glow=255,128,0')
    ab.update({'pictureindex': bi, 'maskpictureindex': -1, 'glowlayerpictureindex': gi,
               'glowlayermaskpictureindex': gm, 'glowlayershowoffsetx': 6, 'glowlayershowoffsety': 5,
               'glowlayeralphablendvalue': 200})
    mb.update({'pictureindex': bi, 'maskpictureindex': -1, 'glowlayerpictureindex': -1})
    sk.add_control('animbutton', 'button', ab)
    sk.add_control('toolmenubutton', 'menubutton', mb)
    for cname in ('checkbox', 'radiobox'):
        sk.sections[cname].update({'pictureindex': bi, 'maskpictureindex': -1})


def tool_entries(sk, legend):
    """Speed buttons' entries on a picture of their own (tools.bmp): `toolbutton` (24 x 22, nine parts, margin 3;
    normal, hot, pressed and disabled pictures; its disabled font colour equals the normal one), `resizetoolbutton`
    (30 x 30, nine parts, margin 4; normal, hot and pressed) and the track parts `vtracktoolbutton` (15 x 20) and
    `htracktoolbutton` (20 x 15), nine parts with margin 2. Each state picture has nine slice colours with red for the
    state and blue for the entry."""
    pic = Image.new('RGB', (160, 100), (0, 0, 0))
    nostretch = {'leftstretch': False, 'topstretch': False, 'rightstretch': False, 'bottomstretch': False,
                 'stretcheffect': False, 'stretchtype': 'stfull', 'maskpictureindex': -1, 'morphing': False}
    entries = []
    y = 0
    for name, w, h, m, blue, states, fonts in [
            ('toolbutton', 24, 22, 3, 170, ['skinrect', 'activeskinrect', 'downskinrect', 'disabledskinrect'],
             (0x000080, 0x008000, 0x800000, 0x000080)),
            ('resizetoolbutton', 30, 30, 4, 190, ['skinrect', 'activeskinrect', 'downskinrect'],
             (0x000000, 0x0000FF, 0x00FF00, 0x808080)),
            ('vtracktoolbutton', 15, 20, 2, 210, ['skinrect', 'activeskinrect', 'downskinrect'],
             (0, 0, 0, 0x808080)),
            ('htracktoolbutton', 20, 15, 2, 230, ['skinrect', 'activeskinrect', 'downskinrect'],
             (0, 0, 0, 0x808080))]:
        keys = dict(nostretch)
        keys.update(nine_keys(w, h, m, m, m, m))
        keys.update({'fontcolor': fonts[0], 'activefontcolor': fonts[1], 'downfontcolor': fonts[2],
                     'disabledfontcolor': fonts[3], 'fontname': 'Tahoma', 'fontheight': 13, 'fontstyle': ''})
        for si, key in enumerate(states):
            cols = nine_colors(40 + 50 * si, blue)
            x = si * (w + 2)
            pic.paste(nine_image(w, h, m, m, m, m, cols), (x, y))
            keys[key] = (x, y, x + w, y + h)
            for sl in SLICES:
                legend.append('%s.%s.%s=%d,%d,%d' % ((name, key, sl) + cols[sl]))
        y += h + 2
        entries.append((name, keys))
    pi = sk.add_picture('tools.bmp', pic)
    for name, keys in entries:
        keys['pictureindex'] = pi
        sk.add_control(name, 'button', keys)


def bar_panel_entries(sk, legend):
    """The scroll hosts' and bars' entries on a picture of their own (barpanels.bmp): `resizebutton` (the non-client
    arrows: 16 x 16, nine parts, margin 3; normal, hot, pressed and disabled pictures with arrow colours of their
    own), `toolpanel` (40 x 26, nine parts, margin 2) and `statusbar` (40 x 21, nine parts, margin 2, a 12 x 12
    gripper picture whose magenta is transparent)."""
    pic = Image.new('RGB', (120, 80), (0, 0, 0))
    nostretch = {'leftstretch': False, 'topstretch': False, 'rightstretch': False, 'bottomstretch': False,
                 'stretcheffect': False, 'stretchtype': 'stfull', 'maskpictureindex': -1}
    rb = dict(nostretch, morphing=False, fontname='Tahoma', fontheight=13, fontstyle='', fontcolor=0x0000FF,
              activefontcolor=0x00FF00, downfontcolor=0xFF0000, disabledfontcolor=0x808080)
    rb.update(nine_keys(16, 16, 3, 3, 3, 3))
    for si, key in enumerate(['skinrect', 'activeskinrect', 'downskinrect', 'disabledskinrect']):
        cols = nine_colors(60 + 50 * si, 120)
        pic.paste(nine_image(16, 16, 3, 3, 3, 3, cols), (si * 18, 0))
        rb[key] = (si * 18, 0, si * 18 + 16, 16)
        for sl in SLICES:
            legend.append('resizebutton.%s.%s=%d,%d,%d' % ((key, sl) + cols[sl]))
    legend.append('resizebutton.arrows=255,0,0/0,255,0/0,0,255/128,128,128')
    panels = []
    for name, y, w, h, blue in (('toolpanel', 18, 40, 26, 140), ('statusbar', 46, 40, 21, 160)):
        cols = nine_colors(30, blue)
        pic.paste(nine_image(w, h, 2, 2, 2, 2, cols), (0, y))
        for sl in SLICES:
            legend.append('%s.skinrect.%s=%d,%d,%d' % ((name, sl) + cols[sl]))
        k = dict(nostretch, skinrect=(0, y, w, y + h), captionrect=(0, 0, 0, 0), bgpictureindex=-1,
                 fontname='Tahoma', fontheight=13, fontstyle='', fontcolor=0)
        k.update(nine_keys(w, h, 2, 2, 2, 2))
        panels.append((name, k))
    # the gripper: a green square with a magenta (transparent) upper-left triangle
    for gy in range(12):
        for gx in range(12):
            pic.putpixel((50 + gx, 46 + gy), (255, 0, 255) if gx + gy < 11 else (0, 160, 0))
    legend.append('statusbar.gripper=0,160,0')
    panels[1][1].update(gripperrect=(50, 46, 62, 58), grippertransparent=True, grippertransparentcolor=0xFF00FF)
    pi = sk.add_picture('barpanels.bmp', pic)
    rb['pictureindex'] = pi
    sk.add_control('resizebutton', 'button', rb)
    for name, k in panels:
        k['pictureindex'] = pi
        sk.add_control(name, 'panel', k)


def spin_entries(sk, legend):
    """The spin edit and the up-downs on a picture of their own (spins.bmp). "spinedit": 60 x 20 stretching across
    (left end 3, right end 18 holding the buttons), a hot picture beside it, the button state pictures below; the
    up-downs: fixed pictures whose buttons are control coordinates, their state pictures beside them."""
    pic = Image.new('RGB', (130, 70), (0, 0, 0))

    def put(name, rect, col):
        pic.paste(col, rect)
        legend.append('%s=%d,%d,%d' % ((name,) + col))
        return rect

    def spin_face(state, x, red):
        put('spinedit.%s.left' % state, (x, 0, x + 3, 20), (red, 10, 200))
        put('spinedit.%s.middle' % state, (x + 3, 0, x + 42, 20), (red, 60, 200))
        put('spinedit.%s.right' % state, (x + 42, 0, x + 60, 20), (red, 110, 200))
        put('spinedit.%s.up' % state, (x + 44, 2, x + 58, 10), (red, 160, 200))
        put('spinedit.%s.down' % state, (x + 44, 10, x + 58, 18), (red, 210, 200))
        return (x, 0, x + 60, 20)

    k = {'pictureindex': len(sk.pictures), 'maskpictureindex': -1, 'lefttoppoint': (3, 0),
         'righttoppoint': (42, 0), 'leftbottompoint': (0, 0), 'rightbottompoint': (0, 0),
         'clientrect': (3, 3, 42, 17), 'leftstretch': False, 'topstretch': False, 'rightstretch': False,
         'bottomstretch': False, 'stretcheffect': False, 'stretchtype': 'stfull', 'fontname': 'Arial',
         'fontheight': 14, 'fontstyle': '', 'fontcolor': 0x0000C8, 'activefontcolor': 0x00C800,
         'disabledfontcolor': 0x808080, 'upbuttonrect': (44, 2, 58, 10), 'downbuttonrect': (44, 10, 58, 18)}
    k['skinrect'] = spin_face('skinrect', 0, 40)
    k['activeskinrect'] = spin_face('activeskinrect', 62, 90)
    k['activeupbuttonrect'] = put('spinedit.activeup', (0, 22, 14, 30), (140, 160, 40))
    k['downupbuttonrect'] = put('spinedit.downup', (16, 22, 30, 30), (140, 200, 40))
    k['activedownbuttonrect'] = put('spinedit.activedown', (32, 22, 46, 30), (140, 160, 80))
    k['downdownbuttonrect'] = put('spinedit.downdown', (48, 22, 62, 30), (140, 200, 80))
    legend.append('spinedit.fontcolor=200,0,0')
    legend.append('spinedit.activefontcolor=0,200,0')
    entries = [('spinedit', 'spinedit', k)]
    # up-downs: horizontal 30 x 15 (left half steps down, right half up), vertical 15 x 20 (top half up)
    for name, x, y, blue, vert in (('hupdown', 0, 32, 40, False), ('vupdown', 0, 49, 80, True),
                                   ('updown', 90, 32, 120, False)):
        if vert:
            up, down, size = (0, 0, 15, 10), (0, 10, 15, 20), (15, 20)
        else:
            up, down, size = (15, 0, 30, 15), (0, 0, 15, 15), (30, 15)
        put(name + '.up', (x + up[0], y + up[1], x + up[2], y + up[3]), (10, 100, blue))
        put(name + '.down', (x + down[0], y + down[1], x + down[2], y + down[3]), (10, 150, blue))
        uk = {'pictureindex': len(sk.pictures), 'maskpictureindex': -1,
              'skinrect': (x, y, x + size[0], y + size[1]), 'upbuttonrect': up, 'downbuttonrect': down}
        entries.append((name, 'updown', uk))
    # the horizontal up-downs share their state pictures; the pressed down button falls back to the hot one
    hs = {'activeupbuttonrect': put('hupdown.activeup', (32, 32, 47, 47), (10, 200, 40)),
          'downupbuttonrect': put('hupdown.downup', (49, 32, 64, 47), (10, 250, 40)),
          'activedownbuttonrect': put('hupdown.activedown', (66, 32, 81, 47), (60, 200, 40)),
          'downdownbuttonrect': (0, 0, 0, 0)}
    vs = {'activeupbuttonrect': put('vupdown.activeup', (17, 49, 32, 59), (10, 200, 80)),
          'downupbuttonrect': put('vupdown.downup', (34, 49, 49, 59), (10, 250, 80)),
          'activedownbuttonrect': put('vupdown.activedown', (51, 49, 66, 59), (60, 200, 80)),
          'downdownbuttonrect': put('vupdown.downdown', (68, 49, 83, 59), (60, 250, 80))}
    for name, kind, keys in entries:
        if name != 'spinedit':
            keys.update(vs if name == 'vupdown' else hs)
        sk.add_control(name, kind, keys)
    sk.add_picture('spins.bmp', pic)


def content(sk_folder, version=3, extra=None, count_override=None):
    import skingen
    data = skingen.skin_content(sk_folder, 3)
    if version != 3 or extra or count_override is not None:
        # rebuild by hand: version, three slots, [two extra slots], count, pictures, text
        body = data[4:]
        pos = 0
        slots = b''
        for _ in range(3):
            flag = body[pos]
            if flag == 0:
                size = struct.unpack_from('<I', body, pos + 3)[0]
                slots += body[pos:pos + 1 + size]
                pos += 1 + size
            else:
                slots += body[pos:pos + 1]
                pos += 1
        rest = body[pos:]
        if count_override is not None:
            rest = struct.pack('<i', count_override) + rest[4:]
        ex = b''
        if version == 2:
            ex = b''.join((b'\x00' + e) if e else b'\x01' for e in (extra or [None, None]))
        return struct.pack('<i', version) + slots + ex + rest
    return data


def blk(data, outer=3, n=None, z=None):
    z = zlib.compress(data, 9) if z is None else z
    return struct.pack('<ii', outer, len(z) if n is None else n) + z


def bmp4(pixels, palette, w, h):
    """A 4-bit BMP (PIL cannot write one): palette of up to 16 colours, pixels as indexes, rows bottom-up."""
    row = (w * 4 + 31) // 32 * 4
    data = bytearray()
    for y in range(h - 1, -1, -1):
        r = bytearray(row)
        for x in range(w):
            v = pixels[y * w + x]
            r[x // 2] |= v << 4 if x % 2 == 0 else v
        data += r
    pal = b''.join(bytes((b, g, r, 0)) for (r, g, b) in palette) + b'\0' * 4 * (16 - len(palette))
    off = 14 + 40 + len(pal)
    hdr = b'BM' + struct.pack('<IHHI', off + len(data), 0, 0, off)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 4, 0, len(data), 2835, 2835, 16, 0)
    return hdr + info + pal + bytes(data)


def bmp24_topdown(img):
    w, h = img.size
    row = (w * 3 + 3) // 4 * 4
    data = bytearray()
    for y in range(h):
        r = bytearray()
        for x in range(w):
            cr, cg, cb = img.getpixel((x, y))[:3]
            r += bytes((cb, cg, cr))
        data += r + b'\0' * (row - len(r))
    off = 54
    return (b'BM' + struct.pack('<IHHI', off + len(data), 0, 0, off) +
            struct.pack('<IiiHHIIiiII', 40, w, -h, 1, 24, 0, len(data), 2835, 2835, 0, 0) + bytes(data))


PATTERN = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 255),
           (0, 0, 0), (255, 255, 0), (0, 255, 255), (255, 0, 255),
           (128, 128, 128), (64, 32, 16), (16, 32, 64), (200, 100, 50)]


def pattern_image():
    im = Image.new('RGB', (4, 3))
    for i, c in enumerate(PATTERN):
        im.putpixel((i % 4, i // 4), c)
    return im


def write_all(out):
    os.makedirs(out, exist_ok=True)
    sk, legend = colorcoded()
    folder = os.path.join(out, 'colorcoded')
    sk.write(folder)
    with open(os.path.join(folder, 'legend.txt'), 'w', newline='\n') as f:
        f.write('# part.state.slice=r,g,b of every flat colour of the colour-coded skin\n')
        f.write('\n'.join(legend) + '\n')
    good = content(folder)
    files = {
        'colorcoded.skn': blk(good),
        'colorcoded_v2extra.skn': blk(content(folder, 2, extra=[bmp_bytes(pattern_image(), 'RGB')] * 2)),
        'outer_version4.skn': blk(good, outer=4),
        'inner_version4.skn': blk(struct.pack('<i', 4) + good[4:]),
        'length0.skn': struct.pack('<ii', 3, 0),
        'all_flags_set.skn': blk(struct.pack('<i', 3) + b'\x01\x01\x01' + struct.pack('<i', 0) +
                                 sk.ini_text().encode('ascii')),
        'huge_count.skn': blk(content(folder, count_override=0x7FFFFFFF)),
    }
    z = bytearray(zlib.compress(good, 9))
    for i in range(len(z) // 3, len(z) // 3 + 16):
        z[i] ^= 0x5A
    files['damaged_zlib.skn'] = blk(b'', z=bytes(z))
    cut = zlib.compress(good, 9)[: len(zlib.compress(good, 9)) // 2]
    files['truncated_stream.skn'] = blk(b'', z=cut)
    # a zlib header whose FDICT bit asks for a preset dictionary (78 20, dictionary id, deflate data, adler-32)
    zdict = b'Trelm preset dictionary'
    co = zlib.compressobj(9, zlib.DEFLATED, -15, 9, zlib.Z_DEFAULT_STRATEGY, zdict)
    raw = co.compress(good) + co.flush()
    files['preset_dictionary.skn'] = blk(b'', z=b'\x78\x20' + struct.pack('>I', zlib.adler32(zdict)) + raw +
                                        struct.pack('>I', zlib.adler32(good)))
    # the first picture's size field says 10 MB / 10 bytes
    big = bytearray(good)
    struct.pack_into('<I', big, 4 + 1 + 2, 10_000_000)
    files['picture_size_too_large.skn'] = blk(bytes(big))
    small = bytearray(good)
    struct.pack_into('<I', small, 4 + 1 + 2, 10)
    files['picture_size_too_small.skn'] = blk(bytes(small))
    pics = os.path.join(out, 'pictures')
    os.makedirs(pics, exist_ok=True)
    im = pattern_image()
    files['pictures/bmp24.bmp'] = bmp_bytes(im, 'RGB')
    files['pictures/bmp24_topdown.bmp'] = bmp24_topdown(im)
    rgba = im.convert('RGBA')
    rgba.putalpha(Image.new('L', im.size, 255))
    rgba.putpixel((3, 2), (200, 100, 50, 128))
    files['pictures/bmp32.bmp'] = bmp_bytes(rgba, 'RGBA')
    files['pictures/bmp8.bmp'] = bmp_bytes(im.convert('P', palette=Image.Palette.ADAPTIVE, colors=16), 'P')
    one = Image.new('1', (4, 3), 1)
    for x, y in ((0, 0), (1, 1), (2, 2), (3, 0)):
        one.putpixel((x, y), 0)
    files['pictures/bmp1.bmp'] = bmp_bytes(one, '1')
    files['pictures/bmp4.bmp'] = bmp4(list(range(12)), PATTERN, 4, 3)
    import io

    def png(img):
        b = io.BytesIO()
        img.save(b, format='PNG')
        return b.getvalue()

    files['pictures/png_type0_gray.png'] = png(im.convert('L'))
    files['pictures/png_type2_rgb.png'] = png(im)
    files['pictures/png_type3_palette.png'] = png(im.convert('P', palette=Image.Palette.ADAPTIVE, colors=16))
    la = im.convert('LA')
    la.putpixel((3, 2), (100, 128))
    files['pictures/png_type4_gray_alpha.png'] = png(la)
    files['pictures/png_type6_rgba.png'] = png(rgba)
    b = io.BytesIO()
    im.convert('P', palette=Image.Palette.ADAPTIVE, colors=16).save(b, format='PCX')
    files['pictures/pcx8.pcx'] = b.getvalue()
    for name, data in files.items():
        with open(os.path.join(out, name), 'wb') as f:
            f.write(data)
    with open(os.path.join(out, 'README.md'), 'w', newline='\n') as f:
        f.write(FIXTURE_README)


def bars_and_groups(sk, legend):
    """Scroll bars, a group box and a panel with a background picture on a sheet of their own (bars.bmp).

    Bars: the button and track rectangles are places in the bar's own picture, the state, thumb and grip rectangles
    places in the sheet. Returns the entries to add."""
    im = Image.new('RGB', (180, 110), (0, 0, 0))
    pi = len(sk.pictures)  # bars.bmp; panelbg.bmp follows it
    entries = []

    def put(name, rect, col):
        im.paste(col, rect)
        legend.append('%s=%d,%d,%d' % ((name,) + col))
        return rect

    nostretch = {'leftstretch': False, 'topstretch': False, 'rightstretch': False, 'bottomstretch': False,
                 'stretcheffect': False, 'stretchtype': 'stfull'}
    # horizontal bars 60 x 17: down button 0..15, track 15..45, up button 45..60; stretched across
    for name, y, red in (('hscrollbar', 0, 10), ('bothhscrollbar', 90, 30)):
        put(name + '.down', (0, y, 15, y + 17), (red, 200, 10))
        put(name + '.track', (15, y, 45, y + 17), (red, 150, 10))
        put(name + '.up', (45, y, 60, y + 17), (red, 100, 10))
        k = {'pictureindex': pi, 'maskpictureindex': -1, 'skinrect': (0, y, 60, y + 17), 'lefttoppoint': (15, 0),
             'righttoppoint': (45, 0), 'leftbottompoint': (0, 0), 'rightbottompoint': (0, 0),
             'clientrect': (15, 0, 45, 17), 'trackarea': (15, 0, 45, 17), 'downbuttonrect': (0, 0, 15, 17),
             'upbuttonrect': (45, 0, 60, 17), 'activeupbuttonrect': (62, 0, 77, 17),
             'downupbuttonrect': (79, 0, 94, 17), 'activedownbuttonrect': (96, 0, 111, 17),
             'downdownbuttonrect': (0, 0, 0, 0), 'thumbrect': (113, 2, 123, 15), 'activethumbrect': (125, 2, 135, 15),
             'downthumbrect': (137, 2, 147, 15), 'glyphrect': (149, 4, 153, 11), 'activeglyphrect': (0, 0, 0, 0),
             'downglyphrect': (0, 0, 0, 0), 'glyphtransparent': False, 'glyphtransparentcolor': 0,
             'thumbtransparent': False, 'thumbtransparentcolor': 0, 'thumbstretcheffect': False,
             'thumboffset1': 3, 'thumboffset2': 3, 'thumbminsize': 0, 'thumbminpagesize': 0}
        k.update(nostretch)
        entries.append((name, 'scrollbar', k))
    put('hscrollbar.activeup', (62, 0, 77, 17), (10, 100, 200))
    put('hscrollbar.downup', (79, 0, 94, 17), (10, 100, 250))
    put('hscrollbar.activedown', (96, 0, 111, 17), (10, 200, 200))
    put('hscrollbar.thumb', (113, 2, 123, 15), (200, 10, 10))
    put('hscrollbar.activethumb', (125, 2, 135, 15), (200, 60, 10))
    put('hscrollbar.downthumb', (137, 2, 147, 15), (200, 110, 10))
    put('hscrollbar.glyph', (149, 4, 153, 11), (0, 0, 255))
    # vertical bar 17 x 60: down button at the top, up button at the bottom; stretched downwards
    put('vscrollbar.down', (0, 20, 17, 35), (20, 200, 10))
    put('vscrollbar.track', (0, 35, 17, 65), (20, 150, 10))
    put('vscrollbar.up', (0, 65, 17, 80), (20, 100, 10))
    put('vscrollbar.activeup', (20, 20, 37, 35), (20, 100, 200))
    put('vscrollbar.activedown', (40, 20, 57, 35), (20, 200, 200))
    put('vscrollbar.thumb', (60, 20, 73, 30), (210, 10, 10))
    put('vscrollbar.activethumb', (75, 20, 88, 30), (210, 60, 10))
    k = {'pictureindex': pi, 'maskpictureindex': -1, 'skinrect': (0, 20, 17, 80), 'lefttoppoint': (0, 15),
         'righttoppoint': (0, 0), 'leftbottompoint': (0, 45), 'rightbottompoint': (0, 0),
         'clientrect': (0, 15, 17, 45), 'trackarea': (0, 15, 17, 45), 'downbuttonrect': (0, 0, 17, 15),
         'upbuttonrect': (0, 45, 17, 60), 'activeupbuttonrect': (20, 20, 37, 35), 'downupbuttonrect': (0, 0, 0, 0),
         'activedownbuttonrect': (40, 20, 57, 35), 'downdownbuttonrect': (0, 0, 0, 0),
         'thumbrect': (60, 20, 73, 30), 'activethumbrect': (75, 20, 88, 30), 'downthumbrect': (0, 0, 0, 0),
         'glyphrect': (0, 0, 0, 0), 'activeglyphrect': (0, 0, 0, 0), 'downglyphrect': (0, 0, 0, 0),
         'glyphtransparent': False, 'glyphtransparentcolor': 0, 'thumbtransparent': False,
         'thumbtransparentcolor': 0, 'thumbstretcheffect': False, 'thumboffset1': 3, 'thumboffset2': 3,
         'thumbminsize': 0, 'thumbminpagesize': 0}
    k.update(nostretch)
    entries.append(('vscrollbar', 'scrollbar', k))
    # group box 40 x 40 (nine parts: 4 left, 16 top, 4 right, 4 bottom), caption strip (4, 2, 36, 14), check pictures
    gcols = nine_colors(50, 220)
    im.paste(nine_image(40, 40, 4, 16, 4, 4, gcols), (100, 20))
    for sl in SLICES:
        legend.append('groupbox.skinrect.%s=%d,%d,%d' % ((sl,) + gcols[sl]))
    put('groupbox.check', (145, 20, 155, 30), (0, 120, 0))
    put('groupbox.uncheck', (157, 20, 167, 30), (0, 60, 0))
    # the check pictures' bottom-left pixel is their transparent colour
    for x in (145, 157):
        im.putpixel((x, 29), (255, 0, 255))
    k = {'pictureindex': pi, 'maskpictureindex': -1, 'skinrect': (100, 20, 140, 60),
         'captionrect': (4, 2, 36, 14), 'alignment': 'taleftjustify', 'fontname': 'Arial', 'fontheight': 12,
         'fontstyle': '', 'fontcolor': 0xFF0000, 'bgpictureindex': -1, 'checkimagerect': (145, 20, 155, 30),
         'uncheckimagerect': (157, 20, 167, 30)}
    k.update(nine_keys(40, 40, 4, 16, 4, 4))
    k.update(nostretch)
    entries.append(('groupbox', 'panel', k))
    legend.append('groupbox.fontcolor=0,0,255')
    # a panel drawn with a background picture of its own (8 x 8)
    bg = Image.new('RGB', (8, 8), (123, 45, 67))
    legend.append('panelbg.picture=123,45,67')
    k = {'pictureindex': pi, 'maskpictureindex': -1, 'skinrect': (100, 20, 140, 60),
         'captionrect': (0, 0, 0, 0), 'bgpictureindex': pi + 1}
    k.update(nine_keys(40, 40, 4, 16, 4, 4))
    k.update(nostretch)
    entries.append(('panelbg', 'panel', k))
    sk.add_picture('bars.bmp', im)
    sk.add_picture('panelbg.bmp', bg)
    return entries


def list_entries(sk, legend):
    """The list box on a sheet of its own (lists.bmp): a 60 x 60 frame of nine parts (4 left, 16 top with the caption
    strip, 4 right, 4 bottom) and 30 x 18 item pictures in three states. Returns the entries to add."""
    im = Image.new('RGB', (100, 80), (0, 0, 0))
    pi = len(sk.pictures)
    nostretch = {'leftstretch': False, 'topstretch': False, 'rightstretch': False, 'bottomstretch': False,
                 'stretcheffect': False, 'stretchtype': 'stfull'}
    lcols = nine_colors(70, 130)
    im.paste(nine_image(60, 60, 4, 16, 4, 4, lcols), (0, 0))
    for sl in SLICES:
        legend.append('listbox.skinrect.%s=%d,%d,%d' % ((sl,) + lcols[sl]))
    items = {}
    for i, (name, col) in enumerate((('item', (240, 240, 200)), ('activeitem', (40, 90, 160)),
                                     ('focusitem', (160, 40, 90)))):
        r = (62, i * 20, 92, i * 20 + 18)
        im.paste(col, r)
        legend.append('listbox.%s=%d,%d,%d' % ((name,) + col))
        items[name] = r
    k = {'pictureindex': pi, 'maskpictureindex': -1, 'skinrect': (0, 0, 60, 60), 'captionrect': (4, 2, 56, 14),
         'captionfontname': 'Arial', 'captionfontheight': 12, 'captionfontstyle': '', 'captionfontcolor': 0xFFFFFF,
         'itemrect': items['item'], 'activeitemrect': items['activeitem'], 'focusitemrect': items['focusitem'],
         'itemleftoffset': 2, 'itemrightoffset': 2, 'itemtextrect': (2, 0, 28, 18), 'fontname': 'Arial',
         'fontheight': 14, 'fontstyle': '', 'fontcolor': 0x000000, 'activefontcolor': 0xFFFFFF,
         'focusfontcolor': 0x00FFFF, 'vscrollbarname': 'vscrollbar', 'hscrollbarname': 'hscrollbar',
         'bothscrollbarname': 'bothhscrollbar', 'showfocus': False}
    k.update(nine_keys(60, 60, 4, 16, 4, 4))
    k.update(nostretch)
    # the check list: the list's keys with 13 x 13 check pictures on the same sheet
    checks = {}
    for name, col, x in (('checkimagerect', (0, 150, 0), 62), ('uncheckimagerect', (150, 0, 0), 78)):
        checks[name] = (x, 60, x + 13, 73)
        im.paste(col, checks[name])
        legend.append('checklistbox.%s=%d,%d,%d' % ((name,) + col))
    ck = dict(k, itemcheckrect=(2, 2, 15, 15), **checks)
    # the header rows of the office list: a label picture 40 x 16 with its client (2, 2, 38, 14)
    im.paste((120, 30, 160), (0, 62, 40, 78))
    legend.append('menuheader.skinrect=120,30,160')
    hk = {'pictureindex': pi, 'maskpictureindex': -1, 'skinrect': (0, 62, 40, 78), 'clientrect': (2, 2, 38, 14),
          'lefttoppoint': (2, 2), 'righttoppoint': (38, 2), 'leftbottompoint': (2, 14), 'rightbottompoint': (38, 14),
          'fontname': 'Arial', 'fontheight': 12, 'fontstyle': '', 'fontcolor': 0xFFFFFF}
    hk.update(nostretch)
    sk.add_picture('lists.bmp', im)
    return [('listbox', 'listbox', k), ('checklistbox', 'checklistbox', ck), ('menuheader', 'label', hk)]


def combo_entries(sk, legend):
    """The combo box on a picture of its own (combos.bmp): "combobox" 60 x 20 stretching across (left end 3, right
    end 18 that carries the drop-down button at (43, 1, 59, 19)), a hot frame beside it, the button's hot, pressed and
    disabled pictures and the 37 x 14 item pictures in three states below; its list is "listbox"."""
    pic = Image.new('RGB', (130, 60), (0, 0, 0))

    def put(name, rect, col):
        pic.paste(col, rect)
        legend.append('%s=%d,%d,%d' % ((name,) + col))
        return rect

    put('combobox.skinrect.left', (0, 0, 3, 20), (200, 10, 40))
    put('combobox.skinrect.middle', (3, 0, 42, 20), (200, 60, 40))
    put('combobox.skinrect.right', (42, 0, 60, 20), (200, 110, 40))
    put('combobox.skinrect.button', (43, 1, 59, 19), (200, 160, 40))
    put('combobox.activeskinrect.frame', (62, 0, 122, 20), (90, 200, 200))
    put('combobox.activeskinrect.button', (105, 1, 121, 19), (90, 160, 200))
    k = {'pictureindex': len(sk.pictures), 'maskpictureindex': -1, 'skinrect': (0, 0, 60, 20),
         'activeskinrect': (62, 0, 122, 20), 'lefttoppoint': (3, 0), 'righttoppoint': (42, 0),
         'leftbottompoint': (0, 0), 'rightbottompoint': (0, 0), 'clientrect': (3, 3, 42, 17), 'leftstretch': False,
         'topstretch': False, 'rightstretch': False, 'bottomstretch': False, 'stretcheffect': False,
         'stretchtype': 'stfull', 'fontname': 'Arial', 'fontheight': 14, 'fontstyle': '', 'fontcolor': 0x0000C8,
         'activefontcolor': 0x00C800, 'focusfontcolor': 0x00FFFF, 'buttonrect': (43, 1, 59, 19),
         'itemleftoffset': 1, 'itemrightoffset': 1, 'itemtextrect': (2, 0, 35, 14), 'itemstretcheffect': False,
         'focusitemstretcheffect': False, 'listboxname': 'listbox', 'showfocus': False}
    k['activebuttonrect'] = put('combobox.activebutton', (0, 22, 16, 40), (10, 200, 60))
    k['downbuttonrect'] = put('combobox.downbutton', (18, 22, 34, 40), (10, 250, 60))
    k['unenabledbuttonrect'] = put('combobox.unenabledbutton', (36, 22, 52, 40), (10, 150, 60))
    k['itemrect'] = put('combobox.item', (0, 42, 37, 56), (230, 230, 180))
    k['activeitemrect'] = put('combobox.activeitem', (40, 42, 77, 56), (50, 100, 170))
    k['focusitemrect'] = put('combobox.focusitem', (80, 42, 117, 56), (170, 50, 100))
    legend.append('combobox.fontcolor=200,0,0')
    legend.append('combobox.focusfontcolor=255,255,0')
    sk.add_control('combobox', 'combobox', k)
    sk.add_picture('combos.bmp', pic)


FIXTURE_README = """# Skin engine test fixtures

Made by `/usr/bin/python3 skinset/skingen.py fixtures tests/skin/fixtures` (deterministic; commit what it
writes). Do not edit by hand.

- `colorcoded/`: ini skin with flat-coloured parts; `colorcoded/legend.txt` lists `part.state.slice=r,g,b`.
  Frame 100 x 80, client (5, 25, 95, 75); caption buttons 16 x 16 in `capbuttons.bmp` (row = command in the order
  close, max, min, sysmenu, tray, rollup; column = normal, hot, pressed, inactive); controls `button` (5 states),
  `edit` (2 states) and `panel` in `controls.bmp`, nine-part slices in the order lt, top, rt, left, client, right,
  lb, bottom, rb with green 20 + 25 * slice. One entry per resize mode (`mode0` 20 x 10 fixed, `mode1` 30 x 20 nine
  parts, `mode2` 30 x 12 across, `mode3` 12 x 30 down, `modenone` without rectangle), `masked` (20 x 20 with the
  mask `ctlmask.bmp`, picture 2: white in its top-left 5 x 5 corner), `buttonempty` (a button without state
  rectangles), `stdlabel` (Arial 20, colour 200,0,0, hot 0,200,0) and `bevel` (light 255,220,0, dark 0,60,160).
  `bars.bmp` holds `hscrollbar`, `bothhscrollbar` (60 x 17: down button, track, up button) and `vscrollbar`
  (17 x 60) with their state, thumb and grip pictures, and `groupbox` (40 x 40, caption strip (4, 2, 36, 14), check
  pictures); `panelbg` is that picture with the flat background picture `panelbg.bmp`.
  `lists.bmp` holds `listbox` (60 x 60, nine parts 4/16/4/4, caption strip (4, 2, 56, 14), 30 x 18 item pictures
  normal, active and focused side by side downwards at x = 62; its bars are the fixture's bars), `checklistbox` (the
  list's keys with 13 x 13 check pictures at (62, 60) and (78, 60)) and `menuheader` (a 40 x 16 label at (0, 62)).
  In `buttons.bmp`: `animbutton` (fixed 40 x 20, fade, three 40 x 20 frames side by side, no pressed picture, glow
  `glow.bmp` 52 x 30 with `glowmask.bmp`, shown 6 left and 5 up, alpha 200), `toolmenubutton` (60 x 20 across, track
  part 45..60), `checkbox` and `radiobox` (100 x 15 across, 13 x 13 check pictures with a magenta edge).
  In `tools.bmp`: `toolbutton` (24 x 22, nine parts, four states, disabled font colour equal to the normal one),
  `resizetoolbutton` (30 x 30, three states), `vtracktoolbutton` and `htracktoolbutton` (the track parts).
  In `spins.bmp`: `spinedit` (60 x 20 across: ends 3 and 18, buttons (44, 2, 58, 10) and (44, 10, 58, 18), a hot
  picture and button state pictures), `hupdown` and `updown` (30 x 15: left half down, right half up) and `vupdown`
  (15 x 20: top half up) with their hot and pressed button pictures.
  In `combos.bmp`: `combobox` (60 x 20 across: ends 3 and 18, the right end carrying the drop-down button at
  (43, 1, 59, 19); a hot frame, the button's hot, pressed and disabled pictures, 37 x 14 item pictures; list "listbox").
- `colorcoded.skn`: the same as a version-3 block. `colorcoded_v2extra.skn`: version-2 content whose two extra
  slots hold pictures; it must load like `colorcoded.skn`.
- `outer_version4.skn` (block version 4: no skin), `inner_version4.skn` (content version 4: the load stops),
  `length0.skn` (N = 0), `damaged_zlib.skn` (16 bytes of the deflate data flipped), `truncated_stream.skn` (the zlib
  stream cut in half), `preset_dictionary.skn` (a zlib header `78 20` that asks for a preset dictionary),
  `picture_size_too_large.skn` / `picture_size_too_small.skn` (the first picture's BMP size
  field says 10 000 000 / 10 bytes), `huge_count.skn` (active picture count 2^31 - 1), `all_flags_set.skn` (no
  main, inactive or mask picture, no active pictures).
- `pictures/`: 4 x 3 pictures of the pattern, row by row: red, green, blue, white / black, yellow, cyan, magenta /
  grey 128, (64, 32, 16), (16, 32, 64), (200, 100, 50). `bmp1.bmp` is 1-bit: black at (0,0), (1,1), (2,2), (3,0),
  white elsewhere. `bmp4.bmp` is 4-bit with the pattern as its palette. `bmp32.bmp` and `png_type6_rgba.png` have
  alpha 255 except 128 at (3,2); `png_type4_gray_alpha.png` has grey 100 with alpha 128 at (3,2). `bmp8.bmp`,
  `png_type3_palette.png` and `pcx8.pcx` are 8-bit palette pictures, `png_type0_gray.png` the grey conversion.
"""


def view_entries(sk, legend):
    """The list and tree views on a picture of their own (views.bmp): the view colours and font, a header strip with
    a pressed picture, the selected-item pictures of the views' item entry ("viewitem", of the list box kind) and the
    tree's expand-button pictures. Every part is a flat colour."""
    pic = Image.new('RGB', (120, 60), (0, 0, 0))

    def flat(name, col, rect):
        pic.paste(col, rect)
        legend.append('%s=%d,%d,%d' % ((name,) + col))
        return rect

    pi = sk.add_picture('views.bmp', pic)
    strip = {'pictureindex': pi, 'maskpictureindex': -1, 'lefttoppoint': (4, 0), 'righttoppoint': (36, 0),
             'leftbottompoint': (0, 0), 'rightbottompoint': (0, 0), 'clientrect': (4, 0, 36, 18),
             'leftstretch': False, 'topstretch': False, 'rightstretch': False, 'bottomstretch': False,
             'stretcheffect': False, 'stretchtype': 'stfull', 'fontname': 'Tahoma', 'fontheight': 13,
             'fontstyle': '', 'fontcolor': 0x000080, 'activefontcolor': 0x000080, 'downfontcolor': 0x008000,
             'disabledfontcolor': 0x808080, 'morphing': False}
    strip['skinrect'] = flat('header.skinrect', (200, 180, 60), (0, 0, 40, 18))
    strip['downskinrect'] = flat('header.downskinrect', (60, 180, 200), (42, 0, 82, 18))
    strip['activeskinrect'] = (0, 0, 0, 0)
    legend.append('header.fontcolor=128,0,0')
    legend.append('header.downfontcolor=0,128,0')
    item = {'pictureindex': pi, 'maskpictureindex': -1, 'skinrect': (0, 20, 40, 36), 'itemtextrect': (2, 2, 38, 14),
            'lefttoppoint': (0, 0), 'righttoppoint': (0, 0), 'leftbottompoint': (0, 0), 'rightbottompoint': (0, 0),
            'clientrect': (0, 0, 40, 16), 'fontname': 'Tahoma', 'fontheight': 13, 'fontstyle': '', 'fontcolor': 0,
            'activefontcolor': 0xFFFFFF, 'focusfontcolor': 0x00FFFF}
    item['activeitemrect'] = flat('viewitem.activeitemrect', (250, 120, 40), (0, 20, 40, 36))
    item['focusitemrect'] = flat('viewitem.focusitemrect', (40, 120, 250), (42, 20, 82, 36))
    legend.append('viewitem.activefontcolor=255,255,255')
    legend.append('viewitem.focusfontcolor=255,255,0')
    tree = {'pictureindex': pi, 'maskpictureindex': -1, 'skinrect': (0, 0, 0, 0), 'fontname': 'Tahoma',
            'fontheight': 13, 'fontstyle': '', 'fontcolor': 0x000000, 'bgcolor': 0xFAE6F0}
    # the button pictures are drawn transparent (their bottom-left pixel's colour): a magenta edge around the colour
    for x in (0, 15):
        pic.paste((255, 0, 255), (x, 40, x + 13, 53))
    tree['expandimagerect'] = (0, 40, 13, 53)
    tree['noexpandimagerect'] = (15, 40, 28, 53)
    flat('treeview.expandimage', (0, 150, 150), (1, 41, 12, 52))
    flat('treeview.noexpandimage', (150, 0, 150), (16, 41, 27, 52))
    legend.append('treeview.bgcolor=240,230,250')
    sk.add_control('header', 'button', strip)
    sk.add_control('listview', 'listview', {'pictureindex': -1, 'maskpictureindex': -1, 'skinrect': (0, 0, 0, 0),
                                            'fontname': 'Tahoma', 'fontheight': 13, 'fontstyle': '',
                                            'fontcolor': 0x000000, 'bgcolor': 0xC8F0E6})
    legend.append('listview.bgcolor=230,240,200')
    sk.add_control('viewitem', 'listbox', item)
    sk.add_control('treeview', 'treeview', tree)


def tab_entries(sk, legend):
    """The page control's "tab" entry on a picture of its own (tabs.bmp): a 60 x 50 frame cut 4 pixels from every
    side, flat tab state rectangles (the active and focused ones two pixels higher), the strip behind the tabs and the
    close button's normal and hot pictures. "tabnoclose" is the same without the close pictures, "officetab" (the ribbon) the same with them."""
    im = Image.new('RGB', (170, 64), (0, 0, 0))

    def put(name, rect, col):
        im.paste(col, rect)
        legend.append('%s=%d,%d,%d' % ((name,) + col))
        return rect

    cols = nine_colors(90, 60)
    im.paste(nine_image(60, 50, 4, 4, 4, 4, cols), (0, 0))
    for sl in SLICES:
        legend.append('tab.skinrect.%s=%d,%d,%d' % ((sl,) + cols[sl]))
    k = {'skinrect': (0, 0, 60, 50), 'leftstretch': False, 'topstretch': False, 'rightstretch': False,
         'bottomstretch': False, 'stretcheffect': False, 'stretchtype': 'stfull', 'maskpictureindex': -1,
         'tabrect': put('tab.tabrect', (62, 0, 102, 20), (200, 30, 30)),
         'mouseintabrect': put('tab.mouseintabrect', (104, 0, 144, 20), (200, 200, 30)),
         'activetabrect': put('tab.activetabrect', (62, 22, 102, 44), (30, 200, 30)),
         'focustabrect': put('tab.focustabrect', (104, 22, 144, 44), (30, 30, 200)),
         'tabsbgrect': put('tab.tabsbgrect', (0, 52, 20, 62), (70, 140, 210)),
         'closebuttonrect': put('tab.closebuttonrect', (150, 0, 160, 10), (250, 100, 100)),
         'closebuttonactiverect': put('tab.closebuttonactiverect', (150, 12, 160, 22), (100, 250, 100)),
         'closebuttondownrect': (0, 0, 0, 0), 'buttontransparent': False, 'buttontransparentcolor': 0,
         'tableftoffset': 3, 'tabrightoffset': 3, 'tabstretcheffect': False, 'fontname': 'Arial',
         'fontheight': 13, 'fontstyle': '', 'fontcolor': 0xFFFFFF, 'activefontcolor': 0xFFFFFF,
         'focusfontcolor': 0xFFFFFF, 'mouseinfontcolor': 0, 'updown': 'updown', 'bgpictureindex': -1,
         'showfocus': False, 'focusoffsetx': 0, 'focusoffsety': 0}
    k.update(nine_keys(60, 50, 4, 4, 4, 4))
    pi = sk.add_picture('tabs.bmp', im)
    k['pictureindex'] = pi
    sk.add_control('tab', 'tab', k)
    sk.add_control('tabnoclose', 'tab', dict(k, closebuttonrect=(0, 0, 0, 0), closebuttonactiverect=(0, 0, 0, 0)))
    # The ribbon's entry: the same frame and tab pictures under the ribbon's name.
    sk.add_control('officetab', 'tab', k)
    appmenu_entry(sk, legend)


def appmenu_entry(sk, legend):
    """The ribbon's application menu ("appmenu", appmenu.bmp): the page frame 60 x 50 cut 4 pixels from every side,
    flat command, page and active page item pictures and the caption part for the form's title; no background
    pictures, back button, top line or gripper."""
    im = Image.new('RGB', (150, 60), (0, 0, 0))

    def put(name, rect, col):
        im.paste(col, rect)
        legend.append('%s=%d,%d,%d' % ((name,) + col))
        return rect

    cols = nine_colors(110, 40)
    im.paste(nine_image(60, 50, 4, 4, 4, 4, cols), (0, 0))
    for sl in SLICES:
        legend.append('appmenu.skinrect.%s=%d,%d,%d' % ((sl,) + cols[sl]))
    k = {'skinrect': (0, 0, 60, 50), 'leftstretch': False, 'topstretch': False, 'rightstretch': False,
         'bottomstretch': False, 'stretcheffect': False, 'stretchtype': 'stfull', 'maskpictureindex': -1,
         'bgpictureindex': -1, 'bgstretcheffect': False, 'bgpagepictureindex': -1, 'bgpagestretcheffect': False,
         'itemrect': put('appmenu.itemrect', (62, 0, 102, 24), (220, 120, 20)),
         'pageitemrect': put('appmenu.pageitemrect', (62, 26, 102, 56), (20, 120, 220)),
         'pageitemactiverect': put('appmenu.pageitemactiverect', (104, 26, 144, 58), (120, 220, 20)),
         'captionrect': put('appmenu.captionrect', (104, 0, 144, 20), (230, 40, 160)),
         'itemoffset1': 3, 'itemoffset2': 3, 'pageitemoffset1': 10, 'pageitemoffset2': 10, 'pageoffset': 10,
         'fontname': 'Arial', 'fontstyle': '', 'fontheight': 13, 'fontpageheight': 16, 'fontcolor': 0xFFFFFF,
         'disabledfontcolor': 0x808080, 'fontpagecolor': 0xFFFFFF, 'activefontcolor': 0, 'activefontpagecolor': 0,
         'gripperrect': (0, 0, 0, 0), 'grippertransparentcolor': 0, 'toplinerect': (0, 0, 0, 0),
         'toplineoffset1': 0, 'toplineoffset2': 0, 'backbuttonrect': (0, 0, 0, 0),
         'backbuttonactiverect': (0, 0, 0, 0), 'captionleftoffset': 6, 'captiontopoffset': 2,
         'formcaptionrect': (0, 0, 0, 0)}
    k.update(nine_keys(60, 50, 4, 4, 4, 4))
    k['pictureindex'] = sk.add_picture('appmenu.bmp', im)
    sk.add_control('appmenu', 'appmenu', k)
