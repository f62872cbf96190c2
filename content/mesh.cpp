// mesh.cpp -- recipes of the mesh family: the point-set meshes the particle
// scenes sample, and the landmark and prop meshes they draw as triangles.
#include "content/content.h"
#include "content/mesh_family.h"

namespace {

const long long bigGrid = 1536LL * 1536LL;   // the particle grid of every scene
const long long swingGrid = 512LL * 512LL;   // the intro's second swarm
const double fillTarget = 0.9;               // most of the grid, never wrapping

// A point set is written only when its sampling fills 60 % ... 100 % of the
// grid: fewer points leave the shape thin, more wrap over the first ones.
bool writePointSet(const std::string& path, const meshData& m, int rings, int density, long long grid) {
  long long n = sampledPoints(m, rings, density);
  if (n < grid * 6 / 10 || n > grid) return false;
  return writeReducedObj(path, m);
}

bool makeObelisk(const std::string& p) { return writePointSet(p, buildObelisk(), 450, 450, bigGrid); }
bool makeDna(const std::string& p) { return writePointSet(p, buildDna(), 100, 40, bigGrid); }
bool makeFish(const std::string& p) { return writePointSet(p, buildFish(0xf15a), 80, 40, bigGrid); }
bool makeBirds(const std::string& p) { return writePointSet(p, buildBirds(0xb1d5), 80, 50, bigGrid); }
bool makeSphere(const std::string& p) { return writePointSet(p, buildSphere(17), 15, 38, bigGrid); }

bool makeBaby(const std::string& p) {
  return writePointSet(p, fitToGrid(buildBaby, 18, 20, bigGrid, fillTarget), 18, 20, bigGrid);
}
bool makeVeltra(const std::string& p) {
  return writePointSet(p, fitToGrid(buildVeltra, 33, 33, bigGrid, fillTarget), 33, 33, bigGrid);
}
bool makeSwing(const std::string& p) {
  return writePointSet(p, fitToGrid(buildSwing, 30, 6, swingGrid, fillTarget), 30, 6, swingGrid);
}
bool makeLogo(const std::string& p) {
  return writePointSet(p, fitToGrid(buildLogo, 30, 30, swingGrid, fillTarget), 30, 30, swingGrid);
}

// The city draws its landmarks after a chain of rotations; the mesh is
// stored turned by the inverse of that chain so that it stands upright.
bool writeTurned(const std::string& path, meshData m, const rot3& sceneTurn) {
  m.transform(0, sceneTurn.transposed(), dvec());
  m.weld();
  return writeObj(path, m);
}

// Lattice tower: -58 about x, (sway about x), 90 about y, 190 about x.
bool makeLatticeTower(const std::string& p) {
  return writeTurned(p, buildLatticeTower(), rot3::x(-58) * rot3::y(90) * rot3::x(190));
}
// Temple: the lattice tower's chain with 18 about x first and -4 about y
// before the 90 about y, in the order the scene lists them.
bool makeTemple(const std::string& p) {
  meshData m = buildTemple();
  m.transform(0, rot3::y(30), dvec());  // a three-quarter view from the camera's side
  return writeTurned(p, m, rot3::x(18) * rot3::y(-4) * rot3::y(90) * rot3::x(190));
}
// Tower: -37 about (-0.5, 1, 0), 74 and 82 about y, 3 about x.
bool makeClockTower(const std::string& p) {
  return writeTurned(p, buildClockTower(),
                     rot3::axisAngle(dvec(-0.5, 1, 0), -37) * rot3::y(74) * rot3::y(82) * rot3::x(3));
}

bool makeTree(const std::string& p) {
  meshData m = buildTree(0x7433);
  m.weld();
  return writeObj(p, m);
}
bool makeBird(const std::string& p) {
  meshData m = buildBird();
  m.weld();
  return writeObj(p, m);
}
bool makeStatue(const std::string& p) {
  meshData m = buildStatue();
  m.weld();
  return writeObj(p, m);
}

}  // namespace

void addMeshRecipes(std::vector<recipe>& out) {
  out.push_back({"newobjects//obelisk.obj", makeObelisk});
  out.push_back({"newobjects//DNA.obj", makeDna});
  out.push_back({"newobjects//fish.obj", makeFish});
  out.push_back({"newobjects//bird.obj", makeBirds});
  out.push_back({"newobjects//sphere2.obj", makeSphere});
  out.push_back({"newobjects//baby.obj", makeBaby});
  out.push_back({"newobjects//veltra.obj", makeVeltra});
  out.push_back({"newobjects//swing.obj", makeSwing});
  out.push_back({"newobjects//logo.obj", makeLogo});
  out.push_back({"newobjects//Eiffel.obj", makeLatticeTower});
  out.push_back({"newobjects//Tower.obj", makeClockTower});
  out.push_back({"newobjects//Parthenon.obj", makeTemple});
  out.push_back({"newobjects//tree.obj", makeTree});
  out.push_back({"newobjects//bird_good.obj", makeBird});
  out.push_back({"newobjects//cronus.obj", makeStatue});
}
