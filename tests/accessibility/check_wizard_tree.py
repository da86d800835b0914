# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""The wizard as a screen reader reads it over AT-SPI.

Starts the program, presses "Start" and each page tab through AT-SPI's own
actions, as a screen reader user would, and checks the names that the
accessibility tree gives the fields against the labels the window shows.
The fields that name a picture must hold their icon as a button that opens
the file dialog, and name the key that opens it from the field.

AT-SPI shows names, not object names, so a field is known by its page, its
role and its position inside its container, which the window's form fixes
to the pixel.

Usage: check_wizard_tree.py PROGRAM (inside a D-Bus session, with DISPLAY).
"""

import sys
import time

from screen_reader import (children, describe, extents, role, run, showing, wait_for, walk,
                           window)

FIELD_ROLES = {"text", "spin button", "list"}
FINISH = ("Fertig", "Seite schreiben")  # name, description
PAGES = ["Allgemeine Einstellungen", "Überschrift", "Links", "Text", "Bilder", "HTML Code"]

# The fields that name a picture hold a button, their icon, that opens the
# file dialog; their description names the key that opens it from the field.
CHOOSE_KEY = "Bild auswählen mit Strg+O"
CHOOSE_BUTTON = ("Bild auswählen", "Bild auswählen … (Strg+O)")  # name, description
PICTURE_FIELDS = {"Edit1", "Edit8", "Edit9", "Edit6", "Edit7", "Edit13", "Edit10"}
DIALOG = "Bild auswählen"

# (page, control, role, left, top inside its container) -> (name, description).
# Every field, help text and list that a page shows; nothing else of these
# roles may be on the page.
EXPECTED = {
    (0, "Memo1", "text", 546, 0): ("Hilfe", ""),
    (0, "Edit1", "text", 16, 160): ("Dateiname", "Hintergrund, " + CHOOSE_KEY),
    (0, "Edit14", "text", 16, 208): ("Farbe (RRGGBB)", ""),
    (0, "Edit19", "text", 8, 32): ("Dateiname", "Website"),  # in the group box
    (0, "Edit15", "text", 224, 152): ("Link", "Farben (RRGGBB)"),
    (0, "Edit16", "text", 224, 200): ("Besuchter Link", "Farben (RRGGBB)"),
    (0, "Edit17", "text", 224, 248): ("Maus überm Link", "Farben (RRGGBB)"),
    (0, "Edit18", "text", 224, 296): ("Aktiver Link", "Farben (RRGGBB)"),
    (0, "SpinEdit4", "spin button", 384, 48): ("Horizontal", "Entfernung zum Bildschirmrand"),
    (0, "SpinEdit5", "spin button", 384, 96): ("Vertikal", "Entfernung zum Bildschirmrand"),
    (0, "Edit26", "text", 384, 152): ("Breite der Tabelle", ""),
    (0, "Edit27", "text", 384, 224): ("Höhe der Tabelle", ""),
    (1, "Memo2", "text", 546, 0): ("Hilfe", ""),
    (1, "Edit2", "text", 16, 96): ("Überschrift1", ""),
    (1, "Edit5", "text", 16, 144): ("Überschrift2", ""),
    (1, "Edit20", "text", 16, 248): ("Schriftfarbe (RRGGBB)", ""),
    (1, "Edit21", "text", 16, 296): ("Schriftart", ""),
    (1, "Edit8", "text", 280, 96): ("Bild", CHOOSE_KEY),
    (1, "Edit9", "text", 280, 168): ("Bild", "Eckbild, " + CHOOSE_KEY),
    (1, "SpinEdit1", "spin button", 280, 216): ("Minimale Höhe", ""),
    (2, "Memo3", "text", 546, 0): ("Hilfe", ""),
    (2, "ListBox2", "list", 16, 96): ("Link", ""),
    (2, "Edit3", "text", 16, 208): ("Verweistext", ""),
    (2, "Edit4", "text", 16, 248): ("Verweisziel", ""),
    (2, "Edit6", "text", 16, 296): ("Dot-Bild", CHOOSE_KEY),
    (2, "Edit7", "text", 272, 112): ("Bild", "Link-Hintergrund, " + CHOOSE_KEY),
    (2, "SpinEdit2", "spin button", 272, 160): ("Minimalbreite", ""),
    (2, "SpinEdit6", "spin button", 272, 208): ("Minimalhöhe", ""),
    (3, "Memo5", "text", 546, 0): ("Hilfe", ""),
    (3, "Edit12", "text", 16, 120): ("Neue Textzeile", ""),
    (3, "ListBox1", "list", 16, 144): ("Textzeilen", ""),
    (3, "Edit24", "text", 16, 288): ("Schriftfarbe (RRGGBB)", ""),
    (3, "Edit25", "text", 16, 336): ("Schriftart", ""),
    (3, "Edit13", "text", 264, 112): ("Bild", "Bild einfügen, " + CHOOSE_KEY),
    (3, "Edit22", "text", 408, 112): ("Verweistext", "Link einfügen"),
    (3, "Edit23", "text", 408, 152): ("Verweisziel", "Link einfügen"),
    (4, "Memo4", "text", 546, 0): ("Hilfe", ""),
    (4, "ListBox3", "list", 16, 96): ("Bild", ""),
    (4, "Edit10", "text", 16, 200): ("Bild", CHOOSE_KEY),
    (4, "Edit11", "text", 16, 248): ("Bildtext", ""),
    (4, "SpinEdit3", "spin button", 264, 136): ("Zeilenumbrüche nach jedem Bild", ""),
    (5, "ListBox4", "list", 0, 0): ("HTML Code", ""),
}

# The two "Einfügen" buttons on "Text", told apart for the screen reader.
INSERT_BUTTONS = {
    ("BitBtn8", 264, 240): "Bild einfügen",
    ("BitBtn1", 408, 192): "Link einfügen",
}

SHOWN_LISTS = 4  # ListBox1 to ListBox4

failures = []
compared = []  # the controls whose name was compared with the table


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def position_in_parent(node):
    (x, y), (px, py) = extents(node), extents(node.parent)
    return x - px, y - py


def press(node):
    action = node.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if not check("Press" in names, f"{role(node)} {node.name!r} cannot be pressed"):
        return
    action.doAction(names.index("Press"))


def choose_button(control, field):
    """The icon button inside a picture field, checked as a screen reader
    meets it; None when it is not there."""
    buttons = [n for n in children(field) if role(n) == "push button"]
    if not check(len(buttons) == 1, f"{control}: {len(buttons)} buttons inside, expected 1"):
        return None
    button = buttons[0]
    compared.append(control + " icon")
    check((button.name, button.description) == CHOOSE_BUTTON,
          f"{control}: icon {button.name!r} described {button.description!r}, "
          f"expected {CHOOSE_BUTTON}")
    check(showing(button), f"{control}: icon not showing")
    return button


def check_dialog_round_trip(app, control, field, button):
    """Pressing the icon opens the dialog; its "Abbrechen" closes it and the
    field keeps its text."""
    before = field.queryText().getText(0, -1)
    press(button)
    dialog = wait_for(f"the dialog {DIALOG!r} from {control}", lambda: window(app, DIALOG))
    cancel = [n for n in walk(dialog) if role(n) == "push button" and n.name == "Abbrechen"]
    if not check(len(cancel) == 1, f"the dialog holds {len(cancel)} buttons 'Abbrechen'"):
        return
    press(cancel[0])
    wait_for(f"the dialog {DIALOG!r} closed", lambda: window(app, DIALOG) is None)
    after = field.queryText().getText(0, -1)
    check(after == before, f"{control}: {after!r} after 'Abbrechen', expected {before!r}")


def check_page(app, index, page):
    """The fields of one shown page against the table."""
    expected = {key: value for key, value in EXPECTED.items() if key[0] == index}
    found = {}
    for node in walk(page):
        kind = role(node)
        if kind not in FIELD_ROLES:
            continue
        x, y = position_in_parent(node)
        matches = [key for key in expected if key[2] == kind and key[3:] == (x, y)]
        if not check(matches, f"{PAGES[index]}: unexpected {describe(node)} at {x}, {y}"):
            continue
        check(matches[0] not in found, f"{PAGES[index]}: two {kind} nodes at {x}, {y}")
        found[matches[0]] = node
    for key, (name, description) in expected.items():
        control = key[1]
        node = found.get(key)
        if not check(node is not None, f"{control}: no {key[2]} at {key[3]}, {key[4]}"):
            continue
        compared.append(control)
        check(node.name == name, f"{control}: name {node.name!r}, expected {name!r}")
        check(node.description == description,
              f"{control}: description {node.description!r}, expected {description!r}")
        if control in PICTURE_FIELDS:
            button = choose_button(control, node)
            if button is not None and control == "Edit1":
                check_dialog_round_trip(app, control, node, button)
    if index == PAGES.index("Text"):
        buttons = {position_in_parent(n): n.name for n in walk(page)
                   if role(n) == "push button"}
        for (control, x, y), name in INSERT_BUTTONS.items():
            compared.append(control)
            check(buttons.get((x, y)) == name,
                  f"{control}: push button at {x}, {y} named {buttons.get((x, y))!r}, "
                  f"expected {name!r}")


def check_wizard(app, wizard):
    # Only the page control (which Qt reads as a filler around its tab strip
    # and pages) and the finish button, named for the ear, not by its spaced
    # caption: the controls that the page control covers are not there.
    top = sorted(describe(n) for n in children(wizard))
    check(top == sorted(["filler ''", f"push button {FINISH[0]!r}"]),
          f"the wizard window holds {top}")
    finish = [n for n in children(wizard) if role(n) == "push button"]
    check(finish and finish[0].description == FINISH[1],
          f"the finish is described {[n.description for n in finish]}, expected {FINISH[1]!r}")

    nodes = list(walk(wizard))
    for node in nodes:
        if role(node) in FIELD_ROLES:
            check(node.name != "", f"{describe(node)} on the wizard has no name")
    lists = [n for n in nodes if role(n) == "list"]
    check(len(lists) == SHOWN_LISTS, f"{len(lists)} lists on the wizard: "
          f"{[n.name for n in lists]}")
    check(not [n for n in nodes if n.name == "Einfügen"], "a button is still named 'Einfügen'")

    tab_list = next(n for n in nodes if role(n) == "page tab list")
    tabs = [n for n in children(tab_list) if role(n) == "page tab"]
    check([t.name for t in tabs] == PAGES, f"page tabs {[t.name for t in tabs]}")
    scroll = sorted(n.name for n in children(tab_list) if role(n) == "push button")
    check(scroll == ["Nach links scrollen", "Nach rechts scrollen"],
          f"the tab strip's scroll buttons read {scroll}")

    stack = next(n for n in nodes if role(n) == "layered pane")
    pages = children(stack)
    if not check(len(pages) == len(PAGES), f"{len(pages)} pages"):
        return
    for index, (tab, page) in enumerate(zip(tabs, pages)):
        press(tab)
        wait_for(f"page {PAGES[index]!r} shown", lambda: showing(page))
        check_page(app, index, page)


def read_wizard(app, _folder):
    start_window = wait_for("the start window", lambda: window(app, "HTML Velmora 1.3 Ultrapex"))
    start = next(n for n in walk(start_window) if n.name == "Start")
    press(start)
    wizard = wait_for("the wizard after 'Start'", lambda: window(app, "Assistent"))
    for node in (start_window, wizard):  # announced by their titles when activated
        check(role(node) == "frame", f"the window {node.name!r} reads as {role(node)!r}")
    check_wizard(app, wizard)


def main():
    started = time.monotonic()
    run(sys.argv[1], read_wizard, failures)
    expected = len(EXPECTED) + len(INSERT_BUTTONS) + len(PICTURE_FIELDS)
    print(f"{len(compared)} of {expected} names compared on the "
          f"AT-SPI tree in {time.monotonic() - started:.1f} s; {len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
