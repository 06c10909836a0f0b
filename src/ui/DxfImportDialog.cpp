#include "ui/DxfImportDialog.h"

#include "ui/Help.h"
#include "ui/SectionFields.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kHelpTopic = 10145;

enum LayerColumn { kLayerName, kLayerLines, kLayerType, kFirstValue };

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QString Number(double value) {
    return SectionNumber(value);
}

std::vector<int> LinesPerLayer(const DxfDrawing& drawing) {
    std::vector<int> lines(drawing.layers.size(), 0);
    for (const DxfSegment& s : drawing.segments)
        ++lines[s.layer];
    return lines;
}

QTableWidgetItem* ReadOnly(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

QString Summary(const QString& path, const DxfDrawing& drawing) {
    QString text = Text("%1: %2 Linien auf %3 Ebenen, Ausdehnung %4")
                       .arg(path)
                       .arg(drawing.segments.size())
                       .arg(drawing.layers.size())
                       .arg(Number(drawing.Extent()));
    for (const std::string& warning : drawing.warnings)
        text += Text("\nWarnung: ") + QString::fromStdString(warning);
    return text;
}

} // namespace

TDxfImportDialog::TDxfImportDialog(const QString& path, const DxfDrawing& drawing,
                                   std::vector<MatRec> types, Apply apply, QWidget* parent)
    : QDialog(parent), drawing_(drawing), types_(std::move(types)), apply_(std::move(apply)) {
    setWindowTitle(Text("DXF importieren"));
    SetHelpTopic(this, kHelpTopic);
    SummaryLabel = new QLabel(Summary(path, drawing), this);
    SummaryLabel->setWordWrap(true);
    ToleranceEdit = new QLineEdit(Number(DefaultTolerance(drawing)), this);
    ToleranceEdit->setToolTip(Text("Endpunkte, die näher beieinander liegen, werden ein Knoten"));
    SplitBox = new QCheckBox(Text("Linien an Kreuzungen teilen"), this);

    const int rows = static_cast<int>(drawing.layers.size());
    LayersTable = new QTableWidget(rows, kFirstValue + kSectionFieldCount, this);
    LayersTable->setHorizontalHeaderLabels({Text("Ebene"), Text("Linien"), Text("Typ-Nr.")});
    SetUpSectionColumns(*LayersTable, kFirstValue);
    LayersTable->horizontalHeaderItem(kLayerType)
        ->setToolTip(Text("Nummer eines Querschnittstyps des bisherigen Systems; leer: ein neuer "
                          "Typ mit den Werten rechts"));
    const std::vector<int> lines = LinesPerLayer(drawing);
    const LayerSection defaults;
    for (int row = 0; row < rows; ++row) {
        LayersTable->setItem(row, kLayerName,
                             ReadOnly(QString::fromStdString(drawing.layers[row])));
        LayersTable->setItem(row, kLayerLines, ReadOnly(QString::number(lines[row])));
        LayersTable->setItem(row, kLayerType, new QTableWidgetItem(QString()));
        SetSectionRow(*LayersTable, row, kFirstValue,
                      {defaults.E, defaults.G, defaults.Iy, defaults.It, defaults.alphaT});
    }
    MessageLabel = new QLabel(this);
    MessageLabel->setWordWrap(true);
    MessageLabel->setStyleSheet(QStringLiteral("color: #b00000"));

    auto* buttons = new QDialogButtonBox(this);
    ApplyButton = buttons->addButton(Text("Übernehmen"), QDialogButtonBox::AcceptRole);
    buttons->addButton(Text("Abbrechen"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { ApplyClick(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(Text("Toleranz für gemeinsame Knoten:"), ToleranceEdit);
    form->addRow(QString(), SplitBox);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SummaryLabel);
    layout->addLayout(form);
    layout->addWidget(new QLabel(Text("Querschnittstyp je Ebene:"), this));
    layout->addWidget(LayersTable, 1);
    layout->addWidget(MessageLabel);
    layout->addWidget(buttons);
    resize(820, 420);
}

bool TDxfImportDialog::Options(GridOptions& options, std::string& error) const {
    options = GridOptions();
    if (!ParseSectionNumber(ToleranceEdit->text(), options.tolerance) || !(options.tolerance > 0)) {
        error = "Die Toleranz für gemeinsame Knoten muss eine Zahl größer als 0 sein";
        return false;
    }
    options.splitAtCrossings = SplitBox->isChecked();
    for (int row = 0; row < LayersTable->rowCount(); ++row) {
        const std::string layer = drawing_.layers[row];
        LayerSection section;
        const QString type = LayersTable->item(row, kLayerType)->text().trimmed();
        bool ok = true;
        if (!type.isEmpty())
            section.typeNumber = type.toInt(&ok);
        if (!ok || section.typeNumber < 0) {
            error = "Ebene \"" + layer + "\": die Typ-Nr. muss eine ganze Zahl sein";
            return false;
        }
        int field = 0;
        QString text;
        if (section.typeNumber == 0 &&
            !ReadSectionRow(*LayersTable, row, kFirstValue,
                            {&section.E, &section.G, &section.Iy, &section.It, &section.alphaT},
                            field, text)) {
            error = "Ebene \"" + layer + "\": " + SectionFieldCaption(field) + " ist keine Zahl";
            return false;
        }
        options.sections.push_back(section);
    }
    return true;
}

void TDxfImportDialog::ApplyClick() {
    GridOptions options;
    ImportedGrid grid;
    std::string error;
    if (Options(options, error) && BuildGrid(drawing_, options, grid, error))
        error = CheckLayerSections(grid, drawing_, types_);
    if (!error.empty()) {
        MessageLabel->setText(QString::fromStdString(error));
        return;
    }
    if (apply_(grid))
        accept();
}
