// objmesh.cpp -- reading OBJ text (no OpenGL here; drawing is objmesh_draw.cpp).
//
// Token rules: whitespace-separated tokens dispatched on their first
// character. Numbers are read the way the C scanner's %d and %f read them
// (leading whitespace, newlines included, is skipped). A line ends at "\n"
// or at a lone "\r". Skipping "the rest of a line" reads at most 255
// characters, so the remainder of a longer line is taken as further tokens;
// an "o" line alone is read to its end, as its name may hold any number of
// words of any length. Both passes tokenise every line identically; the
// second pass never stores more than the first pass counted. A leading
// UTF-8 byte-order mark is skipped.
#include "geom/objmesh.h"

#include "geom/readfile.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iostream>

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLineEnd(char c) { return c == '\n' || c == '\r'; }

enum cornerForm { formV, formVT, formVTN, formVN };

struct corner {
  int64_t v[3];  // position, texture coordinate, normal as written
};

struct reader {
  const char* p;
  const char* end;

  void skipSpace() {
    while (p < end && isSpace(*p)) ++p;
  }
  std::string_view token() {
    skipSpace();
    const char* s = p;
    while (p < end && !isSpace(*p)) ++p;
    return std::string_view(s, size_t(p - s));
  }
  // A 256-byte line read: at most 255 characters, up to and including the
  // line end.
  void skipLine() {
    const char* stop = end - p > 255 ? p + 255 : end;
    while (p < stop)
      if (isLineEnd(*p++)) return;
  }
  // Up to the line end, however far.
  void skipToLineEnd() {
    while (p < end && !isLineEnd(*p)) ++p;
  }
  bool literal(char c) {
    if (p < end && *p == c) return ++p, true;
    return false;
  }
  // %d: optional sign and at least one digit; huge values saturate (they
  // refer to nothing anyway).
  bool integer(int64_t& out) {
    skipSpace();
    const char* q = p;
    bool negative = false;
    if (q < end && (*q == '+' || *q == '-')) negative = *q++ == '-';
    if (q >= end || !isDigit(*q)) return false;
    int64_t v = 0;
    for (; q < end && isDigit(*q); ++q) v = v < (int64_t(1) << 40) ? v * 10 + (*q - '0') : v;
    out = negative ? -v : v;
    p = q;
    return true;
  }
  bool number(float& out);
  bool readCorner(cornerForm form, corner& c);
};

// %f: decimal or inf/nan text, correctly rounded to float.
bool reader::number(float& out) {
  skipSpace();
  const char* q = p;
  if (q < end && *q == '+') {
    ++q;
    if (q < end && *q == '-') return false;
  }
  float v = 0;
  auto res = std::from_chars(q, end, v, std::chars_format::general);
  if (res.ec == std::errc::invalid_argument) return false;
  if (res.ec == std::errc::result_out_of_range) {
    std::string text(q, res.ptr);
    v = std::strtof(text.c_str(), nullptr);
  }
  out = v;
  p = res.ptr;
  return true;
}

// One corner in the given form; on failure nothing is consumed.
bool reader::readCorner(cornerForm form, corner& c) {
  const char* start = p;
  c = corner{{0, 0, 0}};
  bool ok = integer(c.v[0]);
  if (ok && form == formVT) ok = literal('/') && integer(c.v[1]);
  if (ok && form == formVTN) ok = literal('/') && integer(c.v[1]) && literal('/') && integer(c.v[2]);
  if (ok && form == formVN) ok = literal('/') && literal('/') && integer(c.v[2]);
  if (!ok) p = start;
  return ok;
}

// Reads a face after its "f" token: the first corner token decides the form,
// then corners of that form are read while they can be. False when the
// first corner does not parse in its form (the face is then skipped).
bool readFace(reader& r, std::vector<corner>& corners, cornerForm& form) {
  corners.clear();
  std::string_view first = r.token();
  reader t{first.data(), first.data() + first.size()};
  corner c;
  bool firstOk;
  if (first.find("//") != std::string_view::npos) {
    form = formVN;
    firstOk = t.readCorner(formVN, c);
  } else if (t.readCorner(formVTN, c)) {
    form = formVTN;
    firstOk = true;
  } else if (t.readCorner(formVT, c)) {
    form = formVT;
    firstOk = true;
  } else {
    form = formV;
    firstOk = t.readCorner(formV, c);
  }
  corners.push_back(c);
  while (r.readCorner(form, c)) corners.push_back(c);
  return firstOk;
}

