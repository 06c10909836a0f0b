#pragma once

#include <QDialog>

class QLabel;

// "Info": the program's picture and its version on a white panel.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QLabel* ProgramIcon = nullptr;
    QLabel* Version = nullptr;
};

// The version text shown as "Ver. " followed by it.
QString ProgramVersion();
