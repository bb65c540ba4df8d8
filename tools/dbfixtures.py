#!/usr/bin/env python3
"""Assembles tree-database files (.dbd, .dbi) byte by byte from the format's
tables, independent of the player's writer: children stored before parents,
gaps, equal positions, an orphan parent, a cycle, surplus and missing values,
duplicate ids, a wrong magic, and damaged files. With --table, table-format
pairs as one input each (u32 store length, store, catalogue): good rows and
damaged rows, offsets and catalogues.

usage: dbfixtures.py OUTDIR
       dbfixtures.py --table OUTDIR
"""
import os
import struct
import sys

DBD_MAGIC = 0x02DA5B0A
DBI_MAGIC = 0x0059B844
NONE = 0x7FFFFFFF


def s(text):
    b = text.encode("cp1252")
    return struct.pack("<H", len(b)) + b


def dbd(fields, cats, data, ents, magic=DBD_MAGIC, counters=(100, 100, 100)):
    out = struct.pack("<IHI", magic, 0, 0)
    out += struct.pack("<h", len(fields)) + b"".join(s(f) + struct.pack("<HB", 0xFFFF, 0) for f in fields)
    out += struct.pack("<h", 0) + struct.pack("<III", *counters)
    out += struct.pack("<i", len(cats))
    for cid, parent, name in cats:
        out += struct.pack("<iiIB", cid, parent, 0, 0) + s(name) + s("")
    out += struct.pack("<i", len(data))
    for did, name, values in data:
        out += struct.pack("<iI", did, 1) + s(name) + struct.pack("<h", len(values)) + b"".join(s(v) for v in values)
    out += struct.pack("<i", len(ents))
    for eid, cat, did, is_cat, pos, pic in ents:
        out += struct.pack("<iiiBiHiii", eid, cat, did, is_cat, pos, 3, pic, NONE, NONE)
    return out


def dbi(records):
    out = struct.pack("<IIi", DBI_MAGIC, 0, len(records))
    for rid, kind, text in records:
        # The four actions, the font and the present bytes are left out: a
        # damaged record the reader must survive.
        out += struct.pack("<iIHII", rid, 0, kind, 0, 0) + s(text) + s("")
    return out


def table_head(fields):
    return b"DBD\0" + struct.pack("<hhI", fields, 1, 0)


def row(cols, length=None):
    cols = list(cols) + [""] * (33 - len(cols))
    body = b"".join(struct.pack("<I", len(c.encode("cp1252"))) + c.encode("cp1252") for c in cols)
    return struct.pack("<i", len(body) if length is None else length) + body


def key(text, offset):
    return text.encode("cp1252").ljust(64, b"\0") + struct.pack("<IIBB", offset, 0, 0, 0)


def table_pair(fields, rows, tree, next_number=100):
    """rows: list of row bytes laid after the store header; tree: list of
    (category, cat_row, [(subcategory, sub_row, [(key, key_row)])]) where a
    row is an index into rows or None."""
    store = table_head(fields)
    offsets = []
    for r in rows:
        offsets.append(len(store))
        store += r
    off = lambda i: 0 if i is None else (offsets[i] if i >= 0 else -i)
    cat = table_head(fields) + struct.pack("<I", next_number)
    cat += struct.pack("<I", len(tree)) + key("", 0)
    for name, crow, subs in tree:
        cat += struct.pack("<I", len(subs)) + key(name, off(crow))
        for sname, srow, keys in subs:
            cat += struct.pack("<I", len(keys)) + key(sname, off(srow))
            for kname, krow in keys:
                cat += key(kname, off(krow))
    return struct.pack("<I", len(store)) + store + cat


def table_main(outdir):
    os.makedirs(outdir, exist_ok=True)
    good = row(["A", "S", "K", "eins", "zwei"])
    files = {
        "good.pair": table_pair(2, [row(["A", "", "", "kat"]), good],
                                [("A", 0, [("S", None, [("K", 1), ("L", None)])]), ("B", None, [])]),
        "bad_rows.pair": table_pair(40, [row(["A"], length=-1), row(["A"], length=0x7FFFFFF0),
                                         good[:4] + good[4:20], row(["A", "S", "K", "x" * 300])[:200]],
                                    [("A", 0, [("S", 1, [("K", 2), ("L", 3), ("M", -1000000)])])]),
        "long_row.pair": table_pair(1, [row(["A", "", "", "x" * 3000])], [("A", 0, [])]),
        "huge_counts.pair": struct.pack("<I", 12) + table_head(3) + table_head(3) + struct.pack("<II", 0, 0x7FFFFFFF),
    }
    for name, content in files.items():
        with open(os.path.join(outdir, name), "wb") as f:
            f.write(content)


def main():
    if sys.argv[1] == "--table":
        return table_main(sys.argv[2])
    outdir = sys.argv[1]
    os.makedirs(outdir, exist_ok=True)
    data = [(7, "Faust", ["Goethe", "1808", "surplus"]), (8, "Lenz", ["Büchner"])]
    files = {
        "children_first.dbd": dbd(["Autor", "Jahr"], [(1, -1, "A"), (2, 1, "B"), (3, 2, "C")], data,
                                  [(12, 3, 7, 0, -1, NONE), (11, 3, -1, 1, -1, NONE),
                                   (10, 2, -1, 1, -1, NONE), (9, 1, -1, 1, -1, NONE)]),
        "gaps_equal.dbd": dbd(["F"], [(1, -1, "A")], data,
                              [(0, 1, -1, 1, -1, NONE), (1, 1, 7, 0, 0, NONE), (2, 1, 8, 0, 0, NONE),
                               (3, 1, 7, 0, 5, NONE), (4, 1, 8, 0, 0x7FFFFFF0, NONE)]),
        "orphan_cycle.dbd": dbd([], [(1, 2, "A"), (2, 1, "B"), (3, 99, "Orphan")], data,
                                [(0, 1, -1, 1, -1, NONE), (1, 2, -1, 1, -1, NONE), (2, 3, -1, 1, -1, NONE),
                                 (3, 1, 8, 0, -1, NONE)]),
        "duplicates.dbd": dbd(["F"], [(1, -1, "A"), (1, -1, "A2")], data + [(7, "Dup", [])],
                              [(0, 1, -1, 1, -1, NONE), (0, 1, 7, 0, -1, NONE), (5, 1, -1, 1, -1, NONE)]),
        "wrong_magic.dbd": dbd([], [(1, -1, "A")], [], [(0, 1, -1, 1, -1, NONE)], magic=DBD_MAGIC + 1),
        "huge_counts.dbd": struct.pack("<IHIhhIIIi", DBD_MAGIC, 0, 0, 0x7FFF, 0, 0, 0, 0, 0x7FFFFFFF),
        "damaged.dbi": dbi([(1, 1, "pic"), (2, 0, "act")]),
    }
    whole = files["children_first.dbd"]
    files["truncated.dbd"] = whole[: len(whole) - 9]
    for name, content in files.items():
        with open(os.path.join(outdir, name), "wb") as f:
            f.write(content)


if __name__ == "__main__":
    main()
