#pragma once

#include "FakeDialogs.h"
#include "analysis/SolutionsCont.h"
#include "model/Tables.h"
#include "support/ScopedEnvironment.h"
#include "support/SmallExamples.h"
#include "ui/InputForms.h"
#include "ui/MainForm.h"
#include "ui/PageControl.h"

#include <QTemporaryDir>
#include <memory>

// A main window on fresh tables and analysis model, with test dialogs, no
// settings file and its temporary files in a folder of its own (TMP, put
// back when the fixture ends).
struct MainFormFixture {
    MainFormFixture() : solutions(input) {
        environment.Set("TMP", tempDir.path().toStdString());
        form = std::make_unique<TMainForm>(input, solutions, dialogs, QString());
    }
    ~MainFormFixture() { form.reset(); }

    QString TempPath(const QString& name) const { return tempDir.filePath(name); }

    QTemporaryDir tempDir;
    ScopedEnvironment environment;
    InputModel input;
    SolutionsCont solutions;
    FakeDialogs dialogs;
    std::unique_ptr<TMainForm> form;
};

// Writes text into the file at path; returns path.
QString WriteTextFile(const QString& path, const char* text);
