#pragma once

#include <QRectF>
#include <QSizeF>

// Where a printed picture goes. Sizes are first worked out in the frame of a 600-dpi letter
// page (5100 x 6600 units): an upright picture 6600 high, a wide one 5100 wide, never wider
// or higher than the frame, keeping the picture's ratio. The imaging control then maps the
// frame onto the printer's printable page, so nothing is cut off on A4 or any other paper.
namespace print_layout {

inline constexpr double kFrameWidth = 5100.0;
inline constexpr double kFrameHeight = 6600.0;

// The printed size in frame units for a picture of width w by height h (both > 0).
QSizeF FrameSize(double w, double h);

} // namespace print_layout
