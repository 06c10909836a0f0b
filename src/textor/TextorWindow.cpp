#include "textor/TextorWindow.h"

#include "ui/QtProgram.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QSettings>
#include <QStatusBar>
#include <QStringDecoder>
#include <QTextDocument>
#include <QToolBar>

namespace {

const char* const kLastFolderKey = "lastFolder";

// textor.conf in the desktop program's settings folder of the user
// (~/.config/balkor/).
QSettings ViewerSettings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("balkor"),
                     QStringLiteral("textor"));
}

} // namespace

TextorArguments ParseTextorArguments(const QStringList& arguments) {
    TextorArguments parsed;
    bool options = true;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (options && argument == QLatin1String("--")) {
            options = false;
        } else if (options && argument == QLatin1String("--kind")) {
            if (i + 1 == arguments.size()) {
                parsed.error = QStringLiteral("Option '--kind' ohne Namen");
                return parsed;
            }
            parsed.kind = arguments[++i];
        } else if (options && argument.startsWith(QLatin1String("--kind="))) {
            parsed.kind = argument.mid(7);
        } else if (options && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            parsed.error = QStringLiteral("Unbekannte Option '%1'").arg(argument);
            return parsed;
        } else if (parsed.file.isEmpty()) {
            parsed.file = argument;
        } else {
            parsed.error = QStringLiteral("Nur eine Datei kann gezeigt werden");
            return parsed;
        }
    }
    return parsed;
}

QString DecodeText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder windows("windows-1252");
    if (windows.isValid())
        return windows(bytes);
    return QString::fromLatin1(bytes);
}

TextorWindow::TextorWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Textor"));
    resize(860, 640);
    Text = new QPlainTextEdit(this);
    Text->setReadOnly(true);
    Text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Text->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The protocols' columns line up only in a font whose characters all
    // have the same advance.
    Text->setFont(ProtocolFont());
    setCentralWidget(Text);
    CreateFindBar();
    CreateMenus();
    statusBar();
    // All of the window in sight, also on a small screen.
    FitIntoScreen(*this);
}

void TextorWindow::CreateMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Datei"));
    QAction* saveAs = file->addAction(QStringLiteral("Speichern &unter..."));
    saveAs->setShortcut(QKeySequence::SaveAs);
    // Desktops without a key binding for "save as" get the usual one.
    if (saveAs->shortcut().isEmpty())
        saveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    connect(saveAs, &QAction::triggered, this, &TextorWindow::SaveAs);
    QAction* print = file->addAction(QStringLiteral("&Drucken..."));
    print->setShortcut(QKeySequence::Print);
    connect(print, &QAction::triggered, this, &TextorWindow::Print);
    file->addSeparator();
    QAction* quit = file->addAction(QStringLiteral("&Beenden"));
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, this, &QWidget::close);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Bearbeiten"));
    QAction* copy = edit->addAction(QStringLiteral("&Kopieren"));
    copy->setShortcut(QKeySequence::Copy);
    connect(copy, &QAction::triggered, Text, &QPlainTextEdit::copy);
    QAction* all = edit->addAction(QStringLiteral("&Alles markieren"));
    all->setShortcut(QKeySequence::SelectAll);
    connect(all, &QAction::triggered, Text, &QPlainTextEdit::selectAll);
    edit->addSeparator();
    QAction* find = edit->addAction(QStringLiteral("&Suchen..."));
    find->setShortcut(QKeySequence::Find);
    connect(find, &QAction::triggered, this, &TextorWindow::ShowFindBar);
    QAction* next = edit->addAction(QStringLiteral("&Weitersuchen"));
    next->setShortcut(Qt::Key_F3);
    connect(next, &QAction::triggered, this, &TextorWindow::FindNext);
    QAction* previous = edit->addAction(QStringLiteral("&Rückwärts suchen"));
    previous->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    connect(previous, &QAction::triggered, this, &TextorWindow::FindPrevious);
}

