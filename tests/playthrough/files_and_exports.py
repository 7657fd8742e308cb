"""The file screen and its sketchbooks, the exports and printing."""

import hashlib
import json
import os
import re
import struct
import subprocess
import time
from collections import namedtuple

import making
from xsupport import PIXELS_PER_UNIT, Screenshot, StepFailed, check, near, screen_point, wait_until

# Layout spots (centre x, y in interface units). The creation screen's file,
# export, print and new-sketch buttons:
FILES_BUTTON, EXPORT_BUTTON, PRINT_BUTTON = (-18.6, -13.8), (-16.1, -13.8), (-13.6, -13.8)
NEW_SKETCH_BUTTON = (-18.6, -11.4)
# the file screen's buttons, its first row of sketch cells, its book cells
# (the other books), the cover picker's first free cover and the question's
# yes:
FILES_BACK, COPY_BUTTON, NEW_BOOK_BUTTON, TRASH = (
    (-17.8, 13.2), (14.6, 1.2), (9.6, -9.6), (17.6, -2.0))
SKETCH_CELLS = [(-9.0, 5.0), (-2.0, 5.0), (5.0, 5.0), (-9.0, -0.4), (-2.0, -0.4), (5.0, -0.4)]
SKETCH_CELL_SIZE = (6.4, 4.8)
# The part of a sketch cell its thumbnail covers, and the grid's scroll
# buttons; a scroll moves one row of three cells.
SKETCH_FACE = (6.0, 4.4)
# The file screen's camera shows a unit a little larger than the creation
# screen's: near enough for clicks, but a thumbnail is read pixel by pixel.
FILES_PIXELS_PER_UNIT = 19.78
SKETCH_BACK, SKETCH_FORWARD = (-14.0, 2.3), (10.0, 2.3)
SKETCH_COLUMNS = 3
# The sketches the file steps work on, each but the first with one shape
# made at its own place (window pixels of a drag's start; the drag goes
# SHAPE_SIZE further), of the kind so many steps on in the shape chooser:
# the star, which lies flat and shows as a thin line, is passed by.
SHAPES = [((x, y), 2 if (x, y) == (200, 370) else 1)
          for y in (130, 250, 370) for x in (200, 380, 560)]
SHAPE_SIZE = (150, 110)
MEADOW = (180, 100, 440, 400)
BOOK_CELLS = [(-9.0, -9.6), (-3.6, -9.6), (1.8, -9.6)]
BOOK_CELL_SIZE = (4.4, 5.4)
FIRST_COVER = (5.2, -4.8)
QUESTION_YES = (1.7, -3.4)
# Spots of the file screen's sketch grid that no cell and no flying picture
# covers: its white frame once the screen is there.
GRID_FRAME_SPOTS = [(8.4, -3.1), (8.4, 7.7)]
# The export and print dialogs: the photo and movie kinds, the print
# background toggle, and OK.
EXPORT_PHOTO, EXPORT_MOVIE, DIALOG_OK = (2.0, 2.2), (6.4, 2.2), (1.7, -4.9)
PRINT_BACKGROUND = (-2.4, -1.6)
SCREEN = (0, 0, 800, 600)
WHITE, BLACK = (255, 255, 255), (0, 0, 0)

SKETCH_SIGNATURE = b"VPL3Dv1.0\0"
SKETCH_HEADER_SIZE = 21
BOOK_INDEX = "SketchbookIcon"
BMP_SIZE = 54 + 800 * 600 * 4
MOVIE_FRAMES, MOVIE_RATE, MOVIE_SIZE = 100, 10, (320, 240)

Sketch = namedtuple("Sketch", "created has_creation blank digest")
Book = namedtuple("Book", "cover sketches")


# ---- The Library on disk ------------------------------------------------------------------

def read_sketch(path):
    """A sketch file's header, whether it is blank (no creation record and a
    thumbnail of one colour) and a digest of its bytes."""
    with open(path, "rb") as sketch:
        data = sketch.read()
    check(len(data) >= SKETCH_HEADER_SIZE and data[4:14] == SKETCH_SIGNATURE,
          f"{path} is not a sketch file")
    created, has_creation = struct.unpack_from("<iB", data)[0], data[14]
    width, height, depth = struct.unpack_from("<hhh", data, 15)
    end = SKETCH_HEADER_SIZE + width * height * depth
    check(width > 0 and height > 0 and 1 <= depth <= 4 and len(data) >= end,
          f"{path}: a thumbnail of {width} x {height} x {depth} in {len(data)} bytes")
    thumbnail = data[SKETCH_HEADER_SIZE:end]
    one_colour = thumbnail == thumbnail[:depth] * (width * height)
    blank = not has_creation and len(data) == end and one_colour
    return Sketch(created, bool(has_creation), blank, hashlib.sha1(data).hexdigest())


