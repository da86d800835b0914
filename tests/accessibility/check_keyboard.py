# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""A page made with the keyboard alone, as a blind user makes it.

Real key events (xdotool, through the X server) go to the windows under a
window manager, and where the focus is, is read over AT-SPI as a screen
reader reads it: the node that is FOCUSED among the children that are
SHOWING. The page has a background colour, a title and a heading, three links
(of four added, one deleted, one changed in place, one moved and the move
undone), two text lines ("Alles löschen", then Strg+Z) and a picture. The
page written is compared byte for byte with the page below. On the way every
flat button must read with its name and as focusable, the finish as
"Fertig", and both windows as windows.

Usage: check_keyboard.py PROGRAM (inside a D-Bus session, with DISPLAY and a
window manager).
"""

import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

from screen_reader import (children, describe, extents, has_state, role, run, showing, wait_for,
                           walk_showing, window)

START = "HTML Velmora 1.3 Ultrapex"
WIZARD = "Assistent"
BUTTON_ROLES = {"push button", "toggle button", "check box"}  # a toggle reads as a check box
PAGES = ["Allgemeine Einstellungen", "Überschrift", "Links", "Text", "Bilder", "HTML Code"]

# The flat buttons of each window and page, by the names a reader says.
FLAT_BUTTONS = {
    START: ["Start", "Ende"],
    "Links": ["Neuer Link", "Link löschen", "Fertig"],
    "Text": ["Zeilenumbruch", "Zeile löschen", "Alles löschen", "Linksbündig", "Mittig",
             "Rechtsbündig", "Fertig"],
    "Bilder": ["Neues Bild", "Bild löschen", "Fertig"],
}

EXPECTED_PAGE = b"".join(line + b"\r\n" for line in [
    b"<html>",
    b"<head><title>Meine Seite</title>",
    b"</head>",
    b'<body bgcolor="#FFEECC" topmargin="0" leftmargin="0">',
    b'<table cellspacing="0" cellpadding="0" height="50%" width="50%">',
    b"<tr>",
    b'<th height="0">',
    b"</th>",
    b"<td><b>",
    b'<font size="5" color="#000000" face="Arial">Willkommen</font></b>',
    b'<img src="bild.jpg" align="middle">',
    b"</td>",
    b"</tr>",
    b"<tr>",
    b'<td height="0" width="0"><a href="index.html">Home</a></td>',
    b'<td valign="top" rowspan="4">',
    b'<font color="#000000" face="Arial">',
    b" &nbsp; Hallo",
    b" &nbsp; Welt",
    b"</font>",
    b"</td>",
    b"</tr>",
    b"<tr>",
    b'<td height="0" width="0"><a href="blog.html">Blog</a></td>',
    b"</tr>",
    b"<tr>",
    b'<td height="0" width="0"><a href="kontakt.html">Kontakt</a></td>',
    b"</tr>",
    b'<tr><td height="100%">&nbsp;</td></tr>',
    b"<tr>",
    b"<th>",
    b"<br>",
    b'<img src="sonne.jpg">Sonne',
    b"</th>",
    b"</tr>",
    b"</table>",
    b"</body>",
    b"</html>",
])

failures = []
looks = 0  # the times the focus was read
look_time = 0.0


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


class Lost(Exception):
    """The keyboard did not get where it had to: the rest cannot follow."""


def key(*keys):
    subprocess.run(["xdotool", "key", "--delay", "10", *keys], check=True)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "8", text], check=True)


def focused(app):
    """The node a screen reader says has the focus: among the nodes SHOWING in
    the program's active window, the deepest that reads FOCUSED. The current
    row of a list and the current tab of the tab strip read FOCUSED whether
    their list or strip has the focus or not: they count only where it has."""
    global looks
    looks += 1

    def search(node, in_focus):
        for child in children(node):
            try:
                states = child.getState()
            except GLib.Error:
                continue  # gone while it was read
            if not states.contains(pyatspi.STATE_SHOWING):
                continue
            here = states.contains(pyatspi.STATE_FOCUSED) and (
                in_focus or role(child) not in ("list item", "page tab"))
            found = search(child, here)
            if found is not None:
                return found
            if here:
                return child
        return None

    global look_time
    t0 = time.monotonic()
    try:
        for top in children(app):
            if showing(top) and has_state(top, pyatspi.STATE_ACTIVE):
                return search(top, False)
        return None
    finally:
        look_time += time.monotonic() - t0


def is_control(node, kind, name):
    """Whether `node` is the `kind` named `name`; for a list, a row of it too."""
    if node is None:
        return False
    if role(node) == kind and node.name == name:
        return True
    return kind == "list" and role(node) == "list item" and is_control(node.parent, kind, name)


def identity(node):
    if node is None:
        return None
    try:
        return role(node), node.name, extents(node)
    except Exception:  # gone while it was read
        return None


def after_key(app, keys, before):
    """Presses `keys` and waits until the focus has moved off `before`; the
    node that has it then."""
    key(*keys)

    def moved():
        node = focused(app)
        return node if identity(node) not in (None, before) else None

    return wait_for(f"the focus to move on from {before}", moved, seconds=5.0)


def tab_to(app, kind, name, backwards=False):
    """Tab (Shift+Tab) until a `kind` named `name` has the focus."""
    passed = []
    node = focused(app)
    for _ in range(40):
        if is_control(node, kind, name):
            return node
        passed.append(describe(node) if node is not None else "nothing")
        try:
            node = after_key(app, ["shift+Tab" if backwards else "Tab"], identity(node))
        except TimeoutError as error:
            raise Lost(f"on the way to the {kind} {name!r}, after {passed}: {error}")
    raise Lost(f"Tab does not reach the {kind} {name!r}, only {passed}")


def fill(app, kind, name, text, backwards=False):
    """Tabs to a field, whose text Tab selects, and types over it."""
    field = tab_to(app, kind, name, backwards)
    type_text(text)
    wait_for(f"{name!r} holding {text!r}",
             lambda: field.queryText().getText(0, -1) == text, seconds=5.0)


def selected(list_node):
    return [item.name for item in children(list_node)
            if role(item) == "list item" and has_state(item, pyatspi.STATE_SELECTED)]


def select_row(wizard, name, row):
    """Down (or Up) in the list that has the focus until its row `row` is
    selected, as a reader hears the rows go by."""
    lst = shown_list(wizard, name)
    for _ in range(10):
        now = selected(lst)
        if now == [row]:
            return
        position = rows(lst).index(now[0]) if now else -1
        key("Up" if position > rows(lst).index(row) else "Down")
        wait_for(f"the selection in {name!r} to move on from {now}",
                 lambda: selected(lst) != now, seconds=5.0)
    raise Lost(f"the arrow keys do not select {row!r} in {name!r}: {selected(lst)}")


def rows(list_node):
    return [item.name for item in children(list_node) if role(item) == "list item"]


def shown_list(wizard, name):
    return wait_for(f"the list {name!r}",
                    lambda: next((n for n in walk_showing(wizard)
                                  if role(n) == "list" and n.name == name), None))


def expect_rows(wizard, name, expected, what):
    lst = shown_list(wizard, name)
    try:
        wait_for(f"{what}: {expected}", lambda: rows(lst) == expected, seconds=5.0)
    except TimeoutError:
        raise Lost(f"{what}: the list {name!r} reads {rows(lst)}, expected {expected}")


def next_page(wizard, page):
    """Ctrl+Tab, and the page that then shows (the pages in the order of
    their tabs)."""
    key("ctrl+Tab")
    stack = next(n for n in walk_showing(wizard) if role(n) == "layered pane")
    index = PAGES.index(page)
    wait_for(f"the page {page!r}", lambda: showing(children(stack)[index]), seconds=5.0)


def check_buttons(window_node, flat):
    """Every button shown reads with a name; the flat ones by their names and
    as focusable."""
    buttons = [n for n in walk_showing(window_node) if role(n) in BUTTON_ROLES]
    for node in buttons:
        check(node.name != "", f"a {role(node)} without a name on {window_node.name!r}")
    for name in flat:
        found = [n for n in buttons if n.name == name]
        if check(len(found) == 1, f"{len(found)} buttons read {name!r}"):
            check(has_state(found[0], pyatspi.STATE_FOCUSABLE),
                  f"the button {name!r} does not read as focusable")


def make_page(app, work):
    start = wait_for("the start window", lambda: window(app, START))
    check(role(start) == "frame", f"the start window reads as {role(start)!r}")
    check_buttons(start, FLAT_BUTTONS[START])
    node = wait_for("the focus on 'Start'",
                    lambda: (lambda f: f is not None and f.name == "Start" and f)(focused(app)))
    check(role(node) == "push button", f"'Start' reads as {role(node)!r}")
    key("Return")
    wizard = wait_for("the wizard after Return on 'Start'", lambda: window(app, WIZARD))
    check(role(wizard) == "frame", f"the wizard reads as {role(wizard)!r}")
    wait_for("the focus in the wizard", lambda: identity(focused(app)) is not None)

    # "Allgemeine Einstellungen": a background colour
    radio = tab_to(app, "radio button", "Hintergrundbild")
    radio = after_key(app, ["Down"], identity(radio))
    check(radio.name == "Hintergrundfarbe" and has_state(radio, pyatspi.STATE_CHECKED),
          f"Down in the background choice reads {describe(radio)}")
    fill(app, "text", "Farbe (RRGGBB)", "#FFEECC")

    # "Überschrift": the title and the heading
    next_page(wizard, "Überschrift")
    fill(app, "text", "Überschrift1", "Meine Seite")
    fill(app, "text", "Überschrift2", "Willkommen")

    # "Links": four links, one deleted, one changed in place, one moved and
    # the move undone
    next_page(wizard, "Links")
    check_buttons(wizard, FLAT_BUTTONS["Links"])
    for number, (text, target) in enumerate([("Home", "index.html"), ("Weg", "weg.html"),
                                             ("Blgo", "blgo.html"), ("Kontakt", "kontakt.html")]):
        fill(app, "text", "Verweistext", text, backwards=True)
        fill(app, "text", "Verweisziel", target)
        tab_to(app, "push button", "Neuer Link")
        key("space")
        expect_rows(wizard, "Link", ["Home", "Weg", "Blgo", "Kontakt"][:number + 1],
                    "Space on 'Neuer Link'")
    tab_to(app, "list", "Link")
    select_row(wizard, "Link", "Weg")
    tab_to(app, "push button", "Link löschen")
    key("Return")
    expect_rows(wizard, "Link", ["Home", "Blgo", "Kontakt"], "Return on 'Link löschen'")

    tab_to(app, "list", "Link", backwards=True)
    select_row(wizard, "Link", "Blgo")
    key("F2")
    dialog = wait_for("the dialog 'Link ändern' after F2", lambda: window(app, "Link ändern"))
    check(role(dialog) == "dialog", f"'Link ändern' reads as {role(dialog)!r}")
    field = wait_for("the focus in 'Verweistext'",
                     lambda: (lambda f: f is not None and f.name == "Verweistext" and f)(
                         focused(app)))
    check(field.queryText().getText(0, -1) == "Blgo",
          f"'Verweistext' holds {field.queryText().getText(0, -1)!r}, expected 'Blgo'")
    type_text("Blog")
    wait_for("'Blog' typed", lambda: field.queryText().getText(0, -1) == "Blog")
    fill(app, "text", "Verweisziel", "blog.html")
    key("Return")
    wait_for("'Link ändern' closed by Return", lambda: window(app, "Link ändern") is None)
    expect_rows(wizard, "Link", ["Home", "Blog", "Kontakt"], "the link changed in place")

    wait_for("the focus back in the list", lambda: is_control(focused(app), "list", "Link"))
    select_row(wizard, "Link", "Kontakt")
    key("alt+Up")
    expect_rows(wizard, "Link", ["Home", "Kontakt", "Blog"], "Alt+Up on 'Kontakt'")
    key("ctrl+z")
    expect_rows(wizard, "Link", ["Home", "Blog", "Kontakt"], "Strg+Z after the move")

    # "Text": two lines, "Alles löschen", Strg+Z
    next_page(wizard, "Text")
    check_buttons(wizard, FLAT_BUTTONS["Text"])
    for line, shown in (("Hallo", ["Hallo"]), ("Welt", ["Hallo", "Welt"])):
        fill(app, "text", "Neue Textzeile", line)
        key("Return")  # "Hinzufügen"
        expect_rows(wizard, "Textzeilen", shown, "Return in the new line")
    tab_to(app, "push button", "Alles löschen")
    key("space")
    expect_rows(wizard, "Textzeilen", [], "Space on 'Alles löschen'")
    key("ctrl+z")
    expect_rows(wizard, "Textzeilen", ["Hallo", "Welt"], "Strg+Z after 'Alles löschen'")

    # "Bilder": a picture with its caption
    next_page(wizard, "Bilder")
    check_buttons(wizard, FLAT_BUTTONS["Bilder"])
    fill(app, "text", "Bild", "sonne.jpg")
    fill(app, "text", "Bildtext", "Sonne")
    tab_to(app, "push button", "Neues Bild")
    key("Return")
    expect_rows(wizard, "Bild", ["sonne.jpg"], "Return on 'Neues Bild'")

    # the finish: the last Tab stop, read as "Fertig"; Ctrl+Return presses it
    finish = tab_to(app, "push button", "Fertig")
    check(finish.description == "Seite schreiben",
          f"the finish is described {finish.description!r}")
    page = os.path.join(work, "index.html")
    key("ctrl+Return")
    wait_for("the wizard hidden by the finish", lambda: window(app, WIZARD) is None)
    wait_for("the page written", lambda: os.path.exists(page))
    with open(page, "rb") as written:
        actual = written.read()
    if not check(actual == EXPECTED_PAGE, "the page written differs from the page expected"):
        for number, (a, e) in enumerate(zip(actual.split(b"\r\n"), EXPECTED_PAGE.split(b"\r\n"))):
            if a != e:
                failures.append(f"line {number + 1}: {a!r}, expected {e!r}")
                break


def main():
    started = time.monotonic()
    run(sys.argv[1], make_page, failures, (TimeoutError, RuntimeError, Lost))
    print(f"a page made with the keyboard alone in {time.monotonic() - started:.1f} s, "
          f"the focus read {looks} times in {look_time:.1f} s; {len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
