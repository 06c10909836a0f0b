#pragma once

#include <QStringList>
#include <QWidget>

class QStackedWidget;

// The tabs of a page control, below its pages. Tabs that do not fit into
// one line wrap onto further lines; each line is then spread over the whole
// width. A click on a tab chooses its page.
class TPageTabs : public QWidget {
    Q_OBJECT
public:
    explicit TPageTabs(QWidget* parent = nullptr);

    void AddTab(const QString& text);
    int Count() const { return static_cast<int>(texts_.size()); }
    QString TabText(int index) const { return texts_.value(index); }
    int CurrentIndex() const { return current_; }
    void SetCurrentIndex(int index);
    // The tab's rectangle at the current width; empty for a wrong index.
    QRect TabRect(int index) const;
    // Lines of tabs at width.
    int LineCount(int width) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

Q_SIGNALS:
    // The user chose a tab.
    void TabClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int TabWidth(int index) const;
    int TabHeight() const;
    // The tabs' rectangles at width, the first line at the top.
    QList<QRect> Layout(int width) const;

    QStringList texts_;
    int current_ = -1;
    QList<QRect> rects_;
};

// A set of pages with their tabs at the bottom: PageControl1 of the input
// windows. Adding a page shows its tab; choosing a tab shows its page.
class TPageControl : public QWidget {
    Q_OBJECT
public:
    explicit TPageControl(QWidget* parent = nullptr);

    // Adds an empty page with the tab caption; the page is returned to be filled.
    QWidget* AddPage(const QString& caption);
    int Count() const;
    QWidget* Page(int index) const;
    QString PageCaption(int index) const { return tabs_->TabText(index); }
    int ActivePageIndex() const;
    QWidget* ActivePage() const;
    void SetActivePageIndex(int index);
    TPageTabs* Tabs() const { return tabs_; }

Q_SIGNALS:
    void ActivePageChanged(int index);

private:
    QStackedWidget* pages_;
    TPageTabs* tabs_;
};
