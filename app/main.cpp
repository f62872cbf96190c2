// main.cpp -- the entry point.
#include "app/app.h"

int main(int argc, char** argv) { return runObelisk(argc, argv); }
