// Prints the file type the shared-mime-info database gives each file, once by
// name and content, once by content alone:
//   FILE<TAB>TYPE<TAB>TYPE-BY-CONTENT
// The database is the one of XDG_DATA_DIRS, so the package test points it at
// the installed tree.
#include <QCoreApplication>
#include <QMimeDatabase>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QMimeDatabase database;
    QTextStream out(stdout);
    for (const QString& file : app.arguments().mid(1))
        out << file << '\t' << database.mimeTypeForFile(file).name() << '\t'
            << database.mimeTypeForFile(file, QMimeDatabase::MatchContent).name() << '\n';
    return 0;
}
