#include "Comportclass.h"

#include "ModbusFrame.h"
#include "serial/QtSerialLink.h"

#include <algorithm>
#include <array>

Q_LOGGING_CATEGORY(lcBus, "veg.bus", QtWarningMsg)

namespace {

QString Hex(std::span<const uint8_t> bytes) {
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())).toHex(' '));
}

bool Retried(int r) {
    return r == ObmBadLength || r == ObmNoReply || r == ObmBadCrc;
}

} // namespace

QString ObmResultText(int result) {
    static const struct {
        int code;
        const char* text;
    } texts[] = {
        {1, "Функция не поддерживается прибором"},
        {2, "Неверный адрес данных"},
        {3, "Неверное значение данных"},
        {4, "Отказ прибора"},
        {6, "Прибор занят записью"},
        {7, "Прибор не может выполнить запрос"},
        {ObmBadLength, "Неверная длина ответа"},
        {ObmNoReply, "Прибор не отвечает"},
        {ObmBadCrc, "Ошибка контрольной суммы ответа"},
        {ObmOtherAddress, "Ответ от другого прибора"},
        {ObmOtherFunction, "Ответ на другой запрос"},
        {ObmWriteFailed, "Ошибка передачи в COM-порт"},
        {ObmPortLost, "COM-порт недоступен"},
        {ObmNoPort, "Не выбран COM-порт."},
    };
    if (result == 0) return QString();
    for (const auto& t : texts)
        if (t.code == result) return QString::fromUtf8(t.text);
    return QStringLiteral("Ошибка обмена, код %1").arg(result);
}

TComPortClass::TComPortClass()
    : executor_(std::make_unique<InlineExecutor>()), link_(std::make_unique<QtSerialLink>()),
      clock_(&RealClock::Instance()) {}

TComPortClass::~TComPortClass() {
    // The link goes where it was used.
    executor_->Call([this] {
        link_.reset();
        return 0;
    });
}

void TComPortClass::UseExchangeThread(std::function<void()> hold, std::function<void()> release) {
    if (dynamic_cast<ExchangeThread*>(executor_.get())) return;
    ClosePort();
    executor_ = std::make_unique<ExchangeThread>(std::move(hold), std::move(release));
}

void TComPortClass::SetSpeed(int baud) {
    if (baud == 9600 || baud == 19200 || baud == 57600 || baud == 115200) Apply([&] { speed_ = baud; });
}

void TComPortClass::SetExchangeSettings(const ExchangeSettings& s) {
    SetPovt1(s.povt1);
    SetPovt2(s.povt2);
    SetTransmitDelay(s.transmitDelay);
}

void TComPortClass::SetLink(std::unique_ptr<SerialLink> link) {
    executor_->Call([&] {
        link_ = std::move(link);
        chosen_ = false;
        return 0;
    });
}

bool TComPortClass::OpenPort(QString* error) {
    QString why;
    const bool opened = executor_->Call([&] {
        chosen_ = link_->Open(GetLinkSettings(), &why);
        return int(chosen_);
    });
    if (error) *error = why;
    return opened;
}

bool TComPortClass::OpenPort(const LinkSettings& settings, QString* error) {
    const LinkSettings before = GetLinkSettings();
    const bool wasChosen = chosen_;
    ClosePort();
    TakeLinkSettings(settings);
    if (OpenPort(error)) return true;
    // The port that worked is kept: closed only to let the same device open with new settings.
    TakeLinkSettings(before);
    if (wasChosen) OpenPort(nullptr);
    return false;
}

void TComPortClass::TakeLinkSettings(const LinkSettings& settings) {
    SetPortName(settings.portName);
    SetSpeed(settings.baud);
    SetParity(settings.parity);
    SetStopBits(settings.stopBits);
}

void TComPortClass::ClosePort() {
    executor_->Call([this] {
        chosen_ = false;
        if (link_) link_->Close();
        return 0;
    });
}

bool TComPortClass::IsOpen() const {
    return chosen_;
}

bool TComPortClass::Reopen() {
    link_->Close();
    return link_->Open(GetLinkSettings(), nullptr);
}

void TComPortClass::Delay(int ms) {
    if (executor_->OnExchangeThread()) {
        clock_->SleepMs(ms);
        return;
    }
    executor_->Run([&] {
        clock_->SleepMs(ms);
        return 0;
    });
}

int TComPortClass::ReplyTimeoutMs(int bytes) const {
    // The device answers within AnswerMs; then the frame itself at 11 bits a byte.
    return AnswerMs + (bytes * 11 * 1000 + speed_ - 1) / speed_;
}

void TComPortClass::DrainLateReply() {
    uint8_t byte = 0;
    for (;;) {
        const int left = int(lateUntil_ - clock_->NowMs());
        if (left <= 0 || link_->Read(&byte, 1, std::min(AnswerMs, left)) <= 0) break;
    }
    lateUntil_ = 0;
}

