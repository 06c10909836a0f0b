// The keyword index of the help window.
#include "support/QtTestRegistry.h"
#include "ui/HelpWindow.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace {

QStringList VisibleKeywords(const THelpForm& help) {
    QStringList keywords;
    for (int i = 0; i < help.KeywordList->count(); ++i)
        if (!help.KeywordList->item(i)->isHidden())
            keywords << help.KeywordList->item(i)->text();
    return keywords;
}

} // namespace

class HelpIndexTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aKeywordMatchesWithTheTextAnywhere_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("alsoShown");
        QTest::newRow("inside") << "Rand"
                                << "Widerspruch in den Randbedingungen"
                                << "Wiederspruch in der Randbedingungen";
        QTest::newRow("case") << "KONTROLLE"
                              << "Plausibilitätskontrolle"
                              << "Plausibilitätskontrolle";
        // One that begins with the text comes first.
        QTest::newRow("beginning") << "last"
                                   << "Lastdatei"
                                   << "Belastung";
        QTest::newRow("misspelt") << "Plausibilitätk"
                                  << ""
                                  << "";
    }

    void aKeywordMatchesWithTheTextAnywhere() {
        QFETCH(QString, text);
        QFETCH(QString, chosen);
        QFETCH(QString, alsoShown);
        THelpForm help;
        help.ShowKeywordSearch(text);
        QListWidgetItem* current = help.KeywordList->currentItem();
        QCOMPARE(current ? current->text() : QString(), chosen);
        const QStringList shown = VisibleKeywords(help);
        QCOMPARE(shown.isEmpty(), alsoShown.isEmpty());
        if (!alsoShown.isEmpty())
            QVERIFY(shown.contains(alsoShown));
        for (const QString& keyword : shown)
            QVERIFY(keyword.contains(text, Qt::CaseInsensitive));
    }
};

BALKOR_REGISTER_TEST(HelpIndexTest);
#include "HelpIndexTest.moc"
