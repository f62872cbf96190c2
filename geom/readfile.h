// readfile.h -- whole files into memory for the text loaders.
#pragma once
#include <string>
#include <string_view>

// Reads the file into text; false when it cannot be opened. A path that is
// not a regular file (a folder) opens but reads as empty.
bool readWholeFile(const std::string& path, std::string& text);

// The text without a leading UTF-8 byte-order mark (EF BB BF), which some
// editors write in front of the first line; the readers would take it as
// part of the first token.
std::string_view skipByteOrderMark(std::string_view text);
