#pragma once
// Pictures described in a recipe: a list of shapes drawn in order, each an
// inline table naming its kind and its places in picture units, with a
// fill colour and an ink outline (8 units wide unless it says otherwise;
// stroke = "none" leaves it out):
//   { circle = [x, y], radius = r }         { ellipse = [x, y], radii = [rx, ry] }
//   { rect = [x, y, w, h], radius = r }     { polygon = [[x, y], ...] }
//   { line = [[x, y], ...], width = w }     { arc = [x, y], radius = r, from = deg, to = deg }
//   { star = [x, y], radius = r, inner = r2, points = n }
//   { heart = [x, y], size = s }            { gradient = [top, bottom] }
//   { noise = "clouds" | "wood" | "marble", colors = [low, high], cells = n }
//   { fill = colour }                       (the whole picture)

#include "tools/databuilder/paint/Canvas.h"

#include <toml++/toml.h>

#include <string>

namespace databuilder {

// Draws the shapes; where names the recipe in messages. Tiled pictures
// draw every shape once more a picture's width and height away on each
// side, so what crosses an edge comes back on the other.
// size: the picture's sides in its own units (a cell of an atlas is 128).
void DrawShapes(Canvas& canvas, const toml::array& shapes, const std::string& where, Point size,
                bool tiled, uint32_t seed);

// A named colour, or BuildError naming where it was asked for.
Rgb ColorNamed(const std::string& name, const std::string& where);

}  // namespace databuilder
