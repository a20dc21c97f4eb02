// Exchange benchmark over a pseudo-terminal against devsim: reads 12 blocks, then writes 12
// blocks with their commits. Prints the wall time, the pauses the write sequence must make,
// their ratio, and CPU time / wall time.
//   exchange_bench [--speed BAUD] [--devsim PATH]

#include "BlockExchange.h"
#include "Comportclass.h"
#include "DevsimProcess.h"

#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

// Process CPU time.
double CpuSeconds() {
    return double(std::clock()) / CLOCKS_PER_SEC;
}

double Now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int speed = 115200;
    QString program = DEVSIM_PATH;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == "--speed")
            speed = args[++i].toInt();
        else if (args[i] == "--devsim")
            program = args[++i];
    }
    DevsimProcess devsim;
    QString error;
    if (!devsim.Start(program, {}, &error)) {
        std::fprintf(stderr, "cannot start devsim: %s\n", qPrintable(error));
        return 1;
    }
    TComPortClass port;
    port.SetPortName(devsim.Link());
    port.SetSpeed(speed);
    if (!port.OpenPort(&error)) {
        std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(devsim.Link()), qPrintable(error));
        return 1;
    }

    BlockWritePlan plan;
    for (int id = 20; id <= 31; ++id)
        plan.blockIds.push_back(id);
    plan.pack = [](int i, std::span<uint8_t> image) {
        for (size_t k = 0; k < image.size(); ++k)
            image[k] = uint8_t(i + k);
    };
    const double pauses =
        double(plan.blockIds.size()) * (plan.pauseBeforeBlockMs + plan.pauseAfterWriteMs) / 1000.0;

    const double wall0 = Now(), cpu0 = CpuSeconds();
    std::vector<uint8_t> reply(256);
    for (int id : plan.blockIds) {
        if (const int r = ReadBlock(port, 0, id, reply)) {
            std::fprintf(stderr, "read of block %d failed: %d\n", id, r);
            return 1;
        }
    }
    const double readWall = Now() - wall0;
    int devNum = 0;
    if (const int r = BlockWriteCommit(port, devNum, plan)) {
        std::fprintf(stderr, "write failed: %d\n", r);
        return 1;
    }
    const double wall = Now() - wall0, cpu = CpuSeconds() - cpu0;
    std::printf("speed                 %d baud\n", speed);
    std::printf("read 12 blocks        %.3f s\n", readWall);
    std::printf("wall time             %.3f s\n", wall);
    std::printf("pauses of the writes  %.3f s\n", pauses);
    std::printf("wall / pauses         %.3f\n", wall / pauses);
    std::printf("cpu / wall            %.4f\n", cpu / wall);
    return 0;
}
