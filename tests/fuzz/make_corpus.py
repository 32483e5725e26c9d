#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into corpus/<target>/.

Deterministic; run from anywhere: python3 tests/fuzz/make_corpus.py
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as out:
        out.write(data)


def read(path):
    with open(os.path.join(ROOT, path), "rb") as f:
        return f.read()


# Pages: a real one, the odd bytes a page may hold, and line ends of every kind.
write("text", "page1", read("text/gt1.tf"))
write("text", "about", read("text/read.tf")[:2048])
write("text", "empty", b"")
write("text", "undefined_0x98", "При".encode("cp1251") + b"\x98" + "вет\r\n".encode("cp1251"))
write("text", "nul_bytes", b"a\x00b\r\n\x00\x00\r\n")
write("text", "line_ends", b"one\r\ntwo\rthree\nfour\r\r\n\n\rfive")
write("text", "all_bytes", bytes(range(256)))

# Flags: what the game writes, and what a hand or a crash may leave.
for name, data in [("zero", b"0\r\n"), ("one", b"1\r\n"), ("empty", b""), ("bare_one", b"1"),
                   ("two_lines", b"0\r\n0\r\n"), ("lone_cr", b"1\r"), ("undefined", b"\x98\r\n"),
                   ("cyrillic", "да\r\n".encode("cp1251"))]:
    write("flags", name, data)

# Console lines: the first byte 1 reads the rest as UTF-8, 0 as raw UTF-16.
lines = ["", "help", "command^vie<cat", "command^vie<diec/Kelmar_Box", "command^diec<corp.vip",
         "command^diec<money.vip", "command^diec<my_foto.see", "command^end<consol", "HELP",
         "command^diec<corp.vip ", "команда", "command^vie<diec/System\r\n"]
for number, line in enumerate(lines):
    write("console", "utf8_%02d" % number, b"\x01" + line.encode("utf-8"))
write("console", "utf16_help", b"\x00" + "help".encode("utf-16-le"))
write("console", "utf16_lone_surrogate", b"\x00" + b"\x00\xd8h\x00")

# Cursors: the game's own, cut short, lying about its size, and animated.
cursor = read("cursor/cur.cgf")
write("cursor", "static", cursor)
write("cursor", "cut_short", cursor[:40])
write("cursor", "header_only", cursor[:22])
write("cursor", "too_many_pictures", cursor[:4] + b"\xff\xff" + cursor[6:64])


def chunk(tag, data):
    padded = data + (b"\x00" if len(data) % 2 else b"")
    return tag + struct.pack("<I", len(data)) + padded


header = struct.pack("<9I", 36, 2, 2, 0, 0, 0, 0, 3, 1)
frames = chunk(b"LIST", b"fram" + chunk(b"icon", cursor) + chunk(b"icon", cursor))
body = b"ACON" + chunk(b"anih", header) + chunk(b"rate", struct.pack("<3I", 2, 4, 6)) \
    + chunk(b"seq ", struct.pack("<3I", 0, 1, 0)) + frames
write("cursor", "animated", b"RIFF" + struct.pack("<I", len(body)) + body)
write("cursor", "animated_bad_sequence",
      b"RIFF" + struct.pack("<I", len(body)) + body.replace(struct.pack("<3I", 0, 1, 0), struct.pack("<3I", 0, 9, 0)))
write("cursor", "riff_empty", b"RIFF\x04\x00\x00\x00ACON")
