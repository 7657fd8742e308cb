"""The program against kills, damaged files, a full disk and missing data, and what
it measures: start times, frame rate, idle load and memory."""

import os
import resource
import shutil
import signal
import subprocess
import sys
import time

import making
from xsupport import (CONFIG_FOLDER, PRIMITIVE_BUTTON, QUIT_BUTTON, QUIT_YES, SHAPE_AREA,
                      SHAPE_DRAG, UNDO_BUTTON, Screenshot, StepFailed, check, screen_point,
                      wait_until, visible_windows, window_titled)

# Layout spots (centre x, y in units) of the preferences dialog, the question
# before work is saved, and the notice's one button.
PREFERENCES_AUTOSAVE, PREFERENCES_OK = (-2.4, 4.0), (1.7, -4.9)
QUESTION_YES = (1.7, -3.4)
NOTICE_OK = (4.2, -3.4)
# Where the pointer rests: over the meadow, away from the camera pads.
RESTING_POINTER = (450, 300)
REPORT_TOOL = "vpl3d-sketch-report"
# Seconds after the save's temporary file appears that the program is killed.
KILL_DELAYS = (0.0, 0.03, 0.15)
# The quota of the full disk: below a sketch's thumbnail alone.
FILE_SIZE_LIMIT = 64 * 1024
MISSING_DATA_FILE = "vpl3d.MMF"
MISSING_DATA_MESSAGE = "[Application Error] Cannot find film resource file '"
DAMAGED_DATA_FILE = "vpl3d.MMM"
DAMAGED_DATA_MESSAGE = "[Application Error] Bad checksum in model resource file '{}'."
# The creation screen at rest draws nothing; its load is that of the idle
# passes alone. Start times are gross failures only: CI may be slow.
IDLE_LOAD_LIMIT = 0.10
START_LIMIT_S = 15.0


def steps(play):
    """The steps, each a (name, callable) pair, run in order on the PlayThrough play."""
    robust = Robustness(play)
    return [("idle and memory", robust.step_idle_and_memory),
            ("quit and return", robust.step_quit_and_return),
            ("termination request", robust.step_termination_request),
            ("kill during a save", robust.step_kill_during_save),
            ("damaged sketch", robust.step_damaged_sketch),
            ("a family's own files", robust.step_family_files),
            ("full disk", robust.step_full_disk),
            ("missing data file", robust.step_missing_data_file),
            ("damaged data file", robust.step_damaged_data_file)]


def read_record(path):
    """The creation in a sketch file as text through the program's own readers;
    None for a file they refuse. A crash of the reader fails the step."""
    tool = os.path.join(os.path.abspath(sys.argv[1]), REPORT_TOOL)
    result = subprocess.run([tool, path], capture_output=True, text=True, timeout=60,
                            env=dict(os.environ, SDL_VIDEODRIVER="offscreen"))
    check(result.returncode in (0, 1), f"the sketch reader ended with {result.returncode}")
    return result.stdout if result.returncode == 0 else None


def object_count(record):
    for line in record.splitlines():
        if line.startswith("creation objects "):
            return int(line.split()[-1])
    return None


def cpu_seconds(pid, thread=None):
    path = f"/proc/{pid}/task/{thread}/stat" if thread else f"/proc/{pid}/stat"
    with open(path) as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def thread_names(pid):
    names = {}
    for thread in os.listdir(f"/proc/{pid}/task"):
        with open(f"/proc/{pid}/task/{thread}/comm") as comm:
            names[thread] = "main" if thread == str(pid) else comm.read().strip()
    return names


def resident_mib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024
    return 0.0


def full_disk():
    """In the new process: writes past the quota fail with EFBIG instead of
    ending the program."""
    signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
    resource.setrlimit(resource.RLIMIT_FSIZE, (FILE_SIZE_LIMIT, FILE_SIZE_LIMIT))


