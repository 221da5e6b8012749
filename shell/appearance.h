// SPDX-License-Identifier: MIT
// The look the windows share: the program's own picture (a spline becoming
// a chain of arcs) and the font of the window definitions.
#pragma once

#include <QFont>
#include <QPixmap>

namespace tessarin {

// Drawn at `size` by `size` pixels.
QPixmap ConvertPicture(int size);

// Tahoma at `pixelSize` pixels; where it is missing, a font of about its
// width, so that the texts fit the fixed places of the definitions.
QFont DefinitionFont(int pixelSize);

}  // namespace tessarin