void TextorWindow::CreateFindBar() {
    FindBar = new QToolBar(QStringLiteral("Suchen"), this);
    FindBar->setMovable(false);
    FindBar->addWidget(new QLabel(QStringLiteral("Suchen: "), FindBar));
    FindEdit = new QLineEdit(FindBar);
    FindEdit->setClearButtonEnabled(true);
    FindBar->addWidget(FindEdit);
    FindBar->addAction(QStringLiteral("Weiter"), this, &TextorWindow::FindNext);
    FindBar->addAction(QStringLiteral("Zurück"), this, &TextorWindow::FindPrevious);
    MatchCase = new QCheckBox(QStringLiteral("Groß-/Kleinschreibung"), FindBar);
    FindBar->addWidget(MatchCase);
    FindBar->addAction(QStringLiteral("Schließen"), FindBar, &QWidget::hide);
    connect(FindEdit, &QLineEdit::returnPressed, this, &TextorWindow::FindNext);
    addToolBar(Qt::BottomToolBarArea, FindBar);
    FindBar->hide();
}

bool TextorWindow::LoadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        errorText_ = QStringLiteral("Datei '%1' kann nicht gelesen werden").arg(path);
        return false;
    }
    if (file.size() > kMaxFileSize) {
        errorText_ = QStringLiteral("Datei '%1' ist zu groß").arg(path);
        return false;
    }
    bytes_ = file.read(kMaxFileSize + 1);
    if (bytes_.size() > kMaxFileSize) {
        bytes_.clear();
        errorText_ = QStringLiteral("Datei '%1' ist zu groß").arg(path);
        return false;
    }
    fileName_ = path;
    Text->setPlainText(DecodeText(bytes_));
    UpdateTitle();
    return true;
}

void TextorWindow::SetTitle(const QString& title) {
    title_ = title;
    UpdateTitle();
}

void TextorWindow::UpdateTitle() {
    const QString name = title_.isEmpty() ? QFileInfo(fileName_).fileName() : title_;
    setWindowTitle(name.isEmpty() ? QStringLiteral("Textor") : QStringLiteral("Textor – ") + name);
}

QString TextorWindow::SuggestedSavePath() const {
    QString folder = ViewerSettings().value(QLatin1String(kLastFolderKey)).toString();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    QString name = title_.isEmpty() ? QFileInfo(fileName_).completeBaseName() : title_;
    if (name.isEmpty())
        name = QStringLiteral("Protokoll");
    return QDir(folder).filePath(name + QStringLiteral(".txt"));
}

bool TextorWindow::SaveTo(const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = bytes_.isEmpty() ? Text->toPlainText().toUtf8() : bytes_;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void TextorWindow::PrintTo(QPrinter& printer) {
    printer.setDocName(QFileInfo(fileName_).fileName());
    Text->document()->print(&printer);
}

bool TextorWindow::Find(const QString& text, bool backward) {
    if (text.isEmpty())
        return false;
    QTextDocument::FindFlags flags;
    if (backward)
        flags |= QTextDocument::FindBackward;
    if (MatchCase->isChecked())
        flags |= QTextDocument::FindCaseSensitively;
    if (Text->find(text, flags))
        return true;
    // Continue at the other end of the text.
    QTextCursor cursor = Text->textCursor();
    cursor.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
    Text->setTextCursor(cursor);
    if (Text->find(text, flags))
        return true;
    statusBar()->showMessage(QStringLiteral("'%1' nicht gefunden").arg(text), 5000);
    return false;
}

void TextorWindow::ShowFindBar() {
    FindBar->show();
    FindEdit->setFocus();
    FindEdit->selectAll();
}

void TextorWindow::FindNext() {
    if (FindEdit->text().isEmpty())
        ShowFindBar();
    else
        Find(FindEdit->text());
}

void TextorWindow::FindPrevious() {
    if (FindEdit->text().isEmpty())
        ShowFindBar();
    else
        Find(FindEdit->text(), true);
}

void TextorWindow::SaveAs() {
    QFileDialog dialog(this, QStringLiteral("Speichern unter"), QString(),
                       QStringLiteral("Textdatei (*.txt);;Alle Dateien (*)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    const QFileInfo suggested(SuggestedSavePath());
    dialog.setDirectory(suggested.absolutePath());
    dialog.selectFile(suggested.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    if (!SaveTo(path)) {
        QMessageBox::critical(this, QStringLiteral("Fehler"),
                              QStringLiteral("Datei '%1' kann nicht geschrieben werden").arg(path));
        return;
    }
    ViewerSettings().setValue(QLatin1String(kLastFolderKey), QFileInfo(path).absolutePath());
}

void TextorWindow::Print() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Drucken"));
    if (dialog.exec() == QDialog::Accepted)
        PrintTo(printer);
}
