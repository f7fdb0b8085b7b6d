#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Makes the scan benchmark's trees, the same every time (fixed seed):
  deep/  about 100,000 items in five levels: folders on levels 1 to 4, files
         on every level, realistic names, about 2 % hidden, about 1 % PNG images
  flat/  50,000 files in one folder
  huge/  about 1,000,000 items in five levels (only with --huge: it takes long to make)
File contents are sparse: sizes are real, the disk holds next to nothing."""
import os
import random
import sys
import zlib
import struct

STEMS = ["report", "IMG", "notes", "main", "data", "invoice", "draft", "photo", "summary", "backup",
         "index", "style", "script", "config", "readme", "chapter", "track", "scan", "budget", "letter"]
EXTENSIONS = ["txt", "md", "pdf", "cpp", "h", "py", "csv", "json", "html", "css", "js", "tar.gz",
              "zip", "docx", "xlsx", "mp3", "log", "xml", "odt", "rs", "go", "yaml", "sh"]
SPECIAL = ["Makefile", "README", "README.md", "LICENSE", "CMakeLists.txt", "Makefile.am", "notes.txt~"]
HIDDEN = [".gitignore", ".env", ".DS_Store", ".cache", ".config.json"]


def png(width, height):
    def chunk(kind, payload):
        return struct.pack(">I", len(payload)) + kind + payload + struct.pack(">I", zlib.crc32(kind + payload))
    rows = b"".join(b"\x00" + b"\x00" * width * 3 for _ in range(height))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def make_file(rng, folder, index):
    roll = rng.random()
    if roll < 0.02:
        name = rng.choice(HIDDEN)
    elif roll < 0.03:
        name = f"IMG_{index:05d}.png"
        with open(os.path.join(folder, name), "wb") as f:
            f.write(png(rng.randint(1, 64), rng.randint(1, 64)))
        return
    elif roll < 0.05:
        name = rng.choice(SPECIAL)
    else:
        name = f"{rng.choice(STEMS)}_{index:05d}.{rng.choice(EXTENSIONS)}"
    path = os.path.join(folder, name)
    if os.path.exists(path):
        return
    with open(path, "wb") as f:
        f.truncate(rng.randint(0, 200_000))


def make_levels(root, rng, folders, last_files):
    """Folders on levels 1 to 4, `folders` in each folder above them; 20 files
    in each folder but those of level 4, which hold `last_files`."""
    counter = [0]

    def fill(folder, level):
        files = last_files if level == 4 else 20
        for _ in range(files):
            counter[0] += 1
            make_file(rng, folder, counter[0])
        if level < 4:
            for i in range(folders):
                sub = os.path.join(folder, f"{rng.choice(STEMS).capitalize()} {level}-{i}")
                os.mkdir(sub)
                fill(sub, level + 1)

    os.mkdir(root)
    fill(root, 0)


def make_deep(root, rng):
    make_levels(root, rng, 6, 72)


def make_flat(root, rng):
    os.mkdir(root)
    for i in range(50_000):
        make_file(rng, root, i)


def make_huge(root, rng):
    # 1,111,110 folders and files, about a million once names collide.
    make_levels(root, rng, 10, 96)


def make(base, name, maker):
    """Each tree is made once: a marker says it is whole."""
    done = os.path.join(base, f".{name}.complete")
    if os.path.exists(done):
        return
    path = os.path.join(base, name)
    if os.path.exists(path):
        os.system(f"rm -rf '{path}'")
    maker(path, random.Random(20261206))
    open(done, "w").close()


def main():
    base = sys.argv[1]
    os.makedirs(base, exist_ok=True)
    make(base, "deep", make_deep)
    make(base, "flat", make_flat)
    if "--huge" in sys.argv[2:]:
        make(base, "huge", make_huge)


if __name__ == "__main__":
    main()
