#include "Obrvyh_mb.h"

#include "Colors.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QVBoxLayout>

RelayBox::RelayBox(int number, QWidget* parent) : QLabel(QString::number(number), parent) {
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::Box);
    setFixedSize(26, 26);
    setAutoFillBackground(true);
    SetTag(0);
}

void RelayBox::SetTag(int tag) {
    tag_ = tag ? 1 : 0;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, TColorToQColor(tag_ ? kSetColor : kClearColor));
    setPalette(pal);
}

void RelayBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit Clicked();
    QLabel::mousePressEvent(event);
}

TFormVyh::TFormVyh(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Программирование выходов "));
    LabNVh = new QLabel(this);
    LabelName = new QLabel(this);
    auto* title = new QHBoxLayout;
    title->addWidget(LabNVh);
    title->addWidget(LabelName);
    title->addStretch();

    auto* grid = new QGridLayout;
    for (int m = 0; m < kModules; ++m) {
        LabMR[m] = new QLabel(QStringLiteral("МР №%1").arg(m + 1), this);
        grid->addWidget(LabMR[m], m, 0);
        for (int r = 0; r < kRelays; ++r) {
            RelayBox* box = new RelayBox(r + 1, this);
            Boxes[m][r] = box;
            grid->addWidget(box, m, r + 1);
            connect(box, &RelayBox::Clicked, this, [this, box] {
                box->SetTag(!box->Tag());
                emit Changed();
            });
        }
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TFormVyh::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TFormVyh::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(title);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

void TFormVyh::SetModuleVisible(int module, bool visible) {
    LabMR[module]->setVisible(visible);
}

void TFormVyh::SetBoxVisible(int module, int relay, bool visible) {
    Boxes[module][relay]->setVisible(visible);
}

void TFormVyh::SetBoxTag(int module, int relay, int tag) {
    Boxes[module][relay]->SetTag(tag);
    savedMasks_[module] = Mask(module);
}

void TFormVyh::SetMask(int module, uint8_t mask) {
    for (int r = 0; r < kRelays; ++r)
        Boxes[module][r]->SetTag((mask >> r) & 1);
    savedMasks_[module] = mask;
}

uint8_t TFormVyh::Mask(int module) const {
    uint8_t mask = 0;
    for (int r = 0; r < kRelays; ++r)
        if (Boxes[module][r]->Tag()) mask |= uint8_t(1u << r);
    return mask;
}

void TFormVyh::accept() {
    Cancelled = 0;
    done(kAccepted);
}

void TFormVyh::reject() {
    Cancelled = 1;
    for (int m = 0; m < kModules; ++m)
        SetMask(m, savedMasks_[m]);
    QDialog::reject();
}
