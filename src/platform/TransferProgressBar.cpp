#include "TransferProgressBar.h"

#include <QMetaObject>
#include <QProgressBar>

TransferProgressBar::TransferProgressBar(QProgressBar* bar) : bar_(bar) {
    if (!bar_) return;
    bar_->setValue(bar_->minimum());
    bar_->show();
}

TransferProgressBar::~TransferProgressBar() {
    if (bar_) bar_->hide();
}

std::function<void(int, int)> TransferProgressBar::Report() const {
    QProgressBar* bar = bar_;
    if (!bar) return {};
    return [bar](int value, int maximum) {
        QMetaObject::invokeMethod(bar, [bar, value, maximum] {
            bar->setMaximum(maximum);
            bar->setValue(value);
        });
    };
}
