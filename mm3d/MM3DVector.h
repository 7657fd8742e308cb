#pragma once
// The engine's float vector: x, y, z and w, with w 0 for a direction and 1
// for a point. Arithmetic works on x, y and z; each operation says what
// becomes of w.

class UUReader;
class UUWriter;

class MM3DVector {
 public:
  // Leaves the components unset, like any plain value.
  MM3DVector() = default;
  constexpr MM3DVector(float x, float y, float z, float w) : mX(x), mY(y), mZ(z), mW(w) {}

  // x, y, z of the other vector with w 0.
  void MakeDirection(const MM3DVector& other);
  void Add(const MM3DVector& other);
  void Subtract(const MM3DVector& other);
  // this + other and this - other, keeping this vector's w.
  MM3DVector Sum(const MM3DVector& other) const;
  MM3DVector Difference(const MM3DVector& other) const;
  // this - other with w 0.
  MM3DVector Direction(const MM3DVector& other) const;
  void Scale(float factor);
  // Multiplies by the reciprocal of the divisor.
  void Divide(float divisor);
  float LengthSquared() const;
  float Dot(const MM3DVector& other) const;
  // this x other, keeping this vector's w.
  MM3DVector Cross(const MM3DVector& other) const;
  // All four components exactly equal.
  bool Equals(const MM3DVector& other) const;
  // 1 y, 2 z, 3 w, any other index x.
  float GetComponent(int index) const;
  void SetComponent(int index, float value);
  // The four floats x, y, z, w; a failed read leaves the vector unchanged.
  bool Write(UUWriter& writer) const;
  bool Read(UUReader& reader);

  float mX;
  float mY;
  float mZ;
  float mW;
};

// Scales x, y, z of every vector in [first, end) to unit length through
// MM3DFastInverseSqrt; w is kept.
void MM3DNormalizeVectors(MM3DVector* first, MM3DVector* end);
