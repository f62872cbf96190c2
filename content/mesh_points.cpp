// mesh_points.cpp -- point-set meshes with fixed polygon budgets: the
// obelisk slab, the DNA strand, the fish school, the bird flock, the sphere.
// The sampler gives every polygon the same number of points, so a budget is
// a polygon count: these shapes are laid out by hand to fill their grid.
#include "content/content.h"
#include "content/mesh_family.h"

meshData fitToGrid(const std::function<meshData(double)>& build, int rings, int density,
                   long long capacity, double fill) {
  // Counts grow in steps (a face splits in two at once), so keep the
  // fullest mesh that stays at or below `fill` of the grid.
  meshData best;
  long long bestCount = 0;
  for (double cell = 1.0; cell > 0.005; cell *= 0.97) {
    meshData m = build(cell);
    long long n = sampledPoints(m, rings, density);
    if (n > 2 * capacity) break;
    if (n <= fill * capacity && n > bestCount) {
      best = std::move(m);
      bestCount = n;
    }
  }
  return best;
}

// A 1 : 4 : 9 slab standing on the origin's level, open at the bottom: five
// quadrilaterals of 405 000 points each at rings 450 / density 450.
meshData buildObelisk() {
  meshData m;
  const double hx = 1.0, hy = 2.25, hz = 0.25;
  dvec o(-hx, -hy, -hz);
  addQuadGrid(m, o + dvec(0, 0, 2 * hz), dvec(2 * hx, 0, 0), dvec(0, 2 * hy, 0), 1, 1);   // front
  addQuadGrid(m, o, dvec(0, 2 * hy, 0), dvec(2 * hx, 0, 0), 1, 1);                       // back
  addQuadGrid(m, o + dvec(2 * hx, 0, 0), dvec(0, 2 * hy, 0), dvec(0, 0, 2 * hz), 1, 1);   // right
  addQuadGrid(m, o, dvec(0, 0, 2 * hz), dvec(0, 2 * hy, 0), 1, 1);                       // left
  addQuadGrid(m, o + dvec(0, 2 * hy, 0), dvec(0, 0, 2 * hz), dvec(2 * hx, 0, 0), 1, 1);   // top
  return m;
}

// Two triangular strands wound twice about y with a groove offset, and
// rungs between them: 240 quadrilaterals.
meshData buildDna() {
  meshData m;
  const int segments = 32, rungs = 12;
  const double radius = 0.9, height = 4.4, turns = 2.0, groove = 140.0 * M_PI / 180.0;
  auto strand = [&](double s, double phase) {
    double a = 2 * M_PI * turns * s + phase;
    return dvec(radius * std::cos(a), height * (s - 0.5), radius * std::sin(a));
  };
  for (double phase : {0.0, groove}) {
    std::vector<dvec> path;
    for (int k = 0; k <= segments; ++k) path.push_back(strand(double(k) / segments, phase));
    addLoft(m, path, std::vector<double>(path.size(), 0.11), std::vector<double>(path.size(), 0.11), 3,
            dvec(0, 1, 0));
  }
  for (int r = 0; r < rungs; ++r) {
    double s = (r + 0.5) / rungs;
    dvec a = strand(s, 0), b = strand(s, groove);
    dvec in = (b - a) * 0.06;
    std::vector<dvec> path = {a + in, b - in};
    addLoft(m, path, {0.05, 0.05}, {0.05, 0.05}, 4, dvec(0, 1, 0));
  }
  return m;
}

// One fish along +x, nose at `at`: a laterally flattened body with a bend,
// a forked tail and three fins; 32 quadrilaterals and 22 triangles.
static void addFishBody(meshData& m, double len, double bend) {
  const double s[7] = {0, 0.07, 0.22, 0.42, 0.66, 0.88, 1.0};
  const double h[7] = {0, 0.55, 0.88, 0.92, 0.62, 0.22, 0};
  std::vector<dvec> path;
  std::vector<double> rx, ry;
  for (int k = 0; k < 7; ++k) {
    path.push_back(dvec(-len * s[k], 0, bend * len * s[k] * s[k]));
    ry.push_back(0.26 * len * h[k]);
    rx.push_back(0.11 * len * h[k]);
  }
  addLoft(m, path, rx, ry, 8, dvec(0, 1, 0));
  dvec t = path[6];
  dvec back = normalised(path[6] - path[5]);
  dvec up(0, 1, 0);
  int root = m.add(t - back * (0.03 * len)), notch = m.add(t + back * (0.16 * len));
  int top = m.add(t + back * (0.34 * len) + up * (0.3 * len));
  int low = m.add(t + back * (0.3 * len) - up * (0.24 * len));
  m.face({root, top, notch});
  m.face({root, notch, low});
  dvec d0 = path[2] + up * (0.2 * len), d1 = path[4] + up * (0.12 * len);
  m.face({m.add(d0), m.add(d1 + up * (0.2 * len) + back * (0.1 * len)), m.add(d1)});
  dvec a0 = path[4] - up * (0.12 * len);
  m.face({m.add(a0), m.add(a0 - up * (0.1 * len) + back * (0.12 * len)), m.add(a0 + back * (0.12 * len))});
  for (double side : {1.0, -1.0}) {
    dvec p = path[2] + dvec(0, -0.1 * len, side * 0.09 * len);
    m.face({m.add(p), m.add(p + dvec(-0.22 * len, -0.06 * len, side * 0.14 * len)),
            m.add(p + dvec(-0.12 * len, 0, side * 0.02 * len))});
  }
}

