// mantis_drawing.cpp -- the mantis drawing, part by part, in the order an
// artist would draw it: head, antennae, the long neck (prothorax), the folded
// raptorial forelegs, wings and abdomen, the walking legs, the twig, then the
// hatching that gives it form.
#include "content/mantis_drawing.h"

#include <cmath>

namespace {

constexpr double Outline = 0.9, Detail = 0.7, Hatch = 0.45;

// The twig's upper edge; the feet stand on it.
double twigTop(double x) { return -0.36 - 0.02 * x + 0.01 * std::sin(3 * x); }
double twigBottom(double x) { return twigTop(x) - 0.06 + 0.005 * std::sin(5 * x); }

// Linear interpolation along a polyline sorted by x.
double along(const std::vector<xy>& line, double x) {
  if (x <= line.front().x) return line.front().y;
  for (size_t i = 1; i < line.size(); ++i)
    if (x <= line[i].x) {
      double u = (x - line[i - 1].x) / (line[i].x - line[i - 1].x);
      return line[i - 1].y + (line[i].y - line[i - 1].y) * u;
    }
  return line.back().y;
}

const std::vector<xy> WingTop = {{-0.17, 0.165}, {-0.05, 0.20}, {0.12, 0.225}, {0.35, 0.235},
                                 {0.58, 0.225}, {0.78, 0.195}, {0.90, 0.16}, {0.93, 0.14}};
const std::vector<xy> WingEdge = {{-0.14, 0.12}, {0.05, 0.125}, {0.3, 0.13}, {0.55, 0.13}, {0.78, 0.135}, {0.93, 0.14}};
const std::vector<xy> Belly = {{-0.20, 0.10}, {-0.08, 0.045}, {0.10, 0.0}, {0.32, -0.025},
                               {0.55, -0.02}, {0.75, 0.03}, {0.88, 0.09}, {0.94, 0.13}};

void add(std::vector<authoredStroke>& d, std::vector<xy> pts, double pressure, double pause) {
  d.push_back({std::move(pts), pressure, pressure < 0.6 ? 0.55 : 0.3, pause});
}

std::vector<xy> ellipse(double cx, double cy, double rx, double ry, double start) {
  std::vector<xy> out;
  for (int i = 0; i <= 12; ++i) {
    double a = start + 2 * M_PI * i / 12 * 1.05;
    out.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
  }
  return out;
}

void head(std::vector<authoredStroke>& d) {
  add(d, {{-0.47, 0.60}, {-0.53, 0.645}, {-0.60, 0.65}, {-0.655, 0.62}, {-0.665, 0.57}, {-0.64, 0.51},
          {-0.605, 0.46}, {-0.585, 0.44}, {-0.565, 0.46}, {-0.54, 0.50}, {-0.50, 0.53}, {-0.47, 0.56},
          {-0.472, 0.605}}, Outline, 0.3);
  add(d, ellipse(-0.613, 0.592, 0.028, 0.034, 0.5), Outline, 0.5);
  add(d, ellipse(-0.618, 0.598, 0.009, 0.011, 0.0), Detail, 0.3);  // the pupil's glint
  add(d, {{-0.625, 0.49}, {-0.615, 0.462}, {-0.595, 0.45}, {-0.578, 0.468}}, Detail, 0.4);
  add(d, {{-0.605, 0.645}, {-0.66, 0.72}, {-0.75, 0.79}, {-0.88, 0.83}, {-1.0, 0.82}}, Detail, 0.6);
  add(d, {{-0.585, 0.65}, {-0.615, 0.75}, {-0.68, 0.84}, {-0.77, 0.9}, {-0.86, 0.92}}, Detail, 0.4);
}

void neck(std::vector<authoredStroke>& d) {
  add(d, {{-0.475, 0.565}, {-0.40, 0.47}, {-0.32, 0.36}, {-0.24, 0.25}, {-0.16, 0.16}}, Outline, 0.7);
  add(d, {{-0.52, 0.505}, {-0.44, 0.42}, {-0.36, 0.31}, {-0.28, 0.20}, {-0.20, 0.11}}, Outline, 0.4);
}

void forelegs(std::vector<authoredStroke>& d) {
  // Coxa hanging from the neck, femur folded up, tibia folded back onto it.
  add(d, {{-0.37, 0.37}, {-0.39, 0.30}, {-0.44, 0.18}, {-0.47, 0.11}, {-0.50, 0.12}, {-0.49, 0.18},
          {-0.45, 0.30}, {-0.41, 0.41}}, Outline, 0.6);
  add(d, {{-0.49, 0.10}, {-0.56, 0.16}, {-0.62, 0.25}, {-0.655, 0.33}, {-0.625, 0.335}, {-0.585, 0.25},
          {-0.535, 0.17}, {-0.49, 0.12}}, Outline, 0.5);
  std::vector<xy> spines;  // teeth along the femur's inner edge
  for (int i = 0; i <= 14; ++i) {
    double u = i / 14.0, x = -0.62 + 0.115 * u, y = 0.318 - 0.19 * u;
    spines.push_back(i % 2 ? xy{x + 0.018, y - 0.004} : xy{x, y});
  }
  add(d, spines, Detail, 0.3);
  add(d, {{-0.645, 0.335}, {-0.60, 0.28}, {-0.555, 0.21}, {-0.53, 0.17}, {-0.54, 0.15}, {-0.565, 0.16}},
      Outline, 0.4);
  add(d, {{-0.45, 0.16}, {-0.53, 0.27}, {-0.58, 0.36}, {-0.56, 0.375}, {-0.51, 0.29}, {-0.465, 0.22}},
      Detail, 0.5);  // the far foreleg behind
}

void wingsAndAbdomen(std::vector<authoredStroke>& d) {
  add(d, WingTop, Outline, 0.8);
  add(d, WingEdge, Outline, 0.4);
  add(d, Belly, Outline, 0.4);
  add(d, {{0.93, 0.13}, {0.96, 0.122}, {0.985, 0.112}, {1.01, 0.10}}, Detail, 0.3);
  add(d, {{-0.08, 0.175}, {0.3, 0.19}, {0.65, 0.185}, {0.88, 0.155}}, Detail, 0.5);
  add(d, {{0.0, 0.15}, {0.4, 0.16}, {0.75, 0.16}}, Detail, 0.3);
  for (double x = 0.08; x < 0.85; x += 0.12) {  // the abdomen's segments below the wing
    double bottom = along(Belly, x + 0.025) + 0.006;
    add(d, {{x, 0.124}, {x + 0.006, (0.124 + bottom) * 0.5}, {x + 0.025, bottom}}, Detail, 0.25);
  }
}

// A walking leg from hip through knee and ankle; the tarsus rests on the twig.
// Points close to the knee keep its bend sharp after smoothing.
std::vector<xy> leg(xy hip, xy knee, xy ankle, double toe) {
  auto mix = [](xy a, xy b, double u) { return xy{a.x + (b.x - a.x) * u, a.y + (b.y - a.y) * u}; };
  double footY = twigTop(ankle.x + toe) + 0.004;
  return {hip, mix(hip, knee, 0.5), mix(hip, knee, 0.92), knee, mix(knee, ankle, 0.08), mix(knee, ankle, 0.5),
          ankle, {ankle.x + toe * 0.5, footY + 0.008}, {ankle.x + toe, footY}};
}

void legs(std::vector<authoredStroke>& d) {
  add(d, leg({-0.10, 0.06}, {-0.32, -0.01}, {-0.50, -0.33}, -0.08), Outline, 0.8);
  add(d, {{-0.09, 0.04}, {-0.20, 0.01}, {-0.31, -0.025}}, Detail, 0.3);  // the femur's far edge
  add(d, leg({-0.06, 0.07}, {-0.24, 0.04}, {-0.30, -0.33}, -0.07), Detail, 0.5);
  add(d, leg({0.07, 0.02}, {0.42, -0.08}, {0.66, -0.35}, 0.10), Outline, 0.6);
  add(d, {{0.08, 0.0}, {0.25, -0.05}, {0.41, -0.095}}, Detail, 0.3);
  add(d, leg({0.10, 0.03}, {0.30, -0.06}, {0.47, -0.35}, 0.08), Detail, 0.5);
}

void twig(std::vector<authoredStroke>& d) {
  std::vector<xy> top, bottom;
  for (int i = 0; i <= 14; ++i) {
    double x = -1.05 + 2.1 * i / 14;
    top.push_back({x, twigTop(x)});
    bottom.push_back({x, twigBottom(x)});
  }
  add(d, top, Outline, 1.0);
  add(d, bottom, Outline, 0.4);
  add(d, {{0.70, twigBottom(0.70)}, {0.80, -0.48}, {0.92, -0.56}, {1.0, -0.60}}, Outline, 0.5);
  add(d, {{0.77, twigBottom(0.77)}, {0.85, -0.465}, {0.95, -0.53}, {1.02, -0.56}}, Outline, 0.3);
  double b = twigBottom(-0.72);
  add(d, {{-0.72, b}, {-0.80, b - 0.06}, {-0.85, b - 0.16}, {-0.84, b - 0.24}, {-0.76, b - 0.18},
          {-0.72, b - 0.09}, {-0.722, b - 0.01}}, Outline, 0.6);  // a leaf hanging from the twig
  add(d, {{-0.725, b - 0.015}, {-0.79, b - 0.12}, {-0.835, b - 0.22}}, Detail, 0.3);
}

void hatching(std::vector<authoredStroke>& d) {
  for (double x = 0.0; x < 0.86; x += 0.035)  // across the folded wing
    add(d, {{x, along(WingTop, x) - 0.012}, {x - 0.02, 0.5 * (along(WingTop, x) + along(WingEdge, x))},
            {x - 0.035, along(WingEdge, x - 0.035) + 0.01}}, Hatch, 0.12);
  for (double x = -0.1; x < 0.86; x += 0.045) {  // shade under the abdomen
    double b = along(Belly, x);
    add(d, {{x, b + 0.035}, {x + 0.01, b + 0.02}, {x + 0.02, b + 0.008}}, Hatch, 0.12);
  }
  for (int i = 0; i < 6; ++i) {  // along the neck's underside
    double u = i / 6.0, x = -0.47 + 0.26 * u, y = 0.46 - 0.32 * u;
    add(d, {{x + 0.01, y + 0.02}, {x + 0.005, y + 0.01}, {x, y}}, Hatch, 0.15);
  }
  for (double x = -1.0; x < 1.0; x += 0.055) {  // the twig's shadow side
    double y = twigBottom(x);
    add(d, {{x, y + 0.024}, {x + 0.012, y + 0.012}, {x + 0.022, y + 0.003}}, Hatch, 0.1);
  }
  for (int i = 0; i < 4; ++i)  // the back of the head
    add(d, {{-0.50 - 0.012 * i, 0.59 - 0.01 * i}, {-0.515 - 0.012 * i, 0.55 - 0.01 * i},
            {-0.525 - 0.012 * i, 0.52 - 0.012 * i}}, Hatch, 0.15);
}

}  // namespace

std::vector<authoredStroke> mantisDrawing() {
  std::vector<authoredStroke> d;
  head(d);
  neck(d);
  forelegs(d);
  wingsAndAbdomen(d);
  legs(d);
  twig(d);
  hatching(d);
  for (authoredStroke& s : d)  // centre the whole sheet vertically
    for (xy& p : s.points) p.y -= 0.05;
  return d;
}
