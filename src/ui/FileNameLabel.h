#pragma once

#include <QLabel>

class QFontMetrics;

// A text of the tool strip: a caption ("System: ", "Lastfall: ") followed by
// a file name. text() is the whole text; when it does not fit the label's
// width, the file name is shortened in the middle with "…" (never cut
// through a character), the caption stays whole. The tooltip is the full path.
class TFileNameLabel : public QLabel {
    Q_OBJECT
public:
    TFileNameLabel(const QString& caption, QWidget* parent = nullptr);

    // Shows the caption and name; the tooltip becomes path (none when empty).
    void SetFile(const QString& name, const QString& path);
    // The text as painted at the label's present width.
    QString ShownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
    QString name_;
};

// caption + name, the name elided in the middle so that the whole fits width.
QString ElideFileCaption(const QString& caption, const QString& name, const QFontMetrics& metrics,
                         int width);
