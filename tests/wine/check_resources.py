#!/usr/bin/env python3
"""Checks the resources of tolvaro.exe against the generated asset tree.

usage: check_resources.py <tolvaro.exe> <generated dir>

Every bitmap/<id>.bmp must be BITMAP <id> (the file without its 14-byte header), every
wave/<id>.wav WAVE <id> byte for byte, glyphs/gbk16.bin RCDATA 1, icon/141.ico icon group 141,
dialog 241 must be exactly the name-entry template, and the application manifest must declare
the DPI awareness that keeps Windows from stretching the window.
"""
import os
import struct
import sys
from xml.etree import ElementTree

RT_ICON, RT_BITMAP, RT_DIALOG, RT_RCDATA, RT_GROUP_ICON, RT_MANIFEST = 3, 2, 5, 10, 14, 24


def read_resources(path):
    data = open(path, 'rb').read()
    pe = struct.unpack_from('<I', data, 0x3C)[0]
    assert data[pe:pe + 4] == b'PE\0\0', 'not a PE file'
    sections = struct.unpack_from('<H', data, pe + 6)[0]
    optional_size = struct.unpack_from('<H', data, pe + 20)[0]
    optional = pe + 24
    magic = struct.unpack_from('<H', data, optional)[0]
    directories = optional + (112 if magic == 0x20B else 96)
    resource_rva = struct.unpack_from('<I', data, directories + 2 * 8)[0]
    table = optional + optional_size
    section_list = []
    for i in range(sections):
        name, vsize, vaddr, rawsize, rawptr = struct.unpack_from('<8sIIII', data, table + 40 * i)
        section_list.append((vaddr, max(vsize, rawsize), rawptr))

    def offset(rva):
        for vaddr, size, rawptr in section_list:
            if vaddr <= rva < vaddr + size:
                return rva - vaddr + rawptr
        raise ValueError('rva %x outside every section' % rva)

    base = offset(resource_rva)

    def entries(directory):
        named, ids = struct.unpack_from('<HH', data, base + directory + 12)
        for i in range(named + ids):
            name, target = struct.unpack_from('<II', data, base + directory + 16 + 8 * i)
            if name & 0x80000000:
                at = base + (name & 0x7FFFFFFF)
                length = struct.unpack_from('<H', data, at)[0]
                key = data[at + 2:at + 2 + 2 * length].decode('utf-16-le')
            else:
                key = name
            yield key, target

    resources = {}
    for type_key, type_target in entries(0):
        for name_key, name_target in entries(type_target & 0x7FFFFFFF):
            for _, lang_target in entries(name_target & 0x7FFFFFFF):
                rva, size = struct.unpack_from('<II', data, base + lang_target)
                at = offset(rva)
                resources[(type_key, name_key)] = data[at:at + size]
    return resources


def expected_dialog():
    def words(*values):
        return struct.pack('<%dH' % len(values), *values)

    t = words(1, 0xFFFF) + struct.pack('<III', 0, 0x200, 0x800008C0)
    t += words(2) + struct.pack('<hhhh', 0, 0, 160, 80)
    t += words(0, 0, 0)  # no menu, no class, empty title
    t += words(10, 0) + bytes([0, 1]) + 'System\0'.encode('utf-16-le')

    def item(style, x, y, cx, cy, control_id, control_class, title):
        nonlocal t
        t += b'\0' * (-len(t) % 4)
        t += struct.pack('<III', 0, 0, style) + struct.pack('<hhhh', x, y, cx, cy)
        t += struct.pack('<i', control_id) + words(0xFFFF, control_class) + title + words(0)

    item(0x5000000E, 0, 0, 160, 80, -1, 0x0082, words(0xFFFF, 242))
    item(0x50810080, 42, 36, 74, 12, 1001, 0x0081, words(0))
    return t


WINDOWS_SETTINGS_2005 = '{http://schemas.microsoft.com/SMI/2005/WindowsSettings}'
WINDOWS_SETTINGS_2016 = '{http://schemas.microsoft.com/SMI/2016/WindowsSettings}'
SUPPORTED_OS = '{urn:schemas-microsoft-com:compatibility.v1}supportedOS'
WINDOWS_7 = '{35138b9a-5d96-4fbd-8e2d-a2440225f93a}'


