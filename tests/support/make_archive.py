#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Makes the damaged, hostile and special archives the tests read.

    make_archive.py RECIPE OUTPUT [ARGS...]

Each recipe below writes the file OUTPUT (docs-by-every-tool, the folder);
a name ending in .gz is gzip-compressed where the recipe says so. Numbers
in ARGS are decimal. Helpers, not recipes, start with an underscore.
"""

import gzip
import io
import lzma
import os
import random
import stat
import struct
import subprocess
import sys
import tarfile
import tempfile
import warnings
import zipfile
import zlib

JUNE_2019, NEW_YEAR_2019 = 1559347200, 1546300800


def _write(path, data):
    with open(path, 'wb') as f:
        f.write(data)


def add(tar, name, data=b'', kind=tarfile.REGTYPE, link='', mode=0o644, mtime=0):
    info = tarfile.TarInfo(name)
    info.type, info.linkname, info.mode, info.mtime = kind, link, mode, mtime
    info.size = len(data) if kind == tarfile.REGTYPE else 0
    tar.addfile(info, io.BytesIO(data))


def _abc_tar(size=700):
    """Entries a, b and c of SIZE bytes of their letter, as a plain tar's bytes."""
    data = io.BytesIO()
    with tarfile.open(fileobj=data, mode='w', format=tarfile.USTAR_FORMAT) as tar:
        for name in 'abc':
            add(tar, name, name.encode() * size)
    return data.getvalue()


def gzipped_if_named(path, data):
    _write(path, gzip.compress(data) if path.endswith('.gz') else data)


def tar_abc(out, size='700'):
    """a, b and c, whole; 700 bytes each unless SIZE is given."""
    gzipped_if_named(out, _abc_tar(int(size)))


def tar_cut(out, blocks):
    """a, b and c of 700 bytes, only the first BLOCKS blocks of 512 bytes:
    6 holds a and b whole, 5 stops in b's data, 10 lacks one end block."""
    gzipped_if_named(out, _abc_tar()[:512 * int(blocks)])


def tar_bad_header(out):
    """a, b and c of 700 bytes, b's header no longer matching its checksum."""
    data = bytearray(_abc_tar())
    data[512 * 3 + 100] ^= 0xFF  # the mode field
    _write(out, data)


def empty(out, comment=''):
    """An archive of no entries: a zip (with COMMENT), a .tar.gz or a newc cpio."""
    if out.endswith('.zip'):
        with zipfile.ZipFile(out, 'w') as z:
            z.comment = comment.encode()
    elif out.endswith('.tar.gz'):
        tarfile.open(out, 'w:gz').close()
    else:
        subprocess.run(['bsdtar', '--format', 'newc', '-cf', out, '-T', '/dev/null'], check=True)


def cpio_ab(out, length=None):
    """A newc cpio, as bsdtar writes it, of a and b of 700 bytes; its first LENGTH bytes when given."""
    with tempfile.TemporaryDirectory() as src:
        for name in 'ab':
            _write(os.path.join(src, name), name.encode() * 700)
        subprocess.run(['bsdtar', '--format', 'newc', '-cf', out, '-C', src, 'a', 'b'], check=True)
    if length:
        with open(out, 'rb') as f:
            data = f.read(int(length))
        _write(out, data)


def zip_damaged_entry(out, count, damaged):
    """COUNT deflated texts file0.txt...; entry number DAMAGED starts with
    sixteen bytes of garbage."""
    random.seed(7)
    words = ['alpha', 'beta', 'gamma', 'delta']
    with zipfile.ZipFile(out, 'w', zipfile.ZIP_DEFLATED) as z:
        for i in range(int(count)):
            z.writestr('file%d.txt' % i, ' '.join(random.choice(words) for _ in range(4000)))
    with zipfile.ZipFile(out) as z:
        info = z.getinfo('file%s.txt' % damaged)
    data = bytearray(open(out, 'rb').read())
    start = info.header_offset + 30 + len(info.filename) + len(info.extra)
    data[start:start + 16] = b'\xff' * 16
    _write(out, data)


def damaged_7z(out):
    """A 7z of three texts, its one compressed stream overwritten inside;
    the index after the stream still names them all."""
    random.seed(3)
    with tempfile.TemporaryDirectory() as src:
        names = ['f%d.txt' % i for i in range(3)]
        for name in names:
            _write(os.path.join(src, name), ' '.join(str(random.random()) for _ in range(20000)).encode())
        subprocess.run(['7z', 'a', '-bd', '-bso0', os.path.abspath(out)] + names, cwd=src, check=True)
    with open(out, 'r+b') as f:
        f.seek(2000)
        f.write(b'\xff' * 100)


