#version 430 compatibility
// The scene's background-effect program is only made current, with its
// uniforms, after the glow: nothing is drawn with it. The dusk is painted by
// the blur pass (f_blurpass, dusk_sky).
#include "background_inputs.cpp"

void main() { gl_FragColor = vec4(0.0); }
