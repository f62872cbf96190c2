#version 430 compatibility
// The main cloud's draw: one point per particle, its position from the
// simulator's buffer (gl_Vertex; w is the part of its light that flares),
// its colour and size from "ColorTexture". Sizes follow the window width
// through ResolutionMultiplier and shrink with distance.
#include "point_vertex.cpp"

// The share of its light a point adds, by the shape the cloud holds (see the
// storyboard of ComputeShader1): the dense slab, fish and birds take less
// than the open strand. The shares are of the light pointCover() leaves:
// a point adds to the pixels whose centres it covers, and the depth test
// lets fewer of the ones behind it through than on separate samples.
float addedShare(float t) {
  float share = mix(0.18, 0.26, smoothstep(21.0, 29.0, t));  // the slab, then the strand
  share = mix(share, 0.12, smoothstep(63.0, 70.0, t));         // the fish school
  return mix(share, 0.13, smoothstep(101.0, 108.0, t));       // the bird flock
}

void main() {
  vec4 colour = particleLook();
  float diameter = pointDiameter(colour.a * 2.0, 6.0, 0.25);
  // The points are added, but the depth test keeps only those nearer than
  // all drawn before them on their pixel: a pixel where n points overlap
  // gathers the light of about ln n + 0.6 of them. A point carries a share
  // of its light, so that dense parts glow in their colours rather than
  // burn out; points thinner than a pixel fade a little more.
  float energy = showPoint(diameter, 7.0, 0.5) * addedShare(ttime);
  pointColour = vec4(colour.rgb * energy * twinkle(0.88, 0.12), 1.0);
  pointColour.rgb *= pointCover();  // added: the light itself is scaled
  pointGlow = gl_Vertex.w;
}
