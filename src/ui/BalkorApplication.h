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

// The optional file arguments: a system file and a load-case file, told apart
// by the load-case extension ".bld"; further files of a kind are ignored.
struct FileArguments {
    QString systemFile;
    QString loadFile;
    QStringList ignored;
};
FileArguments ClassifyFileArguments(const QStringList& arguments);

// The desktop program: builds the windows, opens the file arguments, runs.
int RunBalkor(int argc, char** argv);
