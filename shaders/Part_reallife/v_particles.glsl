#version 430 compatibility
// The particle draw: one point per texel of the grid, its position from the
// simulator's buffer (gl_Vertex; w < 0 marks a point that is not drawn, w of
// 2 and more one that covers what lies behind it), its colour and size from
// "ColorTexture". Sizes follow the window width through ResolutionMultiplier.
uniform sampler2D PositionTexture;
uniform sampler2D ColorTexture;
uniform sampler2D OriginalColorTexture;
uniform float ttime;
uniform float alltime;
uniform float ResolutionMultiplier;

out vec4 pointColour;  // alpha: covers (1) or lets the sky through (0)
out float pointGlow;

void main() {
  ivec2 size = textureSize(ColorTexture, 0);
  ivec2 texel = ivec2(gl_VertexID % size.x, gl_VertexID / size.x);
  vec4 colour = texelFetch(ColorTexture, texel, 0);
  if (gl_Vertex.w < 0.0) {
    gl_Position = vec4(2.0, 2.0, 2.0, 1.0);  // outside the clip volume
    gl_PointSize = 1.0;
    pointColour = vec4(0.0);
    pointGlow = 0.0;
    return;
  }
  gl_Position = gl_ModelViewProjectionMatrix * vec4(gl_Vertex.xyz, 1.0);
  gl_PointSize = clamp(colour.a * ResolutionMultiplier * 2.0, 1.0, 8.0);
  float twinkle = 0.85 + 0.15 * sin(alltime * 4.0 + float(gl_VertexID % 997));
  bool covers = gl_Vertex.w >= 2.0;
  pointColour = vec4(colour.rgb * twinkle, covers ? 1.0 : 0.0);
  pointGlow = covers ? gl_Vertex.w - 2.0 : gl_Vertex.w;
}
