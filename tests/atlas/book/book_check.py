# SPDX-License-Identifier: MIT
"""Checks a dungeon book against the rules every book must keep.

usage: book_check.py BOOK.html SHOW.json [player | player-numbers]

SHOW.json is `dungeon-atlas show --format json` for the same seed; "player"
checks a book written with --player, "player-numbers" one with --player
--numbers. Prints one line per problem found and exits 1 if there is any;
prints "ok" and exits 0 otherwise. Checks:
- the page parses as HTML5 without a single parse error (html5lib, strict);
- no id repeats, and every "#" link (href or xlink:href, HTML and SVG alike)
  hits an id;
- nothing is loaded from anywhere: no script, no src, no external link, no
  url() or @import in CSS; the Content-Security-Policy line forbids loading;
- structure: lang, title, header/nav/main, one h1, an h2 per level, and per
  level a figure whose caption labels the plan, with a link to every room;
- each entry links to its room's group on its level's plan; on the plans
  each door links to the room it opens toward and says so in its title
  ("Locked door to room 11"), each stair to its room's group on that room's
  level's plan;
- every room has exactly one entry, in its level's section, in number order,
  whose description, exits and contents are those of the JSON; rooms the JSON
  lacks (an overflow left them ungenerated) have a "not explored" entry;
- the header: seed, the second it stands for (UTC), outcome, totals.
A player's book instead has a section per level with its plan and nothing
the players may not see: no seed, totals or key, no M/T/$ marks, no stairs
destinations, no "not explored" marks, no links, and no room numbers unless
asked for; every room is still on its plan.
"""
import datetime
import json
import re
import sys
from collections import Counter

import html5lib

SVG = "{http://www.w3.org/2000/svg}"
XLINK_HREF = "{http://www.w3.org/1999/xlink}href"
LINK_ATTRIBUTES = ("href", XLINK_HREF)
LOADING_ATTRIBUTES = {"src", "srcset", "data", "action", "formaction", "poster", "background",
                      "ping", "manifest", "codebase", "archive", "longdesc", "usemap"}
LOADING_ELEMENTS = {"script", "iframe", "frame", "object", "embed", "img", "link", "base", "form",
                    "audio", "video", "source", "track", "picture", "applet", "portal", "input"}
EXIT = re.compile(r"^(.+): (.+), to room (\d+)(?: on level (\d+))?$")

problems = []


def problem(text):
    problems.append(text)


def local(tag):
    return tag.split("}", 1)[1] if tag.startswith("{") else tag


def squeeze(text):
    """Text as a browser shows it: runs of white space are one space."""
    return re.sub(r"\s+", " ", text).strip()


def text_of(element):
    return squeeze("".join(element.itertext()))


def classes(element):
    return element.get("class", "").split()


def children(element, tag, cls=None):
    return [c for c in element if local(c.tag) == tag and (cls is None or cls in classes(c))]


def parse(raw):
    parser = html5lib.HTMLParser(strict=True, namespaceHTMLElements=False)
    try:
        return parser.parse(raw)
    except html5lib.html5parser.ParseError as error:
        line, column = parser.errors[0][0] if parser.errors else ("?", "?")
        problem(f"HTML5 parse error at line {line}, column {column}: {error}")
        return html5lib.HTMLParser(namespaceHTMLElements=False).parse(raw)


