"""What the play-through stands on: the screen read through xwd, real X input
through xdotool, and one vpl3d in a folder of its own."""

import os
import signal
import struct
import subprocess
import time
import zlib

WINDOW_TITLE = "VPL3D"
# The interface's units on the 800 x 600 screen: the view spans x -20.4 to
# 20.4 and y -15.3 to 15.3 at the controls' depth.
PIXELS_PER_UNIT = 19.6
# The palette's colours, one per tool.
SKY, LEAF, TANGERINE = (79, 195, 247), (76, 208, 106), (255, 138, 61)
GRAPE, CHERRY, TEAL, BUBBLEGUM = (156, 107, 255), (255, 79, 94), (34, 195, 176), (255, 122, 200)
# Layout spots of the creation screen's buttons and dialogs (centre x, y).
PRIMITIVE_BUTTON, UNDO_BUTTON, QUIT_BUTTON = (-14.1, 11.0), (-13.6, -11.4), (19.1, 14.0)
QUIT_YES = (0.2, -3.4)
# A drag on the meadow that makes a block with the primitive tool, in
# window pixels, and the rectangle around it where the block shows.
SHAPE_DRAG = ((450, 350), (560, 420))
SHAPE_AREA = (390, 290, 200, 160)
# Layout spots (centre x, y in units) and the colour that fills them.
PALETTE_SPOTS = [((-18.1, 13.5), SKY), ((-14.1, 13.5), LEAF), ((-18.1, 11.0), TANGERINE),
                 ((-14.1, 11.0), GRAPE), ((-18.1, 8.5), CHERRY), ((-14.1, 8.5), TEAL),
                 ((-16.1, 6.0), BUBBLEGUM)]
# The settings folder inside the program's folder.
CONFIG_FOLDER = "config"
LOG_NAME = "Vantry's Plorvia 3D.log"
LOG_HEADING = "Vantry's Plorvia 3D Log File"
DATA_FILES = ["vpl3d.MMA", "vpl3d.MMF", "vpl3d.MMM", "vpl3d.MMP", "vpl3d.MMX", "Hd.mms"]


class StepFailed(Exception):
    pass


def check(condition, message):
    if not condition:
        raise StepFailed(message)


def wait_until(what, predicate, seconds=20.0):
    """Polls until predicate() answers something true; the answer is returned."""
    deadline = time.monotonic() + seconds
    while True:
        answer = predicate()
        if answer:
            return answer
        if time.monotonic() > deadline:
            raise StepFailed(f"{what}: not within {seconds:.0f} s")
        time.sleep(0.1)


def xdotool(*arguments):
    result = subprocess.run(["xdotool", *map(str, arguments)], capture_output=True, text=True)
    return result.stdout.split() if result.returncode == 0 else []


def visible_windows():
    """The program's windows that show: it makes and drops a window or two while it starts."""
    return xdotool("search", "--onlyvisible", "--name", f"^{WINDOW_TITLE}$")


class Screenshot:
    """The whole screen as 8-bit RGB, read from xwd's ZPixmap of 24 or 32 bits a pixel."""

    def __init__(self):
        data = subprocess.run(["xwd", "-root", "-silent"], capture_output=True, check=True).stdout
        fields = struct.unpack(">25I", data[:100])
        header_size, width, height = fields[0], fields[4], fields[5]
        bits_per_pixel, line_bytes, colour_count = fields[11], fields[12], fields[19]
        check(fields[2] == 2 and bits_per_pixel in (24, 32),
              f"xwd format {fields[2]}, {bits_per_pixel} bits a pixel")
        step = bits_per_pixel // 8
        pixels = header_size + colour_count * 12
        little = fields[7] == 0  # byte order: LSBFirst
        first = 0 if little else step - 3
        self.width, self.height = width, height
        self.rows = []
        for y in range(height):
            start = pixels + y * line_bytes + first
            row = data[start: start + width * step]
            low, middle, high = row[0::step], row[1::step], row[2::step]
            rgb = bytearray(width * 3)
            rgb[0::3], rgb[1::3], rgb[2::3] = (high, middle, low) if little else (low, middle,
                                                                                   high)
            self.rows.append(bytes(rgb))

    def pixel(self, x, y):
        row = self.rows[y]
        return tuple(row[x * 3: x * 3 + 3])

    def dominant(self, left, top, width, height):
        """The commonest colour of the rectangle, to 16 levels a channel."""
        counts = {}
        for y in range(top, top + height, 2):
            for x in range(left, left + width, 2):
                key = tuple(c // 16 for c in self.pixel(x, y))
                counts[key] = counts.get(key, 0) + 1
        commonest = max(counts, key=counts.get)
        return tuple(c * 16 + 8 for c in commonest)

    def lit_share(self, left, top, width, height):
        """Share of the pixels in the rectangle that are not near black."""
        lit = total = 0
        for y in range(top, top + height, 4):
            for x in range(left, left + width, 4):
                total += 1
                lit += max(self.pixel(x, y)) > 24
        return lit / max(total, 1)

    def save_png(self, path):
        raw = b"".join(b"\x00" + row for row in self.rows)

        def chunk(kind, body):
            return (struct.pack(">I", len(body)) + kind + body +
                    struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as png:
            png.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                      chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))


