#pragma once
// SerialLink over QSerialPort, used by the program: blocking calls, all on the exchange thread.

#include "SerialLink.h"

#include <memory>

class QSerialPort;

class QtSerialLink : public SerialLink {
  public:
    QtSerialLink();
    ~QtSerialLink() override;
    bool Open(const LinkSettings& settings, QString* error) override;
    void Close() override;
    bool IsOpen() const override;
    LinkStatus Write(const uint8_t* data, int len) override;
    int Read(uint8_t* data, int len, int timeoutMs) override;
    void Purge() override;

  private:
    bool Lost() const;
    std::unique_ptr<QSerialPort> port_;
};
