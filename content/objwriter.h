// objwriter.h -- the mesh family's building kit: a polygon list with named
// objects, a few shape operators that add to it, and the two OBJ writers
// (the reduced point-set form and the ordinary form with `o` lines).
// Everything works in doubles and is written with fixed precision, so the
// same recipe always writes the same bytes.
#pragma once
#include <cmath>
#include <string>
#include <vector>

struct dvec {
  double x = 0, y = 0, z = 0;
  dvec() = default;
  dvec(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}
  dvec operator+(const dvec& b) const { return dvec(x + b.x, y + b.y, z + b.z); }
  dvec operator-(const dvec& b) const { return dvec(x - b.x, y - b.y, z - b.z); }
  dvec operator*(double s) const { return dvec(x * s, y * s, z * s); }
  dvec scaled(const dvec& s) const { return dvec(x * s.x, y * s.y, z * s.z); }
};
inline double dot(const dvec& a, const dvec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline dvec cross(const dvec& a, const dvec& b) {
  return dvec(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}
inline double length(const dvec& a) { return std::sqrt(dot(a, a)); }
inline dvec normalised(const dvec& a) {
  double l = length(a);
  return l > 1e-12 ? a * (1.0 / l) : dvec();
}
inline dvec lerp(const dvec& a, const dvec& b, double t) { return a + (b - a) * t; }

// A rotation as three rows; `*` composes like matrices (right one applied first).
struct rot3 {
  double m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  static rot3 axisAngle(dvec axis, double degrees);  // counter-clockwise about axis
  static rot3 x(double degrees) { return axisAngle(dvec(1, 0, 0), degrees); }
  static rot3 y(double degrees) { return axisAngle(dvec(0, 1, 0), degrees); }
  static rot3 z(double degrees) { return axisAngle(dvec(0, 0, 1), degrees); }
  static rot3 frame(dvec axisY, dvec hint);  // columns: a side, axisY, a third axis
  rot3 operator*(const rot3& b) const;
  dvec operator*(const dvec& v) const;
  rot3 transposed() const;
};

// Polygons over one vertex list; faces index vertices from 0. Objects are
// runs of faces that start at a recorded face index.
class meshData {
public:
  std::vector<dvec> verts;
  std::vector<std::vector<int>> faces;
  std::vector<std::string> objectNames;
  std::vector<size_t> objectStarts;

  int add(const dvec& p) {
    verts.push_back(p);
    return int(verts.size()) - 1;
  }
  void face(std::initializer_list<int> corners) { faces.emplace_back(corners); }
  void beginObject(const std::string& name) {
    objectNames.push_back(name);
    objectStarts.push_back(faces.size());
  }
  // p := r * p + shift for every vertex from index `from` on.
  void transform(size_t from, const rot3& r, const dvec& shift);
  // Merges vertices closer than 1e-7 so that generated normals stay smooth.
  void weld();
  void append(const meshData& other);  // faces only, no objects
};

// Points the point-set sampler makes: rings x corners x (density div 2) per face.
long long sampledPoints(const meshData& m, int rings, int density);

// "v x y z" lines, then faces only, each corner as "N//".
bool writeReducedObj(const std::string& path, const meshData& m);
// Ordinary OBJ: vertices, then every object as an `o` line and its faces.
bool writeObj(const std::string& path, const meshData& m);

// ---- shape operators (mesh_shapes.cpp); faces wind counter-clockwise seen from outside.

// nu x nv quads over the parallelogram origin + s*du + t*dv; normal du x dv.
void addQuadGrid(meshData& m, dvec origin, dvec du, dvec dv, int nu, int nv);
// A box of half extents `half`, turned by r about its centre; faces split
// into cells of about `cell` on a side (cell <= 0: one quad per face).
void addBox(meshData& m, dvec centre, dvec half, const rot3& r, double cell);
// A box from a to b with a square section of side w (six quads), for struts.
void addBeam(meshData& m, dvec a, dvec b, double w);
// An ellipsoid as a warped cube sphere of 6 n^2 quads.
void addEllipsoid(meshData& m, dvec centre, dvec radii, const rot3& r, int n);
// Cube-sphere cells so that an ellipsoid gets quads about `cell` across.
int cellsFor(dvec radii, double cell);
// Elliptical rings along a path (rx along the side axis, ry along the up
// axis of a frame carried along the path); a zero radius at either end
// closes it with a fan to that point, otherwise the end stays open.
void addLoft(meshData& m, const std::vector<dvec>& path, const std::vector<double>& rx,
             const std::vector<double>& ry, int sides, dvec upHint);
// A rounded spindle from a to b: radius ra at a easing to rb at b, closed.
void addLimb(meshData& m, dvec a, dvec b, double ra, double rb, int sides, int rings);
// A prism: a convex outline in the xy plane (counter-clockwise), extruded
// from z = -depth/2 to +depth/2, then turned by r and moved to centre.
void addPrism(meshData& m, const std::vector<dvec>& outline, double depth, const rot3& r,
              dvec centre);
