#version 430 compatibility
// The bird mesh in flight: the wings (|x| beyond the body) turn about their
// roots by a beat of "ttime", the outer half lagging and bending further, the
// body bobbing against them. The bird is turned 35 degrees about y so the
// side view shows the spread of its wings.
uniform float ttime;

const float Root = 0.14, Span = 1.86, Beat = 5.2;  // 0.83 strokes a second

void main() {
  vec3 p = gl_Vertex.xyz;
  float phase = ttime * Beat;
  float stroke = sin(phase);
  float side = p.x < 0.0 ? -1.0 : 1.0;
  float reach = max(abs(p.x) - Root, 0.0) / Span;
  float angle = (0.3 + 0.7 * stroke) * smoothstep(0.0, 0.05, reach) + 0.45 * sin(phase - 0.9) * reach * reach;
  vec2 arm = vec2(abs(p.x) - Root, p.y);
  arm = vec2(arm.x * cos(angle) - arm.y * sin(angle), arm.x * sin(angle) + arm.y * cos(angle));
  if (abs(p.x) > Root) p.xy = vec2(side * (Root + arm.x), arm.y);
  p.y -= 0.08 * stroke;
  float yaw = radians(35.0);
  p.xz = vec2(p.x * cos(yaw) + p.z * sin(yaw), -p.x * sin(yaw) + p.z * cos(yaw));
  gl_Position = gl_ModelViewProjectionMatrix * vec4(p, 1.0);
}
