#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;

// The help pages compiled into the program: a contents page, one page per
// window with anchors for its parts, and a keyword index.
inline constexpr const char* kHelpContentsUrl = "qrc:/help/index.html";

// The page (with anchor) of a help topic number; the contents for an unknown one.
QString HelpTopicUrl(int topic);

// The help window: the contents and the keyword index on the left, the page
// on the right.
class THelpForm : public QWidget {
    Q_OBJECT
public:
    explicit THelpForm(QWidget* parent = nullptr);

    // "Inhalt": the contents page.
    void ShowContents();
    // "Suche": the keyword index, filtered by keyword (empty: all keywords).
    void ShowKeywordSearch(const QString& keyword);
    // A window's or grid's topic.
    void ShowTopic(int topic);

    // Shows the page of the first keyword the index lists.
    void OpenSelectedKeyword();

    QTextBrowser* Browser = nullptr;
    QTabWidget* Tabs = nullptr;
    QLineEdit* KeywordEdit = nullptr;
    QListWidget* KeywordList = nullptr;

private:
    void LoadKeywords();
    void FilterKeywords(const QString& text);
    void ShowUrl(const QString& url);
    void ShowWindow();

    bool placed_ = false;
};

// Answers F1 anywhere in the program with the help topic of the focused
// widget (see SetHelpTopic), else with the contents.
class HelpKeyFilter : public QObject {
    Q_OBJECT
public:
    explicit HelpKeyFilter(THelpForm& help, QObject* parent = nullptr)
        : QObject(parent), help_(help) {}

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    THelpForm& help_;
};
