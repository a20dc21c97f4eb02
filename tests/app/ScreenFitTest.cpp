// Every window of the tool on the field laptop: a 1366x768 screen less a 40-pixel task bar, Qt's
// default font, Russian texts.

#include "../mainwin/MainWindowSupport.h"
#include "PaintedTexts.h"
#include "editors/discrete/Prog_diskr.h"
#include "editors/fb/Prog_fb.h"
#include "editors/regulators/Prog_reg.h"
#include "editors/regulators/Uniregvis.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTest>
#include <QToolBar>
#include <set>

namespace {

const QSize kUsable(1366, 728);

// Latin words of the windows' own captions and lists (the sensor types "XK(E)", "Pt100", the unit
// "кг/cм2", ...), and the file formats Qt's dialogs name.
const std::set<QString> kLatinCaptions{
    "OK",  "Save",  "on",   "off", "line", "Min", "Max", "MIN", "MAX",    "AP",     "PV",    "SP",
    "OUT", "Kp",    "Ti",   "Td",  "OL",   "OH",  "OSF", "min", "max",    "LL",     "L",     "H",
    "HH",  "S",     "R",    "T",   "ZV",   "ZR",  "e",   "COM", "ModBus", "Master", "Slave", "MBM",
    "RS",  "NAMUR", "SQRT", "Y",   "C",    "X",   "XK",  "E",   "XA",     "K",      "J",     "MK",
    "Pt",  "Ni",    "M",    "c",   "TXC",  "veg", "rtf", "RTF", "PDF"};

// The main window holding a configuration from a file (its file-mode label shown), logged in, with
// its port on a simulated device, and every window it created.
struct Tool {
    Tool() {
        static const bool russian = LoadRussianTranslations(*QCoreApplication::instance());
        EXPECT_TRUE(russian);
        SetMessageBoxHandler([](QWidget*, const MessageBoxRequest&) { return int(mrOk); });
        form = ShownMainWindow();
        port.emplace(*form);
        CreateConfiguration(form->Cfg, {13, 8, 3, 11, 0, 0, 0, 0}, 0, QStringList(16, "ед"));
        form->Cfg.Serv.FileMode = 1;
        form->RefreshComposition();
        windows.push_back(form.get());
        for (QDialog* d : form->findChildren<QDialog*>())
            windows.push_back(d);
    }
    ~Tool() { SetMessageBoxHandler({}); }

    // Opens each window as its opener would, runs the check on it and closes it again; the online
    // loop view after its first poll, with the two panels of a cascade.
    void ForEachWindow(const std::function<void(QWidget*)>& check) {
        for (QWidget* w : windows) {
            if (w == form->FormPROG) form->FormPROG->PrepareForSlot(form->SlotControls[0]->text());
            if (w == form->FormRegOnLine) {
                form->Cfg.Reg.SetAnVh(0, 1);
                form->Cfg.Reg.SetTReg(0, 0, 1); // a loop with its switches and "+"/"-" buttons
                form->FormRegOnLine->TwoLoops = 1;
            }
            w->show();
            if (w == form->FormRegOnLine) form->FormRegOnLine->Timer1Timer();
            QApplication::processEvents();
            check(w);
            if (w != form.get()) w->hide();
        }
    }

    TempWorkDir dir;
    std::optional<OpenSimPort> port;
    std::unique_ptr<TForm1> form;
    std::vector<QWidget*> windows;
};

QString Name(const QWidget* w) {
    return QString("%1 \"%2\"").arg(w->metaObject()->className(), w->windowTitle());
}

template <class T> bool Within(const QWidget* w) {
    for (const QWidget* p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (qobject_cast<const T*>(p)) return true;
    return false;
}

QString Caption(const QWidget* c) {
    if (const auto* label = qobject_cast<const QLabel*>(c)) return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(c)) return button->text();
    return c->objectName();
}

// The buttons, edits, lists and captions of the window that lie outside it, are cut by a frame
// around them or squeezed below their size. A control inside a scrolled area needs only the area.
QStringList Unreachable(QWidget* window) {
    QStringList found;
    for (QWidget* c : window->findChildren<QWidget*>()) {
        const auto* label = qobject_cast<QLabel*>(c);
        const bool control = qobject_cast<QAbstractButton*>(c) || qobject_cast<QLineEdit*>(c) ||
                             qobject_cast<QComboBox*>(c) || (label && !label->text().isEmpty());
        if (!control || !c->isVisible() || c->window() != window || Within<QToolBar>(c)) continue;
        QRect r(c->mapTo(window, QPoint()), c->size());
        bool cut = label && !label->wordWrap() && c->width() < c->minimumSizeHint().width();
        for (QWidget* p = c->parentWidget(); p != window && !cut; p = p->parentWidget()) {
            const QRect area(p->mapTo(window, QPoint()), p->size());
            const auto* scroll = qobject_cast<QAbstractScrollArea*>(p->parentWidget());
            if (scroll && scroll->viewport() == p)
                r = area; // scrolled into view
            else
                cut = !area.contains(r);
        }
        if (cut || !window->rect().contains(r))
            found << QString("%1 \"%2\"").arg(c->metaObject()->className(), Caption(c));
    }
    return found;
}

// What a user reads in the window: its title, captions, list items, menus and tool bars.
QStringList Texts(QWidget* window) {
    QStringList texts{window->windowTitle()};
    for (QWidget* c : window->findChildren<QWidget*>()) {
        if (c->window() != window) continue;
        if (auto* l = qobject_cast<QLabel*>(c); l && l->isVisible()) texts << l->text();
        if (auto* b = qobject_cast<QAbstractButton*>(c); b && b->isVisible()) texts << b->text();
        if (auto* g = qobject_cast<QGroupBox*>(c); g && g->isVisible()) texts << g->title();
        if (auto* box = qobject_cast<QComboBox*>(c); box && box->isVisible() && !box->isEditable())
            for (int i = 0; i < box->count(); ++i)
                texts << box->itemText(i);
        if (qobject_cast<QMenuBar*>(c) || qobject_cast<QToolBar*>(c) || qobject_cast<QMenu*>(c))
            for (QAction* a : c->actions())
                if (a->isVisible()) texts << a->text();
    }
    return texts;
}

} // namespace

