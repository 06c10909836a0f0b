#include "ui/PageControl.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStackedWidget>
#include <QVBoxLayout>

TPageTabs::TPageTabs(QWidget* parent) : QWidget(parent) {
    // The height is that of the lines at the width given (not a fixed one,
    // which the layout would hold to the one-line size hint).
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Minimum);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void TPageTabs::AddTab(const QString& text) {
    texts_ << text;
    if (current_ < 0)
        current_ = 0;
    rects_ = Layout(width());
    updateGeometry();
    update();
}

void TPageTabs::SetCurrentIndex(int index) {
    if (index < 0 || index >= Count() || index == current_)
        return;
    current_ = index;
    // The line of the chosen tab moves next to the pages.
    rects_ = Layout(width());
    update();
}

QRect TPageTabs::TabRect(int index) const {
    return rects_.value(index);
}

// Sizes follow the font: the caption with two thirds of a line's height of
// room on either side, one and a half lines high.
int TPageTabs::TabWidth(int index) const {
    return fontMetrics().horizontalAdvance(texts_[index]) + 4 * fontMetrics().height() / 3;
}

int TPageTabs::TabHeight() const {
    return 3 * fontMetrics().height() / 2 + 2;
}

QList<QRect> TPageTabs::Layout(int width) const {
    // Fill the lines in tab order.
    QList<QList<int>> lines;
    int used = 0;
    for (int i = 0; i < Count(); ++i) {
        const int w = TabWidth(i);
        if (lines.isEmpty() || (used + w > width && !lines.last().isEmpty())) {
            lines.append(QList<int>());
            used = 0;
        }
        lines.last().append(i);
        used += w;
    }
    // The line holding the current tab comes first, next to the pages; the
    // others keep their order below it.
    for (int k = 0; k < lines.size(); ++k)
        if (lines[k].contains(current_)) {
            lines.move(k, 0);
            break;
        }
    QList<QRect> rects(Count());
    const int height = TabHeight();
    for (int k = 0; k < lines.size(); ++k) {
        const QList<int>& line = lines[k];
        int natural = 0;
        for (const int i : line)
            natural += TabWidth(i);
        // Several lines: each is spread over the whole width.
        const int extra = lines.size() > 1 ? std::max(0, width - natural) : 0;
        int x = 0;
        int given = 0;
        for (int j = 0; j < line.size(); ++j) {
            const int share = j + 1 == line.size() ? extra - given : extra / int(line.size());
            const int w = TabWidth(line[j]) + share;
            rects[line[j]] = QRect(x, k * height, w, height);
            x += w;
            given += share;
        }
    }
    return rects;
}

int TPageTabs::LineCount(int width) const {
    const int height = TabHeight();
    int lines = 0;
    for (const QRect& rect : Layout(width))
        lines = std::max(lines, rect.bottom() / height + 1);
    return lines;
}

QSize TPageTabs::sizeHint() const {
    int width = 0;
    for (int i = 0; i < Count(); ++i)
        width += TabWidth(i);
    return QSize(width, TabHeight());
}

QSize TPageTabs::minimumSizeHint() const {
    int width = 0;
    for (int i = 0; i < Count(); ++i)
        width = std::max(width, TabWidth(i));
    return QSize(std::min(width, 80), TabHeight());
}

int TPageTabs::heightForWidth(int width) const {
    return std::max(1, LineCount(width)) * TabHeight();
}

void TPageTabs::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    rects_ = Layout(width());
    if (heightForWidth(width()) != height())
        updateGeometry();
}

void TPageTabs::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        rects_ = Layout(width());
        updateGeometry();
    }
}

// Tabs hanging below the pages: the chosen one in the pages' colour, open
// towards them; the others a little darker, below a line that closes the pages.
void TPageTabs::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& colours = palette();
    const QColor frame = colours.color(QPalette::Dark);
    for (int i = 0; i < Count(); ++i) {
        const bool chosen = i == current_;
        const QRectF rect = QRectF(rects_.value(i)).adjusted(chosen ? 0.5 : 1.5, -1, -0.5, -1.5);
        QPainterPath shape;
        const double radius = 3;
        shape.moveTo(rect.topLeft());
        shape.lineTo(rect.left(), rect.bottom() - radius);
        shape.quadTo(rect.bottomLeft(), QPointF(rect.left() + radius, rect.bottom()));
        shape.lineTo(rect.right() - radius, rect.bottom());
        shape.quadTo(rect.bottomRight(), QPointF(rect.right(), rect.bottom() - radius));
        shape.lineTo(rect.topRight());
        painter.fillPath(shape, chosen ? colours.color(QPalette::Window)
                                       : colours.color(QPalette::Button).darker(108));
        painter.setPen(QPen(frame, 1));
        painter.drawPath(shape);
        painter.setPen(colours.color(QPalette::ButtonText));
        painter.drawText(rects_.value(i).adjusted(0, chosen ? 1 : 0, 0, 0), Qt::AlignCenter,
                         texts_[i]);
    }
    // The line closing the pages, open above the chosen tab.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(frame);
    const QRect chosen = rects_.value(current_);
    if (chosen.isEmpty()) {
        painter.drawLine(0, 0, width() - 1, 0);
        return;
    }
    if (chosen.left() > 0)
        painter.drawLine(0, 0, chosen.left(), 0);
    if (chosen.right() < width() - 1)
        painter.drawLine(chosen.right(), 0, width() - 1, 0);
}

void TPageTabs::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    for (int i = 0; i < Count(); ++i)
        if (rects_.value(i).contains(at)) {
            Q_EMIT TabClicked(i);
            return;
        }
}

TPageControl::TPageControl(QWidget* parent) : QWidget(parent) {
    pages_ = new QStackedWidget(this);
    tabs_ = new TPageTabs(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(pages_, 1);
    layout->addWidget(tabs_);
    connect(tabs_, &TPageTabs::TabClicked, this, [this](int index) {
        SetActivePageIndex(index);
        // The page's grid takes the keys at once.
        if (QWidget* page = ActivePage(); page && page->focusProxy())
            page->focusProxy()->setFocus(Qt::TabFocusReason);
    });
}

QWidget* TPageControl::AddPage(const QString& caption) {
    auto* page = new QWidget(pages_);
    pages_->addWidget(page);
    tabs_->AddTab(caption);
    return page;
}

int TPageControl::Count() const {
    return pages_->count();
}

QWidget* TPageControl::Page(int index) const {
    return pages_->widget(index);
}

int TPageControl::ActivePageIndex() const {
    return pages_->currentIndex();
}

QWidget* TPageControl::ActivePage() const {
    return pages_->currentWidget();
}

void TPageControl::SetActivePageIndex(int index) {
    if (index < 0 || index >= Count() || index == ActivePageIndex())
        return;
    pages_->setCurrentIndex(index);
    tabs_->SetCurrentIndex(index);
    Q_EMIT ActivePageChanged(index);
}
