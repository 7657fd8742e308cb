// The makers of the interface's models: slab buttons (boxes, discs and
// pills) with a picture sticker from an atlas cell, and flat cursors.

#include "tools/databuilder/BuildError.h"
#include "tools/databuilder/mesh/Outline.h"
#include "tools/databuilder/mesh/RoundedBox.h"
#include "tools/databuilder/mesh/TextureMapping.h"
#include "tools/databuilder/recipes/ModelKinds.h"
#include "tools/databuilder/recipes/ModelRecipes.h"
#include "tools/databuilder/recipes/TextureRecipes.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace databuilder {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;
// Bevels round off this share of a slab's smaller side.
constexpr float kBevelShare = 0.16f;
// The sticker floats this far in front of the slab's face: clear of it in
// the depth buffer of the file screen's deep view (near plane 1).
constexpr float kStickerLift = 0.08f;
constexpr float kPanelLift = 0.3f;
// A coloured button's rim: its share of the face's smaller side, and how
// far the ink and the glow over it stand in front of the face.
constexpr float kRimShare = 0.12f;
constexpr float kRimLift = 0.03f;
constexpr float kGlowLift = 0.05f;
// The light baked into a coloured button's own colours: a key from the
// upper left front (world +x shows on the left), as the backdrop's rig.
constexpr Vec3 kBakedLight{0.4f, 0.5f, 0.75f};
constexpr float kBakedAmbient = 0.62f;
constexpr float kBakedDiffuse = 0.45f;
// Cursors lie flat, from their back to their front, facing the viewer.
constexpr float kCursorBack = -0.06f;
constexpr float kCursorFront = -0.01f;
constexpr float kCursorRim = 0.07f;

float Float(const Recipe& recipe, const char* key, double fallback) {
  return static_cast<float>(RecipeNumber(recipe, key, fallback));
}

Outline ShapeOutline(const std::string& shape, float w, float h, const Recipe& recipe) {
  if (shape == "round") return CircleOutline(std::min(w, h) / 2, 40);
  if (shape == "pill") return RoundedRectOutline(w, h, std::min(w, h) / 2, 8);
  if (shape == "box") return RoundedRectOutline(w, h, std::min(w, h) * 0.25f, 6);
  throw BuildError(recipe.mSource + ": recipe \"" + recipe.mName + "\": unknown shape \"" + shape +
                   "\"");
}

// The slab about the origin, front face at z depth / 2.
Mesh Slab(const std::string& shape, float w, float h, float depth, const Recipe& recipe) {
  const float bevel = std::min(std::min(w, h) * kBevelShare, depth * 0.45f);
  if (shape == "box") return RoundedBox({w, h, depth}, bevel, 3, 4.0f);
  Mesh mesh = ExtrudeOutline(ShapeOutline(shape, w, h, recipe), depth, bevel, 3);
  mesh.Transform({1, 1, 1}, {0, 0, -depth / 2});
  return mesh;
}

// The picture: a square (or round) sticker on the slab's face showing one
// cell of an atlas.
MeshPart Sticker(const Recipe& recipe, const ModelContext& context, const std::string& shape,
                 Vec2 size, float z) {
  const toml::array* picture = recipe.mTable["picture"].as_array();
  const size_t count = picture != nullptr ? picture->size() : 0;
  const std::optional<std::string> atlas =
      count == 1 || count == 2 ? (*picture)[0].value<std::string>() : std::nullopt;
  // A whole texture, or one cell of an atlas.
  const std::optional<int64_t> cell =
      count == 2 ? (*picture)[1].value<int64_t>() : std::optional<int64_t>(-1);
  if (!atlas || !cell || *cell < -1 || *cell >= kAtlasCells * kAtlasCells) {
    throw BuildError(recipe.mSource + ": recipe \"" + recipe.mName +
                     "\": picture must be [texture] or [atlas, cell 0-63]");
  }
  // A cell is square; a whole texture takes the slab's own proportions.
  const float side = std::min(size.x, size.y);
  const Vec2 sides = *cell < 0 ? size : Vec2{side, side};
  const Outline outline = shape == "round" ? CircleOutline(side / 2, 32)
                                           : RoundedRectOutline(sides.x, sides.y, side * 0.2f, 5);
  MeshPart part{FillOutline(outline, z), MaterialSpec{}};
  MapPlanar(part.mesh, *cell < 0
                           ? TextureRect{}
                           : AtlasCell(static_cast<int32_t>(*cell), kAtlasCells, kAtlasCells));
  part.material.texture = context.sources.mManifest.Resolve(ItemKind::kTexture, *atlas);
  part.material.clampTexture = true;
  part.material.specularPower = 40.0f;
  return part;
}

