#pragma once

#include "ui/UiDialogs.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

// Answers the dialogs of a command from prepared queues and records what was
// shown. A question or file dialog without a prepared answer is recorded as
// unexpected and cancelled.
class FakeDialogs : public UiDialogs {
public:
    struct Message {
        QString text;
        QString caption;
        MessageIcon icon;
    };

    Answer AskYesNoCancel(QWidget*, const QString& text, const QString& caption) override {
        questions << caption + QStringLiteral(" | ") + text;
        if (answers.empty()) {
            unexpected << QStringLiteral("question: ") + text;
            return Answer::Cancel;
        }
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    // Yes / No questions share the queue; a prepared Cancel answers No.
    Answer AskYesNo(QWidget* parent, const QString& text, const QString& caption) override {
        const Answer answer = AskYesNoCancel(parent, text, caption);
        return answer == Answer::Yes ? Answer::Yes : Answer::No;
    }
    // OK / Cancel questions share the queue too: Yes is OK.
    bool AskOkCancel(QWidget* parent, const QString& text, const QString& caption) override {
        return AskYesNoCancel(parent, text, caption) == Answer::Yes;
    }
    void ShowMessage(QWidget*, const QString& text, const QString& caption,
                     MessageIcon icon) override {
        if (onMessage)
            onMessage();
        messages.append({text, caption, icon});
    }
    QString OpenFileName(QWidget*, const FileDialogSpec& spec) override {
        return NextName(openNames, spec);
    }
    QString SaveFileName(QWidget*, const FileDialogSpec& spec) override {
        return NextName(saveNames, spec);
    }
    bool Exec(QDialog* dialog) override {
        executed << dialog;
        return exec ? exec(dialog) : false;
    }
    // Records the colour the dialog opened at; an empty queue cancels.
    bool ChooseColour(QWidget*, QColor& colour) override {
        colourDialogs << colour;
        if (colours.empty())
            return false;
        colour = colours.front();
        colours.pop_front();
        return true;
    }

    std::deque<Answer> answers;
    // An empty name stands for a cancelled dialog.
    std::deque<QString> openNames;
    std::deque<QString> saveNames;
    std::function<bool(QDialog*)> exec;
    // Runs as a message box opens (before it is recorded).
    std::function<void()> onMessage;
    std::deque<QColor> colours;

    QStringList questions;
    QList<Message> messages;
    QList<FileDialogSpec> fileDialogs;
    QList<QDialog*> executed;
    QList<QColor> colourDialogs;
    QStringList unexpected;

private:
    QString NextName(std::deque<QString>& names, const FileDialogSpec& spec) {
        fileDialogs << spec;
        if (names.empty()) {
            unexpected << QStringLiteral("file dialog: ") + spec.title;
            return QString();
        }
        const QString name = names.front();
        names.pop_front();
        return name;
    }
};
