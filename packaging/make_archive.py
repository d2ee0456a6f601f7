"""Writes the Windows archive with the same bytes for the same inputs: entries
in the order given, one fixed date, plain MS-DOS attributes, no extra fields.

usage: make_archive.py ARCHIVE EPOCH VERSION README NAME=FILE...
The README (a text file with @VERSION@ in it) goes in as README.txt with
Windows line ends; each NAME=FILE pair adds FILE under the name NAME.
"""
import os
import sys
import time
import zipfile

# Zip dates cannot go below 1980.
EARLIEST_ZIP_TIME = 315532800
DOS_SYSTEM = 0
# A plain file as Windows zip tools store it (zero would be replaced by a Unix mode).
FILE_ATTRIBUTE_ARCHIVE = 0x20


def entry(name, epoch):
    info = zipfile.ZipInfo(name, time.gmtime(max(epoch, EARLIEST_ZIP_TIME))[:6])
    info.compress_type = zipfile.ZIP_DEFLATED
    info.create_system = DOS_SYSTEM
    info.external_attr = FILE_ATTRIBUTE_ARCHIVE
    return info


def readme_text(path, version):
    with open(path, encoding="utf-8") as source:
        text = source.read().replace("@VERSION@", version)
    return text.replace("\n", "\r\n").encode("utf-8")


def main(archive_path, epoch, version, readme, *pairs):
    epoch = int(epoch)
    partial = archive_path + ".partial"
    with zipfile.ZipFile(partial, "w", compresslevel=9) as archive:
        archive.writestr(entry("README.txt", epoch), readme_text(readme, version))
        for pair in pairs:
            name, path = pair.split("=", 1)
            with open(path, "rb") as source:
                archive.writestr(entry(name, epoch), source.read())
    os.replace(partial, archive_path)


if __name__ == "__main__":
    if len(sys.argv) < 5:
        sys.exit(__doc__)
    main(*sys.argv[1:])
