// mesh_landmarks.cpp -- the city's landmarks and the tree, modelled upright
// (y up, standing on y = 0 unless said). The recipes turn them into the
// orientation their scene's rotations undo.
#include "content/content.h"
#include "content/mesh_family.h"

// A square pyramid on the y = base plane; apex `height` above.
static void addPyramid(meshData& m, dvec base, double half, double height) {
  int a = m.add(base + dvec(-half, 0, -half)), b = m.add(base + dvec(half, 0, -half));
  int c = m.add(base + dvec(half, 0, half)), d = m.add(base + dvec(-half, 0, half));
  int top = m.add(base + dvec(0, height, 0));
  m.face({a, b, c, d});
  m.face({d, c, top});
  m.face({c, b, top});
  m.face({b, a, top});
  m.face({a, d, top});
}

// Half width of the lattice tower at height y: the concave flare of its legs.
static double towerHalf(double y) { return 0.06 + 1.29 * std::exp(-3.2 * y / 6.5); }

static dvec towerCorner(double y, int corner, double inset) {
  double h = towerHalf(y) - inset;
  return dvec(corner == 0 || corner == 3 ? h : -h, y, corner < 2 ? h : -h);
}

// Four flared corner chords, cross-bracing on every face, two platforms,
// arches between the feet, a lantern and a spire: about 6.6 high.
meshData buildLatticeTower() {
  meshData m;
  m.beginObject("lattice_tower");
  const int levels = 18;
  auto level = [](int i) { return 6.0 * std::pow(double(i) / levels, 1.15); };
  for (int i = 0; i < levels; ++i) {
    double y0 = level(i), y1 = level(i + 1), w = 0.05 + 0.16 * std::exp(-3.0 * y0 / 6.5);
    for (int c = 0; c < 4; ++c) {
      int n = (c + 1) % 4;
      addBeam(m, towerCorner(y0, c, 0), towerCorner(y1, c, 0), w);
      addBeam(m, towerCorner(y0, c, 0), towerCorner(y1, n, 0), w * 0.35);
      addBeam(m, towerCorner(y0, n, 0), towerCorner(y1, c, 0), w * 0.35);
    }
  }
  for (double y : {1.25, 2.55}) {
    double h = towerHalf(y) + 0.08;
    addBox(m, dvec(0, y, 0), dvec(h, 0.07, h), rot3(), 0);
  }
  for (int side = 0; side < 4; ++side) {  // an arch under the first platform on each face
    rot3 turn = rot3::y(90.0 * side);
    const int n = 8;
    for (int k = 0; k < n; ++k) {
      auto arc = [&](int j) {
        double a = M_PI * j / n, y = 0.2 + 1.0 * std::sin(a), h = towerHalf(y);
        return turn * dvec(h * std::cos(a), y, h);
      };
      addBeam(m, arc(k), arc(k + 1), 0.07);
    }
  }
  addBox(m, dvec(0, 6.05, 0), dvec(0.13, 0.12, 0.13), rot3(), 0);
  addBeam(m, dvec(0, 6.1, 0), dvec(0, 6.6, 0), 0.04);
  return m;
}

// A clock tower: a ribbed shaft, a clock stage with four dials, a belfry,
// a steep roof with corner pinnacles and a finial; about 4 high.
meshData buildClockTower() {
  meshData m;
  m.beginObject("clock_tower");
  addBox(m, dvec(0, 1.1, 0), dvec(0.3, 1.1, 0.3), rot3(), 0);
  for (int c = 0; c < 4; ++c) {
    dvec at = rot3::y(90.0 * c) * dvec(0.3, 0, 0.3);
    addBox(m, at + dvec(0, 1.15, 0), dvec(0.05, 1.15, 0.05), rot3(), 0);
  }
  addBox(m, dvec(0, 2.5, 0), dvec(0.37, 0.3, 0.37), rot3(), 0);
  std::vector<dvec> dial;
  for (int k = 0; k < 16; ++k) dial.push_back(dvec(0.27 * std::cos(k * M_PI / 8), 0.27 * std::sin(k * M_PI / 8), 0));
  for (int side = 0; side < 4; ++side)
    addPrism(m, dial, 0.04, rot3::y(90.0 * side), rot3::y(90.0 * side) * dvec(0, 2.5, 0.38));
  addBox(m, dvec(0, 2.95, 0), dvec(0.33, 0.15, 0.33), rot3(), 0);
  addPyramid(m, dvec(0, 3.1, 0), 0.36, 0.85);
  for (int c = 0; c < 4; ++c) addPyramid(m, rot3::y(90.0 * c) * dvec(0.34, 3.1, 0.34), 0.05, 0.35);
  addBeam(m, dvec(0, 3.8, 0), dvec(0, 4.15, 0), 0.03);
  return m;
}