int TComPortClass::Obmen(int devNum, int func, int dataLen, const uint8_t* data, std::span<uint8_t> reply) {
    if (!executor_->OnExchangeThread())
        return executor_->Run([&] { return Exchange(devNum, func, dataLen, data, reply); });
    return Exchange(devNum, func, dataLen, data, reply);
}

int TComPortClass::Exchange(int devNum, int func, int dataLen, const uint8_t* data,
                            std::span<uint8_t> reply) {
    if (!chosen_) return ObmNoPort;
    // A device number outside the bus addresses 1..247 would go out as a broadcast (address 0)
    // or to no device: refused like a function outside the table.
    if (!Frame::Allowed(func) || devNum < 0 || devNum > 246 || dataLen < 0 || dataLen > Frame::MaxData ||
        (dataLen > 0 && !data))
        return ObmNotAllowed;
    const bool broadcast = func == Frame::Broadcast;
    const auto frame =
        Frame::Build(broadcast ? 0 : devNum + 1, func, std::span<const uint8_t>(data, size_t(dataLen)));
    bool reopened = false;
    if (!link_->IsOpen()) {
        if (!Reopen()) return ObmPortLost;
        reopened = true;
    }
    int r = ObmNoReply;
    const int attempts = povt1_ + povt2_;
    for (int i = 0; i < attempts; ++i) {
        if (i > 0 && attemptStop_ && attemptStop_()) break;
        DrainLateReply();
        if (i >= povt1_) {
            link_->Purge();
            Delay(SecondStagePauseMs);
        }
        r = Attempt(devNum, func, frame, reply);
        if (r == ObmPortLost) {
            // A dead descriptor is dropped at once; the same attempt is made again on the port
            // opened anew, once per request.
            link_->Close();
            if (reopened || !Reopen()) return ObmPortLost;
            reopened = true;
            --i;
            continue;
        }
        if (broadcast || !Retried(r)) break;
    }
    return r;
}

int TComPortClass::Attempt(int devNum, int func, const std::vector<uint8_t>& frame,
                           std::span<uint8_t> reply) {
    link_->Purge();
    if (transmitDelay_ > 0) Delay(transmitDelay_);
    qCDebug(lcBus).noquote() << "->" << Hex(frame);
    switch (link_->Write(frame.data(), int(frame.size()))) {
    case LinkStatus::Ok:
        break;
    case LinkStatus::Failed:
        return ObmWriteFailed;
    case LinkStatus::Lost:
        return ObmPortLost;
    }
    if (func == Frame::Broadcast) return ObmOk;

    std::array<uint8_t, Frame::MaxFrame> buf{};
    int got = link_->Read(buf.data(), 3, ReplyTimeoutMs(3));
    if (got < 0) return ObmPortLost;
    int len = got >= 2 ? Frame::ReplyLength(func, int(frame.size()), std::span(buf.data(), size_t(got))) : 0;
    if (got == 3 && len > 3) {
        const int want = std::min(len, Frame::MaxFrame) - 3;
        const int more = link_->Read(buf.data() + 3, want, ReplyTimeoutMs(want));
        if (more < 0) return ObmPortLost;
        got += more;
    }
    if (got > 0) qCDebug(lcBus).noquote() << "<-" << Hex(std::span(buf.data(), size_t(got)));
    // A reply that did not come whole in time may still be on its way: the next attempt, of this
    // request or the next, drains it first.
    if (got < 3 || got < len)
        lateUntil_ = clock_->NowMs() + ReplyTimeoutMs(int(std::min(reply.size(), size_t(Frame::MaxFrame))));
    if (got == 0) return ObmNoReply;
    if (got < len || len < 4 || got < 4) return ObmBadLength;
    const auto rep = std::span<const uint8_t>(buf.data(), size_t(len));
    if (!Frame::CrcOk(rep)) return ObmBadCrc;
    if (rep[0] != uint8_t(devNum + 1)) return ObmOtherAddress;
    // A device exception is 1..127; anything else would pass for one of our own results.
    if (rep[1] == uint8_t(func | 0x80)) return rep[2] >= 1 && rep[2] <= 127 ? int(rep[2]) : int(ObmBadLength);
    if (rep[1] != uint8_t(func)) return ObmOtherFunction;
    // A read's reply carries exactly the bytes its request asked for; any other count, even with
    // a good CRC, is a malformed reply, never data.
    const int count = Frame::ReadByteCount(func, std::span(frame).subspan(2, frame.size() - 4));
    if (count >= 0 && rep[2] != count) return ObmBadLength;
    if (size_t(len) > reply.size()) return ObmBadLength;
    std::copy(rep.begin(), rep.end(), reply.begin());
    return ObmOk;
}

QString TComPortClass::ObmErrorText(int devNum, int result) const {
    if (result == 0 || result == ObmNoPort) return ObmResultText(result);
    return QStringLiteral("%1.\nУстройство %2, порт %3")
        .arg(ObmResultText(result))
        .arg(devNum + 1)
        .arg(portName_);
}
