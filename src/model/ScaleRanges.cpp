#include "ScaleRanges.h"

#include "NumberText.h"

#include <array>
#include <vector>

namespace ScaleRangeTable {
namespace {

// Standard measuring ranges, °C, by sensor type: thermocouples (kinds 0..6) and resistance
// thermometers (kinds 7..15). Kind 9 is the free scale.
const std::array<std::vector<ScaleRange>, KindCount>& Table() {
    static const std::vector<ScaleRange> resistance = {{-50, 50}, {-50, 150}, {0, 100}, {0, 200}, {0, 400}};
    static const std::vector<ScaleRange> copper = {{-50, 50}, {-50, 150}, {0, 100}, {0, 150}, {-50, 200}};
    static const std::vector<ScaleRange> noble = {{0, 1300}, {0, 1600}, {500, 1300}, {500, 1600}};
    static const std::array<std::vector<ScaleRange>, KindCount> table = {{
        {{0, 200}, {0, 400}, {0, 600}, {-50, 50}, {-50, 150}, {200, 600}}, // ХК(L)
        {{0, 200}, {0, 400}, {0, 600}, {0, 800}},                          // XK(E)
        {{0, 400}, {0, 600}, {0, 800}, {0, 1000}, {0, 1300}, {200, 1200}}, // XA(K)
        {{0, 200}, {0, 400}, {0, 600}, {0, 800}},                          // ЖК(J)
        {{-200, 0}, {-100, 100}, {0, 200}, {0, 400}},                      // MK(T)
        noble,                                                             // ПП(S)
        noble,                                                             // ПП(R)
        resistance,                                                        // Pt50
        resistance,                                                        // Гр. 21
        {},                                                                // Гр. 23: free scale
        {{-50, 50}, {-50, 150}, {0, 100}, {0, 200}, {0, 400}, {0, 600}},   // 100П
        {{-50, 50}, {-50, 150}, {0, 100}, {0, 200}, {0, 400}, {0, 600}},   // 50П
        {{-50, 50}, {-50, 150}, {0, 100}, {0, 200}, {0, 400}, {0, 600}},   // Pt100
        {{-50, 50}, {-50, 150}, {0, 100}, {0, 180}},                       // Ni
        copper,                                                            // 100M
        copper,                                                            // 50M
    }};
    return table;
}

} // namespace

std::span<const ScaleRange> Ranges(int kind) {
    if (kind < 0 || kind >= KindCount) return {};
    const auto& ranges = Table()[size_t(kind)];
    return {ranges.data(), ranges.size()};
}

QString LimitText(double limit) {
    return FormatSignificant(limit, 7);
}

} // namespace ScaleRangeTable

namespace UnitNameTables {

const QStringList& PressureUnits() {
    static const QStringList names = {"кПа", "кгС/см2", "атм", "бар"};
    return names;
}

const QStringList& SignalUnits() {
    static const QStringList names = {"мА", "мВ", "В"};
    return names;
}

} // namespace UnitNameTables
