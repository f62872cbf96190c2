// readfile.h -- whole files into memory for the text loaders.
#pragma once
#include <string>

// Reads the file into text; false when it cannot be opened. A path that is
// not a regular file (a folder) opens but reads as empty.
bool readWholeFile(const std::string& path, std::string& text);
