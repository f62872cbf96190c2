// music.cpp -- recipes of the music family.
#include "content/content.h"

void addMusicRecipes(std::vector<recipe>&) {}
