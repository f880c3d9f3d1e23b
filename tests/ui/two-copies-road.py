#!/usr/bin/python3
"""Two copies of the real program on one copy of the sample club, driven through the desktop's
accessibility bus as screen-reader-road.py drives one: while the first holds the club in its
update window, the second is told who holds it and opens nothing; once the first has saved its
update, the second's update window offers none of the sessions the first applied.

    two-copies-road.py PROGRAM SAMPLE_CLUB

Run it on an X server with a session bus (run-screen-reader-road starts both).
"""
import importlib.util
import os
import shutil
import sys
import tempfile

here = os.path.dirname(os.path.abspath(__file__))
road_spec = importlib.util.spec_from_file_location("road", os.path.join(here, "screen-reader-road.py"))
road_module = importlib.util.module_from_spec(road_spec)
road_spec.loader.exec_module(road_module)
Road, RoadError, children, expect = (road_module.Road, road_module.RoadError,
                                     road_module.children, road_module.expect)


def walk(first, second, club):
    first_main = first.window(["frame"], "Pairgauge")
    second_main = second.window(["frame"], "Pairgauge")

    # The first copy takes the club: the first date, the repair, the update window.
    first.press(first_main, "Update handicaps")
    first.type_into_prompt(
        first.window(["dialog"], "Pairgauge", "No handicaps have yet been updated"), "1/2/2026")
    first.answer_message("Attempting to repair", "OK")
    first.answer_message("File repaired successfully", "OK")
    update = first.window(["dialog"], "Update Handicaps")

    # The second is told who holds it, and nothing opens.
    second.press(second_main, "Update handicaps")
    told = second.window(["alert"], "Pairgauge",
                         "Pairgauge is already updating handicaps for this club on this "
                         "computer")
    said = second.label(told, "Pairgauge is already").name
    expect(said.endswith(".\nFinish there first, then try again."), True, "what it says: " + said)
    second.press(told, "OK")
    second.until(lambda: told not in second.windows(), "the message to close")
    expect([w.name for w in second.windows()], ["Pairgauge"], "the second copy's windows")

    # The first saves its update and lets go of the club.
    first.press(update, "Update")
    first.type_into_prompt(first.window(["dialog"], "Pairgauge", "Monday 16/02/26 afternoon"),
                           "3")
    review = first.window(["dialog"], "Handicap Changes")
    first.press(review, "Save")
    first.answer_message("This will overwrite the current handicaps", "Yes")
    first.answer_message("New handicaps have been saved", "OK")
    first.press(review, "< Back")
    first.until(lambda: review not in first.windows(), "the review window to close")

    # The second now reads the club as the first left it: no first date to ask for, and not one
    # of the sessions the first applied.
    second.press(second_main, "Update handicaps")
    second_update = second.window(["dialog"], "Update Handicaps")
    for heading in ("Sessions to be used for updating handicaps", "Sessions to be IGNORED"):
        expect([c.name for c in children(second.control(second_update, "list", heading))], [],
               heading)
    second.label(second_update, "No previous scores found")
    second.press(second_update, "Close")
    second.until(lambda: second_update not in second.windows(), "the update window to close")
    second.label(second_main,
                 "Handicaps last updated using sessions up to and including Monday 30 Mar")

    for road, main in ((first, first_main), (second, second_main)):
        road.press(main, "Stop")
        road.wait(lambda: road.process.poll() is not None, "the program to end")
        expect(road.process.returncode, 0, "the program's exit status")


def main():
    if len(sys.argv) != 3:
        print("usage: two-copies-road.py PROGRAM SAMPLE_CLUB", file=sys.stderr)
        return 2
    program = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory() as folder:
        club = os.path.join(folder, "club")
        shutil.copytree(sys.argv[2], club)
        roads = []
        try:
            roads.append(Road(program, club))
            roads.append(Road(program, club))
            walk(roads[0], roads[1], club)
        except RoadError as error:
            print("FAILED:", error)
            for road in roads:
                if road.process.poll() is None:
                    for w in road.windows():
                        print(road_module.describe(w))
            return 1
        finally:
            for road in roads:
                road.stop()
    print("The second copy waited for the first, then started after its update.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
