# SPDX-License-Identifier: GPL-3.0-or-later
"""Plays a short session of the running Wheelwatcher as a blind player would, through AT-SPI and
the keyboard, then checks what Orca said during each step. Orca writes every utterance to its debug
file as a timed SPEECH OUTPUT line, but only in blocks, so the steps are timed here and the file is
judged once Orca has ended. Run with Debian's /usr/bin/python3 (pyatspi).
Usage: speak_through_orca.py play <steps file>    plays, writes each step's time and expectation
       speak_through_orca.py check <steps file> <Orca's debug file>
Exits 0 when Orca said what it should, once, 1 with a message otherwise."""

import datetime
import json
import re
import subprocess
import sys
import time


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def now():
    """Seconds since midnight, as Orca's debug lines give their time."""
    moment = datetime.datetime.now()
    return moment.hour * 3600 + moment.minute * 60 + moment.second + moment.microsecond / 1e6


def wait_until(condition, what, seconds=60.0):
    """Polls; CI machines are slow, so the limit is generous and only a failure waits it out."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = condition()
        if found:
            return found
        time.sleep(0.1)
    fail(what)


# Orca's words cannot be watched as they come (its debug file is written in blocks), so where a step
# must be over before the next begins, the test gives Orca this long: ample on a loaded machine,
# where Orca lags a few hundred milliseconds.
SPEECH_SETTLES = 5.0
# What the quiet steps measure: an idle window, and the caption blinking during an update check.
QUIET_SPAN = 3.0


def xdotool(*arguments):
    return subprocess.run(["xdotool", *arguments], capture_output=True, text=True).stdout.strip()


def play(steps_file):
    import pyatspi

    steps = []

    def step(name, expect, quiet=False):
        """A step begins now. expect: the parts of one utterance that Orca must say once in the
        whole session, after the step began and after what the step before expected (Orca speaks
        a little behind); quiet: nothing at all may be said until the next step begins."""
        steps.append({"name": name, "start": now(), "expect": expect, "quiet": quiet})

    def application():
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "Wheelwatcher":
                return app
        return None

    app = wait_until(application, "the program did not join the accessibility bus")

    def find(predicate, what):
        return wait_until(lambda: pyatspi.findDescendant(app, predicate), "nothing found: " + what)

    announcer = find(lambda a: a.getRole() == pyatspi.ROLE_NOTIFICATION, "the notification")

    def announced(starts):
        wait_until(lambda: announcer.name.startswith(starts),
                   "the program did not announce [%s]; it says [%s]" % (starts, announcer.name))

    def press(name):
        find(lambda a: a.getRole() == pyatspi.ROLE_PUSH_BUTTON and a.name == name,
             name).queryAction().doAction(0)

    def main_window():
        return wait_until(lambda: xdotool("search", "--onlyvisible", "--name",
                                          "^(V .*Wheelwatcher  |Updating.*)$"),
                          "no main window").splitlines()[0]

    # Start: the update question opens in front of the window at once and is read as it opens.
    step("start: the update question", ["An update of Wheelwatcher is now available"])
    main_window()
    question = wait_until(lambda: xdotool("search", "--onlyvisible", "--name", "^Wheelwatcher$"),
                          "the update question did not open")
    time.sleep(SPEECH_SETTLES)
    # While the question waits, the check runs and the caption blinks: nothing to say.
    step("3 s of an update check", [], quiet=True)
    time.sleep(QUIET_SPAN)
    # Answered, the question gives the focus back: the window and its welcome are read.
    step("start: the window after the question", ["Welcome to Wheelwatcher, try our recommended"])
    xdotool("windowactivate", "--sync", question.splitlines()[0])
    xdotool("key", "Escape")  # No
    wait_until(lambda: not xdotool("search", "--onlyvisible", "--name", "^Wheelwatcher$"),
               "the question stayed")
    xdotool("windowactivate", "--sync", main_window())
    time.sleep(SPEECH_SETTLES)
    step("3 s of an idle window", [], quiet=True)
    time.sleep(QUIET_SPAN)

    step("STAKE", ["notification STAKE \u00a31"])
    press("STAKE")
    announced("STAKE")
    step("SYSTEM", ["notification SY  KAVRI"])
    press("SYSTEM")
    announced("SY  KAVRI")
    step("the choices closing", ["notification SPIN 0. You are using system KAVRI"])
    announced("SPIN 0")

    # Numbers the advice is not on, so that these spins lose whatever the systems drew.
    def advised_number():
        return find(lambda a: a.getRole() == pyatspi.ROLE_LABEL
                    and a.description == "Advised number", "the advised number").name

    def button_of(number):
        return find(lambda a: a.getRole() == pyatspi.ROLE_PUSH_BUTTON
                    and a.name.split(" ")[0] == number, "number " + number).name

    def losing(*candidates):
        return button_of(next(n for n in candidates if n != advised_number()))

    pressed = losing("17", "18")
    step("a number pressed", ["notification %s. SPIN 1. BANK \u00a3-1." % pressed, "Your next bet is"])
    press(pressed)
    announced(pressed)
    typed = losing("25", "26")
    step("a number typed", ["notification %s. SPIN 2. BANK \u00a3-2." % typed, "Your next bet is"])
    xdotool("windowactivate", "--sync", main_window())
    xdotool("type", "--delay", "150", typed.split(" ")[0])
    announced(typed)
    step("REWIND", ["notification REWIND. SPIN 1. BANK \u00a3-1.", "Your next bet is"])
    press("REWIND")
    announced("REWIND")

    # The advised number, read steady, pressed: a win, which crosses the stop-win of 20.
    number = advised_number()
    if not number.isdigit():
        fail("the advised number reads [%s]" % number)
    winner = button_of(number)
    step("a win crossing the stop-win",
         ["notification %s. SPIN 2." % winner, "STOP-WIN REACHED: BANK \u00a3",
          "You've just won \u00a336"])
    press(winner)
    announced(winner)
    time.sleep(SPEECH_SETTLES)

    # The window menu by the Menu key, its first item reached with Down.
    xdotool("windowactivate", "--sync", main_window())
    time.sleep(SPEECH_SETTLES)
    step("the Menu key", ["Minimize"])
    xdotool("key", "Menu")
    time.sleep(2)  # the menu open, ready for its first item
    xdotool("key", "Down")
    time.sleep(SPEECH_SETTLES)
    # Down past Close to Statistics..., which opens the statistics window (what Orca reads there is
    # that window's own business).
    step("Statistics... from the menu", [])
    xdotool("key", "Down", "Down", "Return")
    wait_until(lambda: xdotool("search", "--onlyvisible", "--name", "^Wheelwatcher Statistics$"),
               "the statistics window did not open")
    time.sleep(SPEECH_SETTLES)
    step("end", [])
    with open(steps_file, "w") as out:
        json.dump(steps, out)


def check(steps_file, log_file):
    with open(steps_file) as steps_in:
        steps = json.load(steps_in)
    with open(log_file, encoding="utf-8", errors="replace") as log:
        text = log.read()
    spoken = []
    for match in re.finditer(r"^(\d\d):(\d\d):(\d\d\.\d+) - SPEECH OUTPUT: '(.*?)' ?\{'established'",
                             text, re.S | re.M):
        hours, minutes, seconds, words = match.groups()
        spoken.append((int(hours) * 3600 + int(minutes) * 60 + float(seconds), words))
    failures = []
    after = 0.0  # the moment of the utterance the step before expected
    for index, step in enumerate(steps[:-1]):
        end = steps[index + 1]["start"]
        if step["quiet"]:
            said = [words for moment, words in spoken if step["start"] <= moment < end]
            if said:
                failures.append("%s: %d utterances, none expected: %s" % (step["name"], len(said), said))
        if step["expect"]:
            matching = [(moment, words) for moment, words in spoken
                        if all(part in words for part in step["expect"])]
            if len(matching) != 1:
                failures.append("%s: expected %s once, heard it %d times"
                                % (step["name"], step["expect"], len(matching)))
            elif matching[0][0] < max(after, step["start"]):
                failures.append("%s: %s was said too early" % (step["name"], step["expect"]))
            else:
                after = matching[0][0]
    print("Orca said:\n  " + "\n  ".join("%.1f %s" % utterance for utterance in spoken))
    if failures:
        fail("\n  ".join(failures))
    print("PASS")


if __name__ == "__main__":
    if sys.argv[1] == "play":
        play(sys.argv[2])
    else:
        check(sys.argv[2], sys.argv[3])
