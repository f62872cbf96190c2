// background_inputs.glsl -- what the scenes hand the backdrop programs
// (f_backgroundeffect) every frame; each program reads those it needs. The
// textures are bound only where the scene draws the backdrop over its
// frame, "resolution" only where the scene asks for it.
uniform sampler2D texture2d_1;  // colour A
uniform sampler2D texture2d_2;  // depth
uniform float time;             // the section's clock
uniform float alltime;          // the demo's clock
uniform vec3 mouse;
uniform vec3 resolution;        // the window's size
uniform vec3 CamPos;
uniform vec3 CamDir;            // the look-at point
uniform float PosY;
uniform vec3 CamShake;