meshData buildFish(uint64_t seed) {
  contentRng rng(seed);
  meshData m;
  const dvec spots[6] = {{1.1, 0.4, 0.1},   {-0.5, 0.95, 0.75}, {-0.2, -0.35, -0.9},
                         {1.3, -0.8, 0.7},  {-1.4, 0.15, -0.1}, {0.25, -1.25, -0.15}};
  const double sizes[6] = {1.45, 1.1, 1.2, 0.95, 1.25, 1.0};
  for (int i = 0; i < 6; ++i) {
    size_t from = m.verts.size();
    addFishBody(m, sizes[i], rng.range(-0.25, 0.25));
    rot3 turn = rot3::y(rng.range(-14, 14)) * rot3::z(rng.range(-8, 8));
    m.transform(from, turn, spots[i] + dvec(sizes[i] * 0.5, 0, 0));
  }
  return m;
}

// One bird along +x with its wings along +-z, raised by `lift` degrees at
// the shoulder and bent back at the wrist; 30 quadrilaterals, 16 triangles.
static void addBirdShape(meshData& m, double lift, double wrist) {
  const double s[7] = {0, 0.1, 0.2, 0.38, 0.62, 0.85, 1.0};
  const double r[7] = {0, 0.05, 0.09, 0.13, 0.12, 0.06, 0};
  std::vector<dvec> path;
  std::vector<double> rad;
  for (int k = 0; k < 7; ++k) {
    path.push_back(dvec(0.55 - 1.1 * s[k], 0.05 * std::sin(M_PI * s[k] * 1.4), 0));
    rad.push_back(r[k]);
  }
  addLoft(m, path, rad, rad, 6, dvec(0, 1, 0));
  int tail = m.add(path[5]);
  m.face({tail, m.add(dvec(-0.9, 0.02, 0.16)), m.add(dvec(-0.95, 0.02, 0))});
  m.face({tail, m.add(dvec(-0.95, 0.02, 0)), m.add(dvec(-0.9, 0.02, -0.16))});
  for (double side : {1.0, -1.0}) {
    rot3 up = rot3::x(-side * lift);
    rot3 down = rot3::x(-side * (lift + wrist));
    dvec sh(0.12, 0.04, side * 0.08), el = sh + up * dvec(-0.05, 0, side * 0.45);
    dvec wr = el + up * dvec(-0.02, 0, side * 0.35), tip = wr + down * dvec(-0.35, 0, side * 0.45);
    dvec chord[3] = {dvec(-0.3, 0, 0), up * dvec(-0.32, 0, 0), down * dvec(-0.3, 0, 0)};
    int f0 = m.add(sh), f1 = m.add(el), f2 = m.add(wr), t = m.add(tip);
    int b0 = m.add(sh + chord[0]), b1 = m.add(el + chord[1]), b2 = m.add(wr + chord[2]);
    int mid = m.add(lerp(wr + chord[2], tip, 0.5) + down * dvec(-0.05, 0, 0));
    if (side > 0) {
      m.face({f0, b0, b1, f1});
      m.face({f1, b1, b2, f2});
      m.face({f2, b2, mid, t});
    } else {
      m.face({f0, f1, b1, b0});
      m.face({f1, f2, b2, b1});
      m.face({f2, t, mid, b2});
    }
  }
}

meshData buildBirds(uint64_t seed) {
  contentRng rng(seed);
  meshData m;
  const dvec spots[6] = {{0.9, 0.6, 0.2},  {-0.8, 1.1, -0.9}, {-0.3, -0.2, 1.0},
                         {1.4, -0.9, -0.6}, {-1.5, -0.6, 0.3}, {0.1, -1.4, -1.2}};
  const double lifts[6] = {32, -18, 8, 45, -30, 20}, sizes[6] = {1.3, 1.1, 1.2, 1.0, 1.15, 0.95};
  for (int i = 0; i < 6; ++i) {
    size_t from = m.verts.size();
    addBirdShape(m, lifts[i], lifts[i] > 0 ? -25 : 15);
    for (size_t v = from; v < m.verts.size(); ++v) m.verts[v] = m.verts[v] * sizes[i];
    rot3 turn = rot3::y(rng.range(-20, 20)) * rot3::z(rng.range(-10, 12)) * rot3::x(rng.range(-12, 12));
    m.transform(from, turn, spots[i]);
  }
  return m;
}

meshData buildSphere(int cells) {
  meshData m;
  addEllipsoid(m, dvec(), dvec(1.6, 1.6, 1.6), rot3(), cells);
  return m;
}
