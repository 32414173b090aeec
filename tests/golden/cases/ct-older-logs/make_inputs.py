#!/usr/bin/env python3
"""Writes this folder's hand-built CT logs: in-ct9.bin (version 9.37, CQ WW, UTC flag off) and
in-old.bin (before version 8, Field Day, log mode SSB). Run it from this folder."""
import struct

Y2K = 946684800  # 2000-01-01 00:00 UTC


def put(buffer, at, data):
    buffer[at:at + len(data)] = data


def ct9():
    header = bytearray(4096)
    put(header, 0, b"CQWW CW 2000")
    put(header, 32, b"CT 9.37")
    put(header, 48, b"K1CT9")
    put(header, 80, b"Ann Operator")
    put(header, 502, b"5")
    header[263] = 13  # FT1000
    records = b""
    for call, band, mode, word, zone, hz, minute in [
            (b"DL1AB", 4, 1, 59, b"14", 14025000, 0),
            (b"JA1XYZ", 2, 2, 579, b"25", 3790000, 7),
            (b"VK2ABC", 5, 1, 599, b"30", 21012300, 12)]:
        record = bytearray(50)
        put(record, 0, call)
        put(record, 16, zone)
        record[24], record[25] = band, mode
        put(record, 28, struct.pack("<h", word))
        put(record, 34, struct.pack("<I", hz))
        put(record, 42, struct.pack("<i", Y2K + minute * 60 + 25200))
        records += bytes(record)
    return bytes(header) + records


def old():
    header = bytearray(398)
    put(header, 0, b"FD 1999")
    put(header, 20, b"W1OLD")
    put(header, 34, b"Bob Oldtimer")
    put(header, 131, b"CT")
    put(header, 162, b"FD")
    put(header, 167, b"SSB")
    put(header, 171, b"MS")
    put(header, 178, b"TS940")
    put(header, 184, b"UTC")
    put(header, 363, bytes([0, 2 << 3, 0]))  # two transmitters, category index 0 (A)
    records = b""
    for call, band_mode, count, letter, section, minute in [
            (b"W2AA", 0x03, 3, b"A", b"ENY", 0),
            (b"K3BB", 0x15, 1, b"D", b"EPA", 5),
            (b"N4CC/M", 0x00, 0, b"\0", b"NFL", 9)]:
        record = bytearray(37)
        record[0], record[1] = count, letter[0]
        put(record, 10, struct.pack("<i", Y2K - 86400 + minute * 60))
        record[15] = band_mode
        put(record, 16, call)
        put(record, 30, section)
        records += bytes(record)
    return bytes(header) + records


with open("in-ct9.bin", "wb") as f:
    f.write(ct9())
with open("in-old.bin", "wb") as f:
    f.write(old())
