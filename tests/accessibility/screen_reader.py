# SPDX-FileCopyrightText: 2026 The Velmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Reading the program over AT-SPI as a screen reader does: its application
on the bus, its windows, the nodes below them, their roles and states.

A window that is closing leaves a None child, or one that no longer answers,
for a moment: every walk takes such a node as absent.
"""

import ctypes
import subprocess
import tempfile
import time

import pyatspi
from gi.repository import Atspi, GLib

# libatspi 2.52 and later call a push button "button"; 2.46 (Debian 12)
# "push button". The role itself is the same, so roles are compared as such.
ROLE_NAMES = {pyatspi.ROLE_PUSH_BUTTON: "push button"}


def role(node):
    return ROLE_NAMES.get(node.getRole(), node.getRoleName())


def describe(node):
    return f"{role(node)} {node.name!r}"


def wait_for(what, probe, seconds=20.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = probe()
        if found:
            return found
        time.sleep(0.05)
    raise TimeoutError(f"not seen within {seconds:.0f} s: {what}")


def children(node):
    """The children that are still there."""
    try:
        found = [node.getChildAtIndex(i) for i in range(node.childCount)]
    except GLib.Error:
        return []
    return [child for child in found if child is not None]


def walk(node):
    yield node
    for child in children(node):
        yield from walk(child)


def walk_showing(node):
    """The nodes below `node` that are SHOWING, as a reader sees the window:
    a page that is not shown is not entered."""
    for child in children(node):
        if showing(child):
            yield child
            yield from walk_showing(child)


def has_state(node, state):
    try:
        return node.getState().contains(state)
    except GLib.Error:
        return False  # gone while it was read


def showing(node):
    return has_state(node, pyatspi.STATE_SHOWING)


def extents(node):
    e = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y


def open_display():
    """Waits until the X server answers, and keeps that connection open until
    this process ends: the program starts only on a server that is ready, and
    the server never resets under it for lack of clients."""
    xlib = ctypes.CDLL("libX11.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    return wait_for("the X server answering", lambda: xlib.XOpenDisplay(None), seconds=10.0)


def running(process):
    if process.poll() is not None:
        raise RuntimeError(f"the program ended at start with status {process.returncode}")
    return True


def our_application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in children(desktop):
        try:
            if app.name == "Velmora" and app.get_process_id() == pid:
                return app
        except GLib.Error:
            continue
    return None


def window(app, caption):
    """The shown window titled `caption`, or None."""
    for node in children(app):
        try:
            if node.name == caption and showing(node):
                return node
        except GLib.Error:
            continue  # closed while it was read: absent
    return None


def run(program, check, failures, errors=(TimeoutError, RuntimeError)):
    """Starts `program` in a folder of its own, finds it on the accessibility
    bus and runs check(app, folder); one of `errors` on the way is one more of
    `failures`. The program ends with the check, and each failure is printed.

    A screen reader's main loop keeps libatspi's cache of states up to date by
    the program's events; a check runs none, so it reads the states anew each
    time."""
    open_display()
    folder = tempfile.mkdtemp()
    process = subprocess.Popen([program], cwd=folder)
    try:
        app = wait_for("the program on the accessibility bus",
                       lambda: running(process) and our_application(process.pid))
        app.set_cache_mask(Atspi.Cache.NONE)
        check(app, folder)
    except errors as error:
        failures.append(str(error))
    finally:
        process.terminate()
        process.wait(timeout=10)
    for failure in failures:
        print("FAIL:", failure)
