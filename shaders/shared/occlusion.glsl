// occlusion.glsl -- ambient occlusion for the occlusion passes
// (f_combineSSAO): the inputs the pass binds besides the depth, and
// occlusionAt(), how much nearer neighbours darken a pixel. Include
// linear_depth first. A pass whose samples are not spread in pixels defines
// OCCLUSION_OFFSET(a, r) before it includes this piece.
uniform sampler2D texture2d_1;      // colour A
uniform sampler2D texture2d_3;      // colour B
uniform sampler2D texture2d_random;
uniform float Limit;
uniform float time;

// Where a sample lies from the centre: at angle a, r pixels away.
#ifndef OCCLUSION_OFFSET
#define OCCLUSION_OFFSET(a, r) (vec2(cos(a), sin(a)) * (r) * pixel)
#endif

// The occlusion of uv, 0 ... 8, none beyond 50 units: eight depth samples on
// a disc of radius `reach`, turned and spread by the random texture read at
// this pixel moved by `shift`. A sample nearer than the centre by band.x to
// band.y occludes it fully; one nearer still, by band.z to band.w, fades out.
float occlusionAt(vec2 uv, vec2 shift, float reach, vec4 band) {
  float centre = linearDepth(uv);
  float occlusion = 0.0;
  if (centre < 50.0) {
    vec2 noise = texture(texture2d_random, gl_FragCoord.xy / 1024.0 + shift).rg * 6.2831853;
    vec2 pixel = 1.0 / vec2(textureSize(texture2d_2, 0));
    for (int k = 0; k < 8; ++k) {
      float a = noise.x + float(k) * 2.3999632;  // golden angle
      float r = reach * (0.3 + 0.7 * fract(noise.y + float(k) * 0.618034));
      vec2 at = uv + OCCLUSION_OFFSET(a, r);
      float closer = centre - linearDepth(at);
      occlusion += smoothstep(band.x, band.y, closer) * (1.0 - smoothstep(band.z, band.w, closer));
    }
  }
  return occlusion;
}