def left_out_tar(out):
    """A file kept, and one entry each of a path outside, a link outside and a name given twice."""
    with tarfile.open(out, 'w') as tar:
        add(tar, 'kept.txt', b'x')
        add(tar, '../escape.txt', b'x')
        add(tar, 'away', kind=tarfile.SYMTYPE, link='/etc/passwd')
        add(tar, 'twice.txt', b'first')
        add(tar, 'twice.txt', b'second')


def charset_tar(out, charset, *names):
    """A GNU tar of files holding 'x' named NAMES encoded in CHARSET, as given."""
    with tarfile.open(out, 'w', format=tarfile.GNU_FORMAT) as tar:
        for name in names:
            add(tar, name.encode(charset).decode('utf-8', 'surrogateescape'), b'x')


def charset_tree(out, charset, *names):
    """A folder src beside OUT of files named NAMES in CHARSET (holding 'x')
    and of the first name in UTF-8 (holding 'y'), and OUT, its GNU tar; the
    file twin holds the first name's bytes in CHARSET."""
    os.chdir(os.path.dirname(os.path.abspath(out)))
    for name in names:
        path = b'src/' + name.encode(charset)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        _write(path, b'x')
    _write(b'src/' + names[0].encode(), b'y')
    _write('twin', names[0].encode(charset))
    with tarfile.open(out, 'w', format=tarfile.GNU_FORMAT) as tar:
        os.chdir('src')
        for name in sorted(os.listdir(b'.')):
            tar.add(os.fsdecode(name))


def hard_links(out):
    """A newc cpio or an ISO image (by OUT's name), made by bsdtar, of a
    (six bytes), b (a hard link to it), d/e/f in a read-only d, and l (a
    link to d/e/f). cpio stores the data with the last link; ISO, the first."""
    with tempfile.TemporaryDirectory() as src:
        os.makedirs(os.path.join(src, 'd', 'e'))
        _write(os.path.join(src, 'a'), b'hello\n')
        _write(os.path.join(src, 'd', 'e', 'f'), b'deep')
        os.link(os.path.join(src, 'a'), os.path.join(src, 'b'))
        os.symlink('d/e/f', os.path.join(src, 'l'))
        os.chmod(os.path.join(src, 'd'), 0o555)
        tar_format = 'newc' if out.endswith('.cpio') else 'iso9660'
        subprocess.run(['bsdtar', '-cf', out, '--format', tar_format, '-C', src, 'a', 'b', 'd', 'l'], check=True)
        os.chmod(os.path.join(src, 'd'), 0o755)


def specials_tar(out):
    """A pipe, a character and a block device, and file.txt."""
    with tarfile.open(out, 'w') as tar:
        for name, kind in (('pipe', tarfile.FIFOTYPE), ('tty', tarfile.CHRTYPE), ('disk', tarfile.BLKTYPE)):
            add(tar, name, kind=kind)
        add(tar, 'file.txt', b'abc')


def unknown_type_cpio(out):
    """An odc cpio whose entry odd has no type bits in its mode, then file.txt."""
    def odc(name, mode, data):
        name += b'\0'
        fields = (0, 1, mode, 0, 0, 1, 0, 0, len(name), len(data))
        return b'070707%06o%06o%06o%06o%06o%06o%06o%011o%06o%011o' % fields + name + data
    _write(out, odc(b'odd', 0o644, b'abc') + odc(b'file.txt', 0o100644, b'abc') + odc(b'TRAILER!!!', 0, b''))


HOSTILE = [
    ('./', 'd', b'', 0o700),  # as `tar -C folder .` begins
    ('.', 'f', b'a file where the folder itself is', 0o644),
    ('dup.txt', 'f', b'first one', 0o644), ('dup.txt', 'f', b'last', 0o600),
    ('f', 'f', b'file', 0o644), ('f/', 'd', b'', 0o755), ('f/in.txt', 'f', b'x', 0o644),
    ('d/', 'd', b'', 0o750), ('d/in.txt', 'f', b'in d', 0o640), ('d', 'f', b'file over folder', 0o644),
    ('../x', 'f', b'out', 0o644), ('/abs', 'f', b'abs', 0o644),
    ('d/up', 'l', b'../../outside', 0), ('d/ok', 'l', b'in.txt', 0), ('top', 'l', b'd/in.txt', 0),
    ('top', 'f', b'a file where a link was', 0o644),
    ('imp/a/b.txt', 'f', b'implied folders', 0o200), ('ro/', 'd', b'', 0o555), ('ro/x', 'f', b'ro', 0o444),
    ('fifo', 'p', b'', 0o644),
]


