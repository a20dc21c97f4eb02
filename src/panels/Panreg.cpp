#include "Panreg.h"

#include "Float24.h"

#include <QLocale>
#include <QPainter>

namespace {
constexpr int kRowsWidth = 60;
constexpr int kRowHeight = 22;
constexpr int kNumberBoxHeight = 18;
constexpr int kBandHeight = 16; // one line of the image

// A program point's value is scaled to the PV range, not a stored number.
QString PointText(float value) {
    return QLocale(QLocale::Russian).toString(double(value), 'g', 6);
}
} // namespace

TPanReg::TPanReg(QWidget* owner, int number, TRegType type, TTypeOut out, TTypeRFC rfc)
    : SchemeControl(owner), number_(number), type_(EnumFromRawOrFirst<TRegType>(type)),
      out_(EnumFromRawOrFirst<TTypeOut>(out)), rfc_(EnumFromRawOrFirst<TTypeRFC>(rfc)),
      body_(new PanelPart(this)), numberBox_(new PanelPart(body_)), image_(new PanelPart(body_)),
      values_(new PanelPart(body_)) {
    const int height = type_ == rtPS ? kMarkTopPS : type_ == rtPID ? kMarkTopPID : kMarkTopPZ;
    resize(kWidth, height);
    const int bodyLeft = type_ == rtPZ ? 0 : kRowsWidth;
    body_->setGeometry(bodyLeft, 0, kWidth - bodyLeft, height);
    const int inner = body_->width() - 4;
    numberBox_->setGeometry(2, 2, inner, kNumberBoxHeight);
    numberBox_->SetText(QString(type_ == rtPZ ? "ПЗ %1" : "Рег %1").arg(number));
    const int imageBands = type_ == rtPZ ? 1 : type_ == rtPS ? 2 : 3;
    const int imageTop = kNumberBoxHeight + 4;
    image_->setGeometry(2, imageTop, inner, imageBands * kBandHeight);
    image_->SetFramed(false);
    image_->SetBoldFirstLine(true);
    numberBox_->LeaveDoubleClicksToParent();
    image_->LeaveDoubleClicksToParent();
    const int valuesTop = imageTop + image_->height() + 2;
    values_->setGeometry(2, valuesTop, inner, height - valuesTop - 2);
    values_->SetAlignment(Qt::AlignLeft);
    values_->setAttribute(Qt::WA_TransparentForMouseEvents);
    values_->setVisible(type_ != rtPS);
    if (type_ != rtPZ)
        for (int r = 0; r < kRows; ++r) {
            rows_[r] = new TInputBox(this);
            rows_[r]->setGeometry(0, InputLineY(r) - kRowHeight / 2, kRowsWidth, kRowHeight);
        }
    Changed();
}

void TPanReg::PutSP(int spType) {
    Assign(spType_, spType);
}

void TPanReg::SetIdVh1(const QString& text) {
    SetRowText(0, text);
}

void TPanReg::SetIdVh2(const QString& text) {
    SetRowText(1, text);
}

void TPanReg::SetRowText(int row, const QString& text) {
    if (rows_[row]) rows_[row]->SetText(text);
}

void TPanReg::SetParam(int index, float value) {
    Assign(params_[index], value);
}

void TPanReg::PutTime(int point, int time) {
    if (point >= 0 && point < kPoints) Assign(times_[point], time);
}

void TPanReg::PutValue(int point, float value) {
    if (point >= 0 && point < kPoints) Assign(pointValues_[point], value);
}

TInputBox* TPanReg::InputRow(int row) const {
    return row >= 0 && row < kRows ? rows_[row] : nullptr;
}

void TPanReg::Changed() {
    const QString action = QString(out_ == toDirect ? "прямой" : "обратный") + (rfc_ == rfcFC ? "  FC" : "");
    QStringList values;
    switch (type_) {
    case rtPS:
        image_->SetLines({"ПС", action});
        break;
    case rtPID: {
        image_->SetLines({"ПИД", action, QString("тип SP %1").arg(spType_)});
        static const std::array<QString, 6> names{"Kп", "Ти", "Тд", "OL", "OH", "dSP"};
        for (size_t i = 0; i < names.size(); ++i)
            values.append(names[i] + "  " + Float24::ValueText(params_[i]));
        break;
    }
    case rtPZ:
        image_->SetLines({"ПЗ"});
        for (int j = 0; j < kPoints; ++j)
            values.append(
                QString("%1)  t %2   %3").arg(j + 1).arg(times_[j]).arg(PointText(pointValues_[j])));
        break;
    }
    values_->SetLines(values);
}

void TPanReg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Color());
}
