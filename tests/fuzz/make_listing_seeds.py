#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Remakes tests/fuzz/listing-seeds from the test archives and the small zips
of the zip corpus: each is the archive and one byte more, the byte that makes
the listing fuzzer try it as its own format (zips as any other, in turn).

usage: make_listing_seeds.py"""
import os
import shutil

here = os.path.dirname(os.path.abspath(__file__))
data = os.path.join(here, "..", "data")
seeds = os.path.join(here, "listing-seeds")
LARGEST = 16 * 1024
# The order of the fuzzer's formats besides zip.
FORMATS = {".tar.gz": 0, ".tar.xz": 0, ".tar": 0, ".7z": 1, ".rar": 2, ".iso": 3, ".cpio": 4, ".gz": 5}

shutil.rmtree(seeds, ignore_errors=True)
os.makedirs(seeds)
archives = os.path.join(data, "archives")
sources = [os.path.join(archives, name) for name in sorted(os.listdir(archives))
           if os.path.isfile(os.path.join(archives, name))]
for folder, _, names in sorted(os.walk(os.path.join(data, "zipcorpus"))):
    sources += [os.path.join(folder, name) for name in sorted(names)
                if not name.endswith((".md", ".tsv", ".notzip"))]
# Archives that extraction refuses, last: the turns of those above stay.
refused = os.path.join(archives, "refused")
sources += [os.path.join(refused, name) for name in sorted(os.listdir(refused))]
turn = 0
for source in sources:
    if os.path.getsize(source) > LARGEST:
        continue
    name = os.path.basename(source)
    selector = next((code for suffix, code in FORMATS.items() if name.endswith(suffix)), None)
    if selector is None:
        selector = turn % 6
        turn += 1
    label = os.path.relpath(source, data).replace(os.sep, "-")
    with open(source, "rb") as archive, open(os.path.join(seeds, label), "wb") as seed:
        seed.write(archive.read() + bytes([selector]))
