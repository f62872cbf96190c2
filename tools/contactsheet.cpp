// contactsheet.cpp -- renders the baked data folder to one PNG for a look:
// every point-set mesh as points from two angles, the landmark and prop
// meshes as shaded triangles turned as their scenes draw them, the walker
// in three poses, the images, and a few stroke frames. Everything is read
// with the program's own loaders and projected on the CPU.
//   obelisk_contactsheet DATADIR OUT.png
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "geom/body.h"
#include "geom/objmesh.h"
#include "geom/skeleton.h"
#include "gfx/jpegdecode.h"
#include "gfx/tgobject.h"
#include "scenes/route.h"

namespace {

const int cell = 240, columns = 8;

struct v3 {
  float x, y, z;
};

// A panel: colour accumulation and depth.
struct panel {
  std::vector<float> rgb = std::vector<float>(cell * cell * 3, 0.0f);
  std::vector<float> depth = std::vector<float>(cell * cell, 1e30f);
  const char* label = "";
};

// Rotation rows from angles in degrees: turn about y, then tilt about x.
struct view {
  float m[9];
};
view makeView(float yawDeg, float pitchDeg) {
  float a = yawDeg * float(M_PI) / 180, b = pitchDeg * float(M_PI) / 180;
  float ca = std::cos(a), sa = std::sin(a), cb = std::cos(b), sb = std::sin(b);
  return {{ca, 0, sa, sa * sb, cb, -ca * sb, -sa * cb, sb, ca * cb}};
}
v3 apply(const view& r, v3 p) {
  return {r.m[0] * p.x + r.m[1] * p.y + r.m[2] * p.z, r.m[3] * p.x + r.m[4] * p.y + r.m[5] * p.z,
          r.m[6] * p.x + r.m[7] * p.y + r.m[8] * p.z};
}

// Maps view-space x, y into the panel so that all points fit with a margin.
struct fit {
  float cx = 0, cy = 0, s = 1;
};
fit fitAll(const std::vector<v3>& pts) {
  float x0 = 1e30f, x1 = -1e30f, y0 = 1e30f, y1 = -1e30f;
  for (const v3& p : pts) {
    x0 = std::min(x0, p.x), x1 = std::max(x1, p.x), y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
  }
  fit f;
  f.cx = (x0 + x1) / 2, f.cy = (y0 + y1) / 2;
  f.s = 0.9f * cell / std::max(1e-6f, std::max(x1 - x0, y1 - y0));
  return f;
}

void drawPoints(panel& pn, const std::vector<v3>& pts, const std::vector<float>& shade) {
  fit f = fitAll(pts);
  // About the brightness of one full layer of points over a quarter of the panel.
  float gain = std::min(1.0f, 0.12f * cell * cell / float(std::max<size_t>(pts.size(), 1)));
  for (size_t i = 0; i < pts.size(); ++i) {
    int x = int(cell / 2 + (pts[i].x - f.cx) * f.s), y = int(cell / 2 - (pts[i].y - f.cy) * f.s);
    if (x < 0 || y < 0 || x >= cell || y >= cell) continue;
    float* c = &pn.rgb[(y * cell + x) * 3];
    float s = gain * (0.3f + 0.7f * shade[i]);
    c[0] += s * 0.9f, c[1] += s * 0.95f, c[2] += s;
  }
}

// Flat-shaded triangles with a depth buffer; light from the upper left front.
void drawTriangles(panel& pn, const std::vector<v3>& tri, fit f) {
  for (size_t t = 0; t + 2 < tri.size(); t += 3) {
    v3 a = tri[t], b = tri[t + 1], c = tri[t + 2];
    v3 u{b.x - a.x, b.y - a.y, b.z - a.z}, w{c.x - a.x, c.y - a.y, c.z - a.z};
    v3 n{u.y * w.z - u.z * w.y, u.z * w.x - u.x * w.z, u.x * w.y - u.y * w.x};
    float len = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    if (len < 1e-12f) continue;
    float lit = 0.25f + 0.75f * std::fabs(-0.4f * n.x + 0.6f * n.y + 0.7f * n.z) / len;
    float px[3], py[3], pz[3];
    const v3* vs[3] = {&a, &b, &c};
    for (int k = 0; k < 3; ++k) {
      px[k] = cell / 2 + (vs[k]->x - f.cx) * f.s, py[k] = cell / 2 - (vs[k]->y - f.cy) * f.s, pz[k] = -vs[k]->z;
    }
    int xa = std::max(0, int(std::min({px[0], px[1], px[2]}))), xb = std::min(cell - 1, int(std::max({px[0], px[1], px[2]})) + 1);
    int ya = std::max(0, int(std::min({py[0], py[1], py[2]}))), yb = std::min(cell - 1, int(std::max({py[0], py[1], py[2]})) + 1);
    float area = (px[1] - px[0]) * (py[2] - py[0]) - (px[2] - px[0]) * (py[1] - py[0]);
    if (std::fabs(area) < 1e-9f) continue;
    for (int y = ya; y <= yb; ++y)
      for (int x = xa; x <= xb; ++x) {
        float sx = x + 0.5f, sy = y + 0.5f;
        float l1 = ((px[2] - px[1]) * (sy - py[1]) - (py[2] - py[1]) * (sx - px[1])) / area;
        float l2 = ((px[0] - px[2]) * (sy - py[2]) - (py[0] - py[2]) * (sx - px[2])) / area;
        float l3 = 1 - l1 - l2;
        if (l1 < 0 || l2 < 0 || l3 < 0) continue;
        float z = l1 * pz[0] + l2 * pz[1] + l3 * pz[2];
        if (z >= pn.depth[y * cell + x]) continue;
        pn.depth[y * cell + x] = z;
        for (int k = 0; k < 3; ++k) pn.rgb[(y * cell + x) * 3 + k] = lit * (k == 2 ? 0.8f : 0.95f);
      }
  }
}

void pointSetPanels(std::vector<panel>& out, const std::string& dir) {
  struct item { const char* file; int size, rings, density; };
  const item items[] = {{"obelisk", 1536, 450, 450}, {"DNA", 1536, 100, 40},  {"fish", 1536, 80, 40},
                        {"bird", 1536, 80, 50},      {"sphere2", 1536, 15, 38}, {"baby", 1536, 18, 20},
                        {"veltra", 1536, 33, 33},    {"swing", 512, 30, 6},     {"logo", 512, 30, 30}};
  for (const item& it : items) {
    TGObject t;
    t.readMesh(dir + "/newobjects//" + it.file + ".obj");
    t.allocate(it.size, it.size);
    long long n = std::min<long long>(t.sample(it.rings, it.density, 1, 1, 1), (long long)it.size * it.size);
    std::printf("%-8s %lld points (%.1f %% of %d x %d)\n", it.file, n, 100.0 * n / (double(it.size) * it.size),
                it.size, it.size);
    for (float yaw : {0.0f, 40.0f}) {
      view r = makeView(yaw, yaw == 0 ? 0 : 25);
      std::vector<v3> pts(n);
      std::vector<float> shade(n);
      for (long long i = 0; i < n; ++i) {
        pts[i] = apply(r, {t.positions[3 * i], t.positions[3 * i + 1], t.positions[3 * i + 2]});
        shade[i] = t.colors[3 * i];
      }
      out.emplace_back();
      drawPoints(out.back(), pts, shade);
    }
  }
}

// A turn as the fixed-function calls apply it: the last call acts first.
struct turnStep { float deg, x, y, z; };
v3 rotateAbout(v3 p, const turnStep& s) {
  float l = std::sqrt(s.x * s.x + s.y * s.y + s.z * s.z), ax = s.x / l, ay = s.y / l, az = s.z / l;
  float a = s.deg * float(M_PI) / 180, c = std::cos(a), si = std::sin(a), d = ax * p.x + ay * p.y + az * p.z;
  v3 cr{ay * p.z - az * p.y, az * p.x - ax * p.z, ax * p.y - ay * p.x};
  return {p.x * c + cr.x * si + ax * d * (1 - c), p.y * c + cr.y * si + ay * d * (1 - c), p.z * c + cr.z * si + az * d * (1 - c)};
}

void meshPanels(std::vector<panel>& out, const std::string& dir) {
  struct item { const char* file; std::vector<turnStep> turns; };
  const item items[] = {
      {"Eiffel", {{-58, 1, 0, 0}, {90, 0, 1, 0}, {190, 1, 0, 0}}},
      {"Tower", {{-37, -0.5f, 1, 0}, {74, 0, 1, 0}, {82, 0, 1, 0}, {3, 1, 0, 0}}},
      {"Parthenon", {{18, 1, 0, 0}, {-4, 0, 1, 0}, {90, 0, 1, 0}, {190, 1, 0, 0}}},
      {"tree", {}}, {"bird_good", {}}, {"cronus", {}}};
  for (const item& it : items) {
    objmesh m;
    m.load(dir + "/newobjects//" + it.file + ".obj");
    std::printf("%-9s %d objects, %d triangles\n", it.file, m.objectCount(), m.triangleCount);
    std::vector<v3> tri;
    for (uint32_t i : m.indices) {
      v3 p{m.vertices[i].f[0], m.vertices[i].f[1], m.vertices[i].f[2]};
      for (auto s = it.turns.rbegin(); s != it.turns.rend(); ++s) p = rotateAbout(p, *s);
      tri.push_back(p);
    }
    // As the city camera sees it: from +x, looking along -x.
    view r = makeView(it.turns.empty() ? 20.0f : -90.0f, 10);
    for (v3& p : tri) p = apply(r, p);
    out.emplace_back();
    drawTriangles(out.back(), tri, fitAll(tri));
  }
}

struct figureScene {
  const objmesh* mesh;
  std::vector<v3>* tri;
};

void collectBone(body&, const joint& from, const mat4& m, void* user) {
  const limbEntry* e = findLimb(from.name);
  if (!e) return;
  figureScene& s = *static_cast<figureScene*>(user);
  int k = e->object;
  if (k < 0 || k + 1 >= int(s.mesh->objectStarts.size())) return;
  float sc = e->scale > 0 ? e->scale : 1;
  for (int t = s.mesh->objectStarts[k] * 3; t < s.mesh->objectStarts[k + 1] * 3; ++t) {
    const float* v = s.mesh->vertices[s.mesh->indices[t]].f;
    float q[3] = {44.16f * (e->tx + sc * v[0]), -44.16f * (e->ty + sc * v[1]), 44.16f * (e->tz + sc * v[2])};
    s.tri->push_back({m.m[0] * q[0] + m.m[4] * q[1] + m.m[8] * q[2] + m.m[12],
                      m.m[1] * q[0] + m.m[5] * q[1] + m.m[9] * q[2] + m.m[13],
                      m.m[2] * q[0] + m.m[6] * q[1] + m.m[10] * q[2] + m.m[14]});
  }
}

void figurePanels(std::vector<panel>& out, const std::string& dir) {
  objmesh limbs;
  limbs.load(dir + "/newneomeshes//human4.obj");
  body b(dir + "/newneomeshes//avatar_female_walk.bvh");
  const float frames[] = {1.0f, 4.5f, 8.0f, 11.5f};
  for (int i = 0; i < 5; ++i) {
    std::vector<v3> tri;
    figureScene s{&limbs, &tri};
    b.framePosition = i < 4 ? frames[i] : 1.0f;
    b.pose(collectBone, &s);
    float low = 1e30f;
    for (const v3& p : tri) low = std::min(low, p.y);
    std::printf("figure at frame %.1f: %zu triangles, lowest point y = %.1f\n", b.framePosition, tri.size() / 3, low);
    view r = makeView(i < 4 ? -90.0f : 0.0f, 5);  // side views, then from the front
    for (v3& p : tri) p = apply(r, p);
    fit f;
    f.cx = 0, f.cy = 115, f.s = cell * 0.9f / 190;
    out.emplace_back();
    drawTriangles(out.back(), tri, f);
  }
}

void imagePanels(std::vector<panel>& out, const std::string& dir) {
  const char* files[] = {"theloader", "blob41b", "cloudt1", "Intro1a", "Intro2a", "obelisk_logo2", "tex1",
                         "dove//Dove_frame_000", "dove//Dove_frame_006", "dove//Dove_frame_012"};
  for (const char* f : files) {
    std::vector<unsigned char> px;
    int w = 0, h = 0;
    if (!decodeJpgFile(dir + "/textures/" + f + ".jpg", px, w, h)) continue;
    std::printf("image %-22s %d x %d\n", f, w, h);
    out.emplace_back();
    float s = float(std::max(w, h)) / cell;
    for (int y = 0; y < cell; ++y)
      for (int x = 0; x < cell; ++x) {
        int sx = int((x - cell / 2) * s + w / 2), sy = int((cell / 2 - y) * s + h / 2);  // rows are bottom-up
        if (sx < 0 || sy < 0 || sx >= w || sy >= h) continue;
        for (int k = 0; k < 3; ++k) out.back().rgb[(y * cell + x) * 3 + k] = px[(sy * w + sx) * 4 + k] / 255.0f;
      }
  }
}

void strokePanels(std::vector<panel>& out, const std::string& dir) {
  for (int k : {200, 700, 1200, 1580}) {
    char name[64];
    std::snprintf(name, sizeof name, "/Routes//prs_%04d.rt", k);
    std::vector<route> strokes;
    readStrokeFrame((dir + name).c_str(), strokes);
    if (strokes.size() < 2) continue;
    std::printf("stroke frame %d: %zu strokes\n", k, strokes.size());
    std::vector<v3> pts;
    for (size_t s = 1; s < strokes.size(); ++s)
      for (const vec3& p : strokes[s].points) pts.push_back({p.x, p.y, 0});
    out.emplace_back();
    drawPoints(out.back(), pts, std::vector<float>(pts.size(), 1.0f));
  }
}

bool writePng(const std::string& path, const std::vector<panel>& panels) {
  int rows = int((panels.size() + columns - 1) / columns), w = columns * cell, h = std::max(1, rows) * cell;
  std::vector<unsigned char> img(size_t(w) * h * 3, 24);
  for (size_t i = 0; i < panels.size(); ++i)
    for (int y = 1; y < cell - 1; ++y)
      for (int x = 1; x < cell - 1; ++x)
        for (int k = 0; k < 3; ++k) {
          float v = std::min(1.0f, panels[i].rgb[(y * cell + x) * 3 + k]);
          img[((i / columns * cell + y) * size_t(w) + i % columns * cell + x) * 3 + k] = (unsigned char)(v * 255);
        }
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, f);
  png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < h; ++y) png_write_row(png, &img[size_t(y) * w * 3]);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(f) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: obelisk_contactsheet DATADIR OUT.png\n");
    return 2;
  }
  std::string dir = argv[1];
  std::vector<panel> panels;
  pointSetPanels(panels, dir);
  meshPanels(panels, dir);
  try {
    figurePanels(panels, dir);
  } catch (const fileNotFound&) {
    std::printf("no motion file\n");
  }
  imagePanels(panels, dir);
  strokePanels(panels, dir);
  return writePng(argv[2], panels) ? 0 : 1;
}
