// scene.h -- what every scene section shares: the copy of the driver's
// record, its own clock, its programs and texture slots, and the pieces of
// the frame every scene repeats (state reset, render target, lens and
// look-at, the point draw, the post passes).
//
// A scene's frame runs to one of three depths (frameDepth). advance() is its
// prologue and touches no GL: the step scalings, its own clock and the
// hand-over, as its row of the section table gives them. script() follows,
// GL-free too: the camera, the frame's values and the accumulators. render()
// draws, and runs only when the section is loaded. Last, at every depth, the
// row's pass-on factors scale the step the later sections get. The chain
// walker (chain.h) is the one caller of runFrame.
#pragma once
#include <string>

#include "geom/mat4.h"
#include "geom/objmesh.h"
#include "gfx/glnames.h"
#include "gfx/particlesim.h"
#include "gfx/shaderset.h"
#include "gfx/slots.h"
#include "gfx/tgobject.h"
#include "scenes/camera.h"
#include "scenes/recipe.h"
#include "scenes/route.h"
#include "scenes/section.h"

// How far a frame of the chain runs.
enum class frameDepth {
  clock,   // advance() only: step scalings, the clock, the hand-over
  script,  // ... and the script: camera, values, accumulators
  draw     // ... and, when loaded, the drawing
};

// What the background-effect program does in a scene's post passes.
enum class backgroundPass {
  currentOnly,  // made current with its uniforms; nothing drawn
  drawn,        // one full-screen quad blended over the frame
  none          // not touched at all
};

// The intro and the real-life scene keep their blur program in this slot
// of their shader sets, not the kit's BlurProgram: their program tables were
// laid out before the kit's slots were fixed, and their tests pin it.
constexpr int LegacyBlurSlot = 4;

// How a particle pass opens (see openParticlePass).
enum class passOpening {
  reseeded,  // the generator starts over from 4234, blending off
  added      // the generator runs on, blending stays on with (one, one)
};

// The options of the post chain that scenes vary.
struct postStyle {
  bool ssaoResolution = true;  // the occlusion pass gets "resolution" = (W, H, 0)
  bool aspect = false;         // ... or "aspect" = W / H
  bool blurResolution = true;  // the blur pass gets "resolution" = (W, H, 0)
  bool relX = false;        // the occlusion pass gets "RelX", how far the shake moved the picture
  int glowCount = 1;        // times the glow quad is added
  float glow = 1;           // its colour
  backgroundPass background = backgroundPass::currentOnly;
  bool backgroundResolution = true;  // the background effect gets "resolution"
};

class scene : public parts {
public:
  const sectionRow& row;       // the section's row of the table
  FrameState frame;            // copy of the driver's record
  rendercontext* rc = nullptr;
  double t;                    // the section's own clock, seconds
  shaderset shaders;
  route shake;                 // "try1.sav"
  shakeRecord shakeRec;        // this and the previous frame's shake
  postStyle post;
  camera cam;                  // the pose of this frame, set by the scene's script
  float megaRotate = 0;        // the cloud's "MegaRotate", grown every step by the scene's rate
  bool cloudAllTime = false;   // the cloud's compute program also gets "alltime"
  long framesDrawn = 0;        // frames rendered to the end of the post passes
  // The mesh point sets and meshes the recipe loads, in the scene's own
  // named slots.
  static constexpr int MaxPointSets = 6, MaxMeshes = 4;
  TGObject sets[MaxPointSets];
  objmesh meshes[MaxMeshes];
  const loadRow* recipe;       // the scene's load, walked by load()
  size_t recipeRows;

  // Program slots.
  int particleSlot = ParticleProgram, backgroundSlot = BackgroundProgram, ssaoSlot = SsaoProgram,
      smoothSlot = SmoothProgram, blurSlot = BlurProgram, spareSlot = SpareProgram;
  // Texture slots, counted from the texture base.
  int textureBase = 0, texture1D = FloatTexture1DSlot;
  int colorA = ColourASlot, colorB = ColourBSlot, depthSlot = DepthSlot, randomSlot = RandomSlot,
      smoothTexture = SmoothSlot;

  scene(const sectionRow& r, const loadRow* rows, size_t count)
      : row(r), t(r.startClock), recipe(rows), recipeRows(count) {}

