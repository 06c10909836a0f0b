#include "model/Checks.h"

#include "model/Format.h"
#include "model/SectionFile.h"
#include "model/Tables.h"

#include <cmath>

namespace {

// Pages of the geometry window and of the load window.
constexpr const char* kPageNodes = "Knoten";
constexpr const char* kPageBeams = "Stäbe";
constexpr const char* kPageSections = "Querschnittstypen";
constexpr const char* kPageHinges = "Gelenke";
constexpr const char* kPageSprings = "Federn";
constexpr const char* kPageNodeLoads = "Knotenlasten";
constexpr const char* kPageBeamLoads = "Streckenlasten";
constexpr const char* kPagePointLoads = "Einzellasten";
constexpr const char* kPageTemperature = "Temperatur";
constexpr const char* kPageConstraints = "Zwangsverformungen";
constexpr const char* kPageHingeLoads = "Gelenklasten";

constexpr const char* kNodeOrderWrong = "Knotenreihenfolge ist falsch";
constexpr const char* kBeamOrderWrong = "Stabreihenfolge ist falsch";
constexpr const char* kNodeUndefined = "Knoten %d ist nicht definiert";
constexpr const char* kBeamUndefined = "Stab %d ist nicht definiert";
// A value read from a file as "nan", "inf" or an exponent beyond the range of
// a double; the grid would not have stored it.
constexpr const char* kInvalidNumber = "Ungültiger Zahlenwert !";

// A record line of a file numbered outside 1 ... kMaxRecordNumber: skipped on
// reading, so a load or part of the system would be missing without a word.
CheckReport RejectedRecords(InputContainer* const* tables, const char* const* pages, int count,
                            bool loadWindow) {
    for (int i = 0; i < count; ++i)
        if (const std::optional<long> number = tables[i]->RejectedRecordNumber())
            return CheckReport{
                false,
                Format("Ungültige Satznummer %ld in der Datei (1 bis %ld) !", *number, kMaxRecordNumber),
                pages[i],
                0,
                0,
                loadWindow};
    return {};
}

CheckReport SystemError(const std::string& message, const char* page, int row, int column) {
    return CheckReport{false, message, page, row, column, false};
}

CheckReport LoadError(const std::string& message, const char* page, int row, int column) {
    return CheckReport{false, message, page, row, column, true};
}

// A modulus, moment of inertia, thickness or expansion coefficient must be a
// positive finite number; NaN and infinity (possible from a file) fail too.
bool NotPositive(double value) {
    return !(value > 0.0) || std::isinf(value);
}

// The record with this number (row + 1) when its row is valid, else null.
template <class Table> auto Existing(Table& table, long long number) {
    return table.Existing(number);
}

// The row of the k-th valid record.
template <class Table> int ValidRowIndex(Table& table, int k) {
    return table.IndexOf(table.ValidRow(k));
}

// A real field of a record and its grid column.
template <class Rec> struct RealColumn {
    double Rec::*field;
    int column;
};

const RealColumn<NodeRec> kNodeReals[] = {{&NodeRec::x, 1}, {&NodeRec::y, 2}, {&NodeRec::skew, 6}};
const RealColumn<BeamRec> kBeamReals[] = {{&BeamRec::thickness, 5}};
const RealColumn<MatRec> kMatReals[] = {
    {&MatRec::E, 1}, {&MatRec::G, 2}, {&MatRec::Iy, 3}, {&MatRec::It, 4}, {&MatRec::alphaT, 5}};
const RealColumn<HingeRec> kHingeReals[] = {{&HingeRec::pos, 2}};
const RealColumn<NodeLoadRec> kNodeLoadReals[] = {
    {&NodeLoadRec::Fz, 3}, {&NodeLoadRec::Mx, 4}, {&NodeLoadRec::My, 5}};
const RealColumn<BeamLoadRec> kBeamLoadReals[] = {{&BeamLoadRec::qStart, 3},
                                                  {&BeamLoadRec::qEnd, 4},
                                                  {&BeamLoadRec::mtStart, 5},
                                                  {&BeamLoadRec::mtEnd, 6}};
const RealColumn<PointLoadRec> kPointLoadReals[] = {
    {&PointLoadRec::pos, 2}, {&PointLoadRec::Q, 3}, {&PointLoadRec::Mb, 4}, {&PointLoadRec::Mt, 5}};
const RealColumn<ZwvRec> kZwvReals[] = {{&ZwvRec::w, 3}, {&ZwvRec::rx, 4}, {&ZwvRec::ry, 5}};
const RealColumn<TempLoadRec> kTempLoadReals[] = {{&TempLoadRec::dT, 3}};
const RealColumn<HingeLoadRec> kHingeLoadReals[] = {{&HingeLoadRec::value, 3}};

// The grid column of the first real field of record that is not a finite
// number, 0 when all are.
template <class Rec, size_t N>
int NonFiniteColumn(const Rec& record, const RealColumn<Rec> (&columns)[N]) {
    for (const RealColumn<Rec>& c : columns)
        if (!std::isfinite(record.*c.field))
            return c.column;
    return 0;
}

// The first valid record of a system table with a real field that is not a
// finite number.
template <class Rec, size_t N>
CheckReport CheckSystemNumbers(RecordTable<Rec>& table, const RealColumn<Rec> (&columns)[N],
                               const char* page) {
    const int count = table.ValidCount();
    for (int k = 0; k < count; ++k) {
        const int row = ValidRowIndex(table, k);
        if (const int column = NonFiniteColumn(*table.At(row), columns))
            return SystemError(kInvalidNumber, page, row, column);
    }
    return {};
}

// The real fields of one load record: the last step of every load table.
template <class Rec, size_t N>
CheckReport CheckLoadNumbers(const Rec& load, const RealColumn<Rec> (&columns)[N], const char* page,
                             int row) {
    if (const int column = NonFiniteColumn(load, columns))
        return LoadError(kInvalidNumber, page, row, column);
    return {};
}

CheckReport CheckSection(const MatRec& mat, int row) {
    if (NotPositive(mat.E))
        return SystemError("Ungültiger E-Modul !", kPageSections, row, 1);
    if (NotPositive(mat.Iy))
        return SystemError("Ungültiges Trägheitsmoment Iy !", kPageSections, row, 3);
    if (NotPositive(mat.G))
        return SystemError("Ungültiger Schubmodul !", kPageSections, row, 2);
    if (NotPositive(mat.It))
        return SystemError("Ungültiges Trägheitsmoment It !", kPageSections, row, 4);
    return {};
}

CheckReport CheckBeam(InputModel& model, const BeamRec& beam, int row) {
    const NodeRec* start = Existing(model.nodes, beam.start);
    if (!start)
        return SystemError("Der erste Knoten ist nicht definiert !", kPageBeams, row, 1);
    const NodeRec* end = Existing(model.nodes, beam.end);
    if (!end)
        return SystemError("Der zweite Knoten ist nicht definiert !", kPageBeams, row, 2);
    if (start->x == end->x && start->y == end->y)
        return SystemError("Stablänge ist Null !", kPageBeams, row, 2);
    const MatRec* mat = Existing(model.mats, beam.section);
    if (!mat)
        return SystemError("Material ist nicht definiert !", kPageBeams, row, 3);
    return CheckSection(*mat, beam.section - 1);
}

// Each hinge in turn: its beam must exist, and no later hinge may repeat its
// beam, position and type.
CheckReport CheckHinges(InputModel& model) {
    HingesClass& hinges = model.hinges;
    const int count = hinges.ValidCount();
    for (int k = 0; k < count; ++k) {
        const int row = ValidRowIndex(hinges, k);
        const HingeRec& hinge = *hinges.At(row);
        if (!Existing(model.beams, hinge.beam))
            return SystemError("Stab nicht definiert !", kPageHinges, row, 1);
        for (int j = k + 1; j < count; ++j) {
            const HingeRec& other = *hinges.ValidRow(j);
            if (other.beam == hinge.beam && other.pos == hinge.pos && other.type == hinge.type)
                return SystemError("Zwei gleichartige Gelenke liegen übereinander !", kPageHinges,
                                   row, 2);
        }
    }
    return {};
}

// Grid columns of the spring stiffnesses kz, kRx, kRy.
const RealColumn<SpringRec> kSpringStiffnesses[] = {
    {&SpringRec::kz, 3}, {&SpringRec::kRx, 4}, {&SpringRec::kRy, 5}};

// One spring record: an ordered range of existing nodes and stiffnesses that
// are finite, not negative and not all zero (a spring of no stiffness is a
// row typed by mistake).
CheckReport CheckSpring(InputModel& model, const SpringRec& spring, int row) {
    if (spring.to < spring.from)
        return SystemError(kNodeOrderWrong, kPageSprings, row, 1);
    for (long long n = spring.from; n <= spring.to; ++n)
        if (!Existing(model.nodes, n))
            return SystemError(Format(kNodeUndefined, static_cast<int>(n)), kPageSprings, row, 1);
    for (const RealColumn<SpringRec>& c : kSpringStiffnesses) {
        const double k = spring.*c.field;
        // Written so that NaN fails as well.
        if (!(k >= 0.0) || std::isinf(k))
            return SystemError("Ungültige Federsteifigkeit !", kPageSprings, row, c.column);
    }
    if (spring.kz == 0.0 && spring.kRx == 0.0 && spring.kRy == 0.0)
        return SystemError("Die Feder hat keine Steifigkeit !", kPageSprings, row, 3);
    return {};
}

CheckReport CheckSprings(InputModel& model) {
    SpringClass& springs = model.springs;
    const int count = springs.ValidCount();
    for (int k = 0; k < count; ++k) {
        const int row = ValidRowIndex(springs, k);
        if (CheckReport report = CheckSpring(model, *springs.At(row), row); !report.ok)
            return report;
    }
    return {};
}

CheckReport CheckNodeLoads(InputModel& model) {
    NodeLoadClass& loads = model.nodeLoads;
    const int count = loads.ValidCount();
    for (int k = 0; k < count; ++k) {
        const int row = ValidRowIndex(loads, k);
        const NodeLoadRec& load = *loads.At(row);
        if (load.to < load.from)
            return LoadError(kNodeOrderWrong, kPageNodeLoads, row, 1);
        for (long long n = load.from; n <= load.to; ++n) {
            if (!Existing(model.nodes, n))
                return LoadError(Format(kNodeUndefined, static_cast<int>(n)), kPageNodeLoads, row,
                                 1);
        }
        if (CheckReport report = CheckLoadNumbers(load, kNodeLoadReals, kPageNodeLoads, row);
            !report.ok)
            return report;
    }
    return {};
}

CheckReport CheckBeamLoads(InputModel& model) {
    BeamLoadClass& loads = model.beamLoads;
    const int count = loads.ValidCount();
    for (int k = 0; k < count; ++k) {
        const int row = ValidRowIndex(loads, k);
        const BeamLoadRec& load = *loads.At(row);
        if (load.to < load.from)
            return LoadError(kBeamOrderWrong, kPageBeamLoads, row, 1);
        for (long long b = load.from; b <= load.to; ++b) {
            if (!Existing(model.beams, b))
                return LoadError(Format(kBeamUndefined, static_cast<int>(b)), kPageBeamLoads, row,
                                 1);
        }
        if (CheckReport report = CheckLoadNumbers(load, kBeamLoadReals, kPageBeamLoads, row);
            !report.ok)
            return report;
    }
    return {};
}

CheckReport CheckPointLoads(InputModel& model) {
    PointLoadClass& loads = model.pointLoads;
    const int count = loads.ValidCount();
    for (int k = 0; k < count; ++k) {
        const int row = ValidRowIndex(loads, k);
        const PointLoadRec& load = *loads.At(row);
        if (!Existing(model.beams, load.beam))
            return LoadError("Der Stab ist nicht definiert !", kPagePointLoads, row, 1);
        // Written so that a NaN position fails as well.
        if (!(load.pos >= 0.0 && load.pos <= 1.0))
            return LoadError("Die X-Position ist nur gültig für Werte zwischen 0 und 1 !",
                             kPagePointLoads, row, 2);
        if (CheckReport report = CheckLoadNumbers(load, kPointLoadReals, kPagePointLoads, row);
            !report.ok)
            return report;
    }
    return {};
}

// One beam of a temperature load's range: it must exist and, when the load
// bends it (dT not 0), have a thickness and a cross-section type with an
// expansion coefficient.
CheckReport CheckTemperatureBeam(InputModel& model, const TempLoadRec& load, int row, int b) {
    const BeamRec* beam = Existing(model.beams, b);
    if (!beam)
        return LoadError(Format(kBeamUndefined, b), kPageTemperature, row, 1);
    if (load.dT == 0.0)
        return {};
    if (NotPositive(beam->thickness))
        return LoadError(Format("Ungültige Stabdicke bei Stab %d angegeben", b), kPageTemperature,
                         row, 3);
    const MatRec* mat = Existing(model.mats, beam->section);
    if (!mat || NotPositive(mat->alphaT))
        return LoadError(Format("Ungültiger Temperaturausdehnungskoeffizient bei Querschnittstyp "
                                "%d angegeben",
                                beam->section),
                         kPageTemperature, row, 3);
    return {};
}

CheckReport CheckTemperatureLoads(InputModel& model) {
    TempLoadClass& loads = model.tempLoads;
    const int count = loads.ValidCount();
    for (int k = 0; k < count; ++k) {
        const int row = ValidRowIndex(loads, k);
        const TempLoadRec& load = *loads.At(row);
        if (load.to < load.from)
            return LoadError(kBeamOrderWrong, kPageTemperature, row, 1);
        // The walk ends at the first missing beam, so it stays within the table.
        for (long long b = load.from; b <= load.to; ++b) {
            CheckReport report = CheckTemperatureBeam(model, load, row, static_cast<int>(b));
            if (!report.ok)
                return report;
        }
        if (CheckReport report = CheckLoadNumbers(load, kTempLoadReals, kPageTemperature, row);
            !report.ok)
            return report;
    }
    return {};
}

CheckReport CheckConstraints(InputModel& model) {
    ZwvClass& loads = model.zwv;
    const int count = loads.ValidCount();
    for (int k = 0; k < count; ++k) {
        const int row = ValidRowIndex(loads, k);
        const ZwvRec& load = *loads.At(row);
        if (load.to < load.from)
            return LoadError(kNodeOrderWrong, kPageConstraints, row, 1);
        for (long long n = load.from; n <= load.to; ++n) {
            const int node = static_cast<int>(n);
            if (!Existing(model.nodes, n))
                return LoadError(Format(kNodeUndefined, node), kPageConstraints, row, 1);
            if (model.nodes.NodeUnconnected(node))
                return LoadError(Format("Knoten %d hat keine Verbindung mit der Struktur !", node),
                                 kPageConstraints, row, 2);
        }
        if (CheckReport report = CheckLoadNumbers(load, kZwvReals, kPageConstraints, row);
            !report.ok)
            return report;
    }
    return {};
}

// Each hinge load in turn: its hinge must exist, and a later hinge load on the
// same hinge is reported (the later one is selected).
CheckReport CheckHingeLoads(InputModel& model) {
    HingeLoadClass& loads = model.hingeLoads;
    const int count = loads.ValidCount();
    for (int k = 0; k < count; ++k) {
        const int row = ValidRowIndex(loads, k);
        const HingeLoadRec& load = *loads.At(row);
        if (!Existing(model.hinges, load.hinge))
            return LoadError("Das Gelenk ist nicht definiert !", kPageHingeLoads, row, 1);
        for (int j = k + 1; j < count; ++j) {
            if (loads.ValidRow(j)->hinge == load.hinge)
                return LoadError("Es darf nur eine Gelenklast an einem Gelenk angreifen !",
                                 kPageHingeLoads, ValidRowIndex(loads, j), 1);
        }
        if (CheckReport report = CheckLoadNumbers(load, kHingeLoadReals, kPageHingeLoads, row);
            !report.ok)
            return report;
    }
    return {};
}

// Every real of the four tables must be a finite number; examined once the
// beams and hinges have passed their own steps.
CheckReport CheckAllSystemNumbers(InputModel& model) {
    CheckReport report = CheckSystemNumbers(model.nodes, kNodeReals, kPageNodes);
    if (report.ok)
        report = CheckSystemNumbers(model.beams, kBeamReals, kPageBeams);
    if (report.ok)
        report = CheckSystemNumbers(model.mats, kMatReals, kPageSections);
    if (report.ok)
        report = CheckSystemNumbers(model.hinges, kHingeReals, kPageHinges);
    return report;
}

} // namespace