def check_links_and_loading(root, raw):
    ids = Counter(e.get("id") for e in root.iter() if e.get("id") is not None)
    for ident, count in ids.items():
        if count > 1:
            problem(f"id {ident!r} appears {count} times")
    for element in root.iter():
        tag = local(element.tag) if isinstance(element.tag, str) else ""
        if tag in LOADING_ELEMENTS:
            problem(f"<{tag}> element: the book must load nothing")
        for name, value in element.attrib.items():
            plain = local(name)
            if name in LINK_ATTRIBUTES:
                if not value.startswith("#"):
                    problem(f"link to {value!r}: the book must link only within itself")
                elif ids[value[1:]] != 1:
                    problem(f"link to {value!r} hits {ids[value[1:]]} ids")
            elif plain in LOADING_ATTRIBUTES:
                problem(f"{plain}={value!r} on <{tag}>: the book must load nothing")
            elif plain == "style" and re.search(r"url\(|@import", value, re.I):
                problem(f"style attribute loads something: {value!r}")
            else:
                # Paint references (fill="url(#floor)") must stay in the page too.
                for target in re.findall(r"url\(([^)]*)\)", value):
                    if not target.startswith("#") or ids[target[1:]] != 1:
                        problem(f"{plain}={value!r} on <{tag}> refers to no single id")
    for style in root.iter("style"):
        if re.search(r"url\(|@import", style.text or "", re.I):
            problem("the style sheet loads something (url() or @import)")
    # Namespace names are not addresses; anything else that looks like one is.
    stripped = re.sub(r'\sxmlns(:\w+)?="[^"]*"', "", raw)
    for found in re.findall(r"(?i)(?:https?|ftp|file|data|javascript):|//[\w.-]+", stripped):
        problem(f"external address in the page: {found!r}")
    csp = [m for m in root.iter("meta")
           if m.get("http-equiv", "").lower() == "content-security-policy"]
    if len(csp) != 1 or "default-src 'none'" not in csp[0].get("content", ""):
        problem("no Content-Security-Policy line with default-src 'none'")


def check_header(root, show):
    seed = show["seed"]
    html = root if local(root.tag) == "html" else root.find("html")
    if html.get("lang") != "en":
        problem("no lang on <html>")
    title = root.find(".//head/title")
    if title is None or text_of(title) != f"Dungeon of seed {seed}":
        problem("missing or wrong <title>")
    for landmark in ("header", "nav", "main"):
        if len(list(root.iter(landmark))) != 1:
            problem(f"not exactly one <{landmark}>")
    header = root.find(".//body/header")
    if header is None:
        return
    h1 = [text_of(h) for h in root.iter("h1")]
    if h1 != [f"Dungeon of seed {seed}"]:
        problem(f"h1 headings {h1}")
    when = datetime.datetime.fromtimestamp(seed, datetime.timezone.utc)
    line = text_of(header)
    expected = f"Seed {seed}, grown at {when:%Y-%m-%d %H:%M:%S} UTC. Outcome: {show['outcome']}"
    if expected not in line:
        problem(f"header lacks {expected!r}")
    notices = [n for n in header.iter() if "notice" in classes(n)]
    if (show["outcome"] == "overflow") != (len(notices) == 1 and "room limit" in text_of(notices[0])):
        problem("the room-limit notice is missing or out of place")
    totals = {text_of(d.find("dt")): text_of(d.find("dd"))
              for d in header.iter("div") if d.find("dt") is not None}
    summary = show["summary"]
    expected_totals = {"Rooms": str(len(show["rooms"]))}
    if summary:
        expected_totals.update({"Deepest level": str(summary["deepest_level"]),
                                "Traps": str(summary["traps"]),
                                "Monsters": str(summary["monsters"]),
                                "Treasures": str(summary["treasures"])})
    for name, value in expected_totals.items():
        if totals.get(name) != value:
            problem(f"total {name}: {totals.get(name)!r}, expected {value!r}")
    if set(totals) != {"Deepest level", "Rooms", "Traps", "Monsters", "Treasures"}:
        problem(f"totals {sorted(totals)}")


def entry_exits(entry):
    exits = []
    for lists in children(entry, "ul", "exits"):
        for item in children(lists, "li"):
            match = EXIT.match(text_of(item))
            links = [a.get("href") for a in item.iter("a")]
            if not match or links != [f"#room-{match.group(3)}"]:
                problem(f"{entry.get('id')}: exit line {text_of(item)!r} (links {links})")
                continue
            exits.append((match.group(1), match.group(2), int(match.group(3)),
                          int(match.group(4)) if match.group(4) else None))
    return exits


def entry_contents(entry):
    contents = []
    for lists in children(entry, "ul", "contents"):
        for item in children(lists, "li"):
            nested = children(item, "ul")
            if nested:
                label = (item.text or "").strip()
                contents.append((label, [text_of(li) for li in children(nested[0], "li")]))
            else:
                contents.append(text_of(item))
    return contents


