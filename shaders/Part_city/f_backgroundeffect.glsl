#version 430 compatibility
// The dusk behind the city, painted over the finished frame wherever colour
// A stayed empty (its alpha is the coverage of the cloud, the silhouettes
// and the doves; the doves write no depth, so the key is the colour, not
// the depth). A sky from a glowing horizon to a deep violet overhead, a low
// sun behind the cloud, and a haze over the street that fades by height.
// The cloud's own light spills into it as a halo.
#include "background_inputs.cpp"

float ease(float x) { return (1.0 - cos(3.14159265 * clamp(x, 0.0, 1.0))) * 0.5; }

// The scene's lens, in step with its time script.
float fovy(float t) {
  return 55.0 - 30.0 * ease(2.0 * (t - 46.5)) + 30.0 * ease(0.5 * (t - 59.0)) - 28.0 * ease(0.25 * (t - 67.4));
}

void main() {
  vec2 uv = gl_TexCoord[0].xy;
  vec4 scene = texture(texture2d_1, uv);
  float empty = 1.0 - clamp(scene.a, 0.0, 1.0);
  if (empty <= 0.0) discard;

  // The ray through this pixel.
  vec3 forward = normalize(CamDir - CamPos);
  vec3 side = normalize(cross(forward, vec3(0.0, 1.0, 0.0)));
  vec3 up = cross(side, forward);
  float h = tan(radians(fovy(time)) * 0.5);
  vec3 ray = normalize(forward + side * (uv.x * 2.0 - 1.0) * h * 1.6 + up * (uv.y * 2.0 - 1.0) * h);

  float e = ray.y;
  vec3 horizon = vec3(0.86, 0.47, 0.30), low = vec3(0.55, 0.32, 0.42), zenith = vec3(0.07, 0.06, 0.18);
  vec3 sky = mix(horizon, low, smoothstep(0.0, 0.12, e));
  sky = mix(sky, zenith, smoothstep(0.08, 0.55, e));
  // The sun has just set behind the cloud, a little to the left.
  vec3 sunDir = normalize(vec3(-1.0, 0.02, 0.25));
  float sun = max(dot(ray, sunDir), 0.0);
  sky += vec3(1.0, 0.55, 0.25) * (pow(sun, 12.0) * 0.35 + pow(sun, 90.0) * 0.3);

  // Below the horizon: the street's haze, thickest at the ground line
  // (y = -0.8) and thinning with height, seen along the ray.
  if (e < 0.0) {
    float dist = (CamPos.y + 0.8) / max(-e, 1e-3);
    float haze = 1.0 - exp(-dist * 0.09);
    vec3 ground = vec3(0.22, 0.14, 0.2);
    sky = mix(ground, horizon * 0.85, haze);
  }
  // A slow drift of light in the haze.
  sky *= 0.95 + 0.05 * sin(time * 0.15 + uv.x * 3.0);

  // The cloud's halo.
  vec2 size = vec2(textureSize(texture2d_1, 0));
  vec3 halo = vec3(0.0);
  for (int k = 0; k < 12; ++k) {
    float r = (0.015 + 0.045 * fract(float(k) * 0.618034)) * size.y;
    float a = float(k) * 2.3999632;
    vec4 c = texture(texture2d_1, uv + vec2(cos(a), sin(a)) * r / size);
    halo += c.rgb * c.a;
  }
  sky += halo / 12.0 * 0.35;

  vec2 c = uv - 0.5;
  float vignette = 1.0 - 0.45 * dot(c, c) * 2.0;
  gl_FragColor = vec4(sky * vignette, empty);
}
