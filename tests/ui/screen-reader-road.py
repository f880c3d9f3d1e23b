#!/usr/bin/python3
"""Drives the real program on a copy of the sample club as a screen reader does, through the
desktop's accessibility bus (AT-SPI): windows found by their captions, buttons pressed by their
captions, text typed into prompts by the prompt's words, list lines, grid cells and their
headings, and message boxes read as a person sees them. The whole road a new secretary takes:
the first date, the repair messages, the update window, the visitor prompt, the review grid,
Save, Back and Stop.

    screen-reader-road.py PROGRAM SAMPLE_CLUB

Run it on an X server with a session bus (run-screen-reader-road starts both). Exits 77, with
the reason, where this machine has no AT-SPI for Python.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

try:
    import pyatspi
    from gi.repository import GLib
except ImportError:
    print("SKIPPED: python3-pyatspi is not installed (scripts/setup installs it)")
    sys.exit(77)

WAIT = 30  # seconds for anything to appear; a slow machine, not a fault, takes that long


class RoadError(Exception):
    pass


def role(acc):
    return acc.getRoleName()


def children(acc):
    return [c for c in (acc.getChildAtIndex(i) for i in range(acc.childCount)) if c is not None]


def describe(acc, depth=0, limit=4):
    line = "  " * depth + "[%s] %r" % (role(acc), acc.name)
    if depth >= limit:
        return line
    return "\n".join([line] + [describe(c, depth + 1, limit) for c in children(acc)[:20]])


class Road:
    def __init__(self, program, club):
        self.desktop = pyatspi.Registry.getDesktop(0)
        env = dict(os.environ, QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   XDG_CONFIG_HOME=os.path.join(os.path.dirname(club), "config"))
        self.process = subprocess.Popen([program, club], env=env)
        self.app = self.wait(self.find_app, "the program on the accessibility bus")

    def find_app(self):
        for app in children(self.desktop):
            try:
                if app.get_process_id() == self.process.pid:
                    return app
            except Exception:  # an application that has just gone
                continue
        return None

    def wait(self, find, what):
        end = time.time() + WAIT
        last = ""
        while time.time() < end:
            if self.process.poll() is not None and what != "the program to end":
                raise RoadError("the program ended while waiting for " + what)
            try:
                found = find()
            except GLib.Error as error:
                # A window that closed while it was being looked at; look again.
                found, last = None, " (last: %s)" % error
            if found:
                return found
            time.sleep(0.1)
        raise RoadError("no " + what + " after %d s" % WAIT + last)

    def windows(self):
        return [w for w in children(self.app)
                if w.getState().contains(pyatspi.STATE_SHOWING)]

    def window(self, roles, name, text=None):
        """The showing window of one of the roles with that caption (and a label holding text)."""
        def find():
            for w in self.windows():
                if role(w) in roles and w.name == name and \
                        (text is None or self.label(w, text, required=False)):
                    return w
            return None
        return self.wait(find, "%s %r%s" % ("/".join(roles), name,
                                            " saying %r" % text if text else ""))

    def find(self, acc, wanted_role, name=None, starts=None):
        for c in children(acc):
            if role(c) == wanted_role and (name is None or c.name == name) and \
                    (starts is None or c.name.startswith(starts)):
                return c
            found = self.find(c, wanted_role, name, starts)
            if found:
                return found
        return None

    def control(self, window, wanted_role, name=None, starts=None):
        found = self.find(window, wanted_role, name, starts)
        if found is None:
            raise RoadError("no %s %r in %r:\n%s" % (wanted_role, name or starts, window.name,
                                                     describe(window)))
        return found

    def label(self, window, text, required=True):
        found = self.find(window, "label", starts=text)
        if found is None and required:
            raise RoadError("no label %r in %r:\n%s" % (text, window.name, describe(window)))
        return found

    def press(self, window, caption):
        button = self.control(window, "push button", caption)
        action = button.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        action.doAction(names.index("Press"))

    def type_into_prompt(self, prompt, answer):
        box = self.control(prompt, "text")
        box.queryEditableText().setTextContents(answer)
        self.press(prompt, "OK")

    def answer_message(self, starts, button):
        box = self.window(["alert"], "Pairgauge", starts)
        self.press(box, button)

    def until(self, check, what):
        self.wait(lambda: check() or None, what)

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def expect(value, wanted, what):
    if value != wanted:
        raise RoadError("%s: %r, not %r" % (what, value, wanted))


def walk(road, club):
    main = road.window(["frame"], "Pairgauge")
    road.label(main, "First use of this program")
    for caption in ("Parameters", "Update handicaps", "Stop"):
        road.control(main, "push button", caption)

    # The date of the first session, typed into the prompt its words name.
    road.press(main, "Update handicaps")
    prompt = road.window(["dialog"], "Pairgauge", "No handicaps have yet been updated")
    expect(road.control(prompt, "text").name.startswith("No handicaps have yet been updated"),
           True, "the date box's name")
    road.type_into_prompt(prompt, "1/2/2026")

    road.answer_message("Attempting to repair " + club, "OK")
    road.answer_message("File repaired successfully", "OK")

    # The update window: both lists by their headings, and their lines.
    update = road.window(["dialog"], "Update Handicaps")
    used = road.control(update, "list", "Sessions to be used for updating handicaps")
    ignored = road.control(update, "list", "Sessions to be IGNORED")
    lines = [c.name for c in children(used)]
    expect(len(lines), 14, "sessions to be used")
    expect(lines[0], "01. 02 February 2026 - Monday afternoon", "the first session")
    expect(lines[9], "12. 14 March 2026 - Saturday afternoon : 3 sections combined",
           "the Spring Pairs")
    expect([c.name for c in children(ignored)],
           ["07. 26 February 2026 - Thursday evening", "11. 12 March 2026 - Thursday evening"],
           "sessions to be ignored")
    road.label(update, "Monday Afternoon Pairs Monday 02 February 2026 6 tables")
    road.control(update, "push button", "Move ---- >")

    # The visitor of a session played without handicaps.
    road.press(update, "Update")
    prompt = road.window(["dialog"], "Pairgauge", "Monday 16/02/26 afternoon")
    expect(road.control(prompt, "text").name,
           "Monday 16/02/26 afternoon\nEnter handicap for visitor Martin Ibbotson",
           "the visitor box's name")
    road.type_into_prompt(prompt, "3")

    # The review grid: cells read with their column's heading and session, rows by member.
    review = road.window(["dialog"], "Handicap Changes")
    road.label(review, "Click on a name to highlight that member.")
    grid = road.control(review, "table", "New handicaps")
    table = grid.queryTable()
    expect(table.nRows, 3 + 34, "the grid's rows")
    expect([table.getAccessibleAt(0, c).name for c in range(6)],
           ["No.", "Name", "Start h/c", "End h/c", "h/c %", "adj"], "the headings")
    expect(table.getAccessibleAt(1, 4).name, "Mon 02/02/26 aft", "the first session's label")
    expect(table.getAccessibleAt(3, 1).name, "Holloway, Margaret", "the first member")
    expect(table.getColumnDescription(5), "adj Mon 02/02/26 aft", "a column's name")
    expect(table.getRowDescription(3), "1 Holloway, Margaret", "a row's name")

    road.press(review, "Save")
    road.answer_message("This will overwrite the current handicaps in the membership file.",
                        "Yes")
    road.answer_message("New handicaps have been saved", "OK")
    road.press(review, "< Back")
    road.until(lambda: review not in road.windows(), "the review window to close")
    road.label(main, "Handicaps last updated using sessions up to and including Monday 30 Mar")
    if not os.path.exists(os.path.join(club, "Handicap", "260330.han")):
        raise RoadError("no history file Handicap/260330.han")

    # The club's first password, put into both boxes as voice control does: through the
    # boxes' editable text, no key pressed.
    road.press(main, "Parameters")
    new_password = road.window(["dialog"], "New Password")
    for name in ("Enter Password", "Reenter Password"):
        road.control(new_password, "password text", name).queryEditableText() \
            .setTextContents("bridge1")
    road.press(new_password, "Next >")
    editor = road.window(["dialog"], "Parameters")
    road.press(editor, "< Back")
    road.until(lambda: editor not in road.windows(), "the parameter editor to close")
    settings = os.path.join(os.path.dirname(club), "config", "Tesk Quorell", "Handicap.conf")
    with open(settings, encoding="utf-8") as stored:
        expect("Pass=bridge1" in stored.read(), True, "the password kept in " + settings)

    road.press(main, "Stop")
    road.wait(lambda: road.process.poll() is not None, "the program to end")
    expect(road.process.returncode, 0, "the program's exit status")


def main():
    if len(sys.argv) != 3:
        print("usage: screen-reader-road.py PROGRAM SAMPLE_CLUB", file=sys.stderr)
        return 2
    program = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory() as folder:
        club = os.path.join(folder, "club")
        shutil.copytree(sys.argv[2], club)
        road = None
        try:
            road = Road(program, club)
            walk(road, club)
        except RoadError as error:
            print("FAILED:", error)
            if road is not None and road.process.poll() is None:
                for w in road.windows():
                    print(describe(w))
            return 1
        finally:
            if road is not None:
                road.stop()
    print("The whole road was walked through the accessibility bus.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
