// The makers of the scenes' models: cameras, grounds, skies with their
// lights, motion paths, tube profiles, primitives and the freehand
// template.

#include "foundation/uu/UURefCount.h"
#include "mm3d/MM3DLightSources.h"
#include "tools/databuilder/BuildError.h"
#include "tools/databuilder/mesh/Lathe.h"
#include "tools/databuilder/mesh/Outline.h"
#include "tools/databuilder/mesh/RoundedBox.h"
#include "tools/databuilder/mesh/TextureMapping.h"
#include "tools/databuilder/recipes/ModelKinds.h"
#include "tools/databuilder/recipes/ModelRecipes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace databuilder {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
// Primitives: at most this long an edge, so the magnet bends them smoothly.
constexpr float kPrimitiveEdge = 0.25f;

float Float(const Recipe& recipe, const char* key, double fallback) {
  return static_cast<float>(RecipeNumber(recipe, key, fallback));
}

int32_t TextureOf(const Recipe& recipe, const ModelContext& context) {
  return context.sources.mManifest.Resolve(ItemKind::kTexture, RecipeString(recipe, "texture"));
}

UURefCount<MM3DLight> Directional(float intensity, Vec3 toward) {
  const Vec3 d = Normalize(toward);
  return UURefCount<MM3DLight>(new MM3DInfiniteLightSource(
      MM3DColor{1.0f, 1.0f, 1.0f, 1.0f}, intensity, MM3DVector(d.x, d.y, d.z, 0.0f)));
}

// Scales the mesh so its largest half-extent is the size about the origin.
void FitUnit(Mesh& mesh, float size) {
  const Bounds b = MeshBounds(mesh);
  const Vec3 centre = (b.low + b.high) * 0.5f;
  const Vec3 half = (b.high - b.low) * 0.5f;
  const float s = size / std::max({half.x, half.y, half.z});
  mesh.Transform({1, 1, 1}, centre * -1.0f);
  mesh.Transform({s, s, s}, {0, 0, 0});
}

// A bevelled slab of the outline whose sides and faces are split evenly;
// faces are filled by rings unless the centroid cannot see the whole
// outline (capRings 0).
Mesh EvenSlab(const Outline& outline, float depth, float bevel, int32_t capRings = 4) {
  const float step = kPrimitiveEdge * 0.9f;
  const auto wallSteps = std::max(1, static_cast<int32_t>(std::ceil((depth - 2 * bevel) / step)));
  return ExtrudeOutline(ResampleOutline(outline, step), depth, bevel, 2, capRings, wallSteps);
}

Mesh PrimitiveShape(const Recipe& recipe, const std::string& shape) {
  if (shape == "cube") return RoundedBox({2.0f, 2.0f, 2.0f}, 0.25f, 1, kPrimitiveEdge);
  if (shape == "ball") return Sphere(1.0f, 28, 14, true);
  if (shape == "cylinder") return RoundedCylinder(1.0f, 2.0f, 0.2f, 28, true);
  if (shape == "cone") return RoundedCone(1.0f, 2.0f, 0.15f, 28, true);
  if (shape == "ring") return Torus(0.7f, 0.3f, 28, 10);
  if (shape == "pyramid") return RoundedCone(1.0f, 1.8f, 0.12f, 4);
  if (shape == "star")
    return EvenSlab(RoundCorners(StarOutline(5, 1.0f, 0.5f), 0.12f, 2), 0.8f, 0.12f);
  if (shape == "heart") return EvenSlab(HeartOutline(24), 0.55f, 0.1f);
  if (shape == "arch") {
    Outline arch{{-1, -1}, {-0.5f, -1}};
    for (int32_t i = 0; i <= 8; ++i) {
      const float a = kPi - kPi * static_cast<float>(i) / 8;
      arch.push_back({0.5f * std::cos(a), 0.5f * std::sin(a) - 0.2f});
    }
    arch.insert(arch.end(), {{0.5f, -1}, {1, -1}, {1, 0.4f}, {0, 1}, {-1, 0.4f}});
    // One band of wall between the rims keeps it inside the budget at full
    // size; its faces are ear-clipped, since nothing inside sees its whole
    // rim.
    return EvenSlab(RoundCorners(arch, 0.12f, 2), 0.46f, 0.12f, 0);
  }
  if (shape == "house") {
    return EvenSlab(
        RoundCorners({{-0.9f, -1}, {0.9f, -1}, {0.9f, 0.2f}, {0, 1}, {-0.9f, 0.2f}}, 0.12f, 2),
        0.8f, 0.12f);
  }
  if (shape == "flower") {
    Outline petals;
    for (int32_t i = 0; i < 35; ++i) {
      const float a = 2 * kPi * static_cast<float>(i) / 35;
      const float r = 0.75f + 0.25f * std::cos(5 * a);
      petals.push_back({r * std::cos(a + kPi / 2), r * std::sin(a + kPi / 2)});
    }
    return EvenSlab(petals, 0.6f, 0.12f);
  }
  if (shape == "tree") {
    Mesh tree = RoundedCone(0.9f, 1.5f, 0.1f, 24, true);
    tree.Transform({1, 1, 1}, {0, -0.4f, 0});
    Mesh trunk = RoundedCylinder(0.3f, 0.7f, 0.08f, 16, true);
    trunk.Transform({1, 1, 1}, {0, -1.0f, 0});
    tree.Append(trunk);
    return tree;
  }
  if (shape == "cloud") {
    Mesh cloud = Sphere(0.6f, 20, 10, true);
    for (const Vec3 at : {Vec3{-0.6f, -0.15f, 0}, Vec3{0.6f, -0.15f, 0}}) {
      Mesh puff = Sphere(0.45f, 16, 8, true);
      puff.Transform({1, 1, 1}, at);
      cloud.Append(puff);
    }
    return cloud;
  }
  if (shape == "wedge") {
    return EvenSlab(RoundCorners({{-1, -1}, {1, -1}, {-1, 1}}, 0.15f, 2), 1.2f, 0.12f);
  }
  throw BuildError(recipe.mSource + ": recipe \"" + recipe.mName + "\": unknown primitive \"" +
                   shape + "\"");
}

}  // namespace

