#include "ui/HelpWindow.h"

#include "ui/Help.h"
#include "ui/QtProgram.h"

#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextStream>
#include <QVBoxLayout>

namespace {

struct TopicPage {
    int topic;
    const char* url;
};

// Topic numbers of the windows, pages and grids, and where they are explained.
const TopicPage kTopicPages[] = {
    {10065, "qrc:/help/eingabe_system.html"},
    {10070, "qrc:/help/eingabe_system.html#knoten"},
    {10075, "qrc:/help/eingabe_system.html#staebe"},
    {10080, "qrc:/help/eingabe_system.html#querschnitte"},
    {10082, "qrc:/help/eingabe_system.html#federn"},
    {10085, "qrc:/help/eingabe_system.html#seiten"},
    {10090, "qrc:/help/eingabe_belastung.html#knotenlasten"},
    {10095, "qrc:/help/eingabe_belastung.html#streckenlasten"},
    {10100, "qrc:/help/eingabe_belastung.html#einzellasten"},
    {10105, "qrc:/help/eingabe_belastung.html#temperatur"},
    {10115, "qrc:/help/eingabe_belastung.html#gelenklasten"},
    {10120, "qrc:/help/grafik.html"},
    {10130, "qrc:/help/einstellungen.html#editor"},
    {10135, "qrc:/help/einstellungen.html#konfiguration"},
    {10140, "qrc:/help/traegerrost.html"},
    {10145, "qrc:/help/austausch.html#dxf-import"},
    {10150, "qrc:/help/projekt.html#lastfaelle"},
    {10160, "qrc:/help/verkehr.html#fenster"},
};

const char* const kKeywordFile = ":/help/keywords.txt";
const int kUrlRole = Qt::UserRole;

} // namespace

QString HelpTopicUrl(int topic) {
    for (const TopicPage& page : kTopicPages)
        if (page.topic == topic)
            return QString::fromLatin1(page.url);
    return QString::fromLatin1(kHelpContentsUrl);
}

THelpForm::THelpForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Balkor – Hilfe"));
    resize(820, 560);

    Tabs = new QTabWidget(this);
    auto* contents = new QListWidget(Tabs);
    auto* contentsItem = new QListWidgetItem(QStringLiteral("Inhalt"), contents);
    contentsItem->setData(kUrlRole, QString::fromLatin1(kHelpContentsUrl));
    connect(contents, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { ShowUrl(item->data(kUrlRole).toString()); });
    connect(contents, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ShowUrl(item->data(kUrlRole).toString()); });
    Tabs->addTab(contents, QStringLiteral("Inhalt"));

    auto* index = new QWidget(Tabs);
    KeywordEdit = new QLineEdit(index);
    KeywordEdit->setPlaceholderText(QStringLiteral("Stichwort"));
    KeywordList = new QListWidget(index);
    auto* indexLayout = new QVBoxLayout(index);
    indexLayout->addWidget(KeywordEdit);
    indexLayout->addWidget(KeywordList);
    Tabs->addTab(index, QStringLiteral("Index"));
    connect(KeywordEdit, &QLineEdit::textChanged, this, &THelpForm::FilterKeywords);
    connect(KeywordEdit, &QLineEdit::returnPressed, this, &THelpForm::OpenSelectedKeyword);
    connect(KeywordList, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { ShowUrl(item->data(kUrlRole).toString()); });
    connect(KeywordList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ShowUrl(item->data(kUrlRole).toString()); });

    Browser = new QTextBrowser(this);
    Browser->setOpenLinks(true);
    Browser->setOpenExternalLinks(false);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(Tabs);
    splitter->addWidget(Browser);
    splitter->setStretchFactor(1, 3);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(splitter);

    LoadKeywords();
    // The contents list names every page the contents page links to.
    const struct {
        const char* title;
        const char* url;
    } pages[] = {{"Hauptfenster und Dateien", "qrc:/help/hauptfenster.html"},
                 {"Eingabe: System", "qrc:/help/eingabe_system.html"},
                 {"Eingabe: Belastung", "qrc:/help/eingabe_belastung.html"},
                 {"Berechnung", "qrc:/help/berechnung.html"},
                 {"Protokolle", "qrc:/help/protokolle.html"},
                 {"Grafik", "qrc:/help/grafik.html"},
                 {"Einstellungen", "qrc:/help/einstellungen.html"}};
    for (const auto& page : pages) {
        auto* item = new QListWidgetItem(QString::fromUtf8(page.title), contents);
        item->setData(kUrlRole, QString::fromLatin1(page.url));
    }
}

void THelpForm::LoadKeywords() {
    QFile file(QString::fromLatin1(kKeywordFile));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        const int tab = line.indexOf(QLatin1Char('\t'));
        if (tab <= 0)
            continue;
        auto* item = new QListWidgetItem(line.left(tab), KeywordList);
        item->setData(kUrlRole, QStringLiteral("qrc:/help/") + line.mid(tab + 1).trimmed());
    }
    KeywordList->sortItems();
}

void THelpForm::FilterKeywords(const QString& text) {
    // A keyword matches with the text anywhere in it ("Rand" finds
    // "Randbedingungen" inside a longer keyword); one that begins with the
    // text is chosen before one that only holds it.
    const QString wanted = text.trimmed();
    QListWidgetItem* first = nullptr;
    QListWidgetItem* firstBeginning = nullptr;
    for (int i = 0; i < KeywordList->count(); ++i) {
        QListWidgetItem* item = KeywordList->item(i);
        const bool match = item->text().contains(wanted, Qt::CaseInsensitive);
        item->setHidden(!match);
        if (match && !first)
            first = item;
        if (match && !firstBeginning && item->text().startsWith(wanted, Qt::CaseInsensitive))
            firstBeginning = item;
    }
    KeywordList->setCurrentItem(firstBeginning ? firstBeginning : first);
}

void THelpForm::OpenSelectedKeyword() {
    if (QListWidgetItem* item = KeywordList->currentItem(); item && !item->isHidden())
        ShowUrl(item->data(kUrlRole).toString());
}

void THelpForm::ShowUrl(const QString& url) {
    Browser->setSource(QUrl(url));
    ShowWindow();
}

void THelpForm::ShowWindow() {
    // The first time on the screen: all of it in sight, also on a small one.
    if (!isVisible() && !placed_) {
        FitIntoScreen(*this);
        placed_ = true;
    }
    show();
    raise();
    activateWindow();
}

void THelpForm::ShowContents() {
    Tabs->setCurrentIndex(0);
    ShowUrl(QString::fromLatin1(kHelpContentsUrl));
}

void THelpForm::ShowKeywordSearch(const QString& keyword) {
    Tabs->setCurrentIndex(1);
    KeywordEdit->setText(keyword);
    FilterKeywords(keyword);
    if (Browser->source().isEmpty())
        Browser->setSource(QUrl(QString::fromLatin1(kHelpContentsUrl)));
    ShowWindow();
    KeywordEdit->setFocus();
}

void THelpForm::ShowTopic(int topic) {
    ShowUrl(HelpTopicUrl(topic));
}

bool HelpKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1)
        return QObject::eventFilter(watched, event);
    // Every widget of a window sees the key once; answer the first.
    const QWidget* focus = QApplication::focusWidget();
    if (!focus)
        focus = qobject_cast<const QWidget*>(watched);
    const int topic = FindHelpTopic(focus);
    if (topic > 0)
        help_.ShowTopic(topic);
    else
        help_.ShowContents();
    return true;
}
