// "Datei › Ergebnisse exportieren…" and "Datei › DXF importieren…": results
// to spreadsheets, a grid from a CAD drawing.

#include "exchange/DxfExport.h"
#include "exchange/DxfImport.h"
#include "exchange/ProjectTables.h"
#include "exchange/SpreadsheetExport.h"
#include "model/SafeFile.h"
#include "model/Tables.h"
#include "protocols/Protocols.h"
#include "ui/DxfImportDialog.h"
#include "ui/GraphForm.h"
#include "ui/MainForm.h"
#include "ui/UiDialogs.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>

namespace {

constexpr int kStatusMessageMs = 5000;
constexpr const char* kWriteError = "Fehler beim Schreiben der Ausdruckdatei";

bool IsWorkbook(const QString& path) {
    return path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive);
}

// The CSV tables go into a folder named like the chosen file without its
// extension: "ergebnisse.csv" gives the folder "ergebnisse".
QString CsvFolder(const QString& path) {
    return path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) ? path.chopped(4) : path;
}

} // namespace

// A project's tables hold every load case, combination and envelope; the
// graphics windows show their own selection again when they next draw.
ExportResult TMainForm::ExportResults(const std::string& target, bool workbook) {
    if (ProjectAnalysis* analysis = document.Analysis())
        return WriteProjectTables(*analysis, workbook ? TableFormat::kXlsx : TableFormat::kCsv,
                                  target);
    return workbook ? WriteResultsXlsx(target, input_, solutions_)
                    : WriteResultsCsv(target, input_, solutions_);
}

void TMainForm::ErgebnisseExportieren1Click() {
    document.CommitPendingEdits();
    if (!document.ResultsValid()) {
        dialogs_.ShowMessage(this, QString::fromUtf8(kNoResultsMessage),
                             QStringLiteral("Information"), MessageIcon::Information);
        return;
    }
    const QString path = dialogs_.SaveFileName(
        this, {QStringLiteral("Ergebnisse exportieren"),
               QStringLiteral("Excel-Arbeitsmappe (*.xlsx);;CSV-Dateien in einem Ordner (*.csv)"),
               QStringLiteral("xlsx")});
    if (path.isEmpty())
        return;
    const bool workbook = IsWorkbook(path);
    const QString target = workbook ? path : CsvFolder(path);
    const ExportResult result = ExportResults(target.toStdString(), workbook);
    if (!result.ok) {
        dialogs_.ShowMessage(this, QString::fromStdString(result.message),
                             QString::fromUtf8(kErrorBoxCaption), MessageIcon::Error);
        return;
    }
    statusBar()->showMessage((workbook
                                  ? QStringLiteral("Ergebnisse geschrieben: %1")
                                  : QStringLiteral("Ergebnistabellen geschrieben in den Ordner %1"))
                                 .arg(target),
                             kStatusMessageMs);
}

void TMainForm::DxfImportieren1Click() {
    document.CommitPendingEdits();
    const QString path = dialogs_.OpenFileName(this, {QStringLiteral("DXF importieren"),
                                                      QStringLiteral("DXF-Zeichnungen (*.dxf)"),
                                                      QStringLiteral("dxf")});
    if (path.isEmpty())
        return;
    DxfDrawing drawing;
    std::string error;
    if (!ReadDxfDrawing(path.toStdString(), drawing, error)) {
        dialogs_.ShowMessage(this, QString::fromStdString(error),
                             QString::fromUtf8(kErrorBoxCaption), MessageIcon::Error);
        return;
    }
    TDxfImportDialog dialog(
        path, drawing, CurrentTypes(input_),
        [this, &drawing](const ImportedGrid& grid) {
            // The types of the system before it is replaced; the layers may
            // name them.
            const std::vector<MatRec> types = CurrentTypes(input_);
            if (!NewSystem())
                return false;
            ApplyGrid(grid, types, input_);
            ShowInputWindow(false);
            // The drawing's own warnings were shown in the dialog.
            QStringList merged;
            for (size_t i = drawing.warnings.size(); i < grid.warnings.size(); ++i)
                merged << QString::fromStdString(grid.warnings[i]);
            if (!merged.isEmpty())
                dialogs_.ShowMessage(this, merged.join(QLatin1Char('\n')),
                                     QStringLiteral("Warnung"), MessageIcon::Warning);
            return true;
        },
        this);
    if (dialogs_.Exec(&dialog))
        statusBar()->showMessage(QStringLiteral("DXF importiert: %1 Knoten, %2 Stäbe")
                                     .arg(input_.nodes.ValidCount())
                                     .arg(input_.beams.ValidCount()),
                                 kStatusMessageMs);
}

namespace {

// The active graphics window, else the topmost one; null when none is open.
TGraphForm* GraphicsWindowToExport(QMdiArea* area) {
    if (QMdiSubWindow* active = area->activeSubWindow())
        if (auto* window = qobject_cast<TGraphForm*>(active->widget()))
            return window;
    const QList<QMdiSubWindow*> windows = area->subWindowList(QMdiArea::StackingOrder);
    for (auto sub = windows.rbegin(); sub != windows.rend(); ++sub)
        if (auto* window = qobject_cast<TGraphForm*>((*sub)->widget()))
            return window;
    return nullptr;
}

} // namespace

void TMainForm::GrafikDxf1Click() {
    TGraphForm* window = GraphicsWindowToExport(mdiArea);
    if (!window) {
        dialogs_.ShowMessage(this, QStringLiteral("Kein Grafikfenster ist geöffnet"),
                             QStringLiteral("Information"), MessageIcon::Information);
        return;
    }
    const QString path = dialogs_.SaveFileName(this, {QStringLiteral("Grafik als DXF exportieren"),
                                                      QStringLiteral("DXF-Zeichnungen (*.dxf)"),
                                                      QStringLiteral("dxf")});
    if (path.isEmpty())
        return;
    std::string text;
    const bool made = DrawingDxf(window->List(), window->View().Matrix(), text);
    const FileWrite result =
        made ? WriteFileSafely(path.toStdString(),
                               [&text](std::FILE* file) {
                                   return std::fwrite(text.data(), 1, text.size(), file) ==
                                          text.size();
                               })
             : FileWrite::kFailed;
    if (result != FileWrite::kDone) {
        dialogs_.ShowMessage(
            this,
            QString::fromUtf8(result == FileWrite::kNotOpened ? kProtocolOpenError : kWriteError) +
                QStringLiteral(": ") + path,
            QString::fromUtf8(kErrorBoxCaption), MessageIcon::Error);
        return;
    }
    statusBar()->showMessage(QStringLiteral("Grafik geschrieben: %1").arg(path), kStatusMessageMs);
}
