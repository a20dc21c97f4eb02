// The editor context: the identity line of printed tables, and the information windows it prints
// through.

#include "EditorFixture.h"

#include <QDialog>
#include <QPushButton>
#include <gtest/gtest.h>
#include <tuple>

TEST(EditorContext, IdentityLineNamesTheFileInFileModeElseTheDevice) {
    TComPortClass port;
    EditorSurroundings parts(port);
    EditorContext& context = parts.context;
    const std::tuple<int, int, QString, QString, QString> cases[] = {
        {0, 0, "", "", "ВЕГ-17    № 1"},
        {0, 30, "D8300B00", "/data/a.veg", "ВЕГ-17  D8300B00  № 31"},
        {1, 4, "D8300B00", "/data/a.veg", "Файл /data/a.veg"},
        {1, 4, "D8300B00", "", "Файл "},
    };
    for (const auto& [fileMode, devNum, code, file, line] : cases) {
        parts.cfg->Serv.FileMode = fileMode;
        parts.cfg->Serv.DevNum = devNum;
        context.SetModifCode(code);
        context.SetConfigFileName(file);
        EXPECT_EQ(context.FileMode(), fileMode == 1);
        EXPECT_EQ(context.IdentityLine(), line);
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
