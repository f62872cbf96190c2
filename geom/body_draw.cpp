// body_draw.cpp -- drawing the figure's bones with the limb mesh.
#include <GL/glew.h>

#include "geom/body.h"

namespace {

// Bone J -> C: J's limb object under J's joint matrix, scaled to the limb
// mesh's units and mirrored in Y. Joints outside the limb table draw nothing.
void drawBone(body& b, const joint& from, const mat4& m, void*) {
  glPushMatrix();
  glMultMatrixf(m.m);
  glScalef(44.16f, 44.16f, 44.16f);
  glScalef(1, -1, 1);
  glPushMatrix();
  if (const limbEntry* e = findLimb(from.name)) {
    glTranslatef(e->tx, e->ty, e->tz);
    if (e->scale != 0) glScalef(e->scale, e->scale, e->scale);
    if (b.mesh) b.mesh->draw(e->object);
  }
  glPopMatrix();
  glPopMatrix();
}

}  // namespace

void body::draw(const objmesh& limbMesh) {
  mesh = &limbMesh;
  glPushMatrix();
  if (showBounds) drawWorldBox();
  pose(drawBone, nullptr);
  glPopMatrix();
}
