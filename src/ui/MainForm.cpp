#include "ui/MainForm.h"

#include "model/Tables.h"
#include "ui/AboutBox.h"
#include "ui/DruckerForm.h"
#include "ui/FileNameLabel.h"
#include "ui/HelpWindow.h"
#include "ui/InputForms.h"
#include "ui/LoadCasesForm.h"
#include "ui/Pictures.h"
#include "ui/SolForm.h"
#include "ui/UiDialogs.h"
#include "ui/WindowArrangement.h"
#include "ui/WindowMessages.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

const char* const kGraphicsViewNames[kGraphicsViewCount] = {"Geometrie", "Biegelinie", "Querkraft",
                                                            "Biegemoment", "Torsionsmoment"};

QString FileNamePart(const QString& path) {
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

namespace {

QAction* AddItem(QMenu* menu, const char* caption, const char* hint = nullptr) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    if (hint)
        action->setStatusTip(QString::fromUtf8(hint));
    return action;
}

QMenu* AddMenu(QMenuBar* bar, const char* caption, const char* hint = nullptr) {
    QMenu* menu = bar->addMenu(QString::fromUtf8(caption));
    if (hint)
        menu->menuAction()->setStatusTip(QString::fromUtf8(hint));
    return menu;
}

} // namespace

TMainForm::TMainForm(InputModel& input, SolutionsCont& solutions, UiDialogs& dialogs,
                     const QString& configPath, QWidget* parent)
    : QMainWindow(parent), configFile(configPath), document(input, solutions, *this), input_(input),
      solutions_(solutions), dialogs_(dialogs) {
    setWindowTitle(QStringLiteral("Balkor"));
    mdiArea = new QMdiArea(this);
    mdiArea->setBackground(palette().brush(QPalette::Dark));
    mdiArea->setContextMenuPolicy(Qt::CustomContextMenu);
    setCentralWidget(mdiArea);
    PopupMenu1 = new QMenu(this);
    connect(mdiArea, &QMdiArea::customContextMenuRequested, this, [this](const QPoint& pos) {
        // The menu belongs to the free client area: a right click inside a
        // child window is that window's own (the graphics window zooms out).
        if (mdiArea->viewport()->childAt(pos))
            return;
        FillPopupMenu();
        PopupMenu1->exec(mdiArea->mapToGlobal(pos));
    });

    CreateMenus();
    CreateToolStrip();
    // Menu hints appear in the status bar's one simple panel.
    statusBar()->setSizeGripEnabled(true);

    AboutBox = new TAboutBox(this);
    DruckerForm = new TDruckerForm(dialogs_, this);
    SolForm = new TSolForm(this);
    HelpForm = new THelpForm(nullptr);

    projectTables_ = std::make_unique<ProjectTables>(document);
    trafficTables_ = std::make_unique<TrafficTables>(document);
    ReadConfiguration();
    SetUpClientArea();
    RestoreWindowState();
    for (DocumentHalf* half : document.Halves()) {
        ShowFile(*half);
        ShowMark(*half);
    }
    ShowProject();
}

TMainForm::~TMainForm() {
    FormClose();
    delete HelpForm;
}

