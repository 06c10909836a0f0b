#include "ui/PageControl.h"

#include <QEvent>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QTabBar>
#include <QVBoxLayout>

TPageTabs::TPageTabs(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    QSizePolicy policy = sizePolicy();
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

int TPageTabs::TabWidth(int index) const {
    QStyleOptionTab option;
    option.initFrom(this);
    option.shape = QTabBar::RoundedSouth;
    option.text = texts_[index];
    const QSize contents(fontMetrics().horizontalAdvance(texts_[index]) +
                             style()->pixelMetric(QStyle::PM_TabBarTabHSpace, &option, this),
                         fontMetrics().height() +
                             style()->pixelMetric(QStyle::PM_TabBarTabVSpace, &option, this));
    return style()->sizeFromContents(QStyle::CT_TabBarTab, &option, contents, this).width();
}

int TPageTabs::TabHeight() const {
    QStyleOptionTab option;
    option.initFrom(this);
    option.shape = QTabBar::RoundedSouth;
    const QSize contents(1, fontMetrics().height() +
                                style()->pixelMetric(QStyle::PM_TabBarTabVSpace, &option, this));
    return style()->sizeFromContents(QStyle::CT_TabBarTab, &option, contents, this).height();
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

void TPageTabs::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    for (int i = 0; i < Count(); ++i) {
        QStyleOptionTab option;
        option.initFrom(this);
        option.shape = QTabBar::RoundedSouth;
        option.text = texts_[i];
        option.rect = rects_.value(i);
        // The tab's place in its line decides how its edges are drawn.
        bool first = true;
        bool last = true;
        for (int j = 0; j < Count(); ++j)
            if (j != i && rects_[j].top() == option.rect.top()) {
                first = first && rects_[j].left() > option.rect.left();
                last = last && rects_[j].left() < option.rect.left();
            }
        option.position = first && last ? QStyleOptionTab::OnlyOneTab
                          : first       ? QStyleOptionTab::Beginning
                          : last        ? QStyleOptionTab::End
                                        : QStyleOptionTab::Middle;
        if (i == current_)
            option.state |= QStyle::State_Selected;
        painter.drawControl(QStyle::CE_TabBarTab, option);
    }
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
