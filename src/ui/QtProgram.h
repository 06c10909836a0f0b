#pragma once

#include <QFont>
#include <QSize>

class QApplication;
class QCoreApplication;
class QTranslator;
class QWidget;

// What every Qt program of Balkor (the desktop program and the protocol
// viewer) sets up before it opens a window. Built as a library of its own, so
// that the viewer does not link the windows of the desktop program.

// Qt's own texts (file and print dialogs, standard buttons, the overwrite
// question) in German, from Qt's translations ("qtbase_de"). The translator
// belongs to app; null when the translations are not installed.
QTranslator* InstallQtTranslations(QCoreApplication& app);

// German Qt texts, and numbers with the decimal point: QApplication takes the
// user's locale for every category, and the C library's number formatting
// must stay "C".
void PrepareQtProgram(QApplication& app);

// True when every character a protocol uses ("i", "W", "0", "ä", "°", ...)
// has the same advance in font: the columns of a protocol line up. This is
// what matters, not the font database's fixed-pitch flag, which fontconfig
// leaves unset for some monospaced families (Noto Sans Mono).
bool HasEqualAdvances(const QFont& font);

// The monospaced families tried, in order, when the system's fixed font fails
// HasEqualAdvances.
inline constexpr const char* kMonospacedFamilies[] = {"DejaVu Sans Mono", "Liberation Mono",
                                                      "Noto Sans Mono"};

// The font for protocols and fixed-width tables: preferred (by default the
// system's fixed font) when its characters have equal advances, else the
// first well-known monospaced family that has, in preferred's size, else
// preferred after all.
QFont ProtocolFont(const QFont& preferred);
QFont ProtocolFont();

// The window manager's frame around a top-level window, allowed for while the
// window is not shown yet and its real frame is unknown: a title bar and
// borders.
inline constexpr QSize kWindowFrameAllowance(16, 48);

// Shrinks window where needed so that it fits with its frame into the free
// area of its screen (the screen under its middle, else the primary one),
// and moves it there: centred when it was not placed yet, else by the least
// distance that brings it inside.
void FitIntoScreen(QWidget& window);