def check_levels_and_entries(root, show):
    rooms = {room["number"]: room for room in show["rooms"]}
    named = set(rooms)
    for room in show["rooms"]:
        named.update(exit_["room"] for exit_ in room["exits"])
    levels = sorted({room["level"] for room in show["rooms"]})
    sections = [s for s in root.iter("section") if "level" in classes(s)]
    seen = Counter()
    section_levels = []
    for section in sections:
        match = re.fullmatch(r"level-(\d+)", section.get("id", ""))
        if not match:
            problem(f"level section with id {section.get('id')!r}")
            continue
        level = int(match.group(1))
        section_levels.append(level)
        h2 = children(section, "h2")
        if len(h2) != 1 or text_of(h2[0]) != f"Level {level}":
            problem(f"level {level}: heading {[text_of(h) for h in h2]}")
        entries = [e for e in section.iter("article") if "entry" in classes(e)]
        numbers = []
        for entry in entries:
            number = int(entry.get("id", "room-0").split("-")[1])
            numbers.append(number)
            seen[number] += 1
            check_entry(entry, number, level, rooms)
        if numbers != sorted(numbers):
            problem(f"level {level}: entries not in room-number order")
        check_figure(section, level, numbers, rooms)
    if section_levels != sorted(section_levels) or not set(levels) <= set(section_levels):
        problem(f"level sections {section_levels}, levels with rooms {levels}")
    nav = [a.get("href") for n in root.iter("nav") for a in n.iter("a")]
    if nav != [f"#level-{level}" for level in section_levels]:
        problem(f"the navigation lists {nav}")
    for number in sorted(named | set(seen)):
        if seen[number] != 1:
            problem(f"room {number} has {seen[number]} entries")
    if sum(1 for _ in root.iter("h3")) != sum(seen.values()):
        problem("h3 headings are not one per room")


def check_entry(entry, number, level, rooms):
    where = f"room {number}"
    h3 = children(entry, "h3")
    if len(h3) != 1 or text_of(h3[0]) != f"Room {number}":
        problem(f"{where}: heading {[text_of(h) for h in h3]}")
    description = [text_of(p) for p in children(entry, "p", "description")]
    back = [a.get("href") for p in children(entry, "p", "back") for a in p.iter("a")]
    if back != [f"#plan-{level}-room-{number}"]:
        problem(f"{where}: links to the plan {back}")
    exits = entry_exits(entry)
    room = rooms.get(number)
    if room is None:
        if "unexplored" not in classes(entry) or not description[0].startswith("Not explored"):
            problem(f"{where}: not in the report, yet its entry does not say it is not explored")
        if len(exits) != 1:
            problem(f"{where}: an unexplored room shows only its way back, not {exits}")
        return
    if room["level"] != level:
        problem(f"{where}: in the section of level {level}, but on level {room['level']}")
    if description != [squeeze(room["description"])]:
        problem(f"{where}: description {description}, expected {room['description']!r}")
    expected = [(e["direction"], e["passage"], e["room"]) for e in room["exits"]]
    if [e[:3] for e in exits] != expected:
        problem(f"{where}: exits {exits}, expected {expected}")
    stairs = [e for e in exits if e[0].startswith(("Up ", "Down "))]
    if any(e[3] is None for e in stairs) or any(e[3] is not None for e in exits if e not in stairs):
        problem(f"{where}: only stairs, and every stair, name the level they reach: {exits}")
    contents = (["Monster"] if room["monster"] else []) + \
        ([squeeze(f"Trap: {room['trap']}")] if room["trap"] else []) + \
        ([("Treasure:", [squeeze(line) for line in room["treasure"]])] if room["treasure"] else [])
    if entry_contents(entry) != contents:
        problem(f"{where}: contents {entry_contents(entry)}, expected {contents}")


DOOR_TITLE = re.compile(r"^(Door|Locked door|Broken door|Archway) to room (\d+)$")


