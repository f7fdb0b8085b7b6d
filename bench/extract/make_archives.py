#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Makes the archives that bench/extract times: 5,000 small files in 50
folders as many.zip (deflated) and many.tar.gz, and names.txt, 1,000 of
their entries (every fifth), one a line.

    make_archives.py FOLDER
"""

import io
import os
import random
import sys
import tarfile
import zipfile

FILES, FOLDERS, EVERY = 5000, 50, 5


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    rng = random.Random(7)
    words = [''.join(rng.choice('abcdefghij klmnop') for _ in range(9)) for _ in range(300)]
    entries = []
    for i in range(FILES):
        text = ' '.join(rng.choice(words) for _ in range(rng.randint(50, 500))).encode()
        entries.append((f'd{i % FOLDERS:02}/f{i:05}.txt', text))
    with zipfile.ZipFile(os.path.join(folder, 'many.zip'), 'w', zipfile.ZIP_DEFLATED) as archive:
        for name, data in entries:
            archive.writestr(zipfile.ZipInfo(name, (2020, 1, 1, 0, 0, 0)), data, zipfile.ZIP_DEFLATED)
    with tarfile.open(os.path.join(folder, 'many.tar.gz'), 'w:gz') as archive:
        for name, data in entries:
            info = tarfile.TarInfo(name)
            info.size, info.mode, info.mtime = len(data), 0o644, 1577836800
            archive.addfile(info, io.BytesIO(data))
    with open(os.path.join(folder, 'names.txt'), 'w') as names:
        names.writelines(name + '\n' for name, _ in entries[::EVERY])


main()
