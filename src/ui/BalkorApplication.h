#pragma once

#include <QApplication>
#include <QStringList>
#include <functional>

// The application object. An error that ends a command (an exception out of
// an event handler) is caught here, shown in an error box, and the program
// goes on with the next user action.
class BalkorApplication : public QApplication {
    Q_OBJECT
public:
    BalkorApplication(int& argc, char** argv);
    ~BalkorApplication() override;

    // Shows the message of an error that ended a command.
    void SetErrorHandler(std::function<void(const QString& message)> handler);

    bool notify(QObject* receiver, QEvent* event) override;

private:
    void ShowError(const QString& message);

    std::function<void(const QString&)> errorHandler_;
};

// The optional file arguments: a system file and load-case files, told apart
// by the load-case extension ".bld" (the load cases of a project in their
// order), or a project file ".bpj"; a further system or project file, and
// any other file beside a project file, is ignored.
struct FileArguments {
    QString systemFile;
    QString loadFile;
    QStringList moreLoadFiles;
    QString projectFile;
    QStringList ignored;
};
FileArguments ClassifyFileArguments(const QStringList& arguments);

// The desktop program: builds the windows, opens the file arguments, runs.
int RunBalkor(int argc, char** argv);
