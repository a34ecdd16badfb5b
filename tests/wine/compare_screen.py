#!/usr/bin/env python3
"""Compares regions of a screenshot with the generated pictures, pixel for pixel.

usage: compare_screen.py <shot.ppm> <generated dir> <screen> [arguments]

screens:
  menu          main menu at rest: background 143, the five items at x 680, marker 154 at
                (565, 170) keyed white, one of the bug frames at (192, 360); menu-hover: with
                the pointer on Start Game (item 153)
  exit          exit box at rest over the bare background: 238 at (387, 339) keyed black,
                a bug frame at (192, 360), background 143 everywhere else; exit-yes: with the
                Yes highlight 239 at (401, 390)
  dialog        name dialog face 242 with its client area at (x, y), the name box left out;
                dialog-hover: with the confirm button's hovered picture 245 at (63, 109)
  name-box      the dialog's name box, its client area at (x, y), exactly: a one-pixel black
                frame round a white field of 146 x 22, the GBK text <hex> in black from the glyph
                set at (2, 3) of the field, and the caret, one pixel wide and 16 high before byte
                <caret> of the text (its end when not given), shown (on) or in its off phase
                (off); bytes <from> to <to> selected: "r,g,b" background, "r,g,b" text
                (arguments: x, y, hex, on|off [, caret [, from, to, background, text]])
  level-announcement  the level's caption 234 at (193, 240)
  lobby         idle lobby in the blue theme: title 180 at (99, 147), the five buttons at
                x 724 (face 155, labels keyed black 80, 7 into them); lobby-start: with the start
                button hovered (face 165)
  records-board records screen, blue theme: background 157 and board 243 at (227, 184),
                the text columns and the marker places left out
  records       the whole records screen, exactly: background 157, board 243, the rows of
                <lhb file> in pink from the glyph set, marker 244 keyed black beside row <slot>
                (arguments: lhb file, slot)
  score         the score line of the game's second info box: <number>
  board         the first board of level 1 from one of the clock seeds <first> .. <last>: the
                eight letter tiles charImg/<65 + letter>.bmp at their x, all at one y, slot 1
                drawn over the others (arguments: first seed, last seed)
Prints one line per region; exits 1 when any region differs.
"""
import os
import re
import struct
import sys


def read_ppm(path):
    data = open(path, 'rb').read()
    header = re.match(rb'P6\s+(\d+)\s+(\d+)\s+255\s', data)
    assert header, 'need a binary 8-bit PPM without comments'
    width, height = int(header.group(1)), int(header.group(2))
    pixels = data[header.end():header.end() + width * height * 3]
    return width, height, list(zip(pixels[0::3], pixels[1::3], pixels[2::3]))


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
            bgr = data[row_at:row_at + 3 * width]
            row = list(zip(bgr[2::3], bgr[1::3], bgr[0::3]))
        else:
            row = [palette[data[row_at + x]] for x in range(width)]
        rows.append(row)
    return width, height, rows


TEXT_COLOUR = (245, 71, 181)
NAME_PREFIX = b'namehex:'


def read_glyphs(generated):
    data = open(os.path.join(generated, 'glyphs', 'gbk16.bin'), 'rb').read()
    assert data[:4] == b'TGLY', 'not a glyph set'
    return data


def draw_text(pixels, width, x, y, text, glyphs, colour=TEXT_COLOUR):
    """Sets the pixels of GBK text, as the game draws it: 8 x 16 cells for single bytes, 16 x 16
    for double-byte characters, drawn bits in the text colour, the rest left as it is."""
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
                    pixels[(y + row) * width + x + col] = colour
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