  // One frame to `depth`: the record in, advance(); unless another section
  // is current (then nothing is written back), the script, the drawing, the
  // pass-on factors, the clock published in values[0] and the record back.
  void runFrame(frameDepth depth, double* step, FrameState* state);
  void draw(double* step, rendercontext*, FrameState* state) final { runFrame(frameDepth::draw, step, state); }
  // The load: "loaded" set, the context kept, the clock at its start, then
  // the recipe's rows in order (recipe.cpp).
  void load(rendercontext* context) final;
  // The point sets the recipe samples, in its order: the start-up samples
  // them ahead on a worker thread (see tgobject.h).
  void listPointSets(std::vector<pointSetRequest>& out) const;
  // What a later clock takes from a section played to it: its clock and
  // accumulators (a seek makes the live sections agree with fresh ones).
  void takeTimeline(const scene& played);
  // The section's clouds are made anew on their next step: every particle is
  // born again where the compute program places it for its time.
  virtual void restartClouds();
  // Authoring: start the section's own clock at t (scene jump).
  void setClock(double clock) { t = clock; }
  bool current() const { return frame.partNumber == row.partNumber; }

protected:
  // The prologue, from the section's row: the passing scale on every call;
  // false when another section is current (then nothing is written back);
  // else the section's own factors, the clock and the hand-over. No GL.
  bool advance(double* step);
  // The frame's script once the clock moved, free of GL: the camera (cam),
  // the frame's values and the accumulators (megaRotate, the shake record).
  // Runs whenever advance() returns true, loaded or not.
  virtual void script(double /*step*/) {}
  virtual void render(double* step) = 0;

  // Writes the next part number into the record copy, and the flag that
  // stops the chain for this frame where the row says so.
  void handOver();

  // ---- load (recipe.cpp) ------------------------------------------------------------
  void loadRowStep(const loadRow& r);
  // A step of the recipe only the scene knows (loadStep::own).
  virtual void ownLoadStep(int /*step*/) {}
  // The section's simulator at grid x grid, its "ComputeShader1.cpp"
  // compiled into it and the curl volume of the first simulator shared.
  particlesim& loadSimulator(int grid);
  // Stores the render-target slots from the base and attaches colour A, B and
  // depth to target 0 and the smoothing texture to target 2.
  void attachTargets();

  // ---- frame helpers ----------------------------------------------------------------
  // Colour A, B and depth attached again and target 0 bound with 2 buffers.
  void bindSceneTarget();
  // The shared camera takes c; texture and projection matrices reset, the
  // lens (aspect 1.6), then the look-at on an identity modelview.
  void lookThrough(const camera& c);
  void clearTarget();
  // The opening of a scene frame: bindSceneTarget, lookThrough(c), clearTarget.
  void openFrame(const camera& c);
  GLuint textureName(int slot) const;
  particlesim& simulator() const;
  void setMatrix(GLuint program, const char* name, const mat4& m);
  void setFloat(GLuint program, const char* name, float value);
  // The opening of a particle pass: depth test off, no program, blending on
  // with (one, one), 2-D texturing on; then as `how` says.
  void openParticlePass(passOpening how = passOpening::reseeded);
  // The cloud's step as the scenes share it: "ttime", "DeltaT", "PosY",
  // "MegaRotate", the slow turn rot(0, t / 2, 0) as "RotationMatrix" and
  // "RotationMatrix3", "alltime" with cloudAllTime; then the samplers in
  // their order and the dispatch, timed as the frame's compute pass (unit 0
  // is active after).
  void stepCloud(double step, std::initializer_list<samplerBinding> samplers);
  // The point draw of program particleSlot (or `program`), opened: the
  // simulator's buffer as vertices, its images as "PositionTexture" (unit 0)
  // and "ColorTexture" (unit 1), `originalColor` on `colorUnit`, the clock
  // uniforms, the point state, the depth test on and the vertex array.
  // Blending is as the caller left it: the nearest point writes the depth
  // the occlusion pass reads.
  void beginPoints(particlesim& sim, GLuint originalColor, int colorUnit, int program = -1);
  // `count` points of the opened draw, timed as the frame's point pass.
  void drawPointCount(int count);
  // The close of a point draw: point sprites off, line width 1, blending,
  // depth test and vertex array off, no array buffer bound.
  void endPoints();
  // Before the overlays of a particle pass: the alpha reference 0.05 (the
  // test stays off), no program.
  void beginOverlays();
  // The colour (1, 0.7, 0.6) some passes leave behind; every later draw
  // sets its own.
  void warmColour();
  // The close of a particle pass: alpha test, blending and culling off, the
  // depth test on, identity matrices, 2-D texturing off, no program.
  void closeParticlePass();

  // ---- post passes (post.cpp) ----------------------------------------------------------
  void postPasses();
  void ssaoPass(int w, int h);
  void smoothPass(int w, int h);
  void blurPass(int w, int h);
  void glowPass();
  void backgroundEffect(int w, int h);
};

// The unconditional state every scene frame starts from: window viewport,
// depth test on with writes, blending, culling, alpha test and texturing
// off, no program, no bound buffers or client arrays, point state off,
// unit 0 active, identity matrices, white colour. A scene never depends on
// what the one before it left behind.
void resetSceneState(int width, int height);

// One full-screen quad after the fixed-function reset, in a grey of
// `colour`; `added` blends it (one, one) onto what is there.
void screenQuad(rendercontext* rc, bool added = false, float colour = 1);

// The post chain of a recipe's postOptions row (postOption flags).
postStyle postStyleOf(int options);

// All three matrices to identity.
void identityMatrices();
