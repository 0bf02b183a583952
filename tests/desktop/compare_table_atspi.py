# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads the running Wheelwatcher's panels and History columns through AT-SPI, as a screen reader
does, and holds them against an expected table (lines "Name=text", as tests/support/journal_table
prints them). Blanks are compared as a reader hears them: runs of blanks as one, none at the ends.
Run with Debian's /usr/bin/python3 (pyatspi). Usage: compare_table_atspi.py EXPECTED [ADVICE-LEAD-IN]
Exits 0 when every part agrees, 1 with the differences otherwise."""

import sys
import time

import pyatspi


def spoken(text):
    return " ".join(text.split())


def find_frame():
    deadline = time.monotonic() + 15
    while time.monotonic() < deadline:
        for application in pyatspi.Registry.getDesktop(0):
            if application is not None and application.name == "Wheelwatcher":
                frame = pyatspi.findDescendant(application, lambda a: a.getRole() == pyatspi.ROLE_FRAME)
                if frame is not None:
                    return frame
        time.sleep(0.1)
    print("FAIL: the program did not register with the accessibility bus")
    sys.exit(1)


def main():
    expected = {}
    with open(sys.argv[1], encoding="utf-8") as lines:
        for line in lines:
            name, _, text = line.rstrip("\n").partition("=")
            expected[name] = text
    frame = find_frame()
    actual = {}
    for description in ("Advice", "Status", "Bank"):
        panel = pyatspi.findDescendant(
            frame, lambda a: a.getRole() == pyatspi.ROLE_LABEL and a.description == description)
        actual[description] = panel.name if panel is not None else "<missing>"
    for colour in ("red", "zero", "black"):
        name = "History, " + colour
        column = pyatspi.findDescendant(
            frame, lambda a: a.getRole() == pyatspi.ROLE_LIST and a.name == name)
        rows = [column.getChildAtIndex(i).name for i in range(column.childCount)] if column else []
        actual[name] = ",".join(rows)

    differences = [
        "%s: expected [%s], the window reads [%s]" % (name, spoken(text), spoken(actual.get(name, "")))
        for name, text in expected.items()
        if spoken(text) != spoken(actual.get(name, ""))
    ]
    if differences:
        print("FAIL: " + "\nFAIL: ".join(differences))
        sys.exit(1)
    print("PASS: " + actual["Status"] + ", " + actual["Bank"])


if __name__ == "__main__":
    main()