// A 1-based index, or a negative one relative to the elements read so far;
// false when it refers to nothing in an array of total elements.
bool resolve(int64_t n, int64_t readSoFar, int64_t total, int64_t& out) {
  if (n > 0) out = n - 1;
  else if (n < 0) out = readSoFar + n;
  else return false;
  return out >= 0 && out < total;
}

void cross(const float* a, const float* b, const float* c, float* out) {
  float u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
  float v[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
  out[0] = u[1] * v[2] - u[2] * v[1];
  out[1] = u[2] * v[0] - u[0] * v[2];
  out[2] = u[0] * v[1] - u[1] * v[0];
}

}  // namespace

// Parsing state shared by the helpers of the second pass.
struct objparse {
  objmesh& m;
  int64_t nPos = 0, nTex = 0, nNrm = 0, t = 0;
  std::vector<corner> corners;

  explicit objparse(objmesh& mesh) : m(mesh) {}
  uint32_t findOrAdd(const objvertex& rec, int64_t p);
  bool face(reader& r);
  void vertexLine(reader& r, std::string_view tok);
};

// Vertices are shared when all fifteen floats agree bit for bit, so 0.0
// and -0.0 make different vertices.
uint32_t objparse::findOrAdd(const objvertex& rec, int64_t p) {
  for (int32_t i = m.vertexLookup[size_t(p)]; i >= 0; i = m.vertexNext[size_t(i)])
    if (std::memcmp(&m.vertices[size_t(i)], &rec, sizeof rec) == 0) return uint32_t(i);
  uint32_t index = uint32_t(m.vertices.size());
  m.vertices.push_back(rec);
  m.vertexNext.push_back(m.vertexLookup[size_t(p)]);
  m.vertexLookup[size_t(p)] = int32_t(index);
  return index;
}

// A face becomes a fan around its first corner. Faces with fewer than three
// corners or any index that refers to nothing are skipped whole.
bool objparse::face(reader& r) {
  cornerForm form;
  bool firstOk = readFace(r, corners, form);
  size_t n = corners.size();
  bool hasT = form == formVT || form == formVTN, hasN = form == formVN || form == formVTN;
  if (!firstOk || n < 3 || t + int64_t(n - 2) > m.triangleCount) return false;
  // Resolve every corner first, so that a skipped face adds no vertex.
  for (corner& c : corners) {
    int64_t idx[3] = {0, -1, -1};
    if (!resolve(c.v[0], nPos, m.positionCount, idx[0])) return false;
    if (hasT && !resolve(c.v[1], nTex, m.texcoordCount, idx[1])) return false;
    if (hasN && !resolve(c.v[2], nNrm, m.normalCount, idx[2])) return false;
    c = corner{{idx[0], idx[1], idx[2]}};
  }
  for (corner& c : corners) {
    objvertex rec;
    std::memcpy(rec.f, &m.positions[size_t(c.v[0]) * 3], 3 * sizeof(float));
    if (c.v[1] >= 0) std::memcpy(rec.f + 3, &m.texcoords[size_t(c.v[1]) * 2], 2 * sizeof(float));
    if (c.v[2] >= 0) std::memcpy(rec.f + 5, &m.normals[size_t(c.v[2]) * 3], 3 * sizeof(float));
    c.v[0] = findOrAdd(rec, c.v[0]);  // the corner now holds its vertex index
  }
  for (size_t k = 2; k < n; ++k, ++t) {
    uint32_t* tri = &m.indices[size_t(t) * 3];
    tri[0] = uint32_t(corners[0].v[0]);
    tri[1] = uint32_t(corners[k - 1].v[0]);
    tri[2] = uint32_t(corners[k].v[0]);
  }
  return true;
}

// "v" x y z, "vn" x y z, "vt" s t: the numbers after the keyword; what
// follows them is read as further tokens. Elements beyond the first pass's
// count are read and dropped.
void objparse::vertexLine(reader& r, std::string_view tok) {
  float* dst = nullptr;
  int want = 3;
  if (tok.size() == 1) {
    if (nPos < m.positionCount) dst = &m.positions[size_t(nPos) * 3];
    nPos += nPos < m.positionCount;
  } else if (tok[1] == 'n') {
    if (nNrm < m.normalCount) dst = &m.normals[size_t(nNrm) * 3];
    nNrm += nNrm < m.normalCount;
  } else if (tok[1] == 't') {
    want = 2;
    if (nTex < m.texcoordCount) dst = &m.texcoords[size_t(nTex) * 2];
    nTex += nTex < m.texcoordCount;
  } else {
    r.skipLine();
    return;
  }
  float v;
  for (int i = 0; i < want && r.number(v); ++i)
    if (dst) dst[i] = v;
}

