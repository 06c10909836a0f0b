#include "ui/QtProgram.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QScreen>
#include <QTranslator>
#include <QWidget>
#include <algorithm>
#include <clocale>
#include <cmath>

namespace {

// Letters of both widths, digits, an umlaut, the degree sign and the
// punctuation of the protocols' tables.
const char16_t kSampleCharacters[] = u"iW0äÖß°.-| M";

} // namespace

QTranslator* InstallQtTranslations(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_de"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

void PrepareQtProgram(QApplication& app) {
    InstallQtTranslations(app);
    std::setlocale(LC_NUMERIC, "C");
}

bool HasEqualAdvances(const QFont& font) {
    const QFontMetricsF metrics(font);
    // Measured as strings, so that a character the font lacks is measured in
    // the font that stands in for it, as it is drawn.
    const qreal first = metrics.horizontalAdvance(QString(QChar(kSampleCharacters[0])));
    if (first <= 0)
        return false;
    for (const char16_t* c = kSampleCharacters; *c; ++c)
        if (std::abs(metrics.horizontalAdvance(QString(QChar(*c))) - first) > first * 1e-3)
            return false;
    return true;
}

QFont ProtocolFont(const QFont& preferred) {
    if (HasEqualAdvances(preferred))
        return preferred;
    for (const char* family : kMonospacedFamilies) {
        QFont candidate(QString::fromLatin1(family));
        candidate.setStyleHint(QFont::TypeWriter);
        if (preferred.pointSizeF() > 0)
            candidate.setPointSizeF(preferred.pointSizeF());
        else if (preferred.pixelSize() > 0)
            candidate.setPixelSize(preferred.pixelSize());
        if (HasEqualAdvances(candidate))
            return candidate;
    }
    return preferred;
}

QFont ProtocolFont() {
    return ProtocolFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
}

void FitIntoScreen(QWidget& window) {
    QScreen* screen = QGuiApplication::screenAt(window.geometry().center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize frame =
        window.isVisible() ? window.frameGeometry().size() - window.size() : kWindowFrameAllowance;
    window.resize(window.size().boundedTo(area.size() - frame));
    const QSize outer = window.size() + frame;
    QPoint place = window.testAttribute(Qt::WA_Moved)
                       ? window.pos()
                       : area.center() - QPoint(outer.width(), outer.height()) / 2;
    place.setX(std::clamp(place.x(), area.left(), area.left() + area.width() - outer.width()));
    place.setY(std::clamp(place.y(), area.top(), area.top() + area.height() - outer.height()));
    window.move(place);
}
