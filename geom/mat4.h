// mat4.h -- a 4x4 float transform in column-major order (element = column*4 + row),
// exactly as the fixed-function matrix calls take it, so that a mat4 goes to
// glMultMatrixf unchanged. Rotations post-multiply (they turn about the
// matrix's own axes) and keep the translation; angles are radians.
#pragma once
#include <cmath>

class mat4 {
public:
  float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

  void identity() {
    for (int i = 0; i < 16; ++i) m[i] = 0;
    m[0] = m[5] = m[10] = m[15] = 1;
  }

  // A*B: applying the result to a point applies B first, then A.
  mat4 operator*(const mat4& b) const {
    mat4 r;
    for (int c = 0; c < 4; ++c)
      for (int row = 0; row < 4; ++row) {
        float s = 0;
        for (int k = 0; k < 4; ++k) s += m[k * 4 + row] * b.m[c * 4 + k];
        r.m[c * 4 + row] = s;
      }
    return r;
  }
  mat4 operator+(const mat4& b) const {
    mat4 r;
    for (int i = 0; i < 16; ++i) r.m[i] = m[i] + b.m[i];
    return r;
  }
  mat4 operator-(const mat4& b) const {
    mat4 r;
    for (int i = 0; i < 16; ++i) r.m[i] = m[i] - b.m[i];
    return r;
  }
  mat4 operator*(float s) const {
    mat4 r;
    for (int i = 0; i < 16; ++i) r.m[i] = m[i] * s;
    return r;
  }

  // The three single-axis rotations turn by -a about their axis when read as
  // OpenGL matrices; the motion channels are built on exactly this placement.
  void rotateX(float a) {
    mat4 r;
    r.m[5] = std::cos(a); r.m[6] = -std::sin(a); r.m[9] = std::sin(a); r.m[10] = std::cos(a);
    rotateBy(r);
  }
  void rotateY(float a) {
    mat4 r;
    r.m[0] = std::cos(a); r.m[2] = std::sin(a); r.m[8] = -std::sin(a); r.m[10] = std::cos(a);
    rotateBy(r);
  }
  void rotateZ(float a) {
    mat4 r;
    r.m[0] = std::cos(a); r.m[1] = -std::sin(a); r.m[4] = std::sin(a); r.m[5] = std::cos(a);
    rotateBy(r);
  }

  // M := M * T(x, y, z): moves the origin along the matrix's own axes.
  void translate(float x, float y, float z) {
    m[12] += m[0] * x + m[4] * y + m[8] * z;
    m[13] += m[1] * x + m[5] * y + m[9] * z;
    m[14] += m[2] * x + m[6] * y + m[10] * z;
  }

  // M := M * N3, N3 being N's rotation part alone; M's translation stays.
  void applyBasis(mat4 n) {
    mat4 old = *this;
    for (int j = 0; j < 3; ++j)
      for (int row = 0; row < 4; ++row) {
        float s = 0;
        for (int k = 0; k < 3; ++k) s += old.m[k * 4 + row] * n.m[j * 4 + k];
        m[j * 4 + row] = s;
      }
  }

private:
  void rotateBy(const mat4& r) {
    float t0 = m[12], t1 = m[13], t2 = m[14];
    *this = *this * r;
    m[12] = t0; m[13] = t1; m[14] = t2;
  }
};
