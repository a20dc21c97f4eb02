#include "LiveView.h"

#include "Comportclass.h"
#include "Configuration.h"
#include "ShownTransfer.h"
#include "WindowOpening.h"
#include "editors/common/EditorContext.h"

#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

TFormLiveView::TFormLiveView(EditorContext& context, int intervalMs, QWidget* parent)
    : QDialog(parent), ctx_(context), poll_(context.ComPort()), intervalMs_(intervalMs) {
    Timer1 = new QTimer(this);
    Timer1->setInterval(5000);
    Button1 = new QPushButton(QStringLiteral("Пуск и остановка таймера"), this);
    Button1->setAutoDefault(false);
    Label1 = new QLabel(QStringLiteral("запущен опрос"), this);
    Label1->hide();
    auto* layout = new QVBoxLayout(this);
    body_ = new QVBoxLayout;
    layout->addLayout(body_);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Button1);
    bottom->addWidget(Label1);
    bottom->addStretch();
    layout->addLayout(bottom);

    connect(Timer1, &QTimer::timeout, this, &TFormLiveView::Timer1Timer);
    connect(Button1, &QPushButton::clicked, this, &TFormLiveView::Button1Click);
    connect(&poll_, &PollService::Polled, this, [this](const PollReplies& replies) { ShowReplies(replies); });
    connect(&poll_, &PollService::Failed, this, &TFormLiveView::PollFailed);
}

TFormLiveView::~TFormLiveView() {
    poll_.Stop();
}

int TFormLiveView::DevNum() const {
    return ctx_.Cfg().Serv.DevNum;
}

void TFormLiveView::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!IsOpening(event)) return;
    FormShow();
    Button1Click();
}

void TFormLiveView::hideEvent(QHideEvent* event) {
    if (IsClosing(event)) FormClose();
    QDialog::hideEvent(event);
}

void TFormLiveView::Button1Click() {
    Timer1->setInterval(intervalMs_);
    if (Timer1->isActive()) {
        Timer1->stop();
        poll_.Stop(); // a running poll delivers nothing more
    } else {
        Timer1->start();
    }
    PollMarker = 1 - PollMarker;
    Label1->setHidden(!Label1->isHidden());
}

void TFormLiveView::InClick() {
    if (poll_.Polling() || ctx_.ComPort().Busy()) return;
    poll_.SetRequests(Requests());
    poll_.Tick();
}

void TFormLiveView::PollFailed(int result) {
    if (Timer1->isActive()) Button1Click();
    if (PollMarker == 1) ShowObmError(ctx_.ComPort(), DevNum(), result, this);
}

void TFormLiveView::ReplyNotTaken() {
    PollFailed(ObmBadLength);
}

void TFormLiveView::FormClose() {
    if (Timer1->isActive()) Button1Click();
    poll_.Stop();
}
