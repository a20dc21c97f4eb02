#pragma once
// A main window in a temporary working directory, shown with a scripted log-in.

#include "LoopSummary.h"
#include "Obr_veg17r.h"
#include "Obrconfig.h"
#include "Obrinform.h"
#include "Obrpar_mb.h"
#include "Obrport.h"
#include "ScriptedDialogs.h"
#include "SimLink.h"
#include "StartUp.h"
#include "editors/analog/Prog_mba.h"
#include "editors/common/EditorContext.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// Readable texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// Makes the temporary directory the working directory for the test's lifetime.
class TempWorkDir {
  public:
    TempWorkDir() : old_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
    ~TempWorkDir() { QDir::setCurrent(old_); }
    QString Path() const { return dir_.path(); }

  private:
    QTemporaryDir dir_;
    QString old_;
};

// An open port on a simulated device, so that closing can be seen to close it.
struct OpenSimPort {
    explicit OpenSimPort(TForm1& form) {
        form.ComPort.SetLink(std::make_unique<SimLink>(device));
        QString error;
        EXPECT_TRUE(form.ComPort.OpenPort(&error)) << error.toStdString();
    }
    SimDevice device;
};

// A handler that expects the dialog, looked up when it shows, and closes it with result.
template <class Dialog> ScriptedModals::Handler Closes(const Dialog& expected, int result) {
    return [&expected, result](QDialog* dialog) {
        EXPECT_EQ(dialog, static_cast<QDialog*>(expected));
        return result;
    };
}

// A main window shown and logged in with the service password (full access).
inline std::unique_ptr<TForm1> ShownMainWindow() {
    auto form = std::make_unique<TForm1>();
    ScriptedModals modals;
    modals.Then([](QDialog* dialog) {
        auto* psw = qobject_cast<TFPSW*>(dialog);
        EXPECT_NE(psw, nullptr);
        if (psw) psw->SetPassword(QString::number(kServicePassword));
        return int(mrOk);
    });
    form->show();
    return form;
}

// Chooses a command as the user does from the menu bar: a click on its menu, then on the entry.
inline void ClickMenuEntry(QMainWindow& window, QAction* entry) {
    QMenuBar* bar = window.menuBar();
    for (QAction* top : bar->actions()) {
        QMenu* menu = top->menu();
        if (!menu || !menu->actions().contains(entry)) continue;
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(top).center());
        ASSERT_TRUE(menu->isVisible()) << top->text().toStdString();
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
        EXPECT_FALSE(menu->isVisible());
        // The closed menu gives the keyboard back to its window, as a window manager does; the
        // offscreen platform leaves it with the menu.
        if (window.isVisible()) {
            window.activateWindow();
            EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; }));
        }
        return;
    }
    ADD_FAILURE() << "no menu holds " << entry->text().toStdString();
}

// A logged-in main window in a temporary working directory that has read the simulated device's
// sample as a user reads it (F9), on a port to the in-process device.
struct SampleReadWindow {
    SampleReadWindow() {
        ScriptedMessageBoxes none; // a good read shows no box
        form->AInPort->trigger();
    }
    TempWorkDir work;
    std::unique_ptr<TForm1> form = ShownMainWindow();
    OpenSimPort port{*form};
};