def read_library(home):
    """{book folder: Book(cover, {sketch file: Sketch})}; None while a file
    moves under the reader."""
    root = os.path.join(home, "Library")
    books = {}
    try:
        for name in sorted(os.listdir(root)):
            folder = os.path.join(root, name)
            with open(os.path.join(folder, BOOK_INDEX), "rb") as index:
                fields = index.read()
            check(len(fields) == 8, f"{name}'s index has {len(fields)} bytes")
            sketches = {sketch: read_sketch(os.path.join(folder, sketch))
                        for sketch in sorted(os.listdir(folder))
                        if sketch != BOOK_INDEX and not sketch.startswith(".")}
            books[name] = Book(struct.unpack_from("<h", fields, 4)[0], sketches)
    except FileNotFoundError:
        return None
    return books


def read_until(what, read, condition, seconds=10):
    """Reads until what read() gives (None: nothing yet) answers the condition; that reading."""
    def answer():
        value = read()
        return value if value is not None and condition(value) else None
    return wait_until(what, answer, seconds)


def library_where(play, what, condition):
    """Waits until the Library on disk answers the condition; the Library."""
    return read_until(what, lambda: read_library(play.home), condition)


def check_first_library(play):
    """A first start gives the Library one sketchbook holding one blank sketch."""
    books = library_where(play, "the first sketchbook and its sketch",
                          lambda books: any(book.sketches for book in books.values()))
    check(len(books) == 1, f"the first start made the sketchbooks {sorted(books)}")
    sketches = next(iter(books.values())).sketches
    check(len(sketches) == 1 and next(iter(sketches.values())).blank,
          f"the first sketchbook holds {sketches}")


# ---- The screen ---------------------------------------------------------------------------

def spot_rectangle(spot, size, share=0.7):
    """The middle share of a layout rectangle, in screen pixels: left, top, width, height."""
    x, y = screen_point(spot, SCREEN)
    width, height = (round(side * share * PIXELS_PER_UNIT) for side in size)
    return x - width // 2, y - height // 2, width, height


