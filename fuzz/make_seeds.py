#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/.

Small valid inputs of every kind each target reads, plus a few near misses;
the fuzzer mutates from here. Run again after changing it: the files are
committed, so the corpora do not depend on this script at build time.
"""
import os
import struct
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
MARKER = b"\n#rgn\n"  # zepfuzz::kRegionMarker


def put(target, name, data):
    folder = os.path.join(ROOT, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# ---- region files -------------------------------------------------------

def region_rows(pixels):
    """The canonical rows file of a set of (x, y) pixels."""
    xs = [p[0] for p in pixels]
    ys = [p[1] for p in pixels]
    left, top = min(xs), min(ys)
    w, h = max(xs) - left + 1, max(ys) - top + 1
    columns = w < h
    out = bytearray([0x76 if columns else 0x68, left, top, w, h])
    lines, extent = (w, h) if columns else (h, w)
    for k in range(lines):
        start = None
        for a in range(extent + 1):
            p = (left + k, top + a) if columns else (left + a, top + k)
            inside = a < extent and p in pixels
            if inside and start is None:
                start = a
            elif not inside and start is not None:
                out += bytes([start, a - start])
                start = None
        out.append(0xFF)
    return bytes(out)


def disc(cx, cy, r):
    return {(x, y) for x in range(cx - r, cx + r + 1) for y in range(cy - r, cy + r + 1)
            if (x - cx) ** 2 + (y - cy) ** 2 <= r * r and 0 <= x < 254 and 0 <= y < 254}


def bar(x0, y0, x1, y1):
    return {(x, y) for x in range(x0, x1) for y in range(y0, y1)}


HSTROKE = bar(40, 60, 214, 72)
VSTROKE = bar(120, 30, 134, 230)
DOT = disc(200, 190, 9)

regions = {
    "one_pixel": bytes([0x68, 0, 0, 1, 1, 0, 1, 0xFF]),
    "full_canvas": bytes([0x68, 0, 0, 254, 254]) + bytes([0, 254, 0xFF]) * 254,
    "bar_columns": bytes([0x76, 5, 7, 2, 10, 0, 10, 0xFF, 0, 10, 0xFF]),
    "alternating_row": bytes([0x68, 0, 0, 254, 1]) + b"".join(bytes([i, 1]) for i in range(0, 254, 2)) + b"\xff",
    "overhang": bytes([0x68, 200, 200, 100, 2, 50, 50, 0xFF, 0, 100, 0xFF]),
    "clipped_runs": bytes([0x68, 3, 3, 10, 2, 3, 200, 10, 5, 0xFF, 0, 0xFF]),
    "only_terminators": bytes([0x68, 0, 0, 3, 3, 0xFF, 0xFF, 0xFF]),
    "cut_off": bytes([0x76, 10, 10, 4, 4, 0, 2, 1]),
    "stroke_rows": region_rows(HSTROKE),
    "stroke_columns": region_rows(VSTROKE),
    "dot": region_rows(DOT),
    "corners": region_rows({(0, 0), (253, 253)}),
}
for name, data in regions.items():
    put("fuzz_region_bytes", name, data)
put("fuzz_region_bytes", "too_short", b"h\x00\x00\x01")
put("fuzz_region_bytes", "upper_case", b"H\x00\x00\x01\x01\x00\x01\xff")

# ---- scripts with their region files -----------------------------------

def document(script, *region_files):
    return script + b"".join(MARKER + r for r in region_files)


h, v, d = regions["stroke_rows"], regions["stroke_columns"], regions["dot"]
documents = {
    "three_strokes": document(b"L,0;W;P,180,360,127,127;W;D;", h, v, d),
    "every_kind_one_line": document(b"D;W;L,90;P,0,180,127,127;", h, v, d),
    "lines_and_blanks": document(b" L , 45 ,x ;\r\n\tW;\nP,-90,270,127,40;\nDraw;", h, v, d),
    "falling_pivot": document(b"P,360,0,127,127;", d),
    "far_pivot": document(b"P,0,90,20000,-20000;P,0,30,-300,127;", h, v),
    "extreme_numbers": document(b"P,2147483647,-2147483648,2147483647,-2147483648;L,99999999999;", h, v),
    "missing_region_files": document(b"D;L,0;P,0,90,0,0;"),
    "short_commands": document(b"L;P,10,20;d;D,1,2;W", h, v),
    "overhanging_region": document(b"L,270;D;", regions["overhang"], regions["full_canvas"]),
    "bad_region_file": document(b"L,0;P,0,360,127,127;", b"V\x00\x00", h),
    "empty": b"",
}
for name, data in documents.items():
    put("fuzz_script_engine", name, data)

# ---- pictures -------------------------------------------------------------

def le16(v):
    return struct.pack("<H", v & 0xFFFF)


def le32(v):
    return struct.pack("<I", v & 0xFFFFFFFF)


def sample(w, h):
    """Black, white, a near black and a gray, in a pattern that pads rows."""
    colours = [(0, 0, 0), (255, 255, 255), (8, 0, 0), (128, 128, 128)]
    return [[colours[(x * 7 + y * 3) % 5 % 4] for x in range(w)] for y in range(h)]


def bmp(pixels, bits, top_down=False, header=40):
    h, w = len(pixels), len(pixels[0])
    palette = []
    if bits <= 8:
        for row in pixels:
            for c in row:
                if c not in palette:
                    palette.append(c)
        palette = palette[: 1 << bits]
    rows = []
    for row in (pixels if top_down else reversed(pixels)):
        if bits <= 8:
            idx = [palette.index(c) if c in palette else 0 for c in row]
            bitsrow = "".join(format(i, "0%db" % bits) for i in idx)
            bitsrow += "0" * (-len(bitsrow) % 32)
            data = int(bitsrow, 2).to_bytes(len(bitsrow) // 8, "big")
        elif bits == 16:
            data = b"".join(le16((c[0] >> 3) << 10 | (c[1] >> 3) << 5 | c[2] >> 3) for c in row)
        elif bits == 24:
            data = b"".join(bytes([c[2], c[1], c[0]]) for c in row)
        else:
            data = b"".join(bytes([c[2], c[1], c[0], 0 if c == (0, 0, 0) else 255]) for c in row)
        rows.append(data + b"\0" * (-len(data) % 4))
    pixel_data = b"".join(rows)
    if header == 12:
        info = le32(12) + le16(w) + le16(h) + le16(1) + le16(bits)
        table = b"".join(bytes([c[2], c[1], c[0]]) for c in palette)
    else:
        info = (le32(header) + le32(w) + le32(-h if top_down else h) + le16(1) + le16(bits) +
                le32(3 if header == 124 and bits in (16, 32) else 0) + le32(len(pixel_data)) +
                le32(2835) + le32(2835) + le32(len(palette)) + le32(0))
        if header == 124:
            masks = (0x7C00, 0x03E0, 0x001F, 0) if bits == 16 else (0xFF0000, 0xFF00, 0xFF, 0xFF000000)
            info += b"".join(le32(m) for m in masks) + b"BGRs" + b"\0" * 48 + le32(4) + le32(0) * 3
        table = b"".join(bytes([c[2], c[1], c[0], 0]) for c in palette)
    offset = 14 + len(info) + len(table)
    return b"BM" + le32(offset + len(pixel_data)) + le32(0) + le32(offset) + info + table + pixel_data


def png(pixels, colour_type=2):
    h, w = len(pixels), len(pixels[0])
    if colour_type == 2:
        raw = b"".join(b"\0" + b"".join(bytes(c) for c in row) for row in pixels)
    else:  # 6: with alpha, black pixels transparent
        raw = b"".join(b"\0" + b"".join(bytes(c) + bytes([0 if c == (0, 0, 0) else 255]) for c in row)
                       for row in pixels)

    def chunk(kind, data):
        return le32_be(len(data)) + kind + data + le32_be(zlib.crc32(kind + data))

    ihdr = le32_be(w) + le32_be(h) + bytes([8, colour_type, 0, 0, 0])
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")


def le32_be(v):
    return struct.pack(">I", v)


pic = sample(13, 7)
two = [[(0, 0, 0) if (x + y) % 3 == 0 else (255, 255, 255) for x in range(13)] for y in range(7)]
for bits in (1, 4, 8, 16, 24, 32):
    source = two if bits == 1 else pic
    put("fuzz_picture_trace", "bmp%d" % bits, bmp(source, bits))
    put("fuzz_picture_trace", "bmp%d_top_down" % bits, bmp(source, bits, top_down=True))
put("fuzz_picture_trace", "bmp16_v5_masks", bmp(pic, 16, header=124))
put("fuzz_picture_trace", "bmp32_v5_masks", bmp(pic, 32, header=124))
put("fuzz_picture_trace", "bmp1_core", bmp(two, 1, header=12))
put("fuzz_picture_trace", "bmp8_core", bmp(pic, 8, header=12))
put("fuzz_picture_trace", "bmp24_core", bmp(pic, 24, header=12))
put("fuzz_picture_trace", "png_rgb", png(pic))
put("fuzz_picture_trace", "png_rgba", png(pic, 6))
wide = [[(0, 0, 0) if x < 260 and y % 2 == 0 else (255, 255, 255) for x in range(260)] for y in range(3)]
put("fuzz_picture_trace", "bmp24_wider_than_canvas", bmp(wide, 24))

# ---- BMP files for our own decoder ----------------------------------------

def rle(pixels, bits):
    """An RLE8 or RLE4 BMP: encoded runs, an absolute run, a delta and an end of line per row."""
    h, w = len(pixels), len(pixels[0])
    palette = []
    for row in pixels:
        for c in row:
            if c not in palette:
                palette.append(c)
    stream = bytearray()
    for y, row in enumerate(reversed(pixels)):
        idx = [palette.index(c) for c in row]
        if y == 1:
            stream += bytes([0, 2, 1, 0])  # skip one pixel
            idx = idx[1:]
        half = len(idx) // 2
        first, rest = idx[:half], idx[half:]
        if bits == 8:
            stream += b"".join(bytes([1, i]) for i in first)
            if len(rest) >= 3:
                stream += bytes([0, len(rest)]) + bytes(rest) + b"\0" * (len(rest) % 2)
            else:
                stream += b"".join(bytes([1, i]) for i in rest)
        else:
            stream += b"".join(bytes([1, i << 4]) for i in idx)
        stream += bytes([0, 0])
    stream += bytes([0, 1])
    info = (le32(40) + le32(w) + le32(h) + le16(1) + le16(bits) + le32(1 if bits == 8 else 2) +
            le32(len(stream)) + le32(2835) + le32(2835) + le32(len(palette)) + le32(0))
    table = b"".join(bytes([c[2], c[1], c[0], 0]) for c in palette)
    offset = 14 + len(info) + len(table)
    return b"BM" + le32(offset + len(stream)) + le32(0) + le32(offset) + info + table + bytes(stream)


def with_header(data, size, compression=None):
    """The same file with its info header cut or padded to size bytes (an OS/2 2.x or V2/V3 header)."""
    old = struct.unpack_from("<I", data, 14)[0]
    info = bytearray(data[14:14 + old][:size].ljust(size, b"\0"))
    info[0:4] = le32(size)
    if compression is not None:
        info[16:20] = le32(compression)
    rest = data[14 + old:]
    offset = struct.unpack_from("<I", data, 10)[0] - old + size
    return b"BM" + le32(len(rest) + 14 + size) + le32(0) + le32(offset) + bytes(info) + rest


def gap_before_pixels(data, gap):
    offset = struct.unpack_from("<I", data, 10)[0]
    return data[:10] + le32(offset + gap) + data[14:offset] + b"\xee" * gap + data[offset:]


for name in os.listdir(os.path.join(ROOT, "fuzz_picture_trace")):
    if name.startswith("bmp"):
        with open(os.path.join(ROOT, "fuzz_picture_trace", name), "rb") as f:
            data = f.read()
        if data[:2] == b"BM":
            put("fuzz_bmp_decode", name, data)
put("fuzz_bmp_decode", "rle8", rle(pic, 8))
put("fuzz_bmp_decode", "rle4", rle(pic, 4))
put("fuzz_bmp_decode", "bmp2", bmp(pic, 2))
put("fuzz_bmp_decode", "bmp8_os2_64", with_header(bmp(pic, 8), 64))
put("fuzz_bmp_decode", "bmp4_os2_16", with_header(bmp(pic, 4), 16))
put("fuzz_bmp_decode", "rle8_os2_64", with_header(rle(pic, 8), 64))
put("fuzz_bmp_decode", "bmp16_v3_masks", with_header(bmp(pic, 16, header=124), 56, 3))
put("fuzz_bmp_decode", "bmp32_v2_masks", with_header(bmp(pic, 32, header=124), 52, 3))
v3 = with_header(bmp(pic, 16, header=124), 56, 3)
put("fuzz_bmp_decode", "bmp16_info_masks_after", v3[:14] + le32(40) + v3[18:])
put("fuzz_bmp_decode", "bmp24_table_and_gap", gap_before_pixels(bmp(pic, 24), 40))
put("fuzz_bmp_decode", "bmp8_gap", gap_before_pixels(bmp(pic, 8), 2000))

# ---- dorvik's command lines -------------------------------------------------

def words(*ws):
    return b"\0".join(w.encode("utf-8") if isinstance(w, str) else w for w in ws)


command_lines = {
    "kanji": words("漢字"),
    "verbose_kanji": words("-v", "漢字"),
    "option_after_text": words("字", "--verbose"),
    "every_class": words("-v", "ひらがなカタカナー", "123１２３", "abcＡＢＣ", "人々", "〇", "鬱"),
    "spaces": words("-v", " 漢\u3000字\t"),
    "help_after_text": words("漢字", "--help"),
    "version": words("--version", "--help"),
    "hyphen_words": words("-h", "-V", "--Help"),
    "empty_words": words("", "-v", "", "木"),
    "beyond_bmp": words("-v", "😀𠮷ｶﾀｶﾅ"),
    "broken_utf8": words("-v", b"\xe6\xbc\xff\xc0\xaf\xed\xa0\x80\xf4\x90\x80\x80\xe5\xad\x97"),
    "punctuation": words("。、！？"),
}
for name, data in command_lines.items():
    put("fuzz_dorvik_grade", name, data)

# ---- imported sets ------------------------------------------------------------

def kanji_set(characters, application_id=0x5A45506B, version=1, paths=None):
    """A set as zepkit writes it: one record per character, each region file
    after its 4-byte little-endian length; paths, by name, are the look-up's
    stroke paths (a set without them is one written before they were kept)."""
    import sqlite3
    db = sqlite3.connect(":memory:")
    db.execute("PRAGMA page_size=1024")
    db.execute("PRAGMA application_id=%d" % application_id)
    db.execute("PRAGMA user_version=%d" % version)
    db.execute("CREATE TABLE characters(character TEXT PRIMARY KEY NOT NULL, grade INTEGER,"
               " strokes INTEGER NOT NULL, script BLOB NOT NULL, regions BLOB NOT NULL)")
    for name, grade, script, regions in characters:
        packed = b"".join(le32(len(r)) + r for r in regions)
        db.execute("INSERT INTO characters VALUES(?,?,?,?,?)",
                   (name, grade, len(regions), script, packed))
    if paths is not None:
        db.execute("CREATE TABLE stroke_paths(character TEXT PRIMARY KEY NOT NULL,"
                   " paths BLOB NOT NULL)")
        for name, data in paths.items():
            db.execute("INSERT INTO stroke_paths VALUES(?,?)", (name, data))
    db.commit()
    return db.serialize()


migi = ("右", 1, b"L 90 0 0 0\nW\nL 0 0 0 0\nW\n",
        [region_rows(bar(40, 60, 200, 80)), region_rows(bar(90, 20, 110, 230))])
kawa = ("kawa", None, b"D\n", [region_rows(bar(60, 20, 80, 230))])
put("fuzz_character_store", "two_characters", kanji_set([migi, kawa]))
put("fuzz_character_store", "empty_set", kanji_set([]))
# Each path: the stroke count, then per stroke its flags (1: it has a
# direction), its point count and the points' x, y bytes.
put("fuzz_character_store", "stroke_paths", kanji_set([migi, kawa], paths={
    "右": bytes([2, 1, 3, 40, 70, 120, 70, 200, 70, 1, 2, 100, 20, 100, 230]),
    "kawa": bytes([1, 0, 2, 70, 20, 70, 230])}))
put("fuzz_character_store", "foreign_id", kanji_set([migi], application_id=1))
put("fuzz_character_store", "later_version", kanji_set([migi], version=2))
whole = kanji_set([migi, kawa])
put("fuzz_character_store", "torn", whole[:len(whole) // 2])
