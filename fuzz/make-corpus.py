#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/: small valid files of
each format, the edge cases the readers must take, and a few broken ones. Deterministic; the
written files are checked in. JPEG seeds need ffmpeg and jpegtran (libjpeg-turbo-progs) and are
kept as they are when those are missing."""
import math
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def write(target, name, data):
    folder = os.path.join(ROOT, target)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode()
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# --- .mesh -----------------------------------------------------------------------------------

ELEMENT_BYTES = [12, 12, 8, 12, 12, 12, 4, 12, 12, 12]


def vertex_bytes(mask):
    return sum(ELEMENT_BYTES[b] for b in range(10) if mask & (1 << b))


def mesh(indices, vertex_count, mask, stride=None, keys=None, own_counts=None):
    """keys: (position, rotation, scale) lists sharing one count K; own_counts: the same three
    lists written with K = 0 and a count before each."""
    stride = vertex_bytes(mask) if stride is None else stride
    out = struct.pack("<I", 0) + struct.pack("<16f", *[1.0 if i % 5 == 0 else 0.0 for i in range(16)])
    out += struct.pack("<IIIIH", 0, len(indices) // 3, vertex_count, stride, mask)
    out += struct.pack("<%dH" % len(indices), *indices)
    floats = stride // 4
    out += struct.pack("<%df" % (vertex_count * floats), *[float(i % 7) - 3.0 for i in range(vertex_count * floats)])
    out += struct.pack("<B3I", 0, 0, 0, 0)
    if keys is not None:
        position, rotation, scale = keys
        out += struct.pack("<I", len(position))
        for track in (position, rotation, scale):
            for key in track:
                out += struct.pack("<%df" % len(key), *key)
    else:
        out += struct.pack("<I", 0)
        for track in own_counts or ([], [], []):
            out += struct.pack("<I", len(track))
            for key in track:
                out += struct.pack("<%df" % len(key), *key)
    return out


def meshes():
    t = "fuzz_mesh_file"
    quad = [0, 1, 2, 2, 1, 3]
    write(t, "triangle-0007.mesh", mesh([0, 1, 2], 3, 0x0007))
    write(t, "quad-0041-shared-keys.mesh",
          mesh(quad, 4, 0x0041, keys=([(0, 0, 0), (1, 2, 3)], [(0, 0, 0, 1), (0, 0.7071, 0, 0.7071)],
                                      [(1, 1, 1), (2, 2, 2)])))
    write(t, "quad-own-counts.mesh",
          mesh(quad, 4, 0x0003, own_counts=([(0, 0, 0), (1, 0, 0)], [(0, 0, 0, 1)], [(1, 1, 1)] * 3)))
    write(t, "all-elements-03ff.mesh", mesh([0, 1, 2], 3, 0x03FF & ~0x0004))
    write(t, "texcoord-twice-0085.mesh", mesh([0, 1, 2], 3, 0x0085))
    write(t, "invalid-bit10.mesh", mesh([0, 1, 2], 3, 0x0401, stride=12))
    write(t, "index-out-of-range.mesh", mesh([0, 1, 7], 3, 0x0001))
    write(t, "empty.mesh", mesh([], 0, 0x0001))
    write(t, "truncated.mesh", mesh(quad, 4, 0x0007)[:120])
    # Found by the fuzzer: a declared layout (position, normal, texcoord: 32 bytes) wider than the
    # stride, which would make the device read past the last vertex.
    write(t, "layout-wider-than-stride.mesh", mesh(quad, 4, 0x0007, stride=12))
    # Counts far larger than the file: nothing may be allocated for them.
    write(t, "huge-counts.mesh", mesh([0, 1, 2], 3, 0x0001)[:76] + struct.pack("<IIIH", 0x7FFFFFFF, 0xFFFFFFFF, 64, 1))


# --- .camera ---------------------------------------------------------------------------------

def camera(near, far, fov, eye, target, shared=True):
    out = struct.pack("<ffI", near, far, len(fov)) + struct.pack("<%df" % len(fov), *fov)
    if shared and len(eye) == len(target) and eye:
        out += struct.pack("<I", len(eye))
        for key in eye + target:
            out += struct.pack("<3f", *key)
    else:
        out += struct.pack("<I", 0)
        for track in (eye, target):
            out += struct.pack("<I", len(track))
            for key in track:
                out += struct.pack("<3f", *key)
    return out


def cameras():
    t = "fuzz_camera_file"
    eye = [(0, 10, -50), (5, 12, -45), (10, 14, -40)]
    target = [(0, 0, 0), (1, 0, 0), (2, 0, 0)]
    write(t, "three-keys.camera", camera(1, 10000, [0.8, 0.9], eye, target))
    write(t, "own-counts.camera", camera(1, 5000, [0.7, 0.75], eye, target, shared=False))
    write(t, "one-key.camera", camera(0.5, 100, [1.0], eye[:1], target[:1]))
    write(t, "no-keys.camera", camera(1, 10000, [], [], []))
    write(t, "eye-equals-target.camera", camera(1, 10000, [0.0], [(0, 0, 0)], [(0, 0, 0)]))
    write(t, "near-beyond-far.camera", camera(100, 1, [math.pi], eye, target))
    write(t, "truncated.camera", camera(1, 10000, [0.8, 0.9], eye, target)[:40])
    write(t, "huge-fov-count.camera", struct.pack("<ffI", 1, 10000, 0xFFFFFFF0) + b"\0" * 8)


# --- spectrum file ---------------------------------------------------------------------------

def spectrum(records, bands, values, claimed=None):
    """records: the count the body holds; claimed: the count the header says, when different."""
    out = struct.pack("<II", records if claimed is None else claimed, bands)
    return out + struct.pack("<%df" % len(values), *values)


def spectra():
    t = "fuzz_spectrum_file"
    write(t, "five-bands.txt", spectrum(6, 5, [0.01 * i for i in range(30)]))
    write(t, "two-bands.txt", spectrum(4, 2, [0.2, 0.01] * 4))
    write(t, "short-body.txt", spectrum(100, 5, [0.3] * 10))
    write(t, "header-only.txt", spectrum(0, 5, []))
    write(t, "extreme-values.txt", spectrum(3, 5, [math.inf, -math.inf, math.nan, 3.4e38, -3.4e38,
                                                   1e-45, -0.0, 0.11, 1e30, -1.0] + [0.5] * 5))
    write(t, "huge-header.txt", spectrum(1, 0xFFFFFFFF, [0.1, 0.2, 0.3, 0.4], claimed=0xFFFFFFFF))
    write(t, "no-header.txt", b"\x05\x00")


# --- .fx -------------------------------------------------------------------------------------

CARD = """// a textured full-screen card with an opacity
--- common
uniform mat4 matProjection;
uniform sampler2D tex0;
uniform float alpha1;
--- vertex quad
layout(location = 0) in vec3 inPosition;
layout(location = 2) in vec2 inTexcoord0;
out vec2 uv;
void main() { gl_Position = matProjection * vec4(inPosition, 1.0); uv = inTexcoord0; }
--- fragment card
in vec2 uv; out vec4 colour;
void main() { vec4 c = texture(tex0, uv); colour = vec4(c.rgb * alpha1, c.a * alpha1); }
--- pass 0 quad card
--- sampler tex0 clamp linear
"""

TWO_PASSES = """--- common
uniform mat4 matWorldViewProjection;
uniform vec3 LightPosition, CameraPosition;
uniform vec2 ps = vec2(0.003125, 0.004166667), movement;
uniform vec4 baseColor[4];
uniform sampler2D tex0, tex1;
--- vertex v
layout(location = 0) in vec3 inPosition;
void main() { gl_Position = matWorldViewProjection * vec4(inPosition, 1.0); }
--- fragment a
out vec4 colour;
void main() { colour = baseColor[0] + texture(tex0, ps); }
--- fragment b
out vec4 colour;
void main() { colour = vec4(LightPosition - CameraPosition, 1.0) * texture(tex1, movement); }
--- pass 1 v b blend=add zenable=false cull=none
--- pass 0 v a blend=alpha cull=ccw alphablend=true blendop=min srcblend=one destblend=invsrccolor
--- sampler tex1 wrap point
"""

BROKEN = [
    ("pass-gap.fx", "--- vertex v\nvoid main() {}\n--- fragment f\nvoid main() {}\n--- pass 1 v f\n"),
    ("unknown-state.fx", "--- vertex v\nvoid main() {}\n--- fragment f\nvoid main() {}\n--- pass 0 v f fog=on\n"),
    ("text-outside.fx", "uniform float x;\n--- vertex v\nvoid main() {}\n"),
    ("missing-shader.fx", "--- vertex v\nvoid main() {}\n--- pass 0 v nowhere\n"),
    ("sampler-not-declared.fx", "--- common\nuniform float t;\n--- sampler t clamp\n"),
    ("twice-declared.fx", "--- common\nuniform float a;\nuniform vec2 a;\n"),
    ("bad-array.fx", "--- common\nuniform float a[0];\nuniform mat4 b[99999];\n"),
    ("no-passes.fx", "--- common\nuniform float alpha;\n"),
    ("compile-error.fx", "--- vertex v\n#error broken\nvoid main() {}\n--- fragment f\nvoid main() {}\n--- pass 0 v f\n"),
    ("crlf.fx", CARD.replace("\n", "\r\n")),
    ("empty.fx", ""),
]


def effects():
    t = "fuzz_effect_file"
    write(t, "card.fx", CARD)
    write(t, "two-passes.fx", TWO_PASSES)
    for name, text in BROKEN:
        write(t, name, text)


# --- textures --------------------------------------------------------------------------------

def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def png(width, height, colour_type, bit_depth, rows, palette=None, trns=None, interlaced=False):
    out = b"\x89PNG\r\n\x1a\n"
    out += png_chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, bit_depth, colour_type, 0, 0, 1 if interlaced else 0))
    if palette:
        out += png_chunk(b"PLTE", palette)
    if trns:
        out += png_chunk(b"tRNS", trns)
    out += png_chunk(b"IDAT", zlib.compress(rows, 9))
    return out + png_chunk(b"IEND", b"")


def textures():
    t = "fuzz_texture"
    write(t, "rgba-1x1.png", png(1, 1, 6, 8, b"\x00\xff\x80\x40\xc0"))
    write(t, "rgb-3x2.png", png(3, 2, 2, 8, b"\x00" + bytes(range(9)) + b"\x01" + bytes(range(9, 18))))
    write(t, "grey-alpha-4x4.png", png(4, 4, 4, 8, b"".join(b"\x02" + bytes(8) for _ in range(4))))
    write(t, "palette-trns-4x2.png", png(4, 2, 3, 2, b"\x00\x1b\x00\xe4", palette=bytes(range(12)), trns=b"\x00\x80"))
    write(t, "rgb16-2x2.png", png(2, 2, 2, 16, b"\x04" + bytes(12) + b"\x03" + bytes(range(12))))
    # Adam7: the seven passes of a 3x3 greyscale image, each row filter 0.
    adam7 = b"\x00\x10" + b"\x00\x20" + b"\x00\x30" + b"\x00\x40" + b"\x00\x50\x60" + b"\x00\x70" + b"\x00\x80" \
        + b"\x00\x90\xa0\xb0"
    write(t, "grey-interlaced-3x3.png", png(3, 3, 0, 8, adam7, interlaced=True))
    write(t, "truncated.png", png(8, 8, 2, 8, b"".join(b"\x00" + bytes(24) for _ in range(8)))[:60])
    # BMP, 2x2, 24 bits, bottom row first, rows padded to 4 bytes.
    pixels = b"\x00\x00\xff\x00\xff\x00\x00\x00" + b"\xff\x00\x00\xff\xff\xff\x00\x00"
    write(t, "rgb-2x2.bmp", b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54)
          + struct.pack("<IiiHHIIiiII", 40, 2, 2, 1, 24, 0, len(pixels), 2835, 2835, 0, 0) + pixels)
    write(t, "rgb-2x1.tga", struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0, 2, 1, 24, 0) + b"\x01\x02\x03\x04\x05\x06")
    write(t, "rle-4x1.tga", struct.pack("<BBBHHBHHHHBB", 0, 0, 10, 0, 0, 0, 0, 0, 4, 1, 32, 8)
          + b"\x83\x10\x20\x30\x40")
    write(t, "rgb-2x2.ppm", b"P6\n2 2\n255\n" + bytes(range(12)))
    write(t, "grey-2x2.pgm", b"P5 2 2 255 " + b"\x00\x40\x80\xff")
    write(t, "one-pixel.gif", b"GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff!\xf9\x04\x01\x00\x00\x00\x00"
          b",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02D\x01\x00;")
    write(t, "one-pixel.hdr", b"#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 1 +X 1\n\x80\x40\x20\x81")
    write(t, "huge-dimensions.png", png(8192, 8192, 0, 8, b"\x00")[:33] + png_chunk(b"IEND", b""))
    jpegs(t)
    oversized_huffman_table(t)


def jpegs(t):
    ffmpeg, jpegtran = shutil.which("ffmpeg"), shutil.which("jpegtran")
    if not ffmpeg or not jpegtran:
        print("ffmpeg or jpegtran missing: JPEG seeds left as they are", file=sys.stderr)
        return
    with tempfile.TemporaryDirectory() as work:
        baseline = os.path.join(work, "baseline.jpg")
        subprocess.run([ffmpeg, "-loglevel", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=16x8:rate=1",
                        "-frames:v", "1", "-q:v", "20", "-fflags", "+bitexact", "-flags", "+bitexact", baseline],
                       check=True)
        grey = os.path.join(work, "grey.jpg")
        subprocess.run([jpegtran, "-grayscale", "-optimize", "-copy", "none", "-outfile", grey, baseline], check=True)
        progressive = os.path.join(work, "progressive.jpg")
        subprocess.run([jpegtran, "-progressive", "-copy", "none", "-outfile", progressive, baseline], check=True)
        for name, path in (("baseline-16x8.jpg", baseline), ("grey-16x8.jpg", grey),
                           ("progressive-16x8.jpg", progressive)):
            with open(path, "rb") as f:
                write(t, name, f.read())


def oversized_huffman_table(t):
    """Found by the fuzzer: a DHT segment declaring more than 256 codes, which the packaged
    stb_image writes past its tables for. Here an otherwise valid JPEG with one extra, unused
    table of 257 codes (2 of 15 bits, 255 of 16 bits)."""
    with open(os.path.join(ROOT, t, "baseline-16x8.jpg"), "rb") as f:
        baseline = f.read()
    counts = [0] * 14 + [2, 255]
    table = bytes([0x13]) + bytes(counts) + bytes(range(256)) + b"\x00"
    segment = b"\xff\xc4" + struct.pack(">H", 2 + len(table)) + table
    write(t, "dht-more-than-256-codes.jpg", baseline[:2] + segment + baseline[2:])
    # The decoder skips FF fill bytes before the start marker, so such a file is a JPEG too.
    write(t, "dht-after-fill-bytes.jpg", b"\xff\xff\xd8" + segment + baseline[2:])


if __name__ == "__main__":
    meshes()
    cameras()
    spectra()
    effects()
    textures()
