#!/usr/bin/env python3
"""Writes the IFEG delta tables IFG16.bin and IFG18.bin beside this script.

A delta table has 512 little-endian signed 32-bit entries. Entries 0..3 are never used
and hold 0. Entries 4..19 are fixed by the format (FIXED_16 and FIXED_18 below). Entries
20..511 (492 values) are ours, made by this rule:

  1. Every step (dr, dg, db) with each channel change in -4..4, not all zero, gives the
     packed difference dr * R + dg * G + db * B, where (R, G, B) is one step of red, green
     and blue: (2048, 32, 1) for RGB565, (4096, 64, 1) for RGB666. Channel changes this
     small never carry into the next channel's field, so every step has its own value.
  2. Steps are ordered by size: total change |dr| + |dg| + |db| first, then the largest
     single channel change, then the absolute packed value.
  3. Each size comes as a plus/minus pair, the positive value first.
  4. Values already among entries 4..19 are skipped; the first 492 that remain fill
     entries 20..511, so early (short-code) entries hold the smallest colour changes.

IFG16.bin holds 1024 entries: 0..3 zero, 4..511 the first 16-bit table, 512..1019 the
same table with every value doubled (entry 512 + (i - 4) = 2 * entry i), and 1020..1023
holding 2, -1, 4, 6. IFG18.bin holds the 512 entries of the 18-bit table.

The outputs are committed; the build only embeds them. Run this script again only to
change the rule, and check that the tests still pass.
"""
import os
import struct

FIXED_16 = [-2048, 2048, -32, 32, 2080, -2080, -1, 1,
            -33, 33, -64, 64, -4096, 4096, 2112, -2112]
FIXED_18 = [-4096, 4096, -64, 64, -1, 1, 4160, -4160,
            -65, 65, 4161, -4161, -8192, 4097, -4097, 8192]
STEP_16 = (2048, 32, 1)
STEP_18 = (4096, 64, 1)
RANGE = range(-4, 5)


def differences(fixed, step):
    """The 508 values of entries 4..511."""
    sized = []
    for dr in RANGE:
        for dg in RANGE:
            for db in RANGE:
                if dr == dg == db == 0:
                    continue
                value = dr * step[0] + dg * step[1] + db * step[2]
                size = (abs(dr) + abs(dg) + abs(db), max(abs(dr), abs(dg), abs(db)), abs(value))
                sized.append((size, -value, value))  # -value puts the positive one first
    sized.sort()
    values = list(fixed)
    taken = set(fixed)
    for _, _, value in sized:
        if len(values) == 508:
            break
        if value not in taken:
            values.append(value)
            taken.add(value)
    assert len(values) == 508
    assert len(set(values)) == 508 and 0 not in values
    return values


def write(path, entries):
    with open(path, "wb") as f:
        f.write(b"".join(struct.pack("<i", v) for v in entries))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    t16 = differences(FIXED_16, STEP_16)
    t18 = differences(FIXED_18, STEP_18)
    ifg16 = [0, 0, 0, 0] + t16 + [2 * v for v in t16] + [2, -1, 4, 6]
    ifg18 = [0, 0, 0, 0] + t18
    assert len(ifg16) == 1024 and len(ifg18) == 512
    write(os.path.join(here, "IFG16.bin"), ifg16)
    write(os.path.join(here, "IFG18.bin"), ifg18)


if __name__ == "__main__":
    main()
