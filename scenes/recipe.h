// recipe.h -- a scene's load as a table: one row per step, walked in the
// table's order by scene::load (recipe.cpp). The order is the scene's own:
// it fixes the order textures and programs are made, point sets are sampled
// (listPointSets reads the same rows) and the log is written.
#pragma once
#include "gfx/tgobject.h"

enum class loadStep {
  shakeTrack,     // "try1.sav" into the shake route
  banner,         // the section's banner logged
  texture1D,      // the 1-D float texture of FloatTexture1DSlot made, 4096 wide
  simulator,      // the section's simulator at slot x slot, "ComputeShader1.cpp" compiled into it
  pointSet,       // point set `slot` sampled as *set says
  mesh,           // mesh `slot` read from `file`, then the loading screen moved on by `amount`
  scenePrograms,  // the kit's occlusion combine, blur, smoothing and particle pair, into their slot fields
  fragment,       // fragment program `file` into program `slot`
  program,        // vertex `file` and fragment `second` into program `slot`
  targets,        // the render-target slots stored and attached
  jpeg,           // the image `file` into texture `slot` above the base
  postOptions,    // the post chain's options: the postOption flags in `slot` over the defaults
  logLine,        // `file` written to the log as one line
  own             // the scene's own step number `slot` (scene::ownLoadStep)
};

struct loadRow {
  loadStep step;
  int slot;
  const char* file;
  const char* second;
  double amount;
  const pointSetRequest* set;
};

// How a scene's post chain differs from the default (postStyle), as flags.
enum postOption : int {
  SsaoAspect = 1,               // the occlusion pass gets "aspect" = W / H ...
  SsaoNoResolution = 2,         // ... and not "resolution"
  BlurNoResolution = 4,         // the blur pass gets no "resolution"
  ShakeMove = 8,                // the occlusion pass gets "RelX", how far the shake moved the picture
  BackgroundNoResolution = 16,  // the background effect gets no "resolution"
  GlowTwice = 32,               // the glow quad is added twice
  BackgroundDrawn = 64,         // the background effect is drawn over the frame ...
  NoBackground = 128            // ... or not touched at all (else only made current)
};

// The rows, by step.
constexpr loadRow shakeTrack() { return {loadStep::shakeTrack, 0, nullptr, nullptr, 0, nullptr}; }
constexpr loadRow banner() { return {loadStep::banner, 0, nullptr, nullptr, 0, nullptr}; }
constexpr loadRow floatTexture1D() { return {loadStep::texture1D, 0, nullptr, nullptr, 0, nullptr}; }
constexpr loadRow simulatorGrid(int grid) { return {loadStep::simulator, grid, nullptr, nullptr, 0, nullptr}; }
constexpr loadRow points(int slot, const pointSetRequest& set) {
  return {loadStep::pointSet, slot, nullptr, nullptr, 0, &set};
}
constexpr loadRow mesh(int slot, const char* file, double progress) {
  return {loadStep::mesh, slot, file, nullptr, progress, nullptr};
}
constexpr loadRow scenePrograms() { return {loadStep::scenePrograms, 0, nullptr, nullptr, 0, nullptr}; }
constexpr loadRow fragment(int slot, const char* file) {
  return {loadStep::fragment, slot, file, nullptr, 0, nullptr};
}
constexpr loadRow program(int slot, const char* vertexFile, const char* fragmentFile) {
  return {loadStep::program, slot, vertexFile, fragmentFile, 0, nullptr};
}
constexpr loadRow targets() { return {loadStep::targets, 0, nullptr, nullptr, 0, nullptr}; }
constexpr loadRow jpeg(int slot, const char* file) { return {loadStep::jpeg, slot, file, nullptr, 0, nullptr}; }
constexpr loadRow postOptions(int options) { return {loadStep::postOptions, options, nullptr, nullptr, 0, nullptr}; }
constexpr loadRow logLine(const char* text) { return {loadStep::logLine, 0, text, nullptr, 0, nullptr}; }
constexpr loadRow own(int step) { return {loadStep::own, step, nullptr, nullptr, 0, nullptr}; }

// The sprites most scenes load, in slots above the base.
constexpr int BlobSprite = 10;   // "textures/blob41b.jpg"
constexpr int CloudSprite = 20;  // "textures/cloudt1.jpg"
