#include "app/objects/VPLPicking.h"

#include "app/objects/VPLDisplayTreeVisitors.h"
#include "app/objects/VPLVertexHolder.h"
#include "mm/stage/MM3DModelMolecule.h"
#include "mm/stage/MMView.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DIndexedMeshDeformer.h"
#include "mm3d/MM3DMathFunctions.h"
#include "mm3d/MM3DMatrix.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kLengthenFactor = 5.0f;
// How far the angle sum at a point may be from a full turn and still lie
// in the triangle.
constexpr float kAngleSumTolerance = 0.05f;

MM3DVector Point(const MM3DVector& p) { return MM3DVector(p.mX, p.mY, p.mZ, 1.0f); }

MM3DVector Transformed(const MM3DMatrix& matrix, const MM3DVector& p) {
  MM3DVector out;
  matrix.TransformPoint(out, p);
  return out;
}

// start + t (end - start), a point.
MM3DVector Along(const MM3DVector& start, const MM3DVector& end, float t) {
  MM3DVector d = end.Direction(start);
  d.Scale(t);
  return Point(start.Sum(d));
}

float DistanceSquared(const MM3DVector& a, const MM3DVector& b) {
  return a.Direction(b).LengthSquared();
}

// The plane parameter where the segment meets the plane of the normal
// through the point; false for a segment parallel to it or meeting it
// outside [0, 1].
bool PlaneParameter(const MM3DVector& normal, const MM3DVector& onPlane, const MM3DVector& p0,
                    const MM3DVector& p1, float& t) {
  const float denominator = normal.Dot(p1.Direction(p0));
  if (denominator == 0.0f) return false;
  t = (normal.Dot(onPlane) - normal.Dot(p0)) / denominator;
  return t >= 0.0f && t <= 1.0f;
}

// The angle, at the point, between the directions to two corners given as
// unit vectors, in double; cosines a hair below -1 are the straight angle
// of a point on an edge.
bool CornerAngle(const double a[3], const double b[3], float& angle) {
  const double cosine = a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
  if (cosine > 1.0) return false;
  angle = std::acos(static_cast<float>(std::max(cosine, -1.0)));
  return true;
}

// The unit direction from the point to the corner; false when the point is
// the corner, which then lies in the triangle whatever the angles say.
bool UnitToward(const MM3DVector& corner, const MM3DVector& point, double out[3]) {
  const double d[3] = {static_cast<double>(corner.mX) - point.mX,
                       static_cast<double>(corner.mY) - point.mY,
                       static_cast<double>(corner.mZ) - point.mZ};
  const double length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
  if (length == 0.0) return false;
  for (int i = 0; i < 3; ++i) out[i] = d[i] / length;
  return true;
}

bool InsideByAngles(const MM3DVector& h, const MM3DVector& t0, const MM3DVector& t1,
                    const MM3DVector& t2) {
  double a[3];
  double b[3];
  double c[3];
  if (!UnitToward(t0, h, a) || !UnitToward(t1, h, b) || !UnitToward(t2, h, c)) return true;
  float ab = 0.0f;
  float bc = 0.0f;
  float ca = 0.0f;
  if (!CornerAngle(a, b, ab) || !CornerAngle(b, c, bc) || !CornerAngle(c, a, ca)) return false;
  const float offTurn = ab + bc + ca - kMM3DTwoPi;
  return offTurn > -kAngleSumTolerance && offTurn < kAngleSumTolerance;
}

MM3DVector TriangleNormal(const MM3DVector& t0, const MM3DVector& t1, const MM3DVector& t2) {
  const double e1[3] = {static_cast<double>(t1.mX) - t0.mX, static_cast<double>(t1.mY) - t0.mY,
                        static_cast<double>(t1.mZ) - t0.mZ};
  const double e2[3] = {static_cast<double>(t2.mX) - t0.mX, static_cast<double>(t2.mY) - t0.mY,
                        static_cast<double>(t2.mZ) - t0.mZ};
  const double n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                       e1[0] * e2[1] - e1[1] * e2[0]};
  const auto length = std::sqrt(static_cast<float>(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]));
  return MM3DVector(static_cast<float>(n[0]) / length, static_cast<float>(n[1]) / length,
                    static_cast<float>(n[2]) / length, 0.0f);
}