// The part keeps its own colours whatever the program sets on the
// model's coloured materials: the light is baked into its vertices.
void KeepOwnColors(MeshPart& part) {
  const Color base = part.material.color;
  for (Vertex& v : part.mesh.mVertices) {
    const float lit = std::max(0.0f, Dot(Normalize(v.normal), Normalize(kBakedLight)));
    const float shade = std::min(1.0f, kBakedAmbient + kBakedDiffuse * lit);
    v.color = {base.r * shade, base.g * shade, base.b * shade, 1.0f};
  }
  part.material.vertexColor = true;
}

// A flat band along the outline's inside, width wide, at height z.
Mesh Band(const Outline& outline, float width, float z) {
  const Outline inner = InsetOutline(outline, width);
  Mesh mesh;
  const auto n = static_cast<uint32_t>(outline.size());
  for (const Outline* ring : {&outline, &inner}) {
    for (Vec2 p : *ring) mesh.AddVertex({{p.x, p.y, z}, {0, 0, 1}, {}, {}});
  }
  for (uint32_t i = 0; i < n; ++i) {
    const uint32_t j = (i + 1) % n;
    mesh.AddTriangle(i, j, n + j);
    mesh.AddTriangle(i, n + j, n + i);
  }
  return mesh;
}

// The rim of a button the program colours (plain black, chosen red, an
// orange glow under the pointer): an ink band on the face, and over it a
// glow of the same band that adds the program's colour, so black leaves
// the ink showing and red turns it red.
void AddColoredRim(const Recipe& recipe, const std::string& shape, float w, float h, float front,
                   std::vector<MeshPart>& parts) {
  const Outline outline = ShapeOutline(shape, w, h, recipe);
  const float width = std::min(w, h) * kRimShare;
  MeshPart ink{Band(outline, width, front + kRimLift), RecipeMaterial(recipe, "rim", "ink")};
  KeepOwnColors(ink);
  MaterialSpec glow;
  glow.color = {0.0f, 0.0f, 0.0f, 1.0f};
  glow.specular = 0.0f;
  glow.additive = true;
  parts.push_back(std::move(ink));
  parts.push_back({Band(outline, width, front + kGlowLift), glow});
}

// A sketch's picture leaving its cell to fill the view and coming back:
// on its cell at 5000 ms, filling the view (38 x 28.5 at z -42) from 5666
// to 6666 ms, on its cell again at 7333 ms.
void AnimateTransition(ModelBuilder& builder, MM3DDisplayTreeNodeSRTTransform* node, Vec3 cell,
                       float w, float h) {
  constexpr int32_t kScaleX = 13, kScaleY = 14, kMoveX = 19, kMoveY = 20, kMoveZ = 21;
  constexpr float kTimes[] = {5.0f, 5.666f, 6.666f, 7.333f};
  const MM3DVector pivot(cell.x, cell.y, cell.z, 1.0f);
  node->SetScalePivot(pivot);
  const auto keys = [&](float away) {
    return std::vector<CurveKey>{
        {kTimes[0], 0.0f}, {kTimes[1], away}, {kTimes[2], away}, {kTimes[3], 0.0f}};
  };
  const auto scales = [&](float full) {
    return std::vector<CurveKey>{
        {kTimes[0], 1.0f}, {kTimes[1], full}, {kTimes[2], full}, {kTimes[3], 1.0f}};
  };
  builder.Animate(node, kScaleX, scales(38.0f / w));
  builder.Animate(node, kScaleY, scales(28.5f / h));
  builder.Animate(node, kMoveX, keys(-cell.x));
  builder.Animate(node, kMoveY, keys(-cell.y));
  builder.Animate(node, kMoveZ, keys(-42.0f - cell.z));
}

}  // namespace

