// mantis_drawing.h -- the authored line drawing of the mantis: control
// polylines in drawing order, in the stroke frames' units (x, y within about
// +-1, y up), the mantis facing left on a twig.
#pragma once
#include <vector>

struct xy {
  double x, y;
};

struct authoredStroke {
  std::vector<xy> points;  // control points, smoothed by the recorder
  double pressure;         // 0 ... 1: outlines press harder than hatching
  double speed;            // pen speed in units per second before scaling
  double pause;            // pen-up time before the stroke, seconds
};

std::vector<authoredStroke> mantisDrawing();
