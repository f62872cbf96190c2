// objmesh.h -- a Wavefront OBJ file loaded in two passes into indexed,
// interleaved triangles, drawn with client-side arrays one named object
// ("o" line) at a time. Loading touches no OpenGL; only draw does.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One vertex as OpenGL reads it: position (0-2), texture coordinate (3-4),
// normal (5-7), seven spare floats that stay zero. 60 bytes.
struct objvertex {
  float f[15] = {};
};
static_assert(sizeof(objvertex) == 60, "vertex records are handed to OpenGL with stride 60");

class objmesh {
public:
  // Triangle count at each "o" line (the name, the rest of the line, is not
  // kept) and once more at the end: object k is
  // triangles objectStarts[k] .. objectStarts[k+1]. Faces before the first
  // "o" line belong to no object.
  std::vector<int32_t> objectStarts;
  bool loaded = false;  // the file was opened; draw does nothing before
  bool hasPositions = false, hasTexcoords = false, hasNormals = false;
  int32_t positionCount = 0, texcoordCount = 0, normalCount = 0, triangleCount = 0;  // first pass
  std::vector<objvertex> vertices;  // unique vertices
  std::vector<uint32_t> indices;    // three per triangle, sized by the first pass
  std::vector<float> positions;     // three per "v" line, as read
  std::vector<float> texcoords;     // two per "vt" line
  std::vector<float> normals;       // three per "vn" line
  // Vertex sharing: the vertices made from position p form a chain that
  // starts at vertexLookup[p] and goes on through vertexNext; -1 ends it.
  // Only vertices of the same position are ever compared.
  std::vector<int32_t> vertexLookup;
  std::vector<int32_t> vertexNext;

  // Logs "Obj Load: <path>", then reads the file. A file that cannot be
  // opened leaves the mesh empty and unloaded; no error is raised.
  void load(const std::string& path);
  // The same reading from text in memory (both passes); sets loaded.
  void parse(std::string_view text);

  // Number of named objects and the triangles of object k (0 outside).
  int objectCount() const;
  int objectTriangles(int k) const;

  // Draws object k, or every object when k < 0; k past the last object
  // draws nothing. Needs a current GL context; leaves the client arrays
  // disabled and changes no other state.
  void draw(int object) const;

private:
  void generateNormals(size_t triangles);
};
