#include "ui/FileNameLabel.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

QString ElideFileCaption(const QString& caption, const QString& name, const QFontMetrics& metrics,
                         int width) {
    const QString whole = caption + name;
    if (metrics.horizontalAdvance(whole) <= width)
        return whole;
    return caption +
           metrics.elidedText(name, Qt::ElideMiddle, width - metrics.horizontalAdvance(caption));
}

TFileNameLabel::TFileNameLabel(const QString& caption, QWidget* parent)
    : QLabel(caption, parent), caption_(caption) {}

void TFileNameLabel::SetFile(const QString& name, const QString& path) {
    name_ = name;
    setText(caption_ + name);
    setToolTip(path);
}

QString TFileNameLabel::ShownText() const {
    return ElideFileCaption(caption_, name_, fontMetrics(), contentsRect().width());
}

void TFileNameLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), alignment(), palette(), isEnabled(),
                          ShownText(), foregroundRole());
}
