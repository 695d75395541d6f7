# SPDX-License-Identifier: MIT
"""Prints a book whose level LEVEL is a little taller than a page at the
book's scale, as a game master printing it to tape together would.

usage: book_print.py BOOK.html WORK_DIR LEVEL

In headless Chromium, printed on A4: the level must come as an overview page
of two tiles, then a page for each tile; on paper the two tiles must be drawn
at the scale their labels state and share a strip of exactly the 10 feet the
labels promise. Prints one line per problem and exits 1 if there is any, "ok"
otherwise.
"""
import base64
import os
import re
import subprocess
import sys
import tempfile

from book_browser import start_browser

problems = []

# Each tile of the level: its label, the part of the plan it shows (feet)
# and how tall that is drawn on paper, in millimetres: the sheet's height as
# laid out, in the share its drawing takes of the sheet's viewBox.
TILES = """
return [...document.querySelectorAll(`#level-${arguments[0]}-figure .tile`)].map(tile => {
  const sheet = tile.querySelector('svg.sheet'), inner = sheet.querySelector('svg');
  const mm = sheet.getBoundingClientRect().height * 25.4 / 96;
  return [tile.querySelector('p').textContent, inner.getAttribute('viewBox'),
          mm * inner.height.baseVal.value / sheet.viewBox.baseVal.height];
});
"""


def main():
    if len(sys.argv) != 4:
        print(__doc__)
        return 2
    book, work, level = os.path.abspath(sys.argv[1]), sys.argv[2], sys.argv[3]
    pdf = os.path.join(work, "book.pdf")
    with tempfile.TemporaryDirectory(dir=work) as profile:
        driver = start_browser(profile)
        try:
            driver.get("file://" + book)
            driver.execute_cdp_cmd("Emulation.setEmulatedMedia", {"media": "print"})
            tiles = driver.execute_script(TILES, level)
            data = driver.execute_cdp_cmd("Page.printToPDF", {
                "paperWidth": 8.27, "paperHeight": 11.69, "printBackground": False})["data"]
        finally:
            driver.quit()
    with open(pdf, "wb") as f:
        f.write(base64.b64decode(data))
    text = subprocess.run(["pdftotext", "-enc", "UTF-8", pdf, "-"], check=True,
                          capture_output=True, text=True).stdout
    pages = [[line.strip() for line in page.splitlines() if line.strip()]
             for page in text.split("\f")[:-1]]

    overview = [i for i, page in enumerate(pages)
                if any(line.startswith(f"Level {level} plan, overview: 2 tiles in 2 rows and 1 "
                                       "column") for line in page)]
    if len(overview) != 1:
        problems.append(f"no single overview page of two tiles for level {level}")
    else:
        for part in (1, 2):
            page = pages[overview[0] + part] if overview[0] + part < len(pages) else []
            if not page or not page[0].startswith(
                    f"Level {level} plan, part {part} of 2: row {part} of 2, column 1 of 1"):
                problems.append(f"page {overview[0] + part + 1} does not start tile {part}: "
                                f"{page[:1]}")

    if len(tiles) != 2:
        problems.append(f"{len(tiles)} tiles for level {level}, not 2")
        return report()
    boxes = []
    for label, view_box, height in tiles:
        stated = re.search(r"10 ft = ([\d.]+) mm \u00b7 neighbours overlap by (\d+) ft", label)
        x, y, w, h = (float(v) for v in view_box.split())
        boxes.append((y, h))
        if not stated:
            problems.append(f"tile label {label!r} states no scale and overlap")
            continue
        mm_per_foot, overlap = float(stated.group(1)) / 10, float(stated.group(2))
        if abs(height - h * mm_per_foot) > 0.3:
            problems.append(f"a tile {h} ft tall prints {height:.1f} mm, not "
                            f"{h * mm_per_foot:.1f}")
    (top, first), (second_top, second) = boxes
    shared = top + first - second_top
    if stated and abs(shared - overlap) > 0.01:
        problems.append(f"the tiles share {shared} ft, not the {overlap} ft stated")
    if second >= first / 2:
        problems.append(f"the second tile ({second} ft) repeats much of the first ({first} ft)")
    return report()


def report():
    for line in problems:
        print(line)
    if not problems:
        print("ok")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
