"""Prints every record of a dBase table as dbfread reads it: one line a record, the values
separated by tabs (text as read, numbers as Python writes them, dates as ISO dates, None for an
empty value). Run with Debian's python3, which has python3-dbfread."""
import sys

import dbfread

table = dbfread.DBF(sys.argv[1], char_decode_errors="strict", ignore_missing_memofile=True)
print(len(table.fields), table.header.numrecords, table.header.headerlen, table.header.recordlen)
for record in table:
    values = []
    for value in record.values():
        values.append(value.isoformat() if hasattr(value, "isoformat") else repr(value)
                      if not isinstance(value, str) else value)
    print("\t".join(values))
