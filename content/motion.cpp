// motion.cpp -- recipes of the motion family: the walker's motion file and
// the limb mesh it is drawn with. Both come from one skeleton table, so the
// limbs fit the joints they hang from.
#include <cstdio>

#include "content/content.h"
#include "content/mesh_walker.h"

namespace {

// Joints in file order (depth first); parent -1 is the root. A joint with
// an end offset gets an "End Site" child there.
const walkJoint skeletonTable[jointCount] = {
    {"hip", -1, {0, 0, 0}, {}, false},
    {"abdomen", 0, {0, 8, -1}, {}, false},
    {"chest", 1, {0, 16, 1}, {}, false},
    {"neck", 2, {0, 21, -1}, {}, false},
    {"head", 3, {0, 7, 1}, {0, 18, 0}, true},
    {"lCollar", 2, {3, 18, -1}, {}, false},
    {"lShldr", 5, {13, -1, 0}, {}, false},
    {"lForeArm", 6, {1, -26, 0}, {}, false},
    {"lHand", 7, {0, -23, 1}, {0, -16, 1}, true},
    {"rCollar", 2, {-3, 18, -1}, {}, false},
    {"rShldr", 9, {-13, -1, 0}, {}, false},
    {"rForeArm", 10, {-1, -26, 0}, {}, false},
    {"rHand", 11, {0, -23, 1}, {0, -16, 1}, true},
    {"lThigh", 0, {9, -5, 0}, {}, false},
    {"lShin", 13, {0, -46, 0}, {}, false},
    {"lFoot", 14, {0, -44, 0}, {0, -7, 13}, true},
    {"rThigh", 0, {-9, -5, 0}, {}, false},
    {"rShin", 16, {0, -46, 0}, {}, false},
    {"rFoot", 17, {0, -44, 0}, {0, -7, 13}, true},
};

void writeJoint(FILE* f, int j, int depth) {
  const walkJoint& s = skeletonTable[j];
  std::string tab(depth, '\t');
  std::fprintf(f, "%s%s %s\n%s{\n", tab.c_str(), j == 0 ? "ROOT" : "JOINT", s.name, tab.c_str());
  std::fprintf(f, "%s\tOFFSET %.2f %.2f %.2f\n", tab.c_str(), s.offset.x, s.offset.y, s.offset.z);
  if (j == 0)
    std::fprintf(f, "%s\tCHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation\n", tab.c_str());
  else
    std::fprintf(f, "%s\tCHANNELS 3 Zrotation Xrotation Yrotation\n", tab.c_str());
  for (int c = 0; c < jointCount; ++c)
    if (skeletonTable[c].parent == j) writeJoint(f, c, depth + 1);
  if (s.hasEnd)
    std::fprintf(f, "%s\tEnd Site\n%s\t{\n%s\t\tOFFSET %.2f %.2f %.2f\n%s\t}\n", tab.c_str(), tab.c_str(),
                 tab.c_str(), s.end.x, s.end.y, s.end.z, tab.c_str());
  std::fprintf(f, "%s}\n", tab.c_str());
}

// Two full cycles, so that a reader that loops over all frames and one
// that loops over the first cycle both see a seamless walk. Frames sample
// the middle of their slot of the stride, so no frame sits on a heel strike.
bool makeWalk(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  std::fprintf(f, "HIERARCHY\n");
  writeJoint(f, 0, 0);
  std::fprintf(f, "MOTION\nFrames: %d\nFrame Time: %.6f\n", 2 * cycleFrames, 1.0 / 6.0);
  for (int i = 0; i < 2 * cycleFrames; ++i) {
    walkPose p = walkAt(skeletonTable, (i % cycleFrames + 0.5) / cycleFrames);
    std::fprintf(f, "%.4f %.4f %.4f", p.rootPosition.x, p.rootPosition.y, p.rootPosition.z);
    for (int j = 0; j < jointCount; ++j)
      std::fprintf(f, " %.4f %.4f %.4f", p.angles[j].z, p.angles[j].x, p.angles[j].y);
    std::fprintf(f, "\n");
  }
  return std::fclose(f) == 0;
}

bool makeLimbs(const std::string& path) { return writeObj(path, buildLimbMesh(skeletonTable)); }

}  // namespace

void addMotionRecipes(std::vector<recipe>& out) {
  out.push_back({"newneomeshes//avatar_female_walk.bvh", makeWalk});
  out.push_back({"newneomeshes//human4.obj", makeLimbs});
}