def hostile_names(out):
    """The same hostile and ambiguous entries, dated June 2019, as a pax tar
    (with hard links, and an access time on d/in.txt) or as a zip."""
    if out.endswith('.zip'):
        types = {'f': stat.S_IFREG, 'd': stat.S_IFDIR, 'l': stat.S_IFLNK, 'p': stat.S_IFIFO}
        with zipfile.ZipFile(out, 'w') as z:
            for name, kind, data, mode in HOSTILE:
                info = zipfile.ZipInfo(name, (2019, 6, 1, 0, 0, 0))
                info.create_system = 3
                info.external_attr = (types[kind] | mode) << 16
                z.writestr(info, data)
        return
    kinds = {'f': tarfile.REGTYPE, 'd': tarfile.DIRTYPE, 'l': tarfile.SYMTYPE, 'p': tarfile.FIFOTYPE}
    with tarfile.open(out, 'w', format=tarfile.PAX_FORMAT) as tar:
        for name, kind, data, mode in HOSTILE:
            info = tarfile.TarInfo(name)
            info.mode, info.mtime, info.type = mode, JUNE_2019, kinds[kind]
            if kind == 'l':
                info.linkname, data = data.decode(), b''
            if name == 'd/in.txt':
                info.pax_headers = {'atime': '%d.5' % NEW_YEAR_2019}
            info.size = len(data)
            tar.addfile(info, io.BytesIO(data))
        add(tar, 'hard', kind=tarfile.LNKTYPE, link='d/in.txt')
        add(tar, 'hard-to-nothing', kind=tarfile.LNKTYPE, link='never.txt')


def links_tar(out):
    """Links within a, and links that lead, or go through a link, outside."""
    with tarfile.open(out, 'w') as tar:
        add(tar, 'a/file.txt', b'inside')
        for name, link in (('up', '../a/file.txt'), ('sibling', 'file.txt'), ('escape', '../../outside.txt'),
                           ('absolute', '/etc/passwd'), ('down-up', 'sibling/../../../x')):
            add(tar, 'a/' + name, kind=tarfile.SYMTYPE, link=link)
        for name, link in (('hard', 'a/file.txt'), ('hard-missing', 'a/never.txt'), ('hard-out', '../outside.txt')):
            add(tar, 'a/' + name, kind=tarfile.LNKTYPE, link=link)
        add(tar, 'a/sibling/through.txt', b'through a link')


def many_zip(out, count, folders='0', repeat='0'):
    """COUNT deflated entries fNNNNN, spread over FOLDERS folders dNN when
    given; entry N holds N, or N written REPEAT times N times."""
    with zipfile.ZipFile(out, 'w', zipfile.ZIP_DEFLATED) as z:
        for i in range(int(count)):
            name = ('d%02d/' % (i % int(folders)) if int(folders) else '') + 'f%05d' % i
            z.writestr(name, b'%d' % i * (int(repeat) * i if int(repeat) else 1))


def deep_zip(out, depth):
    """One file f, DEPTH folders a/ deep."""
    with zipfile.ZipFile(out, 'w') as z:
        z.writestr('a/' * int(depth) + 'f', b'x')


def deep_then_bad_zip(out):
    """Folders thirty thousand deep, then bad.txt whose data no longer matches its checksum."""
    with zipfile.ZipFile(out, 'w') as z:
        for depth in range(1, 30001, 100):
            z.writestr('d/' * depth, b'')
        z.writestr('d/' * 30000, b'')
        z.writestr('bad.txt', b'x' * 100)
    data = bytearray(open(out, 'rb').read())
    at = data.rfind(b'x' * 100)
    data[at:at + 100] = b'y' * 100
    _write(out, data)


def far_end_zip(out, kind):
    """a.txt and b/c.txt, the end record far back: behind a 'long' comment,
    behind a comment holding a 'signature', or before 'padding'."""
    with zipfile.ZipFile(out, 'w') as z:
        z.writestr('a.txt', b'one')
        z.writestr('b/c.txt', b'two')
        z.comment = {'long': b'C' * 65535, 'signature': b'PK\x05\x06' + b'\x01' * 30}.get(kind, b'')
    if kind == 'padding':
        with open(out, 'ab') as f:
            f.write(bytes(40000))


