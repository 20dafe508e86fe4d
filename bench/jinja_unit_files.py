#!/usr/bin/env python3
"""The end-to-end generation written for Jinja2: reads the table files of a database folder and
writes one unit per table, "u" + name + ".pas", the same bytes as the template engine writes
from bench/generator.h (UnitFilesScript).

    jinja_unit_files.py DATABASE_FOLDER OUTPUT_FOLDER

The whole process is timed from outside, start-up included, as the command line is.
"""
import os
import struct
import sys

from jinja_units import UNIT, environment

MAGIC = 19640630
VERSION = 0x01000000


class TableFile:
    """One table file: 32-bit little-endian integers and texts of a length byte."""

    def __init__(self, data):
        self.data = data
        self.at = 0

    def int(self):
        (value,) = struct.unpack_from("<i", self.data, self.at)
        self.at += 4
        return value

    def text(self):
        n = self.data[self.at]
        value = self.data[self.at + 1:self.at + 1 + n].decode("latin-1")
        self.at += 1 + n
        return value

    def table(self):
        if self.int() != MAGIC or self.int() != VERSION:
            raise ValueError("not a table file")
        name, kind, label = self.text(), self.text(), self.text()
        self.int()
        columns = [self.column() for _ in range(self.int())]
        refs = []
        for _ in range(self.int()):
            master = self.text()
            refs.append({"table": master,
                         "pairs": [[self.text(), self.text()] for _ in range(self.int())]})
        return {"name": name, "type": kind, "label": label, "columns": columns, "refs": refs}

    def column(self):
        name, kind, label, data_type = self.text(), self.text(), self.text(), self.text()
        size, _width, flags, _precision, _scale = (self.int() for _ in range(5))
        for _ in range(3):
            self.text()  # the lookup table, column and key
        items = [self.text() for _ in range(self.int())]
        return {"name": name, "type": kind, "label": label, "dataType": data_type, "size": size,
                "key": flags & 1, "items": items}


def main():
    folder, output = sys.argv[1], sys.argv[2]
    tables = []
    for entry in sorted(os.scandir(folder), key=lambda e: (e.name.upper(), e.name)):
        if entry.is_file():
            with open(entry.path, "rb") as f:
                tables.append(TableFile(f.read()).table())
    name_width = max([len(t["name"]) for t in tables] +
                     [len(c["name"]) for t in tables for c in t["columns"]] + [0])
    template = environment().from_string(UNIT)
    os.makedirs(output, exist_ok=True)
    for t in tables:
        text = template.render(t=t, name_width=name_width)
        with open(os.path.join(output, "u" + t["name"] + ".pas"), "w", encoding="latin-1",
                  newline="") as f:
            f.write(text)


if __name__ == "__main__":
    main()
