#!/usr/bin/python3
"""Trelm Mail skin generator (developer tool).

  skingen.py build OUT            write every skin as an ini folder: OUT/notifier/NN_Name/, OUT/setup/Win8/, and the
                                  two lists OUT/notifier/skins.lst and OUT/setup/skins.lst
  skingen.py pack OUT [--skin-tool CMD]
                                  make the compressed .skn blocks beside the folders: through the engine's skin_tool
                                  ("CMD pack DIR FILE") when given, else through the reference packer below
  skingen.py samepack OUT --skin-tool CMD
                                  pack every version-3 folder once more through the engine's writer ("CMD pack DIR
                                  FILE") and check that its block has the same bytes as the .skn beside the folder
  skingen.py rc OUT PART NAME RCFILE
                                  a resource script that carries the list PART ("notifier" or "setup") of a packed
                                  set: RCDATA NAME (the list text) and NAME_i (the block of row i)
  skingen.py contact OUT PNG      contact sheet of the built set (frame, caption buttons in their states, controls)
  skingen.py size OUT             estimate of the compressed size of the notifier's set (zlib level 9)
  skingen.py fixtures DIR         the small test fixtures of the skin engine's tests

Same inputs give the same bytes: every picture is drawn by code, without randomness or time stamps.
"""

import argparse
import os
import shutil
import struct
import subprocess
import sys
import zlib
from multiprocessing import Pool

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import catalogue  # noqa: E402
from build import build  # noqa: E402


def _build_one(args):
    spec, folder = args
    sk = build(spec)
    if os.path.isdir(folder):
        shutil.rmtree(folder)
    sk.write(folder)
    return folder


def list_line(spec, folder):
    return '%d\t%s\t%d\t%s\t%s' % (spec['index'], os.path.basename(folder), spec.get('version', 3), spec['name'],
                                  spec['description'])


def cmd_build(out, jobs):
    jobs_list = []
    lists = {'notifier': [], 'setup': []}
    for s in catalogue.notifier_specs():
        folder = os.path.join(out, 'notifier', '%02d_%s' % (s['index'], catalogue.slug(s)))
        jobs_list.append((s, folder))
        lists['notifier'].append(list_line(s, folder))
    for s in catalogue.setup_specs():
        folder = os.path.join(out, 'setup', os.path.splitext(s['file'])[0])
        jobs_list.append((s, folder))
        lists['setup'].append(list_line(s, folder))
    for part in lists:
        os.makedirs(os.path.join(out, part), exist_ok=True)
    if jobs > 1:
        with Pool(jobs) as pool:
            pool.map(_build_one, jobs_list, chunksize=1)
    else:
        for j in jobs_list:
            _build_one(j)
    for part, lines in lists.items():
        with open(os.path.join(out, part, 'skins.lst'), 'w', encoding='utf-8', newline='\n') as f:
            f.write('# index\tfolder\tblock version\tname\tdescription\n')
            f.write('\n'.join(lines) + '\n')


def read_list(path):
    rows = []
    with open(path, encoding='utf-8') as f:
        for ln in f:
            if ln.startswith('#') or not ln.strip():
                continue
            idx, folder, ver, name, desc = ln.rstrip('\n').split('\t')
            rows.append(dict(index=int(idx), folder=folder, version=int(ver), name=name, description=desc))
    return rows


# ------------------------------------------------------------------------------------------------ packing stage

def skin_content(folder, version=3):
    """The decompressed content of a compressed skin made from an ini folder: version, the three picture slots
    (flag 0 and a BMP file image, or flag 1), for version 2 two empty extra slots, the active picture count and
    pictures, then the ini file's own text."""
    import compose
    ini = compose.read_ini(os.path.join(folder, 'skin.ini'))
    p = ini['PICTURES']
    out = bytearray(struct.pack('<i', version))
    for key in ('picture', 'inactivepicture', 'mask'):
        name = p.get(key, '')
        if name:
            out += b'\x00' + _read(os.path.join(folder, name))
        else:
            out += b'\x01'
    if version == 2:
        out += b'\x01\x01'
    n = int(p.get('activepicturescount', '0'))
    out += struct.pack('<i', n)
    for i in range(n):
        out += _read(os.path.join(folder, p[str(i)]))
    out += _read(os.path.join(folder, 'skin.ini'))
    return bytes(out)


def _read(path):
    with open(path, 'rb') as f:
        return f.read()


def block(content):
    z = zlib.compress(content, 9)
    return struct.pack('<ii', 3, len(z)) + z


def _pack_one(args):
    folder, version = args
    with open(folder + '.skn', 'wb') as f:
        f.write(block(skin_content(folder, version)))


def _block_size(args):
    return len(block(skin_content(*args)))


def cmd_pack(out, skin_tool):
    work = []
    for part in ('notifier', 'setup'):
        for row in read_list(os.path.join(out, part, 'skins.lst')):
            folder = os.path.join(out, part, row['folder'])
            if skin_tool and row['version'] == 3:
                subprocess.run(skin_tool.split() + ['pack', folder, folder + '.skn'], check=True)
            else:
                # reference packer: the layout the engine reads; version-2 blocks are only made here
                work.append((folder, row['version']))
    with Pool(os.cpu_count() or 1) as pool:
        pool.map(_pack_one, work, chunksize=1)


