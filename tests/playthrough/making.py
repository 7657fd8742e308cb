"""Making things on the creation screen: shapes, freehand, tubes, paint, motions, groups,
the magnet, paths and Pomble."""


def steps(play):
    """The steps, each a (name, callable) pair, run in order on the PlayThrough play."""
    return []
