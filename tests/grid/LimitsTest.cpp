// The fixed limits of the grid, each from both sides: one case just inside,
// one just outside.
#include "grid/GridNumbers.h"
#include "support/QtTestRegistry.h"

#include <QTest>
#include <string>

class GridLimitsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A cell shows at most 999 characters.
    void cellTextsOfAtMost999Characters_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("length");
        QTest::newRow("999 characters") << "%.997f" << 999;
        QTest::newRow("1001 characters") << "%.999f" << 999;
        QTest::newRow("1000 characters") << "%.998f" << 999;
        QTest::newRow("998 characters") << "%.996f" << 998;
    }
    void cellTextsOfAtMost999Characters() {
        QFETCH(QString, format);
        QFETCH(int, length);
        QCOMPARE(FormatReal(format.toStdString(), 1.0).size(), size_t(length));
    }
};

BALKOR_REGISTER_TEST(GridLimitsTest);

#include "LimitsTest.moc"
