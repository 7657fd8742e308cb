#include "tools/databuilder/mesh/Mesh.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <tuple>
#include <utility>

namespace databuilder {

namespace {

Vertex Midpoint(const Vertex& a, const Vertex& b) {
  Vertex m;
  m.position = (a.position + b.position) * 0.5f;
  m.normal = Normalize(a.normal + b.normal);
  m.uv = (a.uv + b.uv) * 0.5f;
  m.color = {(a.color.r + b.color.r) * 0.5f, (a.color.g + b.color.g) * 0.5f,
             (a.color.b + b.color.b) * 0.5f, (a.color.a + b.color.a) * 0.5f};
  return m;
}

using WeldKey = std::array<int64_t, 12>;

WeldKey KeyOf(const Vertex& v, float tolerance) {
  const auto q = [tolerance](float value) {
    return static_cast<int64_t>(std::llround(value / tolerance));
  };
  return {q(v.position.x), q(v.position.y), q(v.position.z), q(v.normal.x),
          q(v.normal.y),   q(v.normal.z),   q(v.uv.x),       q(v.uv.y),
          q(v.color.r),    q(v.color.g),    q(v.color.b),    q(v.color.a)};
}

// Replaces one triangle by the pieces its split edges make; m[k] is the
// middle of the edge from v[k] to v[k + 1], or -1 when that edge stays.
void SplitTriangle(const uint32_t (&v)[3], const int64_t (&m)[3], std::vector<uint32_t>& out) {
  const auto at = [](int64_t index) { return static_cast<uint32_t>(index); };
  const int32_t splits = (m[0] >= 0) + (m[1] >= 0) + (m[2] >= 0);
  if (splits == 0) {
    out.insert(out.end(), {v[0], v[1], v[2]});
  } else if (splits == 3) {
    out.insert(out.end(), {v[0], at(m[0]), at(m[2]), at(m[0]), v[1], at(m[1])});
    out.insert(out.end(), {at(m[2]), at(m[1]), v[2], at(m[0]), at(m[1]), at(m[2])});
  } else if (splits == 1) {
    const int32_t k = m[0] >= 0 ? 0 : (m[1] >= 0 ? 1 : 2);
    const uint32_t a = v[k], b = v[(k + 1) % 3], c = v[(k + 2) % 3], mid = at(m[k]);
    out.insert(out.end(), {a, mid, c, mid, b, c});
  } else {
    const int32_t j = m[0] < 0 ? 0 : (m[1] < 0 ? 1 : 2);
    const uint32_t a = v[j], b = v[(j + 1) % 3], c = v[(j + 2) % 3];
    const uint32_t bc = at(m[(j + 1) % 3]), ca = at(m[(j + 2) % 3]);
    out.insert(out.end(), {bc, c, ca, a, b, bc, a, bc, ca});
  }
}

}  // namespace

uint32_t Mesh::AddVertex(const Vertex& vertex) {
  mVertices.push_back(vertex);
  return static_cast<uint32_t>(mVertices.size() - 1);
}

void Mesh::AddTriangle(uint32_t a, uint32_t b, uint32_t c) {
  mIndices.insert(mIndices.end(), {a, b, c});
}

void Mesh::Append(const Mesh& other) {
  const auto base = static_cast<uint32_t>(mVertices.size());
  mVertices.insert(mVertices.end(), other.mVertices.begin(), other.mVertices.end());
  for (uint32_t index : other.mIndices) mIndices.push_back(base + index);
}

void Mesh::Transform(Vec3 scale, Vec3 offset) {
  const Vec3 inverse{1.0f / scale.x, 1.0f / scale.y, 1.0f / scale.z};
  for (Vertex& v : mVertices) {
    v.position = v.position * scale + offset;
    v.normal = Normalize(v.normal * inverse);
  }
  if (scale.x * scale.y * scale.z < 0.0f) Flip();
}

void Mesh::Rotate(float aboutY, float aboutX) {
  const float cy = std::cos(aboutY), sy = std::sin(aboutY);
  const float cx = std::cos(aboutX), sx = std::sin(aboutX);
  const auto turn = [&](Vec3 p) {
    const Vec3 q{cy * p.x + sy * p.z, p.y, -sy * p.x + cy * p.z};
    return Vec3{q.x, cx * q.y - sx * q.z, sx * q.y + cx * q.z};
  };
  for (Vertex& v : mVertices) {
    v.position = turn(v.position);
    v.normal = turn(v.normal);
  }
}

void Mesh::Flip() {
  for (size_t i = 0; i + 2 < mIndices.size(); i += 3) std::swap(mIndices[i + 1], mIndices[i + 2]);
  for (Vertex& v : mVertices) v.normal = v.normal * -1.0f;
}

void Mesh::SetColor(const Color& color) {
  for (Vertex& v : mVertices) v.color = color;
}

void Mesh::Weld(float tolerance) {
  std::map<WeldKey, uint32_t> seen;
  std::vector<uint32_t> remap(mVertices.size());
  std::vector<Vertex> kept;
  for (size_t i = 0; i < mVertices.size(); ++i) {
    auto [it, added] =
        seen.try_emplace(KeyOf(mVertices[i], tolerance), static_cast<uint32_t>(kept.size()));
    if (added) kept.push_back(mVertices[i]);
    remap[i] = it->second;
  }
  for (uint32_t& index : mIndices) index = remap[index];
  mVertices = std::move(kept);
}

Vec3 TriangleNormal(const Mesh& mesh, int32_t triangle) {
  const auto i = static_cast<size_t>(triangle) * 3;
  const Vec3 a = mesh.mVertices[mesh.mIndices[i]].position;
  const Vec3 b = mesh.mVertices[mesh.mIndices[i + 1]].position;
  const Vec3 c = mesh.mVertices[mesh.mIndices[i + 2]].position;
  return Cross(b - a, c - a);
}

void Mesh::DropDegenerate(float minArea) {
  std::vector<uint32_t> kept;
  for (int32_t t = 0; t < GetTriangleCount(); ++t) {
    if (Length(TriangleNormal(*this, t)) * 0.5f <= minArea) continue;
    const auto i = static_cast<size_t>(t) * 3;
    kept.insert(kept.end(), {mIndices[i], mIndices[i + 1], mIndices[i + 2]});
  }
  mIndices = std::move(kept);
}

void Mesh::SetSmoothNormals() {
  std::vector<Vec3> sums(mVertices.size());
  for (int32_t t = 0; t < GetTriangleCount(); ++t) {
    const Vec3 n = TriangleNormal(*this, t);
    for (size_t k = 0; k < 3; ++k) {
      Vec3& sum = sums[mIndices[static_cast<size_t>(t) * 3 + k]];
      sum = sum + n;
    }
  }
  for (size_t i = 0; i < mVertices.size(); ++i) mVertices[i].normal = Normalize(sums[i]);
}

void Mesh::SetFlatNormals() {
  std::vector<Vertex> vertices;
  for (int32_t t = 0; t < GetTriangleCount(); ++t) {
    const Vec3 n = Normalize(TriangleNormal(*this, t));
    for (size_t k = 0; k < 3; ++k) {
      Vertex v = mVertices[mIndices[static_cast<size_t>(t) * 3 + k]];
      v.normal = n;
      vertices.push_back(v);
    }
  }
  mVertices = std::move(vertices);
  for (size_t i = 0; i < mIndices.size(); ++i) mIndices[i] = static_cast<uint32_t>(i);
}

void Mesh::SwapVertices(uint32_t a, uint32_t b) {
  std::swap(mVertices[a], mVertices[b]);
  for (uint32_t& index : mIndices) {
    if (index == a) {
      index = b;
    } else if (index == b) {
      index = a;
    }
  }
}

float Mesh::GetLongestEdge() const {
  float longest = 0.0f;
  for (size_t i = 0; i + 2 < mIndices.size(); i += 3) {
    for (size_t k = 0; k < 3; ++k) {
      const Vec3 d =
          mVertices[mIndices[i + k]].position - mVertices[mIndices[i + (k + 1) % 3]].position;
      longest = std::max(longest, Length(d));
    }
  }
  return longest;
}

void Mesh::RefineEdges(float maxLength, const SurfaceProjector& projector) {
  for (bool split = true; split;) {
    split = false;
    std::map<std::pair<uint32_t, uint32_t>, uint32_t> middles;
    const auto middleOf = [&](uint32_t a, uint32_t b) -> int64_t {
      const float length = Length(mVertices[a].position - mVertices[b].position);
      if (length <= maxLength) return -1;
      const auto key = std::minmax(a, b);
      auto it = middles.find(key);
      if (it != middles.end()) return it->second;
      Vertex m = Midpoint(mVertices[key.first], mVertices[key.second]);
      if (projector) projector(m);
      const uint32_t index = AddVertex(m);
      middles.emplace(key, index);
      return index;
    };
    std::vector<uint32_t> out;
    const size_t count = mIndices.size();
    for (size_t i = 0; i + 2 < count; i += 3) {
      const uint32_t v[3] = {mIndices[i], mIndices[i + 1], mIndices[i + 2]};
      int64_t m[3];
      for (int32_t k = 0; k < 3; ++k) {
        m[k] = middleOf(v[k], v[(k + 1) % 3]);
        split = split || m[k] >= 0;
      }
      SplitTriangle(v, m, out);
    }
    mIndices = std::move(out);
  }
}

}  // namespace databuilder
