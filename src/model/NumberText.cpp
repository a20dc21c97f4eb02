#include "NumberText.h"

#include <QRegularExpression>
#include <cmath>

QString FormatFixed(double value, int decimals) {
    QString text = QString::number(value, 'f', decimals);
    if (text.startsWith('-') && text.count(QRegularExpression("[1-9]")) == 0) text.remove(0, 1); // no "-0,00"
    return text.replace('.', ',');
}

QString FormatSignificant(double value, int digits) {
    if (value == 0.0) return "0";
    const double magnitude = std::fabs(value);
    if (magnitude >= 1e15 || magnitude < 1e-9) return QString::number(value, 'g', digits).replace('.', ',');
    const int integerDigits = magnitude >= 1.0 ? int(std::floor(std::log10(magnitude))) + 1 : 0;
    int decimals = std::max(0, digits - integerDigits);
    if (magnitude < 1.0) // leading zeros after the comma are not significant
        decimals += int(-std::floor(std::log10(magnitude))) - 1;
    QString text = QString::number(value, 'f', decimals);
    if (text.contains('.')) {
        while (text.endsWith('0'))
            text.chop(1);
        if (text.endsWith('.')) text.chop(1);
    }
    if (text == "-0") text = "0";
    return text.replace('.', ',');
}

std::optional<double> ParseDecimal(const QString& text) {
    static const QRegularExpression pattern(R"(^\s*([+-]?)(\d*)(?:[.,](\d*))?\s*$)");
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch() || (match.captured(2).isEmpty() && match.captured(3).isEmpty()))
        return std::nullopt;
    const QString normal = match.captured(1) + (match.captured(2).isEmpty() ? "0" : match.captured(2)) + "." +
                           (match.captured(3).isEmpty() ? "0" : match.captured(3));
    bool ok = false;
    const double value = normal.toDouble(&ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

bool InRangeSingle(double value, double low, double high) {
    const float v = float(value);
    return v >= float(low) && v <= float(high);
}
