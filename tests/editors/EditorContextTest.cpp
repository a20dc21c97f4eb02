// The editor context: the identity line of printed tables, and the information windows it prints
// through.

#include "EditorFixture.h"

#include <QDialog>
#include <QPushButton>
#include <gtest/gtest.h>

TEST(EditorContext, IdentityLineNamesTheFileInFileModeElseTheDevice) {
    TComPortClass port;
    EditorSurroundings parts(port);
    EditorContext& context = parts.context;
    struct Case {
        int fileMode, devNum;
        QString code, file, line;
    };
    const Case cases[] = {
        {0, 0, "", "", "ВЕГ-17    № 1"},
        {0, 30, "D8300B00", "/data/a.veg", "ВЕГ-17  D8300B00  № 31"},
        {1, 4, "D8300B00", "/data/a.veg", "Файл /data/a.veg"},
        {1, 4, "D8300B00", "", "Файл "},
    };
    for (const Case& c : cases) {
        parts.cfg->Serv.FileMode = c.fileMode;
        parts.cfg->Serv.DevNum = c.devNum;
        context.SetModifCode(c.code);
        context.SetConfigFileName(c.file);
        EXPECT_EQ(context.FileMode(), c.fileMode == 1);
        EXPECT_EQ(context.IdentityLine(), c.line);
    }
}

// Filling is the scheme editors' information buttons' test; here both print buttons keep the save
// dialog's answer in the context.
TEST(EditorContext, PrintButtonsOfItsWindowsKeepTheSaveDialogsAnswer) {
    TComPortClass port;
    EditorSurroundings parts(port);
    ScriptedModals modals;
    for (QPushButton* print : {parts.inform.ButPrint, parts.informMR.ButPrint}) {
        parts.context.SaveDialogAccepted = 7;
        modals.Then([](QDialog*) { return int(QDialog::Rejected); });
        print->click();
        EXPECT_EQ(parts.context.SaveDialogAccepted, 0);
    }
    EXPECT_EQ(modals.Shown(), 2);
}
