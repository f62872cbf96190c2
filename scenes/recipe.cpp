// recipe.cpp -- the one loader of the scenes: walks a scene's recipe (see
// recipe.h) in its order.
#include <iostream>
#include <string>

#include "gfx/rendercontext.h"
#include "gfx/slots.h"
#include "scenes/scene.h"

void scene::load(rendercontext* context) {
  loaded = true;
  rc = context;
  t = row.startClock;
  for (size_t k = 0; k < recipeRows; ++k) loadRowStep(recipe[k]);
}

void scene::listPointSets(std::vector<pointSetRequest>& out) const {
  for (size_t k = 0; k < recipeRows; ++k)
    if (recipe[k].step == loadStep::pointSet) out.push_back(*recipe[k].set);
}

void scene::loadRowStep(const loadRow& r) {
  const std::string dir = row.shaderDir;
  switch (r.step) {
    case loadStep::shakeTrack: readShakeTrack(shake, "try1.sav"); break;
    case loadStep::banner: std::cout << "\n\n================= " << row.banner << " ============== " << std::endl; break;
    case loadStep::texture1D: rc->create1DFloatTexture(FloatTexture1DSlot, 4096); break;
    case loadStep::simulator: loadSimulator(r.slot); break;
    case loadStep::pointSet:
      sets[r.slot].context = rc;
      sets[r.slot].load(*r.set);
      break;
    case loadStep::mesh:
      meshes[r.slot].load(r.file);
      rc->reportProgress(r.amount);
      break;
    case loadStep::scenePrograms:
      shaders.loadFragmentProgram(dir + "f_combineSSAO.cpp", ssaoSlot);
      shaders.loadFragmentProgram(dir + "f_blurpass.cpp", blurSlot);
      shaders.loadFragmentProgram(dir + "f_smoothpass.cpp", smoothSlot);
      shaders.loadProgram(dir + "v_particles.cpp", dir + "f_particles.cpp", particleSlot);
      break;
    case loadStep::fragment: shaders.loadFragmentProgram(dir + r.file, r.slot); break;
    case loadStep::program: shaders.loadProgram(dir + r.file, dir + r.second, r.slot); break;
    case loadStep::targets: attachTargets(); break;
    case loadStep::jpeg: rc->loadJpg(r.file, textureBase + r.slot); break;
    case loadStep::postOptions: post = postStyleOf(r.slot); break;
    case loadStep::logLine: std::cout << r.file << std::endl; break;
    case loadStep::own: ownLoadStep(r.slot); break;
  }
}

postStyle postStyleOf(int options) {
  postStyle p;
  p.ssaoResolution = !(options & SsaoNoResolution);
  p.aspect = (options & SsaoAspect) != 0;
  p.blurResolution = !(options & BlurNoResolution);
  p.relX = (options & ShakeMove) != 0;
  p.backgroundResolution = !(options & BackgroundNoResolution);
  p.glowCount = options & GlowTwice ? 2 : 1;
  if (options & BackgroundDrawn) p.background = backgroundPass::drawn;
  if (options & NoBackground) p.background = backgroundPass::none;
  return p;
}

particlesim& scene::loadSimulator(int grid) {
  particlesim& sim = rc->sims[row.simulator];
  sim.width = sim.height = grid;
  sim.load(std::string(row.shaderDir) + "ComputeShader1.cpp");
  sim.curlTexture = rc->sims[0].curlTexture;  // every simulator shares the first one's volume
  return sim;
}
