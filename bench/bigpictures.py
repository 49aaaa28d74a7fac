#!/usr/bin/env python3
"""Writes two small files that declare huge pictures (bench/mapstart.sh, bench/choosemap.cpp):
deep.png, a 16-bit RGBA PNG of 10000 x 10000 pixels (0.78 MB, one colour:
every row after the first is filtered "Up" to zeros), and bomb.jpg, a
progressive JPEG of 32 x 32 pixels whose frame header is changed to say
30000 x 30000 (ImageMagick's convert makes the small one).
Usage: bench/bigpictures.py FOLDER"""
import os, struct, subprocess, sys, zlib

def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))

def deep_png(path, size=10000):
    pixel = struct.pack('>4H', 169 * 257, 207 * 257, 234 * 257, 65535)
    z = zlib.compressobj(9)
    data = [z.compress(b'\0' + pixel * size)]
    data += [z.compress(b'\2' + bytes(8 * size)) for _ in range(size - 1)]
    data.append(z.flush())
    header = struct.pack('>IIBBBBB', size, size, 16, 6, 0, 0, 0)
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', b''.join(data)) + chunk(b'IEND', b''))

def bomb_jpeg(path, size=30000):
    subprocess.run(['convert', '-size', '32x32', 'gradient:#a9cfea-#e4ebc5', '-sampling-factor', '2x2',
                    '-interlace', 'JPEG', '-quality', '85', path], check=True)
    data = bytearray(open(path, 'rb').read())
    i = 2
    while data[i + 1] != 0xC2:  # to the progressive frame header
        i += 2 + (data[i + 2] << 8 | data[i + 3])
    data[i + 5:i + 9] = struct.pack('>HH', size, size)
    open(path, 'wb').write(data)

folder = sys.argv[1]
os.makedirs(folder, exist_ok=True)
deep_png(os.path.join(folder, 'deep.png'))
bomb_jpeg(os.path.join(folder, 'bomb.jpg'))
