"""Opens a dungeon book in headless Chromium, as a game master would.

usage: book_browser.py BOOK.html WORK_DIR

- On screen: clicks a room on a plan and a stair on a plan; the browser must
  land on the entry the link names (the address ends in #room-N), with the
  entry in view and marked by the :target highlight.
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

# The last link on a plan (its entry is far from the plan) whose centre is not
# covered by anything else, and the entry it names. `stairs` picks a link to a
# room on another level.
FIND_LINK = """
const [stairs] = arguments;
for (const figure of document.querySelectorAll('section.level figure')) {
  const level = figure.closest('section').id;
  for (const link of [...figure.querySelectorAll('.plan-view svg a')].reverse()) {
    const href = link.getAttribute('href') || link.getAttribute('xlink:href') || '';
    const target = href.startsWith('#room-') && document.getElementById(href.slice(1));
    if (!target || (target.closest('section').id !== level) !== stairs) continue;
    link.scrollIntoView({block: 'center', inline: 'center'});
    const box = link.getBoundingClientRect();
    const x = box.left + box.width / 2, y = box.top + box.height / 2;
    const hit = document.elementFromPoint(x, y);
    if (box.width > 0 && hit && hit.closest('a') === link) return [link, href];
  }
}
return null;
"""

WHERE_IS = """
const entry = document.getElementById(arguments[0]);
const box = entry.getBoundingClientRect();
const style = getComputedStyle(entry);
return [location.hash, box.top, box.bottom, window.innerHeight, style.outlineStyle,
        style.outlineWidth];
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
    link, href = found
    ActionChains(driver).move_to_element(link).click().perform()
    hash_, top, bottom, height, outline, outline_width = driver.execute_script(WHERE_IS, href[1:])
    if hash_ != href:
        problems.append(f"clicking the {what} link to {href} led to {hash_!r}")
    if not (0 <= top and bottom <= height):
        problems.append(f"after clicking {href} the entry spans {top}..{bottom}, "
                        f"not within the window's 0..{height}")
    if outline == "none" or outline_width in ("0px", ""):
        problems.append(f"the entry {href} has no visible :target highlight")


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
    firsts = []
    for page in page_texts(pdf):
        lines = [line.strip() for line in page.splitlines() if line.strip()]
        firsts.append(lines[0] if lines else "")
    for level in levels:
        if f"Level {level}" not in firsts:
            problems.append(f"{paper}: no page begins with the heading of level {level}")
    allowed = re.compile(r"Dungeon of seed \d+|Level \d+|Level \d+ plan, part .*|Room \d+")
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
