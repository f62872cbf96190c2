#version 430 compatibility
// The particle draw: one point per texel of the grid, its position from the
// simulator's buffer (gl_Vertex), its colour and size from "ColorTexture".
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
  float twinkle = 0.85 + 0.15 * sin(alltime * 3.0 + float(gl_VertexID % 977));
  pointColour = vec4(colour.rgb * gl_Vertex.w * 3.0 * energy * twinkle, 1.0);
  // The nearest point hides what lies behind it: only one in ten dust points
  // is drawn, or the haze would veil the slab.
  bool dust = gl_Vertex.w < 0.4;
  if (dust && gl_VertexID % 10 != 0) gl_Position = vec4(2.0, 2.0, 2.0, 1.0);
  if (dust) {  // single-pixel motes, bright enough to read as sparkle, not as holes
    gl_PointSize = 1.0;
    pointColour.rgb = vec3(0.1, 0.14, 0.26) + pointColour.rgb;
  }
  pointGlow = 0.5 + clamp(length(colour.rgb) - 1.2, 0.0, 2.0);
}
