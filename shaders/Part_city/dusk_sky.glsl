// dusk_sky.glsl -- the dusk behind the city, painted by the blur pass
// (f_blurpass) where colour A stayed empty. The pass gets no camera: the
// camera is a plain function of the section's clock, and cityPose() and
// cityFovy() of part_thecity.cpp are written out again here (the shake of
// the look-at point is left out). Keep the two in step.

#include "clock_curves.cpp"
#include "view_ray.cpp"

float lensAt(float t) {
  return 55.0 - 30.0 * ease(2.0 * (t - 46.5)) + 30.0 * ease(0.5 * (t - 59.0)) - 28.0 * ease(0.25 * (t - 67.4));
}

// The camera 9.6 units out on +x, sinking a little from 15 s, looking back
// at a point that bobs, sways (until 28 ... 32 s) and climbs with the last
// zooms.
void cameraAt(float t, out vec3 eye, out vec3 centre) {
  float calm = 1.0 - ease(0.25 * (t - 28.0));
  eye = vec3(8.0, 2.0 - 1.2 * ease(0.2 * (t - 15.0)), 0.0) * 1.2;
  float look = sin(0.22 * t) + 2.2 - 0.48 * rampIn(0.5 * (t - 54.0)) + 0.6 * rampIn(0.5 * (t - 50.0));
  centre = vec3(0.0, look, 2.0 * sin(0.2 * t) * calm);
}

// The sky through the window at uv (0 ... 1) at time t, before the halo and
// the vignette: from a glowing horizon to a deep violet overhead, a low sun
// behind the cloud, and below the horizon a haze over the street that
// fades by height.
vec3 duskSky(vec2 uv, float t) {
  vec3 eye, centre;
  cameraAt(t, eye, centre);
  vec3 ray = viewRay(eye, centre, lensAt(t), uv);

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
    float dist = (eye.y + 0.8) / max(-e, 1e-3);
    float haze = 1.0 - exp(-dist * 0.09);
    vec3 ground = vec3(0.22, 0.14, 0.2);
    sky = mix(ground, horizon * 0.85, haze);
  }
  // A slow drift of light in the haze.
  return sky * (0.95 + 0.05 * sin(t * 0.15 + uv.x * 3.0));
}
