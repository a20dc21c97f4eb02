#include "Prog_kalibr.h"

#include "Comportclass.h"
#include "Configuration.h"
#include "Dialogs.h"
#include "KalibrKit.h"
#include "ServInput.h"
#include "ShownTransfer.h"
#include "WindowOpening.h"
#include "editors/common/EditorContext.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

bool TFormKalibr::ReportErrors = true;

TFormKalibr::TFormKalibr(EditorContext& context, QWidget* parent)
    : QDialog(parent), ctx_(context), poll_(context.ComPort()) {
    setWindowTitle(QStringLiteral("Калибровка аналоговых входов БРОН"));
    TipMod = new QLabel(this);
    Kalibr = new QLabel(QStringLiteral("Калибровка"), this);
    Heading =
        new QLabel(QStringLiteral("Позиция       код MIN       код  АЦП      код MAX      Тек. знач.    "
                                  "Размер.  Тек.знач. в %    Наруш.   Сост "),
                   this);
    auto* grid = new QGridLayout;
    grid->addWidget(Heading, 0, 1, 1, 9);
    grid->addWidget(Kalibr, 0, 10, 1, 2);
    for (int r = 0; r < Rows; ++r) {
        RowTexts& t = Row[size_t(r)];
        int column = 0;
        SpBut[size_t(r)] = new QToolButton(this);
        SpBut[size_t(r)]->setCheckable(true);
        SpBut[size_t(r)]->setText(QString::number(r + 1));
        grid->addWidget(SpBut[size_t(r)], r + 1, column++);
        for (QLabel** label : {&t.NV, &t.XMin, &t.XACP, &t.XMax, &t.V1M, &t.RV, &t.V, &t.KV, &t.AV}) {
            *label = new QLabel(this);
            grid->addWidget(*label, r + 1, column++);
        }
        KalMin[size_t(r)] = new QPushButton(QStringLiteral("Min"), this);
        KalMax[size_t(r)] = new QPushButton(QStringLiteral("Max"), this);
        KalMin[size_t(r)]->setEnabled(false);
        KalMax[size_t(r)]->setEnabled(false);
        grid->addWidget(KalMin[size_t(r)], r + 1, column++);
        grid->addWidget(KalMax[size_t(r)], r + 1, column++);
        connect(SpBut[size_t(r)], &QToolButton::clicked, this, [this, r] { SpBut1Click(r + 1); });
        connect(KalMin[size_t(r)], &QPushButton::clicked, this, [this, r] { KalMin1Click(r + 1); });
        connect(KalMax[size_t(r)], &QPushButton::clicked, this, [this, r] { KalMax1Click(r + 1); });
    }
    Timer1 = new QTimer(this);
    Label1 = new QLabel(QStringLiteral("запущен таймер"), this);
    Label1->hide();
    Button1 = new QPushButton(QStringLiteral("Пуск и остановка таймера"), this);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Button1);
    bottom->addWidget(Label1);
    bottom->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(TipMod);
    layout->addLayout(grid);
    layout->addLayout(bottom);

    connect(Timer1, &QTimer::timeout, this, &TFormKalibr::Timer1Timer);
    connect(Button1, &QPushButton::clicked, this, &TFormKalibr::Button1Click);
    connect(&poll_, &PollService::Polled, this, &TFormKalibr::Polled);
    connect(&poll_, &PollService::Failed, this, &TFormKalibr::PollFailed);
}

TFormKalibr::~TFormKalibr() {
    poll_.Stop();
}

void TFormKalibr::SetSelection(int channel) {
    for (int r = 0; r < Rows; ++r)
        SpBut[size_t(r)]->setChecked(r + 1 == channel);
}

void TFormKalibr::ShowRows() {
    const auto rows = ctx_.Cfg().MBA.FillCalibrationView(Module - 1);
    for (int r = 0; r < Rows; ++r) {
        const auto& texts = rows[size_t(r)];
        const RowTexts& t = Row[size_t(r)];
        t.NV->setText(Positions[size_t(r)]);
        t.RV->setText(texts.Unit);
        t.XMin->setText(texts.MinCode);
        t.XACP->setText(texts.AdcCode);
        t.XMax->setText(texts.MaxCode);
        t.V1M->setText(texts.Value);
        t.V->setText(texts.Percent);
        t.KV->setText(texts.Violation);
        t.AV->setText(texts.State);
    }
}

void TFormKalibr::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (IsOpening(event)) FormShow();
}

void TFormKalibr::hideEvent(QHideEvent* event) {
    if (IsClosing(event)) FormClose();
    QDialog::hideEvent(event);
}

void TFormKalibr::FormShow() {
    const bool coldJunction = ctx_.Cfg().MBA.GetKalibrModuleCode() == Calibration::ThermocoupleCode;
    const RowTexts& t = Row[Rows - 1];
    for (QWidget* w :
         std::initializer_list<QWidget*>{t.NV, t.RV, t.XMin, t.XACP, t.XMax, t.V1M, t.V, t.KV, t.AV,
                                         SpBut[Rows - 1], KalMin[Rows - 1], KalMax[Rows - 1]})
        w->setVisible(coldJunction);
    ctx_.Cfg().MBA.SetKalibrViewClosed(0);
    ShowRows();
    Button1Click();
}

