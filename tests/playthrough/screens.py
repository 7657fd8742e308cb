"""Every screen a child meets, pictured and looked over: the option panels of
the palette's tools, the dialogs, a notice, the quit question and its credits,
and the file screen. Each picture is kept, and none may be blank: its place
holds several colours, no one colour covers nearly all of it, and it differs
from what was there before it showed."""

import os
import time
from collections import Counter

import files_and_exports
import making
from files_and_exports import DIALOG_OK, EXPORT_BUTTON, PRINT_BUTTON, SCREEN, shows_green
from xsupport import QUIT_BUTTON, QUIT_YES, Screenshot, StepFailed, wait_until

# The tools' option panel, in window pixels: the white field under the tools.
OPTIONS_PANEL = (14, 210, 146, 276)
# The tools and the names of their panels' pictures; the primitive tool
# comes last, so that the play-through goes on with it.
TOOLS = [("options-select", making.SELECT_TOOL), ("options-freehand", making.FREEHAND_TOOL),
         ("options-tube", making.DRAW_TOOL), ("options-fill", making.FILL_TOOL),
         ("options-magnet", making.MAGNET_TOOL), ("options-pomble", making.POMBLE_TOOL),
         ("options-shapes", making.PRIMITIVE_TOOL)]
# The dialogs' backdrops (centre and size in units): the preferences, print
# and export dialogs are large, the questions and notices small.
LARGE_DIALOG = ((4.2, 0.5), (18.0, 13.0))
SMALL_DIALOG = ((4.2, 0.5), (16.0, 11.0))
DIALOG_CANCEL = (6.7, -4.9)
QUIT_NO, QUIT_CREDITS = (4.2, -3.4), (8.2, -3.4)
NOTICE_OK = (4.2, -3.4)
PREFERENCES_KEY = "ctrl+space"
# What a picture that is not blank shows in its place: at least this many
# colours (to 16 levels a channel) each on a share of it, none on more than
# the flat share, and a changed share against the picture before it.
SEVERAL_COLOURS, COLOUR_SHARE, FLAT_SHARE, CHANGED_SHARE = 4, 0.001, 0.97, 0.05
# A credit shows in the upper part of the question's dialog.
CREDIT_SHARE = 0.4
# The intro's title: Pomble's pink under the golden banner, each on a share of the window.
POMBLE_PINK, BANNER_GOLD = 0.015, 0.05
SETTLE_S = 0.4
# The creation area takes no press for a moment after a dialog closes.
AFTER_DIALOG_S = 0.8


def blank_because(shot, before, area):
    """Why the area of the picture looks blank, or None when it does not."""
    colours = files_and_exports.colours_in(shot, area)
    counts = Counter(colours)
    commonest = counts.most_common(1)[0][1] / len(colours)
    several = sum(count >= COLOUR_SHARE * len(colours) for count in counts.values())
    changed = making.changed_share(before, shot, area)
    if commonest > FLAT_SHARE:
        return f"one colour covers {commonest:.0%} of it"
    if several < SEVERAL_COLOURS:
        return f"it shows {several} colours"
    if changed < CHANGED_SHARE:
        return f"{changed:.0%} of it differs from the picture before"
    return None


def dialog_area(dialog):
    """The middle of a dialog's backdrop, in screen pixels."""
    spot, size = dialog
    return files_and_exports.spot_rectangle(spot, size, 0.9)


def credit_area(dialog):
    """The part of the dialog a credit shows in, in screen pixels."""
    spot, size = dialog
    left, top, width, height = files_and_exports.spot_rectangle(spot, size, 0.98)
    return left, top, width, round(height * CREDIT_SHARE)


def intro_with_pomble(window):
    """A picture of the intro's title, Pomble under the banner that has come
    down whole into the window; None before it."""
    shot = Screenshot()
    left, top, width, height = window
    points = [(x, y) for y in range(top, top + height, 6) for x in range(left, left + width, 6)]
    pink = sum(is_pink(*shot.pixel(x, y)) for x, y in points)
    gold = sum(is_gold(*shot.pixel(x, y)) for x, y in points)
    cut = any(is_gold(*shot.pixel(x, top + 2)) for x in range(left, left + width, 6))
    shown = pink > POMBLE_PINK * len(points) and gold > BANNER_GOLD * len(points)
    return shot if shown and not cut else None


def is_pink(red, green, blue):
    return red > 190 and green < 130 and blue > 120


def is_gold(red, green, blue):
    return red > 190 and 130 < green < 200 and blue < 80


