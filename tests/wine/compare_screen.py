#!/usr/bin/env python3
"""Compares regions of a screenshot with the generated pictures, pixel for pixel.

usage: compare_screen.py <shot.ppm> <generated dir> <screen> [x y]

screens:
  menu          main menu at rest: background 143, the five items at x 680, marker 154 at
                (565, 170) keyed white, one of the bug frames at (192, 360)
  exit          exit box at rest over the bare background: 238 at (387, 339) keyed black,
                a bug frame at (192, 360), background 143 everywhere else
  exit-yes      as exit, with the Yes highlight 239 at (401, 390)
  dialog        name dialog face 242 with its client area at (x, y), the name box left out
  dialog-hover  as dialog, with the confirm button's hovered picture 245 at (63, 109)
Prints one line per region; exits 1 when any region differs.
"""
import os
import struct
import sys


def read_ppm(path):
    data = open(path, 'rb').read()
    fields = []
    at = 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b'#':
            at = data.index(b'\n', at)
            continue
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    assert fields[0] == b'P6' and fields[3] == b'255', 'need a binary 8-bit PPM'
    width, height = int(fields[1]), int(fields[2])
    pixels = data[at + 1:at + 1 + width * height * 3]
    return width, height, [tuple(pixels[i:i + 3]) for i in range(0, len(pixels), 3)]


def read_bmp(path):
    data = open(path, 'rb').read()
    offset = struct.unpack_from('<I', data, 10)[0]
    header = struct.unpack_from('<IiiHHIIiiII', data, 14)
    size, width, height, _, bits, compression, _, _, _, used, _ = header
    assert compression == 0 and bits in (8, 24), '%s: unsupported BMP' % path
    top_down = height < 0
    height = abs(height)
    palette = []
    if bits == 8:
        count = used or 256
        for i in range(count):
            b, g, r, _ = data[14 + size + 4 * i:14 + size + 4 * i + 4]
            palette.append((r, g, b))
    stride = (width * bits // 8 + 3) & ~3
    rows = []
    for y in range(height):
        row_at = offset + stride * (y if top_down else height - 1 - y)
        if bits == 24:
            row = [tuple(data[row_at + 3 * x:row_at + 3 * x + 3][::-1]) for x in range(width)]
        else:
            row = [palette[data[row_at + x]] for x in range(width)]
        rows.append(row)
    return width, height, rows


class Screen:
    def __init__(self, path):
        self.width, self.height, self.pixels = read_ppm(path)
        self.failures = 0

    def at(self, x, y):
        return self.pixels[y * self.width + x]

    def compare(self, name, picture, x0, y0, key=None, skip=(), region=None):
        """Compares the picture placed at (x0, y0), within region (x, y, w, h in screen pixels)
        when given, leaving out key-coloured picture pixels and the skip rectangles."""
        width, height, rows = picture
        left, top, right, bottom = x0, y0, x0 + width, y0 + height
        if region:
            left, top = max(left, region[0]), max(top, region[1])
            right, bottom = min(right, region[0] + region[2]), min(bottom, region[1] + region[3])
        checked = differing = 0
        first = None
        for y in range(max(top, 0), min(bottom, self.height)):
            for x in range(max(left, 0), min(right, self.width)):
                if any(sx <= x < sx + sw and sy <= y < sy + sh for sx, sy, sw, sh in skip):
                    continue
                expected = rows[y - y0][x - x0]
                if key is not None and expected == key:
                    continue
                checked += 1
                if self.at(x, y) != expected:
                    differing += 1
                    if first is None:
                        first = (x, y, self.at(x, y), expected)
        ok = checked > 0 and differing == 0
        detail = '' if ok else ' first at %s' % (first,) if first else ' (nothing compared)'
        print('%s %s: %d pixels compared, %d differ%s'
              % ('ok  ' if ok else 'FAIL', name, checked, differing, detail))
        if not ok:
            self.failures += 1
        return ok

    def matches_any(self, name, pictures, x0, y0, skip=()):
        def visible(x, y):
            return not any(sx <= x0 + x < sx + sw and sy <= y0 + y < sy + sh
                           for sx, sy, sw, sh in skip)

        for index, picture in pictures:
            width, height, rows = picture
            if all(self.at(x0 + x, y0 + y) == rows[y][x]
                   for y in range(height) for x in range(width) if visible(x, y)):
                print('ok   %s: frame %d at (%d, %d)' % (name, index, x0, y0))
                return True
        print('FAIL %s: no frame matches at (%d, %d)' % (name, x0, y0))
        self.failures += 1
        return False


def main():
    shot, generated, screen_name = sys.argv[1:4]
    screen = Screen(shot)

    def bitmap(resource):
        return read_bmp(os.path.join(generated, 'bitmap', '%d.bmp' % resource))

    def bug_frames():
        return [(n, read_bmp(os.path.join(generated, '03_16', 'chongzi%d.bmp' % n))) for n in range(1, 50)]

    bug = (192, 360, 204, 51)
    if screen_name == 'menu':
        items = [(148, 200), (150, 280), (147, 360), (145, 440), (152, 520)]
        marker = (565, 170, 110, 110)
        item_area = (680, 200, 263, 371)
        screen.compare('background 143', bitmap(143), 0, 0, skip=(marker, item_area, bug))
        for resource, y in items:
            screen.compare('item %d at (680, %d)' % (resource, y), bitmap(resource), 680, y)
        screen.compare('marker 154 at (565, 170)', bitmap(154), 565, 170, key=(255, 255, 255))
        screen.matches_any('bug animation', bug_frames(), 192, 360)
    elif screen_name in ('exit', 'exit-yes'):
        box = (387, 339, 250, 90)
        screen.compare('background 143', bitmap(143), 0, 0, skip=(box, bug))
        yes = (401, 390, 77, 26)
        screen.compare('exit box 238 at (387, 339)', bitmap(238), 387, 339, key=(0, 0, 0),
                       skip=(yes,) if screen_name == 'exit-yes' else ())
        if screen_name == 'exit-yes':
            screen.compare('Yes highlight 239 at (401, 390)', bitmap(239), 401, 390)
        screen.matches_any('bug animation', bug_frames(), 192, 360, skip=(box,))
    elif screen_name in ('dialog', 'dialog-hover'):
        x, y = int(sys.argv[4]), int(sys.argv[5])
        name_box = (x + 84 - 2, y + 72 - 2, 148 + 4, 24 + 4)
        buttons = (x + 63, y + 109, 194, 31)
        screen.compare('dialog face 242 at (%d, %d)' % (x, y), bitmap(242), x, y,
                       skip=(name_box, buttons) if screen_name == 'dialog-hover' else (name_box,))
        if screen_name == 'dialog-hover':
            screen.compare('confirm hovered 245', bitmap(245), x + 63, y + 109)
    else:
        sys.exit('unknown screen %s' % screen_name)
    return 1 if screen.failures else 0


if __name__ == '__main__':
    sys.exit(main())
