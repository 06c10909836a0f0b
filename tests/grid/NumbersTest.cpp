// Cell numbers: the printf formats of the columns and the reading of typed
// numbers, with the decimal point whatever the locale.
#include "grid/GridNumbers.h"
#include "support/QtTestRegistry.h"

#include <QTest>
#include <clocale>
#include <cmath>
#include <string>

Q_DECLARE_METATYPE(FormatKind)

class GridNumbersTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void formatsAreClassified_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<FormatKind>("kind");
        QTest::newRow("%d") << "%d" << FormatKind::Integer;
        QTest::newRow("%#.4lg") << "%#.4lg" << FormatKind::Real;
        QTest::newRow("%.3lf") << "%.3lf" << FormatKind::Real;
        QTest::newRow("literal percent") << "%d %%" << FormatKind::Integer;
        QTest::newRow("empty") << "" << FormatKind::Invalid;
        QTest::newRow("no conversion") << "abc" << FormatKind::Invalid;
        QTest::newRow("string") << "%s" << FormatKind::Invalid;
        QTest::newRow("two numbers") << "%d %d" << FormatKind::Invalid;
        QTest::newRow("star width") << "%*d" << FormatKind::Invalid;
        QTest::newRow("long int") << "%ld" << FormatKind::Invalid;
        QTest::newRow("long double") << "%Lg" << FormatKind::Invalid;
        QTest::newRow("dangling") << "%" << FormatKind::Invalid;
    }
    void formatsAreClassified() {
        QFETCH(QString, format);
        QFETCH(FormatKind, kind);
        QCOMPARE(ClassifyFormat(format.toStdString()), kind);
    }

    void valuesAreFormattedLikePrintf() {
        QCOMPARE(FormatReal("%#.4lg", 1.5), std::string("1.500"));
        QCOMPARE(FormatReal("%#.4lg", 0.0), std::string("0.000"));
        QCOMPARE(FormatReal("%#.4lg", 12345.678), std::string("1.235e+04"));
        QCOMPARE(FormatReal("%.3lf", 5.0), std::string("5.000"));
        QCOMPARE(FormatInteger("%d", -7), std::string("-7"));
        // A format that does not convert the value's type shows nothing.
        QCOMPARE(FormatReal("%d", 1.5), std::string());
        QCOMPARE(FormatInteger("%#.4lg", 3), std::string());
        QCOMPARE(FormatReal("%.999f", 1.0).size(), size_t(kMaxCellText));
    }

    void decimalPointWhateverTheLocale() {
        const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
        if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
            QSKIP("no German locale installed");
        double value = 0;
        const bool read = ReadLeadingReal("2.75", value);
        const std::string shown = FormatReal("%#.4lg", 2.75);
        std::setlocale(LC_NUMERIC, previous.c_str());
        QVERIFY(read);
        QCOMPARE(value, 2.75);
        QCOMPARE(shown, std::string("2.750"));
    }

    void integersBeyond32BitsAreRefused_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<int>("value");
        QTest::newRow("digits then text") << "12abc" << true << 12;
        QTest::newRow("no number") << "abc" << true << 0;
        QTest::newRow("empty") << "" << true << 0;
        QTest::newRow("signs") << "+5" << true << 5;
        QTest::newRow("largest") << "2147483647" << true << 2147483647;
        QTest::newRow("smallest") << "-2147483648" << true << int(-2147483648LL);
        QTest::newRow("one more") << "2147483648" << false << 0;
        QTest::newRow("one less") << "-2147483649" << false << 0;
        QTest::newRow("eleven digits") << "99999999999" << false << 0;
        QTest::newRow("beyond 64 bits") << "99999999999999999999999" << false << 0;
    }
    void integersBeyond32BitsAreRefused() {
        QFETCH(QString, text);
        QFETCH(bool, fits);
        QFETCH(int, value);
        int32_t read = -1;
        QCOMPARE(ReadLeadingInteger(text.toStdString(), read), fits);
        if (fits)
            QCOMPARE(read, value);
    }

    void realsThatAreNotFiniteAreRefused() {
        double value = -1;
        QVERIFY(ReadLeadingReal("1.5,3", value));
        QCOMPARE(value, 1.5);
        QVERIFY(ReadLeadingReal("", value));
        QCOMPARE(value, 0.0);
        QVERIFY(ReadLeadingReal("1e-999", value)); // underflow reads as a tiny number
        QVERIFY(std::isfinite(value));
        value = 7;
        for (const char* text : {"1e999", "-1e999", "inf", "nan"})
            QVERIFY2(!ReadLeadingReal(text, value), text);
        QCOMPARE(value, 7.0);
        QVERIFY(std::isinf(LeadingReal("1e999")));
    }
};

BALKOR_REGISTER_TEST(GridNumbersTest);

#include "NumbersTest.moc"
