#include "GridLayouts.h"

#include "grid/GridCore.h"
#include "grid/UserHeader.h"
#include "grid/UserInt.h"
#include "grid/UserList.h"
#include "model/Tables.h"

#include <QStringList>

namespace {

enum Kind { Int, Real, Fixed3, List };

struct ColumnSpec {
    Kind kind;
    bool center = false;
    QStringList list = {};
    int maxTextLen = 0;
    const char* filter = "";
};

struct HeaderSpec {
    int rowB, rowE, colB, colE;
    const char* text;
};

struct PageSpec {
    const char* name;
    int fixedRows;
    std::vector<int> widths;
    std::vector<ColumnSpec> columns; // grid columns 1 …
    std::vector<HeaderSpec> headers;
};

const QStringList kNoYes = {QStringLiteral("N"), QStringLiteral("J")};
const QStringList kHingeTypes = {QStringLiteral("Querkraft"), QStringLiteral("Biegemoment"),
                                 QStringLiteral("Torsionsmoment")};
const QStringList kHingeLoadKinds = {QStringLiteral("Last"), QStringLiteral("Verformung")};

const ColumnSpec kSupport{List, true, kNoYes, 1, "0N1J"};
const ColumnSpec kCentredInt{Int, true};
const ColumnSpec kReal{Real};

std::vector<HeaderSpec> RangeLoadHeaders(const char* over) {
    return {{0, 1, 0, 0, "Nr"}, {0, 0, 1, 2, "Knoten"}, {1, 1, 1, 1, "von"}, {1, 1, 2, 2, "bis"},
            {0, 0, 3, 5, over}, {1, 1, 3, 3, "z"},      {1, 1, 4, 4, "Rx"},  {1, 1, 5, 5, "Ry"}};
}

PageSpec Spec(Page page) {
    switch (page) {
    case Page::Knoten:
        return {"Knoten",
                2,
                {40, 100, 100, 40, 40, 40, 105},
                {kReal, kReal, kSupport, kSupport, kSupport, kReal},
                {{0, 1, 0, 0, "Nr"},
                 {0, 0, 1, 2, "Koordinaten"},
                 {1, 1, 1, 1, "x"},
                 {1, 1, 2, 2, "y"},
                 {0, 0, 3, 5, "Auflager"},
                 {1, 1, 3, 3, "z"},
                 {1, 1, 4, 4, "Rx"},
                 {1, 1, 5, 5, "Ry"},
                 {0, 1, 6, 6, "Lagerverdrehung in °"}}};
    case Page::Staebe:
        return {"Stäbe",
                2,
                {40, 60, 60, 80, 60, 100, 60},
                {kCentredInt, kCentredInt, kCentredInt, kCentredInt, kReal, ColumnSpec{Fixed3}},
                {{0, 1, 0, 0, "Nr"},
                 {0, 0, 1, 2, "Knoten"},
                 {1, 1, 1, 1, "Anfang"},
                 {1, 1, 2, 2, "Ende"},
                 {0, 1, 3, 3, "Querschnittsnr."},
                 {0, 1, 4, 4, "Intervalle"},
                 {0, 1, 5, 5, "Stabdicke"},
                 {0, 1, 6, 6, "Stablänge"}}};
    case Page::Querschnitte:
        return {"Querschnittstypen",
                1,
                {40, 100, 100, 100, 100, 108},
                {kReal, kReal, kReal, kReal, kReal},
                {{0, 0, 0, 0, "Nr"},
                 {0, 0, 1, 1, "Elastizitätsmodul"},
                 {0, 0, 2, 2, "Schubmodul"},
                 {0, 0, 3, 3, "Trägheitsmoment Iy"},
                 {0, 0, 4, 4, "Trägheitsmoment It"},
                 {0, 0, 5, 5, "Temp.ausd.koeff."}}};
    case Page::Gelenke:
        return {"Gelenke",
                1,
                {40, 50, 100, 100},
                {kCentredInt, kReal, ColumnSpec{List, true, kHingeTypes, 1}},
                {{0, 0, 0, 0, "Nr"},
                 {0, 0, 1, 1, "Stabnr"},
                 {0, 0, 2, 2, "x-Pos (0-1)"},
                 {0, 0, 3, 3, "Typ (B,T,Q)"}}};
    case Page::Knotenlasten:
        return {"Knotenlasten",
                2,
                {50, 40, 40, 100, 100, 100},
                {kCentredInt, kCentredInt, kReal, kReal, kReal},
                RangeLoadHeaders("Last in Richtung")};
    case Page::Zwangsverformungen:
        return {"Zwangsverformungen",
                2,
                {50, 40, 40, 100, 100, 100},
                {kCentredInt, kCentredInt, kReal, kReal, kReal},
                RangeLoadHeaders("Verschiebung in Richtung")};
    case Page::Streckenlasten:
        return {"Streckenlasten",
                3,
                {50, 40, 40, 100, 100, 100, 100},
                {kCentredInt, kCentredInt, kReal, kReal, kReal, kReal},
                {{0, 2, 0, 0, "Nr"},
                 {0, 1, 1, 2, "Stäbe"},
                 {2, 2, 1, 1, "von"},
                 {2, 2, 2, 2, "bis"},
                 {0, 0, 3, 6, "Streckenlast"},
                 {1, 1, 3, 4, "Querrichtung"},
                 {2, 2, 3, 3, "Anfang"},
                 {2, 2, 4, 4, "Ende"},
                 {1, 1, 5, 6, "Torsionsmoment"},
                 {2, 2, 5, 5, "Anfang"},
                 {2, 2, 6, 6, "Ende"}}};
    case Page::Einzellasten:
        return {"Einzellasten",
                2,
                {50, 40, 100, 100, 100, 100},
                {kCentredInt, kReal, kReal, kReal, kReal},
                {{0, 1, 0, 0, "Nr"},
                 {0, 1, 1, 1, "Stabnr"},
                 {0, 1, 2, 2, "x-Position (0 - 1)"},
                 {0, 0, 3, 5, "Lokale Last in Richtung"},
                 {1, 1, 3, 3, "Q"},
                 {1, 1, 4, 4, "Biegemoment"},
                 {1, 1, 5, 5, "Torsionsmoment"}}};
    case Page::Gelenklasten:
        return {"Gelenklasten",
                1,
                {50, 50, 100, 100},
                {kCentredInt, ColumnSpec{List, true, kHingeLoadKinds}, kReal},
                {{0, 0, 0, 0, "Nr"},
                 {0, 0, 1, 1, "Gelenknr."},
                 {0, 0, 2, 2, "Last/Verformung"},
                 {0, 0, 3, 3, "Wert"}}};
    case Page::Temperatur:
        return {"Temperatur",
                2,
                {50, 40, 40, 150},
                {kCentredInt, kCentredInt, kReal},
                {{0, 1, 0, 0, "Nr"},
                 {0, 0, 1, 2, "Stäbe"},
                 {1, 1, 1, 1, "von"},
                 {1, 1, 2, 2, "bis"},
                 {0, 1, 3, 3, "Temperaturdifferenz Tu - To"}}};
    }
    return {};
}

std::unique_ptr<TUserCell> MakeColumn(const ColumnSpec& spec) {
    if (spec.kind == List) {
        auto list = std::make_unique<TUserList>();
        list->SetList(spec.list);
        return list;
    }
    auto number = std::make_unique<TUserInt>();
    number->SetTyp(spec.kind == Int ? uInteger : uDouble);
    number->SetFormat(spec.kind == Int    ? QStringLiteral("%d")
                      : spec.kind == Real ? QStringLiteral("%#.4lg")
                                          : QStringLiteral("%.3lf"));
    number->SetOnlyRead(spec.kind == Fixed3);
    return number;
}

} // namespace

