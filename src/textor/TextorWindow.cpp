#include "textor/TextorWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QStatusBar>
#include <QStringDecoder>
#include <QTextDocument>
#include <QToolBar>

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
    Text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setCentralWidget(Text);
    CreateFindBar();
    CreateMenus();
    statusBar();
}

void TextorWindow::CreateMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Datei"));
    QAction* saveAs = file->addAction(QStringLiteral("Speichern &unter..."));
    saveAs->setShortcut(QKeySequence::SaveAs);
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
    setWindowTitle(QStringLiteral("Textor – ") + QFileInfo(path).fileName());
    return true;
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
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Speichern unter"), QFileInfo(fileName_).fileName(),
        QStringLiteral("Textdatei (*.txt);;Alle Dateien (*)"));
    if (path.isEmpty())
        return;
    if (!SaveTo(path))
        QMessageBox::critical(this, QStringLiteral("Fehler"),
                              QStringLiteral("Datei '%1' kann nicht geschrieben werden").arg(path));
}

void TextorWindow::Print() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Drucken"));
    if (dialog.exec() == QDialog::Accepted)
        PrintTo(printer);
}
