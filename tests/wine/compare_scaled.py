#!/usr/bin/env python3
"""Compares a screenshot of a screen larger than 1024 x 768 with the generated pictures scaled to
it: the picture scaled to the largest size that fits with its shape kept, centred, black bars.

usage: compare_scaled.py <shot.ppm> <generated dir> <screen> [arguments]

screens:
  menu       the main menu at rest (as compare_screen.py's menu; the bug animation left out);
             menu-hover: with the pointer on Start Game (item 153)
  exit       the exit box 238 keyed black over background 143 (the bug animation left out)
  level-announcement  the level's caption 234 at (193, 240)
  records-board  background 157 and board 243 at (227, 184), the rows' text and markers left out
  lobby      the idle lobby, blue theme: title 180, the five button faces and their labels;
             lobby-start: the start button hovered (face 165)
  dialog     the name dialog's face 242, centred on the picture at the picture's scale, the
             name box left out; nothing else of the screen is looked at
The expected picture is scaled by ImageMagick's bilinear (Triangle) filter, independently of the
program's own scaler. Only screen pixels whose every source pixel is known are compared. The
tolerance: at most 0.1 % of their channel values may differ by more than 24, and the mean
difference is at most 1.0; on the bars every pixel must be black. A picture shifted by one pixel, scaled
with the wrong shape, or not scaled at all fails.
Prints one line per check; exits 1 when any check fails.
"""
import os
import subprocess
import sys
import tempfile

from compare_screen import read_bmp


def read_netpbm(path):
    """Width, height and the raw bytes of a binary PPM (RGB) or PGM (grey)."""
    data = open(path, 'rb').read()
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        start = at
        while not data[at:at + 1].isspace():
            at += 1
        fields.append(data[start:at])
    width, height = int(fields[1]), int(fields[2])
    channels = 3 if fields[0] == b'P6' else 1
    return width, height, data[at + 1:at + 1 + channels * width * height]

PICTURE_W, PICTURE_H = 1024, 768
CHANNEL_TOLERANCE = 24
OUTLIER_SHARE = 0.001
MEAN_TOLERANCE = 1.0


def letterbox(width, height):
    """The picture's place on a width x height screen: x, y, w, h."""
    if width * PICTURE_H <= height * PICTURE_W:
        w, h = width, width * PICTURE_H // PICTURE_W
    else:
        w, h = height * PICTURE_W // PICTURE_H, height
    return (width - w) // 2, (height - h) // 2, w, h


class Composition:
    """A picture of known and unknown pixels."""

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.pixels = bytearray(width * height * 3)
        self.known = bytearray(width * height)

    def put(self, picture, x0, y0, key=None, skip=()):
        width, height, rows = picture
        if key is None and not skip and x0 >= 0 and x0 + width <= self.width:
            for y in range(max(0, -y0), min(height, self.height - y0)):
                at = (y0 + y) * self.width + x0
                self.pixels[3 * at:3 * (at + width)] = bytes(c for p in rows[y] for c in p)
                self.known[at:at + width] = b'\xff' * width
            return
        for y in range(height):
            for x in range(width):
                sx, sy = x0 + x, y0 + y
                if not (0 <= sx < self.width and 0 <= sy < self.height):
                    continue
                if key is not None and rows[y][x] == key:
                    continue
                if any(kx <= sx < kx + kw and ky <= sy < ky + kh for kx, ky, kw, kh in skip):
                    continue
                at = sy * self.width + sx
                self.pixels[3 * at:3 * at + 3] = bytes(rows[y][x])
                self.known[at] = 255

    def forget(self, x0, y0, w, h):
        for y in range(max(y0, 0), min(y0 + h, self.height)):
            self.known[y * self.width + x0:y * self.width + x0 + w] = bytes(w)

    def scaled(self, w, h, folder):
        """The pixels and the fully known mask, scaled to w x h with ImageMagick."""
        base = os.path.join(folder, 'expected')
        with open(base + '.ppm', 'wb') as f:
            f.write(b'P6 %d %d 255\n' % (self.width, self.height) + bytes(self.pixels))
        with open(base + '.pgm', 'wb') as f:
            f.write(b'P5 %d %d 255\n' % (self.width, self.height) + bytes(self.known))
        out = []
        for ext in ('ppm', 'pgm'):
            subprocess.run(['/usr/bin/convert', base + '.' + ext, '-filter', 'Triangle',
                            '-resize', '%dx%d!' % (w, h), base + '-scaled.' + ext], check=True)
            out.append(read_netpbm(base + '-scaled.' + ext)[2])
        return out


