#!/usr/bin/python3
# Writes the old-table fixtures with an independent xBase writer, the
# python3-dbf module of Debian (apt-get install python3-dbf):
#
#   fox/     QUILLRY.DBF + QUILLRY.FPT, FoxPro 2 (block numbers as digits),
#            64-byte memo blocks
#   vfp/     the same records as a Visual FoxPro table (binary block numbers),
#            512-byte memo blocks
#   empty/   a FoxPro table with no records
#
# Run from this folder: ./make-old-tables.py
import os
import shutil

import dbf

RTF_LONG = ("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 "
            + "Dear diary, today was a long day. " * 12
            + "Caf\u00e9.\\par}")
RTF_SHORT = "{\\rtf1\\ansi Short entry.\\par}"
RTF_LATER = "{\\rtf1\\ansi The later record of the same date.\\par}"

# (DATE, ENTRY, deleted)
RECORDS = [
    ("19990305", RTF_LONG, False),
    ("19990306", "{\\rtf1\\ansi deleted\\par}", True),
    ("", "{\\rtf1\\ansi no date\\par}", False),
    ("../x1234", "{\\rtf1\\ansi path in the date\\par}", False),
    ("1999\x0103", "{\\rtf1\\ansi control character\\par}", False),
    ("19991305", "{\\rtf1\\ansi month thirteen\\par}", False),
    ("20000101", RTF_SHORT, False),
    ("2000", "{\\rtf1\\ansi four digits\\par}", False),
    ("20000102", "", False),
    ("20000101", RTF_LATER, False),
]


def write(folder, kind, memo_size, records):
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    base = os.path.join(folder, "quillry")
    table = dbf.Table(base, "DATE C(8); ENTRY M", dbf_type=kind, memo_size=memo_size,
                      codepage="cp1252")
    table.open(dbf.READ_WRITE)
    for date, entry, deleted in records:
        table.append((date, entry))
        if deleted:
            dbf.delete(table[-1])
    table.close()
    os.rename(base + ".dbf", os.path.join(folder, "QUILLRY.DBF"))
    os.rename(base + ".fpt", os.path.join(folder, "QUILLRY.FPT"))


write("fox", "fp", 64, RECORDS)
write("vfp", "vfp", 512, RECORDS)
write("empty", "fp", 64, [])
