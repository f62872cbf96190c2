// content.h -- the content generator's recipe table and shared helpers.
// Every output file has one recipe: a short function that writes it from its
// own explicit seed. Families add their recipes to the table; main walks it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct recipe {
  const char* name;                              // path relative to the data folder, as the program reads it
  bool (*make)(const std::string& path);         // writes the file at path; false on failure
};

// One registration function per family (content/<family>.cpp).
void addMeshRecipes(std::vector<recipe>& out);    // point-set meshes and landmark meshes
void addMotionRecipes(std::vector<recipe>& out);  // the walker's motion and limb mesh
void addImageRecipes(std::vector<recipe>& out);   // JPEG images
void addVolumeRecipes(std::vector<recipe>& out);  // the velocity volume
void addPathRecipes(std::vector<recipe>& out);    // shake track, text route, stroke frames
void addMusicRecipes(std::vector<recipe>& out);   // the music track

// The generator's own seeded random numbers (never the program's generator).
// A 64-bit PCG-style step: same seed, same sequence, on every machine.
struct contentRng {
  uint64_t state;
  explicit contentRng(uint64_t seed) : state(seed * 6364136223846793005ULL + 1442695040888963407ULL) {}
  uint32_t next() {
    uint64_t old = state;
    state = old * 6364136223846793005ULL + 1442695040888963407ULL;
    uint32_t xorshifted = uint32_t(((old >> 18u) ^ old) >> 27u);
    uint32_t rot = uint32_t(old >> 59u);
    return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
  }
  double uniform() { return next() * (1.0 / 4294967296.0); }                    // 0 ... 1 (exclusive)
  double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
};

// Creates every folder on the way to a file; false when that fails.
bool makeParentFolders(const std::string& path);
