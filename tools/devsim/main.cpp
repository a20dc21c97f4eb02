// devsim: the simulated device on a pseudo-terminal.
//   devsim --link PATH [--log FILE] [--address N] [--busy N] [--sixty-blocks] [--fault KIND,...]...
//          [--baud N] [--turnaround MS] [--frozen] [--slots C1,..,C8] [--input P=PERCENT]...
//          [--di A=0|1]... [--coil A=0|1]...
// Prints the terminal's path, makes PATH a symbolic link to it and answers requests until it is
// stopped by SIGTERM or SIGINT (the link is then removed). With --baud each reply byte reaches the
// terminal no sooner than the line at that speed would carry it, after the turnaround.

#include "DeviceLayouts.h"
#include "FaultOptions.h"
#include "LineTiming.h"
#include "ModbusFrame.h"
#include "SimDevice.h"

#include <QDateTime>
#include <QFile>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

volatile std::sig_atomic_t stopRequested = 0;
void OnSignal(int) {
    stopRequested = 1;
}

// A frame whose length its head does not fix ends after this much line silence.
constexpr Micros Silence = std::chrono::milliseconds(20);
constexpr Micros Idle = std::chrono::milliseconds(200); // the wait with nothing to do

Micros Now() {
    return std::chrono::duration_cast<Micros>(std::chrono::steady_clock::now().time_since_epoch());
}

void Log(QFile& log, const char* dir, const std::vector<uint8_t>& bytes) {
    if (!log.isOpen()) return;
    QByteArray line =
        QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss.zzz ")).toLatin1() + dir + ' ' +
        QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())).toHex(' ') + '\n';
    log.write(line);
    log.flush();
}

int Usage() {
    std::fprintf(stderr,
                 "usage: devsim --link PATH [--log FILE] [--address N] [--busy N] [--sixty-blocks]\n"
                 "              [--fault KIND[,function=F][,block=B][,count=N][,code=C]]...\n"
                 "              [--baud N] [--turnaround MS] [--frozen]\n"
                 "KIND: no-reply, bad-crc, short, exception, lost\n"
                 "--baud N: replies take their time on a line of N baud, 11 bits a byte (default: at once)\n"
                 "--turnaround MS: the device's think time before each reply (default 0)\n"
                 "--frozen: live values keep still between reads\n"
                 "--slots C1,..,C8: the module codes of the slots (15 for a БРОК controller)\n"
                 "--input P=PERCENT, --di A=0|1, --coil A=0|1: a live value, a discrete input, a coil\n");
    return 2;
}

// "A=V": an address and a value within their ranges.
bool ParsePair(const std::string& text, long maxValue, int& a, int& v) {
    const size_t eq = text.find('=');
    return eq != std::string::npos && ParseNumber(text.substr(0, eq), 0, 65535, a) &&
           ParseNumber(text.substr(eq + 1), 0, maxValue, v);
}

