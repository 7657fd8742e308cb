"""Making things on the creation screen: shapes, freehand, tubes, paint, motions, groups,
the magnet, paths and Pomble."""

import math
import os
import subprocess
import time

from xsupport import QUIT_BUTTON, QUIT_YES, Screenshot, StepFailed, check, near, wait_until

# The palette's tools (layout spots, centre x, y in units).
SELECT_TOOL, FREEHAND_TOOL, DRAW_TOOL = (-18.1, 13.5), (-14.1, 13.5), (-18.1, 11.0)
PRIMITIVE_TOOL, FILL_TOOL, MAGNET_TOOL, POMBLE_TOOL = (-14.1, 11.0), (-18.1, 8.5), (-14.1, 8.5), (
    -16.1, 6.0)
# The tools' options, in window pixels of the program's 800 x 600 window.
MOVE, ROTATE, SCALE, GROUP = (40, 229), (115, 229), (40, 276), (115, 322)
PATH_FORWARD = (145, 437)
LARGEST_SIZE = (143, 236)  # the draw and magnet tools' size dots
PROFILE_FORWARD = (145, 331)
SHAPE_FORWARD = (145, 315)
WHEEL_PURPLE = (121, 292)  # the colour wheel's lowest rim
TEXTURE_FORWARD = (145, 378)
PART_BUTTONS = [(30, 386), (80, 386), (130, 386), (30, 426), (80, 426), (130, 426)]
# The knob rests at the half circle's foot; the pose follows its height: it
# is let go on the arc high on the left (a pose of about 0.8).
POSE_KNOB, POSED_KNOB = (83, 340), (55, 236)
PERFORM_TOGGLE = (45, 472)
PERFORM_TOGGLE_AREA = (20, 460, 50, 25)
PLAY_GREEN, STOP_RED = (76, 208, 106), (248, 72, 88)
# Where the pointer rests, off every object and control.
REST = (790, 300)
# Where each thing is made on the meadow (window pixels), away from the
# block the play-through makes before and after these steps.
OUTLINE_CENTRE, OUTLINE_RADIUS = (290, 170), 40
MOVED_TO = (250, 290)
TUBE_FROM, TUBE_TO, TUBE_RISE = (620, 230), (760, 230), 40
TUBE_AREA = (560, 60, 236, 200)
BALLS = [(330, 150), (480, 150)]
# The third ball, made below the tube, settles on the ground above the press:
# it is found by its colour there.
THIRD_BALL = (700, 305)
THIRD_BALL_AREA = (620, 255, 170, 110)
POMBLE_AREA = (370, 250, 60, 90)
PREVIEW_AREA = (0, 215, 110, 100)
POMBLE_RED = (224, 40, 40)
# The creation as the program's reader prints it, after the quit.
REPORTER = "vpl3d-sketch-report"


def around(point, half=30):
    return (point[0] - half, point[1] - half, 2 * half, 2 * half)


def changed_share(before, after, area):
    left, top, width, height = area
    points = [(x, y) for y in range(top, top + height, 4) for x in range(left, left + width, 4)]
    return sum(after.pixel(x, y) != before.pixel(x, y) for x, y in points) / len(points)


def changes(before, area, share=0.1):
    """Waits for a picture whose area differs from the one before."""
    def differs():
        shot = Screenshot()
        return shot if changed_share(before, shot, area) > share else None
    return differs


def moving(area, share=0.05):
    """Whether the area changes by itself between two pictures a moment apart."""
    def moves():
        first = Screenshot()
        time.sleep(0.3)
        return changed_share(first, Screenshot(), area) > share
    return moves


