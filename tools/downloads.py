#!/usr/bin/env python3
"""The steps that make Tessaro's downloads, run by `cmake --build --preset mingw --target package`
(cmake/package.cmake). The same commit makes the same bytes in any folder at any time: every time
in them is the commit's, and nothing in them names the folder they were made in.

  downloads.py settings STAMP SOURCE_DIR
      Writes to STAMP what the downloads depend on beyond their files: the commit's time
      (SOURCE_DATE_EPOCH, else the time of the checkout's last commit) and how they are signed
      (the environment, below). STAMP is rewritten only when that changed, so that make rebuilds
      the downloads only then. Says once when they will not be signed.
  downloads.py sign IN OUT DOWNLOAD...
      OUT is IN signed, or a copy of IN when no certificate is named. A Tessaro.scr may instead
      get a published signature attached (TESSARO_PROGRAM_SIGNATURE). When that fails, OUT and
      every DOWNLOAD are removed: no half-signed download is left.
  downloads.py zip ZIP STAMP FOLDER FILE...
      A ZIP holding FOLDER/ and each FILE in it, in this order, all with the commit's time.
  downloads.py stamp-msi MSI STAMP
      wixl writes the time of the build and a random package code into an MSI's summary, and the
      times of the files into its cabinet: they become the commit's time, and the code one made
      from the package's content.
  downloads.py sums SUMS FILE...
      SHA256SUMS, as sha256sum writes it, of the files.

The environment names how the downloads are signed with Authenticode (SHA-256, osslsigncode):
  TESSARO_SIGNING_CERT           a PKCS#12 file with the certificate and its key
  TESSARO_SIGNING_PASSWORD_FILE  a file holding its password (optional)
  TESSARO_TIMESTAMP_URL          an RFC 3161 timestamp server (optional)
  TESSARO_PROGRAM_SIGNATURE      the signature of a published Tessaro.scr, to attach to the
                                 program built here rather than signing it: a rebuild of a
                                 signed release (README.md, Checking a download)
"""

import datetime
import hashlib
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import uuid
import zipfile
from pathlib import Path

SIGNING_VARIABLES = ["TESSARO_SIGNING_CERT", "TESSARO_SIGNING_PASSWORD_FILE", "TESSARO_TIMESTAMP_URL",
                     "TESSARO_PROGRAM_SIGNATURE"]
# A ZIP cannot hold an earlier time.
FIRST_ZIP_TIME = 315532800  # 1980-01-01


def fail(message):
    sys.exit(f"Tessaro downloads: {message}")


def digest_of_file(path):
    try:
        return hashlib.sha256(Path(path).read_bytes()).hexdigest()
    except OSError as error:
        fail(f"cannot read {path}: {error.strerror}")


# --- settings ----------------------------------------------------------------------------------

def commit_time(source_dir):
    if "SOURCE_DATE_EPOCH" in os.environ:
        return int(os.environ["SOURCE_DATE_EPOCH"])
    try:
        last = subprocess.run(["git", "-C", source_dir, "log", "-1", "--format=%ct"],
                              capture_output=True, text=True, check=True).stdout.strip()
        return int(last)
    except (OSError, subprocess.CalledProcessError, ValueError):
        print("Tessaro downloads: not a git checkout and no SOURCE_DATE_EPOCH: their times are 1 January 1980")
        return FIRST_ZIP_TIME


def settings(stamp, source_dir):
    values = {"epoch": max(commit_time(source_dir), FIRST_ZIP_TIME)}
    for name in SIGNING_VARIABLES:
        value = os.environ.get(name)
        if value:
            # A file's content counts: another certificate under the same name signs anew.
            values[name] = [value, digest_of_file(value)] if not name.endswith("_URL") else value
    if "TESSARO_SIGNING_CERT" not in values:
        unsigned = "the MSI is" if "TESSARO_PROGRAM_SIGNATURE" in values else "the downloads are"
        print(f"Tessaro downloads: {unsigned} not signed, since TESSARO_SIGNING_CERT names no certificate")
    text = json.dumps(values, indent=1, sort_keys=True) + "\n"
    stamp = Path(stamp)
    if not stamp.exists() or stamp.read_text() != text:
        stamp.write_text(text)