class Screen:
    def __init__(self, path):
        self.width, self.height, self.pixels = read_ppm(path)
        self.failures = 0

    def at(self, x, y):
        return self.pixels[y * self.width + x]

    def compare(self, name, picture, x0, y0, key=None, skip=()):
        """Compares the picture placed at (x0, y0), leaving out key-coloured picture pixels and
        the skip rectangles (x, y, w, h in screen pixels)."""
        width, height, rows = picture
        checked = differing = 0
        first = None
        left, right = max(x0, 0), min(x0 + width, self.width)
        for y in range(max(y0, 0), min(y0 + height, self.height)):
            # The row's stretches outside the skip rectangles, compared a slice at a time.
            cuts = sorted((sx, sx + sw) for sx, sy, sw, sh in skip if sy <= y < sy + sh)
            stretches, at = [], left
            for cut_left, cut_right in cuts:
                if cut_left > at:
                    stretches.append((at, min(cut_left, right)))
                at = max(at, cut_right)
            stretches.append((at, right))
            shown, wanted = self.pixels, rows[y - y0]
            for a, b in stretches:
                if a >= b:
                    continue
                line = y * self.width
                if key is None and shown[line + a:line + b] == wanted[a - x0:b - x0]:
                    checked += b - a
                    continue
                for x in range(a, b):
                    expected = wanted[x - x0]
                    if key is not None and expected == key:
                        continue
                    checked += 1
                    if shown[line + x] != expected:
                        differing += 1
                        if first is None:
                            first = (x, y, shown[line + x], expected)
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
    for y in range(74, screen.height - height):
        if any(screen.pixels[(y + r) * screen.width + x1:(y + r) * screen.width + x1 + width]
               != rows1[r] for r in range(height)):
            continue
        if all(all(screen.at(x + c, y + r) == tiles[letter][2][r][c]
                   for r in range(height) for c in range(width)
                   if not any(ox <= x + c < ox + width for ox, _ in
                              (slots[lower] for lower in range(1, slot))))
               for slot, (x, letter) in slots.items()):
            return y
    return None


