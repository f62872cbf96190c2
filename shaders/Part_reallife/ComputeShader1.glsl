#version 430 compatibility
// The real-life scene's particle step: a flapping bird made of sparks.
//
// Storyboard (section seconds; the frame of the cloud rides on the camera's
// look-at point, faces the eye and is sized from the lens, so the bird stays
// where the camera looks at every moment):
//    0 ...  5  the eye backs out of the cloud (0.4 -> 4.4 units) through a 15
//              degree lens: first the gold body of the bird, then all of it,
//              wings beating, over a faint blue dust.
//    5 ... 16  the bird fills the narrow view. Wherever the silhouette (colour
//              A, "Swirl_Texture") is black, the dust is caught and lit; where
//              a wing leaves, the sparks are let go and stream back behind
//              the bird as cooling embers: the wake of every stroke.
//   16 ... 28  the lens widens; the bird shrinks to about two thirds of the
//              view and the half-shell of blue sparks turning behind it (the
//              sphere points, RotationMatrix) comes into view.
//   27 ... 52  MegaRotate winds the dust into a vortex round the bird: it
//              streams through the wings, lights up and is thrown off.
//   28 ... 33  the camera swings out to look at (5, 0, 0): the cloud's frame
//              goes with the look-at point.
//   33 ... 44  the eye circles the cloud, which keeps facing it.
//   40 ... 48  a dusk sky rises behind (drawn by the post passes where
//              nothing was); the dust and the shell thin out before it.
//   44 ... 54  glide to (3.4, 0, 0) looking along +x at (6, 0, 0); the bird
//              gives a little room to the statues and birds flying beyond it
//              (48 ... 69, drawn after the points).
//
// The frame is local: a particle's state is kept in frame units (x right,
// y up, z toward the eye, one unit = the height of the magnified image),
// and its draw position is placed from the frame every step.
//
// State, one vec4 per particle:
//   buffer 4 / image 0: draw position (xyz, world), w = glow (0 ... 1) of a point
//                       the sky shows through, 2 + glow of one that covers it
//                       (the bird), or -1: not drawn
//   buffer 5 / image 1: velocity (xyz, frame units), w = heat (1 inside the bird)
//   buffer 6:           position (xyz, frame units), w = validity mark
//   image 2:            colour (rgb), a = point size in pixels at 640 wide
// Storage starts zeroed (the scene clears it at load): a particle whose mark
// is wrong (or whose state is out of range) is born again where the section
// time puts it, so a start at any moment shows that moment's picture.
#include "particle_step.cpp"

layout(std430, binding = 6) buffer LocalPositions { vec4 localPosition[]; };

// OriginalPositionTexture_Bird holds the sphere's points (the shell),
// OriginalColorTexture their shading, Swirl_Texture the bird, black on white;
// the obelisk in OriginalPositionTexture is not used by this scene's step.
uniform float alltime;

const float Mark = 2718.28125;  // exactly representable
const float PI = 3.14159265;
const float ShellRadius = 1.7;  // world units round the look-at point
const float Aspect = 1.6;       // of the silhouette image
const float Zoom = 1.5;         // the bird fills about half of the image height

vec3 random3(uint i) { return hash3(i, 1u); }

float easeIn(float x) { return 0.5 - 0.5 * cos(PI * clamp(x, 0.0, 1.0)); }

// The camera's path without its shake (the scene's script keys the same).
void pathAt(float t, out vec3 eye, out vec3 centre, out float fovy) {
  float r = 0.4 + 4.0 * easeIn(0.2 * t) + rampIn(0.4 * (t - 20.0));
  eye = vec3(r, 0.0, 0.0);
  centre = vec3(0.0);
  float a = 1.0 - 0.2 * t, k1 = easeIn(0.2 * (t - 28.0));
  eye += (vec3(5.0 + 5.0 * sin(a), -1.0, 2.0 * cos(a)) - eye) * k1;
  centre += (vec3(5.0, 0.0, 0.0) - centre) * k1;
  float k2 = easeIn(0.1 * (t - 44.0));
  eye += (vec3(3.4, 0.0, 0.0) - eye) * k2;
  centre += (vec3(6.0, 0.0, 0.0) - centre) * k2;
  fovy = radians(15.0 + 30.0 * easeIn(0.05 * (t - 16.0)));
}

struct cloudFrame {
  vec3 centre, right, up, facing;
  float scale;
  vec3 eye;
  float lens;  // tan of half the lens angle
};

