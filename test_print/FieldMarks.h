#pragma once

#include <cstdint>
#include <vector>

// A ruler as wide as the print field, as a bit image line: tall marks at the field's edges, a
// mark each millimetre and a longer one each 5 mm from the left edge, on a base line. It
// fills the field exactly, so no alignment moves it, and it shows where the indent and the
// width put the field on the paper.
std::vector<std::uint8_t> FieldMarks(int leftIndentMm, int fieldWidthMm);
