#!/usr/bin/env python3
"""Writes the starting corpus in fuzz/corpus/ from the sample data in data/. Run from the root."""
import os
import struct

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
corpus = os.path.join(root, "fuzz", "corpus")


def put(target, name, data):
    os.makedirs(os.path.join(corpus, target), exist_ok=True)
    with open(os.path.join(corpus, target, name), "wb") as f:
        f.write(data)


# Map files: the sample map's header and nations, one stretch of provinces, and the lines that sit
# at the edges of the records.
sample = open(os.path.join(root, "data", "maps", "aelfheim.map"), "rb").read().split(b"\n")
put("mapfile", "header", b"\n".join(sample[:120]) + b"\n")
put("mapfile", "provinces", b"\n".join(sample[1190:1290]) + b"\n")
put("mapfile", "edges", b"\r\n".join([
    b"#setland 2599", b"#landname \"Edge\"", b"#terrain 8388607", b"#commander 1",
    b"#units 32767 1", b"#bodyguards -1 1", b"#additem \"Jade Mace\"", b"#knownfeature \"x",
    b"#neighbour 1 2599", b"#specstart 99 2599", b"#god 99 \"Wyrm of Blood\"",
    b"#description \"unended -- quote", b""]))
# A map from a later game version; even in length, so the target reads it keeping what it does not
# understand.
later = open(os.path.join(root, "document", "tests", "keeping", "everything.map"), "rb").read()
put("mapfile", "later", later + (b"\n" if len(later) % 2 else b""))

# Reference tables: the first byte chooses the file (order of loading), the rest is its first rows.
tables = ["NationData", "PopData", "SiteData", "FortData", "ItemData", "UnitData"]
for index, table in enumerate(tables):
    rows = open(os.path.join(root, "data", "TSdata", table + ".txt"), "rb").read().split(b"\r\n")
    put("refdata", table, bytes([index]) + b"\r\n".join(rows[:3]) + b"\r\n")

# Pictures: small maps with white province pixels in every layout the decoder meets.
W, H = 12, 8
pixels = [[(40, 110, 60)] * W for _ in range(H)]
for x, y in [(2, 2), (9, 3), (5, 6)]:
    pixels[y][x] = (255, 255, 255)


def targa(bits, rle, palette=False):
    kind = 1 if palette else (10 if rle else 2)
    header = struct.pack("<BBBHHBHHHHBB", 0, 1 if palette else 0, kind, 0, 2 if palette else 0,
                         24 if palette else 0, 0, 0, W, H, 8 if palette else bits, 0)
    body = b""
    if palette:
        body += bytes([60, 110, 40, 255, 255, 255])
    for row in reversed(pixels):
        line = []
        for r, g, b in row:
            if palette:
                line.append(bytes([1 if (r, g, b) == (255, 255, 255) else 0]))
            else:
                line.append(bytes([b, g, r]) + (b"\xff" if bits == 32 else b""))
        if rle:
            for px in line:
                body += b"\x00" + px  # raw packets of one pixel keep the seed simple
        else:
            body += b"".join(line)
    return header + body


put("image", "rgb24.tga", targa(24, False))
put("image", "rgba32_rle.tga", targa(32, True))
put("image", "palette8.tga", targa(8, False, palette=True))


def sgi(rle):
    header = struct.pack(">HBBHHHHIII80sI", 0x01DA, 1 if rle else 0, 1, 3, W, H, 3, 0, 255, 0,
                         b"seed", 0).ljust(512, b"\0")
    channels = []
    for c in range(3):
        for row in reversed(pixels):
            channels.append(bytes(px[c] for px in row))
    if not rle:
        return header + b"".join(channels)
    packed = [bytes([0x80 | W]) + ch + b"\0" for ch in channels]
    offset = 512 + 8 * len(packed)
    starts, lengths = [], []
    for p in packed:
        starts.append(offset)
        lengths.append(len(p))
        offset += len(p)
    tables_ = struct.pack(">%dI" % len(packed), *starts) + struct.pack(">%dI" % len(packed), *lengths)
    return header + tables_ + b"".join(packed)


put("image", "plain.rgb", sgi(False))
put("image", "rle.rgb", sgi(True))

put("configuration", "defaults",
    b"#TRUE#,#TRUE#,#TRUE#,#TRUE#,#TRUE#,#FALSE#,400,64,#FALSE#,325,68,#TRUE#,680,0,"
    b"\"/home/ann/.thraxis3/maps/\",\"/opt/tessary/TSicons/Tessary.jpg\","
    b"1,1,0,1,255,14446130,16777215,16777215,14446130,255,255,2,5,2,20,1,1,1,1,1,"
    b"1244928,12632256,16711935\r\n")

# Province templates: a shipped one, and the same cut short.
grove = open(os.path.join(root, "data", "TStemplates", "Holy Grove.ptf"), "rb").read()
put("templates", "holy_grove.ptf", grove)
put("templates", "cut.ptf", grove[:len(grove) // 3])

# Name files: the shipped ones as they are.
for name in sorted(os.listdir(os.path.join(root, "data", "TSnames"))):
    put("names", name, open(os.path.join(root, "data", "TSnames", name), "rb").read())

# Scripts: the shipped ones as they are, and one that runs past the limit of blocks.
for name in sorted(os.listdir(os.path.join(root, "data", "TSscripts"))):
    put("scripts", name, open(os.path.join(root, "data", "TSscripts", name), "rb").read())
put("scripts", "blocks.tss", b":SELECT ALL PROVINCES\n:THEN\ncomtype = 12\n:END\n" * 52)

# Unit palettes: the shipped ones as they are.
for name in sorted(os.listdir(os.path.join(root, "data", "TSpalettes"))):
    put("palettes", name, open(os.path.join(root, "data", "TSpalettes", name), "rb").read())