// The magnified silhouette image spans `scale` world units vertically: a little more
// than the view at first, about two thirds of it while the lens widens,
// close to the view again while the eye circles, less when the flights come.
cloudFrame frameAt(float t) {
  vec3 eye, centre;
  float fovy;
  pathAt(t, eye, centre, fovy);
  cloudFrame f;
  f.centre = centre;
  f.facing = normalize(eye - centre);
  f.right = normalize(cross(vec3(0.0, 1.0, 0.0), f.facing));
  f.up = cross(f.facing, f.right);
  float view = 2.0 * length(eye - centre) * tan(0.5 * fovy);
  float fill = 1.0 - 0.35 * easeIn((t - 16.0) / 12.0) + 0.3 * easeIn((t - 30.0) / 6.0) -
               0.3 * easeIn((t - 44.0) / 10.0);
  f.scale = max(1.05, view * fill);
  f.eye = eye;
  f.lens = tan(0.5 * fovy);
  return f;
}

vec3 toWorld(cloudFrame f, vec3 p) {
  return f.centre + (f.right * p.x + f.up * p.y + f.facing * p.z) * f.scale;
}

// Where a frame point falls in the silhouette image, magnified about the
// bird. The silhouette camera rises 0.7 units in the first second, which
// moves the bird down its image; the frame follows so the bird stays centred.
vec2 imageAt(vec2 p, float t) {
  float lift = 0.12071 * easeIn(t);  // 0.7 / (7 tan 22.5 deg) / 2
  return vec2(0.5 + p.x / (Aspect * Zoom), 0.5 - lift + p.y / Zoom);
}

float birdAt(vec2 uv) {
  if (any(lessThan(uv, vec2(0.0))) || any(greaterThan(uv, vec2(1.0)))) return 0.0;
  return 1.0 - texture(Swirl_Texture, uv).r;
}

vec3 curl(vec3 p, float t) {
  vec3 q = vec3(p.x * 0.35, p.y * 0.175, p.z * 0.35) + vec3(0.41, 0.5 - t * 0.004, 0.57);
  return texture(CurlTexture, q).xyz;
}

// Where a dust particle rests: half of them in a disc round the bird (the
// rotation leaves a disc a disc), the rest over the whole view. MegaRotate
// turns the inner dust faster than the outer.
vec3 anchorOf(vec3 r, vec3 s) {
  vec2 a;
  if (s.x < 0.55) {
    float radius = 0.52 * sqrt(r.y), angle = 6.2831853 * r.z;
    a = vec2(cos(angle), sin(angle)) * radius;
  } else {
    a = (vec2(r.y, r.z) - 0.5) * vec2(2.0, 1.3);
  }
  float turn = MegaRotate * 0.12 / (0.3 + length(a));
  a = mat2(cos(turn), sin(turn), -sin(turn), cos(turn)) * a;
  return vec3(a, 0.0);
}

