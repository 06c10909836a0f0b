#include "ui/ToolIcons.h"

#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace {
constexpr int kIconSize = 16;
} // namespace

QIcon ToolIcon(const QString& path) {
    QIcon icon;
    const struct {
        QString suffix;
        QIcon::Mode mode;
    } states[] = {{QString(), QIcon::Normal}, {QStringLiteral("_aus"), QIcon::Disabled}};
    for (const auto& state : states) {
        const QString file = path + state.suffix + QStringLiteral(".svg");
        if (!QFile::exists(file))
            continue;
        QSvgRenderer renderer(file);
        for (const int scale : {1, 2}) {
            QPixmap picture(kIconSize * scale, kIconSize * scale);
            picture.fill(Qt::transparent);
            QPainter painter(&picture);
            renderer.render(&painter);
            painter.end();
            picture.setDevicePixelRatio(scale);
            icon.addPixmap(picture, state.mode);
        }
    }
    return icon;
}
