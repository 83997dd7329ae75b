#!/usr/bin/env python3
"""Builds the update packages the extraction tests unpack.

Run at build time into the test data folder, so that no archive is kept in
git. Every archive is made with the standard zipfile module, except the
encrypted one, which zipfile cannot write: that one is assembled by hand with
the traditional PKWARE cipher.
"""
import os
import struct
import sys
import zipfile
import zlib

DOS_TIME = (2023, 5, 1, 12, 0, 0)
UT_MODIFIED = 1600000000   # 2020-09-13 12:26:40 UTC
UT_ACCESSED = 1500000000   # 2017-07-14 02:40:00 UTC
UT_CREATED = 1400000000    # 2014-05-13 16:53:20 UTC

HOST_DOS = 0
HOST_UNIX = 3


def entry(name, host=HOST_DOS, external=0x20, date_time=DOS_TIME, extra=b""):
    info = zipfile.ZipInfo(name, date_time=date_time)
    info.create_system = host
    info.external_attr = external
    info.compress_type = zipfile.ZIP_DEFLATED
    info.extra = extra
    return info


def ut_block(flags, *times):
    data = struct.pack("<B", flags) + b"".join(struct.pack("<I", t) for t in times)
    return struct.pack("<HH", 0x5455, len(data)) + data


def write(path, entries):
    with zipfile.ZipFile(path, "w") as archive:
        for info, data in entries:
            archive.writestr(info, data)


# Names that try to leave the target folder; each file holds its stored name.
HOSTILE_NAMES = [
    "C:\\Windows\\evil.exe",
    "c:/Windows/evil2.exe",
    "a\\..\\..\\b1.exe",
    "..\\b2.exe",
    "../b3.exe",
    "a/../b4.exe",
    "a\\../b5.exe",
    "a/..\\b6.exe",
    "/../b7.exe",
    "\\..\\..\\b8.exe",
    "x/y/../../../b9.exe",
    "..\\../..\\b10.exe",
    "C:..\\b11.exe",
    "/setup/tool.exe",
    "\\\\server\\share\\unc.exe",
    "nested/deep/er/file.txt",
    "mixed\\sep/file.txt",
]


def names_archive(path):
    entries = [(entry(name), name.encode()) for name in HOSTILE_NAMES]
    entries.append((entry("emptydir/", external=0x10), b""))
    entries.append((entry("../climbdir/", external=0x10), b""))
    write(path, entries)


def attributes_archive(path):
    unix = lambda mode: mode << 16
    write(path, [
        (entry("dos-readonly.txt", external=0x21), b"r"),
        (entry("dos-hidden.txt", external=0x22), b"h"),
        (entry("dos-plain.txt", external=0x20), b"p"),
        (entry("unix-644.txt", HOST_UNIX, unix(0o100644)), b"6"),
        (entry("unix-444.txt", HOST_UNIX, unix(0o100444)), b"4"),
        (entry("unix-dir/", HOST_UNIX, unix(0o040755)), b""),
    ])


def times_archive(path):
    other_block = struct.pack("<HH", 0x7875, 3) + b"\x01\x00\x00"
    write(path, [
        (entry("dos-only.txt"), b"d"),
        (entry("ut-modified.txt", extra=ut_block(1, UT_MODIFIED)), b"m"),
        (entry("ut-all.txt", extra=ut_block(7, UT_MODIFIED, UT_ACCESSED, UT_CREATED)), b"a"),
        (entry("ut-after-other.txt", extra=other_block + ut_block(1, UT_MODIFIED)), b"o"),
    ])


