// point_vertex.glsl -- what the particle draws' vertex programs (v_particles)
// share: the inputs the draw binds, the outputs the point's fragments read
// (see point_disc), and the steps of placing and sizing a point. There is a
// vertex per particle: gl_Vertex is the step's draw position, gl_VertexID
// the particle's index.
uniform sampler2D PositionTexture;
uniform sampler2D ColorTexture;         // the step's colour (rgb) and size (a)
uniform sampler2D OriginalColorTexture;
uniform float ttime;
uniform float alltime;
uniform float ResolutionMultiplier;     // the window's width over 1280

out vec4 pointColour;
out float pointGlow;  // the part of its light that flares (colour B)

// A position outside the clip volume: the point is not drawn.
const vec4 Hidden = vec4(2.0, 2.0, 2.0, 1.0);

// The colour (rgb) and size (a) the step left for this particle.
vec4 particleLook() {
  ivec2 size = textureSize(ColorTexture, 0);
  ivec2 texel = ivec2(gl_VertexID % size.x, gl_VertexID / size.x);
  return texelFetch(ColorTexture, texel, 0);
}

// Places the point (gl_Position) and returns its distance from the eye,
// taken as no less than `nearest`.
float placePoint(float nearest) {
  vec4 eye = gl_ModelViewMatrix * vec4(gl_Vertex.xyz, 1.0);
  gl_Position = gl_ProjectionMatrix * eye;
  return max(-eye.z, nearest);
}

// Places the point and returns its diameter in pixels: `size` (the step's
// size by the scene's factor) seen through a lens of `lens` at the window's
// width, over the point's distance from the eye (no less than `nearest`).
float pointDiameter(float size, float lens, float nearest) {
  return size * ResolutionMultiplier * lens / placePoint(nearest);
}

// Draws a point meant to be `diameter` pixels wide between 1 and `widest`
// pixels wide, and returns what is left of its light: one thinner than a
// pixel fades with the part of the pixel it would cover, to the power `fade`.
float showPoint(float diameter, float widest, float fade) {
  float shown = clamp(diameter, 1.0, widest);
  gl_PointSize = shown;
  return pow(clamp(diameter / shown, 0.0, 1.0), fade);
}

// The share of its light a point leaves on the picture, for the size it is
// drawn at (gl_PointSize, as set above): a round point loses what would
// fall on a rim 3/16 of a pixel wide along its edge, so one a pixel wide
// keeps a quarter of its light, one 3 pixels wide three quarters, one 8
// pixels wide nine tenths. The draw rasterizes points single-sampled even
// on a multisampled target (see scene::drawPoints): the light a thin point
// leaves is set here, alike on every driver, not by how a driver would
// shade the part of a pixel a point covers.
float pointCover() { return clamp(1.0 - 0.1875 * 4.0 / gl_PointSize, 0.25, 1.0); }

// Where the nearest point wins its pixels (the opaque draws) a dimmed point
// would read as a dark speck: a point is drawn in full or not at all, each
// particle by a threshold of its own that holds from frame to frame, so the
// cloud leaves `share` of its light where it is sparse and still fills its
// pixels where it is dense.
void keepShare(float share) {
  uint h = uint(gl_VertexID) * 2654435761u;  // 2^32 over the golden ratio: thresholds spread evenly
  if (float(h >> 8) * (1.0 / 16777216.0) >= share) gl_Position = Hidden;
}

// A shimmer about `base`, `depth` deep, every point in a phase of its own.
float twinkle(float base, float depth) { return base + depth * sin(alltime * 3.0 + float(gl_VertexID % 977)); }

// A point of a lit surface (the start's slab, the end's word) for the step's
// colour and size: placed, sized by distance up to 8 pixels, and its light,
// three times the colour by w, twinkling about `base` by `depth`. The
// nearest point wins each pixel, so a point carries the light of the
// surface it samples; points thinner than a pixel only fade a little.
// Spelled out rather than through showPoint() and twinkle(): through those
// the compiler groups the product below otherwise, and the picture moves.
vec4 surfacePoint(vec4 colour, float base, float depth) {
  float diameter = pointDiameter(colour.a * 2.2, 7.0, 0.3);
  float shown = clamp(diameter, 1.0, 8.0);
  gl_PointSize = shown;
  float energy = pow(clamp(diameter / shown, 0.0, 1.0), 0.6);
  float shimmer = base + depth * sin(alltime * 3.0 + float(gl_VertexID % 977));
  return vec4(colour.rgb * gl_Vertex.w * 3.0 * energy * shimmer, 1.0);
}