def colours_in(shot, rectangle):
    """The colours, to 16 levels a channel, of every fourth pixel of the rectangle."""
    left, top, width, height = rectangle
    return [tuple(c // 16 * 16 + 8 for c in shot.pixel(x, y))
            for y in range(top, top + height, 4) for x in range(left, left + width, 4)]


def shows_picture(shot, spot, size):
    """Whether a cell shows a picture: several colours, mostly neither white nor black."""
    colours = colours_in(shot, spot_rectangle(spot, size))
    plain = sum(near(colour, WHITE, 40) or near(colour, BLACK, 40) for colour in colours)
    return len(set(colours)) >= 4 and plain < len(colours) / 2


def shows_colour(shot, spot, size, colour):
    return near(shot.dominant(*spot_rectangle(spot, size)), colour, 40)


def shows_green(shot, spot):
    """Whether the left of a button at the spot is green (yes and OK are)."""
    red, green, blue = shot.dominant(*spot_rectangle((spot[0] - 0.9, spot[1]), (0.6, 0.8), 1))
    return green > red + 60 and green > blue + 60


def screen_where(what, condition):
    """Waits until a screenshot answers the condition; the screenshot."""
    return read_until(what, Screenshot, condition)


def grid_signature(shot):
    """The sketch grid's part of the screen, coarsely: it changes while the
    screen changes."""
    left, top, width, height = spot_rectangle((-2.0, 2.3), (21.6, 11.4), 1.0)
    return hash(tuple(shot.pixel(x, y) for y in range(top, top + height, 8)
                      for x in range(left, left + width, 8)))


def file_screen_settled(shot):
    return all(near(shot.pixel(*screen_point(spot, SCREEN)), WHITE, 20)
               for spot in GRID_FRAME_SPOTS)


def watch_file_screen_open(seconds=15):
    """The pictures of the grid seen until the file screen stands still."""
    seen = []
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        shot = Screenshot()
        seen.append(grid_signature(shot))
        if len(seen) >= 2 and seen[-1] == seen[-2] and file_screen_settled(shot):
            return seen, shot
    raise StepFailed(f"the file screen did not settle within {seconds} s")


def double_click(play, spot):
    play.program.click(spot)
    subprocess.run(["xdotool", "click", "1"], check=True)


def drag_spot(play, start, end):
    play.program.drag(screen_point(start, SCREEN), screen_point(end, SCREEN))


# ---- What the sketch cells show -----------------------------------------------------------

# Where a cell's picture is sampled (shares of its face) and how far around
# the same place of the thumbnail a sampled colour may come from: the face
# shrinks the thumbnail and blends its neighbouring texels.
FACE_SAMPLES = [(column / 60, row / 44) for row in range(3, 42) for column in range(3, 58)]
TEXEL_REACH, COLOUR_TOLERANCE = 3, 24
# The share of samples a cell may show unlike its own thumbnail.
UNLIKE_SHARE = 0.02


def read_thumbnail(path):
    """The thumbnail's lowest and highest colour near each sample place."""
    with open(path, "rb") as sketch:
        data = sketch.read()
    width, height, depth = struct.unpack_from("<hhh", data, 15)
    check(depth >= 3 and len(data) >= SKETCH_HEADER_SIZE + width * height * depth,
          f"{path}: a thumbnail of {width} x {height} x {depth}")
    boxes = []
    for u, v in FACE_SAMPLES:
        x, y = int(u * width), int(v * height)
        colours = []
        for ty in range(max(y - TEXEL_REACH, 0), min(y + TEXEL_REACH, height - 1) + 1):
            row = SKETCH_HEADER_SIZE + ty * width * depth
            for tx in range(max(x - TEXEL_REACH, 0), min(x + TEXEL_REACH, width - 1) + 1):
                blue, green, red = data[row + tx * depth: row + tx * depth + 3]
                colours.append((red, green, blue))
        boxes.append((tuple(map(min, zip(*colours))), tuple(map(max, zip(*colours)))))
    return boxes


def face_colours(shot, spot):
    """The colours shown at the sample places of the cell at the spot."""
    left, top, width, height = SCREEN
    centre_x = left + width / 2 + spot[0] * FILES_PIXELS_PER_UNIT
    centre_y = top + height / 2 - spot[1] * FILES_PIXELS_PER_UNIT
    face_width, face_height = (side * FILES_PIXELS_PER_UNIT for side in SKETCH_FACE)
    return [shot.pixel(round(centre_x + (u - 0.5) * face_width),
                       round(centre_y + (v - 0.5) * face_height)) for u, v in FACE_SAMPLES]


def unlike_share(colours, boxes):
    """The share of the shown colours that lie outside the thumbnail's near colours."""
    unlike = sum(any(c < low - COLOUR_TOLERANCE or c > high + COLOUR_TOLERANCE
                     for c, low, high in zip(colour, lowest, highest))
                 for colour, (lowest, highest) in zip(colours, boxes))
    return unlike / len(colours)


def offset_showing(index, columns=SKETCH_COLUMNS, cells=len(SKETCH_CELLS)):
    """The grid's offset once the sketch of the index is made current: it lies
    in the last row once it is beyond the first page."""
    pages, rest = divmod(index + 1, cells)
    return 0 if pages == 0 else (pages - 1) * cells + columns * -(-rest // columns)


# ---- The file screen's steps --------------------------------------------------------------

class FileScreen:
    """The file screen's steps on the PlayThrough play: one sketchbook whose
    one sketch holds what the making steps made; nine more sketches are made
    first, so that the grid of six cells scrolls."""

    def __init__(self, play):
        self.play = play
        self.first_book = self.new_book = self.moved = None
        self.offset = 0
        self.shot = None
        self.thumbnails = {}

    def library(self, what, condition):
        return library_where(self.play, what, condition)

    @staticmethod
    def sketches(books, book):
        """The book's sketches; none when the book is gone."""
        return books[book].sketches if book in books else {}

    def in_grid_order(self, books, book):
        """The book's sketch files as the grid lists them: oldest first."""
        sketches = self.sketches(books, book)
        return sorted(sketches, key=lambda name: (sketches[name].created, name))

    def boxes(self, book, name, sketch):
        if sketch.digest not in self.thumbnails:
            path = os.path.join(self.play.home, "Library", book, name)
            self.thumbnails[sketch.digest] = read_thumbnail(path)
        return self.thumbnails[sketch.digest]

    def cells_unlike(self, shot, books, book, offset):
        """Why the cells at the grid offset do not show the book's sketches:
        each its own sketch's thumbnail in its own colours, more like it than
        any other sketch's; cells past the book empty. None when they do."""
        names = self.in_grid_order(books, book)
        sketches = self.sketches(books, book)
        for cell, spot in enumerate(SKETCH_CELLS):
            if offset + cell >= len(names):
                if not shows_colour(shot, spot, SKETCH_CELL_SIZE, WHITE):
                    return f"cell {cell} shows a picture past the book's {len(names)} sketches"
                continue
            own = names[offset + cell]
            colours = face_colours(shot, spot)
            unlike = unlike_share(colours, self.boxes(book, own, sketches[own]))
            if unlike > UNLIKE_SHARE:
                return f"cell {cell} shows {unlike:.0%} unlike the thumbnail of {own}"
            for other in names:
                if (sketches[other].digest != sketches[own].digest and
                        unlike_share(colours, self.boxes(book, other, sketches[other])) <= unlike):
                    return f"cell {cell} shows {other} as much as its own {own}"
        return None

    def check_cells(self, what, book, offset=None):
        """Waits until the cells show the book's sketches from the offset (or
        from any offset of a whole row), which becomes the grid's."""
        failures = []

        def shown():
            books = read_library(self.play.home)
            if books is None:
                return None
            shot = Screenshot()
            names = self.in_grid_order(books, book)
            offsets = [offset] if offset is not None else range(0, max(len(names), 1),
                                                                SKETCH_COLUMNS)
            for candidate in offsets:
                failure = self.cells_unlike(shot, books, book, candidate)
                if failure is None:
                    self.offset, self.shot = candidate, shot
                    return True
                failures.append(f"at offset {candidate}: {failure}")
            return None
        try:
            wait_until(what, shown, 10)
        except StepFailed:
            raise StepFailed(f"{what}: {failures[-1] if failures else 'no library'}") from None

    def step_ten_sketches(self):
        """Nine more sketches: each time the new-sketch button keeps the sketch
        before, and the primitive tool makes one shape, of the next kind, at a
        place of its own."""
        maker = making.Making(self.play)
        for place, steps_on in SHAPES:
            began = time.monotonic()
            self.play.program.click(NEW_SKETCH_BUTTON)
            for _ in range(steps_on):
                maker.press_at(making.SHAPE_FORWARD)
            end = (place[0] + SHAPE_SIZE[0], place[1] + SHAPE_SIZE[1])
            maker.made(lambda: maker.stroke(maker.line(place, end, 8)), MEADOW, "a shape", 0.01)
            # The grid lists sketches by age, counted in seconds.
            time.sleep(max(0.0, 1.1 - (time.monotonic() - began)))
        self.library("ten sketches", lambda books: len(books) == 1 and
                     len(next(iter(books.values())).sketches) == 1 + len(SHAPES))

    def step_open(self):
        """The sketch flies into its cell: the grid changes over several
        frames; the ten sketches are saved with their creations and the grid
        shows the last of them in its last row."""
        before = grid_signature(Screenshot())
        books = read_library(self.play.home)
        check(books is not None and len(books) == 1, f"sketchbooks before: {books}")
        self.first_book = next(iter(books))
        self.play.program.click(FILES_BUTTON)
        seen, _ = watch_file_screen_open()
        # However slowly the screen is read, a flight shows at least one
        # picture that is neither screen.
        between = {signature for signature in seen[:-1] if signature not in (before, seen[-1])}
        check(between, "no picture between the creation screen and the file screen")
        count = 1 + len(SHAPES)
        self.library("every sketch saved with its creation", lambda books: (
            len(self.sketches(books, self.first_book)) == count and
            all(sketch.has_creation for sketch in self.sketches(books, self.first_book).values())))
        self.check_cells("the last sketches' thumbnails", self.first_book,
                         offset_showing(count - 1))
        # Loading the thumbnails may hold the flight for a moment: the picture
        # kept is the one whose cells were read.
        self.play.keep(self.shot, "file-screen")

    def step_scroll(self):
        """The grid scrolls a row back, back to its start and a row forward;
        every time each cell shows its own sketch."""
        for button, rows in ((SKETCH_BACK, -1), (SKETCH_BACK, -1), (SKETCH_FORWARD, 1)):
            self.play.program.click(button)
            self.check_cells(f"the thumbnails a row {'back' if rows < 0 else 'forward'}",
                             self.first_book, self.offset + rows * SKETCH_COLUMNS)

    def step_copy(self):
        """The copy button copies the current sketch, the last, byte for byte;
        the copy becomes current and shows in the last row."""
        count = 2 + len(SHAPES)
        self.play.program.click(COPY_BUTTON)
        books = self.library("a copy of the sketch",
                             lambda books: len(self.sketches(books, self.first_book)) == count)
        sketches = self.sketches(books, self.first_book)
        original, copy = (sketches[name]
                          for name in self.in_grid_order(books, self.first_book)[-2:])
        check(copy.digest == original.digest, "the copy differs from its sketch")
        self.check_cells("the copy's thumbnail", self.first_book, offset_showing(count - 1))

    def step_new_sketchbook(self):
        """A new sketchbook with a free cover, one blank sketch, and current:
        the first book moves among the others."""
        self.play.program.click(NEW_BOOK_BUTTON)
        screen_where("the cover picker",
                     lambda shot: shows_picture(shot, FIRST_COVER, (3.2, 4.0)))
        self.play.program.click(FIRST_COVER)
        books = self.library("the new sketchbook", lambda books: (
            len(books) == 2 and self.first_book in books and
            all(book.sketches for book in books.values())))
        (self.new_book, book), = ((name, book) for name, book in books.items()
                                  if name != self.first_book)
        check(book.cover != books[self.first_book].cover, "two books share one cover")
        check(len(book.sketches) == 1 and next(iter(book.sketches.values())).blank,
              f"the new sketchbook holds {book.sketches}")
        screen_where("the new book's blank sketch and the first book's cover", lambda shot: (
            shows_colour(shot, SKETCH_CELLS[0], SKETCH_CELL_SIZE, BLACK) and
            shows_picture(shot, BOOK_CELLS[0], BOOK_CELL_SIZE)))

    def pictured(self, cell):
        """The name and digest of the first book's sketch the cell shows."""
        books = read_library(self.play.home)
        check(books is not None, "the library moves under the reader")
        name = self.in_grid_order(books, self.first_book)[self.offset + cell]
        return name, self.sketches(books, self.first_book)[name].digest

    def step_move(self):
        """The first book chosen again, the sketch its second cell shows,
        dragged onto the new book, moves into that book's folder."""
        count = 2 + len(SHAPES)
        double_click(self.play, BOOK_CELLS[0])
        self.check_cells("the first book's thumbnails", self.first_book)
        _, moving = self.pictured(1)
        drag_spot(self.play, SKETCH_CELLS[1], BOOK_CELLS[0])
        books = self.library("the sketch in the new book",
                             lambda books: len(self.sketches(books, self.new_book)) == 2)
        check(len(self.sketches(books, self.first_book)) == count - 1,
              f"the first book holds {sorted(self.sketches(books, self.first_book))}")
        moved = [sketch.digest for sketch in self.sketches(books, self.new_book).values()
                 if not sketch.blank]
        check(moved == [moving], "the new book did not get the sketch pictured")
        self.moved = moving
        self.check_cells("the first book's thumbnails after the move", self.first_book)

    def step_trash(self):
        """A row back, the sketch the first cell shows, dragged to the trash,
        goes after a yes to the question; no cell shows it then."""
        count = 1 + len(SHAPES)
        if self.offset > 0:
            self.play.program.click(SKETCH_BACK)
            self.check_cells("the thumbnails a row back", self.first_book,
                             self.offset - SKETCH_COLUMNS)
        name, trashed = self.pictured(0)
        drag_spot(self.play, SKETCH_CELLS[0], TRASH)
        screen_where("the question", lambda shot: shows_green(shot, QUESTION_YES))
        check(len(self.sketches(read_library(self.play.home) or {}, self.first_book)) == count,
              "the sketch went before the answer")
        self.play.program.click(QUESTION_YES)
        books = self.library("the sketch gone", lambda books: (
            len(self.sketches(books, self.first_book)) == count - 1))
        check(name not in self.sketches(books, self.first_book), f"{name} is still there")
        check([sketch.digest for sketch in self.sketches(books, self.new_book).values()
               if not sketch.blank] == [self.moved], "the new book changed")
        self.check_cells("the thumbnails without the sketch thrown away", self.first_book)

    def step_back(self):
        """The back button returns to the creation screen."""
        self.play.program.click(FILES_BACK)
        self.play.program.move(790, 300)
        wait_until("the creation screen's palette", self.play.palette_shows, 15)


# ---- The exports and printing -------------------------------------------------------------

def probe(path):
    """ffprobe's view of the first picture stream, every frame decoded; None
    while the file is not a whole picture or movie."""
    result = subprocess.run(
        ["ffprobe", "-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
         "stream=codec_name,width,height,r_frame_rate,nb_read_frames", "-of", "json", path],
        capture_output=True, text=True)
    streams = json.loads(result.stdout or "{}").get("streams") if result.returncode == 0 else None
    return streams[0] if streams else None


def file_says(path):
    return subprocess.run(["file", "-b", path], capture_output=True, text=True).stdout


def check_bmp(path, data):
    """A whole 800 x 600 BMP of 32 bits a pixel whose picture is not one colour."""
    check(len(data) == BMP_SIZE, f"the BMP has {len(data)} bytes")
    magic, size, _, offset, header, width, height, planes, bits = struct.unpack_from(
        "<2sIIIIiiHH", data)
    check((magic, size, offset, header, planes, bits) == (b"BM", BMP_SIZE, 54, 40, 1, 32),
          f"the BMP's header: {magic} {size} {offset} {header} {planes} {bits}")
    check((width, abs(height)) == (800, 600), f"the BMP is {width} x {height}")
    pixels = {data[at:at + 4] for at in range(54, len(data), 4 * 997)}
    check(len(pixels) > 8, "the BMP's picture is one colour")
    check("PC bitmap" in file_says(path), f"file sees {file_says(path)}")


def jpeg_frame(data):
    """Width, height and components from the JPEG's start-of-frame marker."""
    check(data[:2] == b"\xff\xd8", "no JPEG start marker")
    at = 2
    while at + 9 < len(data) and data[at] == 0xFF:
        marker, length = data[at + 1], struct.unpack_from(">H", data, at + 2)[0]
        if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            height, width = struct.unpack_from(">HH", data, at + 5)
            return width, height, data[at + 9]
        at += 2 + length
    check(False, "no JPEG start-of-frame marker")
    return None


def jpeg_whole(path):
    """Whether the photo ends with its end-of-image marker, as a whole one does."""
    with open(path, "rb") as photo:
        photo.seek(0, os.SEEK_END)
        if photo.tell() < 4:
            return False
        photo.seek(-2, os.SEEK_END)
        return photo.read(2) == b"\xff\xd9"


def read_ppm(data):
    """Width, height and RGB bytes of a binary PPM."""
    fields = data.split(maxsplit=4)
    check(fields[0] == b"P6" and fields[3] == b"255", "pdftoppm gave no PPM")
    width, height = int(fields[1]), int(fields[2])
    return width, height, fields[4][:width * height * 3]


class Exports:
    """The export and print dialogs of the creation screen."""

    def __init__(self, play):
        self.play = play
        self.print_file = play.path("printed.pdf")

    def exports(self):
        """The finished files of Exports: a picture is written under a
        temporary name and renamed when whole."""
        return {name for name in os.listdir(self.play.path("Exports"))
                if not name.startswith(".") and not name.endswith(".tmp")}

    def export(self, kind, what, whole, seconds=10):
        """Exports through the dialog (kind: a spot, or None for the picture it
        offers first) and waits until the one new file answers whole(path)."""
        before = self.exports()
        self.play.program.click(EXPORT_BUTTON)
        screen_where("the export dialog", lambda shot: shows_green(shot, DIALOG_OK))
        if kind is not None:
            self.play.program.click(kind)
            time.sleep(0.3)
        self.play.program.click(DIALOG_OK)
        self.play.program.move(790, 300)

        def written():
            new = self.exports() - before
            check(len(new) <= 1, f"the export wrote {sorted(new)}")
            path = self.play.path("Exports", *new)
            return path if new and whole(path) else None
        return wait_until(what, written, seconds)

    def step_bmp(self):
        """An 800 x 600 BMP, as the standard decoders read it."""
        path = self.export(None, "a BMP of 1,920,054 bytes",
                           lambda path: os.path.getsize(path) == BMP_SIZE)
        check(path.lower().endswith(".bmp"), f"the picture is {path}")
        with open(path, "rb") as picture:
            check_bmp(path, picture.read())
        stream = probe(path)
        check(stream is not None and (stream["width"], stream["height"]) == (800, 600),
              f"ffprobe reads the BMP as {stream}")

    def step_jpeg(self):
        """An 800 x 600 JPEG photo of three components."""
        path = self.export(EXPORT_PHOTO, "a whole JPEG", jpeg_whole)
        check(path.lower().endswith((".jpg", ".jpeg")), f"the photo is {path}")
        with open(path, "rb") as photo:
            frame = jpeg_frame(photo.read())
        check(frame == (800, 600, 3), f"the JPEG's frame is {frame}")
        stream = probe(path)
        check((stream["codec_name"], stream["width"], stream["height"]) == ("mjpeg", 800, 600),
              f"ffprobe reads the JPEG as {stream}")

    def step_movie(self):
        """A movie of 100 frames at 10 a second, 320 x 240."""
        def whole(path):
            # Decoding the growing file again and again would take the
            # writer's time: it is read once it has rested a second.
            if time.time() - os.path.getmtime(path) < 1.0:
                return False
            stream = probe(path)
            return stream is not None and stream.get("nb_read_frames") == str(MOVIE_FRAMES)
        path = self.export(EXPORT_MOVIE, "a movie of 100 frames", whole, 120)
        stream = probe(path)
        check((stream["width"], stream["height"]) == MOVIE_SIZE, f"the movie is {stream}")
        check(stream["r_frame_rate"] == f"{MOVIE_RATE}/1", f"the movie's rate: {stream}")

    def step_print(self):
        """The print dialog, with the background, prints one page that shows
        the creation: its meadow."""
        check(not os.path.exists(self.print_file), "a print file before printing")
        self.play.program.click(PRINT_BUTTON)
        screen_where("the print dialog", lambda shot: shows_green(shot, DIALOG_OK))
        self.play.program.click(PRINT_BACKGROUND)
        time.sleep(0.3)
        self.play.program.click(DIALOG_OK)
        self.play.program.move(790, 300)
        page = wait_until("the printed page", self.printed_page, 20)
        width, height, pixels = read_ppm(page)
        samples = [tuple(pixels[i:i + 3]) for i in range(0, len(pixels) - 2, 3 * 7)]
        drawn = sum(not near(colour, WHITE, 30) for colour in samples) / len(samples)
        green = sum(g > r + 20 and g > b + 20 for r, g, b in samples) / len(samples)
        check(drawn > 0.2 and green > 0.1,
              f"the page of {width} x {height} is {drawn:.0%} drawn, {green:.0%} green")
        info = subprocess.run(["pdfinfo", self.print_file], capture_output=True, text=True)
        pages = re.search(r"^Pages:\s+(\d+)$", info.stdout, re.MULTILINE)
        check(pages is not None and pages.group(1) == "1", f"pdfinfo: {info.stdout}")

    def printed_page(self):
        if not os.path.exists(self.print_file):
            return None
        result = subprocess.run(["pdftoppm", "-r", "30", "-f", "1", "-l", "1", self.print_file],
                                capture_output=True)
        return result.stdout if result.returncode == 0 and result.stdout else None


def steps(play):
    """The steps, each a (name, callable) pair, run in order on the PlayThrough play."""
    files = FileScreen(play)
    exports = Exports(play)
    play.program.add_environment("VPL3D_PRINT_FILE", exports.print_file)
    return [("ten sketches", files.step_ten_sketches), ("file screen", files.step_open),
            ("scroll the sketches", files.step_scroll), ("copy a sketch", files.step_copy),
            ("new sketchbook", files.step_new_sketchbook), ("move a sketch", files.step_move),
            ("trash a sketch", files.step_trash), ("back to creation", files.step_back),
            ("export a BMP", exports.step_bmp), ("export a JPEG", exports.step_jpeg),
            ("export a movie", exports.step_movie), ("print", exports.step_print)]