def epoch_of(stamp):
    return json.loads(Path(stamp).read_text())["epoch"]


# --- signing -----------------------------------------------------------------------------------

def osslsigncode(*arguments):
    try:
        return subprocess.run(["osslsigncode", *arguments], capture_output=True, text=True)
    except OSError:
        fail("osslsigncode is needed to sign the downloads (Debian's package osslsigncode)")


def message_digests(path):
    """The digest a file's signature holds and the digest of the file itself, as osslsigncode
    reads them; both leave the signature out."""
    output = osslsigncode("verify", "-in", str(path)).stdout
    # A program's is called its message digest, an MSI's its DigitalSignature.
    found = [re.search(rf"{which} (message digest|DigitalSignature)\s*:\s*([0-9A-F]+)", output)
             for which in ("Current", "Calculated")]
    return tuple(match and match.group(2) for match in found)


def signed_copy(source, target):
    """source signed into target; what went wrong, or None."""
    certificate = os.environ.get("TESSARO_SIGNING_CERT")
    attached = os.environ.get("TESSARO_PROGRAM_SIGNATURE") if source.suffix == ".scr" else None
    if attached:
        # osslsigncode checks the attached signature's chain too, which a rebuild need not trust:
        # what counts is that it signs these very bytes.
        osslsigncode("attach-signature", "-sigin", attached, "-in", str(source), "-out", str(target))
        current, calculated = message_digests(target) if target.exists() else (None, None)
        if not current or current != calculated:
            return f"the signature in {attached} is not of the {source.name} built here"
        return None
    if not certificate:
        shutil.copyfile(source, target)
        return None
    command = ["sign", "-pkcs12", certificate, "-h", "sha256", "-n", "Tessaro"]
    if os.environ.get("TESSARO_SIGNING_PASSWORD_FILE"):
        command += ["-readpass", os.environ["TESSARO_SIGNING_PASSWORD_FILE"]]
    if os.environ.get("TESSARO_TIMESTAMP_URL"):
        command += ["-ts", os.environ["TESSARO_TIMESTAMP_URL"]]
    result = osslsigncode(*command, "-in", str(source), "-out", str(target))
    if result.returncode != 0 or not target.exists():
        said = (result.stdout + result.stderr).strip().splitlines()[-3:]
        return (f"cannot sign {source.name} with {certificate} (a wrong certificate or password?): "
                + " / ".join(said))
    return None


def sign(source, target, downloads):
    source, target = Path(source), Path(target)
    partial = target.with_name(target.name + ".partial")
    partial.unlink(missing_ok=True)
    problem = signed_copy(source, partial)
    if problem:
        for path in [partial, target, *map(Path, downloads)]:
            path.unlink(missing_ok=True)
        fail(problem + "; no download was made")
    partial.replace(target)


# --- the ZIP -----------------------------------------------------------------------------------

def make_zip(archive, stamp, folder, files):
    when = datetime.datetime.fromtimestamp(epoch_of(stamp), datetime.timezone.utc).timetuple()[:6]
    partial = Path(archive + ".partial")
    with zipfile.ZipFile(partial, "w") as zip_file:
        def entry(name, attributes):
            info = zipfile.ZipInfo(name, when)
            info.create_system = 0  # MS-DOS attributes, as Windows' own ZIPs have
            info.external_attr = attributes
            info.compress_type = zipfile.ZIP_STORED if name.endswith("/") else zipfile.ZIP_DEFLATED
            return info
        zip_file.writestr(entry(folder + "/", 0x10), b"")  # a directory
        for file in files:
            zip_file.writestr(entry(f"{folder}/{Path(file).name}", 0x20), Path(file).read_bytes())
    partial.replace(archive)


