#!/usr/bin/env python3
"""Compares a screenshot with the generated pictures: pixel for pixel on a 1024 x 768 screen; on
a larger one, with the picture scaled to the largest size that fits with its shape kept, centred,
black bars.

usage: compare_screen.py <shot.ppm> <generated dir> <screen> [arguments]

screens (* also on a larger screen):
  menu *        main menu at rest: background 143, the five items at x 680, marker 154 at
                (565, 170) keyed white, one of the bug frames at (192, 360) (on a larger screen
                the bug is left out); menu-hover *: with the pointer on Start Game (item 153)
  exit *        exit box at rest over the bare background: 238 at (387, 339) keyed black,
                a bug frame at (192, 360), background 143 everywhere else; exit-yes: with the
                Yes highlight 239 at (401, 390)
  dialog *      name dialog face 242 with its client area at (x, y), the name box left out;
                dialog-hover: with the confirm button's hovered picture 245 at (63, 109); on a
                larger screen the face centred on the picture at the picture's scale, nothing
                else of the screen looked at (no arguments)
  name-box      the dialog's name box, its client area at (x, y), exactly: a one-pixel black
                frame round a white field of 146 x 22, the GBK text <hex> in black from the glyph
                set at (2, 3) of the field, and the caret, one pixel wide and 16 high before byte
                <caret> of the text (its end when not given), shown (on) or in its off phase
                (off); bytes <from> to <to> selected: "r,g,b" background, "r,g,b" text
                (arguments: x, y, hex, on|off [, caret [, from, to, background, text]])
  level-announcement *  the level's caption 234 at (193, 240)
  lobby *       idle lobby in the blue theme: title 180 at (99, 147), the five buttons at
                x 724 (face 155, labels keyed black 80, 7 into them); lobby-start *: with the
                start button hovered (face 165)
  records-board * records screen, blue theme: background 157 and board 243 at (227, 184),
                the text columns and the marker places left out
  records       the whole records screen, exactly: background 157, board 243, the rows of
                <lhb file> in pink from the glyph set, marker 244 keyed black beside row <slot>
                (arguments: lhb file, slot)
  score         the score line of the game's second info box: <number>
  board         the first board of level 1 from one of the clock seeds <first> .. <last>: the
                eight letter tiles charImg/<65 + letter>.bmp at their x, all at one y, slot 1
                drawn over the others (arguments: first seed, last seed)
On a larger screen the expected picture is scaled by ImageMagick's bilinear (Triangle) filter,
independently of the program's own scaler, and only screen pixels whose every source pixel is
known are compared. The tolerance: at most 0.1 % of their channel values may differ by more than
24, and the mean difference is at most 1.0; on the bars every pixel must be black. A picture
shifted by one pixel, scaled with the wrong shape, or not scaled at all fails.
Prints one line per check; exits 1 when any check fails.
"""
import os
import struct
import subprocess
import sys
import tempfile

