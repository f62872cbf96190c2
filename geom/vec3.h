// vec3.h -- a point or direction of three floats, tightly packed (12 bytes)
// so that arrays of it go to OpenGL as they are.
#pragma once
#include <cmath>

class vec3 {
public:
  float x = 0, y = 0, z = 0;

  vec3() = default;
  vec3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

  vec3 operator+(const vec3& b) const { return vec3(x + b.x, y + b.y, z + b.z); }
  vec3 operator-(const vec3& b) const { return vec3(x - b.x, y - b.y, z - b.z); }
  vec3 operator*(float s) const { return vec3(x * s, y * s, z * s); }
  vec3 operator/(float s) const { return vec3(x / s, y / s, z / s); }  // no guard against s = 0
};

inline float dot(const vec3& a, const vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

inline vec3 cross(const vec3& a, const vec3& b) {
  return vec3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

inline float length(const vec3& a) { return std::sqrt(dot(a, a)); }

// Unit vector; the length is summed in single precision and a length below
// 1e-08 (compared exactly, not against the float nearest it) gives the zero vector.
inline vec3 normalise(const vec3& v) {
  float l = length(v);
  if (double(l) < 1e-08) return vec3();
  float inverse = 1.0f / l;
  return vec3(v.x * inverse, v.y * inverse, v.z * inverse);
}

static_assert(sizeof(vec3) == 12, "vec3 arrays are handed to OpenGL packed");