# --- the MSI -----------------------------------------------------------------------------------

SUMMARY_STREAM = "\x05SummaryInformation"
PID_REVISION_NUMBER = 9  # the package code, "{XXXXXXXX-...}"
PID_CREATE_DTM = 12
PID_LASTSAVE_DTM = 13
VT_LPSTR = 30
VT_FILETIME = 64
END_OF_CHAIN = 0xFFFFFFFE
PACKAGE_CODE_NAMESPACE = uuid.UUID("6f1a3c0e-5b7d-4e21-9c4a-2d8e0b7f9a31")  # Tessaro's own


class CompoundFile:
    """Just enough of the compound file format, which an MSI is, to rewrite bytes of its streams
    in place."""

    def __init__(self, data):
        if data[:8] != bytes.fromhex("d0cf11e0a1b11ae1"):
            fail("not an MSI")
        self.data = data
        self.sector = 1 << struct.unpack_from("<H", data, 0x1E)[0]
        self.mini_sector = 1 << struct.unpack_from("<H", data, 0x20)[0]
        (fat_sectors, self.directory_start) = struct.unpack_from("<II", data, 0x2C)
        (self.mini_cutoff, self.mini_fat_start) = struct.unpack_from("<II", data, 0x38)
        (difat_next, difat_count) = struct.unpack_from("<II", data, 0x44)
        # The first 109 FAT sectors are listed in the header, the rest in a chain of DIFAT sectors.
        fat_sectors_at = list(struct.unpack_from("<109I", data, 0x4C))
        per_difat = self.sector // 4 - 1
        for _ in range(difat_count):
            fat_sectors_at += struct.unpack_from(f"<{per_difat}I", data, self.offset(difat_next))
            (difat_next,) = struct.unpack_from("<I", data, self.offset(difat_next) + per_difat * 4)
        self.fat = self.table(fat_sectors_at[:fat_sectors])

    def offset(self, sector):
        return (sector + 1) * self.sector

    def table(self, sectors):
        entries = []
        for sector in sectors:
            entries += struct.unpack_from(f"<{self.sector // 4}I", self.data, self.offset(sector))
        return entries

    def chain(self, start, table):
        sectors = []
        while start != END_OF_CHAIN:
            if start >= len(table) or len(sectors) > len(table):
                fail("a broken sector chain in the MSI")
            sectors.append(start)
            start = table[start]
        return sectors

    def streams(self):
        """Each stream's name, first sector and size."""
        directory = b"".join(self.data[self.offset(s):self.offset(s) + self.sector]
                             for s in self.chain(self.directory_start, self.fat))
        entries = [directory[i:i + 128] for i in range(0, len(directory), 128)]
        (self.root_start,) = struct.unpack_from("<I", entries[0], 0x74)
        for entry in entries:
            (name_bytes, kind) = struct.unpack_from("<HB", entry, 0x40)
            if kind == 2:  # a stream
                (start, size) = struct.unpack_from("<IQ", entry, 0x74)
                yield entry[:max(name_bytes - 2, 0)].decode("utf-16-le", "replace"), start, size

    def offsets(self, start, size, limit):
        """The file offset of each of the first limit bytes of a stream."""
        count = min(size, limit)
        if size >= self.mini_cutoff:
            sectors = self.chain(start, self.fat)[:count // self.sector + 1]
            return [self.offset(s) + i for s in sectors for i in range(self.sector)][:count]
        # Small streams lie in mini sectors inside the root entry's stream.
        mini_stream = [self.offset(s) for s in self.chain(self.root_start, self.fat)]
        mini_fat = self.table(self.chain(self.mini_fat_start, self.fat))
        per_sector = self.sector // self.mini_sector
        return [mini_stream[m // per_sector] + (m % per_sector) * self.mini_sector + i
                for m in self.chain(start, mini_fat) for i in range(self.mini_sector)][:count]

    def read(self, offsets):
        return bytearray(self.data[o] for o in offsets)

    def write(self, offsets, content):
        for offset, byte in zip(offsets, content):
            self.data[offset] = byte


def summary_values(stream):
    """Where each summary property's value (after its type) starts in the stream, by id."""
    (section,) = struct.unpack_from("<I", stream, 44)
    (_, count) = struct.unpack_from("<II", stream, section)
    values = {}
    for i in range(count):
        (pid, at) = struct.unpack_from("<II", stream, section + 8 + 8 * i)
        (vt,) = struct.unpack_from("<I", stream, section + at)
        values[pid] = (vt, section + at + 4)
    return values


def dos_time(epoch):
    t = datetime.datetime.fromtimestamp(epoch, datetime.timezone.utc)
    return ((t.year - 1980) << 9 | t.month << 5 | t.day, t.hour << 11 | t.minute << 5 | t.second // 2)


def stamp_cabinet(package, offsets, epoch):
    """The cabinet keeps the time of each file it holds: the time its file had when it was built."""
    cabinet = package.read(offsets)
    (first_file,) = struct.unpack_from("<I", cabinet, 16)
    (files,) = struct.unpack_from("<H", cabinet, 28)
    at = first_file
    for _ in range(files):
        struct.pack_into("<HH", cabinet, at + 10, *dos_time(epoch))
        at = cabinet.index(b"\0", at + 16) + 1  # after the file's name
    package.write(offsets, cabinet)


def stamp_msi(msi, stamp):
    epoch = epoch_of(stamp)
    package = CompoundFile(bytearray(Path(msi).read_bytes()))
    summary = None
    for name, start, size in package.streams():
        if name == SUMMARY_STREAM:
            summary = package.offsets(start, size, size)
        elif package.read(package.offsets(start, size, 4)) == b"MSCF":
            stamp_cabinet(package, package.offsets(start, size, 64 * 1024), epoch)
    if summary is None:
        fail(f"{msi} has no summary information")
    stream = package.read(summary)
    values = summary_values(stream)
    times = [values.get(pid, (None, 0)) for pid in (PID_CREATE_DTM, PID_LASTSAVE_DTM)]
    code_type, code_at = values.get(PID_REVISION_NUMBER, (None, 0))
    if any(vt != VT_FILETIME for vt, _ in times) or code_type != VT_LPSTR or stream[code_at:code_at + 4] != b"\x27\0\0\0":
        fail(f"{msi} has not the summary that wixl writes")
    filetime = (epoch + 11644473600) * 10_000_000  # 100 ns since 1601
    for _, at in times:
        struct.pack_into("<Q", stream, at, filetime)

    def write_code(code):
        struct.pack_into("38s", stream, code_at + 4, code.encode("ascii"))
        package.write(summary, stream)

    # The code is that of everything else: the package with the code's place blanked.
    write_code("{" + "0" * 36 + "}")
    code = uuid.uuid5(PACKAGE_CODE_NAMESPACE, hashlib.sha256(package.data).hexdigest())
    write_code("{" + str(code).upper() + "}")
    Path(msi).write_bytes(package.data)


# --- SHA256SUMS --------------------------------------------------------------------------------

def sums(target, files):
    Path(target).write_text("".join(f"{digest_of_file(f)}  {Path(f).name}\n" for f in files))


def main(argv):
    command, arguments = (argv[1], argv[2:]) if len(argv) > 1 else (None, [])
    if command == "settings" and len(arguments) == 2:
        settings(*arguments)
    elif command == "sign" and len(arguments) >= 2:
        sign(arguments[0], arguments[1], arguments[2:])
    elif command == "zip" and len(arguments) >= 3:
        make_zip(arguments[0], arguments[1], arguments[2], arguments[3:])
    elif command == "stamp-msi" and len(arguments) == 2:
        stamp_msi(*arguments)
    elif command == "sums" and len(arguments) >= 1:
        sums(arguments[0], arguments[1:])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