def screen_point(spot, window):
    """The pixel of a layout spot in the window: left, top, width, height."""
    left, top, width, height = window
    return (round(left + width / 2 + spot[0] * PIXELS_PER_UNIT * width / 800),
            round(top + height / 2 - spot[1] * PIXELS_PER_UNIT * height / 600))


def near(colour, wanted, distance=70):
    return sum((a - b) ** 2 for a, b in zip(colour, wanted)) <= distance ** 2


class Program:
    """One vpl3d in a folder of its own."""

    def __init__(self, folder):
        self.folder = folder
        self.process = None
        self.window = None

    def environment(self):
        """The program's own runtime folder, so that a vpl3d running elsewhere
        on the machine (whose lock lives there) does not end this one, and its
        own settings, so that no other run's AutoSave or sketchbook reaches it."""
        runtime = os.path.join(self.folder, "run")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        return dict(os.environ, XDG_RUNTIME_DIR=runtime,
                    XDG_CONFIG_HOME=os.path.join(self.folder, CONFIG_FOLDER))

    def start(self, prepare=None, errors=subprocess.DEVNULL):
        """Starts vpl3d and waits for its window; prepare() runs in the new
        process before the program (limits, signals), errors takes its error
        stream."""
        self.process = subprocess.Popen([os.path.join(self.folder, "vpl3d")], cwd=self.folder,
                                        env=self.environment(), stdout=subprocess.DEVNULL,
                                        stderr=errors, preexec_fn=prepare,
                                        start_new_session=True)
        self.window = wait_until("the window", self.find_window)

    def find_window(self):
        check(self.process.poll() is None, f"vpl3d ended with {self.process.returncode}")
        windows = visible_windows()
        return windows[0] if len(windows) == 1 else None

    def geometry(self):
        """The window's client area on the screen: left, top, width, height."""
        return wait_until("the window's place", self.read_geometry)

    def read_geometry(self):
        # The window may be replaced between finding it and asking.
        self.window = self.find_window()
        if self.window is None:
            return None
        values = dict(line.split("=", 1) for line in xdotool("getwindowgeometry", "--shell",
                                                               self.window) if "=" in line)
        keys = ("X", "Y", "WIDTH", "HEIGHT")
        return tuple(int(values[key]) for key in keys) if all(k in values for k in keys) else None

    def key(self, name):
        """A real key press and release, on the program's window."""
        subprocess.run(["xdotool", "windowfocus", "--sync", self.window], capture_output=True)
        subprocess.run(["xdotool", "key", name], check=True, capture_output=True)

    def move(self, x, y):
        left, top, _, _ = self.geometry()
        subprocess.run(["xdotool", "mousemove", str(left + x), str(top + y)], check=True)

    def click(self, spot):
        """A real click on a layout spot of the interface."""
        x, y = screen_point(spot, (0, 0, 800, 600))
        self.move(x, y)
        time.sleep(0.2)
        subprocess.run(["xdotool", "click", "1"], check=True)

    def drag(self, start, end, steps=12):
        """A real press, a pointer moved in steps, and a release."""
        self.move(*start)
        time.sleep(0.2)
        subprocess.run(["xdotool", "mousedown", "1"], check=True)
        for i in range(1, steps + 1):
            self.move(start[0] + (end[0] - start[0]) * i // steps,
                      start[1] + (end[1] - start[1]) * i // steps)
            time.sleep(0.05)
        subprocess.run(["xdotool", "mouseup", "1"], check=True)

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(3)
            except subprocess.TimeoutExpired:
                self.kill()

    def kill(self):
        """SIGKILL to the program and whatever it forked: a message box is
        shown by a forked child, which would outlive the program holding its
        single-instance lock."""
        try:
            os.killpg(self.process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        self.process.wait(10)

    def add_environment(self, name, value):
        """Gives the program one more environment variable from its next start on."""
        environment = self.environment
        self.environment = lambda: dict(environment(), **{name: value})

def window_titled(title):
    """The place of a top window with the title (any program's: message boxes
    too) as left, top, width, height; None when there is none."""
    tree = subprocess.run(["xwininfo", "-root", "-children"], capture_output=True,
                          text=True).stdout
    for line in tree.splitlines():
        if f'"{title}":' in line:
            fields = line.split()[-2].split("+")
            width, height = (int(v) for v in fields[0].split("x"))
            return int(fields[1]), int(fields[2]), width, height
    return None
