#version 430 compatibility
// The drawing is flat, so there is nothing to occlude: colour A passes as
// it is and the motes' flare (what colour B holds beyond colour A) is added
// back, a little at a time. Of what the occlusion pass binds, only the two
// colours are read.
uniform sampler2D texture2d_1;      // colour A
uniform sampler2D texture2d_3;      // colour B

void main() {
  vec2 uv = gl_TexCoord[0].xy;
  vec3 colour = texture(texture2d_1, uv).rgb;
  vec3 flare = max(texture(texture2d_3, uv).rgb - colour, 0.0);
  gl_FragColor = vec4(colour + flare * 0.5, 1.0);
}
