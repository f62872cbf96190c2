#version 430 compatibility
// The particle draw: one point per texel of the grid, its position from the
// simulator's buffer (gl_Vertex; w < 0 marks a point that is not drawn, w of
// 2 and more one that covers what lies behind it), its colour and size from
// "ColorTexture". Sizes follow the window width through ResolutionMultiplier.
// pointColour's alpha says whether the point covers (1) or lets the sky
// through (0).
#include "point_vertex.cpp"

void main() {
  vec4 colour = particleLook();
  if (gl_Vertex.w < 0.0) {
    gl_Position = Hidden;
    gl_PointSize = 1.0;
    pointColour = vec4(0.0);
    pointGlow = 0.0;
    return;
  }
  gl_Position = gl_ModelViewProjectionMatrix * vec4(gl_Vertex.xyz, 1.0);
  gl_PointSize = clamp(colour.a * ResolutionMultiplier * 2.0, 1.0, 8.0);
  float shimmer = 0.85 + 0.15 * sin(alltime * 4.0 + float(gl_VertexID % 997));
  bool covers = gl_Vertex.w >= 2.0;
  pointColour = vec4(colour.rgb * shimmer, covers ? 1.0 : 0.0);
  pointGlow = covers ? gl_Vertex.w - 2.0 : gl_Vertex.w;
  // The bird's points cover what lies behind them: drawn in full or not at
  // all. The others let the sky through and are dimmed instead, a little
  // less than their width says: the blue dust is a haze, and under its
  // width's share it would thin to nothing.
  if (covers) keepShare(pointCover());
  else pointColour.rgb *= min(1.45 * pointCover(), 1.0);
}
