#version 430 compatibility
// The swing swarm's draw: as the main cloud's, but a particle shows only
// once the swarm's fade (image 0's w) has passed its own threshold, so the
// swing sparkles in and out instead of dimming (a dim point would read as
// a hole in front of the strand).
uniform sampler2D PositionTexture;
uniform sampler2D ColorTexture;
uniform sampler2D OriginalColorTexture;
uniform float ttime;
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
  gl_PointSize = clamp(diameter, 1.0, 6.0);
  float threshold = fract(float(gl_VertexID) * 0.618034);
  if (gl_Vertex.w <= threshold) gl_Position = vec4(2.0, 2.0, 2.0, 1.0);  // outside the clip volume
  pointColour = vec4(colour.rgb, 1.0);
  pointGlow = 0.9;
}
