#include "QtSerialLink.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QSerialPort>
#include <QSerialPortInfo>

namespace {

// Qt tells a port that another program holds (its lock file, or its exclusive use) as a permission
// error, like a device the user may not open at all or a lock file it cannot make; only those are
// a matter of rights.
bool HeldByAnother(const QSerialPort& port) {
    if (port.error() != QSerialPort::PermissionError ||
        port.errorString() == QSerialPort::tr("Permission error while creating lock file"))
        return false;
    const QFileInfo device(QSerialPortInfo(port).systemLocation());
    return !device.exists() || (device.isReadable() && device.isWritable());
}

} // namespace

QtSerialLink::QtSerialLink() = default;

QtSerialLink::~QtSerialLink() {
    Close();
}

bool QtSerialLink::Open(const LinkSettings& s, QString* error) {
    Close();
    // Made here, on the thread that uses it: a serial port belongs to the thread that opened it.
    port_ = std::make_unique<QSerialPort>();
    port_->setPortName(s.portName);
    bool ok = port_->open(QIODevice::ReadWrite);
    if (ok) {
        const auto parity = s.parity == LinkParity::Even  ? QSerialPort::EvenParity
                            : s.parity == LinkParity::Odd ? QSerialPort::OddParity
                                                          : QSerialPort::NoParity;
        ok = port_->setBaudRate(s.baud) && port_->setDataBits(QSerialPort::Data8) &&
             port_->setParity(parity) &&
             port_->setStopBits(s.stopBits == 1 ? QSerialPort::OneStop : QSerialPort::TwoStop) &&
             port_->setFlowControl(QSerialPort::NoFlowControl);
    }
    if (!ok) {
        if (error)
            *error =
                HeldByAnother(*port_) ? QStringLiteral("Порт занят другой программой") : port_->errorString();
        port_.reset();
        return false;
    }
    port_->clear();
    return true;
}

void QtSerialLink::Close() {
    port_.reset();
}

bool QtSerialLink::IsOpen() const {
    return port_ && port_->isOpen();
}

bool QtSerialLink::Lost() const {
    if (!port_) return true;
    const auto e = port_->error();
    return !port_->isOpen() || e == QSerialPort::ResourceError || e == QSerialPort::PermissionError ||
           e == QSerialPort::DeviceNotFoundError;
}

LinkStatus QtSerialLink::Write(const uint8_t* data, int len) {
    if (Lost()) return LinkStatus::Lost;
    port_->clearError();
    qint64 done = 0;
    while (done < len) {
        const qint64 n = port_->write(reinterpret_cast<const char*>(data) + done, len - done);
        if (n < 0) return Lost() ? LinkStatus::Lost : LinkStatus::Failed;
        done += n;
    }
    // Bounded by the frame time at the slowest speed with a wide margin.
    while (port_->bytesToWrite() > 0) {
        if (!port_->waitForBytesWritten(1000)) return Lost() ? LinkStatus::Lost : LinkStatus::Failed;
    }
    return LinkStatus::Ok;
}

int QtSerialLink::Read(uint8_t* data, int len, int timeoutMs) {
    if (Lost()) return -1;
    QDeadlineTimer deadline(timeoutMs);
    int got = 0;
    while (got < len) {
        if (port_->bytesAvailable() == 0) {
            const qint64 left = deadline.remainingTime();
            if (left <= 0 || !port_->waitForReadyRead(int(left))) {
                if (Lost()) return -1;
                if (port_->bytesAvailable() == 0) break;
            }
        }
        const qint64 n = port_->read(reinterpret_cast<char*>(data) + got, len - got);
        if (n < 0) return -1;
        got += int(n);
    }
    return got;
}

void QtSerialLink::Purge() {
    if (IsOpen()) {
        port_->clear();
        port_->readAll();
    }
}
