#include "ui/DeckGeneratorDialog.h"

#include "graphics/Render.h"
#include "graphics/SceneRebuild.h"
#include "model/Tables.h"
#include "ui/Help.h"
#include "ui/QtCanvas.h"
#include "ui/SectionFields.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kHelpTopic = 10140;

const char* const kSectionRows[] = {"Längsträger", "Randträger", "Querträger", "Endquerträger"};
const char* const kSectionKeys[] = {"girder", "edgeGirder", "crossBeam", "endCrossBeam"};
const char* const kSectionColumns[] = {"E", "G", "Iy", "It", "alphaT"};

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QString Number(double value) {
    return SectionNumber(value);
}

bool ParseNumber(const QString& text, double& value) {
    return ParseSectionNumber(text, value);
}

std::string NotANumber(const char* key, const QString& text) {
    return "\"" + std::string(key) + "\": \"" + text.toStdString() + "\" ist keine Zahl";
}

// "20; 25; 20" or "20 25 20".
bool ParseList(const QString& text, const char* key, std::vector<double>& values,
               std::string& error) {
    values.clear();
    static const QRegularExpression separators(QStringLiteral("[;\\s]+"));
    for (const QString& part : text.split(separators, Qt::SkipEmptyParts)) {
        double value = 0.0;
        if (!ParseNumber(part, value)) {
            error = NotANumber(key, part);
            return false;
        }
        values.push_back(value);
    }
    return true;
}

DeckSection SectionOf(double iy, double it) {
    return {3.4e7, 1.42e7, iy, it, 1e-5};
}

QString SpansText(const std::vector<double>& spans) {
    QStringList parts;
    for (double span : spans)
        parts << Number(span);
    return parts.join(QStringLiteral("; "));
}

} // namespace

DeckDescription DefaultDeck() {
    DeckDescription deck;
    deck.spans = {20, 25, 20};
    deck.width = 8;
    deck.girders = 5;
    deck.crossBeamSpacing = 5;
    deck.girder = SectionOf(0.4, 0.02);
    deck.crossBeam = SectionOf(0.02, 0.01);
    return deck;
}

// ---- preview -----------------------------------------------------------------

TDeckPreview::TDeckPreview(QWidget* parent)
    : QWidget(parent), model_(std::make_unique<InputModel>()) {
    setMinimumSize(360, 240);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
    // Seen from above, x to the right and y up: the mesh shows undistorted.
    ViewMatrix& plan = view_.Matrix();
    plan.SetColumn(0, {1.0, 0.0, 0.0});
    plan.SetColumn(1, {0.0, -1.0, 0.0});
    plan.SetColumn(2, {0.0, 0.0, -1.0});
}

TDeckPreview::~TDeckPreview() = default;

void TDeckPreview::ShowDeck(const DeckDescription* deck) {
    if (deck)
        GenerateDeck(*deck, *model_);
    else
        model_->ResetSystem();
    SceneOptions options;
    options.flags = static_cast<DisplayFlags>(ShowStructure | ShowSupports);
    view_.SetKeepView(0);
    RebuildScene(*model_, nullptr, options, view_, list_);
    update();
}

void TDeckPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    SetNewCanvasState(painter);
    QtCanvas canvas(painter);
    RenderFitted(list_, canvas, view_.Window(), {4, 4, width() - 4, height() - 4}, 1.0);
}

// ---- dialog ------------------------------------------------------------------

