#include "AlgTableEdit.h"

#include "TProgFBClass.h"
#include "TServClass.h"

#include <QRegularExpression>

namespace {

constexpr int MaxListText = 599; // the list texts the tables were ever made for
constexpr int MaxItemLen = 3;
constexpr int End = TProgFBClass::AlgEnd;

QString NumberCell(int number) {
    return QStringLiteral(" ") + QString::number(number);
}

// The value of a number cell as the window has always read it: leading blanks skipped, digits up
// to the first other character, 0 without digits.
int LeadingNumber(const QString& text) {
    int value = 0;
    qsizetype k = 0;
    while (k < text.size() && text[k] == QChar(' '))
        ++k;
    for (; k < text.size() && text[k].isDigit() && value < 100000; ++k)
        value = value * 10 + text[k].digitValue();
    return value;
}

// Stores the list text of algorithm row i.
AlgGridError StoreList(TProgFBClass& fb, int i, const QString& text) {
    if (text.size() > MaxListText) return AlgGridError::BadItem;
    QStringList items = text.split(QChar(','));
    if (text.endsWith(QChar(','))) items.removeLast(); // a final comma ends the list
    static const QRegularExpression decimal(QStringLiteral("^[+-]?[0-9]+$"));
    for (int k = 0; k < int(items.size()); ++k) {
        const QString& item = items[k];
        if (item.size() > MaxItemLen || k >= fb.FBCount) return AlgGridError::BadItem;
        const QString digits = item.trimmed();
        if (!decimal.match(digits).hasMatch()) return AlgGridError::BadItem;
        const int value = digits.toInt();
        if (value < 1 || value > fb.LogicFBCount) return AlgGridError::BadBlock;
        fb.AlgTable.SetEntry(i, k, value);
        if (k == 0) fb.AlgTable.SetMark(value - 1, value);
    }
    return AlgGridError::None;
}

} // namespace

AlgGridError StoreAlgorithmGrid(TProgFBClass& fb, const std::vector<AlgGridRow>& rows,
                                const std::function<void(int algorithm)>& nameCleared) {
    const int n = fb.FBCount;
    auto& alg = fb.AlgTable;
    alg.SetCount(0);
    for (int a = 0; a <= n; ++a) {
        fb.SetFbText(a, QString());
        for (int j = 0; j <= n; ++j)
            alg.SetEntry(a, j, End);
        alg.SetMark(a, End);
    }
    for (int i = 0; i < n && i < int(rows.size()); ++i) {
        const AlgGridRow& row = rows[size_t(i)];
        if (row.number.isEmpty()) break;
        const int number = LeadingNumber(row.number);
        if (number < 1 || number > n) return AlgGridError::BadItem;
        if (row.name.isEmpty()) {
            fb.SetFbText(number - 1, QString());
            if (nameCleared) nameCleared(number - 1);
            continue;
        }
        fb.SetFbText(number - 1, row.name);
        if (!row.list.isEmpty())
            if (const AlgGridError e = StoreList(fb, i, row.list); e != AlgGridError::None) return e;
        alg.SetCount(i + 1);
    }
    return AlgGridError::None;
}

QString AlgGridErrorText(AlgGridError error) {
    switch (error) {
    case AlgGridError::BadItem:
        return QStringLiteral("error ");
    case AlgGridError::BadBlock:
        return QStringLiteral("error N ФБ");
    case AlgGridError::None:
        break;
    }
    return {};
}

std::vector<AlgGridRow> AlgorithmRows(const TProgFBClass& fb) {
    std::vector<AlgGridRow> rows;
    const int n = fb.FBCount;
    for (int a = 0; a < fb.AlgTable.GetCount() && a < n; ++a) {
        AlgGridRow row{NumberCell(a + 1), fb.GetFbText(a), {}};
        for (int j = 0; j < n; ++j) {
            const int v = fb.AlgTable.GetEntry(a, j);
            if (v == End) break;
            row.list += QString::number(v);
            if (j != n - 1) row.list += QChar(',');
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<AlgGridRow> LoadedAlgorithmRows(const TProgFBClass& fb) {
    std::vector<AlgGridRow> rows;
    const int n = fb.FBCount;
    const int count = std::min(fb.AlgTable.GetCount(), n);
    const int logic = fb.LogicFBCount;
    for (int a = 0; a < count; ++a) {
        AlgGridRow row{NumberCell(a + 1), fb.GetFbText(a), {}};
        int last = 0;
        for (int j = 0; j < n; ++j) {
            const int v = fb.AlgTable.GetEntry(a, j);
            if (v == End) {
                if (a == count - 1 && last > 0)
                    for (int b = last + 1; b <= logic; ++b)
                        row.list += QString::number(b) + QChar(',');
                break;
            }
            if (v > logic) break; // ends this row only
            row.list += QString::number(v) + QChar(',');
            last = v;
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<QStringList> BlockRows(const TProgFBClass& fb, const TServClass& serv,
                                   const QStringList& typeNames) {
    std::vector<QStringList> rows;
    for (int i = 0; i < fb.LogicFBCount && i < TProgFBClass::FBCapacity; ++i) {
        const int type = fb.GetType(i);
        if (type < 1 || type > int(typeNames.size())) continue;
        QStringList cells{NumberCell(i + 1), QStringLiteral("ФБ") + QString::number(i + 1),
                          typeNames[type - 1]};
        const bool comparator = type == TProgFBClass::TypeComparator;
        const int inputs = std::min(TProgFBClass::FBInputCount(type, fb.GetSubtype(i)), 4);
        for (int j = 0; j < inputs; ++j) {
            const int kind = comparator ? fb.GetIn8Kind(i) : fb.GetInKind(i, j);
            const int number = comparator ? fb.GetIn8Num(i) : fb.GetInNum(i, j);
            if (kind == 0 && number >= 1 && number <= TProgFBClass::MaxSignal)
                cells << serv.GetInputText(number - 1);
            else if (kind == 1 && number >= 1 && number <= fb.LogicFBCount)
                cells << QStringLiteral("ФБ") + QString::number(number);
            else
                cells << QString();
        }
        while (cells.size() < 7)
            cells << QString();
        rows.push_back(cells);
    }
    return rows;
}
