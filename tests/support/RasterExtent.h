#pragma once

#include "Raster.h"

// The first and last inked column and row of a raster, or of some of its rows; -1 when there
// is no ink.
struct Extent {
    int left = -1, right = -1, top = -1, bottom = -1;
};

Extent InkExtent(const Raster& raster, int fromRow = 0, int toRow = -1);
// The rows that hold ink, as runs: each line of text or bit image, in order.
struct RowRun {
    int top = 0, bottom = 0;
};
std::vector<RowRun> InkedRowRuns(const Raster& raster);
