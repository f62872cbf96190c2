// glnames.h -- the two GL integer types the gfx headers name, declared
// without pulling in an OpenGL header (GLEW must come before gl.h, so the
// headers leave that choice to the sources). The typedefs match the GL's own,
// and repeating an identical typedef is allowed.
#pragma once

typedef unsigned int GLuint;
typedef unsigned int GLenum;
