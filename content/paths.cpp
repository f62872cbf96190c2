// paths.cpp -- recipes of the paths family.
#include "content/content.h"

void addPathRecipes(std::vector<recipe>&) {}
