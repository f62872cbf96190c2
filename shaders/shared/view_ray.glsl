// view_ray.glsl -- the direction through the window at uv (0 ... 1) for a
// camera at `eye` looking at `centre` with a vertical lens of `lensDegrees`,
// the window 1.6 times as wide as high.
vec3 viewRay(vec3 eye, vec3 centre, float lensDegrees, vec2 uv) {
  vec3 ahead = normalize(centre - eye);
  vec3 side = normalize(cross(ahead, vec3(0.0, 1.0, 0.0)));
  vec3 up = cross(side, ahead);
  vec2 p = (uv - 0.5) * 2.0 * vec2(1.6, 1.0) * tan(radians(lensDegrees) * 0.5);
  return normalize(ahead + side * p.x + up * p.y);
}