// Calls onHit(triangle, point) for each triangle of the arrays that the
// segment crosses, in index order, while onHit answers true.
template <typename OnHit>
bool ForEachTriangleHit(const MM3DVertexArrays& arrays, const MM3DVector& p0, const MM3DVector& p1,
                        OnHit onHit) {
  const int32_t triangles = arrays.mIndexCount / 3;
  for (int32_t k = 0; k < triangles; ++k) {
    const uint16_t* corner = arrays.mIndices + 3 * k;
    if (corner[0] >= arrays.mVertexCount || corner[1] >= arrays.mVertexCount ||
        corner[2] >= arrays.mVertexCount) {
      continue;
    }
    MM3DVector hit;
    if (VPLIntersectSegmentTriangle(p0, p1, arrays.mPositions[corner[0]],
                                    arrays.mPositions[corner[1]], arrays.mPositions[corner[2]],
                                    hit) &&
        !onHit(k, hit)) {
      return false;
    }
  }
  return true;
}

MM3DMatrix WorldMatrixOf(MM3DDisplayTreeNode& node) {
  MM3DMatrix world = MM3DMatrixIdentity;
  node.GetWorldMatrix(world);
  return world;
}

// Calls onBlock(mesh, part, block, arrays, p0, p1) for every block of the
// visible meshes, the segment brought into the mesh's space, while onBlock
// answers true; answers false when it was stopped.
template <typename OnBlock>
bool ForEachVisibleBlock(const MM3DModelMolecule& molecule, const MM3DVector& p0,
                         const MM3DVector& p1, OnBlock onBlock) {
  const UUGrowableArray<MM3DDisplayTreeNode*> meshes = VPLFindMeshes(molecule.GetDisplayTreeRoot());
  for (int32_t m = 0; m < meshes.Count(); ++m) {
    if (VPLIsHidden(*meshes[m])) continue;
    auto& mesh = static_cast<MM3DDisplayTreeNodeIndexedMesh&>(*meshes[m]);
    MM3DMatrix inverse = WorldMatrixOf(mesh);
    inverse.InvertAffine();
    const MM3DVector localStart = Transformed(inverse, p0);
    const MM3DVector localEnd = Transformed(inverse, p1);
    for (int32_t i = 0; i < mesh.GetPartCount(); ++i) {
      const MM3DVertexDataBlocks& blocks = mesh.GetPart(i).mBlocks;
      for (int32_t j = 0; j < blocks.Count(); ++j) {
        if (!blocks[j]) continue;
        const MM3DVertexArrays arrays(*blocks[j]);
        if (!onBlock(mesh, arrays, localStart, localEnd)) return false;
      }
    }
  }
  return true;
}

// The nearest of the blocks' best hits; a tie goes to the later block, but
// the node changes only when the point does.
struct NearestHit {
  void Offer(const MM3DVector& point, const MM3DVector& from,
             MM3DDisplayTreeNodeIndexedMesh* node) {
    if (mFound && DistanceSquared(point, from) > DistanceSquared(mPoint, from)) return;
    if (!mFound || !point.Equals(mPoint)) mNode = node;
    mFound = true;
    mPoint = point;
  }
  bool Report(MM3DVector& out, VPLVertexHolder* hit) const {
    if (!mFound) return false;
    out = mPoint;
    if (hit != nullptr) hit->mNode = mNode;
    return true;
  }

  bool mFound = false;
  MM3DVector mPoint{0.0f, 0.0f, 0.0f, 1.0f};
  MM3DDisplayTreeNodeIndexedMesh* mNode = nullptr;
};