def zeros_gz(out, mebibytes):
    """MEBIBYTES MiB of zeros, gzip-compressed."""
    with gzip.open(out, 'wb') as f:
        f.write(bytes(int(mebibytes) << 20))


def zip64_stream(out):
    """big.txt, deflated with a zip64 data descriptor, as streaming writers make it."""
    class Stream:  # no seek: the sizes follow the data
        def __init__(self, f):
            self.f = f

        def write(self, b):
            return self.f.write(b)

        def flush(self):
            self.f.flush()
    with open(out, 'wb') as f, zipfile.ZipFile(Stream(f), 'w', zipfile.ZIP_DEFLATED) as z:
        with z.open('big.txt', 'w', force_zip64=True) as e:
            e.write(b'0123456789' * 100000)


def replaced_zip(out):
    """same.bin (5 MiB of '1'), other.bin (5 MiB of 'o'), forty small files,
    then same.bin again holding 'last'."""
    with zipfile.ZipFile(out, 'w', zipfile.ZIP_DEFLATED) as z:
        z.writestr('same.bin', b'1' * (5 << 20))
        z.writestr('other.bin', b'o' * (5 << 20))
        for i in range(40):
            z.writestr('small%02d' % i, b's')
        z.writestr('same.bin', b'last')


def lzma_zip(out):
    """log.txt, a thousand lines, LZMA-compressed in a zip."""
    with zipfile.ZipFile(out, 'w', zipfile.ZIP_LZMA) as z:
        z.writestr('log.txt', b'line\n' * 1000)


def xz_tar(out, dictionary=''):
    """A .tar.xz of log.txt; its block header declares a 1 GiB dictionary when DICTIONARY is 'huge'."""
    data = io.BytesIO()
    with tarfile.open(fileobj=data, mode='w') as tar:
        add(tar, 'log.txt', b'line\n')
    xz = bytearray(lzma.compress(data.getvalue(), format=lzma.FORMAT_XZ))
    if dictionary == 'huge':
        size = (xz[12] + 1) * 4
        assert xz[14:16] == b'\x21\x01'
        xz[16] = 38  # and the header's checksum to match
        xz[12 + size - 4:12 + size] = zlib.crc32(xz[12:12 + size - 4]).to_bytes(4, 'little')
    _write(out, xz)


