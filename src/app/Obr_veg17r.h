#pragma once
// The main window: owner of the configuration, of the exchange object and of every other
// window, which it creates once.

#include "Comportclass.h"
#include "Configuration.h"
#include "LazyFileDialog.h"

#include <QMainWindow>
#include <array>

class EditorContext;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class TConfig;
class TFPSW;
class TFormCreatFB;
class TFormCreatReg;
class TFormF15;
class TFormFB;
class TFormInfAlg;
class TFormLNet;
class TFormMBM;
class TFormNastr;
class TFormPort;
class TFormKalibr;
class TFormPROG;
class TFormPrgD;
class TFormReg;
class TFormMR;
class TFormRegOnLine;
class TFormSig;
class TFormTipDat;
class TFormVyh;
class TFormR_MBM;
class TFormVhAnL;
class TFormVhD;
class TFormVhDLoc;
class TFormVhLoc;
class TFormVyhOnL;
class TInform;
class TInformMR;
class TLoopSummary;

class TForm1 : public QMainWindow {
    Q_OBJECT
  public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // The configuration and the exchange object; the editors reach them through Context.
    TConfiguration Cfg;
    TComPortClass ComPort;

    // Controls other windows read.
    QComboBox* CBoxUstr = nullptr;    // device number "1".."31"
    QLineEdit* EditModif = nullptr;   // hidden: the 8-character modification code
    QComboBox* CBoxRazmDef = nullptr; // hidden: the 16 default unit names
    QLabel* StAllD = nullptr;         // discrete input count
    QLabel* LabelFile = nullptr;      // "Режим работы с файлом", shown in file mode
    QLabel* StAllAn = nullptr;        // analogue input count
    std::array<QPushButton*, 8> SlotControls{};
    TLoopSummary* LoopSummary = nullptr;
    QProgressBar* ProgressBar1 = nullptr; // shown during a transfer

    // What the editors get instead of the main window; it also keeps the configuration file name.
    EditorContext* Context = nullptr;

    // The windows, created once with the main window.
    TInform* Inform = nullptr;
    TInformMR* InformMR = nullptr;
    TFormPrgD* FormPrgD = nullptr;
    TFormFB* FormFB = nullptr;
    TFormCreatFB* FormCreatFB = nullptr;
    TFormInfAlg* FormInfAlg = nullptr;
    TFormPROG* FormPROG = nullptr;
    TFormKalibr* FormKalibr = nullptr;
    TFormTipDat* FormTipDat = nullptr;
    TFormCreatReg* FormCreatReg = nullptr;
    TFormRegOnLine* FormRegOnLine = nullptr;
    TFormReg* FormReg = nullptr;
    TFormMR* FormMR = nullptr;
    // The local-network windows; no menu opens them (the network blocks are neither read nor kept
    // in files).
    TFormMBM* FormMBM = nullptr;
    TFormF15* FormF15 = nullptr;
    TFormLNet* FormLNet = nullptr;
    TFormR_MBM* FormR_MBM = nullptr;
    TFormVhAnL* FormVhAnL = nullptr;
    TFormVhD* FormVhD = nullptr;
    TFormVhDLoc* FormVhDLoc = nullptr;
    TFormVhLoc* FormVhLoc = nullptr; // sets the start and count of FormVhDLoc; nothing shows it
    TFormVyhOnL* FormVyhOnL = nullptr;
    TFormSig* FormSig = nullptr;
    TFormVyh* FormVyh = nullptr;
    TFPSW* FPSW = nullptr;
    TConfig* FormConfig = nullptr;
    TFormPort* FormPort = nullptr;
    TFormNastr* FormNastr = nullptr;
    LazyFileDialog OpenDialog; // made when first used
    LazyFileDialog SaveDialog;

    // Menu and tool-bar commands.
    QAction* ACreatConfig;
    QAction* AOpenFile;
    QAction* ASaveFile;
    QAction* ASaveAsFile;
    QAction* AExit;
    QAction* AInPort;
    QAction* AOutPort;
    QAction* APort;
    QAction* ANastr;
    QAction* AInform;
    QAction* AInformMR;
    QAction* AProgD;
    QAction* APrg1;    // the analogue-module editor
    QAction* AProgReg; // the control-loop editor
    QPushButton* ButProgReg = nullptr;

    // Asks for the password; run on the first showing. Ending the program closes the window.
    void FormShow();
    void CreatConfigClick();
    void OpenFileClick();
    bool SaveFileClick();   // under the context's file name, or as a new file when there is none
    bool SaveAsFileClick(); // asks for the name
    void InPortClick();     // reads the configuration from the device
    void OutPortClick();    // writes it to the device
    void PortClick();
    void NastrClick();
    void InformButClick();
    void InformButMRClick();
    void ProgDClick(); // the discrete-signal editor
    // The analogue-module editor for the module of slot 1, the controller; nothing when the slot
    // is empty.
    void Prg1Click();
    // The control-loop editor.
    void ButProgRegClick();

    // The composition summary, the device number, the code and the loop summary from Cfg.
    void RefreshComposition();
    // The current-output summary from the loop records; follows the context's change notification.
    void RefreshLoopSummary();

    // True once the user ended the program at the password.
    bool LoginEnded() const { return loginEnded_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateForms();
    void CreateActions();
    void LayOut();
    void CBoxUstrChange(int index);
    int DevNum() const;

    // A configuration from a file changed since it was last saved.
    bool HasUnsavedChanges() const;
    // The save question, and on "Да" the save; false when that save failed or its file dialog was
    // cancelled, so the changes are still unsaved and the command that asked stops.
    bool AskToSaveChanges();
    // Asks before a command replaces unsaved changes; false when a save answered "Да" failed or
    // was cancelled, and the command stops.
    bool MayReplaceConfiguration();

    bool shownOnce_ = false;
    bool loginEnded_ = false;
};
