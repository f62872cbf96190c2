#version 430 compatibility
// The motes: one point per drawn particle, its position from the
// simulator's buffer (gl_Vertex, w = brightness), colour and size from
// "ColorTexture". Drawn additively over the drawing, so a point's light is
// spread over its area: a wide point is no brighter than a narrow one.
uniform sampler2D PositionTexture;
uniform sampler2D ColorTexture;
uniform sampler2D OriginalColorTexture;  // texture 0: no point set
uniform float ttime;
uniform float alltime;
uniform float ResolutionMultiplier;

out vec4 pointColour;

void main() {
  ivec2 size = textureSize(ColorTexture, 0);
  ivec2 texel = ivec2(gl_VertexID % size.x, gl_VertexID / size.x);
  vec4 colour = texelFetch(ColorTexture, texel, 0);
  vec4 eye = gl_ModelViewMatrix * vec4(gl_Vertex.xyz, 1.0);
  gl_Position = gl_ProjectionMatrix * eye;
  float distance = max(-eye.z, 0.3);
  float diameter = colour.a * 2.2 * ResolutionMultiplier * 7.0 / distance;
  float shown = clamp(diameter, 1.0, 5.0);
  gl_PointSize = shown;
  pointColour = vec4(colour.rgb * gl_Vertex.w * clamp(diameter / shown, 0.4, 1.0), 1.0);
  if (gl_Vertex.w <= 0.0) gl_Position = vec4(2.0, 2.0, 2.0, 1.0);  // parked
}