void main() {
  ivec2 texel, size;
  uint i;
  if (!particleAt(texel, size, i)) return;
  float dt = clamp(DeltaT, 0.0, 0.1);
  vec3 r = random3(i), s = random3(i + 0x9e3779b9u);
  cloudFrame f = frameAt(ttime);
  // From 40 s the post passes paint a dusk sky; the night's dust and shell
  // give way to it so that the flights read against clear sky.
  float night = 1.0 - smoothstep(40.0, 48.0, ttime);

  // The shell: the sphere's points round the look-at point, turning; only its
  // far half is drawn, so it never covers the bird.
  vec3 sphere = texelFetch(OriginalPositionTexture_Bird, texel, 0).xyz;
  if (r.x < 0.2 && dot(sphere, sphere) > 0.0) {
    vec3 d = (RotationMatrix * vec4(normalize(sphere), 0.0)).xyz;
    vec3 world = f.centre + d * ShellRadius * (0.92 + 0.16 * s.y);
    float shade = texelFetch(OriginalColorTexture, texel, 0).r;
    bool shown = dot(d, f.facing) < -0.05 && s.z < 0.4 * night;
    vec3 colour = vec3(0.3, 0.45, 0.9) * (0.35 + 0.5 * shade) * (0.6 + 0.6 * s.x);
    vec4 p = vec4(world, shown ? 0.2 : -1.0);
    drawPosition[i] = p;
    imageStore(PositionImage, texel, p);
    imageStore(VelocityImage, texel, vec4(0.0));
    imageStore(ColorImage, texel, vec4(colour, 1.0 + 0.8 * s.y));
    return;
  }

  vec3 anchor = anchorOf(r, s);
  float inside = birdAt(imageAt(anchor.xy, ttime));
  vec3 home = vec3(anchor.xy, 0.04 + (s.y - 0.5) * 0.07);   // in the bird: a thin layer in front
  vec3 rest = vec3(anchor.xy, -0.1 - 0.45 * s.y * s.y);     // the dust: behind it

  vec4 q = localPosition[i];
  vec4 v = velocity[i];
  bool valid = q.w == Mark && all(lessThan(abs(q.xyz), vec3(1e3))) && all(lessThan(abs(v.xyz), vec3(1e3))) &&
               v.w >= 0.0 && v.w <= 1.0;
  if (!valid) {
    q = vec4(inside > 0.5 ? home : rest, Mark);
    v = vec4(0.0, 0.0, 0.0, inside > 0.5 ? 1.0 : 0.0);
  }

  float heat = v.w;
  if (inside > 0.5) {
    // Caught by the wing: pulled onto its place in the bird at once.
    vec3 next = mix(q.xyz, home, 1.0 - exp(-dt * 14.0));
    v.xyz = dt > 0.0 ? (next - q.xyz) / dt * 0.5 : v.xyz;
    q.xyz = next;
    heat = min(1.0, heat + dt * 12.0);
  } else {
    // Let go: the ember streams back behind the bird and sinks while it
    // cools, then the dust drifts home in the curl flow.
    vec3 wind = vec3(0.45, -0.1, -0.25) * heat;
    vec3 flow = curl(q.xyz * 3.0 + s, alltime) * (0.08 + 0.25 * heat);
    float spring = 0.15 + 0.9 * (1.0 - heat);
    vec3 wanted = (rest - q.xyz) * spring + wind + flow;
    v.xyz = mix(v.xyz, wanted, 1.0 - exp(-dt * 2.5));
    q.xyz += v.xyz * dt;
    heat *= exp(-dt * 1.6);
  }
  v.w = heat;

  // Colour: the bird gold-white with a brighter rim, embers cooling through
  // orange to red, the dust a faint blue and mostly not drawn.
  vec3 gold = vec3(1.0, 0.84, 0.58), ember = vec3(0.95, 0.32, 0.08), dust = vec3(0.16, 0.22, 0.45);
  vec3 colour;
  float pointSize, glow;
  float pick = float(hash(i * 7u + 11u) & 0xffffu) / 65536.0;  // which few are drawn
  bool shown = true;
  if (inside > 0.5) {
    // Lit from above, brightest at the rim, dimmer deep inside the body.
    vec2 uv = imageAt(anchor.xy, ttime);
    float rim = 0.0, deep = 0.0;
    for (int k = 0; k < 4; ++k) {
      vec2 d = vec2(k == 0 ? 1.0 : (k == 1 ? -1.0 : 0.0), k == 2 ? 1.6 : (k == 3 ? -1.6 : 0.0));
      rim += 1.0 - birdAt(uv + d * 0.004);
      deep += birdAt(uv + d * 0.02);
    }
    float shade = (0.72 + 0.3 * s.z) * (1.0 - 0.05 * deep) * (0.85 + 0.35 * clamp(anchor.y + 0.3, 0.0, 1.0));
    colour = gold * shade * (1.0 + 0.6 * min(rim, 1.0));
    // Close up (the first seconds) the points grow to close the gaps between
    // them: about 0.001 frame units apart, 200 pixels to half the view height.
    float away = max(distance(toWorld(f, q.xyz), f.eye), 0.1);
    pointSize = max(1.3 + 0.8 * s.z, 1.4 * 0.001 * f.scale * 200.0 / (away * f.lens));
    glow = 0.25 + 0.6 * min(rim, 1.0);
  } else if (heat > 0.08 && pick < 0.2) {
    colour = mix(ember, gold, heat * heat) * (0.2 + 0.7 * heat);
    pointSize = 1.2 + 1.4 * heat * s.z;
    glow = 0.5 * heat;
  } else {
    // Wisps: the dust shows where the curl volume runs strong.
    float wisp = smoothstep(0.7, 1.7, length(curl(vec3(anchor.xy * 1.3, 0.4), alltime * 0.5)));
    colour = dust * (0.4 + 0.6 * s.z) * (0.35 + 0.9 * wisp);
    pointSize = 1.0;
    glow = 0.0;
    // as many drawn per area in the dense disc as outside it
    shown = pick < (s.x < 0.55 ? 0.045 : 0.16) * (0.4 + 0.8 * wisp) * (0.08 + 0.92 * night);
  }

  vec4 p = vec4(toWorld(f, q.xyz), shown ? glow + (inside > 0.5 ? 2.0 : 0.0) : -1.0);
  localPosition[i] = q;
  storeParticle(i, texel, p, v, vec4(colour, pointSize));
}