def compare_region(screen, expected, mask, x0, y0, w, h, label):
    width, _, pixels = screen
    compared = outliers = total = 0
    first = None
    for y in range(h):
        at = 3 * ((y0 + y) * width + x0)
        shown, wanted = pixels[at:at + 3 * w], expected[3 * y * w:3 * (y + 1) * w]
        known = mask[y * w:(y + 1) * w]
        count = known.count(255)
        compared += count
        if not count or shown == wanted:
            continue
        diffs = [abs(a - b) for a, b in zip(shown, wanted)]
        if count != w:
            for x, m in enumerate(known):
                if m != 255:
                    diffs[3 * x:3 * x + 3] = (0, 0, 0)
        total += sum(diffs)
        beyond = sum(1 for d in diffs if d > CHANNEL_TOLERANCE)
        if beyond and first is None:
            x = next(i for i, d in enumerate(diffs) if d > CHANNEL_TOLERANCE) // 3
            first = (x0 + x, y0 + y, tuple(shown[3 * x:3 * x + 3]), tuple(wanted[3 * x:3 * x + 3]))
        outliers += beyond
    channels = 3 * compared
    mean = total / channels if channels else 0
    ok = compared > 0 and outliers <= OUTLIER_SHARE * channels and mean <= MEAN_TOLERANCE
    print('%s %s: %d pixels compared, %d channel values beyond %d (%.3f %%), mean difference %.2f%s'
          % ('ok  ' if ok else 'FAIL', label, compared, outliers, CHANNEL_TOLERANCE,
             100.0 * outliers / max(channels, 1), mean,
             '' if ok or first is None else ', first at %s' % (first,)))
    return ok


def bars_black(screen, place):
    width, height, pixels = screen
    px, py, pw, ph = place
    lit = 0
    for y in range(height):
        row = pixels[3 * y * width:3 * (y + 1) * width]
        if py <= y < py + ph:
            row = row[:3 * px] + row[3 * (px + pw):]
        lit += sum(1 for i in range(0, len(row), 3) if row[i:i + 3] != b'\0\0\0') if row.count(0) != len(row) else 0
    bars = width * height - pw * ph
    print('%s bars: %d of %d pixels outside the picture (%d, %d, %d x %d) not black'
          % ('ok  ' if lit == 0 else 'FAIL', lit, bars, px, py, pw, ph))
    return lit == 0


def main():
    shot, generated, screen_name = sys.argv[1:4]
    screen = read_netpbm(shot)
    width, height, _ = screen
    place = letterbox(width, height)

    def bitmap(resource):
        return read_bmp(os.path.join(generated, 'bitmap', '%d.bmp' % resource))

    picture = Composition(PICTURE_W, PICTURE_H)
    region = place
    bug = (192, 360, 204, 51)
    if screen_name in ('menu', 'menu-hover'):
        picture.put(bitmap(143), 0, 0)
        start = 153 if screen_name == 'menu-hover' else 148
        for resource, y in ((start, 200), (150, 280), (147, 360), (145, 440), (152, 520)):
            picture.put(bitmap(resource), 680, y)
        picture.put(bitmap(154), 565, 170, key=(255, 255, 255))
        picture.forget(*bug)  # the bug animation
    elif screen_name == 'exit':
        picture.put(bitmap(143), 0, 0)
        picture.forget(*bug)
        picture.put(bitmap(238), 387, 339, key=(0, 0, 0))
    elif screen_name == 'level-announcement':
        picture.put(bitmap(234), 193, 240)
    elif screen_name == 'records-board':
        picture.put(bitmap(157), 0, 0)
        picture.put(bitmap(243), 227, 184)
        for y in (250, 302, 355, 411, 461, 512):
            for x, w in ((361, 56), (529, 88), (704, 88)):
                picture.forget(x, y, w, 16)
            picture.forget(755, y - 6, 22, 22)
    elif screen_name in ('lobby', 'lobby-start'):
        picture.put(bitmap(180), 99, 147)
        for index, (label, y) in enumerate([(164, 98), (159, 166), (170, 236), (166, 310),
                                            (169, 382)]):
            face = 165 if index == 0 and screen_name == 'lobby-start' else 155
            picture.put(bitmap(face), 724, y)
            picture.put(bitmap(label), 804, y + 7, key=(0, 0, 0))
    elif screen_name == 'dialog':
        face = bitmap(242)
        fw, fh = face[0], face[1]
        picture = Composition(fw, fh)
        picture.put(face, 0, 0)
        picture.forget(84 - 2, 72 - 2, 148 + 4, 24 + 4)  # the name box
        # The face's place over the picture, scaled as the picture is: its first and last
        # pixels land on the window pixels the picture's own would.
        fx, fy = (PICTURE_W - fw) // 2, (PICTURE_H - fh) // 2
        px, py, pw, ph = place
        left = px + -(-fx * pw // PICTURE_W)
        top = py + -(-fy * ph // PICTURE_H)
        region = (left, top, px + -(-(fx + fw) * pw // PICTURE_W) - left,
                  py + -(-(fy + fh) * ph // PICTURE_H) - top)
    else:
        sys.exit('unknown screen %s' % screen_name)

    ok = True
    if screen_name != 'dialog':
        ok = bars_black(screen, place) and ok
    with tempfile.TemporaryDirectory() as folder:
        expected, mask = picture.scaled(region[2], region[3], folder)
    ok = compare_region(screen, expected, mask, *region,
                        '%s scaled to %d x %d at (%d, %d)' % (screen_name, region[2], region[3],
                                                             region[0], region[1])) and ok
    return 0 if ok else 1


if __name__ == '__main__':
    sys.exit(main())
