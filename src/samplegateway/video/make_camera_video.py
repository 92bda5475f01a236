#!/usr/bin/env python3
"""Makes the sample gateway's MPEG-2 camera pictures: camera352x240.m2v and camera176x144.m2v.

Each is two seconds of frames drawn here (bars moving to the right, the frame number in large
digits, and solid colour blocks: red, green and blue at the top left, each 16-pixel aligned so
that their colour survives the coding) and encoded once by mjpegtools' mpeg2enc with I, P and B
pictures. The files are committed; building and testing need no encoder.

    python3 make_camera_video.py    # writes both files beside this script
"""
import os
import subprocess

FRAMES = 60
# Colour blocks as (left, top, size, (Y, Cb, Cr)): pure red, green and blue in BT.601.
BLOCKS = [(16, 16, 32, (81, 90, 240)), (48, 16, 32, (145, 54, 34)), (80, 16, 32, (41, 240, 110))]
DIGITS = {
    "0": ["111", "101", "101", "101", "111"], "1": ["010", "110", "010", "010", "111"],
    "2": ["111", "001", "111", "100", "111"], "3": ["111", "001", "111", "001", "111"],
    "4": ["101", "101", "111", "001", "001"], "5": ["111", "100", "111", "001", "111"],
    "6": ["111", "100", "111", "101", "111"], "7": ["111", "001", "001", "001", "001"],
    "8": ["111", "101", "111", "101", "111"], "9": ["111", "101", "111", "001", "111"],
}


def frame(width, height, number):
    y = bytearray([40] * (width * height))
    cb = bytearray([150] * (width * height // 4))
    cr = bytearray([110] * (width * height // 4))

    def fill(left, top, w, h, colour):
        for row in range(max(0, top), min(height, top + h)):
            for col in range(max(0, left), min(width, left + w)):
                y[row * width + col] = colour[0]
                if row % 2 == 0 and col % 2 == 0:
                    cb[(row // 2) * (width // 2) + col // 2] = colour[1]
                    cr[(row // 2) * (width // 2) + col // 2] = colour[2]

    # Bars moving right by four pixels a frame, in the lower half.
    bar = width // 8
    for i in range(-1, 9):
        shade = (200, 128, 128) if i % 2 == 0 else (90, 128, 128)
        fill(i * bar + (number * 4) % (2 * bar), height // 2, bar, height // 2, shade)
    for left, top, size, colour in BLOCKS:
        fill(left * width // 352, top * height // 240, size * width // 352, size * height // 240, colour)
    # The frame number at the top right.
    cell = max(2, width // 60)
    x = width - 3 * 4 * cell - 8
    for digit in "%02d" % number:
        for r, line in enumerate(DIGITS[digit]):
            for c, on in enumerate(line):
                if on == "1":
                    fill(x + c * cell, 12 + r * cell, cell, cell, (235, 128, 128))
        x += 4 * cell
    return bytes(y) + bytes(cb) + bytes(cr)


def encode(width, height, rate, frame_rate_code, path):
    header = "YUV4MPEG2 W%d H%d F%s Ip A1:1 C420jpeg\n" % (width, height, rate)
    stream = header.encode() + b"".join(b"FRAME\n" + frame(width, height, n) for n in range(FRAMES))
    subprocess.run(["mpeg2enc", "-f", "3", "-F", frame_rate_code, "-b", "300", "-g", "6", "-G", "12", "-R", "2",
                    "-q", "8", "-o", path], input=stream, check=True)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    encode(352, 240, "30000:1001", "4", os.path.join(here, "camera352x240.m2v"))
    encode(176, 144, "25:1", "3", os.path.join(here, "camera176x144.m2v"))
