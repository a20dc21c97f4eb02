#include "Obr_veg17r.h"

#include "AnalogLists.h"
#include "ConfigFile.h"
#include "ConfigTransfer.h"
#include "Dialogs.h"
#include "EditorModal.h"
#include "FileDialogs.h"
#include "LoopSummary.h"
#include "Obrconfig.h"
#include "Obrinform.h"
#include "Obrinformmr.h"
#include "Obrnastr.h"
#include "Obrpar_mb.h"
#include "Obrport.h"
#include "ServInput.h"
#include "editors/analog/Obrtipdat.h"
#include "editors/analog/Prog_infvhd.h"
#include "editors/analog/Prog_infvyh.h"
#include "editors/analog/Prog_kalibr.h"
#include "editors/analog/Prog_mba.h"
#include "editors/common/EditorContext.h"
#include "editors/discrete/Prog_diskr.h"
#include "editors/fb/Obrcreatfb_mb.h"
#include "editors/fb/Obrinfalg.h"
#include "editors/fb/Obrsign_mb.h"
#include "editors/fb/Obrvyh_mb.h"
#include "editors/fb/Prog_fb.h"
#include "editors/network/Obrvhloc.h"
#include "editors/network/Prog_f15.h"
#include "editors/network/Prog_infanloc.h"
#include "editors/network/Prog_infvhdloc.h"
#include "editors/network/Prog_lnet.h"
#include "editors/network/Prog_mbm.h"
#include "editors/network/Prog_recvmbm.h"
#include "editors/regulators/Obrcreat_reg.h"
#include "editors/regulators/Prog_reg.h"
#include "editors/regulators/Uniregvis.h"
#include "editors/relay/Prog_mr.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

namespace {

constexpr int kDeviceNumbers = 31;
const QString kFileFilter = QStringLiteral("Файлы конфигурации (*.veg)");
const QString kSuffix = QStringLiteral("veg");

// The file the user chose, or an empty text when the dialog was cancelled.
QString ChosenFile(QFileDialog* dialog) {
    if (ShowModal(dialog) != QDialog::Accepted) return {};
    return dialog->selectedFiles().value(0);
}

} // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Программатор ВЕГ-17"));
    CBoxUstr = new QComboBox(this);
    for (int n = 1; n <= kDeviceNumbers; ++n)
        CBoxUstr->addItem(QString::number(n));
    connect(CBoxUstr, &QComboBox::currentIndexChanged, this, &TForm1::CBoxUstrChange);
    EditModif = new QLineEdit(this);
    EditModif->hide();
    CBoxRazmDef = new QComboBox(this);
    for (const char* unit : kDefaultUnitNames)
        CBoxRazmDef->addItem(QString::fromUtf8(unit));
    CBoxRazmDef->hide();
    StAllD = new QLabel(this);
    StAllAn = new QLabel(this);
    for (auto*& slot : SlotControls)
        slot = new QPushButton(this);
    connect(SlotControls[0], &QPushButton::clicked, this, &TForm1::Prg1Click);
    LoopSummary = new TLoopSummary(this);
    ButProgReg = new QPushButton(QStringLiteral("Программ. токовых выходов"), this);
    connect(ButProgReg, &QPushButton::clicked, this, &TForm1::ButProgRegClick);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->hide();
    CreateForms();
    CreateActions();
    LayOut();
    RefreshComposition();
}

TForm1::~TForm1() = default;

