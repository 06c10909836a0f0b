#include "grid/CellDialog.h"

#include "grid/GridBeep.h"
#include "grid/GridCore.h"
#include "grid/GridNumbers.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QPushButton>
#include <algorithm>

// ---- TMyEdit ---------------------------------------------------------------------

TMyEdit::TMyEdit(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textChanged, this, [this] { TextEdited(); });
}

double TMyEdit::Value() {
    QString digits = text();
    digits.replace(u',', u'.');
    const double value = LeadingReal(digits.toStdString());
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    const QString shown = locale.toString(value, 'g', 6);
    if (shown != text()) {
        notify_ = false;
        setText(shown);
        notify_ = true;
    }
    return value;
}

void TMyEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        focusNextChild();
        return;
    }
    const QString typed = event->text();
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (!plain || typed.size() != 1 || !typed[0].isPrint())
        return QLineEdit::keyPressEvent(event);
    QChar ch = typed[0];
    if (ch == u',')
        ch = u'.';
    else if (ch == u'e')
        ch = u'E';
    if (ch.isLetter() && ch != u'E') {
        GridBeep();
        return;
    }
    insert(QString(ch));
}

void TMyEdit::focusOutEvent(QFocusEvent* event) {
    Value();
    if (changeOnExit_)
        NotifyParent();
    QLineEdit::focusOutEvent(event);
}

void TMyEdit::TextEdited() {
    if (!changeOnExit_ && notify_)
        NotifyParent();
}

void TMyEdit::NotifyParent() {
    if (!parentWidget())
        return;
    QEvent changed(static_cast<QEvent::Type>(kChangedMessage));
    QCoreApplication::sendEvent(parentWidget(), &changed);
}

// ---- TCellDialog1 ---------------------------------------------------------------------

TCellDialog1::TCellDialog1(QWidget* owner) : QDialog(owner) {
    setWindowTitle(QString::fromUtf8(kCellDialogCaption));
    // The layout is drawn for a font 13 pixels high; a larger font scales it.
    const double unit = std::max(1.0, fontMetrics().height() / 13.0);
    auto scaled = [unit](int x, int y, int w, int h) {
        return QRect(static_cast<int>(x * unit), static_cast<int>(y * unit),
                     static_cast<int>(w * unit), static_cast<int>(h * unit));
    };
    MyEdit1 = new TMyEdit(this);
    MyEdit1->setGeometry(scaled(8, 8, 148, 21));
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setGeometry(scaled(8, 49, 73, 25));
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Abbruch"), this);
    Button2->setGeometry(scaled(87, 49, 69, 25));
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(scaled(0, 0, 164, 78).size());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    MyEdit1->setFocus();
}
