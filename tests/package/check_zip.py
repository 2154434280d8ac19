#!/usr/bin/env python3
"""Checks the release zip and the installer: the zip holds exactly README.txt and the 32-bit
Varnox.exe and varnox-cli.exe that were built, with one fixed time stamp and no extra fields;
the programs and the installer carry the project's version in their version resource.

usage: check_zip.py ZIP INSTALLER VARNOX_EXE CLI_EXE VERSION VERSION4
"""
import struct
import sys
import zipfile


def machine(data):
    return struct.unpack_from("<H", data, struct.unpack_from("<I", data, 0x3C)[0] + 4)[0]


def large_address_aware(data):
    # IMAGE_FILE_HEADER.Characteristics, 18 bytes after the machine field.
    header = struct.unpack_from("<I", data, 0x3C)[0] + 4
    return bool(struct.unpack_from("<H", data, header + 18)[0] & 0x0020)


def file_version(data):
    # VS_FIXEDFILEINFO: signature, struct version, then the file version's high and low words.
    at = data.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0:
        return None
    high, low = struct.unpack_from("<II", data, at + 8)
    return "%d.%d.%d.%d" % (high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF)


def main(zip_path, installer, exe, cli_exe, version, version4):
    problems = []
    program = open(exe, "rb").read()
    cli = open(cli_exe, "rb").read()
    with zipfile.ZipFile(zip_path) as archive:
        infos = archive.infolist()
        names = [info.filename for info in infos]
        if names != ["README.txt", "Varnox.exe", "varnox-cli.exe"]:
            problems.append("entries %s" % names)
        if len({info.date_time for info in infos}) != 1 or any(info.extra for info in infos):
            problems.append("entries differ in time or carry extra fields")
        if archive.testzip() is not None:
            problems.append("a damaged entry")
        for name, built in (("Varnox.exe", program), ("varnox-cli.exe", cli)):
            if name in names and archive.read(name) != built:
                problems.append("%s is not the program that was built" % name)
        if "README.txt" in names:
            readme = archive.read("README.txt").decode("ascii")
            if not readme.startswith("Varnox %s " % version) or "\n" in readme.replace("\r\n", ""):
                problems.append("README.txt lacks the version or CRLF line ends")
    for name, data in (("Varnox.exe", program), ("varnox-cli.exe", cli)):
        if machine(data) != 0x14C:
            problems.append("%s is not a 32-bit x86 program" % name)
        if not large_address_aware(data):
            problems.append("%s is not marked large-address-aware" % name)
    for name, data in (("Varnox.exe", program), ("varnox-cli.exe", cli),
                       ("installer", open(installer, "rb").read())):
        if file_version(data) != version4:
            problems.append("%s has version %s, not %s" % (name, file_version(data), version4))
    for problem in problems:
        print("check_zip:", problem)
    if not problems:
        for info in infos:
            print("  %8d  %6d  %04d-%02d-%02d %02d:%02d  %s" % ((info.file_size, info.compress_size)
                  + info.date_time[:5] + (info.filename,)))
    return 1 if problems else 0


if __name__ == "__main__":
    if len(sys.argv) != 7:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