// The block's first hit, replaced only by a strictly nearer one.
bool BestInBlock(const MM3DVertexArrays& arrays, const MM3DVector& p0, const MM3DVector& p1,
                 MM3DVector& best) {
  bool found = false;
  ForEachTriangleHit(arrays, p0, p1, [&](int32_t, const MM3DVector& hit) {
    if (!found || DistanceSquared(hit, p0) < DistanceSquared(best, p0)) best = hit;
    found = true;
    return true;
  });
  return found;
}

// The deformers above the mesh, outermost first, as the mesh is drawn.
UUGrowableArray<MM3DIndexedMeshDeformer*> DeformersOf(MM3DDisplayTreeNode& mesh) {
  UUGrowableArray<MM3DIndexedMeshDeformer*> innermostFirst;
  VPLFindDeformersFromMeshVisitor visitor(innermostFirst);
  mesh.Accept(visitor, kMM3DVisitUp);
  UUGrowableArray<MM3DIndexedMeshDeformer*> deformers;
  for (int32_t i = innermostFirst.Count() - 1; i >= 0; --i) deformers.Append(innermostFirst[i]);
  return deformers;
}

void PickDeformedMesh(MM3DDisplayTreeNodeIndexedMesh& mesh, const MM3DVector& p0,
                      const MM3DVector& p1, NearestHit& nearest) {
  const UUGrowableArray<MM3DIndexedMeshDeformer*> deformers = DeformersOf(mesh);
  for (int32_t d = 0; d < deformers.Count(); ++d) deformers[d]->BeginFrame();
  for (int32_t i = 0; i < mesh.GetPartCount(); ++i) {
    const MM3DVertexDataBlocks& blocks = mesh.GetPart(i).mBlocks;
    for (int32_t j = 0; j < blocks.Count(); ++j) {
      if (!blocks[j]) continue;
      MM3DVertexArrays arrays(*blocks[j]);
      for (int32_t d = 0; d < deformers.Count(); ++d) {
        deformers[d]->SelectPart(i, j);
        deformers[d]->DeformPositions(arrays);
      }
      MM3DVector best;
      if (BestInBlock(arrays, p0, p1, best)) nearest.Offer(best, p0, &mesh);
    }
  }
  for (int32_t d = 0; d < deformers.Count(); ++d) deformers[d]->EndFrame();
}

}  // namespace

VPLSegment VPLScreenToWorldSegment(const MMView& view, int32_t x, int32_t y, bool lengthen) {
  const UURect rect = view.GetRect();
  const auto clamp = [](int32_t v, int32_t low, int32_t high) {
    v = v < low ? low : v;
    return v >= high - 1 ? high - 1 : v;
  };
  const auto sx = static_cast<float>(clamp(x, rect.mLeft, rect.mRight));
  const auto sy = static_cast<float>(clamp(y, rect.mTop, rect.mBottom));
  const MM3DVector nearPoint = view.GetProjection().Unproject(sx, sy, 0.0f, rect);
  MM3DVector farPoint = view.GetProjection().Unproject(sx, sy, 1.0f, rect);
  if (lengthen) farPoint = Along(nearPoint, farPoint, kLengthenFactor);
  MM3DMatrix toWorld = view.GetViewMatrix();
  toWorld.InvertAffine();
  return VPLSegment{Transformed(toWorld, nearPoint), Transformed(toWorld, farPoint)};
}

bool VPLIntersectSegmentPlane(const VPLSegment& segment, const MM3DVector& a, const MM3DVector& b,
                              const MM3DVector& c, MM3DVector& out) {
  MM3DVector normal = b.Direction(a).Cross(c.Direction(a));
  normal.Divide(std::sqrt(normal.LengthSquared()));
  float t = 0.0f;
  if (!PlaneParameter(normal, a, segment.mStart, segment.mEnd, t)) return false;
  out = Along(segment.mStart, segment.mEnd, t);
  return true;
}

