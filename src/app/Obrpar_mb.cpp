#include "Obrpar_mb.h"

#include "Dialogs.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

TFPSW::TFPSW(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Пароль"));
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(QStringLiteral("Введите пароль"), this);
    Edit1 = new QLineEdit(this);
    Edit1->setEchoMode(QLineEdit::Password);
    Edit1->setMaxLength(5);
    Edit1->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,5}")), Edit1));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(Label1);
    layout->addWidget(Edit1);
    layout->addWidget(buttons);
}

QString TFPSW::Password() const {
    return Edit1->text();
}

void TFPSW::SetPassword(const QString& text) {
    Edit1->setText(text);
}

PasswordFile ReadPasswordFile(const QString& directory) {
    QFile file(QDir(directory).filePath(QString::fromLatin1(kPasswordFileName)));
    if (!file.exists()) return {};
    PasswordFile result{PasswordFile::State::Damaged, 0};
    if (!file.open(QIODevice::ReadOnly)) return result;
    const QByteArray data = file.read(3);
    if (data.size() != 2) return result;
    result.state = PasswordFile::State::Valid;
    result.password = uint16_t(uint8_t(data[0]) | (uint8_t(data[1]) << 8));
    return result;
}

LoginResult AskAccessLevel(QWidget* parent, TFPSW& dialog, const QString& directory) {
    const PasswordFile file = ReadPasswordFile(directory.isEmpty() ? QDir::currentPath() : directory);
    if (file.state == PasswordFile::State::Damaged)
        MessageBox(parent,
                   QStringLiteral("Файл пароля FParol.dat повреждён (неверный размер или нет доступа).\n"
                                  "Полный уровень доступа недоступен."),
                   QStringLiteral("Ошибка"), MsgButtons::OK, MsgIcon::Error);
    // A damaged file accepts no password: the service password only stands in for a missing one.
    std::optional<uint16_t> expected;
    if (file.state == PasswordFile::State::Valid)
        expected = file.password;
    else if (file.state == PasswordFile::State::Missing)
        expected = kServicePassword;

    for (;;) {
        dialog.SetPassword(QString());
        if (ShowModal(&dialog) != mrOk) return LoginResult::EndProgram;
        const QString entry = dialog.Password();
        if (entry.isEmpty()) return LoginResult::Limited;
        bool ok = false;
        const uint value = entry.toUInt(&ok);
        // The whole entry is compared, so 5 digits above 65535 never match by wrapping round.
        if (ok && expected && value == *expected) return LoginResult::Full;
        if (MessageBox(parent, QStringLiteral("Введенный пароль неверен"), QStringLiteral("Предупреждение"),
                       MsgButtons::RetryCancel, MsgIcon::Warning) != mrRetry)
            return LoginResult::EndProgram;
    }
}
