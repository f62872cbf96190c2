// mesh.cpp -- recipes of the mesh family.
#include "content/content.h"

void addMeshRecipes(std::vector<recipe>&) {}
