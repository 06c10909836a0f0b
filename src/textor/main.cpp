#include "textor/TextorWindow.h"

#include <QApplication>
#include <QMessageBox>

// textor [FILE]: shows FILE read-only.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Textor"));
    TextorWindow window;
    const QStringList arguments = app.arguments();
    if (arguments.size() > 1 && !window.LoadFile(arguments.at(1)))
        QMessageBox::critical(&window, QStringLiteral("Fehler"), window.ErrorText());
    window.show();
    return app.exec();
}