void TMainForm::CreateMenus() {
    QMenuBar* bar = menuBar();
    QMenu* file = AddMenu(bar, "&Datei", "Dateibefehle");
    FileNewItem = AddItem(file, "&Neu", "Neue Datei erzeugen");
    Systemffnen1 = AddItem(file, "System öffnen");
    Systemffnen1->setShortcut(Qt::Key_F3);
    Belastungffnen1 = AddItem(file, "Belastung öffnen");
    Belastungffnen1->setShortcut(Qt::Key_F4);
    Speichern1 = AddItem(file, "&Speichern...");
    Speichern1->setShortcut(Qt::Key_F2);
    QMenu* saveAs = file->addMenu(QStringLiteral("Speichern unter"));
    System2 = AddItem(saveAs, "System");
    Belstung1 = AddItem(saveAs, "Belastung");
    file->addSeparator();
    ProjektOeffnen1 =
        AddItem(file, "Projekt öffnen…", "System, Lastfälle, Kombinationen und Umhüllende");
    ProjektSpeichern1 = AddItem(file, "Projekt speichern", "Das Projekt und jede geänderte Datei");
    ProjektSpeichernUnter1 = AddItem(file, "Projekt speichern unter…");
    file->addSeparator();
    DxfImportieren1 =
        AddItem(file, "DXF importieren…", "System aus den Linien einer DXF-Zeichnung");
    ErgebnisseExportieren1 = AddItem(file, "Ergebnisse exportieren…",
                                     "Ergebnistabellen als CSV oder Excel-Arbeitsmappe");
    file->addSeparator();
    Grafikdrucken1 = AddItem(file, "Grafik &drucken");
    GrafikDxf1 = AddItem(file, "Grafik als DXF exportieren…",
                         "Das Bild des aktiven Grafikfensters als DXF-Zeichnung");
    file->addSeparator();
    FileOpenItem = AddItem(file, "&Beenden");

    QMenu* input = AddMenu(bar, "&Eingabe");
    System1 = AddItem(input, "System");
    System1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    Belastung1 = AddItem(input, "Belastung");
    Belastung1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    Lastfaelle1 = AddItem(input, "Lastfälle", "Die Lastfälle des Projekts");
    Kombinationen1 = AddItem(input, "Kombinationen", "Kombinationen und Umhüllende der Lastfälle");
    Verkehr1 = AddItem(input, "Verkehr", "Fahrzeug, Fahrspuren und Schrittweite des Verkehrs");
    Trgerrosterzeugen1 =
        AddItem(input, "Trägerrost erzeugen…", "System aus Feldern, Breite und Trägern");

    // The menu title itself is the command.
    Berechnen1 = bar->addAction(QStringLiteral("&Berechnen"));

    QMenu* show = AddMenu(bar, "&Zeigen");
    Grafik1 = AddItem(show, "Grafik");
    Eingabeprotocoll1 = AddItem(show, "Eingabeprotokoll");
    Ergebnisse1 = AddItem(show, "Ergebnisse");

    QMenu* settings = AddMenu(bar, "Ein&stellung");
    DruckerundAusgabeeditor1 = AddItem(settings, "Editor und Seitenränder");
    Konfiguration1 = AddItem(settings, "Konfiguration");

    WindowMenu = AddMenu(bar, "&Fenster", "Befehle zum Anordnen von Fenstern");
    WindowCascadeItem = AddItem(WindowMenu, "Ü&berlappend", "Fenster überlappend anordnen");
    WindowTileItem = AddItem(WindowMenu, "&Nebeneinander", "Fenster nicht überlappend anordnen");
    WindowArrangeItem = AddItem(WindowMenu, "&Symbole anordnen",
                                "Fenstersymbole am unteren Rand des Hauptfensters anordnen");
    WindowMinimizeItem = AddItem(WindowMenu, "&Alle verkleinern", "Alle Fenster verkleinern");
    connect(WindowMenu, &QMenu::aboutToShow, this, &TMainForm::FillWindowMenu);

    QMenu* help = AddMenu(bar, "&Hilfe", "Hilfethemen");
    Inhalt1 = AddItem(help, "Inhalt");
    Suche1 = AddItem(help, "Suche");
    HelpAboutItem = AddItem(help, "Inf&o");

    const std::pair<QAction*, void (TMainForm::*)()> handlers[] = {
        {FileNewItem, &TMainForm::FileNewItemClick},
        {Systemffnen1, &TMainForm::Systemffnen1Click},
        {Belastungffnen1, &TMainForm::Belastungffnen1Click},
        {Speichern1, &TMainForm::Speichern1Click},
        {System2, &TMainForm::System2Click},
        {Belstung1, &TMainForm::Belstung1Click},
        {ProjektOeffnen1, &TMainForm::ProjektOeffnen1Click},
        {ProjektSpeichern1, &TMainForm::ProjektSpeichern1Click},
        {ProjektSpeichernUnter1, &TMainForm::ProjektSpeichernUnter1Click},
        {Lastfaelle1, &TMainForm::Lastfaelle1Click},
        {Kombinationen1, &TMainForm::Kombinationen1Click},
        {Verkehr1, &TMainForm::Verkehr1Click},
        {Grafikdrucken1, &TMainForm::Grafikdrucken1Click},
        {DxfImportieren1, &TMainForm::DxfImportieren1Click},
        {ErgebnisseExportieren1, &TMainForm::ErgebnisseExportieren1Click},
        {GrafikDxf1, &TMainForm::GrafikDxf1Click},
        {FileOpenItem, &TMainForm::FileOpenItemClick},
        {System1, &TMainForm::System1Click},
        {Belastung1, &TMainForm::Belastung1Click},
        {Trgerrosterzeugen1, &TMainForm::Trgerrosterzeugen1Click},
        {Berechnen1, &TMainForm::Berechnen1Click},
        {Grafik1, &TMainForm::Grafik1Click},
        {Eingabeprotocoll1, &TMainForm::Eingabeprotocoll1Click},
        {Ergebnisse1, &TMainForm::Ergebnisse1Click},
        {DruckerundAusgabeeditor1, &TMainForm::DruckerundAusgabeeditor1Click},
        {Konfiguration1, &TMainForm::Konfiguration1Click},
        {WindowCascadeItem, &TMainForm::WindowCascadeItemClick},
        {WindowTileItem, &TMainForm::WindowTileItemClick},
        {WindowArrangeItem, &TMainForm::WindowArrangeItemClick},
        {WindowMinimizeItem, &TMainForm::WindowMinimizeItemClick},
        {Inhalt1, &TMainForm::Inhalt1Click},
        {Suche1, &TMainForm::Suche1Click},
        {HelpAboutItem, &TMainForm::HelpAboutItemClick},
    };
    for (const auto& [action, handler] : handlers)
        connect(action, &QAction::triggered, this, handler);

    // Commands of windows that are not part of the program yet.
    for (QAction* action : {Grafik1, Grafikdrucken1, Konfiguration1})
        action->setEnabled(false);
}