def cmd_samepack(out, skin_tool):
    """The build packs with the reference packer above (running a Windows program at build time would tie the build
    to a Wine session); this proves the engine's own writer makes the same bytes for every version-3 skin."""
    import tempfile
    from concurrent.futures import ThreadPoolExecutor
    work = []
    for part in ('notifier', 'setup'):
        for row in read_list(os.path.join(out, part, 'skins.lst')):
            if row['version'] == 3:
                work.append(os.path.join(out, part, row['folder']))
    with tempfile.TemporaryDirectory() as tmp:
        def one(folder):
            target = os.path.join(tmp, os.path.basename(folder) + '.skn')
            run = subprocess.run(skin_tool.split() + ['pack', _native(folder), _native(target)],
                                 stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
            if run.returncode != 0:
                return '%s: skin_tool pack failed (%d): %s' % (folder, run.returncode, run.stdout.decode(errors='replace'))
            if not os.path.exists(target):
                return '%s: skin_tool pack wrote nothing' % folder
            if _read(target) != _read(folder + '.skn'):
                return '%s: the engine packs other bytes than the build' % folder
            return None
        with ThreadPoolExecutor(max_workers=min(8, os.cpu_count() or 1)) as pool:
            errors = [e for e in pool.map(one, work) if e]
    for e in errors:
        print(e)
    print('%d version-3 skins packed through the engine, %d differ' % (len(work), len(errors)))
    return 1 if errors or not work else 0


def _native(path):
    # skin_tool runs under Wine, whose drive Z: is the root of this file system
    return 'Z:' + os.path.abspath(path).replace('/', '\\') if os.name != 'nt' else path


def cmd_rc(out, part, name, rcfile):
    rows = read_list(os.path.join(out, part, 'skins.lst'))
    if [r['index'] for r in rows] != list(range(len(rows))):
        raise SystemExit('%s/skins.lst: the indices are not 0, 1, 2, ...' % part)

    def quoted(path):
        return '"%s"' % os.path.abspath(path).replace('\\', '/')

    lines = ['// Written by skinset/skingen.py rc: the skin list "%s" (%d skins).' % (part, len(rows)),
             '%s RCDATA %s' % (name, quoted(os.path.join(out, part, 'skins.lst')))]
    for r in rows:
        lines.append('%s_%d RCDATA %s' % (name, r['index'], quoted(os.path.join(out, part, r['folder'] + '.skn'))))
    text = '\n'.join(lines) + '\n'
    # always written: the blocks it names may have changed, and the resource compiler does not see them
    os.makedirs(os.path.dirname(os.path.abspath(rcfile)), exist_ok=True)
    with open(rcfile, 'w', newline='\n') as f:
        f.write(text)
    return 0


def cmd_size(out, max_mb=0.0):
    """Prints the compressed size of the notifier's set; fails when it exceeds max_mb (when given)."""
    rows = read_list(os.path.join(out, 'notifier', 'skins.lst'))
    with Pool(os.cpu_count() or 1) as pool:
        total = sum(pool.map(_block_size, [(os.path.join(out, 'notifier', r['folder']), r['version']) for r in rows]))
    print('notifier set: %d skins, %.2f MB compressed' % (len(rows), total / 1e6))
    return 1 if max_mb and total > max_mb * 1e6 else 0


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    sub = ap.add_subparsers(dest='cmd', required=True)
    b = sub.add_parser('build')
    b.add_argument('out')
    b.add_argument('--jobs', type=int, default=os.cpu_count() or 1)
    pk = sub.add_parser('pack')
    pk.add_argument('out')
    pk.add_argument('--skin-tool', default='')
    sp = sub.add_parser('samepack')
    sp.add_argument('out')
    sp.add_argument('--skin-tool', required=True)
    rc = sub.add_parser('rc')
    rc.add_argument('out')
    rc.add_argument('part', choices=['notifier', 'setup'])
    rc.add_argument('name')
    rc.add_argument('rcfile')
    c = sub.add_parser('contact')
    c.add_argument('out')
    c.add_argument('png')
    c.add_argument('--only', default='')
    sz = sub.add_parser('size')
    sz.add_argument('out')
    sz.add_argument('--max-mb', type=float, default=0.0)
    fx = sub.add_parser('fixtures')
    fx.add_argument('dir')
    a = ap.parse_args()
    if a.cmd == 'build':
        cmd_build(a.out, a.jobs)
    elif a.cmd == 'pack':
        cmd_pack(a.out, a.skin_tool)
    elif a.cmd == 'samepack':
        return cmd_samepack(a.out, a.skin_tool)
    elif a.cmd == 'rc':
        return cmd_rc(a.out, a.part, a.name, a.rcfile)
    elif a.cmd == 'contact':
        import contact
        contact.sheet(a.out, a.png, a.only)
    elif a.cmd == 'size':
        return cmd_size(a.out, a.max_mb)
    elif a.cmd == 'fixtures':
        import fixtures
        fixtures.write_all(a.dir)


if __name__ == '__main__':
    sys.exit(main())
