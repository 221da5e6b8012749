// SPDX-License-Identifier: MIT
// Drawing the convert picture (a free curve above, a run of arcs below) and
// choosing the font.
#include "appearance.h"

#include <QPainter>
#include <QPainterPath>

namespace tessarin {

QPixmap ConvertPicture(int size) {
  QPixmap picture(size, size);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 24.0, size / 24.0);

  QPainterPath curve(QPointF(2, 9));
  curve.cubicTo(QPointF(7, 1), QPointF(12, 14), QPointF(22, 4));
  painter.setPen(QPen(QColor(40, 90, 200), 2.0, Qt::SolidLine, Qt::RoundCap));
  painter.drawPath(curve);

  // Two arcs meeting at a vertex, with the vertices marked.
  painter.setPen(QPen(QColor(200, 40, 40), 2.0, Qt::SolidLine, Qt::RoundCap));
  painter.drawArc(QRectF(2, 14, 10, 10), 0 * 16, 180 * 16);
  painter.drawArc(QRectF(12, 14, 10, 10), 180 * 16, 180 * 16);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(30, 30, 30));
  for (const QPointF vertex : {QPointF(2, 19), QPointF(12, 19), QPointF(22, 19)}) {
    painter.drawEllipse(vertex, 1.5, 1.5);
  }
  return picture;
}

QFont DefinitionFont(int pixelSize) {
  QFont font;
  font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed"),
                    QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Liberation Sans"),
                    QStringLiteral("Arial")});
  font.setPixelSize(pixelSize);
  return font;
}

}  // namespace tessarin
