#include "ui/ValueEditForm.h"

#include "settings/TreeClass.h"
#include "ui/Help.h"
#include "ui/UiDialogs.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

namespace {

// The conversion error of a number field, as the user's platform words it.
const char* const kNotANumberMessage = "'%1' ist kein gültiger Gleitkommawert";

// Places a control at its place in the dialog, wider when its text needs more
// room than the dialog's grid gives (fonts differ from platform to platform).
void Place(QWidget* control, int x, int y, int width, int height) {
    const QSize hint = control->sizeHint();
    control->setGeometry(x, y, std::max(width, hint.width()), std::max(height, hint.height()));
}

} // namespace

QLocale SettingsNumberLocale() {
    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator | QLocale::OmitGroupSeparator);
    return locale;
}

QString SettingsNumberText(double value) {
    return SettingsNumberLocale().toString(value, 'g', 10);
}

std::optional<double> SettingsNumberFromText(const QString& text) {
    const QString trimmed = text.trimmed();
    bool ok = false;
    double value = SettingsNumberLocale().toDouble(trimmed, &ok);
    // Either separator is a decimal separator, as in the grids, which show
    // "5.000" in every locale: "0.02" is a German user's 0,02 as well.
    if (!ok) {
        QLocale pointOnly = QLocale::c();
        pointOnly.setNumberOptions(QLocale::RejectGroupSeparator);
        value =
            pointOnly.toDouble(QString(trimmed).replace(QLatin1Char(','), QLatin1Char('.')), &ok);
    }
    // "inf" and "nan" are words, not sizes anybody means.
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

void CenterOnScreen(QWidget* window) {
    QScreen* screen = window->parentWidget() ? window->parentWidget()->screen() : window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
}

TValueEditForm::TValueEditForm(UiDialogs& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs) {
    setWindowTitle(QStringLiteral("Wertänderung"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    SetHelpTopic(this, kHelpTopic);

    Edit1 = new QLineEdit(this);
    Place(Edit1, 8, 16, 289, 21);

    // The up/down control: two arrow buttons on top of each other that
    // repeat while held, leaving the focus in the field.
    UpDown1 = new QWidget(this);
    UpDown1->setGeometry(300, 12, 21, 29);
    auto* arrows = new QVBoxLayout(UpDown1);
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    UpButton = new QToolButton(UpDown1);
    UpButton->setArrowType(Qt::UpArrow);
    DownButton = new QToolButton(UpDown1);
    DownButton->setArrowType(Qt::DownArrow);
    for (QToolButton* arrow : {UpButton, DownButton}) {
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setAutoRepeat(true);
        arrow->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        arrows->addWidget(arrow);
    }
    connect(UpButton, &QToolButton::clicked, this, [this] { UpDown1Click(+1); });
    connect(DownButton, &QToolButton::clicked, this, [this] { UpDown1Click(-1); });

    Button1 = new QPushButton(QStringLiteral("&Ok"), this);
    Place(Button1, 24, 52, 89, 25);
    Button2 = new QPushButton(QStringLiteral("Voreinstellung"), this);
    Place(Button2, std::max(124, Button1->geometry().right() + 11), 52, 81, 25);
    // Enter presses "&Ok" as the default button; Escape is routed to it in
    // keyPressEvent.
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TValueEditForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TValueEditForm::Button2Click);

    setFixedSize(std::max(325, Button2->geometry().right() + 8),
                 std::max(83, Button1->geometry().bottom() + 7));
    setFocusProxy(Edit1);
}

void TValueEditForm::SetUp(TreeClass& setting) {
    if (setting.Kind() != SettingKind::Real && setting.Kind() != SettingKind::Text)
        return;
    setting_ = &setting;
    mode_ = setting.Kind() == SettingKind::Real ? Mode::Number : Mode::Text;
    UpDown1->setVisible(mode_ == Mode::Number);
    ShowValue();
    Edit1->setFocus();
}

void TValueEditForm::ShowValue() {
    if (!setting_)
        return;
    if (mode_ == Mode::Number)
        Edit1->setText(SettingsNumberText(*setting_->RealVariable()));
    else
        Edit1->setText(QString::fromStdString(*setting_->TextVariable()));
    Edit1->selectAll();
}

void TValueEditForm::UpDown1Click(int direction) {
    if (!setting_ || mode_ != Mode::Number)
        return;
    double& value = *setting_->RealVariable();
    // A number the user has typed counts as the value the arrows start from.
    if (const std::optional<double> typed = SettingsNumberFromText(Edit1->text()))
        value = *typed;
    const double step = 0.1 * std::get<double>(setting_->DefaultValue());
    if (std::isfinite(value + direction * step))
        value += direction * step;
    ShowValue();
}

void TValueEditForm::Button2Click() {
    if (!setting_)
        return;
    if (mode_ == Mode::Number)
        *setting_->RealVariable() = std::get<double>(setting_->DefaultValue());
    else
        *setting_->TextVariable() = std::get<std::string>(setting_->DefaultValue());
    ShowValue();
}

bool TValueEditForm::StoreField() {
    if (!setting_)
        return true;
    if (mode_ == Mode::Text) {
        *setting_->TextVariable() = Edit1->text().toStdString();
        return true;
    }
    const std::optional<double> value = SettingsNumberFromText(Edit1->text());
    if (!value) {
        dialogs_.ShowMessage(this, QString::fromUtf8(kNotANumberMessage).arg(Edit1->text()),
                             QString::fromUtf8(kErrorBoxCaption), MessageIcon::Error);
        Edit1->selectAll();
        Edit1->setFocus();
        return false;
    }
    *setting_->RealVariable() = *value;
    return true;
}

void TValueEditForm::Button1Click() {
    // A field that holds no number keeps the dialog open for correction.
    if (StoreField())
        accept();
}

void TValueEditForm::keyPressEvent(QKeyEvent* event) {
    // Escape is a second key for "&Ok", not a cancel: it stores the field.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Button1Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TValueEditForm::setVisible(bool visible) {
    if (visible && !isVisible())
        CenterOnScreen(this);
    QDialog::setVisible(visible);
}
