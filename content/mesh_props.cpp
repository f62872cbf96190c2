// mesh_props.cpp -- the real-life scene's props: one bird with its wings
// spread along x (a vertex program flaps them by their distance from the
// body), and a classical standing statue with a sickle. Both are centred
// on the origin, y up, facing +z, since the scene spins them about it.
#include "content/mesh_family.h"

// Appends the mirror image (x -> -x) of every vertex and face from the
// given indices on, with the corner order reversed to keep faces outward.
static void mirrorX(meshData& m, size_t fromVert, size_t fromFace) {
  int shift = int(m.verts.size() - fromVert);
  size_t vertEnd = m.verts.size(), faceEnd = m.faces.size();
  for (size_t i = fromVert; i < vertEnd; ++i) m.add(dvec(-m.verts[i].x, m.verts[i].y, m.verts[i].z));
  for (size_t f = fromFace; f < faceEnd; ++f) {
    std::vector<int> face(m.faces[f].rbegin(), m.faces[f].rend());
    for (int& c : face) c += shift;
    m.faces.push_back(face);
  }
}

// The right wing (+x): a thin cambered shell, swept back, ten stations.
static void addWing(meshData& m) {
  const int n = 10;
  std::vector<int> le, top, bot, te;
  for (int k = 0; k <= n; ++k) {
    double u = double(k) / n, x = 0.14 + 1.86 * u;
    double chord = 0.62 * std::sqrt(std::max(0.0, 1 - std::pow(u, 2.4))) + 0.05;
    double mid = -0.28 * u * u, t = 0.05 * (1 - u) + 0.008, y = 0.06 * u * u;
    le.push_back(m.add(dvec(x, y, mid + 0.45 * chord)));
    top.push_back(m.add(dvec(x, y + t, mid + 0.1 * chord)));
    bot.push_back(m.add(dvec(x, y - t * 0.5, mid + 0.1 * chord)));
    te.push_back(m.add(dvec(x, y, mid - 0.55 * chord)));
  }
  for (int k = 0; k < n; ++k) {
    m.face({le[k], le[k + 1], top[k + 1], top[k]});
    m.face({top[k], top[k + 1], te[k + 1], te[k]});
    m.face({te[k], te[k + 1], bot[k + 1], bot[k]});
    m.face({bot[k], bot[k + 1], le[k + 1], le[k]});
  }
}

// One bird about 4 across the wings, beak toward +z.
meshData buildBird() {
  meshData m;
  m.beginObject("bird");
  const double z[8] = {-0.85, -0.6, -0.2, 0.15, 0.45, 0.62, 0.8, 0.98};
  const double r[8] = {0, 0.11, 0.21, 0.23, 0.15, 0.15, 0.07, 0};
  const double y[8] = {0.02, 0.02, 0, 0, 0.06, 0.1, 0.09, 0.08};
  std::vector<dvec> path;
  std::vector<double> rx, ry;
  for (int k = 0; k < 8; ++k) {
    path.push_back(dvec(0, y[k], z[k]));
    rx.push_back(r[k]);
    ry.push_back(r[k] * 0.9);
  }
  addLoft(m, path, rx, ry, 10, dvec(0, 1, 0));
  size_t v0 = m.verts.size(), f0 = m.faces.size();
  addWing(m);
  int root = m.add(dvec(0, 0.03, -0.55));
  int a = m.add(dvec(0.32, 0.03, -1.25)), b = m.add(dvec(0, 0.03, -1.15));
  m.face({root, a, b});
  m.face({root, b, a});
  mirrorX(m, v0, f0);
  return m;
}

// A robe hanging from the waist: rings round y with folds in the radius.
static void addRobe(meshData& m, double yTop, double yHem, double rTop, double rHem) {
  const int sides = 28, rings = 8;
  int base = int(m.verts.size());
  for (int k = 0; k <= rings; ++k) {
    double s = double(k) / rings, yy = yTop + (yHem - yTop) * s, rr = rTop + (rHem - rTop) * std::sqrt(s);
    for (int i = 0; i < sides; ++i) {
      double a = 2 * M_PI * i / sides, fold = 1 + 0.07 * s * std::sin(9 * a + 2 * s);
      m.add(dvec(rr * fold * std::sin(a), yy, rr * 0.8 * fold * std::cos(a)));
    }
  }
  for (int k = 0; k < rings; ++k)
    for (int i = 0; i < sides; ++i) {
      int i1 = (i + 1) % sides, row = base + k * sides, next = row + sides;
      m.face({row + i, next + i, next + i1, row + i1});
    }
}

