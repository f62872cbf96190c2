#version 430 compatibility
// Ambient occlusion from the depth texture (eight samples on a disc turned
// by the random texture; nearer neighbours within reach darken the pixel),
// the flaring part (colour B) added back, and a short smear along the way
// the shake moved the picture this frame ("RelX"), so the burst at 18 s
// tears the frame. Sizes come from the textures; "aspect" (W / H) keeps the
// smear's direction true on any window.
uniform sampler2D texture2d_1;      // colour A
uniform sampler2D texture2d_2;      // depth
uniform sampler2D texture2d_3;      // colour B
uniform sampler2D texture2d_random;
uniform float Limit;
uniform float time;
uniform float aspect;
uniform vec3 RelX;

const float Near = 0.1, Far = 100.0;

float linearDepth(vec2 uv) {
  float d = texture(texture2d_2, uv).r * 2.0 - 1.0;
  return 2.0 * Near * Far / (Far + Near - d * (Far - Near));
}

void main() {
  vec2 uv = gl_TexCoord[0].xy;
  vec2 size = vec2(textureSize(texture2d_2, 0));
  vec2 pixel = 1.0 / size;
  // the shake's move, in pixels; a few pixels at the most
  vec2 moved = clamp(RelX.xy * vec2(1.0, aspect) * size.y * 0.6, vec2(-12.0), vec2(12.0));
  vec3 colour = vec3(0.0);
  for (int k = 0; k < 4; ++k) colour += texture(texture2d_1, uv - moved * pixel * float(k) / 3.0).rgb;
  colour *= 0.25;
  vec3 flare = texture(texture2d_3, uv).rgb;
  float centre = linearDepth(uv);
  float occlusion = 0.0;
  if (centre < 50.0) {
    vec2 noise = texture(texture2d_random, gl_FragCoord.xy / 1024.0 + Limit).rg * 6.2831853;
    float reach = size.y * 0.016;
    for (int k = 0; k < 8; ++k) {
      float a = noise.x + float(k) * 2.3999632;  // golden angle
      float r = reach * (0.3 + 0.7 * fract(noise.y + float(k) * 0.618034));
      vec2 at = uv + vec2(cos(a), sin(a)) * r * pixel;
      float closer = centre - linearDepth(at);
      occlusion += smoothstep(0.05, 0.15, closer) * (1.0 - smoothstep(0.5, 1.0, closer));
    }
  }
  float ao = 1.0 - 0.4 * occlusion / 8.0;
  gl_FragColor = vec4(colour * ao + flare * 0.4, 1.0);
}
