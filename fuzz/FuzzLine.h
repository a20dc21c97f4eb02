#pragma once
// The line of a fuzz target: a port whose reads hand out fuzz bytes, on a virtual clock.
//
// ReplayLink hands out one stream in order; a read past its end times out at once. ChunkLink
// gives every request attempt a reply of its own: each write moves on to the next chunk.
// SplitChunks cuts fuzz bytes into chunks, each a length byte and that many bytes (the last one
// may be cut short); with mendCrc each chunk ends in its right CRC, so that damaged lengths and
// fields get past the checksum to the readers behind it.
// PollOnce runs one tick of a poll service on such a line and hands over its replies, or none
// when a request failed, as a view gets them.

#include "Clock.h"
#include "Comportclass.h"
#include "MendCrc.h"
#include "PollService.h"
#include "serial/SerialLink.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

using Chunks = std::vector<std::vector<uint8_t>>;

class ChunkLink : public SerialLink {
  public:
    // advanceOnWrite false: the chunks are one stream, a retry reads the bytes that follow.
    ChunkLink(Chunks chunks, VirtualClock& clock, bool advanceOnWrite)
        : chunks_(std::move(chunks)), clock_(clock), advance_(advanceOnWrite) {}
    bool Open(const LinkSettings&, QString*) override { return open_ = true; }
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    LinkStatus Write(const uint8_t*, int) override {
        if (advance_ && written_++ > 0) ++chunk_, pos_ = 0;
        return LinkStatus::Ok;
    }
    int Read(uint8_t* out, int len, int timeoutMs) override {
        int n = 0;
        while (n < len && chunk_ < chunks_.size()) {
            const auto& c = chunks_[chunk_];
            if (pos_ < c.size()) {
                out[n++] = c[pos_++];
            } else if (advance_) {
                break;
            } else {
                ++chunk_, pos_ = 0;
            }
        }
        if (n < len) clock_.Advance(timeoutMs);
        return n;
    }
    void Purge() override {} // keep the rest for the attempts that follow

  private:
    Chunks chunks_;
    VirtualClock& clock_;
    bool advance_;
    size_t chunk_ = 0, pos_ = 0;
    int written_ = 0;
    bool open_ = false;
};

inline Chunks SplitChunks(const uint8_t* data, size_t size, bool mendCrc) {
    Chunks chunks;
    for (size_t i = 0; i < size;) {
        const size_t n = std::min<size_t>(data[i], size - i - 1);
        chunks.emplace_back(data + i + 1, data + i + 1 + n);
        if (mendCrc) MendCrc(chunks.back());
        i += 1 + n;
    }
    return chunks;
}

// A port on the chunks, one attempt a request (no retries), so that chunk k answers request k.
struct FuzzPort {
    VirtualClock clock;
    TComPortClass port;
    explicit FuzzPort(Chunks chunks, bool advanceOnWrite = true) {
        port.SetClock(&clock);
        port.SetLink(std::make_unique<ChunkLink>(std::move(chunks), clock, advanceOnWrite));
        port.OpenPort(nullptr);
    }
    void OneAttempt() {
        port.SetPovt1(1);
        port.SetPovt2(0);
    }
};

inline std::optional<PollReplies> PollOnce(TComPortClass& port, std::vector<PollRequest> requests) {
    PollService poll(port);
    std::optional<PollReplies> got;
    QObject::connect(&poll, &PollService::Polled, [&got](const PollReplies& replies) { got = replies; });
    poll.SetRequests(std::move(requests));
    poll.Tick();
    return got;
}
