#!/usr/bin/env python3
"""Builds the language data from the TSV tables beside this script.

Reads data/source/languages.tsv, every item table data/source/*.tsv and the optional
data/source/setget.tsv, checks them, and writes data/compare.tab and one data/<language>.ldi
per language (Windows-1250, CR LF). Prints the item counts and, per language, the words that
belong to two or more items, so that a reviewer can judge the ambiguities.

    python3 data/source/build_data.py            # check and write
    python3 data/source/build_data.py --check    # check only, write nothing
    python3 data/source/build_data.py --quiet    # no ambiguity listing
    python3 data/source/build_data.py --check --allow-missing   # tables still in progress

Item tables: key, description, then one column per language in the order of languages.tsv.
Exits with status 1 and a message naming file and line on the first class of error found.
"""

import argparse
import os
import re
import sys
from collections import OrderedDict

SOURCE_DIR = os.path.dirname(os.path.abspath(__file__))
DATA_DIR = os.path.dirname(SOURCE_DIR)

NON_ITEM_TABLES = {"languages.tsv", "setget.tsv"}
ITEM_SECTIONS = ["dict", "class", "param", "other", "colors", "name"]
SETGET_SECTIONS = ["set", "get"]

CLASSES = [
    "button", "colorslider", "colourbutton", "commport", "joystick", "main", "mainwindow",
    "mediaplayer", "melodybutton", "net", "page", "pageswitch", "pane", "separator", "slider",
    "switch", "textbox", "toolbar", "toolbutton", "toolwindow", "turtle", "web", "widthswitch",
    "window",
]

# Property codes and their neutral names; code 29 has none.
PROPERTY_NAMES = (
    "name apos xCor yCor pos size width height hint enabled shown value richText font_text "
    "colour bgcolour_text editing transparent stayEditing activePage caption_window caption "
    "oneShot style down allUp flat group picture - min max value_slider vertical origin "
    "bgLineColour bgLineWidth bgPicture pageWho bgColour heading homeState xCor yCor fillColour "
    "fillPattern pen penColour penWidth penPattern rangeStyle range frame shape shapeScale "
    "shapeColour animation font transparentClick parentHandle fullPicture voiceMenu "
    "mainvoiceMenu frameItem autodrag sensitive windowState x y z r u v rangeX rangeY rangeZ "
    "rangeR rangeU rangeV deadZoneX deadZoneY deadZoneZ deadZoneR deadZoneU deadZoneV axesCount "
    "buttonCount pov " + " ".join("button%d" % n for n in range(1, 33)) + " frameMode "
    "bgcolour_slider thumbLength bgLinePattern selection selectedText velocityXY velocity angle "
    "prompt readlistPrompt shownRange .name switch useWho transparent_slider filename "
    "showbuttons_mm address maximized_web style_web host userID port_email attachments body "
    "fromAddress fromName replyTo subject toAddress toBlindCarbonCopy toCarbonCopy showToolbar "
    "server delayScale position playState style_net port controlledObject align order "
    "caption_web showTitleBar caption_mm showtitlebar_mm maximized style_mm runEnabled nickName "
    "myPlace number borderColour acceptCommands acceptKeyMenu keyMenu acceptVoiceMenu frozen "
    "userCanStop growWithValue oneLine screenState mainbarShown paintbarShown comname "
    "port_serial baudrate databits stopbits parity rtscts xonxoff asyncinput connected_serial"
).split()
assert len(PROPERTY_NAMES) == 195, len(PROPERTY_NAMES)

# Entries the program looks up by key; the keywords among them must have a word.
LOOKED_UP = [
    "dict .new.", "dict .setstate.", "dict newclass", "dict .setsaveoptions", "dict make",
    "dict setplist", "param define", "param event", "other end",
] + ["class " + c for c in CLASSES]

KEY_RE = re.compile(r"^([a-z]+) ([a-z0-9._]+)$")
DESCRIPTION_RE = re.compile(r"^([A-Za-z]+) - \S")
# Characters that end a word in the translator's line scanner, and those the data formats
# reserve; a word holding one could never be found or would break a project line.
SEPARATORS = set(chr(c) for c in range(0x21)) | set("\"'()*+,-/:;<=>[]\\`|~\x7f") | set("«¬¶»")
RESERVED = set("|[]\"';=")
# The word table is sorted by lowered words and searched by upper-cased ones; these two sort
# between the capitals and the small letters, so a word holding one could be missed.
MISSORTED = set("^_")

