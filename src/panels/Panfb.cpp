#include "Panfb.h"

#include "Float24.h"

#include <QLocale>
#include <QPainter>

namespace {
constexpr int kBodyLeft = 80;
constexpr int kInputBoxHeight = 22;
constexpr int kNumberBoxHeight = 18;
constexpr int kImageBands = 4; // the type name and up to three setting lines

QString TimeText(int time, TimerDiskr diskr) {
    const QLocale ru(QLocale::Russian);
    switch (diskr) {
    case tdms:
        return ru.toString(time / 10.0, 'f', 1) + " с";
    case tdsec:
        return QString::number(time) + " с";
    case tdDecsec:
        return QString::number(time * 10) + " с";
    }
    return {};
}
} // namespace

QString TPanFB::TypeName(TFBType type) {
    static const std::array<QString, kEnumMembers<TFBType>.size()> names{"И", "И-НЕ", "ИЛИ", "ИЛИ-НЕ", "ГСТ",
                                                                         "Т", "Тр",   "СМР", "СЧ"};
    return names[EnumFromRawOrFirst<TFBType>(type)];
}

TPanFB::TPanFB(QWidget* owner, int number, TFBType type)
    : SchemeControl(owner), number_(number), type_(EnumFromRawOrFirst<TFBType>(type)),
      body_(new PanelPart(this)), numberBox_(new PanelPart(body_)), typeImage_(new PanelPart(body_)) {
    resize(kWidth, kHeight);
    body_->setGeometry(kBodyLeft, 0, kWidth - kBodyLeft, kHeight);
    const int inner = body_->width() - 4;
    numberBox_->setGeometry(2, 2, inner, kNumberBoxHeight);
    numberBox_->SetText(QString::number(number));
    typeImage_->setGeometry(2, kNumberBoxHeight + 4, inner, kHeight - kNumberBoxHeight - 6);
    typeImage_->SetFramed(false);
    typeImage_->SetBoldFirstLine(true);
    numberBox_->LeaveDoubleClicksToParent();
    typeImage_->LeaveDoubleClicksToParent();
    for (int j = 0; j < kInputs; ++j) {
        inputs_[j] = new TInputBox(this);
        inputs_[j]->setGeometry(0, InputLineY(j) - kInputBoxHeight / 2, kBodyLeft, kInputBoxHeight);
    }
    Changed();
}

void TPanFB::SetTFB(TFBType type) {
    Assign(type_, EnumFromRawOrFirst<TFBType>(type));
}

void TPanFB::SetTimer(TimerType timer) {
    Assign(timer_, EnumFromRawOrFirst<TimerType>(timer));
}

void TPanFB::SetTimerD(TimerDiskr diskr) {
    Assign(diskr_, EnumFromRawOrFirst<TimerDiskr>(diskr));
}

void TPanFB::SetTime(int time) {
    Assign(time_, time);
}

void TPanFB::SetHour(int hour) {
    Assign(hour_, hour);
}

void TPanFB::SetMin(int min) {
    Assign(min_, min);
}

void TPanFB::SetSec(int sec) {
    Assign(sec_, sec);
}

void TPanFB::SetTrigger(TriggerType trigger) {
    Assign(trigger_, EnumFromRawOrFirst<TriggerType>(trigger));
}

void TPanFB::SetCompCond(ComparatorCondition cond) {
    Assign(cond_, EnumFromRawOrFirst<ComparatorCondition>(cond));
}

void TPanFB::SetLimit(float limit) {
    Assign(limit_, limit);
}

void TPanFB::SetLimitCount(int count) {
    Assign(limitCount_, count);
}

void TPanFB::SetGisterezis(int percent) {
    Assign(hysteresis_, percent);
}

void TPanFB::PutIdVh(int input, const QString& text) {
    if (input >= 0 && input < kInputs) inputs_[input]->SetText(text);
}

void TPanFB::PutTInp(int input, InputType type) {
    if (input >= 0 && input < kInputs) inputs_[input]->SetType(type);
}

int TPanFB::InputCount() const {
    switch (type_) {
    case ftGisterezis:
        return 2;
    case ftTimer:
        return timer_ == T5 ? 1 : 2;
    case ftComparator:
        return 2; // its discrete input, and the analogue operand X1 on the box below it
    default:
        return kInputs;
    }
}

TInputBox* TPanFB::InputBox(int input) const {
    return input >= 0 && input < InputCount() ? inputs_[input] : nullptr;
}

QStringList TPanFB::SettingLines() const {
    switch (type_) {
    case ftTimer:
        if (timer_ == T5) return {"T5", QString::asprintf("%02d:%02d:%02d", hour_, min_, sec_)};
        return {QString("T%1").arg(int(timer_)), TimeText(time_, diskr_)};
    case ftTrigger:
        return {trigger_ == ttRS ? "RS" : "SR"};
    case ftComparator:
        return {QString(cond_ == ccL ? "L " : "H ") + Float24::ValueText(limit_),
                QString("Г %1 %").arg(hysteresis_), TimeText(time_, diskr_)};
    case ftCounter:
        return {QString("N %1").arg(limitCount_)};
    default:
        return {};
    }
}

void TPanFB::Changed() {
    QStringList lines = QStringList{TypeName(type_)} + SettingLines();
    while (lines.size() < kImageBands)
        lines.append(QString());
    typeImage_->SetLines(lines);
    for (int j = 0; j < kInputs; ++j)
        inputs_[j]->setVisible(j < InputCount());
}

void TPanFB::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Color());
}
