// motion.cpp -- recipes of the motion family.
#include "content/content.h"

void addMotionRecipes(std::vector<recipe>&) {}
