// mesh_figures.cpp -- point-set meshes whose polygon count follows a cell
// size (fitted to the grid by fitToGrid): the curled-up baby, the maker's
// letters, the swing and the logo mark. Cells of equal size keep the
// sampled points evenly spread, since every polygon gets the same count.
#include "content/mesh_family.h"

// An ellipsoid stretched along the segment a-b (a limb), `r` thick.
static void addSegmentBlob(meshData& m, dvec a, dvec b, double r, double cell) {
  dvec radii(r, length(b - a) * 0.5 + r * 0.6, r);
  addEllipsoid(m, (a + b) * 0.5, radii, rot3::frame(b - a, dvec(0, 0, 1)), cellsFor(radii, cell));
}

static void addBlob(meshData& m, dvec c, dvec radii, const rot3& r, double cell) {
  addEllipsoid(m, c, radii, r, cellsFor(radii, cell));
}

// A baby curled on its back's curve: head tucked to the knees, fists at the
// chin, about 3 units from crown to toes.
meshData buildBaby(double cell) {
  meshData m;
  addBlob(m, dvec(0, 0, 0), dvec(0.62, 0.82, 0.55), rot3::x(24), cell);            // torso
  addBlob(m, dvec(0, -0.55, -0.12), dvec(0.6, 0.42, 0.5), rot3(), cell);            // seat
  addBlob(m, dvec(0, 1.12, 0.42), dvec(0.6, 0.64, 0.62), rot3::x(20), cell);        // head
  addBlob(m, dvec(0, 0.98, 1.02), dvec(0.08, 0.07, 0.07), rot3(), cell);            // nose
  for (double sx : {1.0, -1.0}) {
    addBlob(m, dvec(sx * 0.59, 1.12, 0.34), dvec(0.07, 0.16, 0.12), rot3(), cell);  // ear
    dvec shoulder(sx * 0.5, 0.55, 0.12), elbow(sx * 0.56, -0.08, 0.56), fist(sx * 0.2, 0.58, 0.92);
    addSegmentBlob(m, shoulder, elbow, 0.17, cell);
    addSegmentBlob(m, elbow, fist, 0.14, cell);
    addBlob(m, fist, dvec(0.13, 0.13, 0.12), rot3(), cell);
    dvec hip(sx * 0.34, -0.6, 0.05), knee(sx * 0.4, 0.1, 0.98), ankle(sx * 0.2, -0.62, 0.92);
    addSegmentBlob(m, hip, knee, 0.27, cell);
    addSegmentBlob(m, knee, ankle, 0.18, cell);
    addBlob(m, ankle + dvec(-sx * 0.04, -0.08, 0.14), dvec(0.11, 0.09, 0.21), rot3::x(-15), cell);
  }
  return m;
}

// Letters as bars: (x0, y0) to (x1, y1) in a 0.7 x 1 letter cell.
struct bar {
  double x0, y0, x1, y1;
};

static void addBar(meshData& m, const bar& b, dvec at, double cell) {
  const double w = 0.18, depth = 0.3;
  dvec a = at + dvec(b.x0, b.y0, 0), c = at + dvec(b.x1, b.y1, 0);
  double len = length(c - a) + w;
  double angle = std::atan2(c.y - a.y, c.x - a.x) * 180.0 / M_PI;
  addBox(m, (a + c) * 0.5, dvec(len * 0.5, w * 0.5, depth * 0.5), rot3::z(angle), cell);
}

