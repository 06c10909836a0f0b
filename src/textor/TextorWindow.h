#pragma once

#include <QByteArray>
#include <QMainWindow>
#include <QString>

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
    // Names what the file holds ("Eingabeprotokoll", "Ergebnisse"): the
    // window's title and the name "Speichern unter" offers. Without it the
    // file's name stands there.
    void SetTitle(const QString& title);
    // Where "Speichern unter" starts: the folder last saved to (kept between
    // runs in textor.conf beside the desktop program's settings), else the
    // user's home, with the title or the file's name and ".txt".
    QString SuggestedSavePath() const;
    // Writes the shown file's bytes unchanged to path.
    bool SaveTo(const QString& path);
    // Prints the text on printer.
    void PrintTo(QPrinter& printer);
    // Selects the next (or previous) occurrence of text from the cursor on,
    // continuing at the other end; false when the text does not occur.
    bool Find(const QString& text, bool backward = false);

    // "Speichern unter": the file dialog, then a copy of the file.
    void SaveAs();
    // "Drucken": the print dialog, then the printout.
    void Print();

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
    void UpdateTitle();

    QString fileName_;
    QString title_;
    QString errorText_;
    QByteArray bytes_;
};

// The text of a file's bytes: UTF-8, or Windows-1252 when they are not valid UTF-8.
QString DecodeText(const QByteArray& bytes);

// textor's command line: [--kind NAME] [--] [FILE]. NAME says what the file
// holds ("Ergebnisse"). (Not "--title": Qt takes that one on X11 as the
// window title and removes it from the arguments.)
struct TextorArguments {
    QString kind;
    QString file;
    QString error; // a German message; empty when the command line is sound
};
TextorArguments ParseTextorArguments(const QStringList& arguments);