QString PageName(Page page) {
    return QString::fromUtf8(Spec(page).name);
}

InputContainer& PageTable(InputModel& model, Page page) {
    InputContainer* tables[kPageCount] = {
        &model.nodes, &model.beams,     &model.mats,       &model.hinges,     &model.nodeLoads,
        &model.zwv,   &model.beamLoads, &model.pointLoads, &model.hingeLoads, &model.tempLoads};
    return *tables[static_cast<int>(page)];
}

std::vector<std::unique_ptr<QObject>> SetUpPage(GridCore& grid, Page page, InputModel& model) {
    const PageSpec spec = Spec(page);
    std::vector<std::unique_ptr<QObject>> parts;
    grid.SetColCount(static_cast<int>(spec.widths.size()));
    grid.SetFixedRows(spec.fixedRows);
    grid.SetFirstColumnWidth(spec.widths[0]);
    for (size_t i = 0; i < spec.columns.size(); ++i) {
        const ColumnSpec& columnSpec = spec.columns[i];
        std::unique_ptr<TUserCell> column = MakeColumn(columnSpec);
        column->SetColumn(static_cast<int>(i) + 1);
        column->SetColWidth(spec.widths[i + 1]);
        column->SetCenter(columnSpec.center);
        column->SetMaxTextLen(columnSpec.maxTextLen);
        column->SetFilter(QString::fromUtf8(columnSpec.filter));
        column->SetGrid(&grid);
        parts.push_back(std::move(column));
    }
    for (const HeaderSpec& headerSpec : spec.headers) {
        auto header = std::make_unique<TUserHeader>();
        header->SetText(QString::fromUtf8(headerSpec.text));
        header->SetSpan(headerSpec.rowB, headerSpec.rowE, headerSpec.colB, headerSpec.colE);
        header->SetGrid(&grid);
        parts.push_back(std::move(header));
    }
    grid.SetContainer(&PageTable(model, page));
    return parts;
}
