// The graphics window: creation, toolbar, tabs, spin edits, keep-view rules,
// merged refreshes, the shared evaluation-point count, the canvas onto
// QPainter, the clipboard picture and a random mouse and toolbar sequence.
#include "GraphFixture.h"
#include "graphics/Render.h"
#include "graphics/SceneContext.h"
#include "graphics/ViewMapping.h"
#include "support/QtTestRegistry.h"
#include "support/RandomSeed.h"
#include "ui/PageControl.h"
#include "ui/QtCanvas.h"
#include "ui/WindowMessages.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QRandomGenerator>
#include <QRubberBand>
#include <QScopeGuard>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWindow>
#include <cmath>

namespace {

void ClickTab(TGraphForm& window, int tab) {
    QTest::mouseClick(window.TabControl2, Qt::LeftButton, {},
                      window.TabControl2->TabRect(tab).center());
}

void Drag(TGraphForm& window, QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton) {
    QWidget* box = window.PaintBox1;
    QTest::mousePress(box, button, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), box->mapToGlobal(QPointF(to)), button, button,
                     {});
    QApplication::sendEvent(box, &move);
    QTest::mouseRelease(box, button, {}, to);
}

// A mouse event as the window system delivers it: to the main window's
// native window, so that Qt also makes the context-menu event of a right
// press and the events go to the widget under the pointer.
void WindowMouse(TGraphForm& window, QEvent::Type type, Qt::MouseButton button, QPoint boxPoint) {
    QWidget* top = window.window();
    const QPoint at = window.PaintBox1->mapTo(top, boxPoint);
    QWindow* native = top->windowHandle();
    if (type == QEvent::MouseButtonPress)
        QTest::mousePress(native, button, {}, at);
    else if (type == QEvent::MouseButtonRelease)
        QTest::mouseRelease(native, button, {}, at);
    else
        QTest::mouseMove(native, at);
}

// Counts the popup menus that open while it lives, and closes each at once
// (a menu's own loop would otherwise wait for the user).
struct PopupWatch {
    int opened = 0;
    QTimer timer;
    PopupWatch() {
        timer.setInterval(0);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                ++opened;
                popup->close();
            }
        });
        timer.start();
    }
};

bool Finite(const SceneBox& box) {
    return std::isfinite(box.minX) && std::isfinite(box.minY) && std::isfinite(box.maxX) &&
           std::isfinite(box.maxY);
}

// Whether two images differ in a pixel.
bool AnyNonWhite(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != QColor(Qt::white))
                return true;
    return false;
}

} // namespace

class GraphFormTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void newWindowHasInitialFlagsButtonsAndSpinEdits() {
        GraphFixture f;
        QVERIFY(f.form->Grafik1->isEnabled());
        QVERIFY(f.form->Grafikdrucken1->isEnabled());
        TGraphForm* w = f.Open();
        QCOMPARE(int(w->Flags()), 0x28C8);
        QCOMPARE(w->windowTitle(), QStringLiteral("Geometrie"));
        QCOMPARE(w->View().KeepView(), 1);
        QCOMPARE(w->size(), QSize(736, 425));
        // The frame shows the window's icon, not the program's.
        QVERIFY(!w->windowIcon().isNull());
        QCOMPARE(w->parentWidget()->windowIcon().cacheKey(), w->windowIcon().cacheKey());
        const struct {
            QAction* button;
            const char* hint;
            bool checkable;
            bool down;
        } buttons[] = {
            {w->ToolButton1, "Grafik Drucken", false, false},
            {w->ToolButton2, "In Zwichenablage kopieren", false, false},
            {w->ToolButton3, "Ausschnitt", true, false},
            {w->ToolButton4, "Alles zeigen", false, false},
            {w->ToolButton5, "Verschieben", true, true},
            {w->ToolButton6, "Rotieren (linke ode rechte Maustaste)", true, false},
            {w->ToolButton8, "Achsenkreuz", true, false},
            {w->ToolButton9, "Knotennummern", true, false},
            {w->ToolButton10, "Stabnummern", true, false},
            {w->ToolButton11, "Gelenknummern", true, false},
            {w->ToolButton12, "Materialnummern", true, false},
            {w->ToolButton13, "Wertangaben", true, true},
            {w->ToolButton14, "Funktionsextrema", true, true},
            {w->ToolButton15, "Belastung", true, true},
            {w->ToolButton16, "Auflager", true, true},
            {w->ToolButton17, "Auflagerkräfte", true, false},
        };
        for (const auto& b : buttons) {
            QCOMPARE(b.button->toolTip(), QString::fromUtf8(b.hint));
            QCOMPARE(b.button->isCheckable(), b.checkable);
            QCOMPARE(b.button->isChecked(), b.down);
            QVERIFY(!b.button->icon().isNull());
        }
        QVERIFY(w->ToolButton7->isSeparator());
        const struct {
            TCSpinEdit* edit;
            const char* hint;
            int minimum, maximum, step, value;
        } edits[] = {
            {w->CSpinEdit1, "Anzahl der Auswertungpunkte", 1, 100, 1, 10},
            {w->CSpinEdit2, "Textskalierung", -100000, 100000, 10, 100},
            {w->CSpinEdit3, "Funktionsskalierung", -100000, 100000, 10, 100},
            {w->CSpinEdit4, "Verschiebungsskalierung", -100000, 100000, 10, 100},
        };
        for (const auto& e : edits) {
            QCOMPARE(e.edit->toolTip(), QString::fromUtf8(e.hint));
            QCOMPARE(e.edit->minimum(), e.minimum);
            QCOMPARE(e.edit->maximum(), e.maximum);
            QCOMPARE(e.edit->singleStep(), e.step);
            QCOMPARE(e.edit->value(), e.value);
        }
        QCOMPARE(w->TabControl2->Count(), 5);
        const char* names[] = {"Geometrie", "Biegelinie", "Querkraft", "Biegemoment",
                               "Torsionsmoment"};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(w->TabControl2->TabText(i), QString::fromUtf8(names[i]));
    }

    // Choosing a tab releases "Belastung" and hides the loads; "Geometrie"
    // presses it again. Number, support, value and extremum options stay.
    void tabChangesSetBelastungAndKeepOptions() {
        GraphFixture f;
        f.OpenBridge();
        TGraphForm* w = f.Open();
        w->ToolButton9->trigger(); // "Knotennummern" down
        QVERIFY(w->Flags() & ShowNodeNumbers);
        const struct {
            int tab;
            bool loads;
            bool deformation;
            const char* caption;
        } steps[] = {
            {2, false, false, "Querkraft"},      {0, true, false, "Geometrie"},
            {1, false, true, "Biegelinie"},      {3, false, false, "Biegemoment"},
            {4, false, false, "Torsionsmoment"}, {0, true, false, "Geometrie"},
        };
        for (const auto& step : steps) {
            ClickTab(*w, step.tab);
            QCOMPARE(w->CurrentTab(), step.tab);
            QCOMPARE(w->ToolButton15->isChecked(), step.loads);
            QCOMPARE(bool(w->Flags() & ShowLoads), step.loads);
            QCOMPARE(bool(w->Flags() & ShowDeformation), step.deformation);
            QVERIFY(w->Flags() & ShowStructure);
            QCOMPARE(w->Flags() & (ShowNodeNumbers | ShowSupports | ShowValues | ShowExtrema),
                     ShowNodeNumbers | ShowSupports | ShowValues | ShowExtrema);
            QCOMPARE(w->windowTitle(), QString::fromUtf8(step.caption));
        }
        // "Belastung" released by hand on "Geometrie" hides the loads.
        w->ToolButton15->trigger();
        QVERIFY(!(w->Flags() & ShowLoads));
    }

    void popupMenuOpensTheChosenView() {
        GraphFixture f;
        f.OpenBridge();
        TGraphForm* w = f.Open(kTabBiegemoment);
        QCOMPARE(w->CurrentTab(), int(kTabBiegemoment));
        QCOMPARE(w->windowTitle(), QStringLiteral("Biegemoment"));
        QCOMPARE(w->TabControl2->CurrentIndex(), int(kTabBiegemoment));
        QCOMPARE(int(w->Flags()), int(NewWindowFlags(kTabBiegemoment)));
        QVERIFY(!w->ToolButton15->isChecked());
    }

    // An uncovered part of the box (the rubber band moved, a box closed above
    // it) shows the last picture again; whatever the picture is drawn from
    // changing replays the list.
    void uncoveredPartsShowTheLastPicture() {
        GraphFixture f;
        f.OpenBridge();
        f.form->show();
        TGraphForm* w = f.Open();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        TPaintBox* box = w->PaintBox1;
        // The second replay starts with the pen the first one left.
        box->Redraw();
        box->Redraw();
        const QImage fresh = box->grab().toImage();
        const int replays = box->Replays();
        box->repaint(QRect(10, 10, 30, 30));
        w->ShowRubberBand({20, 20}, {80, 60});
        QCoreApplication::processEvents();
        w->HideRubberBand();
        QCoreApplication::processEvents();
        QCOMPARE(box->grab().toImage(), fresh);
        QCOMPARE(box->Replays(), replays);

        const auto replayedAfter = [&](const char* change, auto&& act) {
            const int before = box->Replays();
            act();
            box->repaint(QRect(0, 0, 5, 5));
            QVERIFY2(box->Replays() > before, change);
        };
        replayedAfter("a flag", [&] { w->ToolButton9->trigger(); });
        replayedAfter("a pan", [&] { Drag(*w, QPoint(100, 100), QPoint(130, 110)); });
        replayedAfter("a new size", [&] {
            w->parentWidget()->resize(w->parentWidget()->size() + QSize(20, 10));
        });
        replayedAfter("a wider pen", [&] { w->SetPaintBoxPenWidth(17); });
        // The picture shown again is the one a new replay draws.
        box->Redraw();
        const QImage cached = box->grab().toImage();
        box->Redraw();
        QCOMPARE(cached, box->grab().toImage());
    }

    // After "Alles zeigen" every rebuild refits the picture until a pan, a
    // zoom window or a spin edit keeps the view.
    void keepViewRules() {
        GraphFixture f;
        f.OpenBridge();
        f.form->show();
        TGraphForm* w = f.Open();
        QVERIFY(QTest::qWaitForWindowExposed(w));

        const auto fitAllThenToggle = [&] {
            w->ToolButton4->trigger();
            QCOMPARE(w->View().KeepView(), 0);
            w->ToolButton9->trigger();
            QCOMPARE(w->View().Window(), w->List().BoundingBox());
        };
        fitAllThenToggle();
        // Pan: the view moves and stays at the next rebuild.
        Drag(*w, QPoint(200, 150), QPoint(260, 180));
        QCOMPARE(w->View().KeepView(), 1);
        const SceneBox panned = w->View().Window();
        QVERIFY(!(panned == w->List().BoundingBox()));
        w->ToolButton10->trigger();
        QCOMPARE(w->View().Window(), panned);

        // Zoom window: a quarter of the paint box.
        fitAllThenToggle();
        w->ToolButton3->trigger();
        QVERIFY(w->ToolButton3->isChecked());
        QVERIFY(!w->ToolButton5->isChecked());
        QCOMPARE(w->PaintBox1->cursor().shape(), Qt::CrossCursor);
        Drag(*w, QPoint(100, 80), QPoint(300, 220));
        QCOMPARE(w->View().KeepView(), 1);
        QVERIFY(!w->ToolButton3->isChecked());
        const SceneBox zoomed = w->View().Window();
        QVERIFY(zoomed.Width() < w->List().BoundingBox().Width());
        w->ToolButton11->trigger();
        QCOMPARE(w->View().Window(), zoomed);

        // Each spin edit keeps the view.
        for (TCSpinEdit* edit : {w->CSpinEdit1, w->CSpinEdit2, w->CSpinEdit3, w->CSpinEdit4}) {
            w->ToolButton4->trigger();
            QCOMPARE(w->View().KeepView(), 0);
            edit->stepUp();
            QCOMPARE(w->View().KeepView(), 1);
            // A double click puts the default back and keeps the view too.
            w->ToolButton4->trigger();
            Q_EMIT edit->DoubleClicked();
            QCOMPARE(edit->value(), edit == w->CSpinEdit1 ? 10 : 100);
            QCOMPARE(w->View().KeepView(), 1);
        }
        QCOMPARE(w->Options().textScale, 1.0);
        w->CSpinEdit3->setValue(250);
        QCOMPARE(w->Options().functionScale, 2.5);
        // A double click into the field itself.
        QTest::mouseDClick(w->CSpinEdit3->findChild<QLineEdit*>(), Qt::LeftButton);
        QCOMPARE(w->CSpinEdit3->value(), 100);
        QCOMPARE(w->Options().functionScale, 1.0);
        // Typed beyond the range, the field keeps to it.
        w->CSpinEdit2->setValue(250000);
        QCOMPARE(w->CSpinEdit2->value(), 100000);
        QCOMPARE(w->Options().textScale, 1000.0);

        // UM_REFRESH 0 refits, 1 keeps.
        Drag(*w, QPoint(200, 150), QPoint(230, 150));
        const SceneBox moved = w->View().Window();
        SendWindowMessage(w, UM_REFRESH, kRefreshKeepView);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(w->View().Window(), moved);
        SendWindowMessage(w, UM_REFRESH, kRefreshRefit);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(w->View().Window(), w->List().BoundingBox());
    }

    // The sub-window losing the focus sets keep-view to 0.
    void losingTheFocusRefitsAtTheNextRebuild() {
        GraphFixture f;
        f.OpenBridge();
        f.form->show();
        TGraphForm* first = f.Open();
        QCOMPARE(first->View().KeepView(), 1);
        f.form->mdiArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(first->parentWidget()));
        TGraphForm* second = f.Open();
        f.form->mdiArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(second->parentWidget()));
        QCOMPARE(first->View().KeepView(), 0);
    }

    // Refreshes posted before the window rebuilds are merged into one.
    void postedRefreshesAreMerged() {
        GraphFixture f;
        f.OpenBridge();
        TGraphForm* w = f.Open();
        const int before = w->RebuildCount();
        for (int i = 0; i < 500; ++i)
            PostWindowMessage(w, UM_REFRESH, kRefreshKeepView);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents();
        QCOMPARE(w->RebuildCount(), before + 1);
        QCOMPARE(w->View().KeepView(), 1);
        // One refit among them refits.
        for (int i = 0; i < 10; ++i)
            PostWindowMessage(w, UM_REFRESH, i == 5 ? kRefreshRefit : kRefreshKeepView);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents();
        QCOMPARE(w->RebuildCount(), before + 2);
        QCOMPARE(w->View().Window(), w->List().BoundingBox());
        // Through the main window: 500 changes of the tables, one rebuild.
        const int now = w->RebuildCount();
        for (int i = 0; i < 500; ++i)
            f.form->SystemChanged();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents();
        QCOMPARE(w->RebuildCount(), now + 1);
    }

    // One count for all windows: the other windows use it at their next
    // rebuild.
    void evaluationPointsAreShared() {
        GraphFixture f;
        f.OpenBridge();
        TGraphForm* a = f.Open(kTabBiegemoment);
        TGraphForm* b = f.Open(kTabBiegemoment);
        a->CSpinEdit1->setValue(25);
        QCOMPARE(TGraphForm::EvaluationPoints(), 25);
        QCOMPARE(a->Options().evaluationPoints, 25);
        QCOMPARE(b->Options().evaluationPoints, 10);
        const int records = b->List().RecordCount();
        SendWindowMessage(b, UM_REFRESH, kRefreshKeepView);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(b->Options().evaluationPoints, 25);
        QCOMPARE(b->CSpinEdit1->value(), 25);
        // More points, more of the diagram drawn.
        QVERIFY(b->List().RecordCount() > records);
        // A new window uses the count as well.
        TGraphForm* c = f.Open();
        QCOMPARE(c->CSpinEdit1->value(), 25);
        TGraphForm::SetEvaluationPoints(kDefaultEvaluationPoints);
    }

    // Without nodes the view window is inverted: copying leaves the
    // clipboard as it is and says nothing.
    void copyingAnEmptySceneDoesNothing() {
        GraphFixture f;
        TGraphForm* w = f.Open();
        QGuiApplication::clipboard()->setText(QStringLiteral("vorher"));
        w->ToolButton2->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("vorher"));
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void copiedPictureHoldsSvgAndBitmap() {
        GraphFixture f;
        f.OpenBridge();
        TGraphForm* w = f.Open(kTabBiegemoment);
        w->ToolButton2->trigger();
        QVERIFY(f.dialogs.messages.isEmpty());
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        QVERIFY(data);
        QVERIFY(data->hasFormat(QStringLiteral("image/svg+xml")));
        const QByteArray svg = data->data(QStringLiteral("image/svg+xml"));
        QVERIFY(svg.contains("<svg"));
        QVERIFY(svg.contains("</svg>"));
        QVERIFY(data->hasImage());
        const QImage image = qvariant_cast<QImage>(data->imageData());
        QCOMPARE(image.size(), w->PaintBox1->size());
        // White background, a picture on it.
        QCOMPARE(image.pixelColor(0, 0), QColor(Qt::white));
        QCOMPARE(image.pixelColor(image.width() - 1, image.height() - 1), QColor(Qt::white));
        QVERIFY(AnyNonWhite(image));
    }

    // The canvas draws exactly the pixels it is given: no antialiasing, pen
    // width 0 one pixel wide, colours from 0x00BBGGRR, and a new canvas
    // fills with white.
    void canvasOntoQPainter() {
        QImage image(20, 20, QImage::Format_RGB32);
        image.fill(QColor(128, 128, 128));
        QPen painterPen;
        {
            QPainter painter(&image);
            const auto keepPen = qScopeGuard([&] { painterPen = painter.pen(); });
            SetNewCanvasState(painter);
            QtCanvas canvas(painter);
            const DevicePoint square[] = {{2, 2}, {8, 2}, {8, 8}, {2, 8}};
            canvas.Polygon(square); // white brush, black pen of width 0
            canvas.SetPenColour(0x0000FF);
            canvas.MoveTo({0, 15});
            canvas.LineTo({19, 15});
            canvas.SetPenColour(0xFF0000);
            canvas.SetPenWidth(3);
            canvas.MoveTo({12, 0});
            canvas.LineTo({12, 10});
            // A line from a pixel to itself draws nothing.
            canvas.MoveTo({5, 18});
            canvas.LineTo({5, 18});
            canvas.SetPenColour(0x00FF00);
        }
        // The painter keeps the canvas's last pen for the next replay.
        QCOMPARE(painterPen.color(), QColor(0, 255, 0));
        QCOMPARE(painterPen.width(), 3);
        QCOMPARE(image.pixelColor(5, 18), QColor(128, 128, 128));
        QCOMPARE(image.pixelColor(5, 5), QColor(Qt::white));
        QCOMPARE(image.pixelColor(2, 5), QColor(Qt::black));
        QCOMPARE(image.pixelColor(5, 15), QColor(255, 0, 0));
        QCOMPARE(image.pixelColor(5, 14), QColor(128, 128, 128));
        QCOMPARE(image.pixelColor(5, 16), QColor(128, 128, 128));
        // Width 3: the column and one on either side, blue.
        for (int x : {11, 12, 13})
            QCOMPARE(image.pixelColor(x, 5), QColor(0, 0, 255));
        QCOMPARE(image.pixelColor(10, 5), QColor(128, 128, 128));
        QCOMPARE(image.pixelColor(14, 5), QColor(128, 128, 128));
        // Only the colours drawn: no blended edge pixels.
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) {
                const QColor c = image.pixelColor(x, y);
                QVERIFY2(c == QColor(128, 128, 128) || c == QColor(Qt::white) ||
                             c == QColor(Qt::black) || c == QColor(255, 0, 0) ||
                             c == QColor(0, 0, 255),
                         qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            }
    }

    void rotationDrawsTheBareStructureAndRestoresTheFlags() {
        GraphFixture f;
        f.OpenBridge();
        f.form->show();
        TGraphForm* w = f.Open();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        w->ToolButton6->trigger();
        QVERIFY(w->ToolButton6->isChecked());
        QVERIFY(!w->ToolButton5->isChecked());
        QCOMPARE(w->PaintBox1->cursor().shape(), Qt::SizeAllCursor);
        const ViewMatrix before = w->View().Matrix();
        QWidget* box = w->PaintBox1;
        QTest::mousePress(box, Qt::LeftButton, {}, QPoint(200, 200));
        QMouseEvent move(QEvent::MouseMove, QPointF(240, 200), box->mapToGlobal(QPointF(240, 200)),
                         Qt::LeftButton, Qt::LeftButton, {});
        QApplication::sendEvent(box, &move);
        QCOMPARE(int(w->Flags()), int(ShowStructure));
        // The buttons keep the user's choice while the bare structure shows.
        QVERIFY(w->ToolButton15->isChecked());
        QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(240, 200));
        QCOMPARE(int(w->Flags()), 0x28C8);
        QVERIFY(w->View().Matrix().m[0][0] != before.m[0][0] ||
                w->View().Matrix().m[1][0] != before.m[1][0]);
        // Released, "Verschieben" is down again.
        w->ToolButton6->trigger();
        QVERIFY(w->ToolButton5->isChecked());
    }

    // The right button through the window system: a press zooms out and opens
    // no context menu; with "Rotieren" a right drag spins and its release
    // brings back the full scene.
    void rightButtonGoesToTheDrawing() {
        GraphFixture f;
        f.OpenBridge();
        TGraphForm* w = f.Open();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        PopupWatch popups;
        // The centre about which the spin turns.
        const QPoint centre(w->PaintBox1->width() / 2, w->PaintBox1->height() / 2);
        const double width = w->View().Window().Width();
        WindowMouse(*w, QEvent::MouseButtonPress, Qt::RightButton, centre);
        WindowMouse(*w, QEvent::MouseButtonRelease, Qt::RightButton, centre);
        QCoreApplication::processEvents();
        QCOMPARE(popups.opened, 0);
        QCOMPARE(f.form->mdiArea->subWindowList().size(), 1);
        QVERIFY(std::fabs(w->View().Window().Width() - 1.2 * width) < 1e-9 * width);

        w->ToolButton6->trigger();
        const ViewMatrix before = w->View().Matrix();
        WindowMouse(*w, QEvent::MouseButtonPress, Qt::RightButton, centre + QPoint(100, 0));
        QCOMPARE(w->Navigation().Mode(), MouseMode::Spinning);
        WindowMouse(*w, QEvent::MouseMove, Qt::RightButton, centre + QPoint(0, 100));
        QCOMPARE(int(w->Flags()), int(ShowStructure));
        WindowMouse(*w, QEvent::MouseButtonRelease, Qt::RightButton, centre + QPoint(0, 100));
        QCoreApplication::processEvents();
        QCOMPARE(popups.opened, 0);
        QCOMPARE(w->Navigation().Mode(), MouseMode::RotateArmed);
        QCOMPARE(int(w->Flags()), 0x28C8);
        // A spin whose release went astray ends at the next move without a
        // button.
        QTest::mousePress(w->PaintBox1, Qt::RightButton, {}, centre);
        QCOMPARE(w->Navigation().Mode(), MouseMode::Spinning);
        const QPointF hover(centre + QPoint(0, 100));
        QMouseEvent move(QEvent::MouseMove, hover, w->PaintBox1->mapToGlobal(hover), Qt::NoButton,
                         Qt::NoButton, {});
        QApplication::sendEvent(w->PaintBox1, &move);
        QCOMPARE(w->Navigation().Mode(), MouseMode::RotateArmed);
        QCOMPARE(int(w->Flags()), 0x28C8);
        // A quarter turn about the screen normal: x and y of the view swap.
        QVERIFY(std::fabs(std::fabs(w->View().Matrix().m[0][0]) - std::fabs(before.m[1][0])) <
                1e-5);
    }

    // The free client area keeps its menu of views.
    void freeClientAreaKeepsItsMenu() {
        GraphFixture f;
        f.OpenBridge();
        TGraphForm* w = f.Open();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        w->parentWidget()->move(0, 0);
        PopupWatch popups;
        QWidget* area = f.form->mdiArea->viewport();
        const QPoint free(area->width() - 5, area->height() - 5);
        QTest::mouseClick(f.form->windowHandle(), Qt::RightButton, {},
                          area->mapTo(f.form.get(), free));
        QCoreApplication::processEvents();
        QCOMPARE(popups.opened, 1);
    }

    // Every control is within the window at its initial size, and "Ansicht
    // zurücksetzen" undoes a rotation and fits the whole scene.
    void controlsReachableAndViewResets() {
        GraphFixture f;
        f.OpenBridge();
        TGraphForm* w = f.Open();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QCOMPARE(w->size(), QSize(736, 425));
        for (QWidget* control : std::initializer_list<QWidget*>{
                 w->CSpinEdit1, w->CSpinEdit2, w->CSpinEdit3, w->CSpinEdit4,
                 w->ToolBar3->widgetForAction(w->LegendButton)}) {
            QVERIFY(control->isVisible());
            const QRect inWindow(control->mapTo(w, QPoint(0, 0)), control->size());
            QVERIFY2(w->rect().contains(inWindow), qPrintable(control->toolTip()));
        }
        // The two layout toggles are down in a new window and switch the
        // scene's layout.
        QCOMPARE(int(w->Options().layout), int(kNewWindowLayout));
        const struct {
            QAction* button;
            const char* hint;
            LayoutFlags flag;
        } toggles[] = {{w->UntangleButton, "Beschriftung entzerren", kUntangleLabels},
                       {w->LegendButton, "Legende", kShowLegend}};
        for (const auto& t : toggles) {
            QCOMPARE(t.button->toolTip(), QString::fromUtf8(t.hint));
            QVERIFY(t.button->isCheckable() && t.button->isChecked());
            t.button->trigger();
            QCOMPARE(int(w->Options().layout), int(kNewWindowLayout & ~t.flag));
            t.button->trigger();
            QCOMPARE(int(w->Options().layout), int(kNewWindowLayout));
        }
        QCOMPARE(w->ResetViewButton->toolTip(), QStringLiteral("Ansicht zurücksetzen"));
        QVERIFY(!w->ResetViewButton->icon().isNull());
        w->ToolButton6->trigger();
        Drag(*w, QPoint(200, 200), QPoint(260, 230));
        w->ToolButton3->trigger();
        w->ResetViewButton->trigger();
        ViewMatrix initial;
        InitialView(initial);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                QCOMPARE(w->View().Matrix().m[r][c], initial.m[r][c]);
        QVERIFY(!w->ToolButton3->isChecked());
        QCOMPARE(w->View().Window(), w->List().BoundingBox());
    }

    // Hovering over a beam names it, ξ and the tab's value in the main
    // window's status bar; off the beams the text goes.
    void hoverShowsTheValuesAtTheCursor() {
        GraphFixture f;
        f.OpenBridge();
        TGraphForm* w = f.Open(kTabBiegemoment);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        const std::optional<ViewMapping> mapping =
            FitMapping(w->View().Window(), w->PaintBoxRect(), 1.0);
        QVERIFY(mapping);
        BeamClass& beams = f.input.beams;
        const BeamRec& beam = *beams.Existing(1);
        const DevicePoint on =
            SceneToDevice(*mapping, w->View().Project(At(beams.PointAt(beam, 0.25))));
        // Under a window manager the real pointer sends its own moves, late:
        // park it off the beams and move again until the text settles.
        QCursor::setPos(w->PaintBox1->mapToGlobal(QPoint(2, 2)));
        const auto shownAt = [&](QPoint point) {
            QTest::mouseMove(w->PaintBox1, point);
            return f.form->statusBar()->currentMessage();
        };
        QTRY_VERIFY2(shownAt(QPoint(on.x, on.y)).startsWith(QStringLiteral("Stab ")) &&
                         shownAt(QPoint(on.x, on.y)).contains(QStringLiteral("M = ")),
                     qPrintable(f.form->statusBar()->currentMessage()));
        QTRY_VERIFY(shownAt(QPoint(2, 2)).isEmpty());
    }

    // Seeded random presses, drags, double clicks, wheel turns, right-button
    // drags through the window system and toolbar clicks: no crash, no context
    // menu, and the view window stays finite and not inverted.
    void randomMouseAndToolbarSequence() {
        GraphFixture f;
        f.OpenBridge();
        f.form->show();
        TGraphForm* w = f.Open();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        const quint32 seed = RandomTestSeed();
        QRandomGenerator random(seed);
        QWidget* box = w->PaintBox1;
        const auto point = [&] {
            return QPoint(random.bounded(-20, box->width() + 20),
                          random.bounded(-20, box->height() + 20));
        };
        QAction* const buttons[] = {w->ToolButton3,     w->ToolButton4,    w->ToolButton5,
                                    w->ToolButton6,     w->ToolButton8,    w->ToolButton9,
                                    w->ToolButton13,    w->ToolButton15,   w->ToolButton17,
                                    w->ResetViewButton, w->UntangleButton, w->LegendButton};
        PopupWatch popups;
        const Qt::MouseButton mouseButtons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
        for (int step = 0; step < 1500; ++step) {
            const Qt::MouseButton button = mouseButtons[random.bounded(3)];
            switch (random.bounded(7)) {
            case 0:
                QTest::mousePress(box, button, {}, point());
                break;
            case 1: {
                const QPoint p = point();
                QMouseEvent move(QEvent::MouseMove, QPointF(p), box->mapToGlobal(QPointF(p)),
                                 button, button, {});
                QApplication::sendEvent(box, &move);
                break;
            }
            case 2:
                QTest::mouseRelease(box, button, {}, point());
                break;
            case 3:
                QTest::mouseDClick(box, button, {}, point());
                break;
            case 4: {
                const QPoint p = point();
                QWheelEvent wheel(QPointF(p), box->mapToGlobal(QPointF(p)), QPoint(),
                                  QPoint(0, random.bounded(2) ? 120 : -120), Qt::NoButton, {},
                                  Qt::NoScrollPhase, false);
                QApplication::sendEvent(box, &wheel);
                break;
            }
            case 5: {
                // A right press, drag and release as the window system
                // delivers them, in whatever mode the window is.
                // Press and release land on the drawing (beside it lies the
                // free client area, whose menu is right); the drag may leave
                // it. The buttons the direct events above left held are
                // released first, as a real mouse has them.
                const auto inside = [&] {
                    return QPoint(random.bounded(box->width()), random.bounded(box->height()));
                };
                for (const Qt::MouseButton held : mouseButtons)
                    WindowMouse(*w, QEvent::MouseButtonRelease, held, inside());
                const QPoint press = inside();
                WindowMouse(*w, QEvent::MouseButtonPress, Qt::RightButton, press);
                for (int k = random.bounded(4); k > 0; --k)
                    WindowMouse(*w, QEvent::MouseMove, Qt::RightButton, point());
                WindowMouse(*w, QEvent::MouseButtonRelease, Qt::RightButton, inside());
                QVERIFY2(popups.opened == 0 && w->Navigation().Mode() != MouseMode::Spinning,
                         qPrintable(QStringLiteral("seed %1, step %2, menus %3, mode %4")
                                        .arg(seed)
                                        .arg(step)
                                        .arg(popups.opened)
                                        .arg(int(w->Navigation().Mode()))));
                break;
            }
            default:
                if (random.bounded(4) == 0)
                    ClickTab(*w, random.bounded(kSceneTabCount));
                else
                    buttons[random.bounded(int(std::size(buttons)))]->trigger();
                break;
            }
            const SceneBox& view = w->View().Window();
            QVERIFY2(Finite(view) && view.Width() >= 0 && view.Height() >= 0 &&
                         view.Width() + view.Height() > 0,
                     qPrintable(QStringLiteral("%1, step %2").arg(SeedNote(seed)).arg(step)));
        }
        QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(10, 10));
        box->repaint();
    }
};

BALKOR_REGISTER_TEST(GraphFormTest);
#include "GraphFormTest.moc"