void TForm1::CreateForms() {
    Inform = new TInform(this);
    InformMR = new TInformMR(this);
    Context = new EditorContext(Cfg, ComPort, *Inform, *InformMR, this);
    connect(Context, &EditorContext::ConfigurationChanged, this, [this] {
        StAllD->setText(QString::number(Cfg.Serv.GetDiscrInCount()));
        StAllAn->setText(QString::number(Cfg.Serv.GetAnInCount()));
        RefreshLoopSummary();
    });
    FormSig = new TFormSig(this);
    FormVyh = new TFormVyh(this);
    FormCreatFB = new TFormCreatFB(*Context, this);
    FormFB = new TFormFB(*Context, FormSig, FormVyh, FormCreatFB, this);
    FormInfAlg = new TFormInfAlg(*Context, this);
    FormFB->SetAlgorithmWindow(FormInfAlg);
    FormPrgD = new TFormPrgD(FormFB, this);
    QStringList units;
    for (int i = 0; i < CBoxRazmDef->count(); ++i)
        units << CBoxRazmDef->itemText(i);
    FormPROG = new TFormPROG(*Context, units, this);
    FormKalibr = new TFormKalibr(*Context, this);
    FormTipDat = new TFormTipDat(*Context, this);
    FormPROG->FormKalibr = FormKalibr;
    FormPROG->FormTipDat = FormTipDat;
    FormCreatReg = new TFormCreatReg(*Context, this);
    FormRegOnLine = new TFormRegOnLine(*Context, this);
    FormReg = new TFormReg(*Context, *FormCreatReg, *FormRegOnLine, this);
    FormMR = new TFormMR(*Context, this);
    FormMBM = new TFormMBM(*Context, this);
    FormF15 = new TFormF15(*Context, this);
    FormLNet = new TFormLNet(*Context, *FormMBM, *FormF15, this);
    FormVhAnL = new TFormVhAnL(*Context, this);
    FormVhD = new TFormVhD(*Context, this);
    FormVhDLoc = new TFormVhDLoc(*Context, this);
    FormVyhOnL = new TFormVyhOnL(*Context, this);
    FormVhAnL->FormVhDLoc = FormVhDLoc;
    FormR_MBM = new TFormR_MBM(*Context, units, this);
    FormMBM->FormR_MBM = FormR_MBM;
    FormMBM->FormVhAnL = FormVhAnL;
    FormMBM->FormVhDLoc = FormVhDLoc;
    FormVhLoc = new TFormVhLoc(*Context, *FormMBM, *FormVhDLoc, this);
    FormPROG->FormVyhOnL = FormVyhOnL;
    FormMR->openLiveView = [this](const RelayLiveViewRequest& module) {
        FormVyhOnL->SetModuleLabels(QString::number(module.moduleNumber), module.moduleText,
                                    QString::number(module.slotAddress));
        FormVyhOnL->SetOutputLabels(QStringList(module.outputTexts.begin(), module.outputTexts.end()));
        ShowEditorModal(FormMR, FormVyhOnL);
    };
    FormTipDat->LiveView = [this](const LiveInputsHeader& header) {
        FormVhD->SetHeader(header);
        return FormVhD;
    };
    FPSW = new TFPSW(this);
    FormConfig = new TConfig(this);
    // The settings dialogs show the exchange's settings; their OK applies through it.
    FormPort = new TFormPort(
        [this] { return ComPort.GetLinkSettings(); },
        [this](const LinkSettings& s, QString* error) { return ComPort.OpenPort(s, error); }, this);
    FormNastr = new TFormNastr([this] { return ComPort.GetExchangeSettings(); },
                               [this](const ExchangeSettings& s) { ComPort.SetExchangeSettings(s); }, this);
    OpenDialog.MakeWith([this] {
        return NewOpenFileDialog(this, QStringLiteral("Открыть файл конфигурации"), kFileFilter, kSuffix);
    });
    SaveDialog.MakeWith([this] {
        return new SaveFileDialog(this, QStringLiteral("Сохранить конфигурацию в файле"), kFileFilter,
                                  kSuffix);
    });
}

