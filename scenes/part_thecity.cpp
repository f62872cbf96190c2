// part_thecity.cpp -- the city: the cloud turns from the obelisk into a
// curled-up baby and back while the street passes by in black silhouettes
// against the dusk the post passes paint behind everything. The time script
// and the groups' places are in thecity_script.cpp.
#include "scenes/part_thecity.h"

#include <GL/glew.h>

#include <cstdio>
#include <iostream>
#include <iterator>

#include "gfx/frametimer.h"
#include "gfx/particlesim.h"
#include "gfx/quads.h"
#include "gfx/rendercontext.h"
#include "gfx/slots.h"
#include "gfx/textures.h"
#include "platform/crandom.h"
#include "scenes/timing.h"

// ---- load ---------------------------------------------------------------------------------
static const int GridSize = 1536;  // particle grid, 2 359 296 points
static const int Obelisk = 0, Baby = 1;  // point sets: the two shapes of the cloud
static const int DoveFrames = 0, Walker = 1;  // the scene's own load steps
static const pointSetRequest ObeliskSet{"newobjects//obelisk.obj", GridSize, GridSize, 450, 450, 1, 1, 1};
static const pointSetRequest BabySet{"newobjects//baby.obj", GridSize, GridSize, 18, 20, 1, 1, 1};
static const loadRow CityLoad[] = {
    shakeTrack(), banner(), floatTexture1D(), simulatorGrid(GridSize), points(Obelisk, ObeliskSet),
    mesh(LatticeMesh, "newobjects//Eiffel.obj", 0.05), mesh(TowerMesh, "newobjects//Tower.obj", 0.1),
    mesh(TempleMesh, "newobjects//Parthenon.obj", 0.05), mesh(TreeMesh, "newobjects//tree.obj", 0.05),
    points(Baby, BabySet), scenePrograms(), fragment(BackgroundProgram, "f_backgroundeffect.cpp"), targets(),
    jpeg(BlobSprite, "textures/blob41b.jpg"), jpeg(CloudSprite, "textures/cloudt1.jpg"),
    own(DoveFrames), own(Walker),
    // the blur pass paints the dusk where colour A stayed empty: the
    // background effect is only made current
    postOptions(SsaoNoResolution | ShakeMove | BackgroundNoResolution),
};

part_thecity::part_thecity(const sectionRow& r) : scene(r, CityLoad, std::size(CityLoad)) { cloudAllTime = true; }

void part_thecity::ownLoadStep(int step) {
  if (step == DoveFrames) {
    for (int k = 0; k <= DoveImages; ++k) {
      char name[64];
      std::snprintf(name, sizeof name, "textures/dove//Dove_frame_%03d.jpg", k);
      rc->loadJpgRgba(name, name, textureBase + DoveBase + k);  // the light bird is its own alpha
    }
  }
  if (step == Walker) loadWalker();
}

void part_thecity::loadWalker() {
  try {
    walker = std::make_unique<body>("newneomeshes//avatar_female_walk.bvh");
  } catch (const fileNotFound&) {
    std::cout << "City: no walk motion, the crowd stays away" << std::endl;
    walker.reset();
  }
  limbs.load("newneomeshes//human4.obj");
  if (walker && !limbs.loaded) {
    std::cout << "City: no limb mesh, the crowd stays away" << std::endl;
    walker.reset();
  }
}

// ---- frame --------------------------------------------------------------------------------

void part_thecity::script(double step) {
  vec3 record;
  cam = cityCamera(t, shake, record);
  shakeRec.push(record);
  megaRotate += float(megaRotateRate(t) * step);
}

void part_thecity::render(double* step) {
  openFrame(cam);
  glGetFloatv(GL_MODELVIEW_MATRIX, view);  // the world the groups stand in
  particlePass(*step);
  postPasses();
}

// ---- particle pass ------------------------------------------------------------------------

void part_thecity::simulate(double step) {
  stepCloud(step, {
      {"OriginalPositionTexture", 7, sets[Obelisk].positionTexture},
      {"OriginalPositionTextureAnimal", 14, sets[Obelisk].positionTexture},
      {"Swirl_Texture", 15, textureName(textureBase + FirstTitleSlot)},
      {"OriginalPositionTexture_Bird", 16, sets[Baby].positionTexture},
      {"OriginalColorTexture", 8, sets[Obelisk].colorTexture},
      {"Original1DTexture", 17, textureName(texture1D), GL_TEXTURE_1D},
  });
}