def block_middle(shot, origin):
    """A point on a block in the block's area, the nearest to the middle of
    all it shows (the earlier steps leave blocks flattened, off the area's
    centre, and at times two of them), in window pixels."""
    left, top, width, height = SHAPE_AREA
    points = [(x, y) for y in range(top, top + height, 4) for x in range(left, left + width, 4)
              if not is_meadow(shot.pixel(origin[0] + x, origin[1] + y))]
    check(points, "no block in its area")
    middle = (sum(x for x, _ in points) / len(points), sum(y for _, y in points) / len(points))
    return min(points, key=lambda p: (p[0] - middle[0]) ** 2 + (p[1] - middle[1]) ** 2)


def is_meadow(colour):
    red, green, blue = colour[:3]
    return green > red and green > blue


class Robustness:
    def __init__(self, play):
        self.play = play
        self.program = play.program

    # The sketches on disk.

    def sketch_files(self):
        library = self.play.path("Library")
        return [os.path.join(library, book, name) for book in sorted(os.listdir(library))
                if os.path.isdir(os.path.join(library, book))
                for name in os.listdir(os.path.join(library, book))
                if name != "SketchbookIcon" and not name.startswith(".")]

    def temporary_files(self):
        library = self.play.path("Library")
        return [name for book in os.listdir(library) if os.path.isdir(os.path.join(library, book))
                for name in os.listdir(os.path.join(library, book)) if name.startswith(".saving ")]

    def newest_sketch(self):
        return max(self.sketch_files(), key=os.path.getmtime)

    # The program.

    def started(self, prepare=None):
        """A start up to the ready creation screen; the seconds to the intro's
        first picture and from the intro's last key to the palette."""
        began = time.monotonic()
        self.start_after_kill(prepare)
        left, top, width, height = self.program.geometry()
        wait_until("the intro's first picture", lambda: self.play.lit(left, top, width, height))
        first_picture = time.monotonic() - began
        self.program.key("space")
        time.sleep(0.5)
        self.program.key("space")
        skipped = time.monotonic()
        wait_until("the creation screen's palette", self.play.palette_shows, 30)
        ready = time.monotonic() - skipped
        check(first_picture < START_LIMIT_S and ready < START_LIMIT_S,
              f"the start took {first_picture:.1f} s, the skip {ready:.1f} s")
        self.program.move(*RESTING_POINTER)
        return first_picture, ready

    def start_after_kill(self, prepare):
        """A start; one more when the first shows no window. Seldom, a start
        right after a kill finds no 3D driver and shows its message instead of
        a window: the run says so and starts again."""
        try:
            self.program.start(prepare)
        except StepFailed as failure:
            print(f"  a start showed no window ({failure}; windows: {visible_windows()}); "
                  "started again", flush=True)
            self.program.kill()
            time.sleep(1.0)
            self.program.start(prepare)

    def killed(self):
        self.program.kill()
        # A start while the X server still holds the killed program's window
        # and drawing context at times finds no 3D driver.
        wait_until("the killed program's window gone", lambda: not visible_windows())
        time.sleep(0.5)

    def ended(self, status=0):
        """The program's end, with 0 after a run and 1 after a failed start."""
        wait_until("the program's end", lambda: self.program.process.poll() is not None, 30)
        check(self.program.process.returncode == status,
              f"the program ended with {self.program.process.returncode}")

    def dialog_shows(self, before):
        """Whether the dialogs' place on screen differs from the picture before."""
        def differs():
            shot = Screenshot()
            changed = sum(shot.pixel(x, y) != before.pixel(x, y)
                          for y in range(200, 440, 8) for x in range(260, 620, 8))
            return shot if changed > 0.3 * 30 * 45 else None
        return differs

    def click_and_see_dialog(self, spot, what):
        self.program.move(*RESTING_POINTER)
        time.sleep(0.3)
        before = Screenshot()
        self.program.click(spot)
        self.program.move(*RESTING_POINTER)
        return wait_until(what, self.dialog_shows(before), 15)

    def notice_shows(self):
        """The notice's one green button, and no green yes of the question
        before it (whose yes reaches under the notice's button)."""
        check(self.program.process.poll() is None, "the program ended")
        shot = Screenshot()
        window = self.program.geometry()
        return shot if (self.green_button(shot, NOTICE_OK, window) and
                        not self.green_button(shot, QUESTION_YES, window)) else None

    @staticmethod
    def green_button(shot, spot, window):
        """Whether a green button shows at the spot: left of its tick, inside it."""
        x, y = screen_point(spot, window)
        red, green, blue = shot.dominant(x - 26, y - 4, 10, 8)
        return green > red + 60 and green > blue + 40

    def change_creation(self):
        """A block more on the meadow: the creation is modified."""
        self.program.click(PRIMITIVE_BUTTON)
        time.sleep(1.0)
        self.program.drag(*SHAPE_DRAG)
        self.program.move(*RESTING_POINTER)
        time.sleep(0.5)

    def quit_unchanged(self):
        self.click_and_see_dialog(QUIT_BUTTON, "the quit question")
        self.program.click(QUIT_YES)
        self.ended()

    # The steps.

    def load(self, what):
        """The program's load on one core over three seconds, reported."""
        pid = self.program.process.pid
        threads = thread_names(pid)
        began, used = time.monotonic(), cpu_seconds(pid)
        each = {thread: cpu_seconds(pid, thread) for thread in threads}
        time.sleep(3.0)
        seconds = time.monotonic() - began
        load = (cpu_seconds(pid) - used) / seconds
        busiest = sorted(((cpu_seconds(pid, t) - each[t]) / seconds, threads[t]) for t in threads)
        print(f"  {what}: {100 * load:.1f}% of one core (busiest threads: " +
              ", ".join(f"{name} {100 * share:.0f}%" for share, name in busiest[-3:]) + ")")
        return load

    def spin_the_block(self, maker):
        """A rotate drag released while turning leaves the saved block spinning."""
        maker.press_at(making.ROTATE)
        centre = block_middle(Screenshot(), maker.program.geometry()[:2])
        maker.stroke(maker.line(centre, (centre[0] + 70, centre[1]), 8), pause=0.12,
                     release_moving=True)
        maker.rest()

    def step_idle_and_memory(self):
        """The creation screen with the pointer resting: its load on one core at
        rest and with one block spinning, and its resident size with the
        creation made before read back. The select tool is chosen first: the
        primitive tool's preview spins. The spin is undone afterwards."""
        maker = making.Making(self.play)
        maker.tool(making.SELECT_TOOL)
        self.program.move(*RESTING_POINTER)
        time.sleep(1.0)
        load = self.load("at rest")
        print(f"  resident {resident_mib(self.program.process.pid):.0f} MiB")
        check(load < IDLE_LOAD_LIMIT, f"the resting creation screen keeps {100 * load:.0f}% busy")
        # A round block spinning about its upright looks the same in every
        # frame: that its frames are drawn shows in the load, far above rest.
        self.spin_the_block(maker)
        spinning = self.load("one block spinning")
        check(spinning > IDLE_LOAD_LIMIT, "the spinning block's frames are not drawn")
        self.program.click(UNDO_BUTTON)
        self.program.move(*RESTING_POINTER)
        time.sleep(1.0)

    def step_quit_and_return(self):
        """With AutoSave off, quitting asks before it saves; the creation the
        program read back and writes again is the one it had saved."""
        saved = self.newest_sketch()
        record = read_record(saved)
        check(record is not None, f"{saved} does not read back")
        self.quit_unchanged()
        check(read_record(saved) == record, "quitting unchanged changed the sketch")
        first_picture, ready = self.started()
        print(f"  start to the intro's first picture {first_picture:.2f} s, "
              f"intro skip to the creation screen {ready:.2f} s")
        self.switch_autosave_off()
        self.change_creation()
        self.program.click(UNDO_BUTTON)
        self.program.move(*RESTING_POINTER)
        time.sleep(0.5)
        written = os.path.getmtime(saved)
        shot = self.click_and_see_dialog(QUIT_BUTTON, "the question before saving")
        self.play.keep(shot, "save-question")
        check(os.path.getmtime(saved) == written, "the program saved without asking")
        self.program.click(QUESTION_YES)
        wait_until("the sketch saved", lambda: os.path.getmtime(saved) != written, 15)
        self.program.move(*RESTING_POINTER)
        time.sleep(1.0)
        self.program.click(QUIT_YES)
        self.ended()
        check(self.newest_sketch() == saved, "the program saved another sketch")
        check(read_record(saved) == record, "the creation read back differs from the one saved")
        self.started()

    def switch_autosave_off(self):
        registry = self.play.path(CONFIG_FOLDER, "vpl3d", "registry")
        before = os.path.getmtime(registry) if os.path.exists(registry) else None
        self.program.move(*RESTING_POINTER)
        time.sleep(0.3)
        shot = Screenshot()
        self.program.key("ctrl+space")
        wait_until("the preferences", self.dialog_shows(shot), 15)
        self.program.click(PREFERENCES_AUTOSAVE)
        time.sleep(0.5)
        self.program.click(PREFERENCES_OK)
        wait_until("the preferences stored", lambda: os.path.exists(registry) and
                   os.path.getmtime(registry) != before, 15)
        self.program.move(*RESTING_POINTER)
        time.sleep(0.5)

    def step_kill_during_save(self):
        """Killed at several points of a save, the program finds the sketch
        whole after a restart: the old version or the new one."""
        sketch = self.newest_sketch()
        folder = os.path.dirname(sketch)
        outcomes = []
        for delay in KILL_DELAYS:
            old = read_record(sketch)
            self.change_creation()
            self.click_and_see_dialog(QUIT_BUTTON, "the question before saving")
            written = os.stat(sketch).st_ino
            self.program.click(QUESTION_YES)
            self.wait_for_save(folder, sketch, written)
            time.sleep(delay)
            self.killed()
            record = read_record(sketch)
            check(record is not None, f"killed {delay} s into the save, the sketch is damaged")
            check(object_count(record) in (object_count(old), object_count(old) + 1),
                  f"killed {delay} s into the save, the sketch holds another creation")
            outcomes.append("old" if record == old else "new")
            self.started()
            check(not self.temporary_files(), "a restart left a save's temporary file")
            check(read_record(sketch) == record, "the restart changed the sketch")
        print(f"  killed at {', '.join(f'{d:.2f}' for d in KILL_DELAYS)} s into the save: "
              f"{', '.join(outcomes)} version kept")

    @staticmethod
    def wait_for_save(folder, sketch, written):
        """Until the save's temporary file shows or the sketch (whose file was
        written) is replaced, looked at often: a save takes a fraction of a
        second, less than the click takes on a fast machine."""
        deadline = time.monotonic() + 15
        while not any(name.startswith(".") for name in os.listdir(folder)):
            check(time.monotonic() < deadline, "no save within 15 s")
            if os.stat(sketch).st_ino != written:
                return
            time.sleep(0.002)

    def step_damaged_sketch(self):
        """A sketch the readers refuse is skipped: the program starts without
        it and leaves it as it is, and files that are not sketches are passed by."""
        sketch = self.newest_sketch()
        folder = os.path.dirname(sketch)
        with open(sketch, "rb") as original:
            whole = original.read()
        self.killed()
        strangers = {"Not a sketch": os.urandom(5000), "Empty": b"",
                     "Huge thumbnail": whole[:15] + b"\xff\x7f\xff\x7f\x04\x00" + whole[21:4096]}
        for name, data in strangers.items():
            with open(os.path.join(folder, name), "wb") as stranger:
                stranger.write(data)
        try:
            for damage, data in [("cut record", whole[:len(whole) - len(whole) // 8]),
                                 ("bad sizes", whole[:15] + b"\x00\x7f\x00\x7f\x09\x00" +
                                  whole[21:])]:
                with open(sketch, "wb") as damaged:
                    damaged.write(data)
                self.started()
                time.sleep(1.0)
                check(self.program.process.poll() is None, f"the program ended on a {damage}")
                self.killed()
                with open(sketch, "rb") as kept:
                    check(kept.read() == data, f"the program changed the sketch with a {damage}")
        finally:
            with open(sketch, "wb") as restored:
                restored.write(whole)
            for name in strangers:
                os.remove(os.path.join(folder, name))
        self.started()

    def step_family_files(self):
        """A start leaves the family's own files in the Library (hidden notes, a
        file manager's settings, a folder of their own) and deletes only what
        an ended save of the program's left behind."""
        folder = os.path.dirname(self.newest_sketch())
        library = os.path.dirname(folder)
        own = [os.path.join(folder, ".notes.txt"), os.path.join(folder, ".directory"),
               os.path.join(library, "Grandma's folder", ".notes.txt")]
        leftover = os.path.join(folder, ".saving 1 2")
        self.killed()
        os.makedirs(os.path.dirname(own[-1]))
        for path in [*own, leftover]:
            with open(path, "w") as written:
                written.write("kept by the family")
        try:
            self.started()
            check(not os.path.exists(leftover), "the start kept the temporary file of a save")
            lost = [path for path in own if not os.path.exists(path)]
            check(not lost, f"the start deleted the family's {lost}")
        finally:
            self.killed()
            shutil.rmtree(os.path.dirname(own[-1]), ignore_errors=True)
            for path in own[:-1]:
                if os.path.exists(path):
                    os.remove(path)
        self.started()

    def step_full_disk(self):
        """Saving on a full disk says so, keeps the program going and the
        sketch as it was saved last."""
        sketch = self.newest_sketch()
        record = read_record(sketch)
        self.killed()
        self.started(full_disk)
        self.change_creation()
        written = os.path.getmtime(sketch)
        self.click_and_see_dialog(QUIT_BUTTON, "the question before saving")
        self.program.click(QUESTION_YES)
        self.program.move(*RESTING_POINTER)
        shot = wait_until("the notice that the save did not work", self.notice_shows, 15)
        self.play.keep(shot, "full-disk")
        check(os.path.getmtime(sketch) == written, "the full disk changed the sketch")
        check(not self.temporary_files(), "a failed save left its temporary file")
        self.program.click(NOTICE_OK)
        time.sleep(1.0)
        check(self.program.process.poll() is None, "the program ended on a full disk")
        self.killed()
        check(read_record(sketch) == record, "the sketch saved last was lost on a full disk")

    def step_termination_request(self):
        """A termination request (a logout's SIGTERM) with AutoSave off keeps
        the block just made without asking: it is there after a restart."""
        sketch = self.newest_sketch()
        before = object_count(read_record(sketch))
        self.change_creation()
        os.kill(self.program.process.pid, signal.SIGTERM)
        self.ended()
        check(object_count(read_record(self.newest_sketch())) == before + 1,
              "the termination request lost the block")
        self.started()

    def error_box_at_start(self, picture):
        """A start that ends with the error box: the box is answered, the
        program ends as a failed start, and what it wrote to its error
        stream is answered."""
        errors_path = self.play.path("errors.txt")
        with open(errors_path, "w") as errors:
            self.program.process = subprocess.Popen(
                [self.play.path("vpl3d")], cwd=self.play.home,
                env=self.program.environment(), stdout=subprocess.DEVNULL, stderr=errors)
            box = wait_until("the error box", lambda: window_titled("Application Error"), 30)
            self.play.keep(Screenshot(), picture)
            # Keys go to the window under the pointer: the screen has no window manager.
            left, top, width, height = box
            subprocess.run(["xdotool", "mousemove", str(left + width // 2),
                            str(top + height // 2)], check=True)
            subprocess.run(["xdotool", "key", "Return"], check=True)
            self.ended(1)
        with open(errors_path, encoding="latin-1") as errors:
            return errors.read()

    def step_missing_data_file(self):
        """Without one of its data files the program ends its start with the
        file kind's message in the error box."""
        data = self.play.path(MISSING_DATA_FILE)
        self.killed()
        os.rename(data, data + ".away")
        try:
            text = self.error_box_at_start("missing-data-file")
        finally:
            os.rename(data + ".away", data)
        check(MISSING_DATA_MESSAGE in text, f"the box said {text.strip()!r}")

    def step_damaged_data_file(self):
        """A data file cut short ends the start with the error box, which
        names the file by its path on this machine."""
        data = self.play.path(DAMAGED_DATA_FILE)
        with open(data, "rb") as original:
            whole = original.read()
        with open(data, "wb") as damaged:
            damaged.write(whole[:len(whole) // 2])
        try:
            text = self.error_box_at_start("damaged-data-file")
        finally:
            with open(data, "wb") as restored:
                restored.write(whole)
        wanted = DAMAGED_DATA_MESSAGE.format(data)
        check(wanted in text, f"the box said {text.strip()!r}, not {wanted!r}")