TDeckGeneratorDialog::TDeckGeneratorDialog(const DeckDescription& initial, Apply apply,
                                           QWidget* parent)
    : QDialog(parent), apply_(std::move(apply)), previewTimer_(new QTimer(this)) {
    setWindowTitle(Text("Trägerrost erzeugen"));
    SetHelpTopic(this, kHelpTopic);

    SpansEdit = new QLineEdit(this);
    SpansEdit->setToolTip(Text("Feldlängen entlang der Längsträger, durch ; getrennt"));
    WidthEdit = new QLineEdit(this);
    GirdersSpin = new QSpinBox(this);
    GirdersSpin->setRange(2, kDeckMaxGirders);
    SkewSpin = new QDoubleSpinBox(this);
    SkewSpin->setRange(0.0, kDeckMaxSkew);
    SkewSpin->setDecimals(2);
    MeshBox = new QComboBox(this);
    MeshBox->addItems({Text("orthogonal (Querträger rechtwinklig zu den Längsträgern)"),
                       Text("schief (Querträger parallel zu den Auflagerlinien)")});
    CrossModeBox = new QComboBox(this);
    CrossModeBox->addItems({Text("Abstand höchstens"), Text("Anzahl je Feld")});
    CrossValueEdit = new QLineEdit(this);
    IntervalsSpin = new QSpinBox(this);
    IntervalsSpin->setRange(1, kDeckMaxIntervals);

    auto* cross = new QHBoxLayout;
    cross->addWidget(CrossModeBox);
    cross->addWidget(CrossValueEdit);
    auto* form = new QFormLayout;
    form->addRow(Text("Feldlängen:"), SpansEdit);
    form->addRow(Text("Breite (äußere Längsträger):"), WidthEdit);
    form->addRow(Text("Anzahl der Längsträger:"), GirdersSpin);
    form->addRow(Text("Schiefe in °:"), SkewSpin);
    form->addRow(Text("Netz:"), MeshBox);
    form->addRow(Text("Querträger:"), cross);
    form->addRow(Text("Intervalle je Stab:"), IntervalsSpin);

    SectionsTable = new QTableWidget(4, kSectionFieldCount, this);
    for (int row = 0; row < 4; ++row)
        SectionsTable->setVerticalHeaderItem(row, new QTableWidgetItem(Text(kSectionRows[row])));
    SetUpSectionColumns(*SectionsTable, 0);
    SectionsTable->setFixedHeight(SectionsTable->horizontalHeader()->sizeHint().height() +
                                  4 * SectionsTable->verticalHeader()->defaultSectionSize() + 4);

    SupportsTable = new QTableWidget(this);
    SupportsTable->setToolTip(Text("Angehakt: eingespannt (Verdrehung um die Auflagerlinie "
                                   "gehalten), sonst gelenkig"));

    Preview = new TDeckPreview(this);
    MessageLabel = new QLabel(this);
    MessageLabel->setWordWrap(true);
    MessageLabel->setStyleSheet(QStringLiteral("color: #b00000"));

    auto* buttons = new QDialogButtonBox(this);
    ApplyButton = buttons->addButton(Text("Übernehmen"), QDialogButtonBox::AcceptRole);
    buttons->addButton(Text("Abbrechen"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { ApplyClick(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addLayout(form, 1);
    top->addWidget(Preview, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(new QLabel(Text("Querschnitte:"), this));
    layout->addWidget(SectionsTable);
    layout->addWidget(new QLabel(Text("Auflager je Auflagerlinie (Zeile) und Längsträger "
                                      "(Spalte), angehakt = eingespannt:"),
                                 this));
    layout->addWidget(SupportsTable, 1);
    layout->addWidget(MessageLabel);
    layout->addWidget(buttons);
    resize(860, 640);

    Fill(initial);
    previewTimer_->setSingleShot(true);
    previewTimer_->setInterval(150);
    connect(previewTimer_, &QTimer::timeout, this, [this] { UpdatePreview(); });
    for (QLineEdit* edit : {SpansEdit, WidthEdit, CrossValueEdit})
        connect(edit, &QLineEdit::textChanged, this, [this] { FieldsChanged(); });
    for (QSpinBox* spin : {GirdersSpin, IntervalsSpin})
        connect(spin, &QSpinBox::valueChanged, this, [this] { FieldsChanged(); });
    connect(SkewSpin, &QDoubleSpinBox::valueChanged, this, [this] { FieldsChanged(); });
    for (QComboBox* box : {MeshBox, CrossModeBox})
        connect(box, &QComboBox::currentIndexChanged, this, [this] { FieldsChanged(); });
    for (QTableWidget* table : {SectionsTable, SupportsTable})
        connect(table, &QTableWidget::itemChanged, this, [this] { FieldsChanged(); });
    ResizeSupports();
    UpdatePreview();
}

void TDeckGeneratorDialog::Fill(const DeckDescription& deck) {
    SpansEdit->setText(SpansText(deck.spans));
    WidthEdit->setText(Number(deck.width));
    GirdersSpin->setValue(deck.girders);
    SkewSpin->setValue(deck.skew);
    MeshBox->setCurrentIndex(deck.mesh == DeckMesh::kSkew ? 1 : 0);
    const bool byCount = !deck.crossBeamCounts.empty();
    CrossModeBox->setCurrentIndex(byCount ? 1 : 0);
    CrossValueEdit->setText(byCount ? QString::number(deck.crossBeamCounts.front())
                                    : Number(deck.crossBeamSpacing));
    IntervalsSpin->setValue(deck.intervals);
    const DeckSection sections[] = {deck.girder, deck.edgeGirder.value_or(deck.girder),
                                    deck.crossBeam, deck.endCrossBeam.value_or(deck.crossBeam)};
    for (int row = 0; row < 4; ++row) {
        SetSectionRow(*SectionsTable, row, 0,
                      {sections[row].E, sections[row].G, sections[row].Iy, sections[row].It,
                       sections[row].alphaT});
    }
    SupportsTable->setRowCount(static_cast<int>(deck.spans.size()) + 1);
    SupportsTable->setColumnCount(deck.girders);
    for (int line = 0; line < SupportsTable->rowCount(); ++line)
        for (int g = 0; g < deck.girders; ++g) {
            auto* item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
            const bool fixed =
                !deck.supports.empty() && deck.supports[line][g] == DeckSupport::kFixed;
            item->setCheckState(fixed ? Qt::Checked : Qt::Unchecked);
            SupportsTable->setItem(line, g, item);
        }
}

// The supports table follows the spans and the girders; the marks of lines
// and girders that remain are kept.
void TDeckGeneratorDialog::ResizeSupports() {
    std::vector<double> spans;
    std::string ignored;
    if (!ParseList(SpansEdit->text(), "spans", spans, ignored) || spans.empty())
        return;
    const QSignalBlocker blocker(SupportsTable);
    const int lines = static_cast<int>(spans.size()) + 1;
    const int girders = GirdersSpin->value();
    SupportsTable->setRowCount(lines);
    SupportsTable->setColumnCount(girders);
    for (int line = 0; line < lines; ++line) {
        SupportsTable->setVerticalHeaderItem(
            line, new QTableWidgetItem(Text("Auflagerlinie %1").arg(line + 1)));
        for (int g = 0; g < girders; ++g)
            if (!SupportsTable->item(line, g)) {
                auto* item = new QTableWidgetItem;
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
                item->setCheckState(Qt::Unchecked);
                SupportsTable->setItem(line, g, item);
            }
    }
    SupportsTable->resizeColumnsToContents();
}

bool TDeckGeneratorDialog::Description(DeckDescription& deck, std::string& error) const {
    deck = DeckDescription();
    if (!ParseList(SpansEdit->text(), "spans", deck.spans, error))
        return false;
    if (!ParseNumber(WidthEdit->text(), deck.width)) {
        error = NotANumber("width", WidthEdit->text());
        return false;
    }
    deck.girders = GirdersSpin->value();
    deck.skew = SkewSpin->value();
    deck.mesh = MeshBox->currentIndex() == 1 ? DeckMesh::kSkew : DeckMesh::kOrthogonal;
    double cross = 0.0;
    if (!ParseNumber(CrossValueEdit->text(), cross)) {
        error = NotANumber(CrossModeBox->currentIndex() == 1 ? "crossBeams.count"
                                                             : "crossBeams.spacing",
                           CrossValueEdit->text());
        return false;
    }
    if (CrossModeBox->currentIndex() == 1) {
        if (cross != static_cast<int>(cross)) {
            error = "\"crossBeams.count\": Eine ganze Zahl erwartet";
            return false;
        }
        deck.crossBeamCounts.assign(deck.spans.size(), static_cast<int>(cross));
    } else if (cross == 0.0) {
        error = "\"crossBeams.spacing\": Der Abstand muss größer als 0 sein (0)";
        return false;
    } else {
        deck.crossBeamSpacing = cross;
    }
    DeckSection sections[4];
    for (int row = 0; row < 4; ++row) {
        int field = 0;
        QString text;
        if (!ReadSectionRow(*SectionsTable, row, 0,
                            {&sections[row].E, &sections[row].G, &sections[row].Iy,
                             &sections[row].It, &sections[row].alphaT},
                            field, text)) {
            error = NotANumber(
                ("sections." + std::string(kSectionKeys[row]) + "." + kSectionColumns[field])
                    .c_str(),
                text);
            return false;
        }
    }
    deck.girder = sections[0];
    deck.edgeGirder = sections[1];
    deck.crossBeam = sections[2];
    deck.endCrossBeam = sections[3];
    if (SupportsTable->rowCount() == static_cast<int>(deck.spans.size()) + 1 &&
        SupportsTable->columnCount() == deck.girders)
        for (int line = 0; line < SupportsTable->rowCount(); ++line) {
            std::vector<DeckSupport>& kinds = deck.supports.emplace_back();
            for (int g = 0; g < deck.girders; ++g)
                kinds.push_back(SupportsTable->item(line, g)->checkState() == Qt::Checked
                                    ? DeckSupport::kFixed
                                    : DeckSupport::kPinned);
        }
    deck.intervals = IntervalsSpin->value();
    error = CheckDeck(deck);
    return error.empty();
}

void TDeckGeneratorDialog::FieldsChanged() {
    ResizeSupports();
    previewTimer_->start();
}

void TDeckGeneratorDialog::UpdatePreview() {
    DeckDescription deck;
    std::string error;
    const bool ok = Description(deck, error);
    MessageLabel->setText(QString::fromStdString(error));
    ApplyButton->setEnabled(ok);
    Preview->ShowDeck(ok ? &deck : nullptr);
}

void TDeckGeneratorDialog::ApplyClick() {
    DeckDescription deck;
    std::string error;
    if (!Description(deck, error)) {
        MessageLabel->setText(QString::fromStdString(error));
        return;
    }
    if (apply_(deck))
        accept();
}
