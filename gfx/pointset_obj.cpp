// pointset_obj.cpp -- the point sets' reduced OBJ reader: vertices and one
// run of faces into TGObject's polygon lists.
#include <fstream>

#include "gfx/tgobject.h"

void TGObject::clearPolygons() {
  std::vector<vec3>().swap(corners);
  std::vector<int>().swap(polygonStarts);
}

// Reads one run of faces; the leading "f" is already consumed. Each corner is
// a vertex number followed by two non-blank characters; the next non-blank
// character decides: "f" starts another face, the end of the file ends the
// run, anything else is the next corner. A failed read ends the run.
static void readFaces(std::istream& in, const std::vector<vec3>& vertices, TGObject& mesh) {
  std::vector<int> face;
  bool another = true;
  while (another) {
    another = false;
    face.clear();
    for (;;) {
      int number = 0;
      if (!(in >> number)) break;
      face.push_back(number);
      char skipped[2];
      if (!(in >> skipped[0] >> skipped[1])) break;
      int next = (in >> std::ws).peek();
      if (next == std::char_traits<char>::eof()) break;
      if (next == 'f') {
        in.get();
        another = true;
        break;
      }
    }
    // Faces that cannot be sampled, or that name missing vertices, are dropped.
    bool valid = face.size() >= 2;
    for (int number : face) valid = valid && number >= 1 && number <= int(vertices.size());
    if (!valid) continue;
    for (int number : face) mesh.corners.push_back(vertices[number - 1]);
    mesh.polygonStarts.push_back(int(mesh.corners.size()));
  }
}

void TGObject::readMesh(const std::string& fileName) {
  clearPolygons();
  polygonStarts.push_back(0);
  std::ifstream in(fileName);
  std::vector<vec3> vertices;
  std::string token;
  while (in >> token) {
    if (token == "v") {
      vec3 v;
      if (!(in >> v.x >> v.y >> v.z)) break;
      vertices.push_back(v);
    } else if (token == "f") {
      readFaces(in, vertices, *this);
      break;
    }
  }
}