void MakeCamera(const Recipe& recipe, const ModelContext&, ModelBuilder& builder) {
  builder.AddCamera(RecipeVec3(recipe, "eye", {}), RecipeVec3(recipe, "interest", {0, 0, -1}));
}

void MakeGround(const Recipe& recipe, const ModelContext& context, ModelBuilder& builder) {
  const float radius = Float(recipe, "radius", 200.0);
  const float skirt = Float(recipe, "skirt", 8.0);
  Profile profile;
  profile.Add({radius + skirt, -skirt}, {0.5f, 1.0f});
  profile.Add({radius, 0.0f}, {0.0f, 1.0f});
  for (int32_t ring = 1; ring <= 8; ++ring) {
    profile.Add({radius * (1.0f - static_cast<float>(ring) / 8.0f), 0.0f}, {0.0f, 1.0f});
  }
  Mesh mesh = Lathe(profile, 48);
  mesh.Transform({1, 1, 1}, RecipeVec3(recipe, "centre", {0, 0, -30}));
  MapTiled(mesh, Float(recipe, "tile", 8.0));
  CheckBudget(recipe, mesh, kBackdropBudget);
  MaterialSpec material = RecipeMaterial(recipe, "color", "cloud");
  material.texture = TextureOf(recipe, context);
  material.specular = 0.1f;
  builder.AddMesh({{std::move(mesh), material}});
}

// An inward sphere, the picture on its dome down to the rim and the
// picture's lowest colour on the bowl below, so that a view without the
// ground or from high above finds no hole; with the scene's light rig: a
// key light from the upper left front, a weaker fill from the right, and
// ambient light.
void MakeSky(const Recipe& recipe, const ModelContext& context, ModelBuilder& builder) {
  const float radius = Float(recipe, "radius", 215.0);
  const Vec3 centre = RecipeVec3(recipe, "centre", {0, 0, -30});
  // Low enough that the picture fills the file screen's level view too.
  const float rim = Float(recipe, "rim", -150.0);
  const float rimAngle = std::asin((rim - centre.y) / radius);
  Profile dome;
  dome.AddArc({0, 0}, radius, rimAngle, kPi / 2, 16);
  // The picture tiles, so its last row is kept short of its edge, where
  // the first row would blend in.
  constexpr float kLowestRow = 0.99f;
  Mesh mesh = Lathe(dome, 40);
  for (Vertex& v : mesh.mVertices) v.uv.y = (1.0f - v.uv.y) * kLowestRow;
  Profile bowl;
  bowl.AddArc({0, 0}, radius, -kPi / 2, rimAngle, 6);
  Mesh below = Lathe(bowl, 40);
  for (Vertex& v : below.mVertices) v.uv.y = kLowestRow;
  mesh.Append(below);
  mesh.Flip();
  mesh.Transform({1, 1, 1}, centre);
  CheckBudget(recipe, mesh, kBackdropBudget);
  MaterialSpec material;
  material.unlit = true;
  material.texture = TextureOf(recipe, context);
  builder.AddMesh({{std::move(mesh), material}});
  AddLightRig(recipe, builder);
}

void AddLightRig(const Recipe& recipe, ModelBuilder& builder) {
  builder.AddLight(Directional(Float(recipe, "key", 0.8), {-0.6f, 0.8f, 0.7f}));
  builder.AddLight(Directional(Float(recipe, "fill", 0.35), {1.0f, 0.1f, 0.4f}));
  builder.AddLight(UURefCount<MM3DLight>(new MM3DAmbientLightSource(
      MM3DColor{1.0f, 1.0f, 1.0f, 1.0f}, Float(recipe, "ambient", 0.55))));
}

