#!/usr/bin/env python3
"""Converts the world's land outlines into the small file that the route map draws.

    scripts/make-map-outlines.py [--source FILE] [--out FILE]

Reads a TopoJSON file of land outlines (land-110m.json of the npm package world-atlas 2.0.2,
Natural Earth 1:110m) and writes data/WorldLand.txt:

  * "#" lines first: the attribution and the licence notice that must go with copies;
  * then one ring a line: longitude and latitude pairs in decimal degrees, every number parted
    from the next by one blank ("lon lat lon lat ..."), two decimals (about a kilometre), the
    ring not closed (its last point is not its first again).

The rings of one polygon follow each other, its outer ring first and its holes after it; the
map fills all rings with the even-odd rule, so a hole (the Caspian Sea) stays open. Points that
rounding makes equal to the one before are left out, and so are rings with fewer than three
points left. Only the Python standard library is used.

The source is drawn for a globe: a ring may cross the 180th meridian (Siberia reaching into
Chukotka) or go round a pole (Antarctica). On a flat map each ring is made continuous instead:
every longitude is moved by whole turns so that it lies within 180 degrees of the one before,
so a ring may reach beyond 180 (never beyond 540); a ring that goes round a pole is closed along
the map's edge at that pole. The map draws three copies of the world side by side, so land
beyond 180 lands where it belongs.
"""

import argparse
import json
import os

ATTRIBUTION = [
    "Map outlines from Natural Earth (public domain), via the world-atlas package (ISC licence).",
    "world-atlas: Copyright 2013-2019 Michael Bostock",
    "Permission to use, copy, modify, and/or distribute this software for any purpose with or",
    "without fee is hereby granted, provided that the above copyright notice and this permission",
    "notice appear in all copies.",
    "Format: one ring a line, longitude and latitude pairs in degrees.",
]


def decoded_arcs(topology):
    """The arcs as lists of (longitude, latitude): TopoJSON stores them quantized and delta-encoded."""
    transform = topology.get("transform")
    arcs = []
    for arc in topology["arcs"]:
        points, x, y = [], 0, 0
        for dx, dy in arc:
            if transform:
                x, y = x + dx, y + dy
                points.append((x * transform["scale"][0] + transform["translate"][0],
                               y * transform["scale"][1] + transform["translate"][1]))
            else:
                points.append((dx, dy))
        arcs.append(points)
    return arcs


def ring_points(ring, arcs):
    """A ring's points from its arc indexes; ~i is arc i reversed, and each arc after the first
    starts where the one before ended."""
    points = []
    for index in ring:
        arc = arcs[index] if index >= 0 else list(reversed(arcs[~index]))
        points.extend(arc if not points else arc[1:])
    return points


def polygons_of(geometry):
    if geometry["type"] == "Polygon":
        return [geometry["arcs"]]
    if geometry["type"] == "MultiPolygon":
        return geometry["arcs"]
    if geometry["type"] == "GeometryCollection":
        return [p for g in geometry["geometries"] for p in polygons_of(g)]
    return []


def continuous(points):
    """The ring with each longitude within 180 degrees of the one before, closed along the pole's
    edge of the map when it goes round a pole; its westmost point at -180 or east of it."""
    if not points:
        return points
    result = [points[0]]
    for lon, lat in points[1:]:
        previous = result[-1][0]
        while lon - previous > 180:
            lon -= 360
        while lon - previous < -180:
            lon += 360
        result.append((lon, lat))
    turn = result[-1][0] - result[0][0]
    first_lon, first_lat = result[0]
    if abs(turn) > 180:
        # Back at the first point a whole turn further east or west: round a pole.
        pole = -90 if sum(lat for _, lat in result) < 0 else 90
        end_lon = first_lon + (360 if turn > 0 else -360)
        result += [(end_lon, first_lat), (end_lon, pole), (first_lon, pole)]
    west = min(lon for lon, _ in result)
    shift = 0
    while west + shift < -180:
        shift += 360
    while west + shift >= 180:
        shift -= 360
    return [(lon + shift, lat) for lon, lat in result]


def ring_line(points):
    points = continuous(points)
    rounded = []
    for lon, lat in points:
        point = (round(lon, 2), round(lat, 2))
        if not rounded or point != rounded[-1]:
            rounded.append(point)
    if len(rounded) > 1 and rounded[0] == rounded[-1]:
        rounded.pop()
    if len(rounded) < 3:
        return None
    return " ".join(f"{lon:g} {lat:g}" for lon, lat in rounded)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description="Converts TopoJSON land outlines into the "
                                                 "route map's WorldLand.txt.")
    parser.add_argument("--source", default=os.path.join(root, "..", "shared", "mapdata",
                                                         "land-110m.json"))
    parser.add_argument("--out", default=os.path.join(root, "data", "WorldLand.txt"))
    args = parser.parse_args()

    with open(args.source, encoding="utf-8") as f:
        topology = json.load(f)
    arcs = decoded_arcs(topology)
    lines = []
    for obj in topology["objects"].values():
        for polygon in polygons_of(obj):
            for ring in polygon:
                line = ring_line(ring_points(ring, arcs))
                if line:
                    lines.append(line)
    with open(args.out, "w", encoding="utf-8", newline="\n") as f:
        f.write("".join("# " + line + "\n" for line in ATTRIBUTION))
        f.write("".join(line + "\n" for line in lines))
    print(f"{len(lines)} rings written to {args.out}")


if __name__ == "__main__":
    main()
