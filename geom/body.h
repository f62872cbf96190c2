// body.h -- a walking figure: a skeleton posed by blending two neighbouring
// motion frames per joint, drawn as one named object of a limb mesh per bone.
#pragma once
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "geom/mat4.h"
#include "geom/movable.h"
#include "geom/objmesh.h"
#include "geom/skeleton.h"

class body : public movable {
public:
  // Loads the motion file; fileNotFound passes to the caller.
  explicit body(const std::string& path);
  // Takes a skeleton already loaded (tests, tools).
  explicit body(std::unique_ptr<::skeleton> loaded);

  using movable::draw;
  // Poses the figure at framePosition and draws its limbs from limbMesh
  // under the current model-view matrix. Needs a current GL context.
  void draw(const objmesh& limbMesh);
  void advance() override;  // one frame on; back to 1 after the last

  std::deque<mat4> matrixStack;  // the identity at the bottom, always
  float framePosition = 1.0f;    // motion position in frames (see jointMatrix)
  const objmesh* mesh = nullptr; // the limb mesh of the current draw; not owned
  std::unique_ptr<::skeleton> skeleton;

  // Called for every bone J -> C with J's joint matrix.
  using boneFn = void (*)(body& b, const joint& from, const mat4& m, void* user);
  // Walks the joint tree depth-first, posing each joint that has children
  // and calling bone for each of its children. No OpenGL.
  void pose(boneFn bone, void* user);
  // The joint matrix of j under parent: blend of the two frames that
  // framePosition falls between. Trims the root's frames to 15 entries.
  mat4 jointMatrix(const joint& j, const mat4& parent);

private:
  struct pending {
    const joint* j;
    size_t next;
  };
  std::vector<pending> walk;  // kept between draws so posing does not allocate
};

// Limb table: the limb mesh object drawn for the bones starting at a joint.
struct limbEntry {
  const char* name;
  float tx, ty, tz;
  float scale;  // 0: no scale
  int object;
};
const limbEntry* findLimb(const std::string& jointName);  // exact name; null when absent
