#pragma once
// The relay-module editor: the eight outputs of one relay-output module, edited straight in the
// block-9 image; copy and replace of a module base; the close query keeps, writes or restores
// block 9. EditSlot opens it for a slot.

#include "RelayRows.h"
#include "editors/common/BlockSession.h"

#include <QDialog>
#include <array>
#include <functional>

class EditorContext;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class TProgMRClass;

// What the live view of a relay module's outputs shows.
struct RelayLiveViewRequest {
    int moduleNumber = 0;               // LabNMod: the relay-module number, from 1
    QString moduleText;                 // TipMod: the caption of the module's slot
    int slotAddress = 0;                // LabAMod: the slot number − 1
    std::array<QString, 4> outputTexts; // the texts of the module's first four outputs
};

class TFormMR : public QDialog {
    Q_OBJECT
  public:
    static constexpr int Rows = 8;
    template <class W> using Row = std::array<W*, Rows>;

    explicit TFormMR(EditorContext& context, QWidget* parent = nullptr);

    // Opens the editor for the relay module in slot: in device mode block 9 is read first. False,
    // with nothing shown, when the slot holds none of the first five relay modules or the read
    // failed (its error shown once).
    bool EditSlot(int slot);

    // Opens the live view of the module's outputs; set by the owner of that window.
    std::function<void(const RelayLiveViewRequest&)> openLiveView;

    Row<QComboBox> TipVyh, Kvit, Block;
    Row<QCheckBox> KvitVizo, KvitTopLevel, SbrVizo, SbrTopLevel;
    Row<QLineEdit> EditVxKvit, EditVhSbr;
    QLabel *LabFB, *LabNMod, *LabTMod, *ErrorText;
    QPushButton *ButtonCopy, *ButtonChange, *ButOnLine, *OK, *Cancel, *Save;
    QAction *ACopyBase, *AChangeBase;
    QMenu* PopupMenu1;

    void TipVyh1Click(QComboBox* sender);
    void Kvit1Click(QComboBox* sender);
    void Block1Click(QComboBox* sender);
    void CheckClick(QCheckBox* sender); // the four box columns
    void EditVxKvit1Change();
    void EditVxKvit1Exit(QLineEdit* sender);
    void CopyBaseClick();
    void ChangeBaseClick();
    void ButOnLineClick();
    void OKClick();
    void CancelClick();
    bool FormCloseQuery();
    void reject() override; // the close box: as "Отмена"
    void SaveClick();

    int ModuleIndex() const { return m_; }
    int Cancelled = 1; // 0 after OK, 1 after "Отмена" or the close box

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildRows(QWidget* area);
    void FormShow();
    void TryClose();
    void FillRows();
    void Paint(int k, const RelayRows::Row& row);
    // A list's choice through its rule: the row as shown, the rule, the row painted again.
    using ChoiceRule = void (*)(RelayRows::Row&, TProgMRClass&, int o, int m, int choice);
    void ApplyChoice(const Row<QComboBox>& lists, QComboBox* sender, ChoiceRule rule);
    RelayRows::Row Shown(int k) const;
    void SetReplaceEnabled(bool enabled);
    void ClearSaved();
    int Code() const;
    BlockSession NewBlockSession();

    EditorContext& context_;
    BlockSession session_;
    int m_ = 0;
    bool loading_ = false;
    QLineEdit* exitDone_ = nullptr; // left already by the close query
};