// A closed loop in the ground plane; reverse runs it the other way.
void MakePath(const Recipe& recipe, const ModelContext&, ModelBuilder& builder) {
  const std::string shape = RecipeString(recipe, "shape");
  const float half = Float(recipe, "across", 12.0) / 2;
  const bool reverse = RecipeFlag(recipe, "reverse", false);
  std::vector<Vec3> points;
  constexpr int32_t kSteps = 48;
  for (int32_t i = 0; i < kSteps; ++i) {
    float t = 2 * kPi * static_cast<float>(i) / kSteps;
    if (reverse) t = -t;
    Vec3 p{half * std::sin(t), 0.0f, half - half * std::cos(t)};
    if (shape == "hop") p.y = std::fabs(std::sin(t * 3)) * half * 0.4f;
    if (shape == "eight") p = {half * std::sin(t), 0.0f, half * std::sin(t) * std::cos(t)};
    if (shape == "zigzag") {
      const float along = std::sin(t) * half;
      p = {along, 0.0f, std::asin(std::sin(t * 6)) / (kPi / 2) * half * 0.3f};
    }
    points.push_back(p);
  }
  if (shape != "circle" && shape != "hop" && shape != "eight" && shape != "zigzag") {
    throw BuildError(recipe.mSource + ": recipe \"" + recipe.mName + "\": unknown path \"" + shape +
                     "\"");
  }
  builder.AddPath(points, true);
}

// A flat cross-section whose rim is the tube's outline. The tube tool
// turns the profile's x axis along the stroke, so the section stands in
// the yz plane: drawn width across y, depth along z.
void MakeProfile(const Recipe& recipe, const ModelContext&, ModelBuilder& builder) {
  const std::string shape = RecipeString(recipe, "shape");
  const float half = Float(recipe, "width", 1.0) / 2;
  Outline outline;
  if (shape == "round") outline = CircleOutline(half, 16);
  if (shape == "square") outline = RoundedRectOutline(half * 2, half * 2, half * 0.3f, 2);
  if (shape == "star") outline = RoundCorners(StarOutline(5, half, half * 0.5f), half * 0.1f, 1);
  if (outline.empty()) {
    throw BuildError(recipe.mSource + ": recipe \"" + recipe.mName + "\": unknown profile \"" +
                     shape + "\"");
  }
  // Sized by its width across, whatever its shape.
  float low = outline[0].x, high = outline[0].x;
  for (Vec2 p : outline) {
    low = std::min(low, p.x);
    high = std::max(high, p.x);
  }
  for (Vec2& p : outline) p = p * (2 * half / (high - low));
  // Filled facing back, then a quarter turn about y and about x: (x, y, 0)
  // becomes (0, x, y), facing -x. The tool walks the rim the way the
  // triangles wind and turns x along the stroke, so this winding puts the
  // tube's sides and cones outward.
  Mesh mesh = FillOutline(outline, 0.0f, true);
  MapPlanar(mesh, {});
  mesh.Rotate(kPi / 2, kPi / 2);
  MaterialSpec material = RecipeMaterial(recipe, "color", "cherry");
  mesh.SetColor(material.color);
  builder.AddMesh({{std::move(mesh), material, true, true}});
}

void MakePrimitive(const Recipe& recipe, const ModelContext&, ModelBuilder& builder) {
  Mesh mesh = PrimitiveShape(recipe, RecipeString(recipe, "shape"));
  FitUnit(mesh, Float(recipe, "size", 1.0));
  mesh.RefineEdges(kPrimitiveEdge);
  // Slivers where a narrow tip meets the axis shade nothing but noise.
  mesh.DropDegenerate(1e-5f);
  // Shapes of few sides shade by their faces' own normals.
  if (RecipeString(recipe, "normals", "exact") == "smooth") mesh.SetSmoothNormals();
  MapBox(mesh);
  mesh.Weld();
  CheckBudget(recipe, mesh, kPrimitiveBudget);
  builder.AddMesh({{std::move(mesh), RecipeMaterial(recipe, "color", "cherry"), false, true}});
}

// What a freehand shape copies its vertex layout and material from: every
// array is present.
void MakeTemplate(const Recipe& recipe, const ModelContext&, ModelBuilder& builder) {
  Mesh mesh = Sphere(Float(recipe, "radius", 1.0), 16, 8);
  MaterialSpec material = RecipeMaterial(recipe, "color", "cherry");
  mesh.SetColor(material.color);
  MapCylindrical(mesh);
  builder.AddMesh({{std::move(mesh), material, true, true}});
}

}  // namespace databuilder
