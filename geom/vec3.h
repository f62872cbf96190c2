// vec3.h -- a point or direction of three floats, tightly packed (12 bytes)
// so that arrays of it go to OpenGL as they are.
#pragma once

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

static_assert(sizeof(vec3) == 12, "vec3 arrays are handed to OpenGL packed");
