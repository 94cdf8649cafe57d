#include "picture/BlendPicture.h"

#include "picture/BlendRect.h"

#include <algorithm>
#include <cstdint>

namespace hk {
namespace {

struct Overlap {
    int canvasStart = 0;
    int pictureStart = 0;
    int length = 0;
};

// Where a picture of `size` placed at `origin` meets a canvas of `limit`, along one axis. In 64
// bits, so that a place or size near the int limit cannot overflow an edge.
Overlap overlap(int origin, int size, int limit) {
    const std::int64_t start = std::max<std::int64_t>(origin, 0);
    const std::int64_t end = std::min(std::int64_t{origin} + size, std::int64_t{limit});
    if (end <= start) {
        return {};
    }
    return {static_cast<int>(start), static_cast<int>(start - origin),
            static_cast<int>(end - start)};
}

} // namespace

void blendPicture(const ConstBitmapView& picture, const BitmapView& canvas, int left, int top,
                  void (*beforeRow)()) {
    const Overlap columns = overlap(left, picture.width(), canvas.width());
    const Overlap rows = overlap(top, picture.height(), canvas.height());
    if (columns.length == 0 || rows.length == 0) {
        return;
    }
    const PixelRect onCanvas{columns.canvasStart, rows.canvasStart,
                             columns.canvasStart + columns.length, rows.canvasStart + rows.length};
    const PixelRect ofPicture{columns.pictureStart, rows.pictureStart,
                              columns.pictureStart + columns.length,
                              rows.pictureStart + rows.length};
    BlendRect(onCanvas, ofPicture, canvas, &picture, {.beforeRow = beforeRow});
}

} // namespace hk