static void addSickle(meshData& m, dvec hand) {
  addBeam(m, hand - dvec(0, 0.12, 0), hand + dvec(0, 0.32, 0), 0.045);
  dvec centre = hand + dvec(0.2, 0.32, 0);
  for (int k = 0; k < 8; ++k) {
    double a0 = M_PI * (1 - k / 9.0), a1 = M_PI * (1 - (k + 1) / 9.0);
    addBeam(m, centre + dvec(0.2 * std::cos(a0), 0.26 * std::sin(a0), 0),
            centre + dvec(0.2 * std::cos(a1), 0.26 * std::sin(a1), 0), 0.05 - 0.004 * k);
  }
}

// A bearded figure in contrapposto on a plinth, a robe round the hips and
// over one shoulder, the right hand raising a sickle; about 4.1 high.
meshData buildStatue() {
  meshData m;
  m.beginObject("statue");
  addBox(m, dvec(0, -1.82, 0), dvec(0.55, 0.2, 0.45), rot3(), 0);
  addBox(m, dvec(0, -1.58, 0), dvec(0.48, 0.04, 0.4), rot3(), 0);
  dvec kneeL(0.17, -0.85, 0.02), kneeR(-0.2, -0.86, 0.14);
  addLimb(m, dvec(0.17, -0.1, 0), kneeL, 0.15, 0.11, 10, 6);
  addLimb(m, kneeL, dvec(0.17, -1.45, 0), 0.11, 0.07, 10, 6);
  addLimb(m, dvec(-0.17, -0.1, 0), kneeR, 0.15, 0.11, 10, 6);
  addLimb(m, kneeR, dvec(-0.22, -1.45, -0.02), 0.11, 0.07, 10, 6);
  addEllipsoid(m, dvec(0.17, -1.49, 0.1), dvec(0.08, 0.06, 0.18), rot3(), 3);
  addEllipsoid(m, dvec(-0.22, -1.49, 0.08), dvec(0.08, 0.06, 0.18), rot3::y(-12), 3);
  addRobe(m, 0.0, -1.1, 0.36, 0.5);
  addEllipsoid(m, dvec(0, 0.48, 0), dvec(0.4, 0.55, 0.25), rot3(), 6);
  addLimb(m, dvec(0.34, 0.9, 0.06), dvec(-0.3, -0.02, 0.12), 0.13, 0.11, 8, 6);  // robe over the shoulder
  addLimb(m, dvec(0, 0.92, 0), dvec(0, 1.2, 0.02), 0.11, 0.1, 8, 4);
  addEllipsoid(m, dvec(0, 1.42, 0.02), dvec(0.17, 0.22, 0.19), rot3(), 4);
  addEllipsoid(m, dvec(0, 1.28, 0.1), dvec(0.13, 0.15, 0.1), rot3::x(-20), 3);
  addEllipsoid(m, dvec(0, 1.5, -0.03), dvec(0.19, 0.17, 0.19), rot3(), 4);
  dvec elbowR(-0.68, 1.22, 0.05), handR(-0.6, 1.68, 0.1);
  addLimb(m, dvec(-0.4, 0.86, 0), elbowR, 0.12, 0.1, 8, 5);
  addLimb(m, elbowR, handR, 0.1, 0.07, 8, 5);
  addEllipsoid(m, handR, dvec(0.07, 0.09, 0.07), rot3(), 3);
  addSickle(m, handR);
  dvec elbowL(0.52, 0.32, 0.04), handL(0.4, -0.1, 0.16);
  addLimb(m, dvec(0.4, 0.86, 0), elbowL, 0.12, 0.1, 8, 5);
  addLimb(m, elbowL, handL, 0.1, 0.07, 8, 5);
  addEllipsoid(m, handL, dvec(0.07, 0.09, 0.07), rot3(), 3);
  return m;
}