class Making:
    def __init__(self, play):
        self.play = play
        self.program = play.program
        self.origin = None

    def move(self, point):
        """The pointer to a window pixel; the window's place is asked once a run
        of the program (it stays put)."""
        if self.origin is None:
            self.origin = self.program.geometry()[:2]
        self.xdotool("mousemove", self.origin[0] + point[0], self.origin[1] + point[1])

    def xdotool(self, *arguments):
        subprocess.run(["xdotool", *map(str, arguments)], check=True)

    def press_at(self, point):
        """A real click on a window pixel."""
        self.move(point)
        time.sleep(0.2)
        self.xdotool("click", 1)
        time.sleep(0.3)

    def tool(self, spot):
        """The palette's tool, its options given time to open, the pointer at rest."""
        self.program.click(spot)
        time.sleep(1.0)
        self.rest()

    def rest(self):
        self.move(REST)
        time.sleep(0.3)

    def stroke(self, points, pause=0.04, release_moving=False):
        """Press, move through the points and release; with release_moving the
        release comes with the last move, before a frame sees the pointer rest."""
        self.move(points[0])
        time.sleep(0.2)
        self.xdotool("mousedown", 1)
        for point in points[1:-1]:
            self.move(point)
            time.sleep(pause)
        last = points[-1]
        if release_moving:
            self.xdotool("mousemove", self.origin[0] + last[0], self.origin[1] + last[1],
                         "mouseup", 1)
        else:
            self.move(last)
            time.sleep(pause)
            self.xdotool("mouseup", 1)

    def line(self, start, end, steps=12):
        return [(start[0] + (end[0] - start[0]) * i // steps,
                 start[1] + (end[1] - start[1]) * i // steps) for i in range(steps + 1)]

    def made(self, action, area, what, share=0.1):
        """Does the action with the pointer away and waits for the area to change."""
        self.rest()
        before = Screenshot()
        action()
        self.rest()
        return wait_until(what, changes(before, area, share), 15)

    def step_freehand(self):
        """A closed outline drawn with the freehand tool becomes a solid."""
        self.tool(FREEHAND_TOOL)
        x, y = OUTLINE_CENTRE
        outline = [(round(x + OUTLINE_RADIUS * math.cos(a * math.pi / 12)),
                    round(y + OUTLINE_RADIUS * math.sin(a * math.pi / 12))) for a in range(25)]
        self.made(lambda: self.stroke(outline), around(OUTLINE_CENTRE), "a solid in the outline")

    def step_tube(self):
        """The draw tool's largest size and the next profile draw a tube along an arch."""
        self.tool(DRAW_TOOL)
        self.press_at(LARGEST_SIZE)
        self.press_at(PROFILE_FORWARD)
        (x0, y0), (x1, _) = TUBE_FROM, TUBE_TO
        arch = [(x0 + (x1 - x0) * i // 20, round(y0 - TUBE_RISE * math.sin(math.pi * i / 20)))
                for i in range(21)]
        self.made(lambda: self.stroke(arch), (x0, y0 - TUBE_RISE - 20, x1 - x0, 80),
                  "a tube along the arch")

    def step_colour(self):
        """A colour from the wheel fills the solid."""
        self.tool(FILL_TOOL)
        self.press_at(WHEEL_PURPLE)
        self.rest()

        def purple():
            r, g, b = Screenshot().dominant(*around(OUTLINE_CENTRE, 20))
            return b > g + 60 and r > g
        self.press_at(OUTLINE_CENTRE)
        self.rest()
        wait_until("the solid in the wheel's purple", purple, 15)

    def step_texture(self):
        """The texture chooser's next texture fills the tube."""
        self.press_at(TEXTURE_FORWARD)
        top = (TUBE_FROM[0] + TUBE_TO[0]) // 2, TUBE_FROM[1] - TUBE_RISE + 5
        self.made(lambda: self.press_at(top), (TUBE_FROM[0], top[1] - 25, 140, 60),
                  "a texture on the tube")

    def step_move(self):
        """The move tool drags the solid to another place."""
        self.tool(SELECT_TOOL)
        self.press_at(MOVE)
        self.rest()
        before = Screenshot()
        self.stroke(self.line(OUTLINE_CENTRE, MOVED_TO))
        self.rest()
        wait_until("the solid gone from its place", changes(before, around(OUTLINE_CENTRE, 20)),
                   15)
        wait_until("the solid at its new place", changes(before, around(MOVED_TO, 25)), 15)

    def step_rotate(self):
        """A rotate drag released while turning leaves the solid spinning."""
        self.press_at(ROTATE)
        end = (MOVED_TO[0] + 70, MOVED_TO[1])
        self.stroke(self.line(MOVED_TO, end, 8), pause=0.12, release_moving=True)
        self.rest()
        wait_until("the solid spinning", moving(around(MOVED_TO, 55)), 10)

    def step_scale(self):
        """A scale drag released while sizing leaves the tube jiggling."""
        self.press_at(SCALE)
        top = (TUBE_FROM[0] + TUBE_TO[0]) // 2, TUBE_FROM[1] - TUBE_RISE + 10
        self.stroke(self.line(top, (top[0], top[1] - 10), 5), pause=0.15, release_moving=True)
        self.rest()
        wait_until("the tube jiggling", moving(TUBE_AREA), 10)

    def step_group(self):
        """Two balls made with the primitive tool join one group, which glows."""
        self.tool(PRIMITIVE_TOOL)
        self.press_at(SHAPE_FORWARD)
        for ball in BALLS + [THIRD_BALL]:
            self.made(lambda b=ball: self.stroke(self.line(b, (b[0] + 60, b[1] + 45), 8)),
                      around(ball, 40), "a ball", 0.05)
        self.third_ball = wait_until("the third ball", self.find_third_ball, 5)
        self.tool(SELECT_TOOL)
        self.press_at(GROUP)
        self.rest()
        before = Screenshot()
        for ball in BALLS:
            self.press_at(ball)
        self.rest()
        for ball in BALLS:
            wait_until("the grouped ball's glow", changes(before, around(ball, 12)), 10)

    def step_magnet(self):
        """The magnet's pull draws the third ball's surface out."""
        self.tool(MAGNET_TOOL)
        self.press_at(LARGEST_SIZE)
        x, y = self.third_ball
        pull = [(x + i % 2, y - i) for i in range(30)]
        self.made(lambda: self.stroke(pull, pause=0.05), (x - 40, y - 50, 80, 80),
                  "the pulled surface")

    def step_path(self):
        """The path chooser's next path sends the third ball round it."""
        self.tool(SELECT_TOOL)
        self.press_at(PATH_FORWARD)
        self.press_at(self.find_third_ball() or self.third_ball)
        self.rest()
        wait_until("the ball on its path", moving(around(self.third_ball, 60)), 10)

    def step_pomble(self):
        """The Pomble tool: every part switched on (the knob let go on each), then
        the head posed (the record shows the character took the pose)."""
        self.tool(POMBLE_TOOL)
        before = Screenshot()
        for button in PART_BUTTONS:
            self.press_at(button)
            self.press_at(POSE_KNOB)
        self.rest()
        wait_until("Pomble in his red body", changes(before, POMBLE_AREA, 0.05), 10)
        wait_until("the perform toggle", lambda: self.toggle_shows(PLAY_GREEN), 10)
        self.press_at(PART_BUTTONS[0])
        self.rest()
        before = Screenshot()
        knob = wait_until("the pose knob", self.find_knob, 5)
        self.stroke(self.line(knob, POSED_KNOB, 8), pause=0.06)
        self.rest()
        wait_until("the posed head on the preview", changes(before, PREVIEW_AREA, 0.05), 10)
        self.play.keep(Screenshot(), "a-world")

    @staticmethod
    def pomble_shows():
        """Whether Pomble's red body fills a good part of his place."""
        shot = Screenshot()
        left, top, width, height = POMBLE_AREA
        points = [(x, y) for y in range(top, top + height, 3) for x in range(left, left + width, 3)]
        red = sum(near(shot.pixel(x, y), POMBLE_RED) for x, y in points)
        return red > len(points) // 10

    @staticmethod
    def find_third_ball():
        """The middle of the blue the third ball shows (the texture's ground)."""
        shot = Screenshot()
        left, top, width, height = THIRD_BALL_AREA
        blue = [(x, y) for y in range(top, top + height, 3) for x in range(left, left + width, 3)
                if (lambda r, g, b: b > 150 and r < 110 and g < 130)(*shot.pixel(x, y))]
        if len(blue) < 20:
            return None
        return (sum(x for x, _ in blue) // len(blue), sum(y for _, y in blue) // len(blue))

    def find_knob(self):
        """The middle of the pose knob's pink near its rest at the half circle's
        foot (its edge may lie off the arc)."""
        shot = Screenshot()
        pink = [(x, y) for y in range(POSE_KNOB[1] - 12, POSE_KNOB[1] + 12, 2)
                for x in range(POSE_KNOB[0] - 25, POSE_KNOB[0] + 10, 2)
                if (lambda r, g, b: r > 220 and g < 140 and b > 160)(*shot.pixel(x, y))]
        if not pink:
            return None
        return (sum(x for x, _ in pink) // len(pink), sum(y for _, y in pink) // len(pink))

    def toggle_shows(self, colour):
        r, g, b = Screenshot().dominant(*PERFORM_TOGGLE_AREA)
        return sum((p - q) ** 2 for p, q in zip((r, g, b), colour)) <= 70 ** 2

    def step_perform(self):
        """The perform toggle starts the show (it shows stop) and stops it again."""
        self.press_at(PERFORM_TOGGLE)
        self.rest()
        wait_until("the stop look", lambda: self.toggle_shows(STOP_RED), 10)
        wait_until("Pomble performing", moving(POMBLE_AREA), 15)
        self.press_at(PERFORM_TOGGLE)
        self.rest()
        wait_until("the play look after the stop", lambda: self.toggle_shows(PLAY_GREEN), 15)

    def step_record(self):
        """Quitting saves the creation without a question; the program's own reader
        finds in the sketch what was made, and the program shows it again."""
        self.program.click(QUIT_BUTTON)
        time.sleep(1.0)
        self.program.click(QUIT_YES)
        wait_until("the program's end", lambda: self.program.process.poll() is not None, 30)
        record = read_record(self.play)
        os.makedirs(self.play.output_folder, exist_ok=True)
        with open(os.path.join(self.play.output_folder, "creation-record.txt"), "w") as kept:
            kept.write("\n".join(record) + "\n")
        check_record(record)
        self.program.start()
        self.origin = None
        self.play.step_intro()
        self.rest()
        wait_until("Pomble again", self.pomble_shows, 15)
        # The play-through goes on making blocks.
        self.tool(PRIMITIVE_TOOL)

    def steps(self):
        return [("draw an outline", self.step_freehand), ("draw a tube", self.step_tube),
                ("fill with a colour", self.step_colour), ("fill with a texture",
                                                           self.step_texture),
                ("move", self.step_move), ("rotate", self.step_rotate), ("scale", self.step_scale),
                ("group", self.step_group), ("magnet", self.step_magnet), ("path", self.step_path),
                ("pose Pomble", self.step_pomble), ("perform", self.step_perform),
                ("the record", self.step_record)]


# Lines the record of what was made must hold.
EXPECTED_LINES = [
    ("creation groups 1", "the group"), ("group 1 members 2", "the group's two balls"),
    ("pomble parts head torso left-arm right-arm left-foot right-foot", "Pomble's six parts"),
]


def check_record(record):
    for line, why in EXPECTED_LINES:
        check(any(found.startswith(line) for found in record), f"{why}: no '{line}'")
    endings = [(" spin yes", "a spinning object"), (" jiggle yes", "a jiggling object"),
               (" playing yes", "an object on its path")]
    for ending, what in endings:
        check(any(line.endswith(ending) for line in record), f"the record has no {what}")
    check(any(" material " in line and not line.endswith("texture none") for line in record),
          "the record has no textured object")
    poses = next((line.split()[2:] for line in record if line.startswith("pomble pose ")), [])
    pose = dict(zip(poses[0::2], map(float, poses[1::2])))
    check(pose.get("head", 0.0) - pose.get("torso", 0.0) > 0.2,
          f"Pomble's head is not posed beyond his torso in the record: {pose}")


def read_record(play):
    """The lines the program's reader prints for the sketch saved last."""
    library = play.path("Library")
    sketches = [os.path.join(folder, name) for folder, _, names in os.walk(library)
                for name in names if name != "SketchbookIcon"]
    check(sketches, "no sketch in the library")
    newest = max(sketches, key=os.path.getmtime)
    reporter = os.path.join(play.program_folder, REPORTER)
    result = subprocess.run([reporter, newest, play.home], capture_output=True, text=True,
                            timeout=60, env=dict(os.environ, ASAN_OPTIONS="detect_leaks=0"))
    if result.returncode != 0:
        raise StepFailed(f"the reader: {result.stderr.strip()}")
    return result.stdout.splitlines()


def steps(play):
    """The steps, each a (name, callable) pair, run in order on the PlayThrough play."""
    return Making(play).steps()
