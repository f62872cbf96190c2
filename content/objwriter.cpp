// objwriter.cpp -- rotations, the polygon list and the two OBJ writers.
#include "content/objwriter.h"

#include <cstdio>
#include <map>
#include <tuple>

rot3 rot3::axisAngle(dvec axis, double degrees) {
  dvec a = normalised(axis);
  double r = degrees * M_PI / 180.0, c = std::cos(r), s = std::sin(r), k = 1 - c;
  rot3 q;
  q.m[0][0] = c + a.x * a.x * k;       q.m[0][1] = a.x * a.y * k - a.z * s; q.m[0][2] = a.x * a.z * k + a.y * s;
  q.m[1][0] = a.y * a.x * k + a.z * s; q.m[1][1] = c + a.y * a.y * k;       q.m[1][2] = a.y * a.z * k - a.x * s;
  q.m[2][0] = a.z * a.x * k - a.y * s; q.m[2][1] = a.z * a.y * k + a.x * s; q.m[2][2] = c + a.z * a.z * k;
  return q;
}

rot3 rot3::frame(dvec axisY, dvec hint) {
  dvec y = normalised(axisY);
  dvec x = normalised(cross(y, hint));
  if (length(x) < 1e-9) x = normalised(cross(y, dvec(1, 0, 0.3)));
  dvec z = cross(x, y);
  rot3 q;
  dvec cols[3] = {x, y, z};
  for (int c = 0; c < 3; ++c) {
    q.m[0][c] = cols[c].x;
    q.m[1][c] = cols[c].y;
    q.m[2][c] = cols[c].z;
  }
  return q;
}

rot3 rot3::operator*(const rot3& b) const {
  rot3 q;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) q.m[i][j] = m[i][0] * b.m[0][j] + m[i][1] * b.m[1][j] + m[i][2] * b.m[2][j];
  return q;
}

dvec rot3::operator*(const dvec& v) const {
  return dvec(m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z, m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
              m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z);
}

rot3 rot3::transposed() const {
  rot3 q;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) q.m[i][j] = m[j][i];
  return q;
}

void meshData::transform(size_t from, const rot3& r, const dvec& shift) {
  for (size_t i = from; i < verts.size(); ++i) verts[i] = r * verts[i] + shift;
}

void meshData::weld() {
  std::map<std::tuple<long long, long long, long long>, int> seen;
  std::vector<int> remap(verts.size());
  std::vector<dvec> kept;
  for (size_t i = 0; i < verts.size(); ++i) {
    auto key = std::make_tuple(std::llround(verts[i].x * 1e7), std::llround(verts[i].y * 1e7),
                               std::llround(verts[i].z * 1e7));
    auto it = seen.find(key);
    if (it == seen.end()) {
      it = seen.emplace(key, int(kept.size())).first;
      kept.push_back(verts[i]);
    }
    remap[i] = it->second;
  }
  verts.swap(kept);
  for (auto& f : faces)
    for (int& c : f) c = remap[c];
}

void meshData::append(const meshData& other) {
  int base = int(verts.size());
  verts.insert(verts.end(), other.verts.begin(), other.verts.end());
  for (const auto& f : other.faces) {
    faces.push_back(f);
    for (int& c : faces.back()) c += base;
  }
}

long long sampledPoints(const meshData& m, int rings, int density) {
  long long n = 0;
  for (const auto& f : m.faces) n += (long long)rings * (long long)f.size() * (density / 2);
  return n;
}

// Writes the vertex block; "-0.00000" is folded to "0.00000" for tidy files.
static void writeVerts(FILE* f, const meshData& m) {
  char buf[3][32];
  for (const dvec& p : m.verts) {
    double c[3] = {p.x, p.y, p.z};
    for (int i = 0; i < 3; ++i) {
      std::snprintf(buf[i], sizeof buf[i], "%.5f", c[i]);
      if (std::string(buf[i]) == "-0.00000") std::snprintf(buf[i], sizeof buf[i], "0.00000");
    }
    std::fprintf(f, "v %s %s %s\n", buf[0], buf[1], buf[2]);
  }
}

static void writeFace(FILE* f, const std::vector<int>& face, const char* suffix) {
  std::fputc('f', f);
  for (int c : face) std::fprintf(f, " %d%s", c + 1, suffix);
  std::fputc('\n', f);
}

bool writeReducedObj(const std::string& path, const meshData& m) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  writeVerts(f, m);
  for (const auto& face : m.faces) writeFace(f, face, "//");
  return std::fclose(f) == 0;
}

bool writeObj(const std::string& path, const meshData& m) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  std::fprintf(f, "# generated mesh: %zu vertices, %zu faces, %zu objects\n", m.verts.size(),
               m.faces.size(), m.objectNames.size());
  writeVerts(f, m);
  for (size_t o = 0; o < m.objectNames.size(); ++o) {
    std::fprintf(f, "o %s\n", m.objectNames[o].c_str());
    size_t end = o + 1 < m.objectStarts.size() ? m.objectStarts[o + 1] : m.faces.size();
    for (size_t i = m.objectStarts[o]; i < end; ++i) writeFace(f, m.faces[i], "");
  }
  return std::fclose(f) == 0;
}