static std::vector<bar> letterBars(char ch) {
  const double l = 0.09, r = 0.61, t = 0.91, b = 0.09;
  switch (ch) {
    case 'V': return {{0.02, t, 0.35, b - 0.02}, {0.68, t, 0.35, b - 0.02}};
    case 'E': return {{l, b, l, t}, {l, t, r, t}, {l, 0.5, 0.5, 0.5}, {l, b, r, b}};
    case 'L': return {{l, b, l, t}, {l, b, r, b}};
    case 'T': return {{0.02, t, 0.68, t}, {0.35, b, 0.35, t}};
    case 'A': return {{0.02, b - 0.02, 0.35, t}, {0.68, b - 0.02, 0.35, t}, {0.16, 0.36, 0.54, 0.36}};
    default: break;
  }
  // R: stem, a bowl of short bars round (0.36, 0.69), and the leg.
  std::vector<bar> bars = {{l, b, l, t}, {l, t, 0.36, t}, {l, 0.47, 0.36, 0.47}, {0.36, 0.47, 0.64, b - 0.02}};
  const int n = 5;
  for (int i = 0; i < n; ++i) {
    double a0 = M_PI / 2 - M_PI * i / n, a1 = M_PI / 2 - M_PI * (i + 1) / n;
    bars.push_back({0.36 + 0.23 * std::cos(a0), 0.69 + 0.22 * std::sin(a0), 0.36 + 0.23 * std::cos(a1),
                    0.69 + 0.22 * std::sin(a1)});
  }
  return bars;
}

// "VELTRA" centred on the origin, letters 1 high and 0.3 deep.
meshData buildVeltra(double cell) {
  meshData m;
  const char* word = "VELTRA";
  const double pitch = 0.92, width = 5 * pitch + 0.7;
  for (int i = 0; word[i]; ++i)
    for (const bar& b : letterBars(word[i])) addBar(m, b, dvec(-width * 0.5 + i * pitch, -0.5, 0), cell);
  return m;
}

// A square tube along a straight path, split into cells along its length.
static void addRod(meshData& m, dvec a, dvec b, double r, double cell, dvec up) {
  int n = std::max(1, int(std::lround(length(b - a) / cell)));
  std::vector<dvec> path;
  for (int k = 0; k <= n; ++k) path.push_back(lerp(a, b, double(k) / n));
  addLoft(m, path, std::vector<double>(path.size(), r), std::vector<double>(path.size(), r), 4, up);
}

// A seat hanging on two ropes from a bar along x; the bar lies on the x
// axis, so a rotation about x swings the seat and leaves the bar in place.
meshData buildSwing(double cell) {
  meshData m;
  const double drop = 2.3, half = 0.72;
  addRod(m, dvec(-1.1, 0, 0), dvec(1.1, 0, 0), 0.06, cell, dvec(0, 1, 0));
  for (double sx : {1.0, -1.0}) addRod(m, dvec(sx * half, -0.04, 0), dvec(sx * half, -drop, 0), 0.025, cell, dvec(0, 0, 1));
  addBox(m, dvec(0, -drop - 0.05, 0), dvec(0.85, 0.05, 0.26), rot3(), cell);
  return m;
}

// The logo mark: a ring of square section with a slim slab standing
// through it, facing +z.
meshData buildLogo(double cell) {
  meshData m;
  const double ro = 1.2, ri = 0.98, hz = 0.1;
  int n = std::max(8, int(std::lround(2 * M_PI * ro / (2 * cell))));
  for (int i = 0; i < n; ++i) {
    double a0 = 2 * M_PI * i / n, a1 = 2 * M_PI * (i + 1) / n;
    auto at = [&](double r, double a, double z) { return m.add(dvec(r * std::cos(a), r * std::sin(a), z)); };
    int fo0 = at(ro, a0, hz), fo1 = at(ro, a1, hz), fi0 = at(ri, a0, hz), fi1 = at(ri, a1, hz);
    int bo0 = at(ro, a0, -hz), bo1 = at(ro, a1, -hz), bi0 = at(ri, a0, -hz), bi1 = at(ri, a1, -hz);
    m.face({fi0, fo0, fo1, fi1});
    m.face({bi1, bo1, bo0, bi0});
    m.face({fo0, bo0, bo1, fo1});
    m.face({fi1, bi1, bi0, fi0});
  }
  addBox(m, dvec(0, 0, 0), dvec(0.3, 1.45, 0.15), rot3(), cell);
  return m;
}
