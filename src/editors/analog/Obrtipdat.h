#pragma once
// The sensor types of the controller module's discrete inputs: dry contact or NAMUR per sensor,
// bit r of the module-type byte. Changes go into the model at once; Cancel restores the module
// types and the change flag of the time of opening. The analogue-module editor loads and shows it.

#include <QDialog>
#include <QStringList>
#include <array>
#include <functional>

class EditorContext;
class QLabel;
class QPushButton;
class RadioGroup;

// What the live view of the discrete inputs shows above its values.
struct LiveInputsHeader {
    QString tipMod;    // the caption of the module's slot
    QString labAMod;   // the slot number less one
    QStringList names; // the names of discrete inputs 1..6
};

class TFormTipDat : public QDialog {
    Q_OBJECT
  public:
    static constexpr int Sensors = 12;
    static constexpr int ShownSensors = 6;

    explicit TFormTipDat(EditorContext& context, QWidget* parent = nullptr);

    std::array<RadioGroup*, Sensors> RadioGroups{}; // RadioGroup1..RadioGroup12
    QLabel *LabMod, *LabTMod;
    QPushButton *OK, *Cancel, *Save, *Button3;

    // The live view of the discrete inputs, filled with the header; its window wires it.
    std::function<QDialog*(const LiveInputsHeader&)> LiveView;

    // Loads the six visible sensors of module index k without marking a change.
    void Load(int k, const QString& slotCaption);

    void RadioGroup1Click(int sensor, int index);
    void OKClick();
    void CancelClick();
    bool FormCloseQuery();
    void SaveClick() {}
    void Button3Click();
    void reject() override; // the close box: the close query with the last Cancelled

    int Cancelled = 0; // 0 after OK, 1 after Cancel

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void TryClose();

    EditorContext& ctx_;
    int module_ = 0;
    bool loading_ = false;
};

namespace SensorTypes {
// "номер дискретного сигнала в базе n (адрес 0xNN)" of sensor r of module index k.
QString Hint(int k, int r);
// The header of the live view of the discrete inputs of the current module.
LiveInputsHeader LiveHeader(const EditorContext& context);
} // namespace SensorTypes
