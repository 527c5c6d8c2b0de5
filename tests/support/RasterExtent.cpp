#include "RasterExtent.h"

#include <algorithm>
#include <vector>

namespace {

bool RowHasInk(const Raster& raster, int y) {
    for (int x = 0; x < raster.Width(); ++x) {
        if (raster.Ink(x, y)) {
            return true;
        }
    }
    return false;
}

}  // namespace

Extent InkExtent(const Raster& raster, int fromRow, int toRow) {
    Extent e;
    const int end = toRow < 0 ? raster.Height() : std::min(toRow, raster.Height());
    for (int y = fromRow; y < end; ++y) {
        for (int x = 0; x < raster.Width(); ++x) {
            if (!raster.Ink(x, y)) {
                continue;
            }
            e.left = e.left < 0 ? x : std::min(e.left, x);
            e.right = std::max(e.right, x);
            e.top = e.top < 0 ? y : e.top;
            e.bottom = y;
        }
    }
    return e;
}

std::vector<RowRun> InkedRowRuns(const Raster& raster) {
    std::vector<RowRun> runs;
    bool inRun = false;
    for (int y = 0; y < raster.Height(); ++y) {
        const bool ink = RowHasInk(raster, y);
        if (ink && !inRun) {
            runs.push_back({y, y});
        }
        if (ink) {
            runs.back().bottom = y;
        }
        inRun = ink;
    }
    return runs;
}
