// rigid.h -- a rigid limb part: a triangle list with per-group materials,
// drawn in immediate mode under its own transform.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "geom/objloader.h"

class rigid : public movable {
public:
  explicit rigid(const std::string& path);  // builds an objloader and copies its lists
  void draw() override;                      // needs a current GL context
  void computeBounds() override;

  std::unique_ptr<objloader> loader;
  std::vector<vec3> vertices;
  std::vector<vec3> vertexNormals;
  std::vector<materialgroup> groups;
  vec3 partCentre;
  bool hasGeometry = false;
  bool useAlpha = false;

private:
  void drawGroups() const;
};
