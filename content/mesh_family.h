// mesh_family.h -- the builders behind the mesh recipes (content/mesh.cpp).
#pragma once
#include <cstdint>
#include <functional>

#include "content/objwriter.h"

// Point sets (reduced form). Each is sized for the rings and edge density
// its scene samples it with (see the recipe table in mesh.cpp).
meshData buildObelisk();
meshData buildDna();
meshData buildFish(uint64_t seed);
meshData buildBirds(uint64_t seed);
meshData buildSphere(int cells);
meshData buildBaby(double cell);
meshData buildVeltra(double cell);
meshData buildSwing(double cell);
meshData buildLogo(double cell);

// Searches the cell size, coarse to fine, for the mesh whose sampling fills
// the most of the grid without passing `fill` of it.
meshData fitToGrid(const std::function<meshData(double)>& build, int rings, int density,
                   long long capacity, double fill);

// Landmarks and props (ordinary form, named objects), upright as drawn.
meshData buildLatticeTower();
meshData buildClockTower();
meshData buildTemple();
meshData buildTree(uint64_t seed);
meshData buildBird();
meshData buildStatue();
