"""Contact sheet of a built skin set: per skin a small window composed from the skin's own pictures, a few controls
in their states, the caption buttons in their four states, and the skin's index and name."""

import os

from PIL import Image, ImageDraw

import compose as K
from skingen import read_list

TILE_W, TILE_H = 560, 350
WIN_W, WIN_H = 350, 214


def tile(folder, label):
    sk = K.LoadedSkin(folder)
    out = Image.new('RGB', (TILE_W, TILE_H), (214, 218, 224))
    win, shape, cl = K.render_window(sk, WIN_W, WIN_H, True, sk.name)
    body = K.load_font(False, 11)
    fi = sk.sec('SKINCOLORS')
    text = K.colour(fi['cbtntext'])
    # controls inside the client area
    x0, y0 = cl[0] + 10, cl[1] + 10
    # tabs across the top of the client
    tab = sk.sec('tab')
    tpic = sk.pics[int(tab['pictureindex'])]
    tr = K.rect(tab['tabrect'])
    ta = K.rect(tab['activetabrect'])
    th = tr[3] - tr[1]
    page = K.nine_part(tpic, K.rect(tab['skinrect']), K.point(tab['lefttoppoint']), K.point(tab['righttoppoint']),
                       K.point(tab['leftbottompoint']), K.point(tab['rightbottompoint']), K.rect(tab['clientrect']),
                       cl[2] - cl[0] - 20 - 17, cl[3] - cl[1] - 16 - th)
    win.paste(page, (x0, y0 + th - 1))
    act = tpic.crop(ta).resize((70, th))
    nor = tpic.crop(tr).resize((70, th))
    win.paste(act, (x0 + 2, y0))
    win.paste(nor, (x0 + 72, y0))
    K.text_in(win, (x0 + 2, y0, x0 + 72, y0 + th), 'Mail', K.colour(tab['activefontcolor']), body)
    K.text_in(win, (x0 + 72, y0, x0 + 142, y0 + th), 'Alarms', K.colour(tab['fontcolor']), body)
    px, py = x0 + 10, y0 + th + 10
    btn = sk.sec('button')
    for i, (key, cap) in enumerate((('skinrect', 'OK'), ('activeskinrect', 'Hot'), ('downskinrect', 'Pressed'))):
        im = K.control_image(sk, 'button', 76, 24, key)
        win.paste(im, (px + i * 82, py))
        col = K.colour(btn['fontcolor' if key == 'skinrect' else 'activefontcolor' if key == 'activeskinrect'
                           else 'downfontcolor'])
        K.text_in(win, (px + i * 82, py, px + i * 82 + 76, py + 24), cap, col, body)
    py += 34
    for j, (name, label_) in enumerate((('checkbox', 'Sound'), ('radiobox', 'Popup'))):
        c = sk.sec(name)
        pic = sk.pics[int(c['pictureindex'])]
        for k, key in enumerate(('checkimagerect', 'uncheckimagerect')):
            r = K.rect(c[key])
            win.paste(pic.crop(r), (px + j * 120 + k * 58, py + 2))
            K.text_in(win, (px + j * 120 + k * 58 + 18, py, px + 400, py + 17), label_ if k == 0 else 'Off',
                      K.colour(c['fontcolor']), body, 'left')
    py += 26
    ed = K.control_image(sk, 'edit', 140, 22)
    win.paste(ed, (px, py))
    K.text_in(win, (px + 5, py, px + 140, py + 22), 'imap.example.org', K.colour(sk.sec('edit')['fontcolor']),
              body, 'left')
    cb = sk.sec('combobox')
    # the frame carries its drop-down button in the fixed right part
    cim = K.control_image(sk, 'combobox', 104, 22, 'activeskinrect')
    win.paste(cim, (px + 150, py))
    K.text_in(win, (px + 155, py, px + 250, py + 22), 'Russian', K.colour(cb['fontcolor']), body, 'left')
    py += 32
    g = sk.sec('gauge')
    gim = K.control_image(sk, 'gauge', 254, 18)
    fill = sk.pics[int(g['pictureindex'])].crop(K.rect(g['progressrect'])).resize((150, 14))
    gim.paste(fill, (2, 2))
    win.paste(gim, (px, py))
    # vertical scroll bar at the right edge of the client
    vs = sk.sec('vscrollbar')
    vpic = sk.pics[int(vs['pictureindex'])]
    sh = cl[3] - cl[1]
    # the bar stretches downwards only: its picture's buttons stay at both ends, the track between them grows
    top, bottom = K.point(vs['lefttoppoint'])[1], K.point(vs['leftbottompoint'])[1]
    vim = K.nine_part(vpic, K.rect(vs['skinrect']), (0, top), (17, top), (0, bottom), (17, bottom),
                      (0, top, 17, bottom), 17, sh)
    thm = K.nine_part(vpic, K.rect(vs['thumbrect']), (0, 5), (17, 5), (0, 25), (17, 25), (0, 5, 17, 25), 17, 46)
    vim.paste(thm, (0, 24))
    win.paste(vim, (cl[2] - 17, cl[1]))
    # shadow and shape
    sx, sy = 15, 12
    sh_mask = shape.resize(shape.size).point(lambda v: v // 5)
    out.paste((150, 154, 160), (sx + 3, sy + 4), sh_mask)
    out.paste(win, (sx, sy), shape)
    # caption buttons in their states
    dr = ImageDraw.Draw(out)
    bpic = sk.pics[int(sk.sec('closebutton')['activepictureindex'])]
    bx, by = sx, sy + WIN_H + 8
    small = K.load_font(False, 10)
    cx = bx
    for n, key in enumerate(('skinrect', 'activeskinrect', 'downrect', 'inactiveskinrect')):
        x = cx
        for name in ('minbutton', 'maxbutton', 'closebutton'):
            r = K.rect(sk.sec(name)[key])
            cell = bpic.crop(r)
            out.paste(cell, (x, by))
            x += cell.width + 1
        dr.text((cx, by + 28), ('normal', 'hot', 'pressed', 'inactive')[n], font=small, fill=(70, 74, 80))
        cx = max(x + 8, cx + 60)
    draw_menu(sk, out, sx + WIN_W + 12, sy + 18, body)
    draw_inactive(sk, out, sx, by + 44, body)
    bold = K.load_font(True, 12)
    dr.text((sx, TILE_H - 16), label, font=bold, fill=(30, 34, 40))
    return out


def draw_menu(sk, out, x, y, font):
    """A popup menu from the skin's popup window picture and menu item object, then a hint below it."""
    pw = sk.sec('POPUPWINDOW')
    ppic = sk.pics[int(pw['windowpictureindex'])]
    Pw, Ph = ppic.size
    mi = sk.sec('menuitem') if sk.ini.has_section('menuitem') else sk.sec('MENUITEM')
    ipic = sk.pics[int(mi['activepictureindex'])]
    items = ['Check mail', 'Settings', '-', 'Mute sounds', 'About', 'Exit']
    ir = K.rect(pw['itemsrect'])
    ih = K.rect(mi['skinrect'])[3] - K.rect(mi['skinrect'])[1]
    sep = K.rect(mi['dividerrect'])
    sh = sep[3] - sep[1]
    W = 150
    H = ir[1] + (Ph - ir[3]) + sum(sh if t == '-' else ih for t in items)
    img = K.nine_part(ppic, (0, 0, Pw, Ph), K.point(pw['lefttoppoint']), K.point(pw['righttoppoint']),
                      K.point(pw['leftbottompoint']), K.point(pw['rightbottompoint']), ir, W, H)
    yy = ir[1]
    iw = W - ir[0] - (Pw - ir[2])
    tr = K.rect(mi['textrect'])
    for n, text in enumerate(items):
        if text == '-':
            img.paste(ipic.crop(sep).resize((iw, sh)), (ir[0], yy))
            yy += sh
            continue
        key = 'activeskinrect' if n == 1 else 'skinrect'
        cell = ipic.crop(K.rect(mi[key])).resize((iw, ih))
        img.paste(cell, (ir[0], yy))
        col = K.colour(mi['activefontcolor' if n == 1 else 'fontcolor'])
        K.text_in(img, (ir[0] + tr[0], yy, W, yy + ih), text, col, font, 'left')
        if text == 'Mute sounds':
            c = ipic.crop(K.rect(mi['checkimagerect']))
            img.paste(c, (ir[0] + 4, yy + (ih - c.height) // 2))
        yy += ih
    mask = sk.pics[int(pw['maskpictureindex'])] if pw.get('maskpictureindex', '-1') != '-1' else None
    shape = None
    if mask is not None:
        m = K.nine_part(mask.convert('RGB'), (0, 0, Pw, Ph), K.point(pw['lefttoppoint']), K.point(pw['righttoppoint']),
                        K.point(pw['leftbottompoint']), K.point(pw['rightbottompoint']), ir, W, H, stretch=False)
        shape = m.convert('L').point(lambda v: 255 if v < 128 else 0)
    out.paste(img, (x, y), shape)
    # hint window
    hw = sk.sec('HINTWINDOW')
    hpic = sk.pics[int(hw['windowpictureindex'])]
    text = 'Minimize to Tray'
    tw = int(ImageDraw.Draw(out).textlength(text, font=font)) + 16
    h = K.nine_part(hpic, (0, 0) + hpic.size, K.point(hw['lefttoppoint']), K.point(hw['righttoppoint']),
                    K.point(hw['leftbottompoint']), K.point(hw['rightbottompoint']), K.rect(hw['clientrect']), tw, 22)
    K.text_in(h, (0, 0, tw, 22), text, K.colour(hw['fontcolor']), font)
    out.paste(h, (x + 10, y + H + 14))
    return y + H + 14 + 22


def draw_inactive(sk, out, x, y, font):
    """The top of an inactive window: the skin's inactive picture, or the effect the engine applies instead."""
    from PIL import ImageChops, ImageFilter, ImageOps
    fi = sk.sec('FORMINFO')
    auto = fi.get('autorenderinginactiveimage') == '1'
    win, shape, cl = K.render_window(sk, 204, 80, active=False, title='Inactive')
    if auto:
        win, shape, cl = K.render_window(sk, 204, 80, active=True, title='Inactive')
        eff = fi.get('inactiveeffect', 'iebrightness')
        top = win.crop((0, 0, 204, cl[1]))
        if eff == 'iebrightness':
            top = Image.blend(top, Image.new('RGB', top.size, (255, 255, 255)), 0.5)
        elif eff == 'iedarkness':
            top = Image.blend(top, Image.new('RGB', top.size, (0, 0, 0)), 0.3)
        elif eff == 'iegrayscale':
            top = ImageOps.grayscale(top).convert('RGB')
        elif eff == 'ienoise':
            noise = Image.effect_noise(top.size, 40).convert('RGB')
            top = ImageChops.add(top, noise, 2.0, -64)
        elif eff == 'iesplitblur':
            top = top.filter(ImageFilter.BoxBlur(1))
        elif eff == 'ieinvert':
            top = ImageOps.invert(top)
        win.paste(top, (0, 0))
    crop_h = min(cl[1] + 8, 80)
    out.paste(win.crop((0, 0, 204, crop_h)), (x, y), shape.crop((0, 0, 204, crop_h)))
    ImageDraw.Draw(out).text((x + 214, y + crop_h // 2), 'inactive window' +
                             (' (effect %s)' % fi.get('inactiveeffect') if auto else ''),
                             font=K.load_font(False, 10), fill=(70, 74, 80), anchor='lm')


def sheet(out, png, only=''):
    tiles = []
    for part in ('notifier', 'setup'):
        for row in read_list(os.path.join(out, part, 'skins.lst')):
            label = ('%2d  %s' % (row['index'], row['name'])) if part == 'notifier' else 'Setup  %s' % row['name']
            key = str(row['index']) if part == 'notifier' else 'setup'
            if only and key not in only.split(','):
                continue
            tiles.append(tile(os.path.join(out, part, row['folder']), label))
    cols = min(6, len(tiles))
    rows = (len(tiles) + cols - 1) // cols
    img = Image.new('RGB', (cols * TILE_W, rows * TILE_H), (214, 218, 224))
    for i, t in enumerate(tiles):
        img.paste(t, ((i % cols) * TILE_W, (i // cols) * TILE_H))
    img.save(png, optimize=False)
