#pragma once
// Item lists shared by the main window and the analogue and control-loop windows: the default
// units of measure and the texts of the analogue channel settings.

#include <QStringList>
#include <array>

// The 16 default unit names of a new configuration's unit list.
inline constexpr std::array<const char*, 16> kDefaultUnitNames = {{
    "град.С",
    "%",
    "МПа",
    "КПа",
    "кг/cм2",
    "атм",
    "об/мин",
    "1/с",
    "мм/с2",
    "м3/ч",
    "нм3/ч",
    "кг/ч",
    "т/ч",
    "м",
    "резерв",
    "резерв",
}};

// Sensor types of the temperature inputs, by scale kind 0..15 (kinds 7 and up are resistance
// sensors).
inline constexpr std::array<const char*, 16> kSensorTypeNames = {{
    "ХК(L)",
    "XK(E)",
    "XA(K)",
    "ЖК(J)",
    "MK(T)",
    "ПП(S)",
    "ПП(R)",
    "Pt50",
    "Гр. 21",
    "Гр. 23",
    "100П",
    "50П",
    "Pt100",
    "Ni",
    "100M",
    "50M",
}};

// Wiring of a resistance sensor, by byte-1 bit 6 of its channel.
inline constexpr std::array<const char*, 2> kSensorWiringNames = {{"3-х провод.", "4-х провод."}};

// Signal range of a current input, by its input type.
inline constexpr std::array<const char*, 3> kCurrentInputNames = {{"4 - 20 мА", "резерв", "0 - 5 мА"}};

// Scale laws of a current input (scale kind of rows 3 and 4).
inline constexpr std::array<const char*, 2> kScaleLawNames = {{"линейная", "корневая"}};

// Input signals of a pressure module (code 6), by input type.
inline constexpr std::array<const char*, 5> kPressureInputNames = {
    {"20-100 кПа", "0,2-1 кгс/см2", "0,2-1 атм", "0,2-1 бар", "резерв"}};

// Current-output corrections by code 0..15: 0, +4 µA × code up to 8, then −4 µA × (code − 8).
inline constexpr std::array<const char*, 16> kOutputCorrectionNames = {{
    "0 мкА",
    "+4 мкА",
    "+ 8 мкА",
    "+12 мкА",
    "+16 мкА",
    "+20 мкА",
    "+24 мкА",
    "+28 мкА",
    "+32 мкА",
    "- 4 мкА",
    "- 8 мкА",
    "-12 мкА",
    "-16 мкА",
    "-20 мкА",
    "-24 мкА",
    "-28 мкА",
}};

// Current-output ranges, by the range bit of the output.
inline constexpr std::array<const char*, 2> kOutputRangeNames = {{"4 - 20 мА", "0 - 5 мА"}};

template <size_t N> QStringList ItemList(const std::array<const char*, N>& items) {
    QStringList list;
    for (const char* item : items)
        list << QString::fromUtf8(item);
    return list;
}
