// image.cpp -- recipes of the image family.
#include "content/content.h"

void addImageRecipes(std::vector<recipe>&) {}
