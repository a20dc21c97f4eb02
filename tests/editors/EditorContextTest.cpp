// The editor context: the identity line of printed tables, and the information windows it fills
// and prints through.

#include "EditorFixture.h"

#include <QDialog>
#include <QPushButton>
#include <QTableWidget>
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

TEST(EditorContext, FillsAndPrintsItsOwnInformationWindows) {
    TComPortClass port;
    EditorSurroundings parts(port);
    EditorContext& context = parts.context;
    parts.inform.StringGrid1->item(5, TInform::dcText)->setText("старое");
    parts.informMR.StringGrid1->item(5, TInformMR::colName)->setText("старое");
    context.FillInform(InformShow::Quiet);
    context.FillInformMR(InformShow::Show);
    EXPECT_TRUE(parts.inform.StringGrid1->item(5, TInform::dcText)->text().isEmpty());
    EXPECT_TRUE(parts.informMR.StringGrid1->item(5, TInformMR::colName)->text().isEmpty());
    EXPECT_TRUE(parts.inform.isHidden());
    EXPECT_TRUE(parts.informMR.isVisible());
    parts.informMR.hide();

    // Both print buttons keep the save dialog's answer in the context.
    ScriptedModals modals;
    for (QPushButton* print : {parts.inform.ButPrint, parts.informMR.ButPrint}) {
        context.SaveDialogAccepted = 7;
        modals.Then([](QDialog*) { return int(QDialog::Rejected); });
        print->click();
        EXPECT_EQ(context.SaveDialogAccepted, 0);
    }
    EXPECT_EQ(modals.Shown(), 2);
}
