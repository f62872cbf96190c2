#version 430 compatibility
// The main cloud's draw: one point per particle, its position from the
// simulator's buffer (gl_Vertex; w is the part of its light that flares),
// its colour and size from "ColorTexture". Sizes follow the window width
// through ResolutionMultiplier and shrink with distance.
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
  float distance = max(-eye.z, 0.25);
  float diameter = colour.a * 2.0 * ResolutionMultiplier * 6.0 / distance;
  float shown = clamp(diameter, 1.0, 7.0);
  gl_PointSize = shown;
  // the nearest point wins its pixel, so every point carries its full light;
  // points thinner than a pixel only fade a little
  float energy = pow(clamp(diameter / shown, 0.0, 1.0), 0.35);
  float twinkle = 0.88 + 0.12 * sin(alltime * 3.0 + float(gl_VertexID % 977));
  pointColour = vec4(colour.rgb * energy * twinkle, 1.0);
  pointGlow = gl_Vertex.w;
}
