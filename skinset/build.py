"""Builds one skin (pictures and ini entries) from a catalogue entry."""

from PIL import Image

import painters as P
from draw import colorref as C
from draw import darken, lighten, list_colours, mix, readable, title_band, title_colour, worst_contrast
from skinfile import Atlas, Skin
from theme import Theme

MORPH_KINDS = ['mkdefault', 'mkgradient', 'mkleftgradient', 'mkrightgradient', 'mkleftslide', 'mkrightslide', 'mkpush']
EFFECTS = ['iebrightness', 'iedarkness', 'iegrayscale', 'ienoise', 'iesplitblur', 'ieinvert']
FONT = 'Tahoma'


def nine(rect_w, rect_h, l, t, r, b):
    """Nine-part keys for an image of rect_w x rect_h with fixed margins l, t, r, b (relative to SkinRect)."""
    return {'lefttoppoint': (l, t), 'righttoppoint': (rect_w - r, t), 'leftbottompoint': (l, rect_h - b),
            'rightbottompoint': (rect_w - r, rect_h - b), 'clientrect': (l, t, rect_w - r, rect_h - b)}


def stretch_all(on=True):
    return {'leftstretch': on, 'topstretch': on, 'rightstretch': on, 'bottomstretch': on, 'stretcheffect': on,
            'stretchtype': 'stfull'}


def font(color, height=13, style='', name=FONT):
    return {'fontname': name, 'fontheight': height, 'fontstyle': style, 'fontcolor': C(color)}


def caption_layout(t, g):
    """Where the caption's parts go: the buttons' right margin, the caption's left edge, the button gap, the
    caption object's rectangle in the frame picture, its text rectangle and its font height."""
    d = t.d
    bm = max(d['border'] if d['btn'] not in ('flat', 'glass') else 0, 1) + (4 if d['btn'] in ('luna', 'bevel',
                                                                                              'outline', 'flatround', 'pill') else 0)
    cap_l = max(d['border'], 3) + 3
    gap = {'glass': 0, 'flat': 0, 'pill': 1, 'luna': 2, 'bevel': 2, 'outline': 2, 'flatround': 2}[d['btn']]
    text_right = (P.PW - bm - (d['cw'] + 3 * d['bw'] + 3 * gap)) - cap_l - 6
    return dict(bm=bm, cap_l=cap_l, gap=gap, skinrect=(cap_l, 0, P.PW - cap_l, g['ct']),
                textrect=(4, d['border'], text_right, g['ct'] - 1) if t.design == 'classic' else  # the inset bar
                (4, 0, text_right, g['ct'] - (1 if d['border'] > 2 else 0)),
                fontheight=14 if d['cap_h'] >= 28 else 13)


