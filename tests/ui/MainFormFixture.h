#pragma once

#include "FakeDialogs.h"
#include "analysis/SolutionsCont.h"
#include "model/Tables.h"
#include "ui/InputForms.h"
#include "ui/MainForm.h"
#include "ui/PageControl.h"

#include <QTemporaryDir>
#include <memory>

// A main window on fresh tables and analysis model, with test dialogs, no
// settings file and its temporary files in a folder of its own.
struct MainFormFixture {
    MainFormFixture() : solutions(input) {
        qputenv("TMP", tempDir.path().toLocal8Bit());
        form = std::make_unique<TMainForm>(input, solutions, dialogs, QString());
    }
    ~MainFormFixture() { form.reset(); }

    QString TempPath(const QString& name) const { return tempDir.filePath(name); }

    QTemporaryDir tempDir;
    InputModel input;
    SolutionsCont solutions;
    FakeDialogs dialogs;
    std::unique_ptr<TMainForm> form;
};

// Small system and load-case files in the file format.
QString WriteTextFile(const QString& path, const char* text);
extern const char* const kTwoSpanSystem; // two beams of 6, supported at 0, 6, 12
extern const char* const kTwoSpanLoads;  // q = 10 on both beams
extern const char* const kUnsupportedSystem;
extern const char* const kBadBeamSystem; // a beam to a node that does not exist
