// point_disc.glsl -- what the particle draws' fragment programs (f_particles)
// share: the inputs from the vertex program (see point_vertex) and round
// points. The includer writes colour A (gl_FragData[0]) and colour B
// (gl_FragData[1]).
in vec4 pointColour;
in float pointGlow;

// The squared distance of this fragment from the point's centre, 0 ... 1;
// the fragments outside the round point are discarded.
float pointDisc() {
  vec2 d = gl_PointCoord * 2.0 - 1.0;
  float r2 = dot(d, d);
  if (r2 > 1.0) discard;
  return r2;
}

// The light across a round point: `rim` at its edge, rim + rise at its centre.
float pointShade(float rim, float rise) { return rim + rise * (1.0 - pointDisc()); }