void TForm1::CreateActions() {
    const auto action = [this](const QString& text, std::function<void()> handler, QKeySequence key = {}) {
        auto* a = new QAction(text, this);
        a->setShortcut(key);
        connect(a, &QAction::triggered, this, std::move(handler));
        return a;
    };
    ACreatConfig = action(QStringLiteral("Создать конфигурацию..."), [this] { CreatConfigClick(); });
    AOpenFile = action(
        QStringLiteral("Открыть..."), [this] { OpenFileClick(); }, QKeySequence::Open);
    ASaveFile = action(
        QStringLiteral("Сохранить"), [this] { SaveFileClick(); }, QKeySequence::Save);
    ASaveAsFile = action(QStringLiteral("Сохранить как..."), [this] { SaveAsFileClick(); });
    AExit = action(QStringLiteral("Выход"), [this] { close(); });
    AInPort = action(
        QStringLiteral("Чтение из прибора"), [this] { InPortClick(); }, Qt::Key_F9);
    AOutPort = action(
        QStringLiteral("Запись в прибор"), [this] { OutPortClick(); }, Qt::Key_F10);
    APort = action(QStringLiteral("Настройка COM-порта..."), [this] { PortClick(); });
    ANastr = action(QStringLiteral("Настройка обмена..."), [this] { NastrClick(); });
    AInform = action(QStringLiteral("Информация о входах"), [this] { InformButClick(); });
    AInformMR = action(QStringLiteral("Информация о выходах"), [this] { InformButMRClick(); });
    AProgD = action(QStringLiteral("Обработка дискретных сигналов"), [this] { ProgDClick(); });
    APrg1 = action(QStringLiteral("Программирование аналоговых сигналов"), [this] { Prg1Click(); });
    AProgReg = action(QStringLiteral("Программ. токовых выходов"), [this] { ButProgRegClick(); });
}

void TForm1::LayOut() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("Файл"));
    file->addActions({ACreatConfig, AOpenFile, ASaveFile, ASaveAsFile});
    file->addSeparator();
    file->addAction(AExit);
    QMenu* device = menuBar()->addMenu(QStringLiteral("Прибор"));
    device->addActions({AInPort, AOutPort});
    device->addSeparator();
    device->addActions({APort, ANastr});
    menuBar()->addMenu(QStringLiteral("Информация"))->addActions({AInform, AInformMR});
    menuBar()->addMenu(QStringLiteral("Программирование"))->addActions({AProgD, APrg1, AProgReg});

    // The commands in two rows, so that a laptop screen shows them all: files, device and
    // information, then the editors.
    QToolBar* tools = addToolBar(QStringLiteral("Команды"));
    tools->setMovable(false);
    tools->addActions({ACreatConfig, AOpenFile, ASaveFile});
    tools->addSeparator();
    tools->addActions({AInPort, AOutPort});
    tools->addSeparator();
    tools->addActions({AInform, AInformMR});
    addToolBarBreak();
    QToolBar* editors = addToolBar(QStringLiteral("Программирование"));
    editors->setMovable(false);
    editors->addActions({AProgD, APrg1, AProgReg});

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    auto* deviceRow = new QHBoxLayout;
    deviceRow->addWidget(new QLabel(QStringLiteral("Номер прибора"), central));
    deviceRow->addWidget(CBoxUstr);
    deviceRow->addStretch();
    LabelFile = new QLabel(QStringLiteral("Режим работы с файлом"), central);
    LabelFile->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    LabelFile->hide();
    Context->SetFileModeText(LabelFile->text());
    deviceRow->addWidget(LabelFile);
    layout->addLayout(deviceRow);

    auto* composition = new QGroupBox(QStringLiteral("Состав прибора"), central);
    auto* grid = new QGridLayout(composition);
    for (int s = 0; s < TServClass::SlotCount; ++s) {
        auto* number = new QLabel(QString::number(s + 1), composition);
        number->setAlignment(Qt::AlignCenter);
        grid->addWidget(number, 0, s);
        SlotControls[size_t(s)]->setMinimumWidth(72);
        grid->addWidget(SlotControls[size_t(s)], 1, s);
    }
    auto* counts = new QHBoxLayout;
    counts->addWidget(new QLabel(QStringLiteral("Дискретных входов:"), composition));
    counts->addWidget(StAllD);
    counts->addSpacing(24);
    counts->addWidget(new QLabel(QStringLiteral("Аналоговых входов:"), composition));
    counts->addWidget(StAllAn);
    counts->addStretch();
    grid->addLayout(counts, 2, 0, 1, TServClass::SlotCount);
    layout->addWidget(composition);
    layout->addWidget(LoopSummary);
    auto* loopRow = new QHBoxLayout;
    loopRow->addWidget(ButProgReg);
    loopRow->addStretch();
    layout->addLayout(loopRow);
    layout->addStretch();
    setCentralWidget(central);
    statusBar()->addPermanentWidget(ProgressBar1, 1);

    // Wide enough for both tool-bar rows: a narrower window hides the last commands behind the
    // overflow arrow.
    const QMargins margins = contentsMargins();
    const int toolsWidth = std::max(tools->sizeHint().width(), editors->sizeHint().width());
    resize(std::max(sizeHint().width(), toolsWidth + margins.left() + margins.right()), sizeHint().height());
}