def check_plan_links(plan, level, rooms):
    """Each door and stair leads to its room's group on a plan; doors say where."""
    for group in plan.iter(SVG + "g"):
        match = re.fullmatch(rf"plan-{level}-room-(\d+)", group.get("id", ""))
        room = rooms.get(int(match.group(1))) if match else None
        if room is None:
            continue
        doors, stairs = [], []
        for link in group.iter(SVG + "a"):
            href = link.get("href", "")
            if "door" in classes(link):
                title = DOOR_TITLE.match(text_of(link.find(SVG + "title")))
                if not title or href != f"#plan-{level}-room-{title.group(2)}":
                    problem(f"room {room['number']}: door {href!r} titled {title}")
                doors.append(int(title.group(2)) if title else 0)
            elif link.find(SVG + "g") is not None and "stairs" in classes(link.find(SVG + "g")):
                stairs.append(href)
        exits = [e for e in room["exits"] if not e["direction"].startswith(("Up ", "Down "))]
        if sorted(doors) != sorted(e["room"] for e in exits):
            problem(f"room {room['number']}: doors lead to {sorted(doors)}, "
                    f"exits to {sorted(e['room'] for e in exits)}")
        expected = sorted(f"#plan-{rooms[e['room']]['level']}-room-{e['room']}"
                          for e in room["exits"] if e not in exits and e["room"] in rooms)
        if sorted(h for h in stairs if int(h.rsplit("-", 1)[1]) in rooms) != expected:
            problem(f"room {room['number']}: stairs link to {stairs}, expected {expected}")


def check_figure(section, level, numbers, rooms):
    figures = children(section, "figure")
    if len(figures) != 1:
        problem(f"level {level}: {len(figures)} figures")
        return
    captions = children(figures[0], "figcaption")
    plans = [s for s in figures[0].iter(SVG + "svg") if s.get("aria-labelledby")]
    if len(captions) != 1 or len(plans) != 1 or \
            plans[0].get("aria-labelledby") != captions[0].get("id"):
        problem(f"level {level}: the plan is not labelled by its figure caption")
        return
    check_tiles(figures[0], plans[0], level)
    check_plan_links(plans[0], level, rooms)
    linked = {int(m.group(1)) for e in plans[0].iter() for name in LINK_ATTRIBUTES
              if (m := re.fullmatch(r"#room-(\d+)", e.get(name, "")))}
    missing = sorted(set(numbers) - linked)
    if missing:
        problem(f"level {level}: rooms with no link on the plan: {missing[:10]}")


def millimetres(length):
    return float(length[:-2]) if length.endswith("mm") else float("inf")


def centre(walls):
    """The middle of a room's walls: a rect, or a path of whole-number points."""
    if local(walls.tag) == "rect":
        return (float(walls.get("x")) + float(walls.get("width")) / 2,
                float(walls.get("y")) + float(walls.get("height")) / 2)
    numbers = [float(n) for n in re.findall(r"-?\d+(?:\.\d+)?", walls.get("d", ""))]
    xs, ys = numbers[0::2], numbers[1::2]
    return ((min(xs) + max(xs)) / 2, (min(ys) + max(ys)) / 2)


def check_tiles(figure, plan, level):
    """A plan printed in tiles: each fits a page, neighbours share a 10-foot
    strip, every room is on one, and more than one come after an overview."""
    sheets = [s for s in figure.iter(SVG + "svg") if "sheet" in classes(s)]
    if ("tiled" in classes(figure)) != bool(sheets):
        problem(f"level {level}: tiled is {'tiled' in classes(figure)}, yet {len(sheets)} tiles")
    if not sheets:
        return
    boxes = []
    shown = set()
    for sheet in sheets:
        if millimetres(sheet.get("width")) > 186 or millimetres(sheet.get("height")) > 245:
            problem(f"level {level}: a tile of {sheet.get('width')} x {sheet.get('height')} "
                    f"does not fit a page")
        inner = sheet.find(SVG + "svg")
        box = [float(v) for v in inner.get("viewBox").split()]
        boxes.append(box)
        for group in inner.iter(SVG + "g"):
            walls = [w for w in group if "walls" in classes(w)]
            room = [c for c in classes(group) if c.startswith("room-")]
            if room and walls:
                x, y = centre(walls[0])
                if box[0] <= x <= box[0] + box[2] and box[1] <= y <= box[1] + box[3]:
                    shown.add(room[0])
    overviews = [d for d in figure.iter("div") if "overview" in classes(d)]
    if len(overviews) != (len(sheets) > 1):
        problem(f"level {level}: {len(overviews)} overviews for {len(sheets)} tiles")
    # Tiles in one row or column start 10 feet before their neighbour ends.
    for axis in (0, 1):
        spans = sorted({(b[axis], b[axis + 2]) for b in boxes})
        for (start, length), (after, _) in zip(spans, spans[1:]):
            if abs(start + length - 10 - after) > 0.01:
                problem(f"level {level}: tiles at {start} and {after} overlap by "
                        f"{start + length - after} feet, not 10")
    rooms = {g.get("id").split("-", 2)[2] for g in plan.iter(SVG + "g")
             if re.fullmatch(rf"plan-{level}-room-\d+", g.get("id", ""))}
    if rooms - shown:
        problem(f"level {level}: the tiles leave out {sorted(rooms - shown)[:10]}")


