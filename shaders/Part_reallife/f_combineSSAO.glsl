#version 430 compatibility
// Ambient occlusion from the depth texture: eight samples on a disc (made
// round by "aspect") turned by the random texture; nearer neighbours within
// reach darken the pixel. The glowing part (colour B) is added back. Alpha
// passes on how much of the pixel is covered (bright points, the statues,
// the birds): the sky is painted by it later.
uniform sampler2D texture2d_1;      // colour A
uniform sampler2D texture2d_2;      // depth
uniform sampler2D texture2d_3;      // colour B
uniform sampler2D texture2d_random;
uniform float Limit;
uniform float time;
uniform float aspect;

const float Near = 0.1, Far = 100.0;

float linearDepth(vec2 uv) {
  float d = texture(texture2d_2, uv).r * 2.0 - 1.0;
  return 2.0 * Near * Far / (Far + Near - d * (Far - Near));
}

void main() {
  vec2 uv = gl_TexCoord[0].xy;
  vec4 drawn = texture(texture2d_1, uv);
  vec3 colour = drawn.rgb;
  vec3 flare = texture(texture2d_3, uv).rgb;
  float centre = linearDepth(uv);
  float occlusion = 0.0;
  if (centre < 50.0) {
    vec2 noise = texture(texture2d_random, gl_FragCoord.xy / 1024.0 + Limit).rg * 6.2831853;
    float reach = 0.018;  // of the height
    for (int k = 0; k < 8; ++k) {
      float a = noise.x + float(k) * 2.3999632;  // golden angle
      float r = reach * (0.3 + 0.7 * fract(noise.y + float(k) * 0.618034));
      vec2 at = uv + vec2(cos(a) / max(aspect, 0.1), sin(a)) * r;
      float closer = centre - linearDepth(at);
      occlusion += smoothstep(0.04, 0.15, closer) * (1.0 - smoothstep(0.5, 1.0, closer));
    }
  }
  float ao = 1.0 - 0.4 * occlusion / 8.0;
  gl_FragColor = vec4(colour * ao + flare * 0.35, drawn.a);
}
