#pragma once
// The small vector types of the modelling library: points, normals and
// texture coordinates in float, with the few operations the shapes need.

#include <cmath>

struct DBVec2 {
  float x = 0.0f;
  float y = 0.0f;
};

struct DBVec3 {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
};

inline DBVec2 operator+(DBVec2 a, DBVec2 b) { return {a.x + b.x, a.y + b.y}; }
inline DBVec2 operator-(DBVec2 a, DBVec2 b) { return {a.x - b.x, a.y - b.y}; }
inline DBVec2 operator*(DBVec2 a, float s) { return {a.x * s, a.y * s}; }
inline float DBDot(DBVec2 a, DBVec2 b) { return a.x * b.x + a.y * b.y; }
inline float DBCross(DBVec2 a, DBVec2 b) { return a.x * b.y - a.y * b.x; }
inline float DBLength(DBVec2 a) { return std::sqrt(DBDot(a, a)); }

inline DBVec3 operator+(DBVec3 a, DBVec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline DBVec3 operator-(DBVec3 a, DBVec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline DBVec3 operator*(DBVec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline DBVec3 operator*(DBVec3 a, DBVec3 b) { return {a.x * b.x, a.y * b.y, a.z * b.z}; }
inline float DBDot(DBVec3 a, DBVec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline DBVec3 DBCross(DBVec3 a, DBVec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float DBLength(DBVec3 a) { return std::sqrt(DBDot(a, a)); }
// The unit vector along a, or a itself when it has no length.
inline DBVec3 DBNormalize(DBVec3 a) {
  const float length = DBLength(a);
  return length > 0.0f ? a * (1.0f / length) : a;
}
inline DBVec2 DBNormalize(DBVec2 a) {
  const float length = DBLength(a);
  return length > 0.0f ? a * (1.0f / length) : a;
}