def main():
    shot, generated, screen_name = sys.argv[1:4]
    screen = Screen(shot)

    def bitmap(resource):
        return read_bmp(os.path.join(generated, 'bitmap', '%d.bmp' % resource))

    def bug_frames():
        return [(n, read_bmp(os.path.join(generated, '03_16', 'chongzi%d.bmp' % n))) for n in range(1, 50)]

    bug = (192, 360, 204, 51)
    if screen_name in ('menu', 'menu-hover'):
        items = [(153 if screen_name == 'menu-hover' else 148, 200), (150, 280), (147, 360),
                 (145, 440), (152, 520)]
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
    elif screen_name == 'name-box':
        x, y, text, caret = int(sys.argv[4]), int(sys.argv[5]), bytes.fromhex(sys.argv[6]), sys.argv[7]
        caret_at = int(sys.argv[8]) if len(sys.argv) > 8 else len(text)
        selected = (0, 0)
        if len(sys.argv) > 9:
            selected = (int(sys.argv[9]), int(sys.argv[10]))
            colours = [tuple(int(v) for v in arg.split(',')) for arg in sys.argv[11:13]]
        width, height = 148, 24
        expected = [(0, 0, 0)] * (width * height)
        for row in range(1, height - 1):
            expected[row * width + 1:(row + 1) * width - 1] = [(255, 255, 255)] * (width - 2)
        glyphs = read_glyphs(generated)
        # Each byte of GBK text is 8 pixels wide, a double-byte character 16.
        left, top = 1 + 2, 1 + 3
        pen = draw_text(expected, width, left, top, text[:selected[0]], glyphs, (0, 0, 0))
        if selected[1] > selected[0]:
            for row in range(top, top + 16):
                expected[row * width + pen:row * width + left + 8 * selected[1]] = \
                    [colours[0]] * (left + 8 * selected[1] - pen)
            pen = draw_text(expected, width, pen, top, text[selected[0]:selected[1]], glyphs,
                            colours[1])
        draw_text(expected, width, pen, top, text[max(selected):], glyphs, (0, 0, 0))
        if caret == 'on':
            caret_x = left + 8 * caret_at
            for row in range(top, top + 16):
                # The caret inverts what is under it.
                r, g, b = expected[row * width + caret_x]
                expected[row * width + caret_x] = (255 - r, 255 - g, 255 - b)
        box = (x + 84, y + 72)
        described = 'name box %s, caret %s before byte %d' % (text.hex(), caret, caret_at)
        if selected[1] > selected[0]:
            described += ', bytes %d to %d selected' % selected
        screen.compare('%s, at (%d, %d)' % (described, box[0], box[1]),
                       (width, height, [expected[r * width:(r + 1) * width] for r in range(height)]),
                       box[0], box[1])
    elif screen_name == 'level-announcement':
        screen.compare('caption 234 at (193, 240)', bitmap(234), 193, 240)
    elif screen_name in ('lobby', 'lobby-start'):
        screen.compare('title 180 at (99, 147)', bitmap(180), 99, 147)
        labels = [(164, 98), (159, 166), (170, 236), (166, 310), (169, 382)]
        for index, (label, y) in enumerate(labels):
            face = 165 if index == 0 and screen_name == 'lobby-start' else 155
            label_box = (724 + 80, y + 7, 75, 36)
            screen.compare('button face %d at (724, %d)' % (face, y), bitmap(face), 724, y,
                           skip=(label_box,))
            screen.compare('label %d at (804, %d)' % (label, y + 7), bitmap(label), 804, y + 7,
                           key=(0, 0, 0))
    elif screen_name in ('records-board', 'records'):
        board = (227, 184, 570, 400)
        if screen_name == 'records-board':
            rows_y = [250, 302, 355, 411, 461, 512]
            text = [(x, y, w, 16) for y in rows_y for x, w in ((361, 56), (529, 88), (704, 88))]
            markers = [(755, y - 6, 22, 22) for y in rows_y]
            screen.compare('background 157', bitmap(157), 0, 0, skip=(board,))
            screen.compare('records board 243 at (227, 184)', bitmap(243), 227, 184,
                           skip=text + markers)
        else:
            rows, slot = read_record_rows(sys.argv[4]), int(sys.argv[5])
            expected = [pixel for row in bitmap(157)[2] for pixel in row]
            _, _, board_rows = bitmap(243)
            for y, row in enumerate(board_rows):
                expected[(184 + y) * 1024 + 227:(184 + y) * 1024 + 227 + 570] = row
            glyphs = read_glyphs(generated)
            for (name, seconds, score), y in zip(rows, [250, 302, 355, 411, 461, 512]):
                for x, text in ((361, name), (529, seconds), (704, score)):
                    draw_text(expected, 1024, x, y, text, glyphs)
            _, _, marker = bitmap(244)
            marker_y = [250, 302, 355, 411, 461, 512][slot - 1] - 6
            for y, row in enumerate(marker):
                for x, pixel in enumerate(row):
                    if pixel != (0, 0, 0):
                        expected[(marker_y + y) * 1024 + 755 + x] = pixel
            names = ', '.join(repr(name) for name, _, _ in rows)
            screen.compare('records screen with rows %s, marker at row %d' % (names, slot),
                           (1024, 768, [expected[y * 1024:(y + 1) * 1024] for y in range(768)]),
                           0, 0)
    elif screen_name == 'board':
        tiles = {letter: read_bmp(os.path.join(generated, 'charImg', '%d.bmp' % (65 + letter)))
                 for letter in range(26)}
        for seed in range(int(sys.argv[4]), int(sys.argv[5]) + 1):
            slots = first_board(seed)
            y = board_shown(screen, slots, tiles)
            if y is not None:
                print('ok   the first board of seed %d at y %d: %s' % (
                    seed, y, ', '.join('%s at %d' % (chr(65 + l), x)
                                       for _, (x, l) in sorted(slots.items()))))
                break
        else:
            print('FAIL no first board of the seeds %s to %s' % (sys.argv[4], sys.argv[5]))
            screen.failures += 1
    elif screen_name == 'score':
        # The score line of the second info box, "%d" at (811, 590): text-coloured pixels exactly
        # where the number's glyphs set them, over six cells.
        text, x0, y0, width = sys.argv[4].encode(), 811, 590, 48
        expected = [None] * (width * 16)
        draw_text(expected, width, 0, 0, text, read_glyphs(generated))
        differing = sum((screen.at(x0 + i % width, y0 + i // width) == TEXT_COLOUR) !=
                        (colour is not None) for i, colour in enumerate(expected))
        print('%s score %s at (%d, %d): %d pixels differ' %
              ('ok  ' if differing == 0 else 'FAIL', sys.argv[4], x0, y0, differing))
        screen.failures += differing != 0
    else:
        sys.exit('unknown screen %s' % screen_name)
    return 1 if screen.failures else 0


if __name__ == '__main__':
    sys.exit(main())
