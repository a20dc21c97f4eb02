#include "SchemeEditorFrame.h"

#include "EditorContext.h"
#include "WindowOpening.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

constexpr int WheelStep = 10;

} // namespace

SchemeEditorFrame::SchemeEditorFrame(EditorContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    CreateActions();
    CreateControls();
}

QAction* SchemeEditorFrame::NewAction(const char* name, const QString& caption, const QKeySequence& key) {
    auto* a = new QAction(caption, this);
    a->setObjectName(name);
    a->setShortcut(key);
    a->setShortcutContext(Qt::WindowShortcut);
    addAction(a);
    return a;
}

void SchemeEditorFrame::NewQuietActions(std::initializer_list<std::pair<QAction**, const char*>> actions) {
    for (const auto& [action, name] : actions)
        *action = NewAction(name, QString(), {});
}

QAction* SchemeEditorFrame::AddItemFor(QMenu* menu, QAction* action) {
    QAction* item = menu->addAction(action->text());
    connect(item, &QAction::triggered, action, &QAction::trigger);
    return item;
}

void SchemeEditorFrame::CreateActions() {
    AInPort = NewAction("AInPort", "Ввод с СОМ-порта", Qt::Key_F9);
    AOutPort = NewAction("AOutPort", "Вывод на СОМ-порт", Qt::Key_F10);
    AClose = NewAction("AClose", "Выход", Qt::ALT | Qt::Key_X);
    ACopyGroup = NewAction("ACopyGroup", "Копировать ", Qt::CTRL | Qt::Key_C);
    AInSertGroup = NewAction("AInSertGroup", QString(), {});
    AAddGroup = NewAction("AAddGroup", QString(), Qt::CTRL | Qt::Key_V);
    AChooseAll = NewAction("AChooseAll", "Выделить все", Qt::CTRL | Qt::Key_A);
    ADelChoose = NewAction("ADelChoose", "Удалить", Qt::Key_Delete);
    ADelete = NewAction("ADelete", "Удаление элементов", {});
    NewQuietActions({{&AText, "AText"},
                     {&AOpenFile, "AOpenFile"},
                     {&ASaveFile, "ASaveFile"},
                     {&ACreatFile, "ACreatFile"},
                     {&AArhiv, "AArhiv"},
                     {&AParol, "AParol"},
                     {&AHelp, "AHelp"},
                     {&APort, "APort"},
                     {&AInfAnalog, "AInfAnalog"},
                     {&AInfVyh, "AInfVyh"}});

    connect(AInPort, &QAction::triggered, this, &SchemeEditorFrame::InPortClick);
    connect(AOutPort, &QAction::triggered, this, &SchemeEditorFrame::OutPortClick);
    connect(AClose, &QAction::triggered, this, &SchemeEditorFrame::NCloseClick);
}

void SchemeEditorFrame::CreateControls() {
    auto* top = new QVBoxLayout(this);
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName("MainMenu1");
    top->setMenuBar(MainMenu1);
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName("ToolBar1");
    top->addWidget(ToolBar1);

    buttonRow_ = new QHBoxLayout;
    LabelFile = new QLabel("Режим работы с файлом", this);
    LabelFile->setStyleSheet("color: red; font-weight: bold;");
    LabelFile->hide();
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->hide();
    InformBut = new QPushButton("Входные сигналы", this);
    InformButMR = new QPushButton("Дискретные выходы", this);
    InformButMR->hide();
    buttonRow_->addStretch();
    top->addLayout(buttonRow_);
    AddToButtonRow({LabelFile, ProgressBar1, InformBut, InformButMR});

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName("ScrollBox1");
    SchemeArea = new QWidget;
    SchemeArea->setObjectName("SchemeArea");
    ScrollBox1->setWidget(SchemeArea);
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setFocusPolicy(Qt::StrongFocus);
    ScrollBox1->viewport()->installEventFilter(this);
    SchemeArea->installEventFilter(this);
    top->addWidget(ScrollBox1, 1);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    PopupMenu3 = new QMenu(this);
    PopupMenu3->setObjectName("PopupMenu3");
    ScrollBoxPopup = PopupMenu3;
    ScrollBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ScrollBox1, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        if (ScrollBoxPopup) ScrollBoxPopup->popup(ScrollBox1->mapToGlobal(pos));
    });

    connect(InformBut, &QPushButton::clicked, this, &SchemeEditorFrame::InformButClick);
    connect(InformButMR, &QPushButton::clicked, this, &SchemeEditorFrame::InformButMRClick);
}

void SchemeEditorFrame::AddToButtonRow(std::initializer_list<QWidget*> widgets) {
    int at = buttonRow_->count() - 1; // before the closing stretch
    for (QWidget* w : widgets)
        buttonRow_->insertWidget(at++, w);
}

bool SchemeEditorFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->angleDelta().y() < 0)
            ScrollBox1MouseWheelDown();
        else if (wheel->angleDelta().y() > 0)
            ScrollBox1MouseWheelUp();
        return true;
    }
    // The whole visible area is the scheme: the viewport gets the presses on it beside or below
    // the canvas, and those the canvas passes on (none that a scheme element takes).
    const bool onScheme = watched == ScrollBox1->viewport();
    if (onScheme && event->type() == QEvent::MouseButtonPress) {
        ScrollBox1MouseDown(static_cast<QMouseEvent*>(event)->button());
    } else if (onScheme && event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // Only a left click clears the choice; a right one opens the popup over it.
        ScrollBox1Click(ScrollBox1);
    }
    return QDialog::eventFilter(watched, event);
}

void SchemeEditorFrame::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!IsOpening(event)) return;
    // Opens wide enough for the whole tool bar: a narrower window hides the last commands behind
    // the overflow arrow.
    const QMargins margins = layout()->contentsMargins();
    const int tools = ToolBar1->sizeHint().width() + margins.left() + margins.right();
    if (width() < tools) resize(tools, height());
    FormShow();
}

void SchemeEditorFrame::NCloseClick() {
    close();
}

void SchemeEditorFrame::reject() {
    if (FormCloseQuery()) QDialog::reject();
}

void SchemeEditorFrame::InformButClick() {
    context_.FillInform(InformFillOnly() ? InformShow::Quiet : InformShow::Show);
    ScrollBox1->setFocus();
}

void SchemeEditorFrame::InformButMRClick() {
    context_.FillInformMR(InformShow::Show);
    ScrollBox1->setFocus();
}

void SchemeEditorFrame::ScrollBox1MouseWheelDown() {
    QScrollBar* bar = ScrollBox1->verticalScrollBar();
    bar->setValue(bar->value() + WheelStep);
}

void SchemeEditorFrame::ScrollBox1MouseWheelUp() {
    QScrollBar* bar = ScrollBox1->verticalScrollBar();
    bar->setValue(bar->value() - WheelStep);
}

void SchemeEditorFrame::ScrollBox1MouseDown(Qt::MouseButton) {
    // Presses on scheme elements stay with them; what arrives here hit the area itself.
    ScrollBoxPopup = PopupMenu3;
}

void SchemeEditorFrame::ScrollBox1Click(QObject*) {}
