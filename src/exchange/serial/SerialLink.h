#pragma once
// The byte transport under the exchange: a serial port, or the in-process simulated device.

#include <QString>
#include <cstdint>

enum class LinkParity { None, Even, Odd };

struct LinkSettings {
    QString portName;
    int baud = 9600;
    LinkParity parity = LinkParity::None;
    int stopBits = 2; // 1 or 2
};

enum class LinkStatus { Ok, Failed, Lost };

class SerialLink {
  public:
    virtual ~SerialLink() = default;
    virtual bool Open(const LinkSettings& settings, QString* error) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Sends all bytes. Failed: the port refused them; Lost: the port is gone.
    virtual LinkStatus Write(const uint8_t* data, int len) = 0;
    // Reads up to len bytes, waiting at most timeoutMs for them; returns the count read
    // (fewer on a time-out), or -1 when the port is gone.
    virtual int Read(uint8_t* data, int len, int timeoutMs) = 0;
    // Drops whatever was received and not yet read.
    virtual void Purge() = 0;
};
