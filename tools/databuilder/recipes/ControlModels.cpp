// The makers of the controls whose geometry the program reads: the colour
// wheel and the grey strip (vertex colours it changes), slider tracks
// (their ends are vertices 0 and 2), the pose arc, and plain balls and
// pedestals.

#include "tools/databuilder/BuildError.h"
#include "tools/databuilder/mesh/Lathe.h"
#include "tools/databuilder/mesh/Outline.h"
#include "tools/databuilder/mesh/RoundedBox.h"
#include "tools/databuilder/recipes/ModelKinds.h"
#include "tools/databuilder/recipes/ModelRecipes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace databuilder {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr int32_t kWheelSegments = 24;
constexpr int32_t kRotationZChannel = 6;
constexpr int32_t kTranslationZChannel = 21;

float Float(const Recipe& recipe, const char* key, double fallback) {
  return static_cast<float>(RecipeNumber(recipe, key, fallback));
}

Vertex FlatVertex(Vec3 p, Color color) {
  Vertex v;
  v.position = p;
  v.normal = {0, 0, 1};
  v.color = color;
  return v;
}

// Fully saturated hue h (0..1) as red, green and blue.
Color Hue(float h) {
  const auto channel = [h](float offset) {
    const float x = std::fmod(h * 6.0f + offset, 6.0f);
    return std::clamp(std::min(std::fabs(x - 3.0f) - 1.0f, 1.0f), 0.0f, 1.0f);
  };
  return {channel(0.0f), channel(4.0f), channel(2.0f), 1.0f};
}

MaterialSpec VertexColors() {
  MaterialSpec material;
  material.vertexColor = true;
  return material;
}

}  // namespace

// A hue ring round a white middle, drawn by its vertex colours; the middle
// is filled without a vertex at the wheel's centre. A clip lifts and spins
// it when a colour is picked.
void MakeWheel(const Recipe& recipe, const ModelContext&, ModelBuilder& builder) {
  const Vec3 centre = RecipePlace(recipe, {0, 0, 0});
  const float radius = Float(recipe, "size", 3.4) / 2;
  const float inner = radius * 0.18f;
  Mesh mesh;
  const Color white{1, 1, 1, 1};
  for (int32_t i = 0; i < kWheelSegments; ++i) {
    const float a = 2 * kPi * static_cast<float>(i) / kWheelSegments;
    const Vec3 d{std::cos(a), std::sin(a), 0};
    mesh.AddVertex(FlatVertex(centre + d * inner, white));
    mesh.AddVertex(FlatVertex(centre + d * radius, Hue(static_cast<float>(i) / kWheelSegments)));
  }
  for (uint32_t i = 0; i < kWheelSegments; ++i) {
    const uint32_t j = (i + 1) % kWheelSegments;
    mesh.AddTriangle(2 * i, 2 * i + 1, 2 * j + 1);
    mesh.AddTriangle(2 * i, 2 * j + 1, 2 * j);
  }
  for (uint32_t i = 1; i + 1 < kWheelSegments; ++i) mesh.AddTriangle(0, 2 * i, 2 * i + 2);
  CheckBudget(recipe, mesh, kInterfaceBudget);
  MM3DDisplayTreeNodeSRTTransform* node = builder.AddTransform(nullptr);
  builder.AddMesh({{std::move(mesh), VertexColors()}}, node);
  const MM3DVector pivot(centre.x, centre.y, centre.z, 1.0f);
  node->SetRotatePivot(pivot);
  // Still until 41 ms, lifted and turning slowly to 1042 ms, then two
  // whole turns that settle where it started by 2876 ms.
  builder.Animate(node, kRotationZChannel,
                  {{0.0f, 0.0f}, {0.041f, 0.0f}, {1.042f, 0.6f}, {2.876f, 4 * kPi}});
  builder.Animate(node, kTranslationZChannel,
                  {{0.0f, 0.0f}, {0.041f, 0.0f}, {1.042f, 0.4f}, {2.5f, 0.2f}, {2.876f, 0.0f}});
}