int TForm1::DevNum() const {
    return CBoxUstr->currentIndex();
}

// The chosen device number is the configuration's device number and the one every exchange
// goes to.
void TForm1::CBoxUstrChange(int index) {
    if (index < 0) return;
    // A file keeps the number: changing it is an edit of the configuration.
    if (Cfg.Serv.FileMode == 1 && index != Cfg.Serv.GetDevAddr()) Cfg.Serv.Modified = 1;
    Cfg.Serv.SetDevNum(index);
    Cfg.Serv.SetDevAddr(index);
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        FormShow();
    }
}

void TForm1::FormShow() {
    const LoginResult result = AskAccessLevel(this, *FPSW);
    if (result == LoginResult::EndProgram) {
        loginEnded_ = true;
        // Closed once the showing is over; the program ends with its main window.
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    Cfg.Veg.AccessLevel = result == LoginResult::Full ? 1 : 0;
}

// Closing is cancelled only by a save answered "Да" that did not save, because it failed or its
// file dialog was cancelled: the changes stay, to be saved under another name. "Нет" always closes.
void TForm1::closeEvent(QCloseEvent* event) {
    if (!loginEnded_ && HasUnsavedChanges()) {
        if (!AskToSaveChanges()) {
            event->ignore();
            return;
        }
        if (Cfg.Veg.AccessLevel == 1 &&
            MessageBox(this, QStringLiteral("Данные были изменены. Передать в прибор?"),
                       QStringLiteral("Подтвердите передачу данных"), MsgButtons::YesNo, MsgIcon::Question,
                       mrNo) == mrYes)
            OutPortClick();
    }
    ComPort.ClosePort();
    event->accept();
}

bool TForm1::HasUnsavedChanges() const {
    return Cfg.Serv.FileMode == 1 && Cfg.Serv.Modified != 0;
}

bool TForm1::AskToSaveChanges() {
    if (MessageBox(this, QStringLiteral("Данные были изменены. Сохранить в файле?"),
                   QStringLiteral("Подтвердите сохранение данных"), MsgButtons::YesNo, MsgIcon::Question,
                   mrNo) != mrYes)
        return true;
    return SaveFileClick();
}

bool TForm1::MayReplaceConfiguration() {
    return !HasUnsavedChanges() || AskToSaveChanges();
}

void TForm1::CreatConfigClick() {
    if (!ServInput::CreateAllowed(Cfg.Veg, this) || !MayReplaceConfiguration()) return;
    FormConfig->Cancelled = 1;
    FormConfig->EditModif->setText(EditModif->text());
    ShowModal(FormConfig);
    if (FormConfig->Cancelled != 0) return;
    QStringList units;
    for (int i = 0; i < CBoxRazmDef->count(); ++i)
        units << CBoxRazmDef->itemText(i);
    CreateConfiguration(Cfg, FormConfig->Codes, DevNum(), units);
    Context->SetConfigFileName({});
    RefreshComposition();
}

void TForm1::OpenFileClick() {
    if (!MayReplaceConfiguration()) return;
    const QString path = ChosenFile(OpenDialog);
    if (path.isEmpty() || !OpenConfigFile(this, path, Cfg)) return;
    Context->SetConfigFileName(path);
    RefreshComposition();
}

bool TForm1::SaveFileClick() {
    if (Context->ConfigFileName().isEmpty()) return SaveAsFileClick();
    if (!SaveConfigFile(this, Context->ConfigFileName(), Cfg)) return false;
    Cfg.Serv.Modified = 0;
    return true;
}

bool TForm1::SaveAsFileClick() {
    QString path = ChosenFile(SaveDialog);
    if (path.isEmpty()) return false;
    if (!path.endsWith(QStringLiteral(".veg"), Qt::CaseInsensitive)) path += QStringLiteral(".veg");
    if (!SaveConfigFile(this, path, Cfg)) return false;
    Context->SetConfigFileName(path);
    Cfg.Serv.Modified = 0;
    return true;
}

void TForm1::InPortClick() {
    if (!MayReplaceConfiguration()) return;
    if (!ReadConfigFromDevice(this, Cfg, ComPort, DevNum(), ProgressBar1)) return;
    // A configuration from the device has no file yet: saving it asks for a name.
    Context->SetConfigFileName({});
    RefreshComposition();
}

void TForm1::OutPortClick() {
    WriteConfigToDevice(this, Cfg, ComPort, DevNum(), ProgressBar1);
}

void TForm1::PortClick() {
    ShowModal(FormPort);
}

void TForm1::NastrClick() {
    ShowModal(FormNastr);
}

void TForm1::InformButClick() {
    Context->FillInform(InformShow::Show);
}

void TForm1::InformButMRClick() {
    Context->FillInformMR(InformShow::Show);
}

void TForm1::ProgDClick() {
    ShowEditorModal(this, FormPrgD);
}

void TForm1::Prg1Click() {
    constexpr int slot = 1;
    const TServClass& serv = Cfg.Serv;
    if (serv.GetSlotModuleCode(slot) == 0 || serv.AnModuleIndex(slot) < 0) return;
    Cfg.Serv.SetCurModule(slot);
    Cfg.MBA.SetCurSlot(slot);
    Cfg.MBA.SetSlot2(slot);
    FormPROG->PrepareForSlot(SlotControls[0]->text());
    ShowEditorModal(this, FormPROG);
}

void TForm1::ButProgRegClick() {
    ShowEditorModal(this, FormReg);
}

void TForm1::RefreshComposition() {
    const TServClass& serv = Cfg.Serv;
    for (int s = 0; s < TServClass::SlotCount; ++s) {
        QPushButton* slot = SlotControls[size_t(s)];
        slot->setText(serv.GetSlotCaption(s + 1));
        slot->setEnabled(serv.GetSlotModuleCode(s + 1) != 0);
    }
    APrg1->setEnabled(serv.AnModuleIndex(1) >= 0);
    StAllD->setText(QString::number(serv.GetDiscrInCount()));
    StAllAn->setText(QString::number(serv.GetAnInCount()));
    LabelFile->setVisible(serv.FileMode == 1);
    SlotCodes codes{};
    std::copy(serv.SlotModuleCodes.begin(), serv.SlotModuleCodes.end(), codes.begin());
    EditModif->setText(codes[0] != 0 ? ModifCodeText(codes) : QString());
    Context->SetModifCode(EditModif->text());
    const int dev = serv.GetDevAddr();
    if (dev >= 0 && dev < CBoxUstr->count()) CBoxUstr->setCurrentIndex(dev);
    RefreshLoopSummary();
}

void TForm1::RefreshLoopSummary() {
    LoopSummary->Refresh(Cfg);
}