UPPER_ACCENTS = {  # table-mode fold of the Central European letters, by plain capital
    "A": "ĄąÁÂĂÄáâăä", "C": "ĆÇČćçč", "D": "ĎĐďđ", "E": "ÉĘËĚéęëě", "I": "ÍÎíî",
    "L": "ŁłĽľĹĺ", "N": "ŃŇńň", "O": "ÓÔŐÖóôőö", "R": "ŔŘŕř", "S": "ŠŚšśŞş", "T": "ŤťŢţ",
    "U": "ŮÚŰÜůúűü", "Y": "Ýý", "Z": "ŽŹžźŻż",
}


class DataError(Exception):
    pass


def fail(where, message):
    raise DataError("%s: %s" % (where, message))


def table_fold():
    fold = {chr(c): chr(c) for c in range(0x80)}
    for c in range(ord("a"), ord("z") + 1):
        fold[chr(c)] = chr(c).upper()
    for plain, letters in UPPER_ACCENTS.items():
        for letter in letters:
            fold[letter] = plain
    return fold


TABLE_FOLD = table_fold()


def fold_word(word, table_mode):
    """The word comparison of the program: case-blind, and accent-blind in table mode."""
    if table_mode:
        return "".join(TABLE_FOLD.get(ch, ch) for ch in word)
    out = []
    for ch in word:
        up = ch.upper()
        out.append(up if len(up) == 1 and encodable(up) else ch)
    return "".join(out)


def encodable(text):
    try:
        text.encode("cp1250")
        return True
    except UnicodeEncodeError:
        return False


def read_rows(path):
    """Yields (where, cells) for every non-comment, non-empty line of a TSV file."""
    name = os.path.basename(path)
    with open(path, encoding="utf-8", newline="") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\r\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            where = "%s:%d" % (name, number)
            if not encodable(line):
                bad = "".join(sorted(set(ch for ch in line if not encodable(ch))))
                fail(where, "characters outside Windows-1250: %r" % bad)
            yield where, line.split("\t")


def check_words(where, language, cell):
    if cell == "":
        fail(where, "%s: empty cell" % language)
    if cell != cell.strip(" "):
        fail(where, "%s: leading or trailing blank in %r" % (language, cell))
    if "  " in cell:
        fail(where, "%s: double blank in %r" % (language, cell))
    words = cell.split(" ")
    for word in words:
        bad = set(word) & (SEPARATORS | RESERVED | MISSORTED)
        if bad:
            fail(where, "%s: word %r holds %r, which ends or breaks a word"
                 % (language, word, "".join(sorted(bad))))
    lowered = [w.lower() for w in words]
    if len(set(lowered)) != len(lowered):
        fail(where, "%s: a word repeats in %r" % (language, cell))
    return words


def check_description(where, key, description):
    match = DESCRIPTION_RE.match(description)
    if not match:
        fail(where, "description %r does not read '<Class> - <what it is>'" % description)
    owner = match.group(1).lower()
    if owner not in CLASSES and owner != "general":
        fail(where, "description %r names no class (or General)" % description)
    if "(" in description or ")" in description or "|" in description:
        fail(where, "description %r holds a parenthesis or bar" % description)
    if description != description.strip():
        fail(where, "description %r has blanks at its ends" % description)
    lowered = description.lower()
    for cls in CLASSES:
        if cls in lowered and cls not in owner:
            fail(where, "description %r mentions %r but belongs to %r" % (description, cls, owner))
    if description.startswith("Net") and not description.startswith("Net "):
        fail(where, "network description must begin with 'Net '")


def load_languages():
    languages = []
    for where, cells in read_rows(os.path.join(SOURCE_DIR, "languages.tsv")):
        if len(cells) != 4:
            fail(where, "expected 4 columns: language, file, ansi, setfix")
        name, file_name, ansi, setfix = cells
        if not re.match(r"^[a-z]+$", name):
            fail(where, "language name %r must be lower-case ASCII letters" % name)
        if not file_name.endswith(".ldi") or "/" in file_name:
            fail(where, "file %r must be a bare *.ldi name" % file_name)
        if ansi not in ("0", "1"):
            fail(where, "ansi must be 0 or 1")
        if "*" not in setfix or setfix == "*":
            fail(where, "setfix %r must be prefix*suffix with at least one of them" % setfix)
        if ansi == "1" and not re.match(r"^[A-Za-z]*\*[A-Za-z]*$", setfix):
            # Table mode finds words by their folded spelling in a table sorted by their lowered
            # spelling; an accented prefix sorts the generated set forms out of place there.
            fail(where, "setfix %r of a table-mode language must be ASCII letters" % setfix)
        if any(lang["name"] == name for lang in languages):
            fail(where, "language %r twice" % name)
        languages.append({"name": name, "file": file_name, "ansi": ansi, "setfix": setfix,
                          "table_mode": ansi == "1"})
    if not languages:
        fail("languages.tsv", "no languages")
    if len(languages) > 7:
        fail("languages.tsv", "the program shows at most seven languages")
    return languages


