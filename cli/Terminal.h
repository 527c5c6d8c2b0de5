#pragma once

#include <cstdio>

// Whether the stream is shown on a terminal (a console on Windows) rather than a file or pipe.
bool IsTerminal(std::FILE* stream);
