// mesh_shapes.cpp -- shape operators of the mesh kit. Every operator winds
// its faces counter-clockwise seen from outside, so face normals (and the
// point sampler's shading) point out of the shape.
#include "content/objwriter.h"

#include <algorithm>

void addQuadGrid(meshData& m, dvec origin, dvec du, dvec dv, int nu, int nv) {
  nu = std::max(nu, 1);
  nv = std::max(nv, 1);
  int base = int(m.verts.size());
  for (int j = 0; j <= nv; ++j)
    for (int i = 0; i <= nu; ++i) m.add(origin + du * (double(i) / nu) + dv * (double(j) / nv));
  auto at = [&](int i, int j) { return base + j * (nu + 1) + i; };
  for (int j = 0; j < nv; ++j)
    for (int i = 0; i < nu; ++i) m.face({at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)});
}

// The six faces of the cube [-1, 1]^3 as origin, du, dv with du x dv outward.
struct cubeFace {
  dvec origin, du, dv;
};
static const cubeFace cubeFaces[6] = {
    {{1, -1, -1}, {0, 2, 0}, {0, 0, 2}},  {{-1, -1, -1}, {0, 0, 2}, {0, 2, 0}},
    {{-1, 1, -1}, {0, 0, 2}, {2, 0, 0}},  {{-1, -1, -1}, {2, 0, 0}, {0, 0, 2}},
    {{-1, -1, 1}, {2, 0, 0}, {0, 2, 0}},  {{-1, -1, -1}, {0, 2, 0}, {2, 0, 0}},
};

static int cellCount(double span, double cell) {
  return cell > 0 ? std::max(1, int(std::lround(span / cell))) : 1;
}

void addBox(meshData& m, dvec centre, dvec half, const rot3& r, double cell) {
  for (const cubeFace& f : cubeFaces) {
    dvec o = f.origin.scaled(half), du = f.du.scaled(half), dv = f.dv.scaled(half);
    size_t from = m.verts.size();
    addQuadGrid(m, o, du, dv, cellCount(length(du), cell), cellCount(length(dv), cell));
    m.transform(from, r, centre);
  }
}

void addBeam(meshData& m, dvec a, dvec b, double w) {
  dvec axis = b - a;
  dvec hint = std::fabs(normalised(axis).z) > 0.9 ? dvec(1, 0, 0) : dvec(0, 0, 1);
  addBox(m, (a + b) * 0.5, dvec(w * 0.5, length(axis) * 0.5, w * 0.5), rot3::frame(axis, hint), 0);
}

void addEllipsoid(meshData& m, dvec centre, dvec radii, const rot3& r, int n) {
  n = std::max(n, 1);
  for (const cubeFace& f : cubeFaces) {
    size_t from = m.verts.size();
    addQuadGrid(m, f.origin, f.du, f.dv, n, n);
    for (size_t i = from; i < m.verts.size(); ++i) {
      dvec& p = m.verts[i];
      // The tangent warp spreads the cube's cells evenly over the sphere.
      dvec w(std::tan(p.x * M_PI / 4), std::tan(p.y * M_PI / 4), std::tan(p.z * M_PI / 4));
      p = normalised(w).scaled(radii);
    }
    m.transform(from, r, centre);
  }
}

int cellsFor(dvec radii, double cell) {
  // Surface of an ellipsoid (Thomsen's approximation) over 6 cube faces.
  double p = 1.6075, a = std::pow(radii.x, p), b = std::pow(radii.y, p), c = std::pow(radii.z, p);
  double area = 4 * M_PI * std::pow((a * b + a * c + b * c) / 3, 1 / p);
  return std::max(1, int(std::lround(std::sqrt(area / 6) / cell)));
}

static bool isTip(double rx, double ry) { return rx < 1e-9 && ry < 1e-9; }

// One ring of `sides` points around path point k, or the point itself at a tip.
static std::vector<int> loftRing(meshData& m, const std::vector<dvec>& path, size_t k, double rx,
                                 double ry, int sides, dvec upHint) {
  if (isTip(rx, ry)) return std::vector<int>(sides, m.add(path[k]));
  size_t a = k > 0 ? k - 1 : 0, b = std::min(k + 1, path.size() - 1);
  dvec t = normalised(path[b] - path[a]);
  dvec side = normalised(cross(t, upHint));
  if (length(side) < 1e-9) side = normalised(cross(t, dvec(1, 0, 0)));
  dvec up = cross(side, t);
  std::vector<int> ring;
  for (int s = 0; s < sides; ++s) {
    double ang = 2 * M_PI * s / sides;
    ring.push_back(m.add(path[k] + side * (rx * std::cos(ang)) + up * (ry * std::sin(ang))));
  }
  return ring;
}

void addLoft(meshData& m, const std::vector<dvec>& path, const std::vector<double>& rx,
             const std::vector<double>& ry, int sides, dvec upHint) {
  std::vector<std::vector<int>> rings;
  for (size_t k = 0; k < path.size(); ++k) rings.push_back(loftRing(m, path, k, rx[k], ry[k], sides, upHint));
  size_t last = path.size() - 1;
  for (size_t k = 0; k < last; ++k)
    for (int s = 0; s < sides; ++s) {
      int s1 = (s + 1) % sides;
      if (k == 0 && isTip(rx[0], ry[0]))
        m.face({rings[0][0], rings[1][s], rings[1][s1]});
      else if (k + 1 == last && isTip(rx[last], ry[last]))
        m.face({rings[k][s], rings[last][0], rings[k][s1]});
      else
        m.face({rings[k][s], rings[k + 1][s], rings[k + 1][s1], rings[k][s1]});
    }
}

void addLimb(meshData& m, dvec a, dvec b, double ra, double rb, int sides, int rings) {
  dvec axis = normalised(b - a);
  dvec a2 = a - axis * (ra * 0.7), b2 = b + axis * (rb * 0.7);
  std::vector<dvec> path;
  std::vector<double> r;
  for (int k = 0; k <= rings; ++k) {
    double s = double(k) / rings, u = std::fabs(2 * s - 1);
    // A super-ellipse profile: straight sides, rounded ends that close.
    double shape = std::pow(std::max(0.0, 1 - std::pow(u, 4.0)), 0.25);
    path.push_back(lerp(a2, b2, s));
    r.push_back((ra + (rb - ra) * s) * shape);
  }
  dvec hint = std::fabs(axis.z) > 0.9 ? dvec(1, 0, 0) : dvec(0, 0, 1);
  addLoft(m, path, r, r, sides, hint);
}

void addPrism(meshData& m, const std::vector<dvec>& outline, double depth, const rot3& r, dvec centre) {
  size_t n = outline.size(), from = m.verts.size();
  int base = int(from);
  for (const dvec& p : outline) m.add(dvec(p.x, p.y, depth * 0.5));
  for (const dvec& p : outline) m.add(dvec(p.x, p.y, -depth * 0.5));
  std::vector<int> front, back;
  for (size_t i = 0; i < n; ++i) {
    front.push_back(base + int(i));
    back.push_back(base + int(2 * n - 1 - i));
  }
  m.faces.push_back(front);
  m.faces.push_back(back);
  for (size_t i = 0; i < n; ++i) {
    int j = int((i + 1) % n);
    m.face({base + int(i), base + int(n + i), base + int(n) + j, base + j});
  }
  m.transform(from, r, centre);
}