class Screens:
    def __init__(self, play):
        self.play = play
        self.program = play.program

    def rest(self):
        self.program.move(*making.REST)

    def pictured(self, name, before, area, seconds=15):
        """Waits until the area is not blank against the picture before, keeps
        the picture a moment later (once it has settled) and answers it."""
        reasons = []

        def shown():
            reasons.append(blank_because(Screenshot(), before, area))
            return reasons[-1] is None
        try:
            wait_until(name, shown, seconds)
        except StepFailed:
            raise StepFailed(f"{name} looks blank: {reasons[-1]}") from None
        time.sleep(SETTLE_S)
        shot = Screenshot()
        reason = blank_because(shot, before, area)
        if reason is not None:
            raise StepFailed(f"{name} looks blank once settled: {reason}")
        self.play.keep(shot, name)
        return shot

    def gone(self, what, before, area):
        """Waits until the area is back to the picture before, and until the
        creation area takes presses again."""
        wait_until(what, lambda: making.changed_share(before, Screenshot(), area) < CHANGED_SHARE)
        time.sleep(AFTER_DIALOG_S)

    def resting(self):
        """The creation screen with the pointer at rest."""
        self.rest()
        time.sleep(0.3)
        return Screenshot()

    def opened(self, name, open_dialog, dialog, before=None):
        """The dialog opened over the resting creation screen (or the picture
        before), pictured; the picture before it and the dialog's area."""
        before = before or self.resting()
        open_dialog()
        self.rest()
        area = dialog_area(dialog)
        return before, area, self.pictured(name, before, area)

    def step_option_panels(self):
        """Each tool's options, each unlike the ones before it."""
        self.rest()
        before = Screenshot()
        for name, spot in TOOLS:
            self.program.click(spot)
            self.rest()
            before = self.pictured(name, before, OPTIONS_PANEL)

    def step_dialogs(self):
        """The preferences, print and export dialogs, each closed with its cancel."""
        for name, open_dialog in [("preferences", lambda: self.program.key(PREFERENCES_KEY)),
                                  ("print-dialog", lambda: self.program.click(PRINT_BUTTON)),
                                  ("export-dialog", lambda: self.program.click(EXPORT_BUTTON))]:
            before, area, _ = self.opened(name, open_dialog, LARGE_DIALOG)
            self.program.click(DIALOG_CANCEL)
            self.rest()
            self.gone(f"the {name} closed", before, area)

    def step_notice(self):
        """An export that cannot be written (a file stands where the Exports
        folder was) ends in the notice that it did not work."""
        exports = self.play.path("Exports")
        kept = exports + ".kept"
        os.rename(exports, kept)
        try:
            with open(exports, "w") as stand_in:
                stand_in.write("not a folder")
            creation = self.resting()
            self.program.click(EXPORT_BUTTON)
            wait_until("the export dialog", lambda: shows_green(Screenshot(), DIALOG_OK))
            before, area, shot = self.opened("notice", lambda: self.program.click(DIALOG_OK),
                                             SMALL_DIALOG, creation)
            if not shows_green(shot, NOTICE_OK):
                raise StepFailed("the notice shows no OK button")
            self.program.click(NOTICE_OK)
            self.rest()
            self.gone("the notice closed", before, area)
        finally:
            os.remove(exports)
            os.rename(kept, exports)

    def step_question_and_credits(self):
        """The quit question, its credits over it, a key back to the question,
        and no."""
        before, area, question = self.opened("question", lambda: self.program.click(QUIT_BUTTON),
                                             SMALL_DIALOG)
        self.program.click(QUIT_CREDITS)
        self.rest()
        self.pictured("credits", question, credit_area(SMALL_DIALOG))
        self.program.key("Escape")
        wait_until("the question again", lambda: shows_green(Screenshot(), QUIT_YES))
        self.program.click(QUIT_NO)
        self.rest()
        self.gone("the question closed", before, area)

    def step_file_screen(self):
        """The file screen's picture the file steps kept, against the creation screen."""
        reason = blank_because(self.play.kept["file-screen"], self.play.kept["creation-screen"],
                               SCREEN)
        if reason is not None:
            raise StepFailed(f"the file screen looks blank: {reason}")


def steps(play):
    """The steps, each a (name, callable) pair, run in order on the PlayThrough play
    once the file steps are done."""
    screens = Screens(play)
    return [("option panels", screens.step_option_panels), ("dialogs", screens.step_dialogs),
            ("a notice", screens.step_notice),
            ("question and credits", screens.step_question_and_credits),
            ("file screen's picture", screens.step_file_screen)]
