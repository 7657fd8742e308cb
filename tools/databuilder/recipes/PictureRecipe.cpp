#include "tools/databuilder/recipes/PictureRecipe.h"

#include "tools/databuilder/BuildError.h"
#include "tools/databuilder/paint/Noise.h"
#include "tools/databuilder/recipes/RecipeFolder.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace databuilder {

namespace {

constexpr double kOutlineWidth = 8.0;
constexpr double kDegrees = std::numbers::pi / 180.0;

struct ShapeReader {
  const toml::table& shape;
  std::string where;

  std::vector<double> Numbers(const char* key, size_t length) const {
    const toml::node* node = shape.get(key);
    if (node == nullptr) throw BuildError(where + ": a shape lacks " + key);
    return NumbersOf(*node, where + ": " + key, length);
  }
  double Number(const char* key, double fallback) const {
    return shape[key].value<double>().value_or(fallback);
  }
  std::vector<Point> Points(const char* key) const {
    const toml::array* array = shape[key].as_array();
    if (array == nullptr) throw BuildError(where + ": " + key + " must list points");
    std::vector<Point> points;
    for (const toml::node& node : *array) {
      const std::vector<double> xy = NumbersOf(node, where + ": " + key, 2);
      points.push_back({xy[0], xy[1]});
    }
    return points;
  }
  Style GetStyle(bool filled) const {
    Style style;
    if (filled && shape.contains("fill")) {
      style.fill = ColorNamed(shape["fill"].value_or(std::string()), where);
    }
    const std::string stroke = shape["stroke"].value_or(std::string("ink"));
    if (stroke != "none") style.stroke = ColorNamed(stroke, where);
    style.width = Number("width", kOutlineWidth);
    style.alpha = Number("alpha", 1.0);
    return style;
  }
};

std::vector<Point> StarPoints(Point c, double outer, double inner, int32_t points) {
  std::vector<Point> star;
  for (int32_t i = 0; i < points * 2; ++i) {
    const double a = -std::numbers::pi / 2 + std::numbers::pi * i / points;
    const double r = i % 2 == 0 ? outer : inner;
    star.push_back({c.x + r * std::cos(a), c.y + r * std::sin(a)});
  }
  return star;
}

std::vector<Point> HeartPoints(Point c, double size) {
  std::vector<Point> heart;
  for (int32_t i = 0; i < 48; ++i) {
    const double t = 2 * std::numbers::pi * i / 48;
    const double s = std::sin(t);
    const double x = 16 * s * s * s;
    const double y = 13 * std::cos(t) - 5 * std::cos(2 * t) - 2 * std::cos(3 * t) - std::cos(4 * t);
    heart.push_back({c.x + x * size / 34, c.y - (y + 2.5) * size / 34});
  }
  return heart;
}

int32_t NoiseKind(const std::string& name, const std::string& where) {
  if (name == "clouds") return 0;
  if (name == "wood") return 1;
  if (name == "marble") return 2;
  throw BuildError(where + ": unknown noise \"" + name + "\"");
}

// The shapes that cover the whole picture once, whatever the tiling.
bool DrawBackground(Canvas& canvas, const ShapeReader& r, Point size, uint32_t seed) {
  const toml::table& s = r.shape;
  if (s.contains("gradient")) {
    const toml::array* colors = s["gradient"].as_array();
    if (colors == nullptr || colors->size() != 2) {
      throw BuildError(r.where + ": gradient must name two colours");
    }
    canvas.VerticalGradient(0.0, size.y, ColorNamed((*colors)[0].value_or(std::string()), r.where),
                            ColorNamed((*colors)[1].value_or(std::string()), r.where));
    return true;
  }
  if (s.contains("noise")) {
    const toml::array* colors = s["colors"].as_array();
    if (colors == nullptr || colors->size() != 2) {
      throw BuildError(r.where + ": noise must name two colors");
    }
    const auto cells = static_cast<int32_t>(r.Number("cells", 8));
    const Noise noise(seed, cells);
    canvas.FillNoise(noise, NoiseKind(s["noise"].value_or(std::string()), r.where), cells,
                     ColorNamed((*colors)[0].value_or(std::string()), r.where),
                     ColorNamed((*colors)[1].value_or(std::string()), r.where));
    return true;
  }
  if (s.contains("fill") && s.size() == 1) {
    canvas.Fill(ColorNamed(s["fill"].value_or(std::string()), r.where));
    return true;
  }
  return false;
}

void DrawShape(Canvas& canvas, const ShapeReader& r) {
  const toml::table& s = r.shape;
  if (s.contains("circle")) {
    const std::vector<double> c = r.Numbers("circle", 2);
    const double radius = r.Number("radius", 10);
    canvas.Ellipse({c[0], c[1]}, radius, radius, r.GetStyle(true));
  } else if (s.contains("ellipse")) {
    const std::vector<double> c = r.Numbers("ellipse", 2), radii = r.Numbers("radii", 2);
    canvas.Ellipse({c[0], c[1]}, radii[0], radii[1], r.GetStyle(true));
  } else if (s.contains("rect")) {
    const std::vector<double> box = r.Numbers("rect", 4);
    canvas.RoundedRect({box[0], box[1]}, box[2], box[3], r.Number("radius", 0), r.GetStyle(true));
  } else if (s.contains("polygon")) {
    canvas.Path(r.Points("polygon"), true, r.GetStyle(true));
  } else if (s.contains("line")) {
    Style style = r.GetStyle(false);
    style.width = r.Number("width", kOutlineWidth * 1.5);
    canvas.Path(r.Points("line"), false, style);
  } else if (s.contains("arc")) {
    const std::vector<double> c = r.Numbers("arc", 2);
    Style style = r.GetStyle(false);
    style.width = r.Number("width", kOutlineWidth * 1.5);
    canvas.Arc({c[0], c[1]}, r.Number("radius", 10), r.Number("from", 0) * kDegrees,
               r.Number("to", 360) * kDegrees, style);
  } else if (s.contains("star")) {
    const std::vector<double> c = r.Numbers("star", 2);
    const double radius = r.Number("radius", 10);
    canvas.Path(StarPoints({c[0], c[1]}, radius, r.Number("inner", radius * 0.45),
                           static_cast<int32_t>(r.Number("points", 5))),
                true, r.GetStyle(true));
  } else if (s.contains("heart")) {
    const std::vector<double> c = r.Numbers("heart", 2);
    canvas.Path(HeartPoints({c[0], c[1]}, r.Number("size", 20)), true, r.GetStyle(true));
  } else {
    throw BuildError(r.where + ": a shape of no known kind");
  }
}

}  // namespace

Rgb ColorNamed(const std::string& name, const std::string& where) {
  const std::optional<Rgb> color = FindColor(name);
  if (!color) throw BuildError(where + ": unknown colour \"" + name + "\"");
  return *color;
}

void DrawShapes(Canvas& canvas, const toml::array& shapes, const std::string& where, Point size,
                bool tiled, uint32_t seed) {
  for (const toml::node& node : shapes) {
    const toml::table* shape = node.as_table();
    if (shape == nullptr) throw BuildError(where + ": a shape must be a table");
    const ShapeReader reader{*shape, where};
    if (DrawBackground(canvas, reader, size, seed)) continue;
    const int32_t reach = tiled ? 1 : 0;
    for (int32_t dy = -reach; dy <= reach; ++dy) {
      for (int32_t dx = -reach; dx <= reach; ++dx) {
        canvas.SetOffset(dx * size.x, dy * size.y);
        DrawShape(canvas, reader);
      }
    }
    canvas.SetOffset(0.0, 0.0);
  }
}

}  // namespace databuilder
