// volume.cpp -- recipes of the volume family.
#include "content/content.h"

void addVolumeRecipes(std::vector<recipe>&) {}
