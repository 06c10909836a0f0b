// The layouts of the input pages: what each grid column shows and edits,
// and the captions above the columns.
#include "ui/InputPages.h"

#include "grid/GridCore.h"
#include "grid/UserHeader.h"
#include "grid/UserInt.h"
#include "grid/UserList.h"
#include "model/Tables.h"

#include <QStringList>
#include <vector>

namespace {

enum Kind { Int, Real, Fixed3, List };

struct ColumnLayout {
    Kind kind;
    bool center = false;
    QStringList list = {};
    int maxTextLen = 0;
    const char* filter = "";
};

struct HeaderLayout {
    int rowB, rowE, colB, colE;
    const char* text;
};

struct PageLayout {
    const char* caption;
    int helpTopic;
    int fixedRows;
    std::vector<int> widths;           // grid column 0 first
    std::vector<ColumnLayout> columns; // grid columns 1 …
    std::vector<HeaderLayout> headers;
};

const QStringList kNoYes = {QStringLiteral("N"), QStringLiteral("J")};
const QStringList kHingeTypes = {QStringLiteral("Querkraft"), QStringLiteral("Biegemoment"),
                                 QStringLiteral("Torsionsmoment")};
const QStringList kHingeLoadKinds = {QStringLiteral("Last"), QStringLiteral("Verformung")};

// A support column: 0 and 1 are typed as N and J.
const ColumnLayout kSupport{List, true, kNoYes, 1, "0N1J"};
const ColumnLayout kCentredInt{Int, true};
const ColumnLayout kReal{Real};

// "Knotenlasten", "Zwangsverformungen" and "Federn": a node range and three
// values.
PageLayout NodeRangePage(const char* caption, int helpTopic, const char* over, const char* z,
                         const char* rx, const char* ry) {
    return {caption,
            helpTopic,
            2,
            {50, 40, 40, 100, 100, 100},
            {kCentredInt, kCentredInt, kReal, kReal, kReal},
            {{0, 1, 0, 0, "Nr"},
             {0, 0, 1, 2, "Knoten"},
             {1, 1, 1, 1, "von"},
             {1, 1, 2, 2, "bis"},
             {0, 0, 3, 5, over},
             {1, 1, 3, 3, z},
             {1, 1, 4, 4, rx},
             {1, 1, 5, 5, ry}}};
}

PageLayout Layout(InputPage page) {
    switch (page) {
    case InputPage::Knoten:
        return {"Knoten",
                10070,
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
    case InputPage::Staebe:
        return {"Stäbe",
                10075,
                2,
                {40, 60, 60, 80, 60, 100, 60},
                {kCentredInt, kCentredInt, kCentredInt, kCentredInt, kReal, ColumnLayout{Fixed3}},
                {{0, 1, 0, 0, "Nr"},
                 {0, 0, 1, 2, "Knoten"},
                 {1, 1, 1, 1, "Anfang"},
                 {1, 1, 2, 2, "Ende"},
                 {0, 1, 3, 3, "Querschnittsnr."},
                 {0, 1, 4, 4, "Intervalle"},
                 {0, 1, 5, 5, "Stabdicke"},
                 {0, 1, 6, 6, "Stablänge"}}};
    case InputPage::Querschnitte:
        return {"Querschnittstypen",
                10080,
                1,
                {40, 100, 100, 100, 100, 108},
                {kReal, kReal, kReal, kReal, kReal},
                {{0, 0, 0, 0, "Nr"},
                 {0, 0, 1, 1, "Elastizitätsmodul"},
                 {0, 0, 2, 2, "Schubmodul"},
                 {0, 0, 3, 3, "Trägheitsmoment Iy"},
                 {0, 0, 4, 4, "Trägheitsmoment It"},
                 {0, 0, 5, 5, "Temp.ausd.koeff."}}};
    case InputPage::Gelenke:
        // The hinges share the cross-section types' help topic.
        return {"Gelenke",
                10080,
                1,
                {40, 50, 100, 100},
                {kCentredInt, kReal, ColumnLayout{List, true, kHingeTypes, 1}},
                {{0, 0, 0, 0, "Nr"},
                 {0, 0, 1, 1, "Stabnr"},
                 {0, 0, 2, 2, "x-Pos (0-1)"},
                 {0, 0, 3, 3, "Typ (B,T,Q)"}}};
    case InputPage::Federn:
        return NodeRangePage("Federn", 10082, "Federsteifigkeit", "kz", "kRx", "kRy");
    case InputPage::Knotenlasten:
        return NodeRangePage("Knotenlasten", 10090, "Last in Richtung", "z", "Rx", "Ry");
    case InputPage::Zwangsverformungen:
        return NodeRangePage("Zwangsverformungen", 10090, "Verschiebung in Richtung", "z", "Rx",
                             "Ry");
    case InputPage::Streckenlasten:
        return {"Streckenlasten",
                10095,
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
    case InputPage::Einzellasten:
        return {"Einzellasten",
                10100,
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
    case InputPage::Gelenklasten:
        return {"Gelenklasten",
                10115,
                1,
                {50, 50, 100, 100},
                {kCentredInt, ColumnLayout{List, true, kHingeLoadKinds}, kReal},
                {{0, 0, 0, 0, "Nr"},
                 {0, 0, 1, 1, "Gelenknr."},
                 {0, 0, 2, 2, "Last/Verformung"},
                 {0, 0, 3, 3, "Wert"}}};
    case InputPage::Temperatur:
        return {"Temperatur",
                10105,
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

TUserCell* MakeColumn(const ColumnLayout& layout, QObject* owner) {
    if (layout.kind == List) {
        auto* list = new TUserList(owner);
        list->SetList(layout.list);
        return list;
    }
    auto* number = new TUserInt(owner);
    number->SetTyp(layout.kind == Int ? uInteger : uDouble);
    number->SetFormat(layout.kind == Int    ? QStringLiteral("%d")
                      : layout.kind == Real ? QStringLiteral("%#.4lg")
                                            : QStringLiteral("%.3lf"));
    // The only fixed-point column is the beam length the table computes.
    number->SetOnlyRead(layout.kind == Fixed3);
    return number;
}

} // namespace

QString InputPageCaption(InputPage page) {
    return QString::fromUtf8(Layout(page).caption);
}

int InputPageHelpTopic(InputPage page) {
    return Layout(page).helpTopic;
}

InputContainer& InputPageTable(InputModel& model, InputPage page) {
    InputContainer* const tables[kInputPageCount] = {
        &model.nodes,      &model.beams,     &model.mats,      &model.hinges,
        &model.nodeLoads,  &model.zwv,       &model.beamLoads, &model.pointLoads,
        &model.hingeLoads, &model.tempLoads, &model.springs};
    return *tables[static_cast<int>(page)];
}

void SetUpInputPage(GridCore& grid, InputPage page, QObject* owner) {
    const PageLayout layout = Layout(page);
    grid.SetColCount(static_cast<int>(layout.widths.size()));
    grid.SetFixedRows(layout.fixedRows);
    grid.SetFirstColumnWidth(layout.widths[0]);
    for (size_t i = 0; i < layout.columns.size(); ++i) {
        const ColumnLayout& columnLayout = layout.columns[i];
        TUserCell* column = MakeColumn(columnLayout, owner);
        column->SetColumn(static_cast<int>(i) + 1);
        column->SetColWidth(layout.widths[i + 1]);
        column->SetCenter(columnLayout.center);
        column->SetMaxTextLen(columnLayout.maxTextLen);
        column->SetFilter(QString::fromUtf8(columnLayout.filter));
        column->SetGrid(&grid);
    }
    for (const HeaderLayout& headerLayout : layout.headers) {
        auto* header = new TUserHeader(owner);
        header->SetText(QString::fromUtf8(headerLayout.text));
        header->SetSpan(headerLayout.rowB, headerLayout.rowE, headerLayout.colB, headerLayout.colE);
        header->SetGrid(&grid);
    }
}
