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
#include "gfx/glnames.h"
#include "gfx/particlesim.h"
#include "gfx/shaderset.h"
#include "gfx/slots.h"
#include "gfx/tgobject.h"
#include "scenes/camera.h"
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

  // Program slots.
  int particleSlot = ParticleProgram, backgroundSlot = BackgroundProgram, ssaoSlot = SsaoProgram,
      smoothSlot = SmoothProgram, blurSlot = BlurProgram, spareSlot = SpareProgram;
  // Texture slots, counted from the texture base.
  int textureBase = 0, texture1D = FloatTexture1DSlot;
  int colorA = ColourASlot, colorB = ColourBSlot, depthSlot = DepthSlot, randomSlot = RandomSlot,
      smoothTexture = SmoothSlot;

  explicit scene(const sectionRow& r) : row(r), t(r.startClock) {}

  // One frame to `depth`: the record in, advance(); unless another section
  // is current (then nothing is written back), the script, the drawing, the
  // pass-on factors, the clock published in values[0] and the record back.
  void runFrame(frameDepth depth, double* step, FrameState* state);
  void draw(double* step, rendercontext*, FrameState* state) final { runFrame(frameDepth::draw, step, state); }
  // The point sets load() samples, in its order: the start-up samples them
  // ahead on a worker thread (see tgobject.h).
  virtual void listPointSets(std::vector<pointSetRequest>& /*out*/) const {}
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

  // ---- load helpers -----------------------------------------------------------------
  // The opening of a load: openLoad, the shake track read, the banner
  // logged; with `make1D` also make1DTexture. A scene that reads more
  // first calls the pieces in its own order.
  void beginLoad(rendercontext* context, bool make1D = false);
  void openLoad(rendercontext* context);  // "loaded" set, the context kept
  void readShake();                       // "try1.sav" into shake
  void logBanner();
  void make1DTexture();                   // the 1-D float texture of FloatTexture1DSlot, 4096 wide
  void loadFragment(const char* file, int slot);
  void loadVertexFragment(const char* vertexFile, const char* fragmentFile, int slot);
  // The section's simulator at grid x grid, its "ComputeShader1.cpp"
  // compiled into it and the curl volume of the first simulator shared.
  particlesim& loadSimulator(rendercontext* context, int grid);
  // The programs every scene has, in this order: occlusion combine, blur,
  // smoothing, the particle pair.
  void loadScenePrograms();
  // The programs and targets most scenes load alike: texture base 0, the
  // spare program slot reserved, loadScenePrograms, the background effect
  // where the scene has one, attachTargets.
  void loadSceneSet(bool background);
  // Stores the render-target slots from the base and attaches colour A, B and
  // depth to target 0 and the smoothing texture to target 2.
  void attachTargets();
  // The point sprite "blob41b.jpg" into slot 10 above the base and, with
  // `cloud`, the soft cloud "cloudt1.jpg" into slot 20.
  void loadSprites(bool cloud);

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
  // The state the particle pass starts from: depth test off, no program,
  // blending on with (one, one), 2-D texturing on.
  void particleStateSetUp();
  // particleStateSetUp, then the random generator starts over from 4234 (so
  // every frame repeats the draws of the last) and blending goes off.
  void beginParticlePass();
  // The cloud's step as the scenes share it: "ttime", "DeltaT", "PosY",
  // "MegaRotate", the slow turn rot(0, t / 2, 0) as "RotationMatrix" and
  // "RotationMatrix3", "alltime" with cloudAllTime; then the samplers in
  // their order and the dispatch, timed as the frame's compute pass (unit 0
  // is active after).
  void stepCloud(double step, std::initializer_list<samplerBinding> samplers);
  // The point draw of program particleSlot (or `program`): the simulator's
  // buffer as vertices, its images as "PositionTexture" (unit 0) and
  // "ColorTexture" (unit 1), `originalColor` on `colorUnit`, the clock
  // uniforms, then `count` points with the depth test on, blended as the
  // caller left it: the nearest point writes the depth the occlusion pass reads.
  void drawPoints(particlesim& sim, GLuint originalColor, int colorUnit, int count, int program = -1);
  // The whole grid of the section's simulator, the mesh colours on unit 13.
  void drawCloud(GLuint originalColor);
  // The state after the point draw: blending, depth test, vertex array off.
  void endPoints();
  // Before the overlays of a particle pass: the alpha reference 0.05 (the
  // test stays off), no program.
  void beginOverlays();
  // The close of a particle pass: alpha test, blending and culling off, the
  // depth test on, identity matrices, 2-D texturing off.
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

// All three matrices to identity.
void identityMatrices();
