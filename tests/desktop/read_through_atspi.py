# SPDX-License-Identifier: GPL-3.0-or-later
"""Plays the running Wheelwatcher from outside the process, the way a screen reader does: reads its
panels and History through AT-SPI, presses numbers and REWIND through the action interface, and
counts the name-change events the panels send. Run with Debian's /usr/bin/python3 (pyatspi).
Exits 0 when everything reads as it should, 1 with a message otherwise."""

import re
import sys
import time

import pyatspi
from gi.repository import GLib


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def pump(seconds):
    """Runs the event loop, so that events sent meanwhile reach the listener."""
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if not context.iteration(False):
            time.sleep(0.01)


def wait_until(condition, what, seconds=5.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if condition():
            return
        pump(0.05)
    fail(what)


def find_application():
    found = []

    def look():
        for application in pyatspi.Registry.getDesktop(0):
            if application is not None and application.name == "Wheelwatcher":
                found.append(application)
                return True
        return False

    wait_until(look, "the program did not register with the accessibility bus", 15.0)
    return found[0]


def descendant(root, predicate, what):
    found = pyatspi.findDescendant(root, predicate)
    if found is None:
        fail("nothing found: " + what)
    return found


def main():
    application = find_application()
    frame = descendant(application, lambda a: a.getRole() == pyatspi.ROLE_FRAME, "the window")

    def panel(description):
        return descendant(
            frame,
            lambda a: a.getRole() == pyatspi.ROLE_LABEL and a.description == description,
            description + " panel",
        )

    def button(name):
        return descendant(
            frame, lambda a: a.getRole() == pyatspi.ROLE_PUSH_BUTTON and a.name == name, name
        )

    def column(name):
        return descendant(frame, lambda a: a.getRole() == pyatspi.ROLE_LIST and a.name == name, name)

    def press(name):
        action = button(name).queryAction()
        if action.nActions != 1 or action.getName(0) != "Press":
            fail(name + " offers no press action")
        action.doAction(0)

    advice, status, bank = panel("Advice"), panel("Status"), panel("Bank")
    if not advice.name.startswith("Welcome to Wheelwatcher, try our recommended"):
        fail("advice reads [%s]" % advice.name)
    # The advice holds the focus: a screen reader reads out each new advice on its own.
    if not advice.getState().contains(pyatspi.STATE_FOCUSED):
        fail("the advice does not hold the focus")
    if status.name != "SPIN 0" or bank.name != "BANK \u00a30":
        fail("status and bank read [%s] [%s]" % (status.name, bank.name))

    # Number 17 where it lies on the screen, in the window's hit map.
    window = frame.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    place = button("17 black").queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    if (place.x - window.x, place.y - window.y, place.width, place.height) != (97, 233, 27, 26):
        fail("17 lies at %s in a window at %s" % (place, window))

    renamed = {"Advice": 0, "Status": 0, "Bank": 0}

    def on_name_changed(event):
        if event.source.getRole() == pyatspi.ROLE_LABEL and event.source.description in renamed:
            renamed[event.source.description] += 1

    pyatspi.Registry.registerEventListener(on_name_changed, "object:property-change:accessible-name")
    pump(0.5)  # the program learns that someone listens

    # The advice scrolls every 150 ms; none of it is news.
    pump(1.5)
    if any(renamed.values()):
        fail("scrolling announced %s" % renamed)

    press("17 black")
    wait_until(lambda: status.name == "SPIN 1", "pressing 17 did not enter a spin")
    pump(1.5)
    if renamed != {"Advice": 1, "Status": 1, "Bank": 1}:
        fail("one announcement per new message expected, got %s" % renamed)
    if not re.fullmatch("BANK \u00a3-?[0-9]+", bank.name):
        fail("bank reads [%s]" % bank.name)
    newest = [column("History, " + colour).getChildAtIndex(0).name for colour in ("red", "zero", "black")]
    if newest != ["", "", "17"]:
        fail("newest History row reads %s" % newest)
    button("SAVE")  # SYSTEM saves once play has started

    press("REWIND")
    wait_until(lambda: status.name == "SPIN 0", "REWIND did not take the spin back")
    wait_until(lambda: column("History, black").childCount == 0, "the History row stayed")
    if bank.name != "BANK \u00a30":
        fail("bank after REWIND reads [%s]" % bank.name)
    print("PASS")


if __name__ == "__main__":
    main()
