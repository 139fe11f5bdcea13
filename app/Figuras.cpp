#include "app/Figuras.h"

#include <QPainter>
#include <QPolygon>

namespace {

QPixmap Transparente(int largura, int altura) {
  QPixmap figura(largura, altura);
  figura.fill(Qt::transparent);
  return figura;
}

}  // namespace

QPixmap FiguraPasta() {
  QPixmap figura = Transparente(14, 11);
  QPainter p(&figura);
  const QColor contorno(128, 96, 0);
  p.setPen(contorno);
  p.setBrush(QColor(255, 204, 0));
  p.drawPolygon(QPolygon({QPoint(0, 1), QPoint(5, 1), QPoint(6, 2), QPoint(13, 2), QPoint(13, 10), QPoint(0, 10)}));
  p.setBrush(QColor(255, 240, 128));
  p.drawRect(1, 4, 11, 5);
  return figura;
}

QPixmap FiguraDisquete() {
  QPixmap figura = Transparente(16, 16);
  QPainter p(&figura);
  p.setPen(Qt::black);
  p.setBrush(QColor(0, 0, 128));
  p.drawPolygon(QPolygon({QPoint(1, 1), QPoint(13, 1), QPoint(14, 2), QPoint(14, 14), QPoint(1, 14)}));
  p.fillRect(4, 2, 8, 5, QColor(192, 192, 192));  // metal shutter
  p.fillRect(9, 3, 2, 3, QColor(0, 0, 128));
  p.fillRect(3, 9, 10, 5, Qt::white);  // label
  p.setPen(QColor(128, 128, 128));
  p.drawLine(4, 11, 11, 11);
  return figura;
}

QPixmap FiguraPorta() {
  QPixmap figura = Transparente(16, 16);
  QPainter p(&figura);
  p.setPen(Qt::black);
  p.setBrush(QColor(64, 64, 64));
  p.drawRect(3, 1, 10, 14);  // the dark doorway
  p.setBrush(QColor(176, 112, 48));
  p.drawPolygon(QPolygon({QPoint(3, 1), QPoint(9, 3), QPoint(9, 15), QPoint(3, 15)}));  // the door, ajar
  p.fillRect(7, 8, 1, 2, QColor(255, 220, 0));  // knob
  return figura;
}

QIcon IconeLog() {
  QPixmap figura = Transparente(12, 12);
  QPainter p(&figura);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(204, 0, 0));
  p.drawEllipse(0, 0, 12, 12);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.fillRect(5, 2, 2, 5, Qt::white);
  p.fillRect(5, 8, 2, 2, Qt::white);
  return QIcon(figura);
}
