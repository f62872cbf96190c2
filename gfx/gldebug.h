// gldebug.h -- GL error accounting for authoring runs: every error and
// performance warning the driver reports is logged once, with its source and
// the place it came from (the pass or section being drawn), and counted.
// Off by default; then nothing is installed and every call returns at once.
#pragma once

extern bool glDebugEnabled;

// Installs the driver's debug callback (KHR_debug) with the context current;
// where the driver lacks it, glDebugCheck reads glGetError instead.
void glDebugInstall();
// Names the place the next GL calls belong to; a string literal (kept, not copied).
void glDebugPlace(const char* place);
// Names the section drawing from now on (its banner); the place starts over.
void glDebugSection(const char* name);
// Where there is no callback: reads and accounts glGetError at a pass boundary.
void glDebugCheck();
long glDebugErrors();
long glDebugWarnings();
// One line on standard error and in the log: the counts.
void glDebugReport();