// A column from the stylobate up: twelve-sided shaft with a slight taper
// and a square capital.
static void addColumn(meshData& m, dvec foot, double height, double r) {
  std::vector<dvec> path = {foot, foot + dvec(0, height * 0.5, 0), foot + dvec(0, height, 0)};
  addLoft(m, path, {r, r * 0.95, r * 0.82}, {r, r * 0.95, r * 0.82}, 12, dvec(0, 0, 1));
  addBox(m, foot + dvec(0, height + 0.09, 0), dvec(r * 1.25, 0.09, r * 1.25), rot3(), 0);
}

// A Doric temple: three steps, 8 x 17 columns, entablature and a pitched
// roof with pediments; long axis along z, 14 wide.
meshData buildTemple() {
  meshData m;
  m.beginObject("temple");
  const double hw = 7.0, hl = 15.75, col = 4.7, top = 0.6;
  for (int s = 0; s < 3; ++s)
    addBox(m, dvec(0, 0.1 + 0.2 * s, 0), dvec(hw + 0.6 - 0.2 * s, 0.1, hl + 0.6 - 0.2 * s), rot3(), 0);
  for (int i = 0; i < 8; ++i)
    for (int j = 0; j < 17; ++j) {
      if (i != 0 && i != 7 && j != 0 && j != 16) continue;
      addColumn(m, dvec(-hw + 0.5 + i * (2 * hw - 1) / 7, top, -hl + 0.5 + j * (2 * hl - 1) / 16), col, 0.42);
    }
  double eave = top + col + 0.18;
  addBox(m, dvec(0, eave + 0.5, 0), dvec(hw + 0.05, 0.5, hl + 0.05), rot3(), 0);
  addBox(m, dvec(0, top + col * 0.5, 0), dvec(hw - 2.0, col * 0.5, hl - 3.0), rot3(), 0);  // cella
  std::vector<dvec> gable = {dvec(-hw - 0.1, 0, 0), dvec(hw + 0.1, 0, 0), dvec(0, 1.6, 0)};
  addPrism(m, gable, 2 * hl + 0.2, rot3(), dvec(0, eave + 1.0, 0));
  return m;
}

struct branchShape {
  dvec from, dir;
  double length, radius;
  int depth;
};

// Branches split two to four ways, leaning out from their parent; the last
// two orders carry leaf clumps, so the crown is full inside as well.
static void addBranch(meshData& m, contentRng& rng, const branchShape& b) {
  dvec to = b.from + b.dir * b.length;
  addLimb(m, b.from, to, b.radius, b.radius * 0.7, 6, 4);
  if (b.depth <= 1) {
    double r = (b.depth == 0 ? 0.3 : 0.36) + 0.14 * rng.uniform();
    addEllipsoid(m, to, dvec(r * 1.25, r, r * 1.25), rot3::y(rng.range(0, 90)), 3);
  }
  if (b.depth == 0) return;
  int n = 2 + int(rng.uniform() * 2.99);
  double spin = rng.range(0, 360);
  for (int i = 0; i < n; ++i) {
    rot3 turn = rot3::y(spin + 360.0 * i / n + rng.range(-20, 20)) * rot3::z(rng.range(30, 55));
    dvec dir = normalised(turn * dvec(0, 1, 0) + b.dir * 0.6);
    addBranch(m, rng, {to, dir, b.length * rng.range(0.68, 0.82), b.radius * 0.65, b.depth - 1});
  }
}

// A broad deciduous tree, its foot at y = -0.7, about 3 high and 2.5 wide.
meshData buildTree(uint64_t seed) {
  contentRng rng(seed);
  meshData m;
  m.beginObject("tree");
  // The trunk flares into a flat foot on the ground line.
  addLoft(m, {dvec(0, -0.7, 0), dvec(0, -0.699, 0), dvec(0, -0.55, 0), dvec(0, -0.2, 0), dvec(0, 0.35, 0)},
          {0, 0.24, 0.17, 0.13, 0.11}, {0, 0.24, 0.17, 0.13, 0.11}, 8, dvec(0, 0, 1));
  for (int i = 0; i < 4; ++i) {
    rot3 turn = rot3::y(90.0 * i + rng.range(-25, 25)) * rot3::z(rng.range(28, 45));
    addBranch(m, rng, {dvec(0, 0.25, 0), normalised(turn * dvec(0, 1, 0)), 0.7, 0.09, 3});
  }
  return m;
}
