#include "Prog_diskr.h"

#include "EditorModal.h"
#include "editors/fb/Prog_fb.h"

#include <QAction>
#include <QMenuBar>
#include <QToolButton>
#include <QVBoxLayout>

TFormPrgD::TFormPrgD(TFormFB* formFB, QWidget* parent) : QDialog(parent), formFB_(formFB) {
    setWindowTitle(QStringLiteral("Программирование обработки дискретных сигналов"));
    AFB = new QAction(QStringLiteral("Редактирование ФБ"), this);
    connect(AFB, &QAction::triggered, this, &TFormPrgD::PMenu1FBClick);

    auto* layout = new QVBoxLayout(this);
    auto* menu = new QMenuBar(this);
    menu->addMenu(QStringLiteral("Программирование"))->addAction(AFB);
    layout->setMenuBar(menu);
    auto* button = new QToolButton(this);
    button->setDefaultAction(AFB);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(button, 0, Qt::AlignLeft);
    layout->addStretch();
    resize(640, 420);
    if (formFB_) connect(formFB_, &TFormFB::SchemeRemoved, this, [this] { SchemeState = 1; });
}

void TFormPrgD::PMenu1FBClick() {
    if (formFB_) ShowEditorModal(this, formFB_);
}
