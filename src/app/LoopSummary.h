#pragma once
// The main window's current-output summary: one row of six text cells per control-loop record,
// refreshed from the loop records and the first analogue module.

#include <QGroupBox>
#include <array>

class QComboBox;
class QLabel;
struct TConfiguration;

class TLoopSummary : public QGroupBox {
    Q_OBJECT
  public:
    static constexpr int kRows = 2;
    static constexpr int kCells = 6;
    static constexpr int kControllerChannels = 4;
    // Cells of a row: input, sensor type or input range, scale minimum, scale maximum, unit,
    // wiring of a resistance sensor.
    enum Cell { cInput, cKind, cMin, cMax, cUnit, cWiring };

    explicit TLoopSummary(QWidget* parent = nullptr);

    // Clears both rows, then fills the row of every loop record whose input number is not 0.
    void Refresh(const TConfiguration& cfg);
    QString CellText(int row, int cell) const;

    std::array<std::array<QLabel*, kCells>, kRows> Cells{};
    QComboBox* Raz; // hidden: the item texts are looked up through it

  private:
    QString Item(const QStringList& items, int index);
};