def item_tables():
    names = sorted(n for n in os.listdir(SOURCE_DIR)
                   if n.endswith(".tsv") and n not in NON_ITEM_TABLES)
    return [os.path.join(SOURCE_DIR, n) for n in names]


def load_items(languages):
    items = OrderedDict()  # key -> {description, words: {language: [words]}, where}
    for path in item_tables():
        for where, cells in read_rows(path):
            if len(cells) != 2 + len(languages):
                fail(where, "expected %d columns (key, description, %s), found %d"
                     % (2 + len(languages), ", ".join(l["name"] for l in languages), len(cells)))
            key, description = cells[0], cells[1]
            match = KEY_RE.match(key)
            if not match:
                fail(where, "key %r is not '<section> <lower-case identifier>'" % key)
            if match.group(1) not in ITEM_SECTIONS:
                fail(where, "section %r is not one of %s" % (match.group(1), ITEM_SECTIONS))
            if key in items:
                fail(where, "key %r already defined at %s" % (key, items[key]["where"]))
            check_description(where, key, description)
            words = OrderedDict()
            for language, cell in zip(languages, cells[2:]):
                words[language["name"]] = check_words(where, language["name"], cell)
            items[key] = {"description": description, "words": words, "where": where}
    return items


def load_setget(languages, items):
    entries = []  # (section, identifier, language, words)
    path = os.path.join(SOURCE_DIR, "setget.tsv")
    if not os.path.exists(path):
        return entries
    names = [l["name"] for l in languages]
    seen = set()
    for where, cells in read_rows(path):
        if len(cells) != 4:
            fail(where, "expected 4 columns: section, identifier, language, words")
        section, identifier, language, cell = cells
        if section not in SETGET_SECTIONS:
            fail(where, "section must be set or get")
        if language not in names:
            fail(where, "unknown language %r" % language)
        owner = items.get("dict " + identifier) or items.get("name " + identifier)
        if owner is None:
            fail(where, "no property 'dict %s' for this entry" % identifier)
        if section == "set" and " setting" not in owner["description"] \
                and not items.get("name " + identifier):
            fail(where, "'%s' is not settable, so a set word would never be used" % identifier)
        if (section, identifier, language) in seen:
            fail(where, "entry given twice")
        seen.add((section, identifier, language))
        entries.append((section, identifier, language, check_words(where, language, cell)))
    return entries


def check_coverage(items, languages, allow_missing):
    missing = [k for k in LOOKED_UP if k not in items]
    missing += ["dict " + n.lower() for n in PROPERTY_NAMES
                if n != "-" and "dict " + n.lower() not in items]
    if missing:
        message = "missing looked-up entries: %s" % ", ".join(sorted(set(missing)))
        if not allow_missing:
            fail("tables", message)
        print("build_data: warning: %s" % message, file=sys.stderr)
    # Reassembly turns a property name back into the first code with that name, so two
    # properties that share a main word would swap codes when a project is saved.
    for language in languages:
        seen = {}
        for name in dict.fromkeys(n.lower() for n in PROPERTY_NAMES if n != "-"):
            item = items.get("dict " + name)
            if item is None:
                continue
            word = fold_word(item["words"][language["name"]][0], language["table_mode"])
            if word in seen:
                fail(item["where"], "%s: property %s has the same name as property %s"
                     % (language["name"], name, seen[word]))
            seen[word] = name


def split_setfix(setfix):
    prefix, _, suffix = setfix.partition("*")
    return prefix, suffix


def set_form(word, prefix, suffix):
    return prefix + word[:1].upper() + word[1:] + suffix


def make_set_key(key):
    section, _, identifier = key.partition(" ")
    return section + " set" + identifier