void objmesh::load(const std::string& path) {
  std::cout << "Obj Load: " << path << "\n" << std::flush;
  std::string text;
  if (!readWholeFile(path, text)) return;
  parse(text);
}

// First pass: counts of positions, texture coordinates, normals and triangles.
static void countElements(std::string_view text, int64_t count[4]) {
  std::vector<corner> corners;
  cornerForm form;
  reader r{text.data(), text.data() + text.size()};
  for (std::string_view tok; !(tok = r.token()).empty();) {
    if (tok[0] == 'f') {
      if (readFace(r, corners, form) && corners.size() >= 3) count[3] += int64_t(corners.size()) - 2;
      continue;
    }
    if (tok[0] == 'o') {
      r.skipToLineEnd();
      continue;
    }
    if (tok[0] == 'v') {
      if (tok.size() == 1) ++count[0];
      else if (tok[1] == 't') ++count[1];
      else if (tok[1] == 'n') ++count[2];
    }
    r.skipLine();
  }
}

void objmesh::parse(std::string_view text) {
  text = skipByteOrderMark(text);
  *this = objmesh();
  loaded = true;
  int64_t count[4] = {0, 0, 0, 0};
  countElements(text, count);
  int64_t nPos = count[0], nTex = count[1], nNrm = count[2], nTri = count[3];
  positionCount = int32_t(nPos), texcoordCount = int32_t(nTex), normalCount = int32_t(nNrm);
  triangleCount = int32_t(nTri);
  hasPositions = nPos > 0, hasNormals = nNrm > 0, hasTexcoords = nTex > 0;
  positions.assign(size_t(nPos) * 3, 0.f);
  texcoords.assign(size_t(nTex) * 2, 0.f);
  normals.assign(size_t(nNrm) * 3, 0.f);
  indices.assign(size_t(nTri) * 3, 0u);
  vertexLookup.assign(size_t(nPos), -1);
  vertices.reserve(size_t(nPos));  // most meshes have about one vertex per position
  vertexNext.reserve(size_t(nPos));

  // Second pass: read.
  objparse s(*this);
  reader r{text.data(), text.data() + text.size()};
  for (std::string_view tok; !(tok = r.token()).empty();) {
    if (tok[0] == 'v') s.vertexLine(r, tok);
    else if (tok[0] == 'f') s.face(r);
    else if (tok[0] == 'o') {
      // An object starts here; its name is the rest of the line.
      objectStarts.push_back(int32_t(s.t));
      r.skipToLineEnd();
    } else r.skipLine();
  }
  objectStarts.push_back(int32_t(s.t));
  if (!hasNormals) generateNormals(size_t(s.t));
}

// Smooth normals: each triangle adds its unnormalised face normal to its
// three vertices (larger triangles weigh more), then every sum is scaled to
// unit length. A vertex whose sum is zero keeps a zero normal.
void objmesh::generateNormals(size_t triangles) {
  for (objvertex& v : vertices) v.f[5] = v.f[6] = v.f[7] = 0;
  for (size_t t = 0; t < triangles; ++t) {
    objvertex* c[3] = {&vertices[indices[3 * t]], &vertices[indices[3 * t + 1]], &vertices[indices[3 * t + 2]]};
    float n[3];
    cross(c[0]->f, c[1]->f, c[2]->f, n);
    for (objvertex* v : c)
      for (int k = 0; k < 3; ++k) v->f[5 + k] += n[k];
  }
  for (objvertex& v : vertices) {
    float len = std::sqrt(v.f[5] * v.f[5] + v.f[6] * v.f[6] + v.f[7] * v.f[7]);
    if (len > 0) {
      float inv = 1.0f / len;
      v.f[5] *= inv, v.f[6] *= inv, v.f[7] *= inv;
    }
  }
  hasNormals = true;
}

int objmesh::objectCount() const { return objectStarts.empty() ? 0 : int(objectStarts.size()) - 1; }

int objmesh::objectTriangles(int k) const {
  if (k < 0 || k >= objectCount()) return 0;
  return objectStarts[size_t(k) + 1] - objectStarts[size_t(k)];
}