// The cloud, then the street's groups inside the same pass.
void part_thecity::particlePass(double step) {
  openParticlePass();
  simulate(step);
  beginPoints(simulator(), sets[Obelisk].colorTexture, 13);
  drawPointCount(GridSize * GridSize);
  endPoints();
  warmColour();
  streetState();
  drawGroups();
  closeParticlePass();
}

// The state the groups are drawn in: no culling, the depth test on, the
// texture and modelview matrices reset (the projection stays the camera's),
// no program, no texturing, no blending.
void part_thecity::streetState() {
  glDisable(GL_CULL_FACE);
  glEnable(GL_DEPTH_TEST);
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  shaders.useNoProgram();
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
}

// ---- the groups: black silhouettes in the camera's world -----------------------------------

void part_thecity::drawGroups() {
  benchPassBegin(passOverlay);
  placeGroups(t, groups);
  glMatrixMode(GL_MODELVIEW);
  glLoadMatrixf(view);  // the camera's world, not eye space: the street stays around the cloud
  glColor4f(0, 0, 0, 1);
  drawCrowd();
  drawLandmark(groups.lattice, meshes[LatticeMesh], 0);
  drawLandmark(groups.temple, meshes[TempleMesh], 1);
  drawLandmark(groups.tower, meshes[TowerMesh], 2);
  drawTrees();
  drawDoves();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  benchPassEnd(passOverlay);
}

void part_thecity::drawCrowd() {
  if (!walker) return;
  for (const walkerPlace& w : groups.crowd) {
    if (w.fade <= 0) continue;
    glPushMatrix();
    walker->framePosition = w.frame;
    glTranslatef(w.at.x, w.at.y, w.at.z);
    glColor3f(0, 0, 0);
    float size = 0.02f * w.fade;
    glScalef(size, size, size);
    glRotatef(w.tilt, 1, 0, 0);
    glRotatef(90, 0, 1, 0);  // walking towards the camera
    walker->draw(limbs);
    glPopMatrix();
  }
}

// which: 0 lattice tower, 1 temple, 2 tower. The meshes are stored turned by
// the inverse of these chains, so they stand upright.
void part_thecity::drawLandmark(const landmarkPlace& p, const objmesh& mesh, int which) {
  if (!p.shown || p.scale <= 0) return;
  glPushMatrix();
  glTranslatef(p.at.x, p.at.y, p.at.z);
  glColor3f(0, 0, 0);
  glScalef(p.scale, p.scale, p.scale);
  if (which == 2) {
    glRotatef(-37, -0.5f, 1, 0);
    glRotatef(74, 0, 1, 0);
    glRotatef(82, 0, 1, 0);
    glRotatef(3, 1, 0, 0);
  } else {
    glRotatef(which == 0 ? -58.0f : 18.0f, 1, 0, 0);
    glRotatef(p.sway, 1, 0, 0);
    if (which == 1) glRotatef(-4, 0, 1, 0);
    glRotatef(90, 0, 1, 0);
    glRotatef(190, 1, 0, 0);
  }
  mesh.draw(-1);
  glPopMatrix();
}

void part_thecity::drawTrees() {
  for (int k = 0; k < groups.treeCount; ++k) {
    const landmarkPlace& p = groups.trees[k];
    if (p.scale <= 0) continue;
    glPushMatrix();
    glTranslatef(p.at.x, p.at.y, p.at.z);
    glColor3f(0, 0, 0);
    glScalef(p.scale, p.scale, p.scale);
    glRotatef(p.turn, 0, 1, 0.1f);
    glTranslatef(0, 0.7f, 0);  // the trunk's foot on the ground
    meshes[TreeMesh].draw(-1);
    glPopMatrix();
  }
}

// Billboards that write no depth: the backdrop keys on colour A's coverage.
void part_thecity::drawDoves() {
  if (groups.doveCount == 0) return;
  glActiveTexture(GL_TEXTURE0);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glColor4f(0, 0, 0, 1);
  glDepthMask(GL_FALSE);
  for (int k = 0; k < groups.doveCount; ++k) {
    const dovePlace& d = groups.doves[k];
    rc->bindTexture(textureBase + d.image);
    glPushMatrix();
    glTranslatef(d.at.x, d.at.y, d.at.z);
    double angle = d.angle, sx = d.sx, sy = d.sy;
    drawScreenQuad(&angle, &sx, &sy, true, 1);
    glPopMatrix();
  }
  glDepthMask(GL_TRUE);  // a mask left off would stop the next clear from clearing depth
  glDisable(GL_BLEND);
  glDisable(GL_TEXTURE_2D);
}