CheckReport CheckSystem(InputModel& model) {
    const char* const pages[] = {kPageNodes, kPageBeams, kPageSections, kPageHinges, kPageSprings};
    if (CheckReport report = RejectedRecords(model.systemFileTables, pages, 5, false); !report.ok)
        return report;
    BeamClass& beams = model.beams;
    const int count = beams.ValidCount();
    for (int k = 0; k < count; ++k) {
        const int row = ValidRowIndex(beams, k);
        CheckReport report = CheckBeam(model, *beams.At(row), row);
        if (!report.ok)
            return report;
        // The hinges are examined once the first beam has passed; they do not
        // depend on the beam, so later passes would find nothing new.
        if (k == 0) {
            report = CheckHinges(model);
            if (!report.ok)
                return report;
        }
    }
    if (CheckReport report = CheckSprings(model); !report.ok)
        return report;
    return count > 0 ? CheckAllSystemNumbers(model) : CheckReport{};
}

CheckReport CheckLoads(InputModel& model) {
    const char* const pages[] = {kPageNodeLoads,   kPageBeamLoads,   kPagePointLoads,
                                 kPageConstraints, kPageTemperature, kPageHingeLoads};
    if (CheckReport report = RejectedRecords(model.loadTables, pages, 6, true); !report.ok)
        return report;
    using Step = CheckReport (*)(InputModel&);
    const Step steps[] = {CheckNodeLoads,        CheckBeamLoads,   CheckPointLoads,
                          CheckTemperatureLoads, CheckConstraints, CheckHingeLoads};
    for (Step step : steps) {
        CheckReport report = step(model);
        if (!report.ok)
            return report;
    }
    return {};
}
