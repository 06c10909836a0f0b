#include "textor/TextorWindow.h"
#include "ui/QtProgram.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>

// textor [--kind NAME] [FILE]: shows FILE read-only; NAME says what it holds.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Textor"));
    PrepareQtProgram(app);
    const TextorArguments arguments = ParseTextorArguments(app.arguments().mid(1));
    if (!arguments.error.isEmpty()) {
        std::fprintf(stderr, "textor: %s\nAufruf: textor [--kind NAME] [DATEI]\n",
                     arguments.error.toLocal8Bit().constData());
        return 2;
    }
    TextorWindow window;
    window.SetTitle(arguments.kind);
    if (!arguments.file.isEmpty() && !window.LoadFile(arguments.file))
        QMessageBox::critical(&window, QStringLiteral("Fehler"), window.ErrorText());
    window.show();
    return app.exec();
}
