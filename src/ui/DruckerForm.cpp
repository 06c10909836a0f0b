#include "ui/DruckerForm.h"

#include "settings/SettingsVariables.h"
#include "ui/Help.h"
#include "ui/UiDialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

MarginSpinBox::MarginSpinBox(QWidget* parent) : QSpinBox(parent) {
    setRange(0, TDruckerForm::kMaxMargin);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

QValidator::State MarginSpinBox::validate(QString& text, int& pos) const {
    const QValidator::State state = QSpinBox::validate(text, pos);
    if (state != QValidator::Invalid)
        return state;
    // A whole number out of range stays editable; leaving the field or
    // pressing Enter corrects it to the nearest bound.
    bool number = false;
    text.trimmed().toLong(&number);
    return number ? QValidator::Intermediate : QValidator::Invalid;
}

void MarginSpinBox::fixup(QString& text) const {
    bool number = false;
    const long value = text.trimmed().toLong(&number);
    if (number)
        text = textFromValue(static_cast<int>(std::clamp<long>(value, minimum(), maximum())));
}

namespace {

int WholeMillimetres(double margin) {
    if (!std::isfinite(margin))
        return 0;
    return static_cast<int>(std::clamp(std::trunc(margin), 0.0, double(TDruckerForm::kMaxMargin)));
}

} // namespace

TDruckerForm::TDruckerForm(UiDialogs& dialogs, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs) {
    setWindowTitle(QStringLiteral("Editor und Seitenränder"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    // Only the main window is blocked, so the help window stays usable.
    setWindowModality(Qt::WindowModal);
    SetHelpTopic(this, kHelpTopic);

    auto* label2 = new QLabel(QStringLiteral("Editor zur Darstellung der Protokolle"), this);
    auto* label1 = new QLabel(QStringLiteral("Programmname"), this);
    MaskEdit1 = new QLineEdit(this);
    SpeedButton1 = new QToolButton(this);
    SpeedButton1->setText(QStringLiteral("..."));
    SpeedButton1->setToolTip(QStringLiteral("Programm auswählen"));
    connect(SpeedButton1, &QToolButton::clicked, this, &TDruckerForm::SpeedButton1Click);
    auto* label3 = new QLabel(QStringLiteral("Seintenräder in mm (Nur für die Grafik)"), this);

    Left = new MarginSpinBox(this);
    Top = new MarginSpinBox(this);
    Right = new MarginSpinBox(this);
    Bottom = new MarginSpinBox(this);
    Left->setObjectName(QStringLiteral("Left"));
    Top->setObjectName(QStringLiteral("Top"));
    Right->setObjectName(QStringLiteral("Right"));
    Bottom->setObjectName(QStringLiteral("Bottom"));

    Button1 = new QPushButton(QStringLiteral("Ok"), this);
    Button2 = new QPushButton(QStringLiteral("Abbruch"), this);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    auto* editorRow = new QHBoxLayout;
    editorRow->addWidget(label1);
    editorRow->addWidget(MaskEdit1, 1);
    editorRow->addWidget(SpeedButton1);

    // The margins as a cross, in their places on the sheet.
    auto* cross = new QGridLayout;
    cross->addWidget(Top, 0, 1);
    cross->addWidget(Left, 1, 0);
    cross->addWidget(Right, 1, 2);
    cross->addWidget(Bottom, 2, 1);
    auto* crossRow = new QHBoxLayout;
    crossRow->addStretch();
    crossRow->addLayout(cross);
    crossRow->addStretch();

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label2);
    layout->addLayout(editorRow);
    layout->addSpacing(12);
    layout->addWidget(label3);
    layout->addLayout(crossRow);
    layout->addStretch();
    layout->addLayout(buttons);
    setMinimumSize(356, 247);
}

void TDruckerForm::Fill(const EditorAndMargins& values) {
    MaskEdit1->setText(QString::fromStdString(values.editor));
    Left->setValue(WholeMillimetres(values.left));
    Right->setValue(WholeMillimetres(values.right));
    Top->setValue(WholeMillimetres(values.top));
    Bottom->setValue(WholeMillimetres(values.bottom));
}

EditorAndMargins TDruckerForm::Values() const {
    // A value still being typed counts as entered.
    for (MarginSpinBox* box : {Left, Right, Top, Bottom})
        box->interpretText();
    EditorAndMargins values;
    values.editor = MaskEdit1->text().toStdString();
    values.left = Left->value();
    values.right = Right->value();
    values.top = Top->value();
    values.bottom = Bottom->value();
    return values;
}

void TDruckerForm::SpeedButton1Click() {
    const QString program = dialogs_.OpenFileName(
        this, {QStringLiteral("Editor auswählen"), QStringLiteral("Ausführbare Datei (*)"), {}});
    if (!program.isEmpty())
        MaskEdit1->setText(program);
}

void EditEditorAndMargins(TDruckerForm& form, UiDialogs& dialogs) {
    form.Fill({EditorProgram, MarginLeft, MarginRight, MarginTop, MarginBottom});
    if (!dialogs.Exec(&form))
        return;
    const EditorAndMargins values = form.Values();
    EditorProgram = values.editor;
    MarginLeft = values.left;
    MarginRight = values.right;
    MarginTop = values.top;
    MarginBottom = values.bottom;
}
