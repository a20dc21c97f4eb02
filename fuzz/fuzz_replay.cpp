// Runs a fuzz target without libFuzzer: every seed input once, then a fixed-seed stream of
// mutations of them, bounded by a run count and a time limit.
//   fuzz_replay_<target> [--runs N] [--seconds S] DIR...
// A seed file ending in ".hex" holds hexadecimal bytes ('#' starts a comment); any other file
// is taken byte for byte.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

using Bytes = std::vector<uint8_t>;

Bytes FromHex(const std::string& text) {
    Bytes out;
    int high = -1;
    bool comment = false;
    for (char c : text) {
        if (c == '\n') comment = false;
        if (comment || c == '#') {
            comment = true;
            continue;
        }
        const int v = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
        if (v < 0) continue;
        if (high < 0) {
            high = v;
        } else {
            out.push_back(uint8_t(high * 16 + v));
            high = -1;
        }
    }
    return out;
}

Bytes Load(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (path.extension() == ".hex") return FromHex(text);
    return Bytes(text.begin(), text.end());
}

// One to four stacked changes: flip a bit, set a byte, copy a run inside the input, insert,
// erase, cut the end, or splice in a piece of another seed. Changes that keep the size come
// twice as often, as lengths are checked first in frames and files alike.
void Mutate(Bytes& b, const std::vector<Bytes>& seeds, std::mt19937& rng) {
    const auto below = [&](size_t n) { return n == 0 ? size_t(0) : size_t(rng() % n); };
    static const uint8_t special[] = {0x00, 0x01, 0x02, 0x03, 0x7F, 0x80, 0xFE, 0xFF, 0x20, 0x2C};
    const int count = 1 + int(rng() % 4);
    for (int i = 0; i < count; ++i) {
        const unsigned op = rng() % 12;
        switch (op < 8 ? op % 4 : op - 4) {
        case 0:
            if (!b.empty()) b[below(b.size())] ^= uint8_t(1u << (rng() % 8));
            break;
        case 1:
            if (!b.empty()) b[below(b.size())] = uint8_t(rng());
            break;
        case 2:
            if (!b.empty()) b[below(b.size())] = special[rng() % sizeof special];
            break;
        case 3:
            if (b.size() > 1) {
                const size_t from = below(b.size()), to = below(b.size());
                const size_t n = 1 + below(std::min(b.size() - std::max(from, to), size_t(16)));
                std::memmove(b.data() + to, b.data() + from, n);
            }
            break;
        case 4:
            b.insert(b.begin() + std::ptrdiff_t(below(b.size() + 1)), 1 + below(4), uint8_t(rng()));
            break;
        case 5:
            if (!b.empty()) {
                const size_t at = below(b.size());
                b.erase(b.begin() + std::ptrdiff_t(at),
                        b.begin() + std::ptrdiff_t(at + 1 + below(std::min(b.size() - at, size_t(4)))));
            }
            break;
        case 6:
            b.resize(below(b.size() + 1));
            break;
        case 7: {
            const Bytes& other = seeds[below(seeds.size())];
            if (other.empty()) break;
            const size_t from = below(other.size()), n = 1 + below(std::min(other.size() - from, size_t(32)));
            const size_t at = below(b.size() + 1);
            b.insert(b.begin() + std::ptrdiff_t(at), other.begin() + std::ptrdiff_t(from),
                     other.begin() + std::ptrdiff_t(from + n));
            break;
        }
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    long runs = 20000;
    double seconds = 5;
    std::vector<std::filesystem::path> dirs;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--runs") && i + 1 < argc)
            runs = std::atol(argv[++i]);
        else if (!std::strcmp(argv[i], "--seconds") && i + 1 < argc)
            seconds = std::atof(argv[++i]);
        else
            dirs.emplace_back(argv[i]);
    }
    std::vector<std::filesystem::path> files;
    for (const auto& d : dirs) {
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(d, ec))
            if (e.is_regular_file()) files.push_back(e.path());
        if (ec) {
            std::fprintf(stderr, "cannot read %s\n", d.string().c_str());
            return 2;
        }
    }
    std::sort(files.begin(), files.end());
    if (files.empty()) {
        std::fprintf(stderr, "no seed inputs\n");
        return 2;
    }
    std::vector<Bytes> seeds;
    for (const auto& f : files) {
        seeds.push_back(Load(f));
        LLVMFuzzerTestOneInput(seeds.back().data(), seeds.back().size());
    }
    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    std::mt19937 rng(20261206);
    long done = 0;
    for (; done < runs && (done % 64 != 0 || elapsed() < seconds); ++done) {
        Bytes b = seeds[size_t(rng() % seeds.size())];
        Mutate(b, seeds, rng);
        LLVMFuzzerTestOneInput(b.data(), b.size());
    }
    std::printf("%zu seeds, %ld mutated runs in %.2f s\n", seeds.size(), done, elapsed());
    return 0;
}
