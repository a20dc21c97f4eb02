#include "Prog_diskr.h"

#include "EditorModal.h"
#include "Obr_veg17r.h"
#include "editors/fb/Prog_fb.h"

#include <QAction>
#include <QMenuBar>
#include <QToolButton>
#include <QVBoxLayout>

TFormPrgD::TFormPrgD(TForm1* form1) : QDialog(form1), form1_(form1) {
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
}

void TFormPrgD::PMenu1FBClick() {
    ShowEditorModal(this, form1_->FormFB);
}
