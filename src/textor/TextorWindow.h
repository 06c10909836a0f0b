#pragma once

#include <QByteArray>
#include <QMainWindow>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPrinter;
class QToolBar;

// Textor, the protocol viewer: shows a text file read-only in a fixed-width
// font, finds text, prints and saves a copy.
class TextorWindow : public QMainWindow {
    Q_OBJECT
public:
    // Files larger than this are refused instead of being read into memory.
    static constexpr qint64 kMaxFileSize = 256LL * 1024 * 1024;

    explicit TextorWindow(QWidget* parent = nullptr);

    // Shows the file; false (with the reason in errorText) when it cannot be read.
    bool LoadFile(const QString& path);
    // Writes the shown file's bytes unchanged to path.
    bool SaveTo(const QString& path);
    // Prints the text on printer.
    void PrintTo(QPrinter& printer);
    // Selects the next (or previous) occurrence of text from the cursor on,
    // continuing at the other end; false when the text does not occur.
    bool Find(const QString& text, bool backward = false);

    QString FileName() const { return fileName_; }
    QString ErrorText() const { return errorText_; }

    QPlainTextEdit* Text = nullptr;
    QToolBar* FindBar = nullptr;
    QLineEdit* FindEdit = nullptr;
    QCheckBox* MatchCase = nullptr;

private:
    void CreateMenus();
    void CreateFindBar();
    void ShowFindBar();
    void FindNext();
    void FindPrevious();
    void SaveAs();
    void Print();

    QString fileName_;
    QString errorText_;
    QByteArray bytes_;
};

// The text of a file's bytes: UTF-8, or Windows-1252 when they are not valid UTF-8.
QString DecodeText(const QByteArray& bytes);
