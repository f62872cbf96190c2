#version 430 compatibility
// The particle draw: one point per texel of the grid, its position from the
// simulator's buffer (gl_Vertex), colour and size from "ColorTexture".
// Sizes follow the window width through ResolutionMultiplier.
uniform sampler2D PositionTexture;
uniform sampler2D ColorTexture;
uniform sampler2D OriginalColorTexture;
uniform float ttime;
uniform float alltime;
uniform float ResolutionMultiplier;

out vec4 pointColour;
out float pointGlow;

void main() {
  ivec2 size = textureSize(ColorTexture, 0);
  ivec2 texel = ivec2(gl_VertexID % size.x, gl_VertexID / size.x);
  vec4 colour = texelFetch(ColorTexture, texel, 0);
  vec4 eye = gl_ModelViewMatrix * vec4(gl_Vertex.xyz, 1.0);
  gl_Position = gl_ProjectionMatrix * eye;
  float distance = max(-eye.z, 0.3);
  float diameter = colour.a * 2.2 * ResolutionMultiplier * 7.0 / distance;
  float shown = clamp(diameter, 1.0, 8.0);
  gl_PointSize = shown;
  // The nearest point wins each pixel, so a point carries the light of the
  // surface it samples; points thinner than a pixel only fade a little.
  float energy = pow(clamp(diameter / shown, 0.0, 1.0), 0.6);
  float twinkle = 0.88 + 0.12 * sin(alltime * 3.0 + float(gl_VertexID % 977));
  pointColour = vec4(colour.rgb * gl_Vertex.w * 3.0 * energy * twinkle, 1.0);
  // The ring is a mark behind the word: one point in four, a pixel wide.
  bool ring = gl_Vertex.w < 0.25;
  if (ring && gl_VertexID % 4 != 0) gl_Position = vec4(2.0, 2.0, 2.0, 1.0);
  if (ring) gl_PointSize = 1.0;
  // While the word gathers (the first 0.85 s) only a few sparks fly in; the
  // letters fill in as they arrive.
  float formed = smoothstep(0.0, 0.85, ttime);
  int keep = int(mix(40.0, 1.0, formed * formed));
  if (!ring && gl_VertexID % keep != 0) gl_Position = vec4(2.0, 2.0, 2.0, 1.0);
  pointGlow = ring ? 1.0 : 0.45 + 0.5 * clamp(length(pointColour.rgb) - 1.0, 0.0, 1.0);
}
