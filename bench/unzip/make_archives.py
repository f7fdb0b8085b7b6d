#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Makes the unzip benchmark's archives, the same bytes every time (fixed
seed, fixed dates), deflated at zip's default level:
  small.zip  10,000 files of 0.5 to 8 KB in 100 folders: text, logs, CSV,
             JSON, record-like binary and some random bytes
  big.zip    five files of 50 MB, each megabyte text, records or random
  tiny.zip   20,000 files of 0 to 200 bytes in 100 folders
  small.tar.gz  the files of small.zip as a gzip-compressed tar
  zip64.zip  one zip64 entry of 5 GiB of zeros (about 5 MB)
Skipped when DIR/.complete exists.

usage: make_archives.py DIR"""
import json
import os
import random
import struct
import sys
import zipfile

DATE = (2024, 5, 17, 12, 0, 0)
WORDS = ("the of and to in is that for it as with was on be by this are from at or an have not "
         "file folder archive preview size name date kind open close read write buffer stream "
         "error value result count index table record entry header offset length checksum "
         "user system server client request response cache memory thread queue event").split()
STEMS = ["report", "notes", "main", "data", "invoice", "draft", "summary", "backup", "index",
         "style", "script", "config", "readme", "chapter", "track", "budget", "letter", "log"]
KINDS = ["txt", "md", "log", "csv", "json", "bin", "dat"]


def sentence(rng):
    words = rng.choices(WORDS, k=rng.randint(4, 14))
    return " ".join(words).capitalize() + rng.choice([".", ".", ".", "?", ":"])


def text(rng, size):
    out = []
    length = 0
    while length < size:
        line = sentence(rng) if rng.random() < 0.7 else f"    {rng.choice(WORDS)}({rng.randint(0, 9999)});"
        out.append(line)
        length += len(line) + 1
    return "\n".join(out).encode()[:size]


def log(rng, size):
    out = []
    length = 0
    stamp = rng.randint(1_600_000_000, 1_700_000_000)
    while length < size:
        stamp += rng.randint(0, 5)
        line = (f"{stamp} {rng.choice(['INFO', 'INFO', 'DEBUG', 'WARN', 'ERROR'])} "
                f"[{rng.choice(WORDS)}] {sentence(rng)} id={rng.getrandbits(32):08x}")
        out.append(line)
        length += len(line) + 1
    return "\n".join(out).encode()[:size]


def csv(rng, size):
    out = ["id,name,amount,date,flag"]
    length = 0
    while length < size:
        line = (f"{rng.randint(1, 99999)},{rng.choice(WORDS)} {rng.choice(WORDS)},"
                f"{rng.uniform(0, 10000):.2f},2023-{rng.randint(1, 12):02d}-{rng.randint(1, 28):02d},"
                f"{rng.choice(['yes', 'no'])}")
        out.append(line)
        length += len(line) + 1
    return "\n".join(out).encode()[:size]


def json_data(rng, size):
    items = []
    length = 0
    while length < size:
        item = {"id": rng.getrandbits(24), "name": rng.choice(WORDS), "tags": rng.sample(WORDS, 3),
                "score": round(rng.random(), 4), "active": rng.random() < 0.5}
        items.append(item)
        length += 110
    return json.dumps(items, indent=2).encode()[:size]


def records(rng, size):
    # Fixed-layout binary records: compressible, but nothing like text.
    count = size // 16 + 1
    base = rng.getrandbits(32)
    return b"".join(struct.pack("<IIhhf", base + i, rng.getrandbits(10), rng.randint(-300, 300),
                                i & 0xff, rng.random()) for i in range(count))[:size]


def noise(rng, size):
    return rng.randbytes(size)


MAKERS = {"txt": text, "md": text, "log": log, "csv": csv, "json": json_data, "bin": records, "dat": noise}


def entry(name, is_folder=False):
    info = zipfile.ZipInfo(name + ("/" if is_folder else ""), DATE)
    info.external_attr = (0o40755 if is_folder else 0o100644) << 16
    info.compress_type = zipfile.ZIP_STORED if is_folder else zipfile.ZIP_DEFLATED
    return info


def write_many(path, rng, files, folders, smallest, largest):
    with zipfile.ZipFile(path, "w") as archive:
        per_folder = files // folders
        for f in range(folders):
            folder = f"{rng.choice(STEMS).capitalize()} {f:03d}"
            if f % 10 == 0:
                folder = f"group {f // 10}/{folder}"
            archive.writestr(entry(folder, True), b"")
            for i in range(per_folder):
                kind = rng.choice(KINDS)
                data = MAKERS[kind](rng, rng.randint(smallest, largest))
                archive.writestr(entry(f"{folder}/{rng.choice(STEMS)}_{i:04d}.{kind}"), data, compresslevel=6)


def write_big(path, rng):
    megabyte = 1 << 20
    # A pool of text megabytes, reused shuffled: making 150 MB of fresh text would take minutes.
    pool = [text(rng, megabyte) for _ in range(8)] + [log(rng, megabyte) for _ in range(4)]
    with zipfile.ZipFile(path, "w") as archive:
        for n in range(5):
            parts = []
            for _ in range(50):
                roll = rng.random()
                if roll < 0.6:
                    block = bytearray(rng.choice(pool))
                    start = rng.randrange(megabyte)
                    parts.append(bytes(block[start:] + block[:start]))
                elif roll < 0.75:
                    parts.append(records(rng, megabyte))
                else:
                    parts.append(noise(rng, megabyte))
            archive.writestr(entry(f"media/part{n + 1}.dat"), b"".join(parts), compresslevel=6)


def write_tar_from_zip(path, source):
    # The same files as the zip, so that the two formats compare on equal data.
    import tarfile
    import io
    with zipfile.ZipFile(source) as archive, tarfile.open(path, "w:gz", compresslevel=6) as tar:
        for info in archive.infolist():
            entry = tarfile.TarInfo(info.filename.rstrip("/"))
            entry.mtime = 1715947200
            if info.is_dir():
                entry.type = tarfile.DIRTYPE
                entry.mode = 0o755
                tar.addfile(entry)
            else:
                data = archive.read(info)
                entry.size = len(data)
                entry.mode = 0o644
                tar.addfile(entry, io.BytesIO(data))


def write_zip64(path):
    chunk = bytes(1 << 24)
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as archive:
        with archive.open(entry("zeros.bin"), "w", force_zip64=True) as out:
            for _ in range((5 << 30) // len(chunk)):
                out.write(chunk)


def main():
    base = sys.argv[1]
    done = os.path.join(base, ".complete")
    if os.path.exists(done):
        return
    os.makedirs(base, exist_ok=True)
    rng = random.Random(20240517)
    for name, make in (("small.zip", lambda p: write_many(p, rng, 10_000, 100, 512, 8192)),
                       ("big.zip", lambda p: write_big(p, rng)),
                       ("tiny.zip", lambda p: write_many(p, rng, 20_000, 100, 0, 200)),
                       ("small.tar.gz", lambda p: write_tar_from_zip(p, os.path.join(base, "small.zip"))),
                       ("zip64.zip", write_zip64)):
        partial = os.path.join(base, name + ".partial")
        make(partial)
        os.replace(partial, os.path.join(base, name))
    open(done, "w").close()


if __name__ == "__main__":
    main()
