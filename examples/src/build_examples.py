#!/usr/bin/env python3
"""Rebuilds every examples/<name>.vlp from its readable source in examples/src/<name>/.

Each source folder holds:
  project.txt  the project's text, UTF-8, one section per block, blocks separated by an empty
               line; written into the text chunk in Windows-1250 with CR LF line ends
               (the pilcrow that joins the lines of a definition becomes byte 0xB6);
  chunks.tsv   the chunks in file order, one per line: tag, kind, value (TAB-separated);
               kind "language" stores value as the language chunk's text, "text" stores the
               named text file as above, "file" stores the named file byte for byte;
  *.png        the pictures that "file" chunks name.

The container is "LGF", the version "05" (or "04" when there is no language chunk), the
chunk count as a 32-bit little-endian number, then every chunk as tag, 32-bit little-endian
length and data.

    python3 examples/src/build_examples.py              # rebuild every .vlp
    python3 examples/src/build_examples.py --pictures   # also redraw the generated pictures
"""

import argparse
import math
import os
import struct
import sys
import zlib

SRC_DIR = os.path.dirname(os.path.abspath(__file__))
EXAMPLES_DIR = os.path.dirname(SRC_DIR)


class SourceError(Exception):
    pass


def project_text(path):
    with open(path, encoding="utf-8", newline="") as f:
        text = f.read()
    text = text.replace("\r\n", "\n").replace("\r", "\n")
    for number, line in enumerate(text.split("\n"), 1):
        if line != line.rstrip(" \t"):
            raise SourceError("%s:%d: trailing blanks would not survive a save" % (path, number))
    try:
        return text.replace("\n", "\r\n").encode("cp1250")
    except UnicodeEncodeError as error:
        raise SourceError("%s: %r is outside Windows-1250" % (path, text[error.start:error.end]))


def read_chunks(folder):
    chunks = []
    path = os.path.join(folder, "chunks.tsv")
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\r\n")
            if not line.strip() or line.startswith("#"):
                continue
            cells = line.split("\t")
            where = "%s:%d" % (path, number)
            if len(cells) != 3:
                raise SourceError("%s: expected tag, kind, value" % where)
            tag, kind, value = cells
            if len(tag) != 4 or not tag.isascii():
                raise SourceError("%s: a tag is four ASCII characters, not %r" % (where, tag))
            if kind == "language":
                data = value.encode("ascii")
            elif kind == "text":
                data = project_text(os.path.join(folder, value))
            elif kind == "file":
                with open(os.path.join(folder, value), "rb") as picture:
                    data = picture.read()
            else:
                raise SourceError("%s: unknown kind %r" % (where, kind))
            chunks.append((tag.encode("ascii"), data))
    return chunks


def container(chunks):
    version = b"05" if any(tag == b"LA 1" for tag, _ in chunks) else b"04"
    out = [b"LGF", version, struct.pack("<i", len(chunks))]
    for tag, data in chunks:
        out += [tag, struct.pack("<i", len(data)), data]
    return b"".join(out)


def png(width, height, pixel):
    """A truecolour PNG drawn by pixel(x, y) -> (r, g, b); deterministic bytes."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    rows = b"".join(b"\x00" + b"".join(bytes(pixel(x, y)) for x in range(width))
                    for y in range(height))
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9))
            + chunk(b"IEND", b""))


def star(x, y):
    # A yellow five-pointed-ish star on sky blue: inside when the point is near the centre
    # in one of five directions.
    dx, dy = x - 15.5, y - 15.5
    r = math.hypot(dx, dy)
    a = math.atan2(dy, dx)
    edge = 6 + 8 * abs(math.cos(2.5 * a))
    return (250, 210, 40) if r < edge else (120, 180, 240)


def checker(x, y):
    return (235, 235, 220) if (x // 8 + y // 8) % 2 == 0 else (190, 210, 170)


def ball(x, y):
    dx, dy = x - 11.5, y - 11.5
    if dx * dx + dy * dy > 110:
        return (255, 255, 255)
    shine = max(0, 60 - int(((dx + 4) ** 2 + (dy + 4) ** 2) * 2))
    return (min(255, 200 + shine), 40 + shine, 40 + shine)


PICTURES = {
    "kepek": {"csillag.png": (32, 32, star), "sakktabla.png": (32, 32, checker),
              "labda.png": (24, 24, ball)},
}


def draw_pictures():
    for name, pictures in PICTURES.items():
        for file_name, (width, height, pixel) in pictures.items():
            with open(os.path.join(SRC_DIR, name, file_name), "wb") as f:
                f.write(png(width, height, pixel))


def write_if_changed(path, data):
    if os.path.exists(path):
        with open(path, "rb") as f:
            if f.read() == data:
                return False
    temp = path + ".tmp"
    with open(temp, "wb") as f:
        f.write(data)
    os.replace(temp, path)
    return True


def main():
    parser = argparse.ArgumentParser(description="Rebuild the sample projects.")
    parser.add_argument("--pictures", action="store_true", help="redraw the generated pictures")
    args = parser.parse_args()
    if args.pictures:
        draw_pictures()
    names = sorted(n for n in os.listdir(SRC_DIR)
                   if os.path.isfile(os.path.join(SRC_DIR, n, "chunks.tsv")))
    try:
        for name in names:
            data = container(read_chunks(os.path.join(SRC_DIR, name)))
            changed = write_if_changed(os.path.join(EXAMPLES_DIR, name + ".vlp"), data)
            print("%-20s %6d bytes%s" % (name + ".vlp", len(data), "" if changed else " (unchanged)"))
    except (SourceError, OSError) as error:
        print("build_examples: error: %s" % error, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