// "C1,..,Cn": up to eight slot codes 0..15.
bool ParseSlots(const std::string& text, SimDevice& device) {
    std::array<uint8_t, 8> codes{};
    std::copy_n(device.Composition().begin() + Composition::SlotCodes, 8, codes.begin());
    size_t start = 0;
    for (int slot = 0; slot < 8 && start <= text.size(); ++slot) {
        const size_t comma = std::min(text.find(',', start), text.size());
        int code = 0;
        if (!ParseNumber(text.substr(start, comma - start), 0, 15, code)) return false;
        codes[size_t(slot)] = uint8_t(code);
        start = comma + 1;
    }
    if (start <= text.size()) return false;
    device.SetSlotCodes(codes);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    SimDevice device;
    LineTiming timing;
    std::string link, logPath;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        std::string error;
        if (a == "--link" && hasValue)
            link = argv[++i];
        else if (a == "--log" && hasValue)
            logPath = argv[++i];
        else if (a == "--address" && hasValue)
            device.SetAddress(std::atoi(argv[++i]));
        else if (a == "--busy" && hasValue)
            device.Faults().busyPolls = std::atoi(argv[++i]);
        else if (a == "--baud" && hasValue) {
            if (!ParseNumber(argv[++i], 1, 10000000, timing.baud)) return Usage();
        } else if (a == "--turnaround" && hasValue) {
            if (!ParseNumber(argv[++i], 0, 60000, timing.turnaroundMs)) return Usage();
        } else if (a == "--slots" && hasValue) {
            if (!ParseSlots(argv[++i], device)) return Usage();
        } else if ((a == "--input" || a == "--di" || a == "--coil") && hasValue) {
            int address = 0, value = 0;
            if (!ParsePair(argv[++i], a == "--input" ? 100 : 1, address, value)) return Usage();
            if (a == "--input")
                device.SetInput(address, value);
            else if (a == "--di")
                device.SetDiscreteInput(address, value != 0);
            else
                device.SetCoil(address, value != 0);
        } else if (a == "--frozen")
            device.SetFrozen(true);
        else if (a == "--sixty-blocks")
            device.Faults().sixtyBlocks = true;
        else if (a == "--fault" && hasValue) {
            if (!ParseFault(argv[++i], device.Faults(), &error)) {
                std::fprintf(stderr, "devsim: %s\n", error.c_str());
                return 2;
            }
        } else
            return Usage();
    }
    if (link.empty()) return Usage();

    // Stop cleanly from the moment the link exists.
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);

    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::perror("devsim: pseudo-terminal");
        return 1;
    }
    const std::string slave = ptsname(master);
    // Keep the terminal side open and raw, so the line stays up between clients.
    const int slaveFd = open(slave.c_str(), O_RDWR | O_NOCTTY);
    termios tio{};
    if (slaveFd >= 0 && tcgetattr(slaveFd, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(slaveFd, TCSANOW, &tio);
    }
    unlink(link.c_str());
    if (symlink(slave.c_str(), link.c_str()) != 0) {
        std::perror("devsim: link");
        return 1;
    }
    QFile log(QString::fromStdString(logPath));
    if (!logPath.empty() && !log.open(QIODevice::WriteOnly | QIODevice::Append))
        std::fprintf(stderr, "devsim: cannot write the log\n");
    std::printf("%s\n", slave.c_str());
    std::fflush(stdout);

    std::vector<uint8_t> buf;
    Micros lastByte{0}; // when the last request byte arrived
    ReplyLine line;
    while (!stopRequested && !device.PortLost()) {
        // Sleep until a byte comes, the request ends in silence or a reply byte is due.
        Micros now = Now();
        Micros wait = buf.empty() ? Idle : std::max(Micros(0), lastByte + Silence - now);
        if (const auto due = line.NextArrival()) wait = std::min(wait, std::max(Micros(0), *due - now));
        const timespec ts{time_t(wait.count() / 1000000), long(wait.count() % 1000000 * 1000)};
        pollfd p{master, POLLIN, 0};
        const int n = ppoll(&p, 1, &ts, nullptr);
        if (n < 0 && errno != EINTR) break;
        now = Now();
        if (n > 0 && (p.revents & POLLIN)) {
            uint8_t chunk[512];
            const ssize_t got = read(master, chunk, sizeof chunk);
            if (got > 0) {
                buf.insert(buf.end(), chunk, chunk + got);
                lastByte = now;
            }
        }
        // Serve every complete frame; an unknown length ends at a silence.
        const bool silent = now - lastByte >= Silence;
        while (!buf.empty()) {
            int len = SimDevice::RequestLength(buf);
            if (len < 0 && silent) len = int(buf.size());
            if (len <= 0 || int(buf.size()) < len) break;
            std::vector<uint8_t> req(buf.begin(), buf.begin() + len);
            buf.erase(buf.begin(), buf.begin() + len);
            Log(log, "->", req);
            if (auto reply = device.Handle(req)) {
                Log(log, "<-", *reply);
                line.Send(timing, *reply, lastByte);
            }
        }
        // A fixed-length frame that never completes (a broken request) is dropped at silence.
        if (silent) buf.clear();
        // Pass on the reply bytes that have arrived by now.
        if (const int due = line.ArrivedBy(now); due > 0) {
            uint8_t out[Frame::MaxFrame];
            const int k = std::min(due, int(sizeof out));
            line.Take(out, k);
            if (write(master, out, size_t(k)) < 0) line.Clear(); // the rest of a broken reply is lost too
        }
    }
    unlink(link.c_str());
    if (slaveFd >= 0) close(slaveFd);
    close(master);
    return 0;
}