// A strip from the tool's colour (vertices 0 and 2, at one end) to white
// (vertices 1 and 3, at the other); the program recolours it.
void MakeStrip(const Recipe& recipe, const ModelContext&, ModelBuilder& builder) {
  const std::vector<double> size = RecipeNumbers(recipe, "size", 2);
  const Vec3 c = RecipePlace(recipe, {0, 0, 0});
  const float hw = static_cast<float>(size[0]) / 2, hh = static_cast<float>(size[1]) / 2;
  const Color start = RecipeColor(recipe, "color", "sun");
  const Color white{1, 1, 1, 1};
  Mesh mesh;
  mesh.AddVertex(FlatVertex(c + Vec3{-hw, hh, 0}, start));
  mesh.AddVertex(FlatVertex(c + Vec3{hw, hh, 0}, white));
  mesh.AddVertex(FlatVertex(c + Vec3{-hw, -hh, 0}, start));
  mesh.AddVertex(FlatVertex(c + Vec3{hw, -hh, 0}, white));
  mesh.AddTriangle(0, 2, 3);
  mesh.AddTriangle(0, 3, 1);
  builder.AddMesh({{std::move(mesh), VertexColors()}});
}

// A slider's track: one mesh, one block, its ends at vertices 0 and 2.
void MakeTrack(const Recipe& recipe, const ModelContext&, ModelBuilder& builder) {
  const std::vector<double> size = RecipeNumbers(recipe, "size", 2);
  const auto w = static_cast<float>(size[0]), h = static_cast<float>(size[1]);
  Mesh mesh = ExtrudeOutline(RoundedRectOutline(w, h, h / 2, 6), 0.3f, 0.1f, 2);
  mesh.Transform({1, 1, 1}, RecipePlace(recipe, {0, 0, -0.15f}));
  uint32_t left = 0, right = 0;
  for (uint32_t v = 0; v < mesh.mVertices.size(); ++v) {
    if (mesh.mVertices[v].position.x < mesh.mVertices[left].position.x) left = v;
    if (mesh.mVertices[v].position.x > mesh.mVertices[right].position.x) right = v;
  }
  mesh.SwapVertices(0, left);
  mesh.SwapVertices(2, right == 0 ? left : right);
  CheckBudget(recipe, mesh, kInterfaceBudget);
  builder.AddMesh({{std::move(mesh), RecipeMaterial(recipe, "color", "mist")}});
}

// A flat half ring right of the origin: the pose slider's path.
void MakeArc(const Recipe& recipe, const ModelContext&, ModelBuilder& builder) {
  const float radius = Float(recipe, "radius", 3.1);
  const float band = Float(recipe, "band", 0.45);
  // The band reaches this far past each end of the half circle, so that
  // a knob resting at an end lies on it whole.
  const float overrun = Float(recipe, "overrun", 0.0) / radius;
  Outline outline;
  constexpr int32_t kSteps = 24;
  const auto angle = [&](int32_t i) {
    return -kPi / 2 - overrun + (kPi + 2 * overrun) * static_cast<float>(i) / kSteps;
  };
  for (int32_t i = 0; i <= kSteps; ++i) {
    const float a = angle(i);
    outline.push_back({(radius + band / 2) * std::cos(a), (radius + band / 2) * std::sin(a)});
  }
  for (int32_t i = kSteps; i >= 0; --i) {
    const float a = angle(i);
    outline.push_back({(radius - band / 2) * std::cos(a), (radius - band / 2) * std::sin(a)});
  }
  Mesh mesh = ExtrudeOutline(RoundCorners(outline, band * 0.45f, 3), 0.25f, 0.08f, 2);
  mesh.Transform({1, 1, 1}, {0, 0, -0.125f});
  CheckBudget(recipe, mesh, kInterfaceBudget);
  builder.AddMesh({{std::move(mesh), RecipeMaterial(recipe, "color", "mist")}});
}

// A ball (the fill preview) or a low rounded drum (its pedestal), about
// the recipe's centre.
void MakeSolid(const Recipe& recipe, const ModelContext&, ModelBuilder& builder) {
  const std::string shape = RecipeString(recipe, "shape");
  const float size = Float(recipe, "size", 2.0);
  Mesh mesh;
  if (shape == "ball") {
    mesh = Sphere(size / 2, 24, 12);
  } else if (shape == "drum") {
    const float height = Float(recipe, "height", 0.6);
    mesh = RoundedCylinder(size / 2, height, height * 0.3f, 32);
    mesh.Transform({1, 1, 1}, {0, -height / 2, 0});
  } else {
    throw BuildError(recipe.mSource + ": recipe \"" + recipe.mName + "\": unknown solid \"" +
                     shape + "\"");
  }
  mesh.Transform({1, 1, 1}, RecipePlace(recipe, {0, 0, 0}));
  CheckBudget(recipe, mesh, kInterfaceBudget);
  MeshPart part{std::move(mesh), RecipeMaterial(recipe, "color", "cherry")};
  // A solid the program paints keeps its coordinates for the chosen texture.
  part.keepCoordinates = RecipeFlag(recipe, "paintable", false);
  builder.AddMesh({std::move(part)});
}

}  // namespace databuilder
