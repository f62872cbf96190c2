// movable_draw.cpp -- the debugging boxes and the rigid parts in immediate mode.
#include <GL/glew.h>

#include <algorithm>

#include "geom/movable.h"
#include "geom/rigid.h"

namespace {

void boxLines(const vec3 c[8]) {
  glBegin(GL_LINES);
  for (int k = 0; k < 4; ++k) {
    glVertex3f(c[k].x, c[k].y, c[k].z);
    glVertex3f(c[k + 4].x, c[k + 4].y, c[k + 4].z);
  }
  glEnd();
  for (int face = 0; face < 8; face += 4) {
    glBegin(GL_LINE_LOOP);
    for (int k = face; k < face + 4; ++k) glVertex3f(c[k].x, c[k].y, c[k].z);
    glEnd();
  }
}

}  // namespace

void movable::drawWorldBox() const {
  glPushMatrix();
  glDisable(GL_LIGHTING);
  if (highlight) glColor3f(0.7f, 0.3f, 0.4f);
  else glColor3f(0.4f, 0.3f, 0.7f);
  boxLines(worldCorners);
  glEnable(GL_LIGHTING);
  glPopMatrix();
}

void movable::drawLocalBox() const {
  glDisable(GL_LIGHTING);
  if (highlight) glColor3f(0.9f, 0.3f, 0.2f);
  else glColor3f(0.2f, 0.4f, 0.2f);
  boxLines(localCorners);
  glEnable(GL_LIGHTING);
}

// Lit triangles under the part's transform, lighting left disabled; the
// debugging figures only with showBounds (the local box turns lighting back
// on, so the axis cross is drawn lit and lighting stays on).
void rigid::draw() {
  glPushMatrix();
  if (showBounds) drawWorldBox();
  glMultMatrixf(transform.m);
  glEnable(GL_LIGHTING);
  if (hasGeometry) drawGroups();
  glDisable(GL_LIGHTING);
  if (showBounds) {
    drawLocalBox();
    glColor3f(0.2f, 0.3f, 1.0f);
    const vec3& c = partCentre;
    glBegin(GL_LINES);
    glVertex3f(c.x, c.y - 0.5f, c.z), glVertex3f(c.x, c.y + 0.5f, c.z);
    glVertex3f(c.x - 0.5f, c.y, c.z), glVertex3f(c.x + 0.5f, c.y, c.z);
    glVertex3f(c.x, c.y, c.z - 0.5f), glVertex3f(c.x, c.y, c.z + 0.5f);
    glEnd();
  }
  glPopMatrix();
}

// One batch for all groups; triangles with an index that refers to nothing
// are left out.
void rigid::drawGroups() const {
  size_t count = std::min(vertices.size(), vertexNormals.size());
  glBegin(GL_TRIANGLES);
  for (const materialgroup& g : groups) {
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, g.ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, g.diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, g.specular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, g.shininess);
    if (useAlpha) glColor4f(1, 1, 1, g.alpha);
    for (const materialgroup::triangle& t : g.triangles) {
      bool inside = true;
      for (int v : t.v) inside = inside && v >= 1 && size_t(v) <= count;
      if (!inside) continue;
      for (int v : t.v) {
        glNormal3f(vertexNormals[v - 1].x, vertexNormals[v - 1].y, vertexNormals[v - 1].z);
        glVertex3f(vertices[v - 1].x, vertices[v - 1].y, vertices[v - 1].z);
      }
    }
  }
  glEnd();
}
