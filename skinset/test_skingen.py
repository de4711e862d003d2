#!/usr/bin/python3
"""Tests of the skin generator: deterministic output, the validator's findings on damaged skins, and the layout
of the reference packer's blocks."""

import os
import shutil
import struct
import sys
import tempfile
import unittest
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import catalogue  # noqa: E402
import skingen  # noqa: E402
import validate  # noqa: E402
from build import build  # noqa: E402


def read(path):
    with open(path, 'rb') as f:
        return f.read()


def folder_bytes(folder):
    return {n: read(os.path.join(folder, n)) for n in sorted(os.listdir(folder))}


class GeneratorTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp()
        specs = catalogue.notifier_specs()
        cls.spec = specs[81]
        cls.folder = os.path.join(cls.tmp, 'base')
        build(cls.spec).write(cls.folder)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp)

    def test_same_inputs_give_the_same_bytes(self):
        for spec in (catalogue.notifier_specs()[31], catalogue.setup_specs()[0]):
            a, b = os.path.join(self.tmp, 'a'), os.path.join(self.tmp, 'b')
            build(spec).write(a)
            build(spec).write(b)
            self.assertEqual(folder_bytes(a), folder_bytes(b))
            shutil.rmtree(a)
            shutil.rmtree(b)

    def damaged(self, section, key, value):
        """A copy of the base skin with one ini value replaced (or the key removed when value is None)."""
        d = os.path.join(self.tmp, 'damaged')
        if os.path.isdir(d):
            shutil.rmtree(d)
        shutil.copytree(self.folder, d)
        path = os.path.join(d, 'skin.ini')
        with open(path, newline='') as f:
            lines = f.read().split('\r\n')
        sec = None
        done = False
        for i, ln in enumerate(lines):
            if ln.startswith('['):
                sec = ln[1:-1]
            elif sec == section and ln.split('=', 1)[0] == key:
                lines[i] = None if value is None else '%s=%s' % (key, value)
                done = True
                break
        self.assertTrue(done, (section, key))
        with open(path, 'w', newline='') as f:
            f.write('\r\n'.join(x for x in lines if x is not None))
        c = validate.Checker(d)
        c.run()
        return c.errors

    def test_intact_skin_has_no_findings(self):
        c = validate.Checker(self.folder)
        c.run()
        self.assertEqual(c.errors, [])

    def test_validator_finds_damage(self):
        cases = [
            ('button', 'activeskinrect', '0,0,9999,23', 'outside'),
            ('button', 'pictureindex', '40', 'out of range'),
            ('closebutton', 'activepictureindex', '-2', 'negative'),
            ('FORMINFO', 'clientrect', '6,-32,194,124', 'negative'),
            ('FORMINFO', 'righttoppoint', '5,34', 'not ordered'),
            ('FORMINFO', 'lefttoppoint', '2,34', 'outside the client'),
            ('listbox', 'vscrollbarname', 'vscroll', 'vscroll'),
            ('tab', 'updown', 'spin', 'spin'),
            ('mainmenubar', 'menubaritem', 'nothing', 'nothing'),
            ('SKINCONTROLS', '0', 'button:buttons', 'unknown kind'),
            ('SKINCONTROLS', '3', 'toolbutton2:button', 'toolbutton missing'),
            ('listbox', 'itemtextrect', '3,0,200,18', 'itemrect'),
            ('PICTURES', '0', 'nosuch.bmp', 'nosuch.bmp'),
            ('closebutton', 'command', 'cmclos', 'bad command'),
            ('checkbox', 'clientrect', '3,0,1', 'not 4'),
            ('checkbox', 'fontname', 'Tahoma\r\nFontName=Arial', 'repeated'),
            ('hscrollbar', 'upbuttonrect', '120,40,137,57', 'outside its skinrect'),
            ('vscrollbar', 'downbuttonrect', '0,0,0,0', 'downbuttonrect is empty'),
            ('groupbox', 'checkimagerect', '0,0,0,0', 'no check picture'),
            ('panel', 'captionrect', '0,0,0,0', 'shows no caption'),
        ]
        for section, key, value, expect in cases:
            with self.subTest(section=section, key=key):
                errors = self.damaged(section, key, value)
                self.assertTrue(any(expect in e for e in errors), errors)

    def face_colour(self):
        """The panel picture's pixel in the middle of its caption rectangle, as a skin colour value."""
        from PIL import Image
        ini = validate.compose.read_ini(os.path.join(self.folder, 'skin.ini'))
        pn = ini['panel']
        r, sr = validate.compose.rect(pn['captionrect']), validate.compose.rect(pn['skinrect'])
        picture = ini['PICTURES'][str(int(pn['pictureindex']))]
        red, green, blue = Image.open(os.path.join(self.folder, picture)).convert('RGB').getpixel(
            (sr[0] + (r[0] + r[2]) // 2, sr[1] + (r[1] + r[3]) // 2))
        return str(red | green << 8 | blue << 16)

    def test_the_installer_skin_carries_what_the_wizard_reads(self):
        folder = os.path.join(self.tmp, 'win8')
        build(catalogue.setup_specs()[0]).write(folder)
        c = validate.Checker(folder)
        c.run()
        c.wizard()
        self.assertEqual(c.errors, [])
        # A gauge without a bar picture or without a place for it is refused.
        self.folder, saved = folder, self.folder
        try:
            for section, key, value, expect in (('gauge', 'progressrect', '0,0,0,0', 'progressrect'),
                                                ('gauge', 'progressarea', None, 'progressarea')):
                self.damaged(section, key, value)
                c = validate.Checker(os.path.join(self.tmp, 'damaged'))
                c.run()
                c.wizard()
                self.assertTrue(any(expect in e for e in c.errors), c.errors)
        finally:
            self.folder = saved
        shutil.rmtree(folder)

    def contrast_findings(self, folder):
        c = validate.Checker(folder)
        c.contrast(validate.compose.read_ini(os.path.join(folder, 'skin.ini')))
        return c.errors

    def test_unreadable_caption_title_is_found(self):
        from PIL import Image
        self.assertEqual(self.contrast_findings(self.folder), [])
        for picture, key, what in (('frame.bmp', 'activefontcolor', 'active caption title'),
                                   ('frame_inactive.bmp', 'fontcolor', 'inactive caption title')):
            with self.subTest(what=what):
                r, g, b = Image.open(os.path.join(self.folder, picture)).convert('RGB').getpixel((40, 16))
                self.damaged('caption', key, str(r | g << 8 | b << 16))
                errors = self.contrast_findings(os.path.join(self.tmp, 'damaged'))
                self.assertTrue(any(what + ' contrast' in e for e in errors), errors)
                self.assertFalse(any(e.count('caption title') and what not in e.split(':')[1] for e in errors), errors)

    def test_unreadable_panel_caption_is_found(self):
        self.damaged('panel', 'fontcolor', self.face_colour())
        errors = self.contrast_findings(os.path.join(self.tmp, 'damaged'))
        self.assertTrue(any('panel caption text contrast' in e for e in errors), errors)

    def test_a_list_font_unreadable_on_the_reminder_rows_is_found(self):
        white, dark = str(0xFFFFFF), str(0x242424)
        for key, value, what in (('fontcolor', white, 'list view reminder row text contrast'),
                                 ('bgcolor', dark, 'list view text contrast')):
            with self.subTest(key=key):
                self.damaged('listview', key, value)
                errors = self.contrast_findings(os.path.join(self.tmp, 'damaged'))
                self.assertTrue(any(what in e for e in errors), errors)

    def test_the_dark_skins_give_their_lists_a_font_that_reads_on_the_reminder_rows(self):
        for index in (23, 43, 45) + tuple(i for i, s in enumerate(catalogue.notifier_specs())
                                          if s['design'] == 'carbon')[:2]:
            with self.subTest(skin=index):
                folder = os.path.join(self.tmp, 'dark%d' % index)
                build(catalogue.notifier_specs()[index]).write(folder)
                errors = [e for e in self.contrast_findings(folder) if 'list view' in e]
                shutil.rmtree(folder)
                self.assertEqual(errors, [])

    def test_a_client_unlike_the_system_face_is_found(self):
        """Plain labels paint the system's face: a client of another colour, even in a corner, is found."""
        from PIL import Image, ImageDraw
        ini = validate.compose.read_ini(os.path.join(self.folder, 'skin.ini'))
        cl = validate.compose.rect(ini['FORMINFO']['clientrect'])
        for fill, found in (((50, 52, 56), True), ((241, 241, 241), False)):
            with self.subTest(fill=fill):
                self.damaged('caption', 'fontheight', ini['caption']['fontheight'])
                path = os.path.join(self.tmp, 'damaged', 'frame.bmp')
                im = Image.open(path).convert('RGB')
                ImageDraw.Draw(im).rectangle([cl[2] - 6, cl[3] - 6, cl[2] - 1, cl[3] - 1], fill=fill)
                im.save(path)
                c = validate.Checker(os.path.join(self.tmp, 'damaged'))
                c.run()
                self.assertEqual(any('labels would show a box' in e for e in c.errors), found, c.errors)

    def test_a_dark_skin_keeps_a_dark_client_its_labels_read_on(self):
        from PIL import Image
        index = next(i for i, s in enumerate(catalogue.notifier_specs()) if s['design'] == 'carbon')
        folder = os.path.join(self.tmp, 'carbon')
        build(catalogue.notifier_specs()[index]).write(folder)
        c = validate.Checker(folder)
        c.run()
        self.assertEqual(c.errors, [])
        ini = validate.compose.read_ini(os.path.join(folder, 'skin.ini'))
        cl = validate.compose.rect(ini['FORMINFO']['clientrect'])
        px = Image.open(os.path.join(folder, 'frame.bmp')).convert('RGB').getpixel(((cl[0] + cl[2]) // 2,
                                                                                     (cl[1] + cl[3]) // 2))
        label = validate.compose.colour(ini['stdlabel']['fontcolor'])
        self.assertGreaterEqual(validate.contrast_ratio(px, label), 4.5, (px, label))
        shutil.rmtree(folder)

    def test_title_contrast_covers_every_pixel_under_the_title(self):
        """A light patch where a long title ends, far from the middle of the caption, is found; the same patch
        above the title's rows is not."""
        from PIL import Image, ImageDraw
        ini = validate.compose.read_ini(os.path.join(self.folder, 'skin.ini'))
        sr = validate.compose.rect(ini['caption']['skinrect'])
        tr = validate.compose.rect(ini['caption']['textrect'])
        mid = sr[1] + (tr[1] + tr[3]) // 2
        x = sr[0] + tr[2] - 4
        for rows, found in (((mid, mid + 1), True), ((0, 2), False)):
            with self.subTest(rows=rows):
                self.damaged('caption', 'fontheight', ini['caption']['fontheight'])
                path = os.path.join(self.tmp, 'damaged', 'frame.bmp')
                im = Image.open(path).convert('RGB')
                ImageDraw.Draw(im).rectangle([x, rows[0], x + 2, rows[1]], fill=(250, 250, 250))
                im.save(path)
                errors = self.contrast_findings(os.path.join(self.tmp, 'damaged'))
                self.assertEqual(any('active caption title contrast' in e for e in errors), found, errors)

    def test_reference_block_layout(self):
        for version in (3, 2):
            content = skingen.skin_content(self.folder, version)
            blk = skingen.block(content)
            outer, n = struct.unpack_from('<ii', blk)
            self.assertEqual((outer, n), (3, len(blk) - 8))
            self.assertEqual(blk[8:10], b'\x78\xda')
            data = zlib.decompress(blk[8:])
            self.assertEqual(struct.unpack_from('<i', data)[0], version)
            pos = 4
            slots = 5 if version == 2 else 3
            present = []
            for _ in range(slots):
                flag = data[pos]
                pos += 1
                present.append(flag == 0)
                if flag == 0:
                    self.assertEqual(data[pos:pos + 2], b'BM')
                    pos += struct.unpack_from('<I', data, pos + 2)[0]
            self.assertEqual(present, [True, True, True] + [False] * (slots - 3))
            count = struct.unpack_from('<i', data, pos)[0]
            pos += 4
            for _ in range(count):
                self.assertEqual(data[pos:pos + 2], b'BM')
                pos += struct.unpack_from('<I', data, pos + 2)[0]
            self.assertEqual(data[pos:], read(os.path.join(self.folder, 'skin.ini')))


ROOT = os.path.dirname(HERE)


def table(path):
    with open(path, encoding='utf-8', newline='') as f:
        text = f.read()
    assert '\r' not in text
    return [ln.split('=', 1) for ln in text.split('\n') if ln and not ln.startswith('#')]


class ResourceStringsTest(unittest.TestCase):
    """The Russian table the notifier gives the skin engine beside the engine's English defaults."""

    def test_same_names_in_the_same_order(self):
        eng = table(os.path.join(ROOT, 'skin', 'core', 'ResourceStrData_eng.txt'))
        rus = table(os.path.join(ROOT, 'app', 'ResourceStrData_rus.txt'))
        self.assertEqual(len(eng), 134)
        self.assertEqual([n for n, _ in eng], [n for n, _ in rus])
        self.assertEqual(len({n.upper() for n, _ in eng}), 134)
        for (name, en), (_, ru) in zip(eng, rus):
            with self.subTest(name=name):
                self.assertTrue(ru.strip())
                self.assertTrue(any('\u0400' <= ch <= '\u04ff' for ch in ru), ru)
                # an accelerator where the English text has one, and at most one
                self.assertEqual(en.count('&'), ru.count('&'))
                self.assertLessEqual(ru.count('&'), 1)
                # a trailing blank (the folder label) is kept
                self.assertEqual(en.endswith(' '), ru.endswith(' '))


if __name__ == '__main__':
    unittest.main()