// Each window opens within the screen with every control and tool-bar command in reach, and speaks
// Russian besides its own Latin captions.
TEST(LaptopScreen, EveryWindowFitsShowsEveryControlAndSpeaksRussian) {
    Tool().ForEachWindow([](QWidget* w) {
        const std::string name = Name(w).toStdString();
        const QSize open = w->size(), least = w->minimumSize().expandedTo(w->minimumSizeHint());
        EXPECT_TRUE(open.width() <= kUsable.width() && open.height() <= kUsable.height())
            << name << " opens " << open.width() << "x" << open.height();
        EXPECT_TRUE(least.width() <= kUsable.width() && least.height() <= kUsable.height())
            << name << " needs " << least.width() << "x" << least.height();
        EXPECT_EQ(Unreachable(w), QStringList()) << name;
        for (QToolBar* bar : w->findChildren<QToolBar*>())
            for (QAction* a : bar->actions()) {
                const bool shown = bar->window() != w || !a->isVisible() || a->isSeparator() ||
                                   bar->widgetForAction(a)->isVisible();
                EXPECT_TRUE(shown) << name << ": " << a->text().toStdString();
            }
        QStringList words;
        for (const QString& text : Texts(w))
            if (!text.startsWith('/')) // a folder path
                for (const auto& m : QRegularExpression("[A-Za-z]+").globalMatch(text))
                    if (!kLatinCaptions.count(m.captured()) && !words.contains(m.captured()))
                        words << m.captured();
        EXPECT_EQ(words, QStringList()) << name;
    });
}

// The file dialogs name folders and months in Russian.
// Qt's serial-port module says in Russian why a port does not open.
TEST(LaptopScreen, TheSerialPortsReasonsReadRussian) {
    Tool tool;
    for (const char* reason :
         {"Permission error while creating lock file", "Permission error while locking the device"})
        EXPECT_NE(QCoreApplication::translate("QSerialPort", reason), QString::fromLatin1(reason));
}

TEST(LaptopScreen, FileDialogsShowRussianTypesAndDates) {
    Tool tool;
    QDir(tool.dir.Path()).mkdir("конфигурации");
    QFileDialog dialog(tool.form.get(), QString(), tool.dir.Path());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.show();
    auto* model = dialog.findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    const QModelIndex folder = model->index(QDir(tool.dir.Path()).filePath("конфигурации"));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !model->data(folder.siblingAtColumn(2)).toString().isEmpty(); }));
    EXPECT_EQ(model->data(folder.siblingAtColumn(2)).toString(), "Папка");
    const QString date = model->data(folder.siblingAtColumn(3)).toString();
    EXPECT_FALSE(date.isEmpty() || date.contains(QRegularExpression("[A-Za-z]"))) << date.toStdString();
}

// Both schemes of the simulated device's sample, read as a user reads it (F9), show every
// identifier, caption and mark whole.
TEST(LaptopScreen, BothSchemesOfTheSampleShowEveryTextWhole) {
    const SampleReadWindow sample;
    const auto& form = sample.form;
    ASSERT_EQ(form->Cfg.Serv.FileMode, 0);
    QStringList fbTexts, regTexts;
    const auto check = [](SchemeEditorFrame* editor, QStringList* texts) {
        editor->show();
        QApplication::processEvents();
        EXPECT_EQ(CutTexts(editor->SchemeArea), QStringList()) << editor->windowTitle().toStdString();
        *texts = AllPaintedTexts(editor->SchemeArea);
        editor->hide();
        return int(mrCancel);
    };
    ScriptedMessageBoxes boxes;
    ScriptedModals modals;
    modals.Then([&](QDialog*) {
        form->FormPrgD->AFB->trigger();
        return int(mrCancel);
    });
    modals.Then([&](QDialog* d) { return check(qobject_cast<SchemeEditorFrame*>(d), &fbTexts); });
    modals.Then([&](QDialog* d) { return check(qobject_cast<SchemeEditorFrame*>(d), &regTexts); });
    form->AProgD->trigger();
    form->AProgReg->trigger();
    EXPECT_EQ(modals.Shown(), 3);
    EXPECT_TRUE(fbTexts.contains("БРОН.А1.H")) << fbTexts.join(" | ").toStdString();
    EXPECT_TRUE(regTexts.contains("вых ЦАП №1") && regTexts.contains("вых ЦАП №2"))
        << regTexts.join(" | ").toStdString();
}
