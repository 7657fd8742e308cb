#!/usr/bin/env python3
"""Plays the real program through as a person would.

Starts the real vpl3d in a fresh folder of its own (the program keeps its
user folders beside itself), drives it with real X input through xdotool,
reads the screen with xwd and the files it writes, and checks each step.
Run it under an X server of 800 x 600 (xvfb-run): playthrough.py <folder of
vpl3d and its data files> <folder for screenshots>. The folder gets the
pictures the README shows (intro, creation-screen, a-block), the pictures of
every screen and, when a step fails, that step's picture.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

import files_and_exports
import making
import robustness
import screens
from xsupport import (DATA_FILES, LOG_HEADING, LOG_NAME, PALETTE_SPOTS, PRIMITIVE_BUTTON,
                      QUIT_BUTTON, QUIT_YES, SHAPE_AREA, SHAPE_DRAG, UNDO_BUTTON, Program,
                      Screenshot, StepFailed, check, near, screen_point, visible_windows,
                      wait_until)


class PlayThrough:
    def __init__(self, program_folder, output_folder):
        self.output_folder = output_folder
        self.program_folder = program_folder
        self.home = tempfile.mkdtemp(prefix="vpl3d-play-")
        for name in ["vpl3d", *DATA_FILES]:
            shutil.copy2(os.path.join(program_folder, name), self.home)
        self.program = Program(self.home)
        self.kept = {}

    def path(self, *names):
        return os.path.join(self.home, *names)

    def step_start(self):
        self.program.start()
        wait_until("the user folders", lambda: all(
            os.path.isdir(self.path(folder)) for folder in ("Library", "Textures", "Exports")))
        files_and_exports.check_first_library(self)

    def read_log_with_driver(self):
        try:
            with open(self.path(LOG_NAME), encoding="latin-1") as log:
                text = log.read()
        except FileNotFoundError:
            return None
        return text if ("Direct3D" in text or "OpenGL" in text) else None

    def step_second_start(self):
        second = subprocess.run([self.path("vpl3d")], cwd=self.home, timeout=20,
                                env=self.program.environment(),
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        check(second.returncode == 0, f"the second start ended with {second.returncode}")
        windows = visible_windows()
        check(len(windows) == 1, f"{len(windows)} windows after a second start")
        check(self.program.process.poll() is None, "the first program ended")

    def step_first_picture(self):
        window = self.program.geometry()
        wait_until("a picture in the window", lambda: self.lit(*window))
        self.keep(wait_until("Pomble in the intro", lambda: screens.intro_with_pomble(window)),
                  "intro")

    @staticmethod
    def lit(left, top, width, height):
        shot = Screenshot()
        return shot if shot.lit_share(left, top, width, height) > 0.5 else None

    def palette_shows(self):
        window = self.program.geometry()
        shot = Screenshot()
        for spot, colour in PALETTE_SPOTS:
            x, y = screen_point(spot, window)
            if not near(shot.dominant(x - 30, y - 18, 60, 36), colour):
                return None
        return shot

    def step_intro(self):
        """A key goes to the last page, a second ends the intro."""
        self.program.key("space")
        time.sleep(0.5)
        self.program.key("space")
        shot = wait_until("the creation screen's palette", self.palette_shows, 30)
        self.keep(shot, "creation-screen")
        # The creation screen chose its 3D driver and wrote it down.
        log = wait_until("the log's driver line", self.read_log_with_driver)
        check(log.startswith(LOG_HEADING), "the log does not begin with its heading")

    def area_changed_from(self, before, wanted=True):
        """Whether the shape's area differs from the picture before (or is
        back to it when not wanted)."""
        def differs():
            shot = Screenshot()
            left, top, width, height = SHAPE_AREA
            changed = sum(shot.pixel(x, y) != before.pixel(x, y)
                          for y in range(top, top + height, 4) for x in range(left, left + width, 4))
            share = changed / ((width // 4) * (height // 4))
            return shot if (share > 0.1) == wanted else None
        return differs

    def step_make_shape(self):
        """The primitive tool makes a block where the pointer drags."""
        self.program.click(PRIMITIVE_BUTTON)
        time.sleep(1.0)
        self.program.move(790, 300)
        time.sleep(0.5)
        self.meadow = Screenshot()
        self.program.drag(*SHAPE_DRAG)
        self.program.move(790, 300)
        shot = wait_until("a block on the meadow", self.area_changed_from(self.meadow), 15)
        self.keep(shot, "a-block")

    def step_undo(self):
        self.program.click(UNDO_BUTTON)
        self.program.move(790, 300)
        wait_until("the meadow again", self.area_changed_from(self.meadow, wanted=False), 15)

    def step_quit(self):
        """The block made again, quitting saves it without a question (the
        program saves by itself unless the preferences say otherwise)."""
        self.program.drag(*SHAPE_DRAG)
        self.program.move(790, 300)
        wait_until("the block again", self.area_changed_from(self.meadow), 15)
        self.program.click(QUIT_BUTTON)
        time.sleep(1.0)
        self.program.click(QUIT_YES)
        wait_until("the program's end", lambda: self.program.process.poll() is not None, 30)
        check(self.program.process.returncode == 0,
              f"the program ended with {self.program.process.returncode}")

    def step_return(self):
        """After a restart the saved block is there."""
        self.program.start()
        self.step_intro()
        self.program.move(790, 300)
        wait_until("the saved block", self.area_changed_from(self.meadow), 15)

    def keep(self, shot, name):
        os.makedirs(self.output_folder, exist_ok=True)
        shot.save_png(os.path.join(self.output_folder, f"{name}.png"))
        self.kept[name] = shot

    def steps(self):
        return [("start", self.step_start), ("second start", self.step_second_start),
                ("first picture", self.step_first_picture), ("intro", self.step_intro),
                ("make a block", self.step_make_shape), ("undo", self.step_undo),
                *making.steps(self), *files_and_exports.steps(self), *screens.steps(self),
                ("quit", self.step_quit), ("return", self.step_return),
                *robustness.steps(self)]

    def run(self):
        began = time.monotonic()
        try:
            for number, (name, step) in enumerate(self.steps(), 1):
                started = time.monotonic()
                try:
                    step()
                except (StepFailed, subprocess.SubprocessError) as failure:
                    self.save_failure(number, name)
                    print(f"step {number} {name}: FAILED: {failure}", flush=True)
                    return 1
                print(f"step {number} {name}: ok in {time.monotonic() - started:.1f} s",
                      flush=True)
        finally:
            self.program.stop()
        print(f"play-through: ok in {time.monotonic() - began:.1f} s")
        shutil.rmtree(self.home, ignore_errors=True)
        return 0

    def save_failure(self, number, name):
        os.makedirs(self.output_folder, exist_ok=True)
        shot = os.path.join(self.output_folder, f"step-{number}-{name.replace(' ', '-')}.png")
        try:
            Screenshot().save_png(shot)
            print(f"  screenshot: {shot}; the program's folder: {self.home}")
        except (StepFailed, subprocess.SubprocessError, OSError) as failure:
            print(f"  no screenshot: {failure}")


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    return PlayThrough(sys.argv[1], sys.argv[2]).run()


if __name__ == "__main__":
    sys.exit(main())
