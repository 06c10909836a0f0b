#pragma once

#include "FakeDialogs.h"

#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>

// Printing into PDF files in the tests: the print dialog answered with a
// PDF file on A4, and the file read back.

// Answers the next print dialogs with the PDF file path; notes the job's
// title in *jobTitle when given.
inline void AnswerPrintDialogWithPdf(FakeDialogs& dialogs, const QString& path,
                                     bool landscape = false, QString* jobTitle = nullptr) {
    dialogs.exec = [path, landscape, jobTitle](QDialog* dialog) {
        auto* print = qobject_cast<QPrintDialog*>(dialog);
        if (!print)
            return false;
        QPrinter* printer = print->printer();
        if (jobTitle)
            *jobTitle = printer->docName();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(path);
        printer->setPageSize(QPageSize(QPageSize::A4));
        printer->setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        return true;
    };
}

inline QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The pages of a PDF file: its page objects (their dictionaries are never
// compressed); 0 for a file that is no PDF.
inline int PdfPageCount(const QString& path) {
    const QByteArray bytes = FileBytes(path);
    if (!bytes.startsWith("%PDF"))
        return 0;
    return static_cast<int>(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                            bytes.count("/Type /Page/") + bytes.count("/Type /Page>>") +
                            bytes.count("/Type /Page "));
}

// The text of a PDF file as pdftotext reads it; a null string when the tool
// (Debian package poppler-utils) is missing.
inline QString PdfText(const QString& path) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return QString();
    QProcess process;
    process.start(tool,
                  {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}
