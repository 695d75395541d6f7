# SPDX-License-Identifier: MIT
"""Reads a floor plan SVG and prints what it draws, one fact a line:

room N explored|unexplored TITLE   each group whose id ends in room-N
heading TEXT                       each level heading
link HREF                          each <a>

Fails (exit 1) on anything that is not well-formed SVG, on a repeated id and
on a room group without a <title> as its first child.
"""
import re
import sys
import xml.etree.ElementTree as ET

SVG = "{http://www.w3.org/2000/svg}"
ROOM_ID = re.compile(r"(?:.*-)?room-(\d+)$")


def main() -> int:
    root = ET.parse(sys.argv[1]).getroot()
    if root.tag != SVG + "svg" or not root.get("viewBox"):
        print(f"root element is {root.tag}, not an svg with a viewBox")
        return 1
    ids = [e.get("id") for e in root.iter() if e.get("id")]
    if len(ids) != len(set(ids)):
        print("repeated ids")
        return 1
    for element in root.iter():
        if element.tag == SVG + "a":
            print("link", element.get("href"))
        if element.tag == SVG + "text" and element.get("class") == "heading":
            print("heading", element.text)
        match = ROOM_ID.match(element.get("id", ""))
        if element.tag != SVG + "g" or not match:
            continue
        children = list(element)
        if not children or children[0].tag != SVG + "title":
            print(f"room {match.group(1)} has no title")
            return 1
        texts = [t.text or "" for t in element.iter(SVG + "text")]
        state = "unexplored" if "not explored" in texts else "explored"
        print("room", match.group(1), state, children[0].text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