def word_table(items, setget, language):
    """The merged table the program builds for this source language: folded word -> senses
    (key, target key) in the order they are added; set forms and numbered colours included."""
    name = language["name"]
    table_mode = language["table_mode"]
    prefix, suffix = split_setfix(language["setfix"].lower())
    table = OrderedDict()
    spelling = {}

    def add(word, key, origin):
        folded = fold_word(word, table_mode)
        spelling.setdefault(folded, word.lower())
        senses = table.setdefault(folded, [])
        if any(k == key for k, _ in senses):
            return True
        found = bool(senses)
        senses.append((key, origin))
        return found

    for key in sorted(items, key=lambda k: k.encode("cp1250")):
        item = items[key]
        section = key.split(" ", 1)[0]
        for word in item["words"][name]:
            found = add(word, key, key)
            if not found and section == "colors":
                for n in range(1, 13):
                    add(word + str(n), key, key)
        if " setting" in item["description"] or section == "name":
            for word in item["words"][name]:
                add(set_form(word, prefix, suffix), make_set_key(key), key)
    for section, identifier, lang, words in setget:
        if lang != name:
            continue
        owner = make_set_key("dict " + identifier) if section == "set" else "dict " + identifier
        if any(s and s[0][0] == owner for s in table.values()):
            for word in words:
                add(word, owner, owner)
    return OrderedDict((spelling[w], s) for w, s in table.items())


def ambiguities(items, setget, language):
    return OrderedDict((w, s) for w, s in word_table(items, setget, language).items()
                       if len(s) > 1)


def target_of(items, origin, sense_key, language):
    words = items[origin]["words"][language["name"]]
    if sense_key != origin:
        prefix, suffix = split_setfix(language["setfix"])
        return set_form(words[0], prefix, suffix)
    return words[0]


def report(items, setget, languages, quiet):
    counts = OrderedDict()
    for key in items:
        section = key.split(" ", 1)[0]
        counts[section] = counts.get(section, 0) + 1
    print("items: %d (%s)" % (len(items), ", ".join("%s %d" % kv for kv in counts.items())))
    print("settable properties: %d" % sum(1 for k, v in items.items()
                                          if " setting" in v["description"]))
    for source in languages:
        amb = ambiguities(items, setget, source)
        print("\n%s (ansi=%s, setfix=%s): %d words with two or more items"
              % (source["name"], source["ansi"], source["setfix"], len(amb)))
        if not quiet:
            for word, senses in amb.items():
                print("  %-22s %s" % (word, ", ".join(k for k, _ in senses)))
        pairs = []
        for target in languages:
            if target is source:
                continue
            real = 0
            for senses in amb.values():
                targets = {fold_word(target_of(items, origin, key, target), source["table_mode"])
                           for key, origin in senses}
                real += len(targets) > 1
            pairs.append("%s %d" % (target["name"], real))
        print("  with different translations into: " + ", ".join(pairs))


def ldi_text(language, items, setget):
    lines = ["[system]", "language=" + language["name"], "ansi=" + language["ansi"],
             "setfix=" + language["setfix"]]
    for section in ITEM_SECTIONS:
        entries = [(k.split(" ", 1)[1], v["words"][language["name"]])
                   for k, v in items.items() if k.split(" ", 1)[0] == section]
        if entries:
            lines.append("")
            lines.append("[%s]" % section)
            lines.extend("%s=%s" % (ident, " ".join(words)) for ident, words in entries)
    for section in SETGET_SECTIONS:
        entries = [(ident, words) for sec, ident, lang, words in setget
                   if sec == section and lang == language["name"]]
        if entries:
            lines.append("")
            lines.append("[%s]" % section)
            lines.extend("%s=%s" % (ident, " ".join(words)) for ident, words in entries)
    return lines


def compare_text(items):
    return ["%s|%s" % (key, item["description"]) for key, item in items.items()]


def write_lines(path, lines):
    data = ("\r\n".join(lines) + "\r\n").encode("cp1250")
    if os.path.exists(path):
        with open(path, "rb") as f:
            if f.read() == data:
                return False
    temp = path + ".tmp"
    with open(temp, "wb") as f:
        f.write(data)
    os.replace(temp, path)
    return True


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--check", action="store_true", help="check only, write nothing")
    parser.add_argument("--quiet", action="store_true", help="leave out the ambiguity listing")
    parser.add_argument("--allow-missing", action="store_true",
                        help="warn instead of failing when looked-up entries are missing")
    args = parser.parse_args()
    try:
        languages = load_languages()
        items = load_items(languages)
        setget = load_setget(languages, items)
        check_coverage(items, languages, args.allow_missing)
    except DataError as error:
        print("build_data: error: %s" % error, file=sys.stderr)
        return 1
    report(items, setget, languages, args.quiet)
    if args.check:
        return 0
    outputs = [(os.path.join(DATA_DIR, "compare.tab"), compare_text(items))]
    outputs += [(os.path.join(DATA_DIR, l["file"]), ldi_text(l, items, setget)) for l in languages]
    changed = [os.path.basename(p) for p, lines in outputs if write_lines(p, lines)]
    print("\nwritten: %s" % (", ".join(changed) if changed else "nothing changed"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
