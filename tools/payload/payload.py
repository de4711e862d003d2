#!/usr/bin/env python3
"""Setup's payload, made on the build machine.

The payload lies behind Setup's image, from the image's end rounded up to 512 bytes: the eight files back to back,
each padded with zeros to whole blocks of its slot's size. Setup carries the block counts compiled in; this tool
writes that table, appends the files and checks the result. A slot list names the slots, one per line:
"name<TAB>block size<TAB>source file".

  payload.py table SLOTS OUT.cpp          the block-count table compiled into Setup
  payload.py append SLOTS IMAGE OUT.exe [START.txt]
                                          IMAGE with its payload, checked, as OUT.exe (and its payload start)
  payload.py check SLOTS SETUP.exe        prints the slots and the payload start; exit 1 on any difference
  payload.py start IMAGE                  the payload start of a PE image
  payload.py lng LangTable.cpp OUT.lng    the Russian language file from the notifier's built-in table
"""
import os
import re
import struct
import sys

SECTOR = 512


class PayloadError(Exception):
    pass


def pe_layout(data):
    """(end of the image's data, payload start) of a PE32 or PE32+ image, from its section table."""
    if len(data) < 0x40 or data[:2] != b"MZ":
        raise PayloadError("not an MZ image")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if pe + 24 > len(data) or data[pe:pe + 4] != b"PE\0\0":
        raise PayloadError("no PE header")
    sections, = struct.unpack_from("<H", data, pe + 6)
    optional_size, = struct.unpack_from("<H", data, pe + 20)
    optional = pe + 24
    if optional + 64 > len(data):
        raise PayloadError("short optional header")
    magic, = struct.unpack_from("<H", data, optional)
    if magic not in (0x10B, 0x20B):
        raise PayloadError("neither PE32 nor PE32+ (magic %#x)" % magic)
    end, = struct.unpack_from("<I", data, optional + 60)  # SizeOfHeaders
    table = optional + optional_size
    if table + 40 * sections > len(data):
        raise PayloadError("section table beyond the file")
    for i in range(sections):
        raw_size, raw_at = struct.unpack_from("<II", data, table + 40 * i + 16)
        if raw_size:
            end = max(end, raw_at + raw_size)
    return end, (end + SECTOR - 1) // SECTOR * SECTOR


def read_slots(path):
    slots = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line:
                continue
            name, block, source = line.split("\t")
            slots.append((name, int(block), source))
    if len(slots) != 8:
        raise PayloadError("%s: %d slots, not 8" % (path, len(slots)))
    return slots


def blocks_of(block, source):
    return (os.path.getsize(source) + block - 1) // block


def padded(block, source):
    with open(source, "rb") as f:
        data = f.read()
    return data + b"\0" * (blocks_of(block, source) * block - len(data))


def cmd_table(slots_path, out):
    slots = read_slots(slots_path)
    rows = []
    for name, block, source in slots:
        n = blocks_of(block, source)
        if n == 0:
            raise PayloadError("%s: empty source %s" % (name, source))
        rows.append('    {L"%s", %d, %d},  // %s' % (name.replace("\\", "\\\\"), block, n, os.path.basename(source)))
    text = ("// Made by tools/payload/payload.py from the build's files: the block counts of Setup's payload.\n"
            '#include "setup/Payload.h"\n\n'
            "const TPayloadTable kPayloadTable = {{\n" + "\n".join(rows) + "\n}};\n")
    write_if_changed(out, text.encode("utf-8"))


def write_if_changed(path, data):
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return
    except OSError:
        pass
    with open(path + ".tmp", "wb") as f:
        f.write(data)
    os.replace(path + ".tmp", path)


def cmd_append(slots_path, image, out, start_file=None):
    slots = read_slots(slots_path)
    with open(image, "rb") as f:
        data = f.read()
    end, start = pe_layout(data)
    # Bytes after the last section (a symbol table, debug data) would sit where Setup expects the payload.
    if len(data) != end:
        raise PayloadError("%s: %d bytes after its last section (link it stripped)" % (image, len(data) - end))
    body = bytearray(data)
    body += b"\0" * (start - len(body))
    for _, block, source in slots:
        body += padded(block, source)
    with open(out + ".tmp", "wb") as f:
        f.write(body)
    check(slots, out + ".tmp", quiet=True)
    os.replace(out + ".tmp", out)
    if start_file:
        with open(start_file, "wb") as f:
            f.write(b"%d\n" % start)


def check(slots, setup, quiet=False):
    with open(setup, "rb") as f:
        data = f.read()
    _, start = pe_layout(data)
    at = start
    problems = []
    lines = ["payload start %d" % start]
    for i, (name, block, source) in enumerate(slots, 1):
        want = padded(block, source)
        n = len(want) // block
        got = data[at:at + len(want)]
        state = "ok" if got == want else "DIFFERS from " + source
        if got != want:
            problems.append(name)
        lines.append("%d %-28s block %3d  %7d blocks  %s" % (i, name, block, n, state))
        at += len(want)
    lines.append("payload end %d, file %d bytes" % (at, len(data)))
    if not quiet:
        print("\n".join(lines))
    if problems:
        raise PayloadError("%s: payload differs in %s" % (setup, ", ".join(problems)))


LITERAL = re.compile(r'L"((?:[^"\\]|\\.)*)"')
ESCAPES = {"\\\\": "\\", '\\"': '"', "\\'": "'", "\\n": "\n", "\\t": "\t", "\\r": "\r"}


def russian_table(source):
    with open(source, encoding="utf-8") as f:
        text = f.read()
    m = re.search(r"const TLangTable kRussian = \{\{(.*?)\n\}\};", text, re.S)
    if not m:
        raise PayloadError("%s: no kRussian table" % source)
    lines = []
    for entry in re.split(r",\s*(?://[^\n]*)?\n", m.group(1)):
        parts = LITERAL.findall(entry)
        if not parts:
            continue
        line = "".join(parts)
        if re.search(r"\\[^\\\"'ntr]", line):
            raise PayloadError("unsupported escape in %r" % line)
        for k, v in ESCAPES.items():
            line = line.replace(k, v)
        lines.append(line)
    return lines


def cmd_lng(source, out):
    lines = russian_table(source)
    if len(lines) != 88:
        raise PayloadError("%s: the Russian table has %d lines, not 88" % (source, len(lines)))
    write_if_changed(out, b"\xff\xfe" + "\r\n".join(lines).encode("utf-16-le"))


def main(argv):
    try:
        if len(argv) == 4 and argv[1] == "table":
            cmd_table(argv[2], argv[3])
        elif len(argv) in (5, 6) and argv[1] == "append":
            cmd_append(*argv[2:])
        elif len(argv) == 4 and argv[1] == "check":
            check(read_slots(argv[2]), argv[3])
        elif len(argv) == 3 and argv[1] == "start":
            with open(argv[2], "rb") as f:
                print(pe_layout(f.read())[1])
        elif len(argv) == 4 and argv[1] == "lng":
            cmd_lng(argv[2], argv[3])
        else:
            sys.stderr.write(__doc__)
            return 2
    except (PayloadError, OSError, ValueError, struct.error) as e:
        sys.stderr.write("payload: %s\n" % e)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
