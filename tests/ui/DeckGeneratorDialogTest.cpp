// "Eingabe › Trägerrost erzeugen…": the dialog, its checks and what
// "Übernehmen" does to the document.
#include "ui/DeckGeneratorDialog.h"

#include "MainFormFixture.h"
#include "support/QtTestRegistry.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>

namespace {

// The deck of the counting test: spans 20 and 25, width 8, 5 girders,
// cross beams every 5: 5 x 10 nodes, 5 x 9 + 10 x 4 beams.
void EnterCountingDeck(TDeckGeneratorDialog& dialog) {
    dialog.SpansEdit->setText(QStringLiteral("20; 25"));
    dialog.WidthEdit->setText(QStringLiteral("8"));
    dialog.GirdersSpin->setValue(5);
    dialog.CrossValueEdit->setText(QStringLiteral("5"));
}

// Runs the menu item; the dialog gets the deck and "Übernehmen".
bool ApplyThroughMenu(MainFormFixture& f) {
    bool accepted = false;
    f.dialogs.exec = [&accepted](QDialog* d) {
        auto* dialog = static_cast<TDeckGeneratorDialog*>(d);
        EnterCountingDeck(*dialog);
        dialog->ApplyButton->click();
        accepted = dialog->result() == QDialog::Accepted;
        return accepted;
    };
    f.form->Trgerrosterzeugen1->trigger();
    return accepted;
}

} // namespace

class DeckGeneratorDialogTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void applyFillsTheTablesAndShowsThem() {
        MainFormFixture f;
        QCOMPARE(f.form->Trgerrosterzeugen1->text(), QStringLiteral("Trägerrost erzeugen…"));
        QVERIFY(ApplyThroughMenu(f));
        QCOMPARE(f.input.nodes.ValidCount(), 50);
        QCOMPARE(f.input.beams.ValidCount(), 85);
        QCOMPARE(f.input.mats.ValidCount(), 4);
        QVERIFY(f.form->document.System().Modified());
        QVERIFY(f.form->SystemFile().isEmpty());
        QVERIFY(f.form->findChild<TSystemInputForm*>());
        QVERIFY(f.dialogs.unexpected.isEmpty());
    }

    void modifiedSystemIsOfferedForSavingFirst() {
        MainFormFixture f;
        QVERIFY(ApplyThroughMenu(f));
        f.dialogs.answers = {Answer::Cancel};
        QVERIFY(!ApplyThroughMenu(f));
        QCOMPARE(f.dialogs.questions.last(),
                 QStringLiteral("System geändert | Geometrie erst speichern ?"));
        QCOMPARE(f.input.nodes.ValidCount(), 50);
        f.dialogs.answers = {Answer::No};
        QVERIFY(ApplyThroughMenu(f));
    }

    void faultyFieldNamesItsKeyAndBlocksApply() {
        TDeckGeneratorDialog dialog(DefaultDeck(), [](const DeckDescription&) { return true; });
        QVERIFY(dialog.ApplyButton->isEnabled());
        QVERIFY(dialog.Preview->List().RecordCount() > 0);
        const std::pair<QLineEdit*, QString> faults[] = {
            {dialog.SpansEdit, QStringLiteral("20; -1")},
            {dialog.WidthEdit, QStringLiteral("breit")},
            {dialog.CrossValueEdit, QStringLiteral("0")},
        };
        const QString keys[] = {QStringLiteral("\"spans\": Die Länge von Feld 2"),
                                QStringLiteral("\"width\": \"breit\" ist keine Zahl"),
                                QStringLiteral("\"crossBeams.spacing\": Der Abstand")};
        for (int i = 0; i < 3; ++i) {
            const QString old = faults[i].first->text();
            faults[i].first->setText(faults[i].second);
            QTRY_VERIFY(dialog.MessageLabel->text().startsWith(keys[i]));
            QVERIFY(!dialog.ApplyButton->isEnabled());
            faults[i].first->setText(old);
            QTRY_VERIFY(dialog.ApplyButton->isEnabled());
        }
    }

    // A skew deck with the orthogonal mesh on screen: the preview draws it.
    // With BALKOR_UI_SCREENSHOTS set to a folder the screen is saved there.
    void previewDrawsTheDeck() {
        TDeckGeneratorDialog dialog(DefaultDeck(), [](const DeckDescription&) { return true; });
        dialog.SkewSpin->setValue(30);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::qWait(400);
        const QImage picture = dialog.Preview->grab().toImage();
        int drawn = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                drawn += picture.pixel(x, y) != qRgb(255, 255, 255);
        QVERIFY(drawn > 500);
        const QString folder = qEnvironmentVariable("BALKOR_UI_SCREENSHOTS");
        if (!folder.isEmpty())
            QVERIFY(QGuiApplication::primaryScreen()->grabWindow(0).save(
                folder + QStringLiteral("/traegerrost.png")));
    }
};

BALKOR_REGISTER_TEST(DeckGeneratorDialogTest);
#include "DeckGeneratorDialogTest.moc"
