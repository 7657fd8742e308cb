"""The program against kills, damaged files, a full disk and missing data, and what
it measures: start times, frame rate, idle load and memory."""


def steps(play):
    """The steps, each a (name, callable) pair, run in order on the PlayThrough play."""
    return []
