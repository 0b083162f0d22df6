#!/usr/bin/env python3
"""Writes a small camera RAW file in the Digital Negative layout (a TIFF with a few extra
tags) for the tests and the benchmarks; no camera file is needed.

    make-dng.py OUT --size WxH [--preview JPEG_FILE] [--thumbnail PPM_FILE]
                [--orientation 1..8] [--cut BYTES]

The raw data is a Bayer mosaic (RGGB, 16 bits a sample, uncompressed) of a scene whose
left half is red and right half blue. With --preview the JPEG file is stored as the
preview in the first directory and the raw data in a sub-directory, as cameras and
converters write them; without it the first directory holds the raw data and there is no
preview at all. --thumbnail stores a small uncompressed RGB picture (a binary PPM file)
in the first directory, as converters write one, and moves the preview and the raw data
to sub-directories. --orientation sets the Orientation tag, --cut keeps only the first BYTES
of the file (a damaged copy).
"""
import argparse
import struct
import sys

BYTE, ASCII, SHORT, LONG, RATIONAL, SRATIONAL = 1, 2, 3, 4, 5, 10
TYPE_SIZES = {BYTE: 1, ASCII: 1, SHORT: 2, LONG: 4, RATIONAL: 8, SRATIONAL: 8}
HIGH, LOW = 52000, 3000

# XYZ to linear sRGB: the "camera" sees sRGB primaries, so the colours come out as stored.
XYZ_TO_SRGB = [3.2406, -1.5372, -0.4986, -0.9689, 1.8758, 0.0415, 0.0557, -0.2040, 1.0570]


