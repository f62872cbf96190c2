// standin.h -- what a scene that has no pictures yet does: the section's
// banner at load, a cleared window when it draws.
#pragma once
#include "scenes/scene.h"

void loadStandIn(scene* s, rendercontext* context);
void drawClearedFrame(rendercontext* rc);
