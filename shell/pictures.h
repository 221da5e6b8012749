// SPDX-License-Identifier: MIT
// The program's own picture: a spline becoming a chain of arcs.
#pragma once

#include <QPixmap>

namespace tessarin {

// Drawn at `size` by `size` pixels.
QPixmap ConvertPicture(int size);

}  // namespace tessarin