def mosaic(width, height):
    """The RGGB mosaic of a red left half and a blue right half, row by row."""
    def row(first, second, split):
        cells = []
        for x in range(width):
            left = x < split
            if x % 2 == 0:
                cells.append(first if left else LOW)
            else:
                cells.append(LOW if left else second)
        return struct.pack('<%dH' % width, *cells)
    split = (width // 2) & ~1
    even = row(HIGH, LOW, split)  # R G R G ...: red high on the left
    odd = row(LOW, HIGH, split)   # G B G B ...: blue high on the right
    return (even + odd) * (height // 2) + (even if height % 2 else b'')


def pack_values(kind, values):
    if kind == ASCII:
        return values.encode('ascii') + b'\0'
    if kind == BYTE:
        return bytes(values)
    if kind == SHORT:
        return struct.pack('<%dH' % len(values), *values)
    if kind == LONG:
        return struct.pack('<%dI' % len(values), *values)
    if kind == RATIONAL:
        return b''.join(struct.pack('<II', int(v * 10000), 10000) for v in values)
    if kind == SRATIONAL:
        return b''.join(struct.pack('<ii', int(round(v * 10000)), 10000) for v in values)
    raise ValueError(kind)


class Directory:
    def __init__(self, data):
        self.entries = {}
        self.data = data

    def add(self, tag, kind, values):
        self.entries[tag] = (kind, values)

    def size(self):
        extra = 0
        for kind, values in self.entries.values():
            raw = pack_values(kind, values)
            if len(raw) > 4:
                extra += len(raw) + len(raw) % 2
        return 2 + 12 * len(self.entries) + 4 + extra


def write_directory(directory, at, offsets):
    """The directory's bytes placed at `at`; offsets maps placeholder tags to values."""
    count = len(directory.entries)
    extra_at = at + 2 + 12 * count + 4
    head, extra = struct.pack('<H', count), b''
    for tag in sorted(directory.entries):
        kind, values = directory.entries[tag]
        if tag in offsets:
            values = offsets[tag]
        raw = pack_values(kind, values)
        number = len(raw) // TYPE_SIZES[kind]
        if len(raw) <= 4:
            head += struct.pack('<HHI', tag, kind, number) + raw.ljust(4, b'\0')
        else:
            head += struct.pack('<HHII', tag, kind, number, extra_at + len(extra))
            extra += raw + b'\0' * (len(raw) % 2)
    return head + struct.pack('<I', 0) + extra


def camera_tags(directory, orientation):
    directory.add(271, ASCII, 'Vantrel')
    directory.add(272, ASCII, 'Test Camera')
    directory.add(274, SHORT, [orientation])
    directory.add(50706, BYTE, [1, 4, 0, 0])  # DNGVersion
    directory.add(50707, BYTE, [1, 1, 0, 0])  # DNGBackwardVersion
    directory.add(50708, ASCII, 'Vantrel Test Camera')  # UniqueCameraModel
    directory.add(50721, SRATIONAL, XYZ_TO_SRGB)  # ColorMatrix1
    directory.add(50778, SHORT, [21])  # CalibrationIlluminant1: D65
    directory.add(50728, RATIONAL, [1.0, 1.0, 1.0])  # AsShotNeutral


def raw_directory(width, height):
    raw = Directory(mosaic(width, height))
    raw.add(254, LONG, [0])  # NewSubFileType: the main picture
    raw.add(256, LONG, [width])
    raw.add(257, LONG, [height])
    raw.add(258, SHORT, [16])
    raw.add(259, SHORT, [1])  # uncompressed
    raw.add(262, SHORT, [32803])  # colour filter array
    raw.add(273, LONG, [0])  # StripOffsets, placed below
    raw.add(277, SHORT, [1])
    raw.add(278, LONG, [height])
    raw.add(279, LONG, [len(raw.data)])
    raw.add(284, SHORT, [1])
    raw.add(33421, SHORT, [2, 2])  # CFARepeatPatternDim
    raw.add(33422, BYTE, [0, 1, 1, 2])  # CFAPattern: R G / G B
    raw.add(50714, LONG, [0])  # BlackLevel
    raw.add(50717, LONG, [65535])  # WhiteLevel
    return raw


def reduced_directory(data, width, height, compression, photometric):
    """A reduced-resolution copy of the picture: one strip of 8-bit RGB or YCbCr samples."""
    reduced = Directory(data)
    reduced.add(254, LONG, [1])  # NewSubFileType: a reduced-resolution copy
    reduced.add(256, LONG, [width])
    reduced.add(257, LONG, [height])
    reduced.add(258, SHORT, [8, 8, 8])
    reduced.add(259, SHORT, [compression])
    reduced.add(262, SHORT, [photometric])
    reduced.add(273, LONG, [0])
    reduced.add(277, SHORT, [3])
    reduced.add(278, LONG, [height])
    reduced.add(279, LONG, [len(data)])
    reduced.add(284, SHORT, [1])  # chunky
    return reduced


def preview_directory(jpeg):
    width, height = jpeg_size(jpeg)
    return reduced_directory(jpeg, width, height, 7, 6)  # JPEG, YCbCr


def thumbnail_directory(ppm):
    width, height, pixels = ppm_pixels(ppm)
    return reduced_directory(pixels, width, height, 1, 2)  # uncompressed, RGB


def ppm_pixels(ppm):
    """Width, height and the RGB bytes of a binary PPM file of 8-bit samples."""
    fields, at = [], 0
    while len(fields) < 4:
        while ppm[at:at + 1].isspace():
            at += 1
        if ppm[at:at + 1] == b'#':
            at = ppm.index(b'\n', at)
            continue
        end = at
        while end < len(ppm) and not ppm[end:end + 1].isspace():
            end += 1
        fields.append(ppm[at:end])
        at = end
    if fields[0] != b'P6' or int(fields[3]) != 255:
        sys.exit('make-dng.py: the thumbnail is no binary PPM of 8-bit samples')
    width, height = int(fields[1]), int(fields[2])
    return width, height, ppm[at + 1:at + 1 + 3 * width * height]


def jpeg_size(jpeg):
    at = 2
    while at + 9 < len(jpeg):
        if jpeg[at] != 0xFF:
            break
        marker, length = jpeg[at + 1], struct.unpack('>H', jpeg[at + 2:at + 4])[0]
        if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            height, width = struct.unpack('>HH', jpeg[at + 5:at + 9])
            return width, height
        at += 2 + length
    sys.exit('make-dng.py: the preview is no JPEG with a frame header')


def build(width, height, jpeg, orientation, ppm=None):
    raw = raw_directory(width, height)
    below = [raw]
    if ppm is not None:
        first = thumbnail_directory(ppm)
        if jpeg is not None:
            below.append(preview_directory(jpeg))
    elif jpeg is not None:
        first = preview_directory(jpeg)
    else:
        first, below = raw, []
    camera_tags(first, orientation)
    if below:
        first.add(330, LONG, [0] * len(below))  # SubIFDs, placed below
    directories = [first] + below
    places, at = [], 8
    for directory in directories:
        places.append(at)
        at += directory.size()
    strips = []
    for directory in directories:
        strips.append(at)
        at += len(directory.data) + len(directory.data) % 2
    out = b'II*\0' + struct.pack('<I', 8)
    for index, directory in enumerate(directories):
        offsets = {273: [strips[index]]}
        if index == 0 and len(directories) > 1:
            offsets[330] = places[1:]
        out += write_directory(directory, places[index], offsets)
    for directory in directories:
        out += directory.data + b'\0' * (len(directory.data) % 2)
    return out


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('out')
    parser.add_argument('--size', required=True)
    parser.add_argument('--preview')
    parser.add_argument('--thumbnail')
    parser.add_argument('--orientation', type=int, default=1)
    parser.add_argument('--cut', type=int)
    args = parser.parse_args()
    width, height = (int(v) for v in args.size.lower().split('x'))
    jpeg = open(args.preview, 'rb').read() if args.preview else None
    ppm = open(args.thumbnail, 'rb').read() if args.thumbnail else None
    data = build(width, height, jpeg, args.orientation, ppm)
    if args.cut is not None:
        data = data[:args.cut]
    with open(args.out, 'wb') as f:
        f.write(data)


if __name__ == '__main__':
    main()
