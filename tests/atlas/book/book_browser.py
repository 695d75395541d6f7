# SPDX-License-Identifier: MIT
"""Opens a dungeon book in headless Chromium, as a game master would.

usage: book_browser.py BOOK.html WORK_DIR

- On screen: clicks a room on a plan, which must land on its key entry (the
  address ends in #room-N), and a stair on a plan, which must land on the
  room it reaches on the other level's plan (#plan-L-room-N): the target in
  view and marked by the :target highlight. Then follows the link from the
  entry of the room farthest into a plan that scrolls both ways back to that
  room: the plan must scroll it into view and mark it, and the scale bar and
  north arrow must still be in sight.
- On paper: prints to PDF on A4 and on Letter; every level section must begin
  a page, and no page may begin in the middle of a room entry (its first line
  is a level heading, a room heading or a plan tile's label).

Prints one line per problem and exits 1 if there is any, "ok" otherwise. A
missing Selenium, Chromium, chromedriver or pdftotext is a failure, not a skip.
"""
import base64
import os
import re
import subprocess
import sys
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains

problems = []

# The last link on a plan (its target is far from it) that has a point not
# covered by anything else, that point's offset from the link's centre (where
# a pointer move to the link starts), and the target the link names. Stairs
# are thin lines with a label beside them, so points are sought on a grid
# over each of the link's parts. `stairs` picks a link to a room on another
# level, else a link to a key entry.
FIND_LINK = """
const [stairs] = arguments;
for (const figure of document.querySelectorAll('section.level figure')) {
  const level = figure.closest('section').id;
  for (const link of [...figure.querySelectorAll('.plan-view svg a')].reverse()) {
    const href = link.getAttribute('href') || link.getAttribute('xlink:href') || '';
    const target = href.length > 1 && document.getElementById(href.slice(1));
    if (!target || target.matches('article') === stairs ||
        (target.closest('section').id !== level) !== stairs) continue;
    link.scrollIntoView({block: 'center', inline: 'center'});
    const whole = link.getBoundingClientRect();
    for (const part of [link, ...link.querySelectorAll('*')]) {
      const box = part.getBoundingClientRect();
      for (let i = 1; i < 8; ++i) {
        for (let j = 1; j < 8; ++j) {
          // Whole pixels, as the pointer moves from the centre a browser
          // driver takes: the floor of the middle of the link's box.
          const x = Math.round(box.left + box.width * i / 8);
          const y = Math.round(box.top + box.height * j / 8);
          const hit = document.elementFromPoint(x, y);
          if (hit && hit.closest('a') === link) {
            return [link, href, x - Math.floor(whole.left + whole.width / 2),
                    y - Math.floor(whole.top + whole.height / 2)];
          }
        }
      }
    }
  }
}
return null;
"""

# Where the target is, within the window and within the plan's own
# scrolling box, and whether it is marked: an entry by its outline, a room on
# a plan by its walls' highlight.
WHERE_IS = """
const target = document.getElementById(arguments[0]);
const box = target.getBoundingClientRect();
const view = target.closest('.plan-view');
const frame = view ? view.getBoundingClientRect() : {top: 0, bottom: innerHeight, left: 0, right: innerWidth};
const top = Math.max(0, frame.top), bottom = Math.min(innerHeight, frame.bottom);
const walls = target.querySelector('.walls');
const marked = walls ? getComputedStyle(walls).fill === 'rgb(255, 244, 214)'
                     : getComputedStyle(target).outlineStyle !== 'none';
return [location.hash, box.top >= top - 1 && box.bottom <= bottom + 1 &&
        box.left >= frame.left - 1 && box.right <= frame.right + 1,
        [box.top, box.bottom, box.left, box.right], [top, bottom, frame.left, frame.right],
        marked];
"""


def start_browser(profile):
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless=new", "--no-sandbox", "--disable-dev-shm-usage", "--disable-gpu",
                 "--no-first-run", "--disable-background-networking",
                 "--disable-component-update", "--disable-sync", "--window-size=1200,900",
                 f"--user-data-dir={profile}"):
        options.add_argument(flag)
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def click_through(driver, stairs):
    what = "stair" if stairs else "room"
    found = driver.execute_script(FIND_LINK, stairs)
    if not found:
        problems.append(f"no clickable {what} link on any plan")
        return
    link, href, dx, dy = found
    ActionChains(driver).move_to_element_with_offset(link, dx, dy).click().perform()
    check_target(driver, href, f"clicking the {what} link")


