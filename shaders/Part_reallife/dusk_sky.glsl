// dusk_sky.glsl -- the dusk sky of the real-life scene, painted by the blur
// pass (f_blurpass) where colour A was left open. The pass gets no camera:
// the camera is a plain function of the section's clock, and reallifePath()
// and reallifeFovy() of part_reallife.cpp are written out again here (the
// small shake of the look-at point is left out). Keep the two in step.

#include "clock_curves.cpp"
#include "view_ray.cpp"

float lensAt(float t) { return 15.0 + 30.0 * ease(0.05 * (t - 16.0)); }

// The eye backs away along +x while the lens widens, swings out to x = 5
// from 28 s and glides to (3.4, 0, 0), looking down +x, from 44 s.
void cameraAt(float t, out vec3 eye, out vec3 centre) {
  float r = 0.4 + 4.0 * ease(0.2 * t) + rampIn(0.4 * (t - 20.0));
  eye = vec3(r, 0.0, 0.0);
  centre = vec3(0.0);
  float a = 1.0 - 0.2 * t, k1 = ease(0.2 * (t - 28.0));
  eye = mix(eye, vec3(5.0 + 5.0 * sin(a), -1.0, 2.0 * cos(a)), k1);
  centre = mix(centre, vec3(5.0, 0.0, 0.0), k1);
  float k2 = ease(0.1 * (t - 44.0));
  eye = mix(eye, vec3(3.4, 0.0, 0.0), k2);
  centre = mix(centre, vec3(6.0, 0.0, 0.0), k2);
}

// How much of the sky is painted: none before 40 s, all from 48 s, while
// the camera turns toward the flights.
float skyRise(float t) { return smoothstep(40.0, 48.0, t); }

// The sky seen through the window at uv (0 ... 1) at time t: a horizon glow
// under a deep blue zenith, dark ground below, a low sun off to the side.
vec3 duskSky(vec2 uv, float t) {
  vec3 eye, centre;
  cameraAt(t, eye, centre);
  vec3 look = viewRay(eye, centre, lensAt(t), uv);
  float h = look.y + 0.04;
  vec3 zenith = vec3(0.13, 0.17, 0.3), horizon = vec3(0.58, 0.47, 0.4), ground = vec3(0.16, 0.13, 0.14);
  vec3 sky = h > 0.0 ? mix(horizon, zenith, smoothstep(0.0, 0.45, h)) : mix(horizon, ground, smoothstep(0.0, 0.25, -h));
  vec3 sun = normalize(vec3(1.0, 0.06, -0.35));
  sky += vec3(0.35, 0.24, 0.12) * pow(max(dot(look, sun), 0.0), 12.0);
  return sky * (0.92 + 0.08 * sin(t * 0.2 + uv.x * 3.0));
}