bool VPLIntersectSegmentTriangle(const MM3DVector& p0, const MM3DVector& p1, const MM3DVector& t0,
                                 const MM3DVector& t1, const MM3DVector& t2, MM3DVector& out) {
  if (t0.Equals(t1) || t1.Equals(t2) || t2.Equals(t0)) return false;
  const MM3DVector normal = TriangleNormal(t0, t1, t2);
  float t = 0.0f;
  if (!PlaneParameter(normal, t0, p0, p1, t)) return false;
  const MM3DVector h = Along(p0, p1, t);
  if (!InsideByAngles(h, t0, t1, t2)) return false;
  out = h;
  return true;
}

bool VPLPickModel(const MM3DModelMolecule& molecule, const MM3DVector& p0, const MM3DVector& p1,
                  MM3DVector& out, VPLVertexHolder* hit) {
  NearestHit nearest;
  ForEachVisibleBlock(molecule, p0, p1,
                      [&](MM3DDisplayTreeNodeIndexedMesh& mesh, const MM3DVertexArrays& arrays,
                          const MM3DVector& start, const MM3DVector& end) {
                        MM3DVector best;
                        if (BestInBlock(arrays, start, end, best)) {
                          nearest.Offer(Transformed(WorldMatrixOf(mesh), best), p0, &mesh);
                        }
                        return true;
                      });
  return nearest.Report(out, hit);
}

bool VPLPickDeformedModel(const MM3DModelMolecule& molecule, const MM3DVector& p0,
                          const MM3DVector& p1, MM3DVector& out, VPLVertexHolder* hit) {
  NearestHit nearest;
  const UUGrowableArray<MM3DDisplayTreeNode*> meshes = VPLFindMeshes(molecule.GetDisplayTreeRoot());
  for (int32_t m = 0; m < meshes.Count(); ++m) {
    if (VPLIsHidden(*meshes[m])) continue;
    PickDeformedMesh(static_cast<MM3DDisplayTreeNodeIndexedMesh&>(*meshes[m]), p0, p1, nearest);
  }
  return nearest.Report(out, hit);
}

bool VPLHitsModel(const MM3DModelMolecule& molecule, const MM3DVector& p0, const MM3DVector& p1) {
  return VPLPickTriangleIndex(molecule, p0, p1) >= 0;
}

int32_t VPLPickTriangleIndex(const MM3DModelMolecule& molecule, const MM3DVector& p0,
                             const MM3DVector& p1) {
  int32_t index = -1;
  ForEachVisibleBlock(molecule, p0, p1,
                      [&](MM3DDisplayTreeNodeIndexedMesh&, const MM3DVertexArrays& arrays,
                          const MM3DVector& start, const MM3DVector& end) {
                        return ForEachTriangleHit(arrays, start, end,
                                                  [&](int32_t k, const MM3DVector&) {
                                                    index = k;
                                                    return false;
                                                  });
                      });
  return index;
}

MM3DVector VPLPointToLineVector(const VPLSegment& line, float x) {
  MM3DVector direction = line.mEnd;
  direction.Divide(std::sqrt(direction.LengthSquared()));
  direction.Scale(x);
  return line.mStart.Sum(direction);
}

float VPLSegmentLength(const VPLSegment& line) {
  return std::sqrt(DistanceSquared(line.mEnd, line.mStart));
}

bool VPLDuplicateVertex(int32_t i, MM3DIndexedMeshVertexData& block, int32_t& out, int32_t s) {
  const int32_t count = block.mPositions.Count();
  if (i < 0 || i >= count || count >= MM3DIndexedMeshVertexData::kMaxVertexCount) return false;
  UUGrowableArray<MM3DTextureCoordinate>& coordinates = block.mTextureCoordinates[s == 1 ? 1 : 0];
  out = count;
  block.mPositions.Append(MM3DVector(block.mPositions[i]));
  if (i < block.mColors.Count()) block.mColors.Append(MM3DPackedColor(block.mColors[i]));
  if (i < block.mNormals.Count()) block.mNormals.Append(MM3DVector(block.mNormals[i]));
  if (i < coordinates.Count()) coordinates.Append(MM3DTextureCoordinate(coordinates[i]));
  return true;
}
