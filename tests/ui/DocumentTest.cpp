// The main window as the document's shell: the file dialogs, questions and
// messages of the document commands, the change marks and file names in the
// tool strip and the captions, and the commands that store a pending edit
// before they read the tables. The document's rules themselves are tested
// without windows in tests/document/DocumentTest.cpp.
#include "InputWindowFixture.h"
#include "model/InputFiles.h"
#include "settings/SettingsVariables.h"
#include "support/QtTestRegistry.h"
#include "ui/BalkorApplication.h"

#include <QFile>
#include <QLabel>
#include <QTest>
#include <functional>
#include <map>

namespace {

bool FileHoldsSystem(const QString& path, int nodes) {
    InputModel copy;
    return LoadSystemFile(copy, path.toStdString()) && copy.nodes.ValidCount() == nodes;
}

// Types a value into the first row of a table, as the grid does.
template <class Table> void EditFirstRow(Table& table, int col, double value) {
    table.RowRecord(0)->flag = kFlagUser;
    table.InvalidateIndex();
    table.SetCellValue(0, col, &value);
}

void EditNode(InputModel& input) {
    EditFirstRow(input.nodes, 1, 3.5);
}

void EditNodeLoad(InputModel& input) {
    EditFirstRow(input.nodeLoads, 3, 7.0);
}

} // namespace

class DocumentTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startsEmptyWithoutMarks() {
        MainFormFixture f;
        QCOMPARE(f.form->windowTitle(), QStringLiteral("Balkor"));
        QCOMPARE(f.form->StaticTextSystem->text(), QStringLiteral("System: "));
        QCOMPARE(f.form->StaticTextLoad->text(), QStringLiteral("Lastfall: "));
        QVERIFY(f.form->Image2->isHidden());
        QVERIFY(f.form->Image1->isHidden());
        QVERIFY(f.form->StaticTextSystem->font().bold());
    }

    void openSystemReadsTablesAndShowsName() {
        MainFormFixture f;
        const QString path = WriteTextFile(f.TempPath("a.bsy"), kTwoSpanSystem);
        f.dialogs.openNames = {path};
        f.form->Systemffnen1->trigger();
        QCOMPARE(f.dialogs.fileDialogs.size(), 1);
        QCOMPARE(f.dialogs.fileDialogs[0].title, QStringLiteral("System öffnen"));
        QCOMPARE(f.dialogs.fileDialogs[0].filter, QStringLiteral("Balkor Systemdatei (*.bsy)"));
        QCOMPARE(f.dialogs.fileDialogs[0].defaultSuffix, QStringLiteral("bsy"));
        QCOMPARE(f.input.nodes.ValidCount(), 3);
        QCOMPARE(f.input.beams.ValidCount(), 2);
        QCOMPARE(f.form->SystemFile(), path);
        QCOMPARE(f.form->StaticTextSystem->text(), QStringLiteral("System: a.bsy"));
        QVERIFY(!f.form->document.System().Modified());
        QVERIFY(f.form->Image2->isHidden());
        QVERIFY(f.dialogs.questions.isEmpty());
    }

    // A long file name is shortened in the middle with "…" to the width of
    // its text; the caption and the extension stay, the tooltip is the path.
    void longFileNamesAreElidedWithThePathAsTooltip() {
        MainFormFixture f;
        f.form->resize(500, 300);
        f.form->show();
        const QString name = QStringLiteral("Brücke_über_die_Saale_bei_Naumburg_Variante_mit_"
                                            "Querträgern_überarbeitet.bsy");
        const QString path = f.TempPath(name);
        f.form->SetSystemFile(path);
        f.form->SetLoadFile(f.TempPath(QStringLiteral("l.bld")));
        QCoreApplication::processEvents();
        TFileNameLabel* label = f.form->StaticTextSystem;
        QCOMPARE(label->text(), QStringLiteral("System: ") + name);
        QCOMPARE(label->toolTip(), path);
        QCOMPARE(f.form->StaticTextLoad->ShownText(), QStringLiteral("Lastfall: l.bld"));
        const QString shown = label->ShownText();
        QVERIFY2(shown.size() < label->text().size(), qPrintable(shown));
        QVERIFY(shown.startsWith(QStringLiteral("System: Brücke")));
        QVERIFY(shown.contains(QChar(0x2026)));
        QVERIFY(shown.endsWith(QStringLiteral(".bsy")));
        QVERIFY(label->fontMetrics().horizontalAdvance(shown) <= label->contentsRect().width());

        f.form->SetSystemFile(QString());
        QCOMPARE(label->ShownText(), QStringLiteral("System: "));
        QVERIFY(label->toolTip().isEmpty());
    }

    void elisionKeepsTheCaption() {
        const QFontMetrics metrics{QFont()};
        const QString caption = QStringLiteral("Lastfall: ");
        const QString name = QStringLiteral("Verkehr_LM1_Tandemsystem.bld");
        QCOMPARE(ElideFileCaption(caption, name, metrics, 10000), caption + name);
        const int width = metrics.horizontalAdvance(caption + QStringLiteral("Verkehr.bld"));
        const QString shown = ElideFileCaption(caption, name, metrics, width);
        QVERIFY(shown.startsWith(caption));
        QVERIFY(metrics.horizontalAdvance(shown) <= width);
        QCOMPARE(ElideFileCaption(caption, name, metrics, 0).left(caption.size()), caption);
    }

    void openLoadCaseReadsTablesAndShowsName() {
        MainFormFixture f;
        const QString path = WriteTextFile(f.TempPath("l.bld"), kTwoSpanLoads);
        f.dialogs.openNames = {path};
        f.form->Belastungffnen1->trigger();
        QCOMPARE(f.dialogs.fileDialogs[0].title, QStringLiteral("Lastfall öffnen"));
        QCOMPARE(f.dialogs.fileDialogs[0].filter, QStringLiteral("Balkor Belastung (*.bld)"));
        QCOMPARE(f.dialogs.fileDialogs[0].defaultSuffix, QStringLiteral("bld"));
        QCOMPARE(f.input.beamLoads.ValidCount(), 1);
        QCOMPARE(f.form->StaticTextLoad->text(), QStringLiteral("Lastfall: l.bld"));
        QVERIFY(!f.form->document.LoadCase().Modified());
    }

    void cancelledOpenDialogChangesNothing() {
        MainFormFixture f;
        f.dialogs.openNames = {QString()};
        f.form->OpenSystem();
        QVERIFY(f.form->SystemFile().isEmpty());
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void unreadableFileKeepsNameWithEmptyTables() {
        MainFormFixture f;
        const QString missing = f.TempPath("fehlt.bsy");
        f.dialogs.openNames = {missing};
        f.form->OpenSystem();
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("Fehler beim öffnen der Systemdatei"));
        QCOMPARE(f.dialogs.messages[0].caption, QStringLiteral("Fehler"));
        QCOMPARE(f.form->SystemFile(), missing);
        QCOMPARE(f.input.nodes.ValidCount(), 0);

        f.dialogs.openNames = {f.TempPath("fehlt.bld")};
        f.form->OpenLoadCase();
        QCOMPARE(f.dialogs.messages.last().text,
                 QStringLiteral("Fehler beim öffnen der Lastdatei"));
    }

    void editsShowTheChangeMarks() {
        MainFormFixture f;
        f.form->show();
        EditNode(f.input);
        QVERIFY(f.form->document.System().Modified());
        QVERIFY(f.form->Image2->isVisible());
        QVERIFY(f.form->Image1->isHidden());
        EditNodeLoad(f.input);
        QVERIFY(f.form->document.LoadCase().Modified());
        QVERIFY(f.form->Image1->isVisible());
    }

    void newAsksAndEmptiesEverything() {
        MainFormFixture f;
        f.form->OpenSystemFile(WriteTextFile(f.TempPath("a.bsy"), kTwoSpanSystem));
        f.form->OpenLoadCaseFile(WriteTextFile(f.TempPath("a.bld"), kTwoSpanLoads));
        EditNode(f.input);
        EditNodeLoad(f.input);
        f.dialogs.answers = {Answer::No, Answer::No};
        f.form->FileNewItem->trigger();
        QCOMPARE(f.dialogs.questions,
                 QStringList({"System geändert | Geometrie erst speichern ?",
                              "Lasfall geändert | Lasteingaben erst speichern ?"}));
        QCOMPARE(f.input.nodes.ValidCount(), 0);
        QCOMPARE(f.input.beamLoads.ValidCount(), 0);
        QCOMPARE(f.form->StaticTextSystem->text(), QStringLiteral("System: "));
        QCOMPARE(f.form->StaticTextLoad->text(), QStringLiteral("Lastfall: "));
        QVERIFY(f.form->Image2->isHidden() && f.form->Image1->isHidden());
    }

    void saveOfUnnamedHalvesAsksForNames() {
        MainFormFixture f;
        EditNode(f.input);
        EditNodeLoad(f.input);
        f.dialogs.saveNames = {QString(), f.TempPath("neu.bld")};
        f.form->Speichern1->trigger();
        QCOMPARE(f.dialogs.fileDialogs.size(), 2);
        QCOMPARE(f.dialogs.fileDialogs[0].title, QStringLiteral("System speichern"));
        QCOMPARE(f.dialogs.fileDialogs[0].filter, QStringLiteral("Balkor Systemdatei (*.bsy)"));
        QCOMPARE(f.dialogs.fileDialogs[1].title, QStringLiteral("Lastfall speichern"));
        QCOMPARE(f.dialogs.fileDialogs[1].defaultSuffix, QStringLiteral("bld"));
        QVERIFY(f.form->document.System().Modified());
        QVERIFY(!f.form->document.LoadCase().Modified());
        QVERIFY(QFile::exists(f.TempPath("neu.bld")));
        QCOMPARE(f.form->StaticTextLoad->text(), QStringLiteral("Lastfall: neu.bld"));
    }

    void saveAsWritesUnderTheNewName() {
        MainFormFixture f;
        f.form->OpenSystemFile(WriteTextFile(f.TempPath("a.bsy"), kTwoSpanSystem));
        EditNode(f.input);
        const QString copy = f.TempPath("kopie.bsy");
        f.dialogs.saveNames = {copy};
        f.form->System2->trigger();
        QCOMPARE(f.form->SystemFile(), copy);
        QCOMPARE(f.form->StaticTextSystem->text(), QStringLiteral("System: kopie.bsy"));
        QVERIFY(!f.form->document.System().Modified());
        QVERIFY(FileHoldsSystem(copy, 3));

        f.dialogs.saveNames = {QString()};
        QVERIFY(!f.form->SaveLoadCaseAs());
        f.dialogs.saveNames = {f.TempPath("l.bld")};
        f.form->Belstung1->trigger();
        QCOMPARE(f.form->LoadFile(), f.TempPath("l.bld"));
    }

    // Closing asks both questions before anything is emptied; a cancel of
    // either keeps the program and all input.
    void closingCancelledKeepsEverything() {
        MainFormFixture f;
        EditNode(f.input);
        EditNodeLoad(f.input);
        f.dialogs.answers = {Answer::No, Answer::Cancel};
        QVERIFY(!f.form->close());
        QCOMPARE(f.input.nodes.ValidCount(), 1);
        QCOMPARE(f.input.nodeLoads.ValidCount(), 1);
        QVERIFY(f.form->document.System().Modified() && f.form->document.LoadCase().Modified());

        f.dialogs.answers = {Answer::Cancel};
        QVERIFY(!f.form->close());
        QCOMPARE(f.dialogs.questions.size(), 3);

        f.dialogs.answers = {Answer::No, Answer::No};
        QVERIFY(f.form->close());
    }

    void closingWithoutChangesAsksNothing() {
        MainFormFixture f;
        QVERIFY(f.form->close());
        QVERIFY(f.dialogs.questions.isEmpty());
    }

    // A file opened as a system that holds none of its sections: the batch
    // command's warning as a box, and F2 asks (Yes / No) before it replaces
    // the file; No keeps it.
    void fileWithoutSectionsWarnsAndIsNotOverwrittenSilently() {
        MainFormFixture f;
        const QString notes = WriteTextFile(f.TempPath("notes.txt"), "Einkaufsliste\n");
        f.form->OpenSystemFile(notes);
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0].text,
                 QString::fromStdString(MissingSectionsWarning(
                     "Die Systemdatei", f.input.systemTables, notes.toStdString())));
        QCOMPARE(f.dialogs.messages[0].caption, QStringLiteral("Warnung"));
        QCOMPARE(f.dialogs.messages[0].icon, MessageIcon::Warning);
        f.dialogs.answers = {Answer::No};
        f.dialogs.saveNames = {QString()};
        f.form->Speichern1->trigger();
        QCOMPARE(f.dialogs.questions.size(), 1);
        QVERIFY(f.dialogs.questions[0].startsWith(QStringLiteral("System speichern | Die Datei ") +
                                                  notes));
        QFile file(notes);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("Einkaufsliste\n"));
    }

    // Every command that reads the tables first stores the edit of the cell
    // the user typed into: what it reads is what the grid shows.
    void commandsStoreThePendingEdit_data() {
        QTest::addColumn<QString>("command");
        for (const char* command : {"Prüfen", "Berechnen", "Eingabeprotokoll", "Ergebnisse",
                                    "Grafik", "Grafik drucken", "Speichern"})
            QTest::newRow(command) << QString::fromUtf8(command);
    }
    void commandsStoreThePendingEdit() {
        QFETCH(QString, command);
        InputWindowFixture f;
        QVERIFY(f.shown);
        TSystemInputForm& geometry = f.Geometry();
        InputWindowFixture::Type(InputWindowFixture::ShowPage(geometry, 0), QStringLiteral("7"));
        // The x of node 1 as the command found it.
        double seen = 0;
        const auto look = [&] { seen = f.input.nodes.RowRecord(0)->x; };
        f.dialogs.onMessage = look;
        f.form->SetGraphicsWindowFactory([&](QWidget*, int) -> QWidget* {
            look();
            return nullptr;
        });
        f.form->SetGraphicsPrint(look);
        f.dialogs.saveNames = {f.TempPath("a.bsy")};
        const std::string editor = EditorProgram;
        EditorProgram = "true";
        const std::map<QString, std::function<void()>> commands = {
            {"Prüfen", [&] { QTest::mouseClick(geometry.SpeedButton4, Qt::LeftButton); }},
            {"Berechnen", [&] { f.form->Berechnen1->trigger(), look(); }},
            {"Eingabeprotokoll", [&] { f.form->Eingabeprotocoll1->trigger(), look(); }},
            {"Ergebnisse", [&] { f.form->Ergebnisse1->trigger(); }},
            {"Grafik", [&] { f.form->Grafik1->trigger(); }},
            {"Grafik drucken", [&] { f.form->Grafikdrucken1->trigger(); }},
            {"Speichern",
             [&] {
                 f.form->System2->trigger();
                 InputModel saved;
                 LoadSystemFile(saved, f.TempPath("a.bsy").toStdString());
                 seen = saved.nodes.RowRecord(0)->x;
             }},
        };
        commands.at(command)();
        EditorProgram = editor;
        QCOMPARE(seen, 7.0);
    }

    void inputWindowCaptionsNameTheFiles() {
        MainFormFixture f;
        f.form->System1->trigger();
        QVERIFY(f.form->GeometryWindow());
        // A new window shows its plain caption until the file name changes.
        QCOMPARE(f.form->GeometryWindow()->windowTitle(), QStringLiteral("Geometrie"));
        const QString path = WriteTextFile(f.TempPath("a.bsy"), kTwoSpanSystem);
        f.form->OpenSystemFile(path);
        QCOMPARE(f.form->GeometryWindow()->windowTitle(), QStringLiteral(" Geometrie:  ") + path);
        f.form->SetLoadFile(QStringLiteral("/work/l.bld"));
        f.form->Belastung1->trigger();
        QCOMPARE(f.form->LoadWindow()->windowTitle(), QStringLiteral("Belastung"));
        f.form->SetLoadFile(QStringLiteral("/work/m.bld"));
        QCOMPARE(f.form->LoadWindow()->windowTitle(), QStringLiteral(" Belastung:  /work/m.bld"));
        // The same window is shown again, not a second one.
        QWidget* geometry = f.form->GeometryWindow();
        f.form->System1Click();
        QCOMPARE(f.form->GeometryWindow(), geometry);
    }

    void fileNamePartIsAfterTheLastSeparator() {
        QCOMPARE(FileNamePart(QStringLiteral("/work/a.bsy")), QStringLiteral("a.bsy"));
        QCOMPARE(FileNamePart(QStringLiteral("a.bsy")), QStringLiteral("a.bsy"));
        QCOMPARE(FileNamePart(QString()), QString());
    }

    void fileArgumentsAreToldApartByExtension() {
        const FileArguments files = ClassifyFileArguments(
            {QStringLiteral("/x/a.bsy"), QStringLiteral("/x/l.BLD"), QStringLiteral("/x/b.bsy")});
        QCOMPARE(files.systemFile, QStringLiteral("/x/a.bsy"));
        QCOMPARE(files.loadFile, QStringLiteral("/x/l.BLD"));
        QCOMPARE(files.ignored, QStringList({"/x/b.bsy"}));
        QVERIFY(ClassifyFileArguments({QStringLiteral("l.bld")}).loadFile.endsWith("/l.bld"));
        QVERIFY(ClassifyFileArguments({}).systemFile.isEmpty());
    }
};

BALKOR_REGISTER_TEST(DocumentTest);
#include "DocumentTest.moc"
