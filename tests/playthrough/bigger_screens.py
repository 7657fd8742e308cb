#!/usr/bin/env python3
"""The real program on a screen bigger than its own 800 x 600: the picture fills
the screen with its proportions kept, centred between black bars, and the
pointer lands where the picture shows it: a click on the palette's primitive
tool and a drag on the meadow make a block as they do at 800 x 600.

Run it under an X server of the size to check (xvfb-run):
bigger_screens.py <folder of vpl3d and its data files> <folder for screenshots>.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

from xsupport import (DATA_FILES, PALETTE_SPOTS, PRIMITIVE_BUTTON, SHAPE_AREA, SHAPE_DRAG,
                      Program, Screenshot, StepFailed, check, near, screen_point, wait_until)

STAGE_WIDTH, STAGE_HEIGHT = 800, 600
# Away from every control, on the meadow.
REST = (790, 300)


class ScaledStage:
    """Where the 800 x 600 stage shows on the whole screen."""

    def __init__(self, width, height):
        self.scale = min(width / STAGE_WIDTH, height / STAGE_HEIGHT)
        self.left = (width - STAGE_WIDTH * self.scale) / 2
        self.top = (height - STAGE_HEIGHT * self.scale) / 2

    def point(self, x, y):
        return round(self.left + x * self.scale), round(self.top + y * self.scale)

    def spot(self, spot):
        return self.point(*screen_point(spot, (0, 0, STAGE_WIDTH, STAGE_HEIGHT)))

    def area(self, left, top, width, height):
        x, y = self.point(left, top)
        return x, y, round(width * self.scale), round(height * self.scale)


def xdotool(*arguments):
    subprocess.run(["xdotool", *map(str, arguments)], check=True)


def changed_share(before, after, area):
    left, top, width, height = area
    points = [(x, y) for y in range(top, top + height, 4) for x in range(left, left + width, 4)]
    return sum(after.pixel(x, y) != before.pixel(x, y) for x, y in points) / len(points)


class BiggerScreen:
    def __init__(self, program_folder, output_folder):
        self.output_folder = output_folder
        self.home = tempfile.mkdtemp(prefix="vpl3d-bigger-")
        for name in ["vpl3d", *DATA_FILES]:
            shutil.copy2(os.path.join(program_folder, name), self.home)
        self.program = Program(self.home)
        self.stage = None

    def palette_shows(self):
        try:
            shot = Screenshot()
        except subprocess.CalledProcessError:
            return None  # a window went while the screen was read: the next try
        for spot, colour in PALETTE_SPOTS:
            # The button's box as the play-through reads it at 800 x 600, scaled.
            x, y, width, height = self.stage.area(
                *screen_point(spot, (0, 0, STAGE_WIDTH, STAGE_HEIGHT)), 60, 36)
            if not near(shot.dominant(x - width // 2, y - height // 2, width, height), colour):
                return None
        return shot

    def step_filled(self):
        """The creation screen fills the screen; only the bars beside it are black."""
        screen = Screenshot()
        width, height = screen.width, screen.height
        self.program.start()
        self.program.key("space")
        time.sleep(0.5)
        self.program.key("space")

        def covers_the_screen():
            place = self.program.read_geometry()
            return place is not None and place[2:] == (width, height)
        wait_until("a window over the whole screen", covers_the_screen, 30)
        self.stage = ScaledStage(width, height)
        shot = wait_until("the palette where the scaled picture shows it", self.palette_shows, 30)
        os.makedirs(self.output_folder, exist_ok=True)
        shot.save_png(os.path.join(self.output_folder, f"creation-screen-{width}x{height}.png"))
        left, top, shown_width, shown_height = self.stage.area(0, 0, STAGE_WIDTH, STAGE_HEIGHT)
        check(shot.lit_share(left + 2, top + 2, shown_width - 4, shown_height - 4) > 0.95,
              "the picture does not fill its place")
        bars = [(0, 0, width, top), (0, top + shown_height, width, height - top - shown_height),
                (0, 0, left, height), (left + shown_width, 0, width - left - shown_width, height)]
        for bar in bars:
            if bar[2] > 4 and bar[3] > 4:
                check(shot.lit_share(*bar) == 0.0, f"the bar {bar} is not black")

    def step_block(self):
        """A click on the primitive tool and a drag on the meadow make a block."""
        xdotool("mousemove", *self.stage.spot(PRIMITIVE_BUTTON))
        time.sleep(0.2)
        xdotool("click", 1)
        time.sleep(1.0)
        xdotool("mousemove", *self.stage.point(*REST))
        time.sleep(0.5)
        before = Screenshot()
        start, end = (self.stage.point(*point) for point in SHAPE_DRAG)
        xdotool("mousemove", *start)
        time.sleep(0.2)
        xdotool("mousedown", 1)
        for i in range(1, 13):
            xdotool("mousemove", start[0] + (end[0] - start[0]) * i // 12,
                    start[1] + (end[1] - start[1]) * i // 12)
            time.sleep(0.05)
        xdotool("mouseup", 1)
        xdotool("mousemove", *self.stage.point(*REST))
        area = self.stage.area(*SHAPE_AREA)
        wait_until("a block where the drag was",
                   lambda: changed_share(before, Screenshot(), area) > 0.1, 15)

    def run(self):
        try:
            for name, step in [("fills the screen", self.step_filled),
                               ("a block by click and drag", self.step_block)]:
                try:
                    step()
                except (StepFailed, subprocess.SubprocessError) as failure:
                    print(f"bigger screen, {name}: FAILED: {failure}", flush=True)
                    return 1
                print(f"bigger screen, {name}: ok", flush=True)
        finally:
            self.program.stop()
            shutil.rmtree(self.home, ignore_errors=True)
        return 0


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    return BiggerScreen(sys.argv[1], sys.argv[2]).run()


if __name__ == "__main__":
    sys.exit(main())
