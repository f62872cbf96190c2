// linear_depth.glsl -- the depth texture the post passes get (texture2d_2)
// and linearDepth(), the eye distance it holds at uv for the scenes' lens
// (near plane 0.1, far plane 100). Included by the blur and occlusion passes
// that read the depth, before their other pieces.
uniform sampler2D texture2d_2;      // depth

const float Near = 0.1, Far = 100.0;

float linearDepth(vec2 uv) {
  float d = texture(texture2d_2, uv).r * 2.0 - 1.0;
  return 2.0 * Near * Far / (Far + Near - d * (Far - Near));
}
