#include "ui/Pictures.h"

#include <QFont>
#include <QPainter>
#include <QPen>

QPixmap ModifiedMarkPicture(int width, int height) {
    QPixmap picture(width, height);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const int size = qMin(width, height) - 4;
    const QRectF disc((width - size) / 2.0, (height - size) / 2.0, size, size);
    painter.setPen(QPen(QColor(128, 0, 0), 1));
    painter.setBrush(QColor(220, 40, 40));
    painter.drawEllipse(disc);
    // A pencil stroke across the disc.
    painter.setPen(QPen(Qt::white, qMax(2.0, size / 7.0), Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(disc.left() + size * 0.3, disc.bottom() - size * 0.3),
                     QPointF(disc.right() - size * 0.28, disc.top() + size * 0.28));
    return picture;
}

// The program's picture is drawn in units of its size in the about dialog
// and stretched to the size asked for, so that the printed footer shows the
// same picture at any resolution.
QPixmap ProgramPicture(int width, int height) {
    constexpr double kWidth = 249, kHeight = 57;
    QPixmap picture(width, height);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(width / kWidth, height / kHeight);
    // A grillage of three girders and four cross beams in oblique view.
    const double left = 8, top = 10, w = 90, h = kHeight - 20, skew = 18;
    painter.setPen(QPen(QColor(0, 90, 160), 2));
    for (int i = 0; i < 3; ++i) {
        const double y = top + i * h / 2;
        painter.drawLine(QPointF(left + skew * (1 - i / 2.0), y),
                         QPointF(left + skew * (1 - i / 2.0) + w, y));
    }
    painter.setPen(QPen(QColor(0, 128, 0), 1.5));
    for (int j = 0; j < 4; ++j) {
        const double x = left + j * w / 3;
        painter.drawLine(QPointF(x + skew, top), QPointF(x, top + h));
    }
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(int(kHeight) * 5 / 9);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0, 60, 120));
    const double textLeft = left + w + skew + 8;
    painter.drawText(QRectF(textLeft, 0, kWidth - textLeft, kHeight),
                     Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Balkor"));
    return picture;
}
