// A user gives a project traffic in the window "Verkehr": a lane typed into
// the grid, a single load chosen, the step typed; calculates, selects the
// traffic's envelope in a graphics window and asks for the influence surface
// of mid-span M by clicking the beam. Closed forms of a single load P
// crossing a simply supported span L: max M = P·L/4, and the influence line
// of mid-span M is min(x, L − x)/2, ξ(1 − ξ)·L at ξ = 1/2.
#include "InputWindowFixture.h"
#include "document/TrafficResults.h"
#include "graphics/ViewMapping.h"
#include "support/QtTestRegistry.h"
#include "support/SmallExamples.h"
#include "ui/GraphForm.h"
#include "ui/SolForm.h"
#include "ui/TrafficForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <cmath>

namespace {

constexpr double kSpan = kSimpleSpan;
constexpr double kLoad = 100.0;
constexpr const char* kSpanSystem = kSimpleSpanSystem;

void Retype(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

} // namespace

class TrafficWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void userMovesASingleLoadOverASpan() {
        InputWindowFixture f;
        QVERIFY(f.shown);
        f.form->OpenSystemFile(WriteTextFile(f.TempPath("s.bsy"), kSpanSystem));
        f.form->Verkehr1->trigger();
        TTrafficForm& window = *f.form->TrafficWindow();
        InputWindowFixture::Click(window.LaneGrid, 1, 1);
        InputWindowFixture::Type(window.LaneGrid, QStringLiteral("1\t0\t0\t"));
        InputWindowFixture::Click(window.LaneGrid, 2, 1);
        InputWindowFixture::Type(window.LaneGrid, QStringLiteral("1\t10\t0\t"));
        const int single = window.VehicleBox->findText(QStringLiteral("Einzellast"));
        QVERIFY(single > 0);
        window.VehicleBox->setCurrentIndex(single);
        Q_EMIT window.VehicleBox->activated(single);
        QVERIFY(window.LoadEdit->isEnabled());
        Retype(window.LoadEdit, QStringLiteral("100"));
        // A step of 0 is pointed at, then corrected.
        Retype(window.StepEdit, QStringLiteral("0"));
        QVERIFY(!window.ShowCheck());
        QVERIFY(f.dialogs.messages.last().text.contains(QStringLiteral("Schrittweite")));
        Retype(window.StepEdit, QStringLiteral("0,5"));
        QVERIFY(window.ShowCheck());
        QCOMPARE(f.form->document.Traffic().vehicle, std::string("point:100"));
        QCOMPARE(f.form->document.Traffic().lanes.size(), size_t(1));

        f.form->Berechnen1->trigger();
        QVERIFY(f.form->document.ResultsValid());
        QCOMPARE(f.form->SolForm->VehiclePositionNb->text(), QStringLiteral("21"));

        // The traffic's envelope after the one load case.
        auto* graph = new TGraphForm(f.input, f.solutions, *f.form, f.dialogs, 3);
        graph->resize(700, 400);
        graph->show();
        QVERIFY(QTest::qWaitForWindowExposed(graph));
        QCOMPARE(graph->CaseSelector->count(), 3);
        graph->Select(1);
        QCOMPARE(graph->windowTitle(), QStringLiteral("Biegemoment – Verkehr: Verkehr"));
        QVERIFY(graph->List().RecordCount() > 0);
        const EnvelopeResults& r =
            f.form->document.TrafficRun()->run.envelopes.front().results.values;
        const size_t mid = (r.layout.beams[0].first + 3) * kBeamQuantities + 2;
        QVERIFY(std::abs(std::max(std::abs(r.max[mid].value), std::abs(r.min[mid].value)) -
                         kLoad * kSpan / 4) < 1e-9 * kLoad * kSpan);
        graph->Select(2);
        QCOMPARE(graph->windowTitle(),
                 QStringLiteral("Biegemoment – Verkehr: Verkehr, ungünstigste Stellung 11"));

        // The influence surface of M at the click near mid-span.
        QVERIFY(graph->InfluenceButton->isVisible());
        graph->InfluenceButton->setChecked(true);
        const std::optional<ViewMapping> mapping =
            FitMapping(graph->View().Window(), graph->PaintBoxRect(), 1.0);
        QVERIFY(mapping);
        const DevicePoint at =
            SceneToDevice(*mapping, Project(graph->View().Matrix(), {kSpan / 2 + 0.3, 0, 0}));
        QTest::mouseClick(graph->PaintBox1, Qt::LeftButton, {}, QPoint(at.x, at.y));
        QVERIFY(graph->Influence());
        QCOMPARE(graph->CaseSelector->count(), 4);
        QCOMPARE(graph->windowTitle(),
                 QStringLiteral("Biegelinie – Einflussfläche: M:beam=1:xi=0.5"));
        const InfluenceSurface& surface = *graph->Influence();
        const double peak = surface.beamValues[3];
        QVERIFY(std::abs(std::abs(peak) - 0.5 * 0.5 * kSpan) < 1e-9 * kSpan);
        for (long m = 0; m <= 6; ++m) {
            const double x = kSpan * static_cast<double>(m) / 6.0;
            const double expected = std::copysign(std::min(x, kSpan - x) / 2.0, peak);
            QVERIFY(std::abs(surface.beamValues[static_cast<size_t>(m)] - expected) < 1e-9 * kSpan);
        }
        delete graph;
        QVERIFY(f.dialogs.unexpected.isEmpty());
    }
};

BALKOR_REGISTER_TEST(TrafficWindowTest);
#include "TrafficWindowTest.moc"