void TMainForm::CreateToolStrip() {
    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setFixedHeight(25);
    ToolBar1->toggleViewAction()->setVisible(false);
    QFont bold = font();
    bold.setBold(true);

    // One strip widget holds the marks and texts, so a mark can be hidden
    // while keeping its place.
    auto* strip = new QWidget(ToolBar1);
    auto* layout = new QHBoxLayout(strip);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Image2 = new QLabel(strip);
    Image2->setFixedWidth(33);
    StaticTextSystem = new TFileNameLabel(QStringLiteral("System: "), strip);
    Image1 = new QLabel(strip);
    Image1->setFixedWidth(27);
    StaticTextLoad = new TFileNameLabel(QStringLiteral("Lastfall: "), strip);
    Image3 = new QLabel(strip);
    Image3->setFixedWidth(27);
    StaticTextProject = new TFileNameLabel(QStringLiteral("Projekt: "), strip);
    for (QLabel* mark : {Image2, Image1, Image3}) {
        mark->setAlignment(Qt::AlignCenter);
        mark->setPixmap(ModifiedMarkPicture(20, 20));
        QSizePolicy policy = mark->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        mark->setSizePolicy(policy);
    }
    for (TFileNameLabel* text : {StaticTextSystem, StaticTextLoad, StaticTextProject}) {
        text->setFont(bold);
        text->setMinimumWidth(160);
    }
    layout->addWidget(Image2);
    layout->addWidget(StaticTextSystem);
    layout->addWidget(Image1);
    layout->addWidget(StaticTextLoad);
    layout->addWidget(Image3);
    layout->addWidget(StaticTextProject);
    layout->addStretch();
    ToolBar1->addWidget(strip);
}

void TMainForm::SetGraphicsWindowFactory(GraphicsWindowFactory factory) {
    graphicsFactory_ = std::move(factory);
    Grafik1->setEnabled(bool(graphicsFactory_));
}

void TMainForm::SetSettingsDialog(std::function<void()> show) {
    settingsDialog_ = std::move(show);
    Konfiguration1->setEnabled(bool(settingsDialog_));
}