def build(spec):
    t = Theme(spec['design'], spec['accent'], spec.get('variant', 'light'))
    d = t.d
    sk = Skin(spec['name'], spec['comments'])
    sk.spec = spec
    g = P.frame_geometry(t)
    frame = P.draw_frame(t, True)
    iframe = P.draw_frame(t, False)
    sk.main = ('frame.bmp', frame, 'RGB')
    if spec.get('inactive_picture', True):
        sk.inactive = ('frame_inactive.bmp', iframe, 'RGB')
    has_mask = d['rt'] > 0 or d['rb'] > 0
    if has_mask:
        sk.mask = ('mask.bmp', P.draw_mask(t), '1')
    lay = caption_layout(t, g)
    # the title reads on every pixel it can cover: 4.5:1 active where the picture allows, 3:1 at least
    band = title_band(frame, lay['skinrect'], lay['textrect'], lay['fontheight'])
    t.capfg = title_colour(t.capfg, band, 4.5)
    if worst_contrast(t.capfg, band)[0] < 3.2:
        t.capfg = title_colour(t.capfg, band, 3.2)
    t.capbtnfg = t.capfg
    t.icapfg = title_colour(t.icapfg, title_band(iframe, lay['skinrect'], lay['textrect'], lay['fontheight']), 3.2)

    # ---- caption buttons sheet
    cells = {}
    rows = []
    for kind in P.BUTTON_ROWS:
        row = [P.draw_caption_button(t, kind, st, frame, iframe) for st in P.STATES]
        rows.append((kind, row))
    sheet_w = 4 * (max(d['cw'], d['bw']) + 1)
    atlas = Atlas(sheet_w, bg=(255, 0, 255))
    for kind, row in rows:
        atlas.newline()
        rects = atlas.add_row(row)
        cells[kind] = dict(zip(P.STATES, rects))
    btn_pic = sk.add_picture('capbuttons.bmp', atlas.render())

    # glow pictures for caption buttons (hover halo): one for the ordinary size, one for the close button
    glow = spec.get('glow', False)
    glow_idx = {}
    if glow:
        gsz = 8
        for kind, w, col in (('btn', d['bw'], lighten(t.acc, .55)), ('close', d['cw'], (255, 120, 90))):
            pic, mask = P.draw_glow(w, d['bh'], gsz, col)
            glow_idx[kind] = (sk.add_picture('glow_%s.bmp' % kind, pic), sk.add_picture('glowmask_%s.bmp' % kind,
                                                                                          mask, 'L'), gsz)

    # ---- form info
    cl = g['client']
    fi = sk.section('FORMINFO')
    fi['lefttoppoint'] = g['lt']
    fi['righttoppoint'] = g['rt']
    fi['leftbottompoint'] = g['lb']
    fi['rightbottompoint'] = g['rb']
    fi['clientrect'] = cl
    fi['bgpictureindex'] = -1
    fi['mdibgpictureindex'] = -1
    fi['leftstretch'] = fi['rightstretch'] = fi['bottomstretch'] = False
    fi['topstretch'] = True
    fi['stretcheffect'] = False
    fi['stretchtype'] = 'stfull'
    fi['mdibgstretcheffect'] = False
    fi['mdibgstretchtype'] = 'stfull'
    rt, rb = d['rt'], d['rb']
    fi['maskrectarea'] = (0, rt, P.PW, P.PH - rb) if has_mask else (0, 0, 0, 0)
    hs = max(d['border'], 6)
    fi['hittestlefttoppoint'] = (hs + 4, hs + 4)
    fi['hittestrighttoppoint'] = (P.PW - hs - 4, hs + 4)
    fi['hittestleftbottompoint'] = (hs + 4, P.PH - hs - 4)
    fi['hittestrightbottompoint'] = (P.PW - hs - 4, P.PH - hs - 4)
    by = P.button_top(t)
    bm, cap_l, gap = lay['bm'], lay['cap_l'], lay['gap']
    fi['buttonsrect'] = (P.PW // 2 + 2, by, P.PW - bm, by + d['bh'])
    fi['captionrect'] = (cap_l, 0, P.PW - bm, g['ct'])
    fi['buttonsoffset'] = gap
    fi['buttonsinleft'] = False
    fi['mainmenupopupup'] = False
    fi['borderwidth'] = max(d['border'], 4)
    fi['formminwidth'] = 160
    fi['formminheight'] = g['ct'] + d['border'] + 24
    fi['mditabstransparent'] = False
    fi['mainmenubartransparent'] = False
    fi['autorenderinginactiveimage'] = not spec.get('inactive_picture', True)
    fi['inactiveeffect'] = spec.get('effect', 'iebrightness')

    # ---- caption object
    cap = {'skinrectinapicture': False, 'skinrect': lay['skinrect'],
           'activeskinrect': (0, 0, 0, 0), 'activepictureindex': -1,
           'fontname': FONT, 'fontheight': lay['fontheight'],
           'fontstyle': 'fsbold' if spec['design'] in ('luna', 'classic', 'elegant', 'carbon') else '',
           'fontcolor': C(t.icapfg), 'activefontcolor': C(t.capfg),
           'shadow': spec['design'] in ('luna', 'elegant'), 'shadowcolor': C(darken(t.icap[-1][1], .3)),
           'activeshadowcolor': C(darken(t.cap[-1][1], .45)),
           'alignment': 'tacenter' if spec['design'] in ('metro', 'office13') else 'taleftjustify',
           'textrect': lay['textrect'],
           'vistaglow' + 'effect': spec['design'] == 'aero', 'vistaglowinactiveeffect': False,
           'glowcolor': C((255, 255, 255)), 'glowactivecolor': C((255, 255, 255)), 'glowsize': 6, 'glowoffset': 0}
    if spec.get('caption_morph'):
        # a caption strip of its own, so the active background can cross-fade with the frame's
        strip = frame.crop((cap_l, 0, P.PW - cap_l, g['ct']))
        cap['activepictureindex'] = sk.add_picture('caption.bmp', strip)
        cap['activeskinrect'] = (0, 0, strip.width, strip.height)
        cap['morphing'] = True
        cap['morphkind'] = spec['morph']
        cap['stretcheffect'] = True
    sk.add_object('caption', 'caption', cap)
    if spec.get('animate'):
        fw, fh, n = d['bw'], d['bh'], 6
        strip = P.animation_strip(t, fw, fh, n)
        ai = sk.add_picture('animate.bmp', strip, 'RGBA' if spec.get('rgba') else 'RGB')
        sk.add_object('animsysmenu', 'animate', {
            'hint': 'System menu', 'skinrectinapicture': True, 'skinrect': (0, 0, fw, fh),
            'activeskinrect': (0, 0, fw * n, fh), 'activepictureindex': ai, 'countframes': n, 'cycle': False,
            'buttonstyle': True, 'timerinterval': 40, 'command': 'cmsysmenu', 'downskinrect': (fw * (n - 1), 0, fw * n, fh)})

    # ---- standard buttons
    morph = spec.get('morph', 'mkdefault')

    def std(idname, kind, command, hint, restore=None):
        c = cells[kind]
        keys = {'hint': hint, 'skinrectinapicture': True, 'skinrect': c['normal'], 'activeskinrect': c['hot'],
                'activepictureindex': btn_pic, 'inactiveskinrect': c['inactive'], 'morphing': spec.get('morphing', True),
                'morphkind': morph, 'downrect': c['down'], 'command': command}
        gk = 'close' if kind in ('close', 'dialogclose') else 'btn'
        if gk in glow_idx:
            gi, gm, gs = glow_idx[gk]
            keys.update({'glowlayerpictureindex': gi, 'glowlayermaskpictureindex': gm, 'glowlayeroffsetx': gs,
                         'glowlayeroffsety': gs, 'glowlayeralphablendvalue': 220})
        if restore:
            r = cells[restore]
            keys.update({'restorerect': r['normal'], 'restoreactiverect': r['hot'], 'restoredownrect': r['down'],
                         'restoreinactiverect': r['inactive']})
        if spec.get('layer') == 'full':
            keys.update({'alphamaskpictureindex': sk.full_alpha[kind], 'alphamaskactivepictureindex': sk.full_alpha[kind],
                         'alphamaskinactivepictureindex': sk.full_alpha[kind]})
        sk.add_object(idname, 'stdbutton', keys)

    if spec.get('layer') == 'full':
        sk.full_alpha = {}
        for kind in P.BUTTON_ROWS:
            w = cells[kind]['normal'][2] - cells[kind]['normal'][0]
            name = 'alphamask_%dx%d.bmp' % (w, d['bh'])
            if name not in [p[0] for p in sk.pictures]:
                m = P.shape_mask(w, d['bh'], 4).point(lambda v: v)
                sk.add_picture(name, m, 'L')
            sk.full_alpha[kind] = [p[0] for p in sk.pictures].index(name)
    std('closebutton', 'close', 'cmclose', 'Close')
    std('maxbutton', 'max', 'cmmaximize', 'Maximize', restore='restore')
    std('minbutton', 'min', 'cmminimize', 'Minimize')
    std('rollupbutton', 'rollup', 'cmrollup', 'Roll Up', restore='rolldown')
    std('traybutton', 'tray', 'cmminimizetotray', 'Minimize to Tray')
    std('sysmenubutton', 'sysmenu', 'cmsysmenu', 'System menu')
    std('dialogclosebutton', 'dialogclose', 'cmclose', 'Close')

    # ---- menu pictures: items, separators and marks
    ma = Atlas(160, bg=t.menu)
    iw, ih = 120, 22
    item_a_img = P.item_face(t, iw, ih, 'active')
    item_n, item_a = ma.add_row([P.item_face(t, iw, ih, 'normal'), item_a_img])
    sep = ma.add(P.separator(t, iw, 7))
    ma.newline()
    chk, chka, rad, rada = ma.add_row([P.menu_mark(t, 'check', False), P.menu_mark(t, 'check', True),
                                       P.menu_mark(t, 'radio', False), P.menu_mark(t, 'radio', True)])
    arr, arra = ma.add_row([P.menu_arrow(t, False), P.menu_arrow(t, True)])
    menu_pic_img = ma.render()
    menu_pic = sk.add_picture('menu.bmp', menu_pic_img)
    mi_name = 'MENUITEM' if spec.get('menuitem_upper') else 'menuitem'
    sk.add_object(mi_name, 'menuitem', {
        'skinrectinapicture': True, 'skinrect': item_n, 'activeskinrect': item_a, 'activepictureindex': menu_pic,
        'morphing': spec.get('menu_morph', False), 'morphkind': morph, 'dividerrect': sep, 'dividerleftoffset': 30,
        'dividerrightoffset': 4, 'itemleftoffset': 4, 'itemrightoffset': 4, 'fontname': FONT, 'fontheight': 13,
        'fontstyle': '', 'unenabledfontcolor': C(t.dtext), 'fontcolor': C(t.menutext),
        'activefontcolor': C(readable(item_a_img.getpixel((iw // 2, ih // 2)), t.menutext, 4.5)),
        'textrect': (28, 0, iw - 4, ih), 'imagerect': (4, 3, 20, 19), 'stretcheffect': True,
        'dividerstretcheffect': True, 'inactivestretcheffect': True,
        'checkimagerect': chk, 'activecheckimagerect': chka, 'radioimagerect': rad, 'activeradioimagerect': rada,
        'arrowimagerect': arr, 'activearrowimagerect': arra})

    # popup window picture (+ mask for rounded corners)
    pw_w, pw_h = 60, 60
    ppic = P.popup_window(t, pw_w, pw_h)
    pidx = sk.add_picture('popup.bmp', ppic)
    pm = -1
    if d['r'] >= 3:
        pm = sk.add_picture('popupmask.bmp', P.round_mask(pw_w, pw_h, min(d['r'], 4)), '1')
    pop = sk.section('POPUPWINDOW')
    pop.update({'windowpictureindex': pidx, 'maskpictureindex': pm, 'lefttoppoint': (8, 8), 'righttoppoint': (52, 8),
                'leftbottompoint': (8, 52), 'rightbottompoint': (52, 52), 'itemsrect': (3, 3, 57, 57),
                'scrollmarkercolor': C(t.menutext), 'scrollmarkeractivecolor': C(t.acc), 'leftstretch': True,
                'rightstretch': True, 'topstretch': True, 'bottomstretch': True, 'stretcheffect': True,
                'stretchtype': 'stfull'})

    # layered border: a drop shadow around the frame, or the whole frame drawn outside the window
    lf = sk.section('LAYERFRAME')
    if spec.get('layer') == 'shadow':
        s = 12
        pic, mask = P.draw_layer_shadow(P.PW, P.PH, s, max(rt, rb))
        li = sk.add_picture('layer.bmp', pic)
        lm = sk.add_picture('layermask.bmp', mask, 'L')
        W, H = pic.size
        c = (s, s, s + P.PW, s + P.PH)
        lf.update({'pictureindex': li, 'maskpictureindex': lm, 'inactivepictureindex': li,
                   'inactivemaskpictureindex': lm, 'lefttoppoint': (s + 20, s + 20), 'righttoppoint': (W - s - 20, s + 20),
                   'leftbottompoint': (s + 20, H - s - 20), 'rightbottompoint': (W - s - 20, H - s - 20),
                   'clientrect': c, 'alphablendvalue': 255, 'inactivealphablendvalue': 170,
                   'borderrect': (0, 0, 0, 0), 'hittestrect': (s - 4, s - 4, W - s + 4, H - s + 4),
                   'hittestenable': True, 'fullborder': False, 'hittestsize': 4, 'fullstretch': False,
                   'hittestlefttoppoint': (s + 8, s + 8), 'hittestrighttoppoint': (W - s - 8, s + 8),
                   'hittestleftbottompoint': (s + 8, H - s - 8), 'hittestrightbottompoint': (W - s - 8, H - s - 8)})
    elif spec.get('layer') == 'full':
        s = 12
        shadow, smask = P.draw_layer_shadow(P.PW, P.PH, s, max(rt, rb))
        full = Image.new('RGB', shadow.size, (0, 0, 0))
        full.paste(frame, (s, s))
        ifull = Image.new('RGB', shadow.size, (0, 0, 0))
        ifull.paste(iframe, (s, s))
        fm = smask.copy()
        win = P.shape_mask(P.PW, P.PH, (rt, rt, rb, rb))
        fm.paste(Image.new('L', win.size, 255), (s, s), win)
        li = sk.add_picture('layer.bmp', full)
        lii = sk.add_picture('layer_inactive.bmp', ifull)
        lm = sk.add_picture('layermask.bmp', fm, 'L')
        W, H = full.size
        c = (s + cl[0], s + cl[1], s + cl[2], s + cl[3])
        lf.update({'pictureindex': li, 'maskpictureindex': lm, 'inactivepictureindex': lii,
                   'inactivemaskpictureindex': lm, 'lefttoppoint': (s + g['lt'][0], s + g['lt'][1]),
                   'righttoppoint': (s + g['rt'][0], s + g['rt'][1]), 'leftbottompoint': (s + g['lb'][0], s + g['lb'][1]),
                   'rightbottompoint': (s + g['rb'][0], s + g['rb'][1]), 'clientrect': c, 'alphablendvalue': 255,
                   'inactivealphablendvalue': 220, 'borderrect': (s, s, s + P.PW, s + P.PH),
                   'hittestrect': (s - 3, s - 3, W - s + 3, H - s + 3), 'hittestenable': True, 'fullborder': True,
                   'hittestsize': 5, 'captionrect': (s + cap_l, s, s + P.PW - bm, s + g['ct']),
                   'hittestlefttoppoint': (s + 10, s + 10), 'hittestrighttoppoint': (W - s - 10, s + 10),
                   'hittestleftbottompoint': (s + 10, H - s - 10), 'hittestrightbottompoint': (W - s - 10, H - s - 10),
                   'buttonsrect': (s + P.PW // 2 + 2, s + by, s + P.PW - bm, s + by + d['bh']),
                   'sysmenubuttonrect': (s + cap_l, s + by, s + cap_l + d['bw'], s + by + d['bh']),
                   'fullstretch': False, 'rollupformheight': 0, 'buttonstopoffset': 0, 'sysbuttontopoffset': 0,
                   'leftoffset': 0, 'topoffset': 0, 'widthoffset': 0, 'heightoffset': 0})
    else:
        lf.update({'pictureindex': -1, 'maskpictureindex': -1})
    if not lf:
        del sk.sections['LAYERFRAME']

    # hint window
    hw, hh = 40, 30
    hidx = sk.add_picture('hint.bmp', P.hint_window(t, hw, hh), 'RGBA' if spec.get('rgba') else 'RGB')
    hm = sk.add_picture('hintmask.bmp', P.round_mask(hw, hh, 4), '1') if d['r'] >= 2 else -1
    hint = sk.section('HINTWINDOW')
    hint.update({'windowpictureindex': hidx, 'maskpictureindex': hm, 'lefttoppoint': (6, 6), 'righttoppoint': (34, 6),
                 'leftbottompoint': (6, 24), 'rightbottompoint': (34, 24), 'clientrect': (5, 4, 35, 26),
                 'fontname': FONT, 'fontheight': 13, 'fontstyle': '', 'fontcolor': C(t.hinttext),
                 'leftstretch': True, 'rightstretch': True, 'topstretch': True, 'bottomstretch': True,
                 'stretcheffect': True, 'stretchtype': 'stfull'})

    # skin colours
    sc = sk.section('SKINCOLORS')
    sc.update({'cbtnface': C(t.face), 'cbtntext': C(t.text), 'cwindow': C(t.window), 'cwindowtext': C(t.text),
               'chighlight': C(t.hi), 'chighlighttext': C(t.hitext), 'cbtnhighlight': C(t.light),
               'cbtnshadow': C(t.shadow)})

    build_controls(sk, t, spec)
    return sk


def build_controls(sk, t, spec):
    """The control sheet and one entry for every control name the two programs ask for."""
    d = t.d
    a = Atlas(320, bg=t.face)
    ci = len(sk.pictures)  # index the sheet will get
    morph = spec.get('morph', 'mkdefault')
    r = max(d['r'], 0)
    m = max(r, 3)  # nine-part margin

    placed = {}

    def states(fn, w, h, names):
        imgs = [fn(t, w, h, s) for s in names]
        rects = a.add_row(imgs)
        for im, r in zip(imgs, rects):
            placed[r] = im
        return dict(zip(names, rects))

    def a_img_at(rect):
        im = placed[rect]
        return im.getpixel((im.width // 2, im.height // 2))[:3]

    def rel(rect, base):
        return (rect[0] - base[0], rect[1] - base[1], rect[2] - base[0], rect[3] - base[1])

    # push buttons
    bw, bh = 72, 23
    pb = states(P.push_button, bw, bh, ['normal', 'hot', 'down', 'disabled', 'focused'])
    glow = {}
    if spec.get('button_glow'):
        gpic, gmask = P.draw_glow(bw, bh, 6, lighten(t.acc, .45))
        glow = {'glowlayerpictureindex': -2, 'glowlayermaskpictureindex': -3, 'glowlayeroffsetleft': 6,
                'glowlayeroffsetright': 6, 'glowlayeroffsettop': 6, 'glowlayeroffsetbottom': 6,
                'glowlayershowoffsetx': 0, 'glowlayershowoffsety': 0, 'glowlayeralphablendvalue': 200}

    def centre(rect):
        return a_img_at(rect)

    def button_entry(rects, w, h, fontc, hotc, downc, extra=None, mg=None):
        mg = m if mg is None else mg
        fontc = readable(centre(rects['normal']), fontc, 4.5)
        if 'hot' in rects:
            hotc = readable(centre(rects['hot']), hotc, 4.5)
        if 'down' in rects:
            downc = readable(centre(rects['down']), downc, 4.5)
        keys = {'pictureindex': ci, 'maskpictureindex': -1, 'skinrect': rects['normal']}
        keys.update(nine(w, h, mg, mg, mg, mg))
        keys.update(stretch_all(True))
        keys.update(font(fontc))
        keys.update({'activefontcolor': C(hotc), 'downfontcolor': C(downc), 'disabledfontcolor': C(t.dtext),
                     'activeskinrect': rects.get('hot', (0, 0, 0, 0)), 'downskinrect': rects.get('down', (0, 0, 0, 0)),
                     'disabledskinrect': rects.get('disabled', (0, 0, 0, 0)),
                     'focusedskinrect': rects.get('focused', (0, 0, 0, 0)), 'morphing': spec.get('morphing', True),
                     'morphkind': morph, 'animateinterval': 25, 'showfocus': 'focused' not in rects})
        if extra:
            keys.update(extra)
        return keys

    down_text = t.btnhottext if t.d['ctl'] != 'bevel' else t.text
    sk.add_control('button', 'button', button_entry(pb, bw, bh, t.btntext, t.btnhottext, down_text, glow))
    # tool buttons: flat until hovered
    tw, th = 40, 24
    tb = states(P.tool_button, tw, th, ['normal', 'hot', 'down'])
    for name in ('resizebutton', 'resizetoolbutton', 'toolbutton', 'bigtoolbutton', 'officequickbutton',
                 'officeribbonbutton', 'menuitembutton', 'htracktoolbutton', 'vtracktoolbutton'):
        sk.add_control(name, 'button', button_entry(tb, tw, th, t.btntext, t.btnhottext, down_text, mg=4))
    # menu tool buttons: a track part at the right and the drop-down marker
    mk = [P.small_button(t, 9, 9, s, 'down', bg=t.face) if t.d['ctl'] != 'flat' else
          P.small_button(t, 9, 9, 'normal', 'down', bg=t.face) for s in ('normal', 'hot', 'down')]
    mkr = a.add_row([Image.new('RGB', (9, 9), t.face)] + mk)
    flatmk = Image.new('RGB', (9, 9), t.face)
    P.glyph(flatmk, 'down', (0, 0, 9, 9), t.text, 0.8)
    mkf = a.add(flatmk)
    for name in ('toolmenubutton', 'toolmenutrackbutton', 'bigtoolmenubutton', 'bigtoolmenutrackbutton',
                 'officemenubutton'):
        src = pb if name == 'officemenubutton' else tb
        w, h = (bw, bh) if name == 'officemenubutton' else (tw, th)
        sk.add_control(name, 'menubutton', button_entry(src, w, h, t.btntext, t.btnhottext, down_text, {
            'menumarkerflatrect': mkf, 'menumarkerrect': mkr[1], 'menumarkeractiverect': mkr[2],
            'menumarkerdownrect': mkr[3], 'menumarkertransparentcolor': C(t.face), 'trackbuttonrect': (w - 14, 0, w, h)},
            mg=4))
    # small buttons used inside edits and combos
    sbw, sbh = 17, 19
    sb = states(lambda tt, w, h, s: P.small_button(tt, w, h, s), sbw, sbh, ['normal', 'hot', 'down', 'disabled'])
    for name in ('combobutton', 'editbutton'):
        sk.add_control(name, 'button', button_entry(sb, sbw, sbh, t.btntext, t.btnhottext, down_text, mg=3))
    # list-view header
    hw, hh = 60, 22
    hd = states(P.header_face, hw, hh, ['normal', 'hot', 'down'])
    sk.add_control('header', 'button', button_entry(hd, hw, hh, t.text, t.text, t.text, mg=3))

    # check box and radio button
    cb = {}
    cs = 13
    a.newline()
    for radio in (False, True):
        imgs = []
        names = []
        for chk_state in (True, False):
            for st in ('normal', 'hot', 'disabled'):
                imgs.append(P.check_box(t, cs, chk_state, st, radio))
                names.append((chk_state, st))
        if not radio:
            imgs += [P.check_box(t, cs, 'grayed', 'normal'), P.check_box(t, cs, 'grayed', 'hot')]
            names += [('grayed', 'normal'), ('grayed', 'hot')]
        cb[radio] = dict(zip(names, a.add_row(imgs)))
    cr_w, cr_h = 90, 20
    crbg = a.add(P.face_img(t, cr_w, cr_h))
    crbga = a.add(P.face_img(t, cr_w, cr_h))
    for name, radio in (('checkbox', False), ('radiobox', True)):
        c = cb[radio]
        keys = {'pictureindex': ci, 'maskpictureindex': -1, 'skinrect': crbg}
        keys.update(nine(cr_w, cr_h, 0, 0, 0, 0))
        keys.update(stretch_all(True))
        keys.update(font(t.text))
        keys.update({'activefontcolor': C(t.text), 'unenabledfontcolor': C(t.dtext), 'activeskinrect': crbga,
                     'checkimagearea': (0, 0, 16, cr_h), 'textarea': (18, 0, cr_w, cr_h),
                     'checkimagerect': c[(True, 'normal')], 'uncheckimagerect': c[(False, 'normal')],
                     'activecheckimagerect': c[(True, 'hot')], 'activeuncheckimagerect': c[(False, 'hot')],
                     'unenabledcheckimagerect': c[(True, 'disabled')],
                     'unenableduncheckimagerect': c[(False, 'disabled')],
                     'grayedcheckimagerect': c.get(('grayed', 'normal'), (0, 0, 0, 0)),
                     'activegrayedcheckimagerect': c.get(('grayed', 'hot'), (0, 0, 0, 0)),
                     'morphing': False, 'morphkind': morph, 'framefontcolor': C(t.text)})
        sk.add_control(name, 'checkradio', keys)

    # edits
    ew, eh = 64, 21
    ed = states(P.edit_frame, ew, eh, ['normal', 'active', 'disabled'])
    em = 3 if t.d['ctl'] != 'bevel' else 2

    def edit_keys(extra=None):
        k = {'pictureindex': ci, 'maskpictureindex': -1, 'skinrect': ed['normal']}
        k.update(nine(ew, eh, em, em, em, em))
        k.update(stretch_all(True))
        k.update({'activeskinrect': ed['active']})
        k.update(font(t.text))
        # A plain edit has no button of its own: an edit with a button takes "buttonedit".
        k.update({'disabledfontcolor': C(t.dtext), 'activefontcolor': C(t.text), 'buttonrect': (0, 0, 0, 0),
                  'activebuttonrect': (0, 0, 0, 0), 'downbuttonrect': (0, 0, 0, 0),
                  'unenabledbuttonrect': (0, 0, 0, 0)})
        if extra:
            k.update(extra)
        return k

    sk.add_control('edit', 'edit', edit_keys())
    # The button edit's pictures carry their button at the right end, inside the fixed right part: its normal
    # look is drawn as part of the frame (ButtonRect counts from the frame), the other looks are places in the
    # picture.
    bbw, bbh = eh - 2 * em, eh - 2 * em
    bx = ew - em - bbw
    bb = states(lambda tt, w, h, s: P.small_button(tt, w, h, s), bbw, bbh, ['normal', 'hot', 'down', 'disabled'])

    def button_frame(tt, w, h, state):
        img = P.edit_frame(tt, w, h, state).copy()
        img.paste(placed[bb['normal']], (bx, em))
        return img

    bed = states(button_frame, ew, eh, ['normal', 'active'])
    bek = edit_keys({'skinrect': bed['normal'], 'activeskinrect': bed['active'], 'buttonrect': (bx, em, bx + bbw,
                     em + bbh), 'activebuttonrect': bb['hot'], 'downbuttonrect': bb['down'],
                     'unenabledbuttonrect': bb['disabled']})
    bek.update(nine(ew, eh, em, em, ew - bx, em))
    sk.add_control('buttonedit', 'edit', bek)
    sk.add_control('memo', 'memo', edit_keys({'bgcolor': C(t.window), 'activebgcolor': C(t.window)}))
    # spin / up-down arrows
    uw, uh = 15, 10
    up = states(lambda tt, w, h, s: P.small_button(tt, w, h, s, 'up'), uw, uh, ['normal', 'hot', 'down'])
    dn = states(lambda tt, w, h, s: P.small_button(tt, w, h, s, 'down'), uw, uh, ['normal', 'hot', 'down'])
    lf = states(lambda tt, w, h, s: P.small_button(tt, w, h, s, 'left'), uh + 2, uw + 2, ['normal', 'hot', 'down'])
    rt = states(lambda tt, w, h, s: P.small_button(tt, w, h, s, 'right'), uh + 2, uw + 2, ['normal', 'hot', 'down'])
    arrows = {'upbuttonrect': up['normal'], 'activeupbuttonrect': up['hot'], 'downupbuttonrect': up['down'],
              'downbuttonrect': dn['normal'], 'activedownbuttonrect': dn['hot'], 'downdownbuttonrect': dn['down']}
    # the spin edit: the edit's picture with its two buttons in a fixed right end (button rectangles relative to
    # the picture, state pictures as places in the sheet)
    re = uw + 3

    def spin_face(state):
        img = P.edit_frame(t, ew, eh, state).copy()
        img.paste(placed[up['normal']], (ew - uw - 1, 0))
        img.paste(placed[dn['normal']], (ew - uw - 1, uh))
        return img

    sf = a.add_row([spin_face('normal'), spin_face('active')])
    k = edit_keys()
    for kk in ('buttonrect', 'activebuttonrect', 'downbuttonrect', 'unenabledbuttonrect'):
        k.pop(kk)
    k.update(arrows)
    k.update(nine(ew, eh, em, em, re, em))
    k.update({'skinrect': sf[0], 'activeskinrect': sf[1], 'upbuttonrect': (ew - uw - 1, 0, ew - 1, uh),
              'downbuttonrect': (ew - uw - 1, uh, ew - 1, 2 * uh)})
    sk.add_control('spinedit', 'spinedit', k)
    harrows = {'upbuttonrect': rt['normal'], 'activeupbuttonrect': rt['hot'], 'downupbuttonrect': rt['down'],
               'downbuttonrect': lf['normal'], 'activedownbuttonrect': lf['hot'], 'downdownbuttonrect': lf['down']}
    # up-downs: both buttons on one picture, the button rectangles relative to it
    hw, hh = uh + 2, uw + 2
    hpic = Image.new('RGB', (2 * hw, hh))
    hpic.paste(placed[lf['normal']], (0, 0))
    hpic.paste(placed[rt['normal']], (hw, 0))
    vpic = Image.new('RGB', (uw, 2 * uh))
    vpic.paste(placed[up['normal']], (0, 0))
    vpic.paste(placed[dn['normal']], (0, uh))
    hr, vr = a.add(hpic), a.add(vpic)
    hbuttons = {'upbuttonrect': (hw, 0, 2 * hw, hh), 'downbuttonrect': (0, 0, hw, hh)}
    vbuttons = {'upbuttonrect': (0, 0, uw, uh), 'downbuttonrect': (0, uh, uw, 2 * uh)}
    for name, ar, rect, buttons in (('vupdown', arrows, vr, vbuttons), ('hupdown', harrows, hr, hbuttons),
                                    ('updown', harrows, hr, hbuttons)):
        keys = {'pictureindex': ci, 'maskpictureindex': -1, 'skinrect': rect}
        keys.update(ar)
        keys.update(buttons)
        sk.add_control(name, 'updown', keys)

    # list items and list boxes
    a.newline()
    lw, lh = 80, 18
    it = states(P.item_face, lw, lh, ['normal', 'active', 'focus'])
    lbw, lbh = 64, 48
    lbf = a.add(P.edit_frame(t, lbw, lbh, 'normal'))
    # check-list marks
    clu, clc = a.add_row([P.check_box(t, cs, False, 'normal'), P.check_box(t, cs, True, 'normal')])

    def list_keys(extra=None):
        k = {'pictureindex': ci, 'maskpictureindex': -1, 'skinrect': lbf}
        k.update(nine(lbw, lbh, em, em, em, em))
        k.update(stretch_all(True))
        k.update({'itemrect': it['normal'], 'activeitemrect': it['active'], 'focusitemrect': it['focus'],
                  'itemleftoffset': 3, 'itemrightoffset': 3, 'itemtextrect': (3, 0, lw - 3, lh)})
        k.update(font(t.text))
        k.update({'activefontcolor': C(t.text if t.d['ctl'] not in ('flat', 'bevel') else t.hitext
                                       if t.d['ctl'] == 'bevel' else t.text),
                  'focusfontcolor': C(t.hitext if t.d['ctl'] in ('flat', 'bevel') else t.text),
                  'captionrect': (0, 0, 0, 0), 'captionfontname': FONT, 'captionfontheight': 13,
                  'captionfontstyle': 'fsbold', 'captionfontcolor': C(t.text)})
        k.update(arrows)
        k.update({'checkbuttonrect': sb['normal'], 'activecheckbuttonrect': sb['hot'], 'downcheckbuttonrect': sb['down'],
                  'hscrollbarname': 'hscrollbar', 'vscrollbarname': 'vscrollbar',
                  'bothhscrollbarname': 'bothhscrollbar', 'showfocus': False})
        if extra:
            k.update(extra)
        return k

    sk.add_control('listbox', 'listbox', list_keys())
    sk.add_control('checklistbox', 'checklistbox', list_keys({'uncheckimagerect': clu, 'checkimagerect': clc,
                                                              'itemcheckrect': (2, 2, 15, 15)}))
    # combo box
    cbw = 90
    cdrop = states(lambda tt, w, h, s: P.small_button(tt, w, h, s, 'down'), sbw, eh - 2, ['normal', 'hot', 'down',
                                                                                        'disabled'])
    # Like the button edit, the frame carries its drop-down button at the right end inside the fixed right part:
    # ButtonRect counts from the frame, the other button looks are places in the picture.
    cbx = cbw - 1 - sbw

    def combo_frame(tt, w, h, state):
        img = P.edit_frame(tt, w, h, state).copy()
        img.paste(placed[cdrop['normal']], (cbx, 1))
        return img

    cbf = states(combo_frame, cbw, eh, ['normal', 'active'])
    citem = states(P.item_face, 60, eh - 6, ['normal', 'active', 'focus'])
    k = {'pictureindex': ci, 'maskpictureindex': -1, 'skinrect': cbf['normal']}
    k.update(nine(cbw, eh, em, em, cbw - cbx + 1, em))
    k.update(stretch_all(True))
    k.update({'itemrect': citem['normal'], 'activeitemrect': citem['active'], 'focusitemrect': citem['focus'],
              'itemleftoffset': 2, 'itemrightoffset': 2, 'itemtextrect': (2, 0, 58, eh - 6)})
    k.update(font(t.text))
    k.update({'focusfontcolor': C(t.hitext if t.d['ctl'] in ('flat', 'bevel') else t.text),
              'activefontcolor': C(t.text), 'buttonrect': (cbx, 1, cbx + sbw, eh - 1), 'activebuttonrect': cdrop['hot'],
              'downbuttonrect': cdrop['down'], 'unenabledbuttonrect': cdrop['disabled'], 'itemstretcheffect': True,
              'focusitemstretcheffect': True, 'activeskinrect': cbf['active'], 'listboxname': 'listbox',
              'showfocus': False})
    sk.add_control('combobox', 'combobox', k)

    # scroll bars: the bar's picture holds the arrow buttons at both ends in their normal look (the button
    # rectangles are places in that picture); the hot and pressed buttons, thumbs and grips are places of their own.
    # The up button (towards Max) sits at the right or bottom end, the down button at the left or top end.
    a.newline()
    sw, tl = 17, 70
    tcol = P.scroll_track(t, 1, 1, True).getpixel((0, 0))

    def arrow_states(kind):
        return states(lambda tt, w, h, s: P.small_button(tt, w, h, s, kind, bg=tcol), sw, sw, ['normal', 'hot', 'down'])

    def bar_picture(vertical, first, last, corner=False):
        """down button, track, up button (and the corner square of a both bar) in one picture"""
        n = 3 if corner else 2
        im = Image.new('RGB', (sw, 2 * sw + tl) if vertical else (n * sw + tl, sw), tcol)

        def put(part, pos):
            if part.mode == 'RGBA':
                im.paste(part.convert('RGB'), pos, part.getchannel('A'))
            else:
                im.paste(part.convert('RGB'), pos)

        put(P.scroll_track(t, sw, tl, True) if vertical else P.scroll_track(t, tl, sw, False),
            (0, sw) if vertical else (sw, 0))
        put(placed[first], (0, 0))
        put(placed[last], (0, sw + tl) if vertical else (sw + tl, 0))
        if corner:
            put(P.face_img(t, sw, sw), (2 * sw + tl, 0))
        return a.add(im)

    vdn, vup = arrow_states('up'), arrow_states('down')
    hdn, hup = arrow_states('left'), arrow_states('right')
    vth = states(lambda tt, w, h, s: P.scroll_thumb(tt, w, h, s, True), sw, 30, ['normal', 'hot', 'down'])
    hth = states(lambda tt, w, h, s: P.scroll_thumb(tt, w, h, s, False), 30, sw, ['normal', 'hot', 'down'])
    vbar = bar_picture(True, vdn['normal'], vup['normal'])
    hbar = bar_picture(False, hdn['normal'], hup['normal'])
    bothbar = bar_picture(False, hdn['normal'], hup['normal'], corner=True)

    def sb_keys(bar, upb, dnb, th, vertical):
        k = {'pictureindex': ci, 'maskpictureindex': -1, 'skinrect': bar}
        w, h = bar[2] - bar[0], bar[3] - bar[1]
        if vertical:
            # stretched downwards only: the buttons keep their size, the track grows
            k.update({'lefttoppoint': (0, sw), 'righttoppoint': (0, 0), 'leftbottompoint': (0, sw + tl),
                      'rightbottompoint': (0, 0), 'clientrect': (0, sw, w, sw + tl), 'trackarea': (0, sw, w, sw + tl),
                      'downbuttonrect': (0, 0, w, sw), 'upbuttonrect': (0, sw + tl, w, 2 * sw + tl)})
        else:
            k.update({'lefttoppoint': (sw, 0), 'righttoppoint': (sw + tl, 0), 'leftbottompoint': (0, 0),
                      'rightbottompoint': (0, 0), 'clientrect': (sw, 0, sw + tl, h), 'trackarea': (sw, 0, sw + tl, h),
                      'downbuttonrect': (0, 0, sw, h), 'upbuttonrect': (sw + tl, 0, 2 * sw + tl, h)})
        k.update(stretch_all(True))
        # a thumb of a bar without a page is 20 long, stretched between its fixed ends like a page thumb
        k.update({'activeupbuttonrect': upb['hot'], 'downupbuttonrect': upb['down'],
                  'activedownbuttonrect': dnb['hot'], 'downdownbuttonrect': dnb['down'],
                  'thumbrect': th['normal'], 'activethumbrect': th['hot'],
                  'downthumbrect': th['down'], 'thumboffset1': 5, 'thumboffset2': 5, 'glyphrect': (0, 0, 0, 0),
                  'activeglyphrect': (0, 0, 0, 0), 'downglyphrect': (0, 0, 0, 0), 'glyphtransparent': False,
                  'glyphtransparentcolor': 0, 'thumbtransparent': False, 'thumbtransparentcolor': 0,
                  'thumbstretcheffect': True, 'thumbminsize': 16, 'thumbminpagesize': 20})
        return k

    sk.add_control('vscrollbar', 'scrollbar', sb_keys(vbar, vup, vdn, vth, True))
    sk.add_control('hscrollbar', 'scrollbar', sb_keys(hbar, hup, hdn, hth, False))
    sk.add_control('bothhscrollbar', 'scrollbar', sb_keys(bothbar, hup, hdn, hth, False))

    # tabs
    a.newline()
    tbw, tbh = 64, 22
    tabs = states(P.tab_face, tbw, tbh, ['normal', 'active', 'hot'])
    pfw, pfh = 64, 40
    pf = a.add(P.page_frame(t, pfw, pfh))
    tbg = a.add(P.face_img(t, 30, tbh))
    for name in ('tab', 'officetab'):
        k = {'pictureindex': ci, 'maskpictureindex': -1, 'skinrect': pf}
        k.update({'tabrect': tabs['normal'], 'activetabrect': tabs['active'], 'focustabrect': tabs['active'],
                  'mouseintabrect': tabs['hot'], 'tabsbgrect': tbg})
        k.update(nine(pfw, pfh, 2, 2, 2, 2))
        k.update({'tableftoffset': 5, 'tabrightoffset': 5})
        k.update(font(t.text))
        k.update({'activefontcolor': C(t.text), 'focusfontcolor': C(t.text),
                  'mouseinfontcolor': C(t.text), 'updown': 'hupdown', 'bgpictureindex': -1, 'tabstretcheffect': True,
                  'showfocus': False, 'focusoffsetx': 0, 'focusoffsety': 0})
        k.update(stretch_all(True))
        sk.add_control(name, 'tab', k)

    # panels, bars and labels
    a.newline()
    pnl = a.add(P.panel_face(t, 48, 40, 'panel'))
    grp = a.add(P.panel_face(t, 60, 48, 'groupbox'))
    tbar = a.add(P.panel_face(t, 48, 26, 'toolbar'))
    sbar = a.add(P.panel_face(t, 48, 21, 'statusbar'))
    mpage = a.add(P.panel_face(t, 32, 32, 'menupage'))
    lab = a.add(P.label_face(t, 60, 20))

    def panel_keys(rect, mg, extra=None):
        w, h = rect[2] - rect[0], rect[3] - rect[1]
        k = {'pictureindex': ci, 'maskpictureindex': -1, 'skinrect': rect}
        k.update(nine(w, h, *mg))
        k.update(stretch_all(True))
        k.update({'captionrect': (0, 0, 0, 0), 'alignment': 'taleftjustify'})
        k.update(font(t.text))
        k.update({'bgpictureindex': -1})
        if extra:
            k.update(extra)
        return k

    # a captioned panel writes its caption in the top band, as the group box does: the band is a caption line tall
    # and holds nothing but the frame's edges, so a panel without a caption looks as before, its client below it
    pw, ph = pnl[2] - pnl[0], pnl[3] - pnl[1]
    band, inset = 18, 6
    sk.add_control('panel', 'panel', panel_keys(pnl, (inset, band, inset, 2), {
        'clientrect': (2, band, pw - 2, ph - 2), 'captionrect': (inset, 0, pw - inset, band),
        'fontstyle': 'fsbold'}))
    # the caption's check box in check mode: the box with a column of the face colour on either side, which hides
    # the frame's top line beside it, over a bottom row of a key colour: a picture's bottom-left pixel is its
    # transparent colour
    def caption_check(checked):
        im = P.face_img(t, cs + 2, cs + 1)
        im.paste(P.check_box(t, cs, checked, 'normal'), (1, 0))
        im.paste((255, 0, 255), (0, cs, cs + 2, cs + 1))
        return im

    gck, gunck = a.add_row([caption_check(True), caption_check(False)])
    # the caption text breaks the frame's top line: a plate of the client's face colour (a part of the picture's
    # client area) goes behind it, two pixels wider than the text on either side
    sk.add_control('groupbox', 'panel', panel_keys(grp, (8, 16, 8, 8), {
        'captionrect': (8, 0, 52, 16), 'fontstyle': 'fsbold', 'framerect': (12, 18, 44, 34),
        'frametextrect': (2, 0, 30, 16), 'frameleftoffset': 0, 'framerightoffset': 0,
        'checkimagerect': gck, 'uncheckimagerect': gunck}))
    for name in ('toolpanel', 'bigtoolpanel', 'resizetoolpanel'):
        sk.add_control(name, 'panel', panel_keys(tbar, (2, 2, 2, 2)))
    sbtext = (255, 255, 255) if t.design == 'metro' else t.text
    sk.add_control('statusbar', 'panel', panel_keys(sbar, (2, 2, 2, 2), {'fontcolor': C(sbtext)}))
    sk.add_control('menupagepanel', 'panel', panel_keys(mpage, (1, 1, 1, 1)))
    sk.add_control('stdlabel', 'stdlabel', dict(font(t.text), activefontcolor=C(t.acc if not t.dark else lighten(t.acc, .4))))
    sk.add_control('label', 'label', dict(panel_keys(lab, (4, 2, 4, 2)), **font(t.text)))
    sk.add_control('menuheader', 'label', dict(panel_keys(lab, (4, 2, 4, 2)), **font(t.text, style='fsbold')))

    # gauges
    gw, gh = 80, 18
    gt = a.add(P.gauge_trough(t, gw, gh))
    gf = a.add(P.gauge_fill(t, 24, gh - 4))
    vgt = a.add(P.gauge_trough(t, gh, 60))
    vgf = a.add(P.gauge_fill(t, gh - 4, 24, True))
    for name, trough, fill, vertical in (('gauge', gt, gf, False), ('vgauge', vgt, vgf, True)):
        w, h = trough[2] - trough[0], trough[3] - trough[1]
        k = {'pictureindex': ci, 'maskpictureindex': -1, 'skinrect': trough}
        k.update(nine(w, h, 4, 4, 4, 4))
        k.update(stretch_all(True))
        k.update({'progressarea': (2, 2, w - 2, h - 2), 'progressrect': fill, 'vertical': vertical,
                  'beginoffset': 2, 'endoffset': 2})
        k.update(font(t.text))
        k.update({'progresstransparent': False, 'progresstransparentcolor': 0, 'progressstretch': True})
        sk.add_control(name, 'gauge', k)

    sk.add_control('bevel', 'bevel', {'pictureindex': -1, 'maskpictureindex': -1, 'lightcolor': C(t.light),
                                      'darkcolor': C(t.shadow)})
    list_bg, list_fg = list_colours(t.window, t.text)
    sk.add_control('listview', 'listview', dict({'pictureindex': -1, 'maskpictureindex': -1}, **font(list_fg),
                                                bgcolor=C(list_bg)))
    pl, mi = a.add_row([P.tree_box(t, True), P.tree_box(t, False)])
    sk.add_control('treeview', 'treeview', dict({'pictureindex': ci, 'maskpictureindex': -1}, **font(t.text),
                                                bgcolor=C(t.window), expandimagerect=mi, noexpandimagerect=pl))
    # application menu (ribbon)
    am = a.add(P.panel_face(t, 48, 48, 'menupage'))
    ami = states(P.item_face, 80, 24, ['normal', 'active'])
    k = {'pictureindex': ci, 'maskpictureindex': -1, 'skinrect': am}
    k.update(nine(48, 48, 2, 2, 2, 2))
    k.update(stretch_all(True))
    k.update({'bgpictureindex': -1, 'bgstretcheffect': False, 'bgpagepictureindex': -1, 'bgpagestretcheffect': False,
              'itemrect': ami['normal'], 'pageitemrect': ami['normal'], 'pageitemactiverect': ami['active'],
              'itemoffset1': 3, 'itemoffset2': 3, 'pageitemoffset1': 10, 'pageitemoffset2': 10, 'pageoffset': 0})
    k.update(font(t.text))
    k.update({'fontpageheight': 16, 'disabledfontcolor': C(t.dtext), 'fontpagecolor': C(t.text),
              'activefontcolor': C(t.text), 'activefontpagecolor': C(t.text)})
    sk.add_control('appmenu', 'appmenu', k)
    # main menu bar: its items and MDI buttons are object entries
    a.newline()
    mbw, mbh = 60, 22
    mbar = a.add(P.panel_face(t, mbw, mbh, 'toolbar'))
    mbi = states(lambda tt, w, h, s: P.tool_button(tt, w, h, s, bg=P.panel_face(tt, 1, mbh, 'toolbar').getpixel((0, 10))),
                 40, 20, ['normal', 'hot', 'down'])
    mdi = {}
    for kind in ('close', 'max', 'min', 'sysmenu'):
        imgs = []
        for st in ('normal', 'hot', 'down'):
            im = P.tool_button(t, 16, 14, st)
            P.glyph(im, kind, (0, 0, 16, 14), t.text, 0.7, 1.2)
            imgs.append(im)
        mdi[kind] = dict(zip(('normal', 'hot', 'down'), a.add_row(imgs)))
    k = {'pictureindex': ci, 'maskpictureindex': -1, 'skinrect': mbar, 'itemsrect': (2, 1, mbw - 2, mbh - 1),
         'menubaritem': 'mainmenubaritem', 'closebutton': 'mdiclosebutton', 'maxbutton': 'mdimaxbutton',
         'minbutton': 'mdiminbutton', 'sysmenubutton': 'mdisysmenubutton', 'trackmarkcolor': C(t.dtext),
         'trackmarkactivecolor': C(t.acc), 'stretcheffect': True, 'itemtransparent': False}
    sk.add_control('mainmenubar', 'mainmenubar', k)
    sk.add_object('mainmenubaritem', 'mainmenubaritem', {
        'skinrectinapicture': True, 'skinrect': mbi['normal'], 'activeskinrect': mbi['hot'], 'activepictureindex': ci,
        'downrect': mbi['down'], 'fontname': FONT, 'fontheight': 13, 'fontstyle': '', 'fontcolor': C(t.text),
        'activefontcolor': C(t.btnhottext), 'downfontcolor': C(t.btnhottext), 'unenabledfontColor': C(t.dtext),
        'textrect': (4, 0, 36, 20), 'itemleftoffset': 4, 'itemrightoffset': 4, 'stretcheffect': True})
    for name, kind, cmd in (('mdiclosebutton', 'close', 'cmclose'), ('mdimaxbutton', 'max', 'cmmaximize'),
                            ('mdiminbutton', 'min', 'cmminimize'), ('mdisysmenubutton', 'sysmenu', 'cmsysmenu')):
        sk.add_object(name, 'mainmenubarbutton', {
            'skinrectinapicture': True, 'skinrect': mdi[kind]['normal'], 'activeskinrect': mdi[kind]['hot'],
            'activepictureindex': ci, 'downrect': mdi[kind]['down'], 'command': cmd})

    sheet = a.render()
    idx = sk.add_picture('controls.bmp', sheet)
    assert idx == ci, (idx, ci)
    if glow:
        gi = sk.add_picture('glow_button.bmp', gpic)
        gm = sk.add_picture('glowmask_button.bmp', gmask, 'L')
        sec = sk.sections['button']
        sec['glowlayerpictureindex'] = gi
        sec['glowlayermaskpictureindex'] = gm
    sk.controls_rects = dict(button=pb, tool=tb, check=cb[False], radio=cb[True], edit=ed, tabs=tabs, gauge=(gt, gf),
                             vsb=(vbar, vup, vdn, vth), item=it, combo=(cbf, cdrop))
