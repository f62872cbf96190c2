// files.h -- small input files written by the tests themselves.
#pragma once
#include <string>

// Writes text to a fresh file in the test temporary folder; returns its path.
std::string writeTestFile(const std::string& name, const std::string& text);
// Replaces every "\n" with "\r\n".
std::string crlf(const std::string& text);