def log_xz(out):
    """80 MiB of one log line again and again, xz-compressed to a few KB."""
    _write(out, lzma.compress(b'2026-12-07 12:00:00 INFO request served in 3 ms\n' * ((80 << 20) // 48), preset=1))


def deflate_bomb_zip(out):
    """A deflated entry of a thousand zeros whose headers declare 200 MiB."""
    with zipfile.ZipFile(out, 'w', zipfile.ZIP_DEFLATED) as z:
        z.writestr('zeros', b'\0' * 1000)
    bomb = bytearray(open(out, 'rb').read())
    central = bomb.index(b'PK\x01\x02')
    struct.pack_into('<I', bomb, 22, 200 << 20)
    struct.pack_into('<I', bomb, central + 24, 200 << 20)
    _write(out, bomb)


def sparse_tar(out, tar_format):
    """A tar (gnu or posix) made by GNU tar --sparse of big (300 MiB, 9 bytes
    of data, 'middle' at 100 MiB) and hole (200 MiB, 'start' then a hole)."""
    with tempfile.TemporaryDirectory() as src:
        with open(os.path.join(src, 'big'), 'wb') as f:
            f.seek(100 << 20)
            f.write(b'middle')
            f.seek(300 << 20)
            f.write(b'end')
        with open(os.path.join(src, 'hole'), 'wb') as f:
            f.write(b'start')
            f.truncate(200 << 20)
        subprocess.run(['tar', '--sparse', '--format=' + tar_format, '-cf', os.path.abspath(out), 'big', 'hole'],
                       cwd=src, check=True)


def docs_by_every_tool(out):
    """In the folder OUT: src/docs/readme.txt (ten bytes) and src/notes.txt,
    src/notes.txt.gz, and docs packed by the tools that make each kind; all
    but the first two named so that the name does not tell."""
    os.makedirs(os.path.join(out, 'src', 'docs'), exist_ok=True)
    _write(os.path.join(out, 'src', 'docs', 'readme.txt'), b'x' * 10)
    _write(os.path.join(out, 'src', 'notes.txt'), b'plain text, compressed\n')
    for command in ('bsdtar -czf backup.tar.gz -C src docs',
                    'bsdtar -cf app.jar --format zip -C src docs',
                    'bsdtar --format newc -cf - -C src docs | gzip > packed.cpio.gz',
                    'bsdtar --format pax -cZf packed.pax.Z -C src docs',
                    'bsdtar --format xar -cf packed.xar -C src docs',
                    'bsdtar --format zip -cf pkg-1.0-py3-none-any.whl -C src docs',
                    'bsdtar --format zip -cf no-extension -C src docs',
                    'cd src && printf "2.0\\n" > debian-binary && tar -cJf data.tar.xz docs'
                    ' && ar rc ../pkg_1.0_all.deb debian-binary data.tar.xz',
                    'gzip -k src/notes.txt',
                    'bsdtar --format iso9660 -cf - -C src docs | gzip > disc.iso.gz',
                    'head -c 200000 /dev/zero | gzip > zeros.img.gz'):
        subprocess.run(['sh', '-ec', command], cwd=out, check=True)


def _png():
    """A 3 by 2 black PNG."""
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    pixels = zlib.compress((b'\0' + b'\0' * 9) * 2)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', 3, 2, 8, 2, 0, 0, 0))
            + chunk(b'IDAT', pixels) + chunk(b'IEND', b''))


def docs_pics_tar(out):
    """A .tar.gz of docs/readme.txt, pics/dot.png and top.txt, dated 7 June 2019."""
    with tarfile.open(out, 'w:gz') as tar:
        for name, data in (('docs/readme.txt', b'read me'), ('pics/dot.png', _png()), ('top.txt', b'top')):
            add(tar, name, data, mtime=1559908800)


def wanted_among_many(out):
    """1200 small files, then deep/er/wanted.txt; a zip adds link.txt, a link to it."""
    files = [('many/%04d.txt' % i, b'x' * 10) for i in range(1200)] + [('deep/er/wanted.txt', b'the wanted one')]
    if out.endswith('.zip'):
        with zipfile.ZipFile(out, 'w') as z:
            for name, data in files:
                z.writestr(name, data)
            link = zipfile.ZipInfo('link.txt')
            link.external_attr = 0o120777 << 16
            z.writestr(link, 'deep/er/wanted.txt')
        return
    with tarfile.open(out, 'w:gz') as tar:
        for name, data in files:
            add(tar, name, data)


def _zip_bytes(entries):
    """A zip's bytes, of (name, data) pairs, deflated."""
    data = io.BytesIO()
    with zipfile.ZipFile(data, 'w', zipfile.ZIP_DEFLATED) as z:
        for name, content in entries:
            z.writestr(name, content)
    return data.getvalue()


def nested_zip(out):
    """A zip of readme.txt (5 bytes) and app.war, a zip of WEB-INF/web.xml (300
    bytes) and WEB-INF/lib/lib.jar, a zip of META-INF/MANIFEST.MF (25 bytes),
    A.class (1234 bytes) and deep.zip, a zip of deepest.txt (7 bytes)."""
    deep = _zip_bytes([('deepest.txt', b'deepest')])
    jar = _zip_bytes([('META-INF/MANIFEST.MF', b'Manifest-Version: 1.0'.ljust(25, b' ')),
                      ('A.class', bytes(range(256)) * 4 + b'\xca' * 210), ('deep.zip', deep)])
    war = _zip_bytes([('WEB-INF/web.xml', b'<web-app/>'.ljust(300, b' ')), ('WEB-INF/lib/lib.jar', jar)])
    _write(out, _zip_bytes([('readme.txt', b'hello'), ('app.war', war)]))


def zip_in_tar(out, count='3'):
    """A .tar.gz of note.txt and data/inner.zip, a zip of COUNT entries fNNNNN
    (entry N holds N), with sub/c.txt (3 bytes) after them."""
    inner = _zip_bytes([('f%05d' % i, b'%d' % i) for i in range(int(count))] + [('sub/c.txt', b'ccc')])
    with tarfile.open(out, 'w:gz') as tar:
        add(tar, 'note.txt', b'note')
        add(tar, 'data/inner.zip', inner)


if __name__ == '__main__':
    name = sys.argv[1].replace('-', '_') if len(sys.argv) > 2 else '_'
    recipe = globals().get(name)
    if name.startswith('_') or not callable(recipe) or not recipe.__doc__:  # helpers start with _
        sys.exit(__doc__)
    warnings.simplefilter('ignore')  # names given twice are meant
    recipe(*sys.argv[2:])
