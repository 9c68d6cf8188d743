#!/usr/bin/env python3
"""Writes the demo sky cube map, an uncompressed A8R8G8B8 DDS with six faces, computed per direction
so that the faces meet without seams: a blue sky brightening towards the horizon, a sun towards +Z,
a darker ground below the horizon and faint parallels every 30 degrees up to 45 degrees of elevation, so
that a viewer inside the box can tell up from down.

usage: tools/make_sky_cubemap.py [output.dds] [edge]   (default content/VTR3Content/vtr3_sky.dds, 128)
"""
import math
import os
import struct
import sys


def face_direction(face, sc, tc):
    """The direction of a texel: Direct3D's cube-face layout (+X, -X, +Y, -Y, +Z, -Z)."""
    return [
        (1.0, -tc, -sc),
        (-1.0, -tc, sc),
        (sc, 1.0, tc),
        (sc, -1.0, -tc),
        (sc, -tc, 1.0),
        (-sc, -tc, -1.0),
    ][face]


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def sky_colour(x, y, z):
    length = math.sqrt(x * x + y * y + z * z)
    x, y, z = x / length, y / length, z / length
    if y >= 0.0:
        colour = mix((200.0, 225.0, 245.0), (40.0, 90.0, 190.0), min(1.0, y * 1.6))
    else:
        colour = mix((110.0, 100.0, 80.0), (60.0, 70.0, 40.0), min(1.0, -y * 3.0))
    sun = max(0.0, 0.3 * x + 0.3 * y + 0.9055 * z)  # towards +Z, a little up and right
    colour = mix(colour, (255.0, 240.0, 190.0), sun ** 64)
    elevation = math.degrees(math.asin(max(-1.0, min(1.0, y))))
    parallel = abs(elevation) < 45.0 and min(elevation % 30.0, 30.0 - elevation % 30.0) < 0.6
    if parallel:
        colour = mix(colour, (255.0, 255.0, 255.0), 0.35)
    return tuple(int(round(max(0.0, min(255.0, c)))) for c in colour)


def dds_header(edge):
    pixel_format = struct.pack("<8I", 32, 0x41, 0, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000)
    flags = 0x1 | 0x2 | 0x4 | 0x8 | 0x1000  # caps, height, width, pitch, pixel format
    header = struct.pack("<7I", 124, flags, edge, edge, edge * 4, 0, 1) + b"\0" * 44 + pixel_format
    header += struct.pack("<5I", 0x1000 | 0x8, 0x200 | 0xFC00, 0, 0, 0)  # texture, complex; all six faces
    return b"DDS " + header


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "content", "VTR3Content", "vtr3_sky.dds")
    edge = int(sys.argv[2]) if len(sys.argv) > 2 else 128
    data = bytearray(dds_header(edge))
    for face in range(6):
        for row in range(edge):
            tc = 2.0 * (row + 0.5) / edge - 1.0
            for column in range(edge):
                sc = 2.0 * (column + 0.5) / edge - 1.0
                r, g, b = sky_colour(*face_direction(face, sc, tc))
                data += bytes((b, g, r, 255))
    with open(path, "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main()
