#include "ui/SectionFields.h"

#include <QHeaderView>
#include <QLocale>
#include <QTableWidget>

namespace {

const char* const kCaptions[kSectionFieldCount] = {"E", "G", "Iy", "It", "Temp.ausd.koeff."};

} // namespace

const char* SectionFieldCaption(int field) {
    return kCaptions[field];
}

void SetUpSectionColumns(QTableWidget& table, int first) {
    for (int field = 0; field < kSectionFieldCount; ++field) {
        auto* item = new QTableWidgetItem(QString::fromUtf8(kCaptions[field]));
        table.setHorizontalHeaderItem(first + field, item);
    }
    QHeaderView* header = table.horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Stretch);
    header->setSectionResizeMode(first + kSectionFieldCount - 1, QHeaderView::ResizeToContents);
}

QString SectionNumber(double value) {
    return QString::number(value, 'g', 10);
}

bool ParseSectionNumber(QString text, double& value) {
    bool ok = false;
    value = QLocale::c().toDouble(text.trimmed().replace(QLatin1Char(','), QLatin1Char('.')), &ok);
    return ok;
}

void SetSectionRow(QTableWidget& table, int row, int first,
                   const double (&values)[kSectionFieldCount]) {
    for (int field = 0; field < kSectionFieldCount; ++field)
        table.setItem(row, first + field, new QTableWidgetItem(SectionNumber(values[field])));
}

bool ReadSectionRow(const QTableWidget& table, int row, int first,
                    double* const (&fields)[kSectionFieldCount], int& badField, QString& badText) {
    for (int field = 0; field < kSectionFieldCount; ++field) {
        const QTableWidgetItem* item = table.item(row, first + field);
        const QString text = item ? item->text() : QString();
        if (!ParseSectionNumber(text, *fields[field])) {
            badField = field;
            badText = text;
            return false;
        }
    }
    return true;
}
