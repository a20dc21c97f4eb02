// The start/count dialog of the network discrete view: the range rules of both entries, the
// values reaching the view on leaving an edit, and the close that stays open on a refused value.

#include "LocalNetFixture.h"
#include "editors/network/Obrvhloc.h"
#include "editors/network/Prog_infvhdloc.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kRange = "Величина вне диапазона %1 - %2";

} // namespace

TEST(StartCount, RangesOfStartAndCount) {
    struct Case {
        const char* start;
        const char* count;
        int outputs;
        QString startHint, countHint;
    };
    // Every block starts at discrete position 36.
    const Case cases[] = {
        {"", "1", 8, kInputError, ""},
        {"-1", "1", 8, kInputError, ""},
        {"x", "1", 8, kInputError, ""},
        {"35", "1", 8, kRange.arg(36).arg(43), ""},
        {"44", "1", 8, kRange.arg(36).arg(43), ""},
        {"43", "", 8, "", kInputError},
        {"43", "0", 8, "", kInputError},
        {"43", "12", 8, "", ""}, // 12 or fewer outputs: 1..12 whatever the start
        {"43", "13", 8, "", kRange.arg(1).arg(12)},
        {"36", "12", 30, "", ""}, // 18 outputs left unshown: 1..12
        {"36", "17", 30, "", kRange.arg(1).arg(12)},
        {"46", "20", 30, "", ""}, // 10 left unshown: the outputs from the start on
        {"50", "18", 30, "", kRange.arg(1).arg(16)},
        {"40", "12", 16, "", ""},
        {"48", "12", 16, "", kRange.arg(1).arg(4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.start) + " / " + c.count + " of " + std::to_string(c.outputs));
        EXPECT_EQ(StartCount::CheckStart(c.start, 36, c.outputs), c.startHint);
        if (c.startHint.isEmpty()) {
            EXPECT_EQ(StartCount::CheckCount(c.count, QString(c.start).toInt(), 36, c.outputs), c.countHint);
        }
    }
}

TEST_F(LocalNetTest, StartCountDialogFeedsTheViewAndStaysOpenOnARefusedValue) {
    TFormVhDLoc view{parts.context};
    TFormVhLoc dialog{parts.context, mbm, view};
    EXPECT_EQ(dialog.windowTitle(), "Ввод начального адреса и количества входов блока MBM");
    mbm.Prepare(0); // ВЕГ-01, 8 outputs from 36
    dialog.show();

    dialog.Edit1->setText("40");
    dialog.Edit2->setText("3");
    emit dialog.Edit2->editingFinished();
    EXPECT_EQ(view.Start, 40);
    EXPECT_EQ(view.Count, 3);

    dialog.Edit1->setText("44");
    dialog.OK->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.ErrorText->text(), kRange.arg(36).arg(43));
    EXPECT_TRUE(dialog.ErrorText->isVisible());

    dialog.Edit1->setText("43");
    dialog.Edit2->setText("");
    dialog.reject(); // the window's close runs the same query
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.ErrorText->text(), kInputError);

    dialog.Edit2->setText("12");
    dialog.OK->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 2);
    EXPECT_FALSE(dialog.ErrorText->isVisible());
}
