# SPDX-License-Identifier: MIT
"""Reads a Graphviz SVG map and prints what it draws, one fact a line:

rooms N             nodes whose id is roomN
not_generated N     of those, drawn as never generated
passages N          edges between rooms (ids passage_* and stairs_*)
stairs N            of those, stairs
stairs_labelled N   stairs edges with a text label

Fails (exit 1) on anything that is not well-formed SVG.
"""
import sys
import xml.etree.ElementTree as ET

SVG = "{http://www.w3.org/2000/svg}"


def main() -> int:
    root = ET.parse(sys.argv[1]).getroot()
    if root.tag != SVG + "svg":
        print(f"root element is {root.tag}, not svg")
        return 1
    counts = {"rooms": 0, "not_generated": 0, "passages": 0, "stairs": 0, "stairs_labelled": 0}
    for group in root.iter(SVG + "g"):
        kind = group.get("class")
        ident = group.get("id", "")
        texts = [t.text or "" for t in group.iter(SVG + "text")]
        if kind == "node" and ident.startswith("room"):
            counts["rooms"] += 1
            if "not generated" in texts:
                counts["not_generated"] += 1
        elif kind == "edge" and ident.startswith(("passage_", "stairs_")):
            counts["passages"] += 1
            if ident.startswith("stairs_"):
                counts["stairs"] += 1
                if any(t.startswith(("Up ", "Down ")) for t in texts):
                    counts["stairs_labelled"] += 1
    for name, value in counts.items():
        print(name, value)
    return 0


if __name__ == "__main__":
    sys.exit(main())