QWidget* TMainForm::AddChildWindow(QWidget* window) {
    window->setAttribute(Qt::WA_DeleteOnClose);
    const QSize client = window->size();
    QMdiSubWindow* sub = mdiArea->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // The frame shows the window's own icon; without it the frame would take
    // the program's.
    sub->setWindowIcon(window->windowIcon());
    window->show();
    // The client area keeps the window's size; the frame comes around it.
    sub->resize(sub->size() + client - window->size());
    sub->setProperty(kInitialSizeProperty, sub->size());
    KeepInsideClientArea(sub);
    return window;
}

TSystemInputForm* TMainForm::GeometryWindow() const {
    return static_cast<TSystemInputForm*>(geometryWindow_.data());
}

TLoadInputForm* TMainForm::LoadWindow() const {
    return static_cast<TLoadInputForm*>(loadWindow_.data());
}

TInputForm* TMainForm::ShowInputWindow(bool loadWindow) {
    QPointer<TInputForm>& window = loadWindow ? loadWindow_ : geometryWindow_;
    if (!window) {
        // A new window shows its plain caption until the file name changes.
        if (loadWindow)
            window = new TLoadInputForm(input_, *this, dialogs_);
        else
            window = new TSystemInputForm(input_, *this, dialogs_);
        const QSize client = window->size();
        AddChildWindow(window);
        auto* sub = static_cast<QMdiSubWindow*>(window->parentWidget());
        // The client area keeps the window's size; the frame comes around it.
        sub->resize(sub->size() + client - window->size());
        if (loadWindow) {
            sub->move(kLoadFormPosition);
            KeepInsideClientArea(sub);
            if (document.IsProject()) {
                window->SetCaption(LoadFile(), LoadCaseCaption());
                loadCaptionLabelled_ = true;
            }
        }
    }
    window->BringToFront();
    return window;
}

void TMainForm::System1Click() {
    ShowInputWindow(false);
}

void TMainForm::Belastung1Click() {
    ShowInputWindow(true);
}

void TMainForm::Lastfaelle1Click() {
    ShowLoadCasesWindow();
}

TLoadCasesForm* TMainForm::ShowLoadCasesWindow() {
    if (!loadCasesWindow_) {
        loadCasesWindow_ = new TLoadCasesForm(document, dialogs_);
        AddChildWindow(loadCasesWindow_);
    }
    loadCasesWindow_->BringToFront();
    return loadCasesWindow_;
}

void TMainForm::Kombinationen1Click() {
    ShowCombinationsWindow();
}

TCombinationsForm* TMainForm::ShowCombinationsWindow() {
    if (!combinationsWindow_) {
        combinationsWindow_ = new TCombinationsForm(*projectTables_, document, dialogs_);
        AddChildWindow(combinationsWindow_);
    }
    combinationsWindow_->BringToFront();
    return combinationsWindow_;
}

void TMainForm::Verkehr1Click() {
    ShowTrafficWindow();
}

TTrafficForm* TMainForm::ShowTrafficWindow() {
    if (!trafficWindow_) {
        trafficWindow_ = new TTrafficForm(*trafficTables_, dialogs_);
        AddChildWindow(trafficWindow_);
    }
    trafficWindow_->BringToFront();
    return trafficWindow_;
}

void TMainForm::OpenGraphicsWindow(int tab) {
    if (!graphicsFactory_)
        return;
    document.CommitPendingEdits();
    QWidget* window = graphicsFactory_(this, tab);
    if (!window) // the factory reported why
        return;
    const QSize client = window->size();
    AddChildWindow(window);
    // The client area keeps the window's size; the frame comes around it.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget()))
        sub->resize(sub->size() + client - window->size());
}

void TMainForm::FillPopupMenu() {
    PopupMenu1->clear();
    for (int i = 0; i < kGraphicsViewCount; ++i) {
        QAction* item = PopupMenu1->addAction(QString::fromUtf8(kGraphicsViewNames[i]));
        item->setEnabled(bool(graphicsFactory_));
        connect(item, &QAction::triggered, this, [this, i] { OpenGraphicsWindow(i); });
    }
}

