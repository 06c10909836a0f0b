#pragma once

#include "document/Document.h"
#include "document/ProjectTables.h"
#include "document/TrafficTable.h"
#include "ui/CombinationsForm.h"
#include "ui/FileNameLabel.h"
#include "ui/LoadCasesForm.h"
#include "ui/TrafficForm.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

struct ExportResult;
struct InputModel;
class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QProcess;
class QToolBar;
class SolutionsCont;
class TAboutBox;
class TDruckerForm;
class THelpForm;
class TInputForm;
class TLoadInputForm;
class TSolForm;
class TSystemInputForm;
class UiDialogs;
struct CalcResult;

// Creates a graphics window showing view tab (0 … 4), or its first tab for -1;
// null when it could not be made (the factory has reported why).
using GraphicsWindowFactory = std::function<QWidget*(QWidget* mainWindow, int tab)>;

// The graphics views the client area's context menu offers.
inline constexpr int kGraphicsViewCount = 5;
extern const char* const kGraphicsViewNames[kGraphicsViewCount];

// The main window: the frame of the child windows and the menu with every
// command. It is the shell of the document (the current system and load
// case, their files and change marks): it maps the commands onto the
// document and shows its questions, file names and marks.
class TMainForm : public QMainWindow, public DocumentShell {
    Q_OBJECT
public:
    // configPath: the settings file, read here and written when the window
    // closes; empty for none.
    TMainForm(InputModel& input, SolutionsCont& solutions, UiDialogs& dialogs,
              const QString& configPath, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Document operations (Document.h). The "bool" ones return true when
    // done or saved, false when cancelled or failed.
    bool NewSystem() { return document.System().New(); }
    void OpenSystem() { document.System().Open(); }
    // Opens path without a dialog (after asking to save the current system).
    void OpenSystemFile(const QString& path) { document.System().OpenFile(path.toStdString()); }
    bool SaveSystem() { return document.System().Save(); }
    bool SaveSystemAs() { return document.System().SaveAs(); }
    void SetSystemFile(const QString& path) { document.System().SetFile(path.toStdString()); }
    bool NewLoadCase() { return document.LoadCase().New(); }
    void OpenLoadCase() { document.LoadCase().Open(); }
    void OpenLoadCaseFile(const QString& path) { document.LoadCase().OpenFile(path.toStdString()); }
    bool SaveLoadCase() { return document.LoadCase().Save(); }
    bool SaveLoadCaseAs() { return document.LoadCase().SaveAs(); }
    void SetLoadFile(const QString& path) { document.LoadCase().SetFile(path.toStdString()); }
    // A project file, or a system with load-case files in their order (the
    // command line's files).
    void OpenProjectFile(const QString& path) { document.OpenProjectFile(path.toStdString()); }
    void OpenFiles(const QString& systemFile, const QStringList& loadCaseFiles);
    bool SaveProject() { return document.SaveProject(); }
    bool SaveProjectAs() { return document.SaveProjectAs(); }
    void SystemChanged() { document.SystemChanged(); }
    void LoadCaseChanged() { document.LoadCaseChanged(); }
    void DiscardResults() { document.DiscardResults(); }
    // The full paths of the files, empty for a half not yet saved.
    QString SystemFile() const;
    QString LoadFile() const;

    // The document's shell: its questions and messages through the dialogs,
    // its file names and marks in the tool strip and the input windows.
    Answer Ask(const DocumentQuestion& question) override;
    void Tell(const DocumentMessage& message) override;
    std::string ChooseFileToOpen(const DocumentHalf& half) override;
    std::string ChooseFileToSave(const DocumentHalf& half) override;
    void ShowFile(const DocumentHalf& half) override;
    void FileUsed(const DocumentHalf& half) override;
    void ShowMark(const DocumentHalf& half) override;
    void ResultsDiscarded() override;
    void ShowProject() override;
    std::string ChooseProjectFile(bool save) override;
    // The load window's caption: its file, and among several load cases the
    // number and name of the current one.
    QString LoadCaseCaption() const;

    // Protocol editors. The editor gets the file as its only argument; the
    // bundled viewer also the protocol's kind ("--kind Ergebnisse"), which
    // its window title shows.
    void StartEditor(QPointer<QProcess>& handle, const QString& fileName,
                     const QString& kind = QString());
    void CloseInputEditor();
    void CloseResultsEditor();
    void CloseEditors();

    // The window messages to every child window of the client area.
    void PostToChildren(int message, std::intptr_t wParam = 0, std::intptr_t lParam = 0);
    void SendToChildren(int message, std::intptr_t wParam = 0, std::intptr_t lParam = 0);
    // Asks every child window to rebuild its drawing: UM_REFRESH with wParam
    // kRefreshRefit (also refit the view) or kRefreshKeepView. The message
    // arrives once control is back in the event loop; the requests made until
    // then are merged into one message per window, a refit when any of them
    // asked for one.
    void RefreshChildWindows(std::intptr_t wParam);

    // Plugs in the windows of later parts and enables their commands.
    void SetGraphicsWindowFactory(GraphicsWindowFactory factory);
    void SetSettingsDialog(std::function<void()> show);
    // The graphic print of the graphics windows that take part
    // (PrintGraphics); "Grafik drucken" lets every graphics window take part.
    void SetGraphicsPrint(std::function<void()> print);
    // The print button of a graphics window: only that window takes part.
    void PrintGraphicsWindow(QWidget* window);

    // Shows the geometry window (loadWindow false) or the load window in
    // front of the other child windows, creating it on first use.
    TInputForm* ShowInputWindow(bool loadWindow);

    // The size of the first run: room for both input windows side by side
    // and for the load window at its place (the screen may allow less).
    QSize FirstRunSize() const;

    // The closing question and clean-up; false keeps the program running.
    bool CloseQuery() { return document.CloseQuery(); }

    // The command handlers of the menu.
    void FileNewItemClick() { document.New(); }
    void Systemffnen1Click() { OpenSystem(); }
    void Belastungffnen1Click() { OpenLoadCase(); }
    void Speichern1Click() { document.Save(); }
    void System2Click() { SaveSystemAs(); }
    void Belstung1Click() { SaveLoadCaseAs(); }
    void ProjektOeffnen1Click() { document.OpenProject(); }
    void ProjektSpeichern1Click() { SaveProject(); }
    void ProjektSpeichernUnter1Click() { SaveProjectAs(); }
    void Lastfaelle1Click();
    void Kombinationen1Click();
    void Verkehr1Click();
    void FileOpenItemClick() { close(); }
    void System1Click();
    void Belastung1Click();
    void Trgerrosterzeugen1Click();
    void ErgebnisseExportieren1Click();
    ExportResult ExportResults(const std::string& target, bool workbook);
    void DxfImportieren1Click();
    void GrafikDxf1Click();
    void Berechnen1Click();
    void Grafik1Click() { OpenGraphicsWindow(-1); }
    void Grafikdrucken1Click();
    void Eingabeprotocoll1Click();
    void Ergebnisse1Click();
    void DruckerundAusgabeeditor1Click();
    void Konfiguration1Click();
    void WindowCascadeItemClick();
    void WindowTileItemClick();
    void WindowArrangeItemClick();
    void WindowMinimizeItemClick();
    void Inhalt1Click();
    void Suche1Click();
    void HelpAboutItemClick();
    // Refills the client area's context menu with the graphics views.
    void FillPopupMenu();

    QString configFile;
    Document document;

    // Protocol editors.
    QPointer<QProcess> inputEditor;
    QPointer<QProcess> resultsEditor;
    int printCellCount = 0;

    // Windows and controls.
    QMdiArea* mdiArea = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QLabel* Image2 = nullptr; // system change mark
    TFileNameLabel* StaticTextSystem = nullptr;
    QLabel* Image1 = nullptr; // load-case change mark
    TFileNameLabel* StaticTextLoad = nullptr;
    QLabel* Image3 = nullptr; // project change mark
    TFileNameLabel* StaticTextProject = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QMenu* WindowMenu = nullptr;
    TAboutBox* AboutBox = nullptr;
    TDruckerForm* DruckerForm = nullptr;
    TSolForm* SolForm = nullptr;
    THelpForm* HelpForm = nullptr;
    TSystemInputForm* GeometryWindow() const;
    TLoadInputForm* LoadWindow() const;
    // The window "Lastfälle", created on first use.
    TLoadCasesForm* ShowLoadCasesWindow();
    TLoadCasesForm* LoadCasesWindow() const { return loadCasesWindow_; }
    // The window "Kombinationen" and the tables it edits.
    TCombinationsForm* ShowCombinationsWindow();
    TCombinationsForm* CombinationsWindow() const { return combinationsWindow_; }
    ProjectTables& Tables() { return *projectTables_; }
    // The window "Verkehr" and the tables it edits.
    TTrafficForm* ShowTrafficWindow();
    TTrafficForm* TrafficWindow() const { return trafficWindow_; }
    TrafficTables& Traffic() { return *trafficTables_; }

    // Menu items, for the commands' enabled state and for tests.
    QAction* FileNewItem = nullptr;
    QAction* Systemffnen1 = nullptr;
    QAction* Belastungffnen1 = nullptr;
    QAction* Speichern1 = nullptr;
    QAction* System2 = nullptr;
    QAction* Belstung1 = nullptr;
    QAction* ProjektOeffnen1 = nullptr;
    QAction* ProjektSpeichern1 = nullptr;
    QAction* ProjektSpeichernUnter1 = nullptr;
    QAction* Lastfaelle1 = nullptr;
    QAction* Kombinationen1 = nullptr;
    QAction* Verkehr1 = nullptr;
    QAction* Grafikdrucken1 = nullptr;
    QAction* ErgebnisseExportieren1 = nullptr;
    QAction* DxfImportieren1 = nullptr;
    QAction* GrafikDxf1 = nullptr;
    QAction* FileOpenItem = nullptr;
    QAction* System1 = nullptr;
    QAction* Belastung1 = nullptr;
    QAction* Trgerrosterzeugen1 = nullptr;
    QAction* Berechnen1 = nullptr;
    QAction* Grafik1 = nullptr;
    QAction* Eingabeprotocoll1 = nullptr;
    QAction* Ergebnisse1 = nullptr;
    QAction* DruckerundAusgabeeditor1 = nullptr;
    QAction* Konfiguration1 = nullptr;
    QAction* WindowCascadeItem = nullptr;
    QAction* WindowTileItem = nullptr;
    QAction* WindowArrangeItem = nullptr;
    QAction* WindowMinimizeItem = nullptr;
    QAction* Inhalt1 = nullptr;
    QAction* Suche1 = nullptr;
    QAction* HelpAboutItem = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateMenus();
    void CreateToolStrip();
    void FillWindowMenu();
    QWidget* AddChildWindow(QWidget* window);
    // The client area scrolls to child windows beyond its edges; a new child
    // window is moved inside it where it fits.
    void SetUpClientArea();
    void KeepInsideClientArea(QMdiSubWindow* sub) const;
    QList<QMdiSubWindow*> ArrangedWindows() const;
    // The main window's place and size and the file dialogs' folder of the
    // last run (beside the settings file); a first run gets a size that
    // shows both input windows where the screen allows it.
    void RestoreWindowState();
    void SaveWindowState() const;
    void OpenGraphicsWindow(int tab);
    void ShowCalculationError(const CalcResult& result);
    void WriteProjectInputProtocol(std::FILE* file);
    void FormClose();
    void ReadConfiguration();
    void DeliverRefresh();
    // Prints the graphics windows that take part, after storing a pending
    // edit of the tables.
    void PrintWithCommittedEdits();

    InputModel& input_;
    SolutionsCont& solutions_;
    UiDialogs& dialogs_;
    QPointer<TInputForm> geometryWindow_;
    QPointer<TInputForm> loadWindow_;
    QPointer<TLoadCasesForm> loadCasesWindow_;
    QPointer<TCombinationsForm> combinationsWindow_;
    std::unique_ptr<ProjectTables> projectTables_;
    QPointer<TTrafficForm> trafficWindow_;
    std::unique_ptr<TrafficTables> trafficTables_;
    // The load case whose tables the load window's undo steps refer to.
    const DocumentHalf* shownLoadCase_ = nullptr;
    bool loadCaptionLabelled_ = false;
    GraphicsWindowFactory graphicsFactory_;
    std::function<void()> settingsDialog_;
    std::function<void()> graphicsPrint_;
    bool closed_ = false;
    bool refreshPending_ = false;
    bool refreshRefit_ = false;
};

// The file name part of a path: everything after the last separator.
QString FileNamePart(const QString& path);

// The protocol viewer that comes with the program, next to it.
QString BundledViewerPath();
// The arguments of the protocol editor program: the file name alone, and
// before it "--kind KIND --" for the bundled viewer.
QStringList EditorArguments(const QString& program, const QString& fileName, const QString& kind);