def blocks_archive(path):
    # Several 16384-byte blocks and a short tail, compressed and stored.
    data = bytes((i * 7 + i // 251) & 0xFF for i in range(70001))
    stored = entry("stored.bin")
    stored.compress_type = zipfile.ZIP_STORED
    write(path, [(entry("large.bin"), data), (stored, data[:20000])])


def corrupt_archive(path):
    payload = bytes((i * 31) & 0xFF for i in range(200000))
    write(path, [
        (entry("before.txt"), b"before"),
        (entry("corrupt.bin"), payload),
        (entry("after.txt"), b"after"),
    ])
    with zipfile.ZipFile(path) as archive:
        info = archive.getinfo("corrupt.bin")
    with open(path, "r+b") as f:
        f.seek(info.header_offset + 26)
        name_length, extra_length = struct.unpack("<HH", f.read(4))
        data_start = info.header_offset + 30 + name_length + extra_length
        # Leave the first deflate block intact so the entry fails part-way.
        f.seek(data_start + info.compress_size // 2)
        f.write(b"\xff" * 64)


class ZipCrypto:
    def __init__(self, password):
        self.keys = [0x12345678, 0x23456789, 0x34567890]
        for c in password:
            self._update(c)

    @staticmethod
    def _crc(value, byte):
        return zlib.crc32(bytes([byte]), value ^ 0xFFFFFFFF) ^ 0xFFFFFFFF

    def _update(self, byte):
        k = self.keys
        k[0] = self._crc(k[0], byte)
        k[1] = ((k[1] + (k[0] & 0xFF)) * 134775813 + 1) & 0xFFFFFFFF
        k[2] = self._crc(k[2], k[1] >> 24)

    def encrypt(self, data):
        out = bytearray()
        for byte in data:
            temp = (self.keys[2] | 2) & 0xFFFF
            out.append(byte ^ (((temp * (temp ^ 1)) >> 8) & 0xFF))
            self._update(byte)
        return bytes(out)


def raw_zip(path, members):
    """members: (name, plain bytes, encrypted?[, announced size]) stored
    without compression; the announced uncompressed size may lie."""
    body, central = bytearray(), bytearray()
    dos_time = (DOS_TIME[3] << 11) | (DOS_TIME[4] << 5) | (DOS_TIME[5] // 2)
    dos_date = ((DOS_TIME[0] - 1980) << 9) | (DOS_TIME[1] << 5) | DOS_TIME[2]
    for member in members:
        name, plain, encrypted = member[:3]
        announced = member[3] if len(member) > 3 else len(plain)
        crc = zlib.crc32(plain)
        data = plain
        if encrypted:
            header = bytes(range(11)) + bytes([crc >> 24])
            data = ZipCrypto(b"secret").encrypt(header + plain)
        flag = 1 if encrypted else 0
        offset = len(body)
        encoded = name.encode()
        body += struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, flag, 0, dos_time, dos_date, crc,
                            len(data), announced, len(encoded), 0) + encoded + data
        central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, 20, flag, 0, dos_time, dos_date,
                               crc, len(data), announced, len(encoded), 0, 0, 0, 0, 0x20, offset) + encoded
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(members), len(members), len(central), len(body), 0)
    with open(path, "wb") as f:
        f.write(body + central + end)


def many_entries(path, count):
    """`count` empty files: 10 000 is the most a package may hold."""
    with zipfile.ZipFile(path, "w", zipfile.ZIP_STORED) as archive:
        for i in range(count):
            archive.writestr(zipfile.ZipInfo("e%05d.txt" % i, date_time=DOS_TIME), b"")


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    names_archive(os.path.join(out, "names.zip"))
    attributes_archive(os.path.join(out, "attributes.zip"))
    times_archive(os.path.join(out, "times.zip"))
    blocks_archive(os.path.join(out, "blocks.zip"))
    corrupt_archive(os.path.join(out, "corrupt.zip"))
    raw_zip(os.path.join(out, "encrypted.zip"),
            [("secret.exe", b"MZ installer body", True), ("clear.txt", b"clear", False)])
    many_entries(os.path.join(out, "many-entries.zip"), 10000)
    many_entries(os.path.join(out, "too-many-entries.zip"), 10001)
    # Two entries that announce 300 MiB each: within the limit one by one,
    # over it together.
    raw_zip(os.path.join(out, "too-large.zip"),
            [("installer.exe", b"MZ small", False, 300 * 1024 * 1024),
             ("data.bin", b"small", False, 300 * 1024 * 1024)])
    with open(os.path.join(out, "not-a-zip.zip"), "wb") as f:
        f.write(b"This is a text file and no archive.\r\n" * 20)


if __name__ == "__main__":
    main()
