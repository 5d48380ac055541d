#!/usr/bin/env python3
"""Check the Tessaro MSI's database with msiinfo, without installing it.

Usage: check_msi.py MSIINFO MSI VERSION MANUFACTURER UPGRADE_CODE

Prints the package's summary, its tables and its files, then one line per check;
exits 1 when any check fails.
"""
import os
import subprocess
import sys
import tempfile

# What a per-machine package with files, a major upgrade and an icon in Apps & Features needs.
REQUIRED_TABLES = ["Property", "Directory", "Component", "Feature", "FeatureComponents", "File",
                   "Media", "InstallExecuteSequence", "Upgrade", "Icon"]
EXPECTED_FILES = {"Tessaro.scr"} | {"ZUMIK%02d.DAT" % n for n in range(1, 47)}
COMPONENT_64BIT = 256  # msidbComponentAttributes64bit


class Package:
    """An MSI file, read through msiinfo, which writes the streams of an exported table (the
    Icon table's icons) into the current folder: it runs in a scratch folder."""

    def __init__(self, msiinfo, path, scratch):
        self.msiinfo, self.path, self.scratch = msiinfo, os.path.abspath(path), scratch

    def run(self, command, *args):
        return subprocess.run([self.msiinfo, command, self.path, *args], cwd=self.scratch,
                              check=True, capture_output=True, text=True).stdout

    def table(self, name):
        """The rows of a table as dictionaries: msiinfo export prints the column names, their
        types and the table's key before the rows."""
        lines = self.run("export", name).splitlines()
        columns = lines[0].split("\t")
        return [dict(zip(columns, line.split("\t"))) for line in lines[3:]]


def long_name(file_name):
    """File names may be written "SHORT~1.EXT|Long name.ext"."""
    return file_name.split("|")[-1]


def main(msiinfo, msi, version, manufacturer, upgrade_code):
    with tempfile.TemporaryDirectory() as scratch:
        return check(Package(msiinfo, msi, scratch), version, manufacturer, upgrade_code)


def check(package, version, manufacturer, upgrade_code):
    summary = package.run("suminfo")
    tables = set(package.run("tables").split())
    rows = {name: package.table(name) for name in REQUIRED_TABLES + ["CustomAction"] if name in tables}
    files = sorted(long_name(row["FileName"]) for row in rows.get("File", []))
    properties = {row["Property"]: row["Value"] for row in rows.get("Property", [])}
    icons = {row["Name"] for row in rows.get("Icon", [])}
    sequence = {row["Action"] for row in rows.get("InstallExecuteSequence", [])}

    print(summary)
    print("Tables:", " ".join(sorted(tables)))
    print("File table (%d rows):" % len(files), " ".join(files))

    checks = [
        ("the required tables are present and not empty",
         all(rows.get(name) for name in REQUIRED_TABLES)),
        ("the File table lists 47 files: Tessaro.scr and ZUMIK01.DAT to ZUMIK46.DAT",
         len(files) == 47 and set(files) == EXPECTED_FILES),
        ("every component is 64-bit and goes to the 64-bit System32",
         all(int(row["Attributes"]) & COMPONENT_64BIT and row["Directory_"] == "System64Folder"
             for row in rows.get("Component", [])) and bool(rows.get("Component"))),
        ("the package is for x64", any(line.startswith("Template: x64;") for line in summary.splitlines())),
        ("it installs per machine", properties.get("ALLUSERS") == "1"),
        ("product name, version and manufacturer",
         (properties.get("ProductName"), properties.get("ProductVersion"), properties.get("Manufacturer"))
         == ("Tessaro", version, manufacturer)),
        ("the fixed upgrade code, used for a major upgrade",
         properties.get("UpgradeCode") == "{%s}" % upgrade_code
         and any(row["UpgradeCode"] == "{%s}" % upgrade_code for row in rows.get("Upgrade", []))
         and {"FindRelatedProducts", "RemoveExistingProducts"} <= sequence),
        ("Apps & Features shows the product's icon", properties.get("ARPPRODUCTICON") in icons),
        ("no custom actions", not rows.get("CustomAction")),
    ]
    for what, passed in checks:
        print("%-4s %s" % ("ok" if passed else "FAIL", what))
    return 0 if all(passed for _, passed in checks) else 1


if __name__ == "__main__":
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