SECRET_TEXT = re.compile(r"^[MT$ ]+$|\bto room\b|^(up|down) \d|not explored|seed|\*", re.I)


def check_player_book(root, show, numbers):
    """What the players get: plans, every room on them, and nothing secret."""
    texts = [text_of(e) for e in root.iter() if isinstance(e.tag, str) and
             local(e.tag) in ("text", "title", "h1", "h2", "h3", "p", "li", "figcaption", "dd")]
    for text in texts:
        if SECRET_TEXT.search(text):
            problem(f"the player's book shows {text!r}")
    if any(local(e.tag) in ("article", "a") for e in root.iter()
           if isinstance(e.tag, str) and not e.get("href", "").startswith("#level-")):
        problem("the player's book has a key or links to rooms")
    levels = sorted({room["level"] for room in show["rooms"]})
    sections = [s for s in root.iter("section") if "level" in classes(s)]
    if [s.get("id") for s in sections] != [f"level-{level}" for level in levels]:
        problem(f"sections {[s.get('id') for s in sections]} for levels {levels}")
    rooms = {room["number"]: room["level"] for room in show["rooms"]}
    for room in show["rooms"]:
        for exit_ in room["exits"]:
            if not exit_["direction"].startswith(("Up ", "Down ")):
                rooms.setdefault(exit_["room"], room["level"])
    drawn = {}
    for section in sections:
        level = int(section.get("id").split("-")[1])
        for group in section.iter(SVG + "g"):
            match = re.fullmatch(rf"plan-{level}-room-(\d+)", group.get("id", ""))
            if not match:
                continue
            number = int(match.group(1))
            drawn[number] = level
            shown = [squeeze(t.text or "") for t in group.iter(SVG + "text")] + \
                [squeeze(t.text or "") for t in group.iter(SVG + "title")]
            words = " ".join(shown).split()
            if (str(number) in words) != numbers or \
                    (not numbers and any(word.isdigit() for word in words)):
                problem(f"room {number}: numbers {'missing' if numbers else 'shown'}: {shown}")
    # Rooms an overflow left ungenerated may be unknown to the JSON.
    missing = sorted(set(rooms.items()) - set(drawn.items()))
    if missing:
        problem(f"rooms (number, level) not on their plans: {missing[:10]}")


def main():
    if len(sys.argv) not in (3, 4) or sys.argv[3:] not in ([], ["player"], ["player-numbers"]):
        print(__doc__)
        return 2
    with open(sys.argv[1], encoding="utf-8") as f:
        raw = f.read()
    with open(sys.argv[2], encoding="utf-8") as f:
        show = json.load(f)
    root = parse(raw)
    check_links_and_loading(root, raw)
    if sys.argv[3:]:
        check_player_book(root, show, sys.argv[3] == "player-numbers")
    else:
        check_header(root, show)
        check_levels_and_entries(root, show)
    for line in problems[:40]:
        print(line)
    if len(problems) > 40:
        print(f"... and {len(problems) - 40} more problems")
    if not problems:
        print("ok")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
