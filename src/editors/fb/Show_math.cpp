#include "Show_math.h"

#include "Configuration.h"
#include "Prog_fbcalc.h"
#include "editors/common/EditorContext.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

using namespace CalcBlocks;

TFormMath::TFormMath(EditorContext& context, TFormFBCalc& formCalc, QWidget* parent)
    : QDialog(parent), ctx_(context), formCalc_(formCalc) {
    setObjectName("FormMath");
    setWindowTitle(QStringLiteral("Информация о  математических блоках"));
    setFixedSize(439, 373);
    FormCreate();
}

void TFormMath::FormCreate() {
    constexpr int PerRow = 4;
    GroupBox1 = new QGroupBox(QStringLiteral("Математические блоки"), this);
    GroupBox1->setGeometry(32, 16, 352, 224);
    GroupBox1->hide();
    PopupMenu1 = new QMenu(this);
    DeleteBl = PopupMenu1->addAction(QStringLiteral("Удаление математического блока "));
    DeleteBl->setToolTip(QStringLiteral("Удаление блока МВМ"));
    DeleteBl->setShortcut(Qt::CTRL | Qt::Key_Delete);
    addAction(DeleteBl);
    for (int k = 0; k < MaxArithBlocks; ++k) {
        auto* b = new QPushButton(GroupBox1);
        b->setObjectName(QStringLiteral("Button%1").arg(k + 1));
        b->setGeometry(16 + 80 * (k % PerRow), 24 + 32 * (k / PerRow), 75, 25);
        b->setToolTip(QStringLiteral("МБ%1").arg(k + 1));
        b->setContextMenuPolicy(Qt::CustomContextMenu);
        b->installEventFilter(this);
        connect(b, &QPushButton::clicked, this, [this, k] { Button1Click(k); });
        connect(b, &QPushButton::customContextMenuRequested, this,
                [this, b](const QPoint& at) { PopupMenu1->popup(b->mapToGlobal(at)); });
        Buttons[size_t(k)] = b;
    }
    OK = new QPushButton(QStringLiteral("OK"), this);
    OK->setGeometry(176, 320, 75, 25);
    LabelFile = new QLabel(QStringLiteral("Режим работы с файлом"), this);
    LabelFile->setGeometry(32, 280, 200, 16);
    connect(OK, &QPushButton::clicked, this, &TFormMath::OKClick);
    connect(DeleteBl, &QAction::triggered, this, &TFormMath::DeleteBlClick);
}

void TFormMath::ShowCaptions() {
    const auto captions = OverviewCaptions(ctx_.Cfg().FB);
    for (int k = 0; k < MaxArithBlocks; ++k)
        Buttons[size_t(k)]->setText(captions[size_t(k)]);
}

void TFormMath::FillCaptions() {
    ShowCaptions();
    ctx_.Cfg().FB.MathMenuBlock = -1;
    SchemeChanged = 0;
    LabelFile->setVisible(ctx_.FileMode());
    GroupBox1->show();
}

void TFormMath::Button1Click(int k) {
    TProgFBClass& fb = ctx_.Cfg().FB;
    if (OperationAt(fb, ArithIndex(fb, k)) == 0) return;
    fb.CalcAction = EditArith;
    fb.CalcBlockIndex = k;
    if (EditBlock) EditBlock();
    if (formCalc_.Cancelled == 0) {
        const int j = formCalc_.BlockIndex() - ArithIndex(fb, 0);
        if (j >= 0 && j < MaxArithBlocks) Buttons[size_t(j)]->setText(OperationSign(formCalc_.Kind()));
    }
    fb.CalcBlockIndex = -1;
}

void TFormMath::Button1MouseDown(int k, Qt::MouseButton button) {
    if (button == Qt::RightButton) ctx_.Cfg().FB.MathMenuBlock = k;
}

void TFormMath::DeleteBlClick() {
    TConfiguration& cfg = ctx_.Cfg();
    const int k = cfg.FB.MathMenuBlock;
    cfg.FB.MathMenuBlock = -1;
    if (k < 0) return;
    const DeleteResult r = DeleteArith(cfg.FB, k);
    if (!r.deleted) return;
    SchemeChanged = r.comparatorPresent ? 1 : 0;
    cfg.FB.FBModified = 1;
    if (ctx_.FileMode()) cfg.Serv.Modified = 1;
    ShowCaptions();
}

void TFormMath::OKClick() {
    accept();
}

bool TFormMath::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        const auto at = std::find(Buttons.begin(), Buttons.end(), watched);
        if (at != Buttons.end())
            Button1MouseDown(int(at - Buttons.begin()), static_cast<QMouseEvent*>(event)->button());
    }
    return false;
}