void TFormKalibr::Button1Click() {
    Timer1->setInterval(Calibration::PollPeriodMs);
    if (Timer1->isActive()) {
        Timer1->stop();
        poll_.Stop(); // a running poll delivers nothing more
    } else {
        Timer1->start();
    }
    ReportErrors = !ReportErrors;
    Label1->setHidden(!Label1->isHidden());
}

void TFormKalibr::InClick() {
    if (poll_.Polling() || ctx_.ComPort().Busy()) return; // a poll or a write is running
    poll_.SetRequests(
        Calibration::PollRequests(ctx_.Cfg().Serv.DevNum, Module, ctx_.Cfg().MBA.GetKalibrModuleCode()));
    poll_.Tick();
}

void TFormKalibr::Polled(const PollReplies& replies) {
    TProgMBAClass& mba = ctx_.Cfg().MBA;
    const bool taken = Calibration::TakePoll(mba, Module, mba.GetKalibrModuleCode(), replies);
    ShowRows();
    if (!taken) PollFailed(ObmBadLength); // a reply the view cannot take is a failed poll
}

void TFormKalibr::PollFailed(int result) {
    if (Timer1->isActive()) Button1Click();
    if (ReportErrors) ShowObmError(ctx_.ComPort(), ctx_.Cfg().Serv.DevNum, result, this);
}

bool TFormKalibr::WriteCoil(int kind, int channel, bool on) {
    const std::vector<uint8_t> data = Calibration::CoilData(kind, Module, channel, on);
    std::vector<uint8_t> reply(Calibration::CoilReplySize);
    const int dev = ctx_.Cfg().Serv.DevNum;
    const int result = ctx_.ComPort().Obmen(dev, 5, int(data.size()), data.data(), reply);
    if (result == 0) return true;
    // A device that did not answer the write does not answer the poll either: polling stops
    // first, which drops the poll's failure held while the write waited, so the user answers one
    // box. A write the device refused (its exception code) leaves the polling on.
    if (result >= ObmBadLength && Timer1->isActive()) Button1Click();
    ShowObmError(ctx_.ComPort(), dev, result, this);
    return false;
}

void TFormKalibr::GreyKalibr(bool grey) {
    QPalette pal = Kalibr->palette();
    pal.setColor(QPalette::WindowText, grey ? QColor(128, 128, 128) : QColor(Qt::black));
    Kalibr->setPalette(pal);
}

void TFormKalibr::SpBut1Click(int row) {
    TProgMBAClass& mba = ctx_.Cfg().MBA;
    QToolButton* button = SpBut[size_t(row - 1)];
    if (button->isChecked()) {
        // The channel selected before is released first: the device never keeps two.
        const int before = mba.GetKalibrChannel();
        if (before != 0 && before != row) {
            SpBut[size_t(before - 1)]->setChecked(false);
            SpBut1Click(before);
        }
        if (mba.GetKalibrChannel() != 0 || !WriteCoil(Calibration::SelectCoil, row, true)) {
            button->setChecked(false);
            GreyKalibr(true);
        } else {
            mba.SetKalibrChannel(row);
            GreyKalibr(false);
        }
    } else {
        GreyKalibr(true);
        if (!WriteCoil(Calibration::SelectCoil, row, false)) return;
        if (mba.GetKalibrChannel() == row) mba.SetKalibrChannel(0);
    }
    EnableCalibrationButtons();
}

void TFormKalibr::EnableCalibrationButtons() {
    const int selected = ctx_.Cfg().MBA.GetKalibrChannel();
    for (int r = 0; r < Rows; ++r) {
        KalMin[size_t(r)]->setEnabled(r + 1 == selected);
        KalMax[size_t(r)]->setEnabled(r + 1 == selected);
    }
}

void TFormKalibr::KalMin1Click(int row) {
    Calibrate(
        row, Calibration::StartCoil,
        QStringLiteral("Внимание! Сейчас будет произведена калибровка\nначала шкалы измерения \nУбедитесь, "
                       "подан ли на вход сигнал,\nсоответствующий началу шкалы?"));
}

void TFormKalibr::KalMax1Click(int row) {
    Calibrate(
        row, Calibration::EndCoil,
        QStringLiteral("Внимание! Сейчас будет произведена калибровка\nконца шкалы измерения \nУбедитесь, "
                       "подан ли на вход сигнал,\nсоответствующий концу шкалы?"));
}

void TFormKalibr::Calibrate(int row, int coil, const QString& question) {
    if (!ServInput::CalibrationAllowed(ctx_.Cfg().Veg, this)) return;
    if (MessageBox(this, question, QStringLiteral("Подтвердите готовность к калибровке шкалы"),
                   MsgButtons::YesNo, MsgIcon::Question) != mrYes)
        return;
    WriteCoil(coil, row, true);
}

void TFormKalibr::FormClose() {
    if (Timer1->isActive()) Button1Click();
    TProgMBAClass& mba = ctx_.Cfg().MBA;
    mba.SetKalibrViewClosed(1);
    // Channels 1..4 are always released, and a selected channel 5..7 too.
    const int selected = mba.GetKalibrChannel();
    for (int row = 1; row <= Rows; ++row) {
        if (row > 4 && row != selected) continue;
        SpBut[size_t(row - 1)]->setChecked(false);
        SpBut1Click(row);
    }
}