def check_target(driver, href, how):
    hash_, seen, box, frame, marked = driver.execute_script(WHERE_IS, href[1:])
    if hash_ != href:
        problems.append(f"{how} to {href} led to {hash_!r}")
    if not seen:
        problems.append(f"after {how} to {href} the target spans {box} (top, bottom, left, "
                        f"right), not within the visible {frame}")
    if not marked:
        problems.append(f"after {how}, {href} has no visible :target highlight")


# The entry link to the room drawn farthest right and down on a plan whose
# box scrolls both ways, scrolled into view.
FAR_ROOM = """
for (const view of document.querySelectorAll('.plan-view')) {
  if (view.scrollWidth <= view.clientWidth || view.scrollHeight <= view.clientHeight) continue;
  let far = null, reach = -1;
  for (const room of view.querySelectorAll('g[id*="-room-"]')) {
    const box = room.getBBox();
    if (box.x + box.y > reach) { reach = box.x + box.y; far = room; }
  }
  const number = far.id.split('-').pop();
  const link = document.querySelector(`#room-${number} .back a`);
  link.scrollIntoView({block: 'center'});
  return [link, link.getAttribute('href')];
}
return null;
"""

COMPASS_SEEN = """
const view = document.getElementById(arguments[0]).closest('.plan-view');
const frame = view.getBoundingClientRect(), bar = view.querySelector('.compass .bar');
const box = bar.getBoundingClientRect(), north = view.querySelector('.compass .north');
const arrow = north.getBoundingClientRect();
return [box, arrow].every(b => b.width > 0 && b.left >= frame.left && b.right <= frame.right &&
                               b.top >= frame.top && b.bottom <= frame.bottom);
"""


def entry_to_plan(driver):
    found = driver.execute_script(FAR_ROOM)
    if not found:
        problems.append("no plan scrolls both ways in a 640 x 480 window")
        return
    link, href = found
    link.click()
    check_target(driver, href, "following the entry's link")
    if not driver.execute_script(COMPASS_SEEN, href[1:]):
        problems.append(f"after following {href} the scale bar or north arrow is out of sight")


def page_texts(pdf):
    text = subprocess.run(["pdftotext", "-enc", "UTF-8", pdf, "-"], check=True,
                          capture_output=True, text=True).stdout
    return text.split("\f")[:-1]


def check_print(driver, work, levels, paper, width, height):
    pdf = os.path.join(work, f"book-{paper}.pdf")
    data = driver.execute_cdp_cmd("Page.printToPDF", {
        "paperWidth": width, "paperHeight": height, "printBackground": False,
        "displayHeaderFooter": False})["data"]
    with open(pdf, "wb") as f:
        f.write(base64.b64decode(data))
    # A tile clips the plan, but the text it clips is still in the PDF and may
    # come first in a page's text. So a page begins with what comes before
    # any room heading, level heading or tile label on it.
    allowed = re.compile(r"Dungeon of seed \d+|Level \d+|Level \d+ plan, part .*|Room \d+")
    firsts = []
    for page in page_texts(pdf):
        lines = [line.strip() for line in page.splitlines() if line.strip()]
        marks = [line for line in lines if allowed.fullmatch(line)]
        firsts.append(lines[0] if not lines or allowed.fullmatch(lines[0]) or
                      not marks or not marks[0].startswith("Level") else marks[0])
    for level in levels:
        if f"Level {level}" not in firsts:
            problems.append(f"{paper}: no page begins with the heading of level {level}")
    for number, first in enumerate(firsts, 1):
        if not allowed.fullmatch(first):
            problems.append(f"{paper}: page {number} begins with {first!r}, inside an entry")
    return len(firsts)


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    book, work = os.path.abspath(sys.argv[1]), sys.argv[2]
    with tempfile.TemporaryDirectory(dir=work) as profile:
        driver = start_browser(profile)
        try:
            driver.get("file://" + book)
            levels = [int(s.get_attribute("id").split("-")[1])
                      for s in driver.find_elements("css selector", "section.level")]
            click_through(driver, stairs=False)
            if len(levels) > 1:
                click_through(driver, stairs=True)
            driver.set_window_size(640, 480)
            entry_to_plan(driver)
            pages = [check_print(driver, work, levels, "A4", 8.27, 11.69),
                     check_print(driver, work, levels, "Letter", 8.5, 11)]
        finally:
            driver.quit()
    for line in problems:
        print(line)
    if not problems:
        print(f"ok: {len(levels)} levels, {pages[0]} A4 pages, {pages[1]} Letter pages")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
