// standin.h -- what a scene that has no pictures yet draws: a cleared frame.
#pragma once

class rendercontext;

// Clears the window to black; the section's clock and hand-over run as usual.
void drawClearedFrame(rendercontext* rc);
