// movable.cpp -- placement and bounding boxes of movable things, the part
// reader and rigid parts (no OpenGL here; drawing is movable_draw.cpp).
#include "geom/movable.h"

#include <algorithm>

#include "geom/objloader.h"
#include "geom/rigid.h"

void boxCorners(const vec3& lo, const vec3& hi, vec3 c[8]) {
  c[0] = vec3(lo.x, lo.y, lo.z);
  c[1] = vec3(lo.x, lo.y, hi.z);
  c[2] = vec3(lo.x, hi.y, hi.z);
  c[3] = vec3(lo.x, hi.y, lo.z);
  c[4] = vec3(hi.x, lo.y, lo.z);
  c[5] = vec3(hi.x, lo.y, hi.z);
  c[6] = vec3(hi.x, hi.y, hi.z);
  c[7] = vec3(hi.x, hi.y, lo.z);
}

// Everything starts mirrored in Z.
movable::movable() { transform.m[10] = -1; }

void movable::boundsOver(const vec3* list, size_t count) {
  if (count < 2) return;
  vec3 lo = list[1], hi = list[1];
  for (size_t i = 2; i < count; ++i) {
    const vec3& v = list[i];
    lo = vec3(std::min(lo.x, v.x), std::min(lo.y, v.y), std::min(lo.z, v.z));
    hi = vec3(std::max(hi.x, v.x), std::max(hi.y, v.y), std::max(hi.z, v.z));
  }
  centre = (lo + hi) / 2;
  halfSize = hi - centre;
  boxCorners(lo, hi, localCorners);
}

objloader::objloader(const std::string& path) {
  size_t slash = path.rfind('/');
  directory = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  fileName = slash == std::string::npos ? path : path.substr(slash + 1);
  readFile(fileName);
  unitScale = 1.0f;
  computeBounds();
}

bool objloader::readFile(const std::string&) { return true; }

void objloader::computeBounds() { boundsOver(vertices.data(), vertices.size()); }

rigid::rigid(const std::string& path) : loader(new objloader(path)) {
  vertices = loader->vertices;
  vertexNormals = loader->vertexNormals;
  groups = loader->groups;
  useAlpha = loader->useAlpha;
  partCentre = loader->partCentre;
  hasGeometry = true;
}

void rigid::computeBounds() { boundsOver(vertices.data(), vertices.size()); }
