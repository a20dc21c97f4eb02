// The signalling and relay-output dialogs on their own: values kept on OK, restored on Cancel,
// and the relay boxes following the masks.
#include "Colors.h"
#include "FbEditorFixture.h"

#include <QDialogButtonBox>
#include <QSignalSpy>

namespace {

// Presses the dialog's OK or Cancel button and gives the modal result it set.
int press(QDialog* dialog, QDialogButtonBox::StandardButton which) {
    auto* box = dialog->findChild<QDialogButtonBox*>();
    EXPECT_NE(box, nullptr);
    QTest::mouseClick(box->button(which), Qt::LeftButton);
    return dialog->result();
}

// Shows the dialog modally; the user picks a type, types a cell and presses the button.
int editSignalAndPress(TFormSig& sig, int type, const QString& cell, QDialogButtonBox::StandardButton which) {
    ScriptedModals modals;
    modals.Then([&](QDialog* d) {
        sig.CBoxTipS->setCurrentIndex(type);
        sig.EditNTab->setText(cell);
        return press(d, which);
    });
    return ShowModal(&sig);
}

QColor boxColor(const RelayBox* box) {
    return box->palette().color(QPalette::Window);
}

// Shows the dialog modally; the user clicks the boxes (module, relay) and presses the button.
int clickBoxesAndPress(TFormVyh& vyh, std::vector<std::pair<int, int>> boxes,
                       QDialogButtonBox::StandardButton which) {
    ScriptedModals modals;
    modals.Then([&](QDialog* d) {
        for (const auto& [m, r] : boxes)
            QTest::mouseClick(vyh.Box(m, r), Qt::LeftButton);
        return press(d, which);
    });
    return ShowModal(&vyh);
}

} // namespace

TEST(TFormSig, RoundTripKeepsValuesOnOkAndRestoresThemOnCancel) {
    TFormSig sig;
    sig.SetType(TFormSig::stWarning);
    sig.SetCell(3);
    EXPECT_EQ(editSignalAndPress(sig, TFormSig::stAlarm, "12", QDialogButtonBox::Ok), mrOk);
    EXPECT_EQ(sig.Cancelled, 0);
    EXPECT_EQ(sig.Type(), TFormSig::stAlarm);
    EXPECT_EQ(sig.Cell(), 12);

    sig.SetType(TFormSig::stIndication);
    sig.SetCell(5);
    editSignalAndPress(sig, TFormSig::stNone, "-4", QDialogButtonBox::Cancel);
    EXPECT_EQ(sig.Cancelled, 1);
    EXPECT_EQ(sig.Type(), TFormSig::stIndication);
    EXPECT_EQ(sig.Cell(), 5);

    // A raw type outside the list and a field without a number read back as 0.
    sig.SetType(9);
    EXPECT_EQ(sig.Type(), TFormSig::stNone);
    sig.EditNTab->setText("");
    EXPECT_EQ(sig.Cell(), 0);
}

TEST(TFormVyh, BoxesFollowTheMasksAndClicksChangeThem) {
    TFormVyh vyh;
    QSignalSpy changed(&vyh, &TFormVyh::Changed);
    vyh.SetMask(0, 0x05);
    vyh.SetMask(4, 0x80);
    for (const auto& [m, r, tag] : {std::tuple{0, 0, 1}, {0, 1, 0}, {0, 2, 1}, {4, 7, 1}})
        EXPECT_EQ(vyh.Box(m, r)->Tag(), tag) << m << " " << r;
    EXPECT_EQ(boxColor(vyh.Box(0, 0)), TColorToQColor(0x8080));
    EXPECT_EQ(boxColor(vyh.Box(0, 1)), TColorToQColor(0xC0C0C0));
    EXPECT_EQ(changed.count(), 0); // setting by the caller is no change by the user

    vyh.show();
    EXPECT_EQ(clickBoxesAndPress(vyh, {{0, 1}, {0, 2}}, QDialogButtonBox::Ok), TFormVyh::kAccepted);
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(vyh.Cancelled, 0);
    EXPECT_EQ(vyh.Mask(0), 0x03);
    EXPECT_EQ(vyh.Mask(4), 0x80);
    EXPECT_EQ(boxColor(vyh.Box(0, 2)), TColorToQColor(0xC0C0C0));

    vyh.SetMask(0, 0x10);
    vyh.SetBoxTag(1, 3, 1);
    EXPECT_NE(clickBoxesAndPress(vyh, {{0, 0}, {1, 3}}, QDialogButtonBox::Cancel), TFormVyh::kAccepted);
    EXPECT_EQ(vyh.Cancelled, 1);
    EXPECT_EQ(vyh.Mask(0), 0x10);
    EXPECT_EQ(vyh.Mask(1), 0x08);
    EXPECT_EQ(vyh.Box(0, 0)->Tag(), 0);
}