void TMainForm::PostToChildren(int message, std::intptr_t wParam, std::intptr_t lParam) {
    for (QMdiSubWindow* sub : mdiArea->subWindowList())
        if (sub->widget())
            PostWindowMessage(sub->widget(), message, wParam, lParam);
}

void TMainForm::SendToChildren(int message, std::intptr_t wParam, std::intptr_t lParam) {
    for (QMdiSubWindow* sub : mdiArea->subWindowList())
        if (sub->widget())
            SendWindowMessage(sub->widget(), message, wParam, lParam);
}

void TMainForm::RefreshChildWindows(std::intptr_t wParam) {
    refreshRefit_ = refreshRefit_ || wParam == kRefreshRefit;
    if (refreshPending_)
        return;
    refreshPending_ = true;
    QMetaObject::invokeMethod(this, &TMainForm::DeliverRefresh, Qt::QueuedConnection);
}

void TMainForm::DeliverRefresh() {
    if (!refreshPending_) // delivered before printing
        return;
    const std::intptr_t wParam = refreshRefit_ ? kRefreshRefit : kRefreshKeepView;
    refreshPending_ = false;
    refreshRefit_ = false;
    // Already deferred to the event loop, so the windows get it at once.
    SendToChildren(UM_REFRESH, wParam);
}

void TMainForm::FillWindowMenu() {
    // The fixed commands stay; the list of child windows follows them.
    const QList<QAction*> actions = WindowMenu->actions();
    for (QAction* action : actions)
        if (action != WindowCascadeItem && action != WindowTileItem &&
            action != WindowArrangeItem && action != WindowMinimizeItem) {
            WindowMenu->removeAction(action);
            action->deleteLater();
        }
    const QList<QMdiSubWindow*> windows = mdiArea->subWindowList();
    if (windows.isEmpty())
        return;
    WindowMenu->addSeparator();
    int number = 1;
    for (QMdiSubWindow* sub : windows) {
        QAction* item = WindowMenu->addAction(QStringLiteral("&%1 %2").arg(number++).arg(
            sub->widget() ? sub->widget()->windowTitle() : sub->windowTitle()));
        item->setCheckable(true);
        item->setChecked(sub == mdiArea->activeSubWindow());
        connect(item, &QAction::triggered, this, [this, sub = QPointer<QMdiSubWindow>(sub)] {
            if (sub) {
                if (sub->isMinimized())
                    sub->showNormal();
                mdiArea->setActiveSubWindow(sub);
            }
        });
    }
}

void TMainForm::Inhalt1Click() {
    HelpForm->ShowContents();
}

void TMainForm::Suche1Click() {
    HelpForm->ShowKeywordSearch(QString());
}

void TMainForm::HelpAboutItemClick() {
    dialogs_.Exec(AboutBox);
}

void TMainForm::DruckerundAusgabeeditor1Click() {
    EditEditorAndMargins(*DruckerForm, dialogs_);
}

void TMainForm::SetGraphicsPrint(std::function<void()> print) {
    graphicsPrint_ = std::move(print);
    Grafikdrucken1->setEnabled(bool(graphicsPrint_));
}

void TMainForm::Grafikdrucken1Click() {
    SendToChildren(UM_PRINTINCLUDE);
    PrintWithCommittedEdits();
}

void TMainForm::PrintGraphicsWindow(QWidget* window) {
    SendToChildren(UM_PRINTEXCLUDE);
    SendWindowMessage(window, UM_PRINTINCLUDE);
    PrintWithCommittedEdits();
}

void TMainForm::PrintWithCommittedEdits() {
    document.CommitPendingEdits();
    // The graphics windows rebuild from what was just stored before they
    // print: the merged refresh now, and the rebuilds it asks of them.
    DeliverRefresh();
    for (QMdiSubWindow* sub : mdiArea->subWindowList())
        if (sub->widget())
            QCoreApplication::sendPostedEvents(sub->widget(), QEvent::MetaCall);
    if (graphicsPrint_)
        graphicsPrint_();
}

void TMainForm::Konfiguration1Click() {
    if (settingsDialog_)
        settingsDialog_();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (!CloseQuery()) {
        event->ignore();
        return;
    }
    SaveWindowState();
    FormClose();
    event->accept();
}