void MakeButton(const Recipe& recipe, const ModelContext& context, ModelBuilder& builder) {
  const std::vector<double> size = RecipeNumbers(recipe, "size", 2);
  const auto w = static_cast<float>(size[0]), h = static_cast<float>(size[1]);
  const float depth = Float(recipe, "depth", 0.6);
  const std::string shape = RecipeString(recipe, "shape", "box");
  std::vector<MeshPart> parts;
  parts.push_back({Slab(shape, w, h, depth, recipe), RecipeMaterial(recipe, "color", "cream")});
  if (recipe.mTable.contains("picture")) {
    const float share = Float(recipe, "picture_size", 0.78);
    parts.push_back(Sticker(recipe, context, shape, Vec2{w, h} * share, depth / 2 + kStickerLift));
    // The program paints the first part of a model: a cell that shows a
    // chosen texture takes it on its picture.
    if (RecipeFlag(recipe, "paintable", false)) std::swap(parts.front(), parts.back());
  }
  // A button the program colours keeps its face and picture as they are
  // and shows the colour on its rim.
  if (RecipeFlag(recipe, "colored_rim", false)) {
    for (MeshPart& part : parts) KeepOwnColors(part);
    AddColoredRim(recipe, shape, w, h, depth / 2, parts);
  }
  const bool back = RecipeString(recipe, "facing", "front") == "back";
  const Vec3 centre = RecipePlace(recipe, {0, 0, 0});
  Mesh all;
  for (MeshPart& part : parts) {
    // Pad bases face -z: the program turns them about y by a half turn.
    if (back) part.mesh.Rotate(kPi, 0.0f);
    part.mesh.Transform({1, 1, 1}, centre);
    all.Append(part.mesh);
  }
  CheckBudget(recipe, all, kInterfaceBudget);
  MM3DDisplayTreeNodeSRTTransform* node = builder.AddTransform(nullptr);
  builder.AddMesh(std::move(parts), node);
  ApplyScheme(recipe, context, builder, node, centre);
  // Models shown where no backdrop lights them (the credits) bring the rig.
  if (RecipeFlag(recipe, "lights", false)) AddLightRig(recipe, builder);
}

// A flat quad facing the viewer whose coordinates cover the whole
// texture, v 0 at the top: the program draws texts into such panels.
void MakePanel(const Recipe& recipe, const ModelContext& context, ModelBuilder& builder) {
  const std::vector<double> size = RecipeNumbers(recipe, "size", 2);
  const auto w = static_cast<float>(size[0]), h = static_cast<float>(size[1]);
  Mesh mesh = FillOutline({{-w / 2, -h / 2}, {w / 2, -h / 2}, {w / 2, h / 2}, {-w / 2, h / 2}}, 0);
  MapPlanar(mesh, {});
  // A panel stands where a slab placed at the same spot shows its face.
  const Vec3 centre = RecipePlace(recipe, {0, 0, 0}) + Vec3{0, 0, kPanelLift};
  mesh.Transform({1, 1, 1}, centre);
  MaterialSpec material;
  material.texture =
      context.sources.mManifest.Resolve(ItemKind::kTexture, RecipeString(recipe, "texture"));
  material.clampTexture = true;
  MM3DDisplayTreeNodeSRTTransform* node = builder.AddTransform(nullptr);
  builder.AddMesh({{std::move(mesh), material}}, node);
  if (RecipeFlag(recipe, "transition", false)) {
    AnimateTransition(builder, node, centre, w, h);
  }
}

// A flat pointer: the hotspot at the origin, the shape toward +x and -y,
// a coloured body on a slightly larger ink rim.
void MakeCursor(const Recipe& recipe, const ModelContext&, ModelBuilder& builder) {
  const toml::array* points = recipe.mTable["outline"].as_array();
  if (points == nullptr) throw BuildError(recipe.mSource + ": " + recipe.mName + " lacks outline");
  Outline outline;
  for (const toml::node& node : *points) {
    const std::vector<double> xy = NumbersOf(node, recipe.mSource + ": " + recipe.mName, 2);
    outline.push_back({static_cast<float>(xy[0]), static_cast<float>(xy[1])});
  }
  if (OutlineArea(outline) < 0.0f) std::reverse(outline.begin(), outline.end());
  outline = RoundCorners(outline, Float(recipe, "round", 0.08), 3);
  const float middle = (kCursorBack + kCursorFront) / 2;
  Mesh body = ExtrudeOutline(outline, kCursorFront - middle, 0.01f, 2);
  body.Transform({1, 1, 1}, {0, 0, middle});
  Mesh rim = ExtrudeOutline(InsetOutline(outline, -kCursorRim), middle - kCursorBack, 0.01f, 2);
  rim.Transform({1, 1, 1}, {0, 0, kCursorBack});
  MaterialSpec ink = RecipeMaterial(recipe, "rim", "ink");
  builder.AddMesh(
      {{std::move(body), RecipeMaterial(recipe, "color", "cloud")}, {std::move(rim), ink}});
}

}  // namespace databuilder
