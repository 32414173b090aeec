#!/usr/bin/env python3
"""Make data/cqww.cty from a country list in the cty.dat form.

A cty.dat record is eight header fields each ended by ':'
    Name: CQ zone: ITU zone: Continent: Latitude: Longitude: UTC offset: Primary prefix:
followed by comma-separated prefixes ending with ';'. A prefix may carry modifiers:
(n) CQ zone, [n] ITU zone, <lat/long>, {continent}, ~UTC offset~; a leading '=' marks an
exact call rather than a prefix; a leading '*' on the primary prefix marks an entity that
counts only for the WAE list.

cqww.cty holds one line per country, "Name: zone: primary: prefixes;", with further
prefixes on continuation lines that begin with '&'. The mapping is:
  * modifiers for ITU zone, continent, position and UTC offset are dropped;
  * exact calls are kept as prefixes (the '=' dropped) where they change the answer: the
    longest-prefix look-up finds a whole call before any shorter prefix of it. An exact call
    whose country and zone its prefixes give anyway is left out, because as a prefix it would
    also catch longer calls that begin with it;
  * a prefix or call whose CQ zone differs from its country's goes on an extra line of the
    same country (same name and primary prefix) that carries that zone;
  * the WAE-only entities are kept (CQ WW counts them as countries), their '*' dropped;
  * the version markers (=VERSION, =VERyyyymmdd) are left out;
  * primary prefixes K and KL become W and KL7, the names the log formats compare with;
  * a prefix or call that two countries list goes to the WAE-only one when one of them is
    (so the Shetland calls stay with Shetland, not Scotland); otherwise the earlier one keeps
    it. A repeat is left out, since the country file's earlier entry would win anyway.

Usage: make_cqww_cty.py CTY.DAT OUTPUT
"""

import re
import sys

PRIMARY_RENAMES = {"K": "W", "KL": "KL7"}
ENTRY = re.compile(
    r"^(?P<exact>=?)(?P<text>[A-Z0-9/]+)"
    r"(?P<modifiers>(?:\(\d+\)|\[\d+\]|<[^>]*>|\{[^}]*\}|~[^~]*~)*)$")
CQ_ZONE = re.compile(r"\((\d+)\)")
VERSION_MARK = re.compile(r"^VER(?:SION|\d{8})$")
NAME_WIDTH = 26
PRIMARY_WIDTH = 7
PREFIX_COLUMN = NAME_WIDTH + len("05:  ") + PRIMARY_WIDTH
LINE_WIDTH = 78


class Country:
    def __init__(self, name, zone, primary, wae_only):
        self.name = name
        self.wae_only = wae_only
        self.zone = zone
        self.primary = primary
        self.prefixes_by_zone = {zone: []}
        self.exact_calls = set()


def parse_record(record, line_hint):
    fields = record.split(":", 8)
    if len(fields) != 9:
        raise ValueError(f"record near line {line_hint}: expected 8 fields ended by ':'")
    name = " ".join(fields[0].split())
    zone = int(fields[1])
    primary = fields[7].strip()
    wae_only = primary.startswith("*")
    primary = primary.lstrip("*")
    if not name or not "A" <= name[0] <= "Z":
        raise ValueError(f"country name {name!r} does not begin with A to Z")
    country = Country(name, zone, PRIMARY_RENAMES.get(primary, primary), wae_only)
    entries = "".join(fields[8].split())
    for entry in filter(None, entries.split(",")):
        match = ENTRY.match(entry)
        if not match:
            raise ValueError(f"{name}: cannot read prefix {entry!r}")
        text = match.group("text")
        if match.group("exact") and VERSION_MARK.match(text):
            continue
        override = CQ_ZONE.search(match.group("modifiers"))
        entry_zone = int(override.group(1)) if override else zone
        country.prefixes_by_zone.setdefault(entry_zone, []).append(text)
        if match.group("exact"):
            country.exact_calls.add(text)
    return country


