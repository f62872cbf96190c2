// movable.h -- the common base of things that place themselves with their own
// transform: the articulated figure and the rigid limb parts. It holds the
// placement, a name and a bounding box in local and world form.
#pragma once
#include <string>

#include "geom/mat4.h"
#include "geom/vec3.h"

// Bounding box corners, (x0,y0,z0) the minimum and (x1,y1,z1) the maximum:
// 0 (x0,y0,z0) 1 (x0,y0,z1) 2 (x0,y1,z1) 3 (x0,y1,z0)
// 4 (x1,y0,z0) 5 (x1,y0,z1) 6 (x1,y1,z1) 7 (x1,y1,z0); corner k joins k + 4.
void boxCorners(const vec3& lo, const vec3& hi, vec3 corners[8]);

class movable {
public:
  movable();
  virtual ~movable() = default;
  virtual void draw() {}
  virtual void advance() {}
  virtual void computeBounds() {}

  mat4 transform;           // starts as a mirror in Z (element 10 = -1)
  std::string name;
  bool showBounds = false;  // also draw the bounding box (debugging)
  bool highlight = false;   // the alternative box colours
  vec3 centre, halfSize;
  vec3 localCorners[8];
  vec3 worldCorners[8];     // filled by nobody here; drawn by drawWorldBox

  // Box figures: four edges k -> k + 4 and the loops 0-3 and 4-7.
  void drawWorldBox() const;  // own matrix push, lighting off then on again
  void drawLocalBox() const;  // in the current matrix
protected:
  // Box over list[1..]: the first vertex does not take part. Fewer than two
  // vertices leave the box unchanged.
  void boundsOver(const vec3* list, size_t count);
};
