// objloader.h -- the geometry source of a rigid limb part: vertices, one
// normal per vertex and triangle lists with fixed-function materials.
#pragma once
#include <string>
#include <vector>

#include "geom/movable.h"

// Triangles with 1-based indices into the vertices and normals alike, and
// the material they are drawn with.
struct materialgroup {
  struct triangle {
    int v[3];
  };
  std::vector<triangle> triangles;
  float ambient[4] = {0.2f, 0.2f, 0.2f, 1};
  float diffuse[4] = {0.8f, 0.8f, 0.8f, 1};
  float specular[4] = {0, 0, 0, 1};
  float shininess = 0;
  float alpha = 1;
};

class objloader : public movable {
public:
  // Splits path at its last "/" into directory and fileName, reads the file
  // and computes the box.
  explicit objloader(const std::string& path);
  void computeBounds() override;

  std::string directory;  // with the trailing "/", empty when path has none
  std::string fileName;
  std::vector<vec3> vertices;
  std::vector<vec3> vertexNormals;  // one per vertex
  std::vector<materialgroup> groups;
  vec3 partCentre;
  bool useAlpha = false;
  float unitScale = 0;  // 1 once loaded

  // The part reader: parts carry no geometry of their own in this program,
  // so it reads nothing and reports success.
  bool readFile(const std::string& file);
};