def read_cty(text):
    """The countries of a cty.dat text, in file order, and its version (or None)."""
    text = text.replace("\r", "")
    version = re.search(r"=VER(\d{8})", text)
    countries = []
    line = 1
    for record in text.split(";"):
        if record.strip():
            countries.append(parse_record(record.strip(), line))
        line += record.count("\n")
    return countries, version.group(1) if version else None


def drop_repeated_prefixes(countries):
    """Leaves each prefix with one country: WAE-only countries first, then file order."""
    owner = {}
    dropped = []
    for country in sorted(countries, key=lambda c: not c.wae_only):
        for zone, prefixes in country.prefixes_by_zone.items():
            kept = []
            for prefix in prefixes:
                if prefix not in owner:
                    owner[prefix] = country
                    kept.append(prefix)
                elif owner[prefix] is not country:
                    dropped.append(f"{prefix} ({country.name}, kept by {owner[prefix].name})")
            country.prefixes_by_zone[zone] = kept
    return dropped


def drop_redundant_exact_calls(countries):
    """Leaves out exact calls that resolve by the plain prefixes to their own country and zone."""
    by_prefix = {}
    for country in countries:
        for zone, prefixes in country.prefixes_by_zone.items():
            for prefix in prefixes:
                if prefix not in country.exact_calls:
                    by_prefix.setdefault(prefix, (country, zone))

    def resolve(call):
        for length in range(len(call), 0, -1):
            if call[:length] in by_prefix:
                return by_prefix[call[:length]]
        return None

    dropped = 0
    for country in countries:
        for zone, prefixes in country.prefixes_by_zone.items():
            kept = []
            for prefix in prefixes:
                redundant = prefix in country.exact_calls and resolve(prefix) == (country, zone)
                dropped += redundant
                if not redundant:
                    kept.append(prefix)
            country.prefixes_by_zone[zone] = kept
    return dropped


def country_lines(name, zone, primary, prefixes):
    head = f"{name + ':':<{NAME_WIDTH}}{zone:02d}:  {primary + ':':<{PRIMARY_WIDTH}}"
    lines = []
    current = head.ljust(PREFIX_COLUMN)
    words = 0
    for prefix in prefixes:
        piece = ("," if words else "") + prefix
        if words and len(current) + len(piece) > LINE_WIDTH:
            lines.append(current)
            current = "&".ljust(PREFIX_COLUMN) + prefix
        else:
            current += piece
        words += 1
    lines.append(current + ";")
    return lines


def write_cqww_cty(countries, version, source_name):
    made_from = f"{source_name} version {version}" if version else source_name
    out = [f"; CQ WW countries, zones and prefixes, made by tools/make_cqww_cty.py from "
           f"{made_from}"]
    for country in countries:
        zones = [country.zone] + sorted(z for z in country.prefixes_by_zone if z != country.zone)
        for zone in zones:
            prefixes = country.prefixes_by_zone[zone]
            if zone == country.zone or prefixes:
                out.extend(country_lines(country.name, zone, country.primary, prefixes))
    return "\n".join(out) + "\n"


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__.split("\n\n")[-1].strip() + "\n")
        return 2
    source, output = argv[1], argv[2]
    with open(source, encoding="latin-1") as file:
        countries, version = read_cty(file.read())
    dropped = drop_repeated_prefixes(countries)
    redundant = drop_redundant_exact_calls(countries)
    text = write_cqww_cty(countries, version, source.replace("\\", "/").split("/")[-1])
    with open(output, "w", encoding="latin-1", newline="\n") as file:
        file.write(text)
    sys.stderr.write(f"{len(countries)} countries, version {version or 'unknown'}, "
                     f"{redundant} exact calls that change nothing left out, "
                     f"{len(dropped)} repeated prefixes left out"
                     + (": " + ", ".join(dropped) if dropped else "") + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
