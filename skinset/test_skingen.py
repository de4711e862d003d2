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
        ]
        for section, key, value, expect in cases:
            with self.subTest(section=section, key=key):
                errors = self.damaged(section, key, value)
                self.assertTrue(any(expect in e for e in errors), errors)

    def test_unreadable_caption_text_is_found(self):
        from PIL import Image
        frame = Image.open(os.path.join(self.folder, 'frame.bmp')).convert('RGB')
        r, g, b = frame.getpixel((40, 16))
        self.damaged('caption', 'activefontcolor', str(r | g << 8 | b << 16))
        c = validate.Checker(os.path.join(self.tmp, 'damaged'))
        c.contrast(validate.compose.read_ini(os.path.join(c.folder, 'skin.ini')))
        self.assertTrue(any('active caption text contrast' in e for e in c.errors), c.errors)
        c = validate.Checker(self.folder)
        c.contrast(validate.compose.read_ini(os.path.join(c.folder, 'skin.ini')))
        self.assertEqual(c.errors, [])

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
