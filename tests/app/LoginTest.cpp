#include "../mainwin/MainWindowSupport.h"

#include <QTest>

namespace {

void writePasswordFile(const QString& dir, const QByteArray& bytes) {
    QFile file(QDir(dir).filePath("FParol.dat"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void expectWrong(ScriptedMessageBoxes& boxes, int answer) {
    boxes.Expect("Введенный пароль неверен", "Предупреждение", MsgButtons::RetryCancel, MsgIcon::Warning,
                 mrNone, answer);
}

// Types each entry into the dialog and confirms it (an empty optional closes the dialog instead),
// and gives the level the log-in ends with.
LoginResult Login(const QString& dir, const std::vector<std::optional<QString>>& entries) {
    TFPSW dialog;
    ScriptedModals modals;
    for (const auto& entry : entries)
        modals.Then([&, entry](QDialog* shown) {
            EXPECT_EQ(shown, &dialog);
            if (!entry) return int(mrNone);
            dialog.Edit1->setText(*entry);
            return int(mrOk);
        });
    return AskAccessLevel(nullptr, dialog, dir);
}

} // namespace

TEST(Login, ServicePasswordOnlyWhenThePasswordFileIsMissing) {
    QTemporaryDir dir;
    const QString service = QString::number(kServicePassword);
    EXPECT_EQ(Login(dir.path(), {service}), LoginResult::Full);
    EXPECT_EQ(Login(dir.path(), {QString("")}), LoginResult::Limited);
    writePasswordFile(dir.path(), QByteArray("\xD2\x04", 2)); // 1234
    ScriptedMessageBoxes boxes;
    expectWrong(boxes, mrRetry);
    EXPECT_EQ(Login(dir.path(), {service, QString("01234")}), LoginResult::Full);
}

TEST(Login, WrongEntriesRetryOrEndTheProgram) {
    QTemporaryDir dir;
    // 99999 - 65536 = 34463: a five-digit entry must not wrap round onto a 16-bit password.
    writePasswordFile(dir.path(), QByteArray("\x9F\x86", 2));
    {
        ScriptedMessageBoxes boxes;
        expectWrong(boxes, mrRetry);
        expectWrong(boxes, mrCancel);
        EXPECT_EQ(Login(dir.path(), {QString("99999"), QString("1")}), LoginResult::EndProgram);
    }
    EXPECT_EQ(Login(dir.path(), {QString("34463")}), LoginResult::Full);
    EXPECT_EQ(Login(dir.path(), {std::nullopt}), LoginResult::EndProgram); // closed without OK
}

TEST(Login, DamagedPasswordFileIsAnErrorAndGivesNoFullAccess) {
    for (const QByteArray& bytes : {QByteArray(), QByteArray("\x01", 1), QByteArray("\x01\x02\x03", 3)}) {
        QTemporaryDir dir;
        writePasswordFile(dir.path(), bytes);
        EXPECT_EQ(ReadPasswordFile(dir.path()).state, PasswordFile::State::Damaged);
        ScriptedMessageBoxes boxes;
        boxes.Expect("Файл пароля FParol.dat повреждён (неверный размер или нет доступа).\n"
                     "Полный уровень доступа недоступен.",
                     "Ошибка", MsgButtons::OK, MsgIcon::Error, mrNone, mrOk);
        expectWrong(boxes, mrRetry);
        EXPECT_EQ(Login(dir.path(), {QString::number(kServicePassword), QString("")}), LoginResult::Limited);
    }
}

TEST(Login, DialogTakesAtMostFiveDigits) {
    TFPSW dialog;
    QTest::keyClicks(dialog.Edit1, "12a3-456789");
    EXPECT_EQ(dialog.Password(), "12345");
    EXPECT_EQ(dialog.Edit1->echoMode(), QLineEdit::Password);
}
