#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""A collection of archives made here with the tools at hand (bsdtar, 7z,
genisoimage, gcab, the compressors, Python's writers): every format libarchive
reads, names in several charsets, damaged headers and cut copies. Each is
listed by trellin-preview --dump and by `bsdtar -tvf`, and the two counts of
entries compared.

usage: run.py build DIR
       run.py compare DIR TRELLIN_PREVIEW [--verbose]
"""
import io, json, os, random, shutil, subprocess, sys, tarfile, tempfile, zipfile

NAMES = {
    'koi8_r': 'Привет мир', 'cp866': 'Документы', 'euc_jp': '日本語ファイル', 'shift_jis': '表示ソフト',
    'cp1252': 'Café déjà', 'latin_1': 'Größe', 'gbk': '中文文件', 'cp437': 'Ångström',
}


def tree(root):
    """A small tree, at most three levels deep."""
    rnd = random.Random(7)
    for folder in ('', 'docs', 'docs/old', 'src/lib'):
        os.makedirs(os.path.join(root, folder), exist_ok=True)
        for i in range(3):
            with open(os.path.join(root, folder, f'file{i}.txt'), 'wb') as f:
                f.write(bytes(rnd.randrange(256) for _ in range(rnd.randrange(1, 3000))))
    open(os.path.join(root, 'empty'), 'wb').close()
    os.symlink('docs/file0.txt', os.path.join(root, 'link'))


def run(*args, **kw):
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **kw)


def build(out):
    os.makedirs(out, exist_ok=True)
    src = tempfile.mkdtemp()
    tree(src)
    made = []
    def at(name):
        made.append(name)
        return os.path.join(out, name)
    # bsdtar's writers, with every filter it has.
    # Named as such files are met: by their format's usual extension.
    usual = {'ustar': 'tar', 'pax': 'tar', 'gnutar': 'tar', 'v7tar': 'tar', 'newc': 'cpio', 'odc': 'cpio', '7zip': '7z',
             'iso9660': 'iso'}
    for fmt in ('ustar', 'pax', 'gnutar', 'cpio', 'newc', 'odc', 'zip', '7zip', 'ar', 'iso9660', 'xar', 'v7tar'):
        ext = f'{fmt}.{usual[fmt]}' if fmt in usual else fmt
        files = ['.'] if fmt not in ('ar',) else ['file0.txt', 'file1.txt', 'empty']
        try:
            run('bsdtar', '--format', fmt, '-cf', at(f'plain-{fmt}.{ext}'), '-C', src, *files)
        except subprocess.CalledProcessError:
            made.pop()
    for fmt in ('pax', 'newc', 'iso9660'):
        for flt in ('gzip', 'bzip2', 'xz', 'lzma', 'zstd', 'lz4', 'lzip', 'lzop', 'compress'):
            suffix = {'gzip': 'gz', 'bzip2': 'bz2', 'xz': 'xz', 'lzma': 'lzma', 'zstd': 'zst', 'lz4': 'lz4', 'lzip': 'lz',
                      'lzop': 'lzo', 'compress': 'Z'}[flt]
            try:
                run('bsdtar', '--format', fmt, f'--{flt}', '-cf', at(f'{fmt}.{usual[fmt]}.{suffix}'), '-C', src, '.')
            except subprocess.CalledProcessError:
                made.pop()
    # 7z's own writers.
    for args, name in ((['-t7z'], '7z-lzma2.7z'), (['-t7z', '-m0=PPMd'], '7z-ppmd.7z'), (['-t7z', '-m0=BZip2'], '7z-bzip2.7z'),
                       (['-t7z', '-mhc=off'], '7z-plainheader.7z'), (['-tzip'], '7z.zip'), (['-tzip', '-mm=BZip2'], '7z-bzip2.zip'),
                       (['-tzip', '-mm=LZMA'], '7z-lzma.zip'), (['-ttar'], '7z.tar'), (['-tzip', '-mm=Deflate64'], '7z-deflate64.zip')):
        run('7z', 'a', '-bd', *args, at(name), '.', cwd=src)
    # ISO images.
    for args, name in (([], 'iso-plain.iso'), (['-R'], 'iso-rock.iso'), (['-J', '-R'], 'iso-joliet.iso')):
        if shutil.which('genisoimage'):
            run('genisoimage', '-quiet', *args, '-o', at(name), src)
    if shutil.which('gcab'):
        run('gcab', '-c', at('cab.cab'), *[os.path.join(src, f'file{i}.txt') for i in range(3)])
        run('gcab', '-c', '-z', at('cab-mszip.cab'), *[os.path.join(src, f'file{i}.txt') for i in range(3)])
    # Names in charsets other than UTF-8.
    for charset, text in NAMES.items():
        try:
            raw = text.encode(charset)
        except UnicodeEncodeError:
            continue
        data = b'x' * 10
        with tarfile.open(at(f'names-{charset}.tar'), 'w', format=tarfile.GNU_FORMAT, encoding=charset) as t:
            for i in range(3):
                info = tarfile.TarInfo(f'{text}{i}.txt'); info.size = len(data); t.addfile(info, io.BytesIO(data))
        # The name's bytes as they are, without the UTF-8 flag, as Windows' own zip writes them.
        class LegacyName(zipfile.ZipInfo):
            def _encodeFilenameFlags(self):
                return self.filename.encode('latin-1'), self.flag_bits
        with zipfile.ZipFile(at(f'names-{charset}.zip'), 'w') as z:
            for i in range(3):
                z.writestr(LegacyName('dir/' + (raw + b'%d.txt' % i).decode('latin-1')), data)
        # cpio with raw bytes.
        d = tempfile.mkdtemp()
        for i in range(3):
            open(os.path.join(d.encode(), raw + b'%d' % i), 'wb').write(data)
        run('bsdtar', '--format', 'newc', '-cf', at(f'names-{charset}.cpio'), '-C', d, '.')
        shutil.rmtree(d)
    # Python's writers: empty, stored, long names, deep.
    zipfile.ZipFile(at('empty.zip'), 'w').close()
    tarfile.open(at('empty.tar'), 'w').close()
    with zipfile.ZipFile(at('commented.zip'), 'w') as z:
        z.writestr('a.txt', b'a'); z.comment = b'C' * 65535
    with tarfile.open(at('long-names.tar'), 'w', format=tarfile.PAX_FORMAT) as t:
        for i in range(5):
            info = tarfile.TarInfo('n' * 150 + f'/{"m" * 120}{i}'); info.size = 1; t.addfile(info, io.BytesIO(b'1'))
    with tarfile.open(at('specials.tar'), 'w') as t:
        for name, kind in (('fifo', tarfile.FIFOTYPE), ('chr', tarfile.CHRTYPE), ('blk', tarfile.BLKTYPE)):
            info = tarfile.TarInfo(name); info.type = kind; t.addfile(info)
    with tarfile.open(at('hardlinks.tar'), 'w') as t:
        info = tarfile.TarInfo('a'); info.size = 2; t.addfile(info, io.BytesIO(b'ab'))
        info = tarfile.TarInfo('b'); info.type = tarfile.LNKTYPE; info.linkname = 'a'; t.addfile(info)
    # Cut and damaged copies of some of the above.
    rnd = random.Random(11)
    for name in list(made):
        path = os.path.join(out, name)
        size = os.path.getsize(path)
        if size < 200 or not name.startswith(('plain-', '7z', 'pax.', 'newc.cpio.gz', 'iso-')):
            continue
        data = open(path, 'rb').read()
        for fraction in (0.3, 0.7, 0.95):
            cut = int(size * fraction)
            open(at(f'cut{int(fraction * 100)}-{name}'), 'wb').write(data[:cut])
        damaged = bytearray(data)
        for _ in range(8):
            at_ = rnd.randrange(len(damaged))
            damaged[at_] ^= 0xFF
        open(at(f'flipped-{name}'), 'wb').write(bytes(damaged))
    shutil.rmtree(src)
    print(f'{len(made)} archives in {out}')


def bsdtar_entries(path):
    """The entries bsdtar lists, with the folders their paths imply; None when it refuses."""
    result = subprocess.run(['bsdtar', '-tf', path], capture_output=True)
    if result.returncode != 0 and not result.stdout:
        return None
    paths = set()
    for line in result.stdout.split(b'\n'):
        line = line.rstrip(b'/')
        while line.startswith(b'./'):
            line = line[2:]
        if not line or line == b'.':
            continue
        parts = line.split(b'/')
        for i in range(1, len(parts) + 1):
            paths.add(b'/'.join(parts[:i]))
    return paths, result.returncode


def trellin_count(preview, path, env):
    result = subprocess.run([preview, '--dump', path], capture_output=True, env=env, timeout=120)
    try:
        doc = json.loads(result.stdout)
    except ValueError:
        return None, result.stderr.decode(errors='replace').strip()
    if doc.get('error'):
        return None, doc['error'].get('message')
    def count(rows):
        return sum(1 + count(r.get('children', [])) for r in rows)
    return count(doc.get('rows', [])), doc.get('summary')


def compare(folder, preview, verbose):
    home = tempfile.mkdtemp()
    env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(home, 'config'), XDG_CACHE_HOME=os.path.join(home, 'cache'),
               QT_QPA_PLATFORM='offscreen')
    subprocess.run([os.path.join(os.path.dirname(preview), '..', 'settings', 'trellin-settings'), 'set', 'depthLimit', '5'],
                   env=env, check=True, stdout=subprocess.DEVNULL)
    listed = agree = 0
    for name in sorted(os.listdir(folder)):
        path = os.path.join(folder, name)
        theirs = bsdtar_entries(path)
        if theirs is None:
            if verbose:
                print(f'  bsdtar refuses {name}')
            continue
        listed += 1
        ours, said = trellin_count(preview, path, env)
        same = ours == len(theirs[0])
        agree += same
        if verbose and not same:
            print(f'  {name}: bsdtar {len(theirs[0])} (exit {theirs[1]}), trellin {ours}: {said}')
    shutil.rmtree(home)
    print(f'{agree} of {listed} archives that bsdtar lists show the same number of entries ({100 * agree / max(listed, 1):.0f}%)')


if __name__ == '__main__':
    if sys.argv[1] == 'build':
        build(sys.argv[2])
    else:
        compare(sys.argv[2], sys.argv[3], '--verbose' in sys.argv)
