// image_dove.cpp -- the 18 frames of a dove's wing-beat cycle: a small 3-D
// bird (round body, head and beak, fanned tail, two wings of an arm and a
// hand segment with separated primaries) flapping through one cycle, seen
// from below and to the side, drawn light on black. The green channel is the
// silhouette's coverage, since the scene takes it as the frame's alpha.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "content/content.h"
#include "content/image_canvas.h"

namespace {

constexpr int DoveSize = 256;
constexpr int DoveFrames = 18;

struct point3 {
  float x, y, z;
};

// Bird space: x forward, y up, z along the left wing. The view turns the
// bird about y and tilts it about x, then projects orthographically.
struct doveView {
  float cosYaw = std::cos(0.55f), sinYaw = std::sin(0.55f);
  float cosTilt = std::cos(-0.38f), sinTilt = std::sin(-0.38f);
  float scale = 116, cx = DoveSize * 0.5f, cy = DoveSize * 0.56f;
  void project(const point3& p, float& u, float& v) const {
    float x1 = p.x * cosYaw + p.z * sinYaw, z1 = -p.x * sinYaw + p.z * cosYaw;
    float y2 = p.y * cosTilt - z1 * sinTilt;
    u = cx + scale * x1;
    v = cy - scale * y2;
  }
};

void fillProjected(plane& mask, const doveView& view, const std::vector<point3>& poly) {
  std::vector<float> xy;
  for (const point3& p : poly) {
    float u, v;
    view.project(p, u, v);
    xy.push_back(u);
    xy.push_back(v);
  }
  fillPolygon(mask, xy, 1.0f);  // coverage adds up, so parts meet without seams
}

void fillDisc(plane& mask, const doveView& view, const point3& c, float r) {
  float u, v;
  view.project(c, u, v);
  float rp = r * view.scale;
  for (int y = std::max(0, int(v - rp) - 2); y <= std::min(mask.height - 1, int(v + rp) + 2); ++y)
    for (int x = std::max(0, int(u - rp) - 2); x <= std::min(mask.width - 1, int(u + rp) + 2); ++x) {
      float d = std::hypot(float(x) + 0.5f - u, float(y) + 0.5f - v);
      mask.at(x, y) += std::min(std::max(rp - d + 0.5f, 0.0f), 1.0f);
    }
}

// One wing (side = +1 left, -1 right): the arm turns up by lift about the
// body axis, the hand by lift + bend about the wrist, and the hand is drawn
// in towards the body by fold on the upstroke.
void drawWing(plane& mask, const doveView& view, float side, float lift, float bend, float fold, float bob) {
  const float wristZ = 0.5f;
  auto arm = [&](float x, float z) { return point3{x, bob + z * std::sin(lift), side * z * std::cos(lift)}; };
  point3 wrist = arm(0, wristZ);
  auto hand = [&](float x, float z) {
    float d = (z - wristZ) * fold, a = lift + bend;
    return point3{x - (1 - fold) * 0.25f * (z - wristZ), wrist.y + d * std::sin(a), wrist.z + side * d * std::cos(a)};
  };
  fillProjected(mask, view, {arm(0.16f, 0.05f), arm(0.13f, wristZ), arm(-0.24f, wristZ), arm(-0.27f, 0.05f)});
  // Hand: leading edge to the tip, then the primaries as separated fingers.
  std::vector<point3> h = {hand(0.13f, wristZ), hand(0.06f, 0.8f), hand(-0.06f, 1.02f)};
  for (int f = 0; f < 4; ++f) {
    float z0 = 0.98f - 0.09f * f, x0 = -0.1f - 0.035f * f;
    h.push_back(hand(x0 - 0.05f, z0 - 0.03f));
    h.push_back(hand(x0 - 0.005f, z0 - 0.06f));
  }
  h.push_back(hand(-0.24f, wristZ));
  fillProjected(mask, view, h);
}

void drawBody(plane& mask, const doveView& view, float bob) {
  for (int i = 0; i <= 40; ++i) {  // the body as a row of spheres along x
    float x = -0.42f + 0.018f * float(i), u = (x + 0.04f) / 0.42f;
    float r = 0.125f * std::sqrt(std::max(0.0f, 1.0f - u * u)) + 0.01f;
    fillDisc(mask, view, {x, bob - 0.02f * u, 0}, r);
  }
  fillDisc(mask, view, {0.38f, bob + 0.07f, 0}, 0.082f);  // head
  fillProjected(mask, view, {{0.44f, bob + 0.09f, 0.012f}, {0.55f, bob + 0.055f, 0}, {0.44f, bob + 0.04f, -0.012f}});
  std::vector<point3> tail;  // a fan spread in the body's plane, slightly raised
  tail.push_back({-0.22f, bob + 0.02f, 0.07f});
  for (int k = 0; k <= 8; ++k) {
    float a = (float(k) / 8.0f - 0.5f) * 0.9f;
    tail.push_back({-0.3f - 0.42f * std::cos(a), bob + 0.06f, 0.42f * std::sin(a)});
  }
  tail.push_back({-0.22f, bob + 0.02f, -0.07f});
  fillProjected(mask, view, tail);
}

bool makeDoveFrame(const std::string& path, int frame) {
  doveView view;
  plane mask(DoveSize, DoveSize);
  float phase = 2.0f * float(M_PI) * float(frame) / DoveFrames;
  float lift = 0.2f + 0.95f * std::cos(phase), bend = 0.45f * std::cos(phase - 0.9f);
  float fold = 0.82f + 0.18f * std::sin(phase), bob = -0.04f * std::cos(phase);
  drawWing(mask, view, -1, lift, bend, fold, bob);  // the far wing first
  drawBody(mask, view, bob);
  drawWing(mask, view, 1, lift, bend, fold, bob);
  for (float& v : mask.v) v = std::min(v, 1.0f);
  return saveGrey(path, mask);
}

template <int N>
bool makeDove(const std::string& path) {
  return makeDoveFrame(path, N);
}

template <int N>
void addDoveFrames(std::vector<recipe>& out) {
  if constexpr (N > 0) addDoveFrames<N - 1>(out);
  static const std::string name = [] {
    char buf[64];
    std::snprintf(buf, sizeof buf, "textures/dove//Dove_frame_%03d.jpg", N);
    return std::string(buf);
  }();
  out.push_back({name.c_str(), makeDove<N>});
}

}  // namespace

void addDoveRecipes(std::vector<recipe>& out) { addDoveFrames<DoveFrames - 1>(out); }