PICTURE_W, PICTURE_H = 1024, 768
CHANNEL_TOLERANCE = 24
OUTLIER_SHARE = 0.001
MEAN_TOLERANCE = 1.0
BLACK, WHITE = (0, 0, 0), (255, 255, 255)
TEXT_COLOUR = (245, 71, 181)
NAME_PREFIX = b'namehex:'
ROWS_Y = (250, 302, 355, 411, 461, 512)  # the records screen's rows
BUG = (192, 360, 204, 51)


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
        for i in range(used or 256):
            b, g, r, _ = data[14 + size + 4 * i:14 + size + 4 * i + 4]
            palette.append((r, g, b))
    stride = (width * bits // 8 + 3) & ~3
    rows = []
    for y in range(height):
        row_at = offset + stride * (y if top_down else height - 1 - y)
        if bits == 24:
            bgr = data[row_at:row_at + 3 * width]
            rows.append(list(zip(bgr[2::3], bgr[1::3], bgr[0::3])))
        else:
            rows.append([palette[data[row_at + x]] for x in range(width)])
    return width, height, rows


def read_glyphs(generated):
    data = open(os.path.join(generated, 'glyphs', 'gbk16.bin'), 'rb').read()
    assert data[:4] == b'TGLY', 'not a glyph set'
    return data


def draw_text(set_pixel, x, y, text, glyphs, colour=TEXT_COLOUR):
    """Sets the pixels of GBK text, as the game draws it: 8 x 16 cells for single bytes, 16 x 16
    for double-byte characters, drawn bits in the text colour, the rest left as it is. The pen's
    x after the text."""
    i = 0
    while i < len(text):
        lead = text[i]
        pair = i + 1 < len(text) and 0x81 <= lead <= 0xFE and 0x40 <= text[i + 1] <= 0xFE \
            and text[i + 1] != 0x7F
        if pair:
            index = (lead - 0x81) * (0xFE - 0x40 + 1) + (text[i + 1] - 0x40)
            at, per_row, cell = 16 + 256 * 16 + 32 * index, 2, 16
        else:
            at, per_row, cell = 16 + 16 * lead, 1, 8
        for row in range(16):
            bits = int.from_bytes(glyphs[at + row * per_row:at + (row + 1) * per_row], 'big')
            for col in range(cell):
                if bits & (1 << (per_row * 8 - 1 - col)):
                    set_pixel(x + col, y + row, colour)
        x += cell
        i += 2 if pair else 1
    return x


def read_record_rows(path):
    """The rows of a record file as the program writes it: name, seconds, score per line."""
    rows = []
    for line in open(path, 'rb').read().split(b'\r\n')[:6]:
        name, seconds, score = line.split(b' ')
        if name.startswith(NAME_PREFIX):
            name = bytes.fromhex(name[len(NAME_PREFIX):].decode())
        rows.append((name, seconds, score))
    return rows


class Composition:
    """The picture expected: known pixels, and unknown ones that are not looked at."""

    def __init__(self, width, height, fill=None):
        self.width, self.height = width, height
        self.pixels = bytearray(bytes(fill or BLACK) * (width * height))
        self.known = bytearray((b'\xff' if fill else b'\0') * (width * height))

    def put(self, picture, x0, y0, key=None):
        """The picture at (x0, y0); its pixels of the key colour leave what is below."""
        width, height, rows = picture
        if key is None and x0 >= 0 and x0 + width <= self.width:
            for y in range(max(0, -y0), min(height, self.height - y0)):
                at = (y0 + y) * self.width + x0
                self.pixels[3 * at:3 * (at + width)] = bytes(c for p in rows[y] for c in p)
                self.known[at:at + width] = b'\xff' * width
            return
        for y in range(height):
            for x in range(width):
                if rows[y][x] != key:
                    self.set(x0 + x, y0 + y, rows[y][x])

    def set(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            at = y * self.width + x
            self.pixels[3 * at:3 * at + 3] = bytes(colour)
            self.known[at] = 255

    def get(self, x, y):
        at = 3 * (y * self.width + x)
        return tuple(self.pixels[at:at + 3])

    def forget(self, x0, y0, w, h):
        x1, x0 = min(x0 + w, self.width), max(x0, 0)
        for y in range(max(y0, 0), min(y0 + h, self.height)):
            self.known[y * self.width + x0:y * self.width + x1] = bytes(x1 - x0)

    def text(self, x, y, text, glyphs, colour=TEXT_COLOUR):
        return draw_text(self.set, x, y, text, glyphs, colour)

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


class Screen:
    def __init__(self, path):
        self.width, self.height, self.rgb = read_netpbm(path)
        self.failures = 0

    def verdict(self, ok, line):
        print('%s %s' % ('ok  ' if ok else 'FAIL', line))
        self.failures += not ok
        return ok

    def at(self, x, y):
        at = 3 * (y * self.width + x)
        return tuple(self.rgb[at:at + 3])

    def exact(self, name, picture, x0=0, y0=0):
        """The known pixels of the composition placed at (x0, y0), each equal."""
        checked = differing = 0
        first = None
        w = picture.width
        for y in range(picture.height):
            known = picture.known[y * w:(y + 1) * w]
            count = known.count(255)
            if not count:
                continue
            at = 3 * ((y0 + y) * self.width + x0)
            shown, wanted = self.rgb[at:at + 3 * w], picture.pixels[3 * y * w:3 * (y + 1) * w]
            checked += count
            if count == w and shown == wanted:
                continue
            for x in range(w):
                if known[x] == 255 and shown[3 * x:3 * x + 3] != wanted[3 * x:3 * x + 3]:
                    differing += 1
                    if first is None:
                        first = (x0 + x, y0 + y, tuple(shown[3 * x:3 * x + 3]),
                                 tuple(wanted[3 * x:3 * x + 3]))
        ok = checked > 0 and differing == 0
        detail = '' if ok else ' first at %s' % (first,) if first else ' (nothing compared)'
        return self.verdict(ok, '%s: %d pixels compared, %d differ%s'
                            % (name, checked, differing, detail))

    def matches_any(self, name, pictures, x0, y0, skip=()):
        def visible(x, y):
            return not any(sx <= x0 + x < sx + sw and sy <= y0 + y < sy + sh
                           for sx, sy, sw, sh in skip)

        for index, (width, height, rows) in pictures:
            if all(self.at(x0 + x, y0 + y) == rows[y][x]
                   for y in range(height) for x in range(width) if visible(x, y)):
                return self.verdict(True, '%s: frame %d at (%d, %d)' % (name, index, x0, y0))
        return self.verdict(False, '%s: no frame matches at (%d, %d)' % (name, x0, y0))

    def within_tolerance(self, expected, mask, x0, y0, w, h, label):
        compared = outliers = total = 0
        first = None
        for y in range(h):
            at = 3 * ((y0 + y) * self.width + x0)
            shown, wanted = self.rgb[at:at + 3 * w], expected[3 * y * w:3 * (y + 1) * w]
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
                first = (x0 + x, y0 + y, tuple(shown[3 * x:3 * x + 3]),
                         tuple(wanted[3 * x:3 * x + 3]))
            outliers += beyond
        channels = 3 * compared
        mean = total / channels if channels else 0
        ok = compared > 0 and outliers <= OUTLIER_SHARE * channels and mean <= MEAN_TOLERANCE
        return self.verdict(ok, '%s: %d pixels compared, %d channel values beyond %d (%.3f %%), '
                            'mean difference %.2f%s'
                            % (label, compared, outliers, CHANNEL_TOLERANCE,
                               100.0 * outliers / max(channels, 1), mean,
                               '' if ok or first is None else ', first at %s' % (first,)))

    def bars_black(self, place):
        px, py, pw, ph = place
        lit = 0
        for y in range(self.height):
            row = self.rgb[3 * y * self.width:3 * (y + 1) * self.width]
            if py <= y < py + ph:
                row = row[:3 * px] + row[3 * (px + pw):]
            if row.count(0) != len(row):
                lit += sum(1 for i in range(0, len(row), 3) if row[i:i + 3] != b'\0\0\0')
        return self.verdict(lit == 0, 'bars: %d of %d pixels outside the picture (%d, %d, %d x %d)'
                            ' not black' % (lit, self.width * self.height - pw * ph, px, py, pw, ph))


def letterbox(width, height):
    """The picture's place on a width x height screen: x, y, w, h."""
    if width * PICTURE_H <= height * PICTURE_W:
        w, h = width, width * PICTURE_H // PICTURE_W
    else:
        w, h = height * PICTURE_W // PICTURE_H, height
    return (width - w) // 2, (height - h) // 2, w, h


def first_board(seed):
    """Slots 8 down to 1 of the first level-1 pass: x = 150 + n % 417, then letter = n % 26,
    from the C runtime's generator (state * 214013 + 2531011, bits 16 to 30)."""
    state, slots = seed, {}

    def draw():
        nonlocal state
        state = (state * 214013 + 2531011) & 0xFFFFFFFF
        return (state >> 16) & 0x7FFF

    for slot in range(8, 0, -1):
        x = 150 + draw() % 417
        slots[slot] = (x, draw() % 26)
    return slots


def board_shown(screen, slots, tiles):
    """The y at which every slot's tile shows where no lower slot covers it, or None."""
    x1, letter1 = slots[1]
    width, height, rows1 = tiles[letter1]
    row1 = [bytes(c for p in row for c in p) for row in rows1]
    for y in range(74, screen.height - height):
        if any(screen.rgb[3 * ((y + r) * screen.width + x1):3 * ((y + r) * screen.width + x1 + width)]
               != row1[r] for r in range(height)):
            continue
        if all(all(screen.at(x + c, y + r) == tiles[letter][2][r][c]
                   for r in range(height) for c in range(width)
                   if not any(ox <= x + c < ox + width for ox, _ in
                              (slots[lower] for lower in range(1, slot))))
               for slot, (x, letter) in slots.items()):
            return y
    return None


def picture_of(screen_name, bitmap, exact):
    """The screens a scaled screen can show too, as the expected 1024 x 768 composition; where
    the exact comparison looks at less than the scaled one, `exact` leaves it out."""
    picture = Composition(PICTURE_W, PICTURE_H)
    if screen_name in ('menu', 'menu-hover'):
        picture.put(bitmap(143), 0, 0)
        if exact:  # the marker's place and the items' column, but for the items
            picture.forget(565, 170, 110, 110)
            picture.forget(680, 200, 263, 371)
        start = 153 if screen_name == 'menu-hover' else 148
        for resource, y in ((start, 200), (150, 280), (147, 360), (145, 440), (152, 520)):
            picture.put(bitmap(resource), 680, y)
        picture.put(bitmap(154), 565, 170, key=WHITE)
        picture.forget(*BUG)
    elif screen_name in ('exit', 'exit-yes'):
        picture.put(bitmap(143), 0, 0)
        picture.forget(*BUG)
        if exact:
            picture.forget(387, 339, 250, 90)  # below the box
        picture.put(bitmap(238), 387, 339, key=BLACK)
        if screen_name == 'exit-yes':
            picture.put(bitmap(239), 401, 390)
    elif screen_name == 'level-announcement':
        picture.put(bitmap(234), 193, 240)
    elif screen_name in ('records-board', 'records'):
        picture.put(bitmap(157), 0, 0)
        picture.put(bitmap(243), 227, 184)
        if screen_name == 'records-board':
            for y in ROWS_Y:
                for x, w in ((361, 56), (529, 88), (704, 88)):
                    picture.forget(x, y, w, 16)
                picture.forget(755, y - 6, 22, 22)
    elif screen_name in ('lobby', 'lobby-start'):
        picture.put(bitmap(180), 99, 147)
        for index, (label, y) in enumerate([(164, 98), (159, 166), (170, 236), (166, 310),
                                            (169, 382)]):
            picture.put(bitmap(165 if index == 0 and screen_name == 'lobby-start' else 155), 724, y)
            if exact:
                picture.forget(804, y + 7, 75, 36)  # below the label
            picture.put(bitmap(label), 804, y + 7, key=BLACK)
    else:
        return None
    return picture


def dialog_face(bitmap, hovered):
    face = bitmap(242)
    picture = Composition(face[0], face[1])
    picture.put(face, 0, 0)
    picture.forget(84 - 2, 72 - 2, 148 + 4, 24 + 4)  # the name box
    if hovered:  # the buttons' row, but for the hovered confirm button
        picture.forget(63, 109, 194, 31)
        picture.put(bitmap(245), 63, 109)
    return picture


def name_box(glyphs, text, caret, caret_at, selected, colours):
    width, height = 148, 24
    box = Composition(width, height, BLACK)
    for row in range(1, height - 1):
        for x in range(1, width - 1):
            box.set(x, row, WHITE)
    # Each byte of GBK text is 8 pixels wide, a double-byte character 16.
    left, top = 1 + 2, 1 + 3
    pen = box.text(left, top, text[:selected[0]], glyphs, BLACK)
    if selected[1] > selected[0]:
        for row in range(top, top + 16):
            for x in range(pen, left + 8 * selected[1]):
                box.set(x, row, colours[0])
        pen = box.text(pen, top, text[selected[0]:selected[1]], glyphs, colours[1])
    box.text(pen, top, text[max(selected):], glyphs, BLACK)
    if caret == 'on':
        caret_x = left + 8 * caret_at
        for row in range(top, top + 16):  # the caret inverts what is under it
            box.set(caret_x, row, tuple(255 - c for c in box.get(caret_x, row)))
    return box


def compare_scaled(screen, screen_name, bitmap):
    place = letterbox(screen.width, screen.height)
    region = place
    if screen_name == 'dialog':
        picture = dialog_face(bitmap, False)
        # The face's place over the picture, scaled as the picture is: its first and last
        # pixels land on the window pixels the picture's own would.
        fw, fh = picture.width, picture.height
        fx, fy = (PICTURE_W - fw) // 2, (PICTURE_H - fh) // 2
        px, py, pw, ph = place
        left = px + -(-fx * pw // PICTURE_W)
        top = py + -(-fy * ph // PICTURE_H)
        region = (left, top, px + -(-(fx + fw) * pw // PICTURE_W) - left,
                  py + -(-(fy + fh) * ph // PICTURE_H) - top)
    else:
        picture = picture_of(screen_name, bitmap, exact=False)
        if picture is None or screen_name in ('exit-yes', 'records'):
            sys.exit('unknown screen %s on a scaled screen' % screen_name)
        screen.bars_black(place)
    with tempfile.TemporaryDirectory() as folder:
        expected, mask = picture.scaled(region[2], region[3], folder)
    screen.within_tolerance(expected, mask, *region, '%s scaled to %d x %d at (%d, %d)'
                            % (screen_name, region[2], region[3], region[0], region[1]))


def main():
    shot, generated, screen_name = sys.argv[1:4]
    args = sys.argv[4:]
    screen = Screen(shot)

    def bitmap(resource):
        return read_bmp(os.path.join(generated, 'bitmap', '%d.bmp' % resource))

    def bug_frames():
        return [(n, read_bmp(os.path.join(generated, '03_16', 'chongzi%d.bmp' % n)))
                for n in range(1, 50)]

    if (screen.width, screen.height) != (PICTURE_W, PICTURE_H):
        compare_scaled(screen, screen_name, bitmap)
        return 1 if screen.failures else 0
    picture = picture_of(screen_name, bitmap, exact=True)
    if screen_name == 'records':
        rows, slot = read_record_rows(args[0]), int(args[1])
        glyphs = read_glyphs(generated)
        for (name, seconds, score), y in zip(rows, ROWS_Y):
            for x, text in ((361, name), (529, seconds), (704, score)):
                picture.text(x, y, text, glyphs)
        picture.put(bitmap(244), 755, ROWS_Y[slot - 1] - 6, key=BLACK)
        screen.exact('records screen with rows %s, marker at row %d'
                     % (', '.join(repr(name) for name, _, _ in rows), slot), picture)
    elif picture is not None:
        screen.exact(screen_name, picture)
        if screen_name.startswith(('menu', 'exit')):
            box = (387, 339, 250, 90) if screen_name.startswith('exit') else (0, 0, 0, 0)
            screen.matches_any('bug animation', bug_frames(), *BUG[:2], skip=(box,))
    elif screen_name in ('dialog', 'dialog-hover'):
        x, y = int(args[0]), int(args[1])
        screen.exact('dialog face 242 at (%d, %d)%s' % (x, y, ', confirm hovered 245' if
                                                        screen_name == 'dialog-hover' else ''),
                     dialog_face(bitmap, screen_name == 'dialog-hover'), x, y)
    elif screen_name == 'name-box':
        x, y, text, caret = int(args[0]), int(args[1]), bytes.fromhex(args[2]), args[3]
        caret_at = int(args[4]) if len(args) > 4 else len(text)
        selected, colours = (0, 0), None
        if len(args) > 5:
            selected = (int(args[5]), int(args[6]))
            colours = [tuple(int(v) for v in arg.split(',')) for arg in args[7:9]]
        described = 'name box %s, caret %s before byte %d' % (text.hex(), caret, caret_at)
        if selected[1] > selected[0]:
            described += ', bytes %d to %d selected' % selected
        screen.exact('%s, at (%d, %d)' % (described, x + 84, y + 72),
                     name_box(read_glyphs(generated), text, caret, caret_at, selected, colours),
                     x + 84, y + 72)
    elif screen_name == 'board':
        tiles = {letter: read_bmp(os.path.join(generated, 'charImg', '%d.bmp' % (65 + letter)))
                 for letter in range(26)}
        for seed in range(int(args[0]), int(args[1]) + 1):
            slots = first_board(seed)
            y = board_shown(screen, slots, tiles)
            if y is not None:
                screen.verdict(True, 'the first board of seed %d at y %d: %s' % (
                    seed, y, ', '.join('%s at %d' % (chr(65 + l), x)
                                       for _, (x, l) in sorted(slots.items()))))
                break
        else:
            screen.verdict(False, 'no first board of the seeds %s to %s' % (args[0], args[1]))
    elif screen_name == 'score':
        # The score line of the second info box, "%d" at (811, 590): text-coloured pixels exactly
        # where the number's glyphs set them, over six cells.
        x0, y0, width = 811, 590, 48
        drawn = set()
        draw_text(lambda x, y, _: drawn.add((x, y)), 0, 0, args[0].encode(), read_glyphs(generated))
        differing = sum((screen.at(x0 + x, y0 + y) == TEXT_COLOUR) != ((x, y) in drawn)
                        for y in range(16) for x in range(width))
        screen.verdict(differing == 0, 'score %s at (%d, %d): %d pixels differ'
                       % (args[0], x0, y0, differing))
    else:
        sys.exit('unknown screen %s' % screen_name)
    return 1 if screen.failures else 0


if __name__ == '__main__':
    sys.exit(main())
