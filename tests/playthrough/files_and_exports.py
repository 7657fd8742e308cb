"""The file screen and its sketchbooks, the exports and printing."""


def steps(play):
    """The steps, each a (name, callable) pair, run in order on the PlayThrough play."""
    return []