def manifest_failures(manifest):
    """The application manifest (RT_MANIFEST 1) must declare per-monitor v2 DPI awareness first,
    per-monitor as its fallback, per-monitor/system awareness for Windows 8.1 and older
    (true/pm), and Windows 7 among the supported systems."""
    if manifest is None:
        return ['missing the application manifest (RT_MANIFEST 1)']
    try:
        root = ElementTree.fromstring(manifest)
    except ElementTree.ParseError as error:
        return ['the manifest is not XML: %s' % error]
    failures = []
    awareness = [e.text.strip() for e in root.iter(WINDOWS_SETTINGS_2016 + 'dpiAwareness')]
    listed = [v.strip() for v in awareness[0].split(',')] if awareness else []
    if listed[:2] != ['PerMonitorV2', 'PerMonitor']:
        failures.append('the manifest\'s dpiAwareness is %r, not PerMonitorV2, PerMonitor' % awareness)
    aware = [e.text.strip() for e in root.iter(WINDOWS_SETTINGS_2005 + 'dpiAware')]
    if aware != ['true/pm']:
        failures.append('the manifest\'s dpiAware is %r, not true/pm' % aware)
    if WINDOWS_7 not in [e.get('Id') for e in root.iter(SUPPORTED_OS)]:
        failures.append('the manifest does not name Windows 7 as supported')
    return failures


def main():
    exe, generated = sys.argv[1], sys.argv[2]
    resources = read_resources(exe)
    failures = []

    def check(key, expected, what):
        actual = resources.get(key)
        if actual is None:
            failures.append('missing %s' % what)
        elif actual != expected:
            failures.append('%s differs (%d bytes, expected %d)' % (what, len(actual), len(expected)))

    # A bitmap resource is the file without its 14-byte header; a WAVE the whole file.
    counts = {}
    for folder, ext, kind, skip in (('bitmap', '.bmp', RT_BITMAP, 14), ('wave', '.wav', 'WAVE', 0)):
        counts[folder] = 0
        for name in sorted(os.listdir(os.path.join(generated, folder))):
            stem = name[:-len(ext)]
            if name.endswith(ext) and stem.isdigit():
                raw = open(os.path.join(generated, folder, name), 'rb').read()
                check((kind, int(stem)), raw[skip:], '%s %s' % (folder, stem))
                counts[folder] += 1
    check((RT_RCDATA, 1), open(os.path.join(generated, 'glyphs', 'gbk16.bin'), 'rb').read(),
          'RCDATA 1 (glyphs)')

    group = resources.get((RT_GROUP_ICON, 141))
    ico = open(os.path.join(generated, 'icon', '141.ico'), 'rb').read()
    if group is None:
        failures.append('missing icon group 141')
    else:
        count = struct.unpack_from('<H', ico, 4)[0]
        if struct.unpack_from('<H', group, 4)[0] != count:
            failures.append('icon group 141 has another number of images than 141.ico')
        for i in range(count):
            size, image_offset = struct.unpack_from('<II', ico, 6 + 16 * i + 8)
            icon_id = struct.unpack_from('<H', group, 6 + 14 * i + 12)[0]
            check((RT_ICON, icon_id), ico[image_offset:image_offset + size], 'icon image %d' % i)

    check((RT_DIALOG, 241), expected_dialog(), 'DIALOG 241')
    failures += manifest_failures(resources.get((RT_MANIFEST, 1)))

    for failure in failures:
        print('FAIL:', failure)
    print('checked %d bitmaps, %d waves, glyphs, icon 141, dialog 241, manifest: %s'
          % (counts['bitmap'], counts['wave'], 'FAILED' if failures else 'ok'))
    return 1 if failures or counts['bitmap'] == 0 or counts['wave'] == 0 else 0


if __name__ == '__main__':
    sys.exit(main())
