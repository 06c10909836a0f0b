#include "ui/AboutBox.h"

#include "ui/Pictures.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#ifndef BALKOR_VERSION
#define BALKOR_VERSION "0.1.0"
#endif

QString ProgramVersion() {
    return QStringLiteral(BALKOR_VERSION);
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Info"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    auto* panel = new QFrame(this);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setAutoFillBackground(true);
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    panel->setPalette(white);

    ProgramIcon = new QLabel(panel);
    ProgramIcon->setPixmap(ProgramPicture(249, 57));
    ProgramIcon->setFixedSize(249, 57);
    ProgramIcon->setScaledContents(true);
    Version = new QLabel(QStringLiteral("Ver. ") + ProgramVersion(), panel);
    Version->setAlignment(Qt::AlignCenter);

    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->addWidget(ProgramIcon, 0, Qt::AlignHCenter);
    panelLayout->addWidget(Version);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
