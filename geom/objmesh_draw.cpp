// objmesh_draw.cpp -- drawing an objmesh with client-side vertex arrays.
#include <GL/glew.h>

#include "geom/objmesh.h"

namespace {

// Client arrays need the array and element buffer bindings at zero; a
// binding left by someone else is set aside for the call and put back.
struct clientArrayBindings {
  GLint array = 0, element = 0;
  clientArrayBindings() {
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &array);
    glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &element);
    if (array) glBindBuffer(GL_ARRAY_BUFFER, 0);
    if (element) glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  }
  ~clientArrayBindings() {
    if (array) glBindBuffer(GL_ARRAY_BUFFER, GLuint(array));
    if (element) glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, GLuint(element));
  }
};

void drawTriangles(GLsizei count, const uint32_t* first) {
  if (glDrawElementsInstancedEXT) glDrawElementsInstancedEXT(GL_TRIANGLES, count, GL_UNSIGNED_INT, first, 1);
  else if (glDrawElementsInstanced) glDrawElementsInstanced(GL_TRIANGLES, count, GL_UNSIGNED_INT, first, 1);
  else glDrawElements(GL_TRIANGLES, count, GL_UNSIGNED_INT, first);
}

}  // namespace

// One indexed draw per object over the interleaved records (stride 60:
// position at 0, texture coordinate at 12, normal at 20).
void objmesh::draw(int object) const {
  if (!loaded) return;
  long n = long(objectStarts.size());
  long from = object >= 0 ? object : 0, to = object >= 0 ? long(object) + 1 : n - 1;
  if (from > n - 1) from = n - 1;
  if (to > n - 1) to = n - 1;
  if (from >= to || vertices.empty()) return;
  clientArrayBindings bindings;
  const char* base = reinterpret_cast<const char*>(vertices.data());
  for (long k = from; k < to; ++k) {
    long count = 3L * (objectStarts[size_t(k) + 1] - objectStarts[size_t(k)]);
    if (count <= 0) continue;
    if (hasPositions) {
      glEnableClientState(GL_VERTEX_ARRAY);
      glVertexPointer(3, GL_FLOAT, sizeof(objvertex), base);
    }
    if (hasTexcoords) {
      glEnableClientState(GL_TEXTURE_COORD_ARRAY);
      glTexCoordPointer(2, GL_FLOAT, sizeof(objvertex), base + 12);
    }
    if (hasNormals) {
      glEnableClientState(GL_NORMAL_ARRAY);
      glNormalPointer(GL_FLOAT, sizeof(objvertex), base + 20);
    }
    drawTriangles(GLsizei(count), &indices[3 * size_t(objectStarts[size_t(k)])]);
    if (hasNormals) glDisableClientState(GL_NORMAL_ARRAY);
    if (hasPositions) glDisableClientState(GL_VERTEX_ARRAY);
    if (hasTexcoords) glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  }
}
