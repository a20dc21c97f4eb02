#pragma once
// The exchange object: the port settings, one request and its reply with retries, result texts.
//
// Settings are never shared between threads: the exchange thread reads them inside its jobs, and
// every setter writes them through the executor's Call, on the exchange thread between two jobs,
// while the window thread waits. A setting changed during a transfer therefore takes effect after
// it, never in the middle of a request. The getters belong to the window thread.

#include "Clock.h"
#include "ExchangeExecutor.h"
#include "serial/SerialLink.h"

#include <QLoggingCategory>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

Q_DECLARE_LOGGING_CATEGORY(lcBus) // "veg.bus": every frame in hexadecimal, off by default

// Exchange results: 0 done; 1..127 the device's exception code (1 also: function not allowed);
// 129..135 the exchange's own failures; 256 no port.
enum ObmResult : int {
    ObmOk = 0,
    ObmNotAllowed = 1,
    ObmBusy = 6,
    ObmBadLength = 129, // reply too short or malformed, or longer than the caller's buffer
    ObmNoReply = 130,
    ObmBadCrc = 131,
    ObmOtherAddress = 132,
    ObmOtherFunction = 133,
    ObmWriteFailed = 134, // the port refused the request
    ObmPortLost = 135,
    ObmNoPort = 256,
};

// The text of a result, without the device and port.
QString ObmResultText(int result);

// The exchange-settings dialog's values.
struct ExchangeSettings {
    int povt1 = 5;
    int povt2 = 2;
    int transmitDelay = 0;
};

class TComPortClass {
  public:
    TComPortClass();
    ~TComPortClass();

    int GetSpeed() const { return speed_; }
    void SetSpeed(int baud); // 9600, 19200, 57600 or 115200; anything else is ignored
    LinkParity GetParity() const { return parity_; }
    void SetParity(LinkParity p) {
        Apply([&] { parity_ = p; });
    }
    int GetStopBits() const { return stopBits_; }
    void SetStopBits(int bits) {
        Apply([&] { stopBits_ = bits == 1 ? 1 : 2; });
    }
    QString GetPortName() const { return portName_; }
    void SetPortName(const QString& name) {
        Apply([&] { portName_ = name; });
    }
    LinkSettings GetLinkSettings() const { return LinkSettings{portName_, speed_, parity_, stopBits_}; }
    // First-stage attempts (1 or 5), also the attempts of a block write.
    int GetPovt1() const { return povt1_; }
    void SetPovt1(int n) {
        Apply([&] { povt1_ = n == 1 ? 1 : 5; });
    }
    // Second-stage attempts (0..10): after the first stage fails, the port is purged and each
    // further attempt follows a pause of SecondStagePauseMs.
    int GetPovt2() const { return povt2_; }
    void SetPovt2(int n) {
        Apply([&] { povt2_ = n < 0 ? 0 : n > 10 ? 10 : n; });
    }
    // Pause before each request frame (0..1000 ms), for slow line converters.
    int GetTransmitDelay() const { return transmitDelay_; }
    void SetTransmitDelay(int ms) {
        Apply([&] { transmitDelay_ = ms < 0 ? 0 : ms > 1000 ? 1000 : ms; });
    }
    ExchangeSettings GetExchangeSettings() const { return {povt1_, povt2_, transmitDelay_}; }
    void SetExchangeSettings(const ExchangeSettings& s);

    static constexpr int SecondStagePauseMs = 100;
    // The device starts its reply within this time after the request.
    static constexpr int AnswerMs = 100;

    // Replace the transport or the clock (tests: the simulated device and a virtual clock).
    void SetLink(std::unique_ptr<SerialLink> link);
    SerialLink& Link() { return *link_; }
    void SetClock(Clock* clock) { clock_ = clock ? clock : &RealClock::Instance(); }
    Clock& GetClock() { return *clock_; }

    // The program moves the exchange to a thread of its own, which from then on owns the link;
    // without it every exchange runs on the calling thread (unit tests). hold and release
    // bracket every Run's wait (the program holds the user's input there).
    void UseExchangeThread(std::function<void()> hold, std::function<void()> release);
    ExchangeExecutor& Executor() { return *executor_; }
    // Runs a sequence of requests on the exchange thread (see ExchangeExecutor::Run).
    int Run(const std::function<int()>& job) { return executor_->Run(job); }
    // A transfer is running.
    bool Busy() const { return executor_->Busy(); }

    // Opens the port with the current settings; from then on the port counts as chosen.
    bool OpenPort(QString* error);
    // Closes the port, takes settings and opens it with them (the port dialog's OK). When they do
    // not open, the previous settings are taken back and a port chosen before is opened again.
    bool OpenPort(const LinkSettings& settings, QString* error);
    void ClosePort();
    bool IsOpen() const;

    // One request to device devNum (bus address devNum + 1) and its reply, with retries on no
    // reply, a short reply and a checksum error. On 0, reply holds the whole reply frame from
    // its address byte on. The reply to a read (functions 1 to 4) carries exactly the byte count
    // its request asked for, else 129. After an attempt whose reply did not come whole in time,
    // the next attempt (a retry, or the next request's) first drains the line until it is quiet
    // for AnswerMs, for at most one reply time (of reply.size() bytes) from that time-out, so a
    // late reply is never taken for another attempt's. 'F' goes to address 0 and reads no reply. A function
    // outside the table, or a devNum outside 0..246, gives 1 and sends nothing. Called off the exchange
    // thread, it runs there (ExchangeExecutor::Run).
    // A port found lost is closed at once. The chosen port is opened again once per request
    // (before it is sent, or after the loss showed during it); 135 only if it is still gone.
    int Obmen(int devNum, int func, int dataLen, const uint8_t* data, std::span<uint8_t> reply);

    // A check made before every further attempt of a request, on the exchange thread: once it
    // says stop, the request ends with its last result. A view being closed uses it, so that
    // closing waits for one attempt, not for all its retries. Empty: no check.
    void SetAttemptStop(std::function<bool()> stop) {
        Apply([&] { attemptStop_ = std::move(stop); });
    }

    // The whole text reported for a result of a request to devNum: the result's text, the device
    // and the port; empty for 0.
    QString ObmErrorText(int devNum, int result) const;

    // Waits on the exchange's clock; off the exchange thread the wait runs there, so a window
    // keeps painting.
    void Delay(int ms);

  private:
    void Apply(const std::function<void()>& write) {
        executor_->Call([&] {
            write();
            return 0;
        });
    }
    void TakeLinkSettings(const LinkSettings& settings);
    int Exchange(int devNum, int func, int dataLen, const uint8_t* data, std::span<uint8_t> reply);
    int Attempt(int devNum, int func, const std::vector<uint8_t>& frame, std::span<uint8_t> reply);
    void DrainLateReply();
    bool Reopen();
    int ReplyTimeoutMs(int bytes) const;

    int speed_ = 9600;
    LinkParity parity_ = LinkParity::None;
    int stopBits_ = 2;
    QString portName_ = QStringLiteral("COM1");
    int povt1_ = 5;
    int povt2_ = 2;
    int transmitDelay_ = 0;
    bool chosen_ = false; // the user confirmed a port that opened
    std::function<bool()> attemptStop_;
    int64_t lateUntil_ = 0; // on the exchange's clock: a late reply may come until then
    std::unique_ptr<ExchangeExecutor> executor_;
    std::unique_ptr<SerialLink> link_;
    Clock* clock_;
};
