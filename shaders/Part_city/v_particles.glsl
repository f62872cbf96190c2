#version 430 compatibility
// The particle draw: one point per texel of the grid, its position from the
// simulator's buffer (gl_Vertex), its colour and size from "ColorTexture".
// Every point carries its full light: the nearest point wins the pixel, and
// a dimmed point would read as a dark speck against the dusk behind it.
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
  if (gl_Vertex.w <= 0.0) gl_Position = vec4(2.0, 2.0, 2.0, 1.0);  // not drawn
  float distance = max(-eye.z, 0.3);
  // The lens narrows to 25 degrees: sizes follow the projection's scale.
  float zoom = gl_ProjectionMatrix[1][1] / 1.92;
  float diameter = colour.a * 2.0 * ResolutionMultiplier * 9.6 * zoom / distance;
  gl_PointSize = clamp(diameter, 1.0, 7.0);
  float twinkle = 0.9 + 0.1 * sin(alltime * 3.0 + float(gl_VertexID % 977));
  pointColour = vec4(colour.rgb * twinkle, 1.0);
  pointGlow = 0.15 + clamp(length(colour.rgb) - 1.1, 0.0, 1.5);
}
