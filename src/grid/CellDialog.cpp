#include "grid/CellDialog.h"

#include "grid/GridBeep.h"
#include "grid/GridCore.h"
#include "grid/GridNumbers.h"

#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>
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
    // The layout is drawn for a font 13 pixels high; a larger font scales it.
    unit_ = std::max(1.0, fontMetrics().height() / 13.0);
    MyEdit1 = new TMyEdit(this);
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Abbruch"), this);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(QString::fromUtf8(kCellDialogCaption));
    Arrange();
    MyEdit1->setFocus();
}

void TCellDialog1::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowTitleChange)
        Arrange();
}

void TCellDialog1::Arrange() {
    auto scaled = [this](int length) { return static_cast<int>(length * unit_); };
    // Room for the title bar's icon and buttons beside the caption.
    const int captionWidth = fontMetrics().horizontalAdvance(windowTitle()) + scaled(110);
    const int width = std::max(scaled(164), captionWidth);
    MyEdit1->setGeometry(scaled(8), scaled(8), width - 2 * scaled(8), scaled(21));
    Button1->setGeometry(scaled(8), scaled(49), scaled(73), scaled(25));
    Button2->setGeometry(width - scaled(77), scaled(49), scaled(69), scaled(25));
    setFixedSize(width, scaled(78));
}

// ---- TSeriesDialog ----------------------------------------------------------------------

TSeriesDialog::TSeriesDialog(QWidget* owner) : QDialog(owner) {
    Start = new TMyEdit(this);
    Start->setText(QStringLiteral("1"));
    Step = new TMyEdit(this);
    Step->setText(QStringLiteral("1"));
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Abbruch"), this);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(QString::fromUtf8(kSeriesCaption));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Anfangswert"), Start);
    form->addRow(QStringLiteral("Schrittweite"), Step);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Start->setFocus();
    Start->selectAll();
}
