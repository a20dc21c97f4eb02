#pragma once
// Log-in: the password dialog and the access level it gives.

#include <QDialog>
#include <QString>
#include <cstdint>
#include <optional>

class QLineEdit;
class QLabel;

// The password dialog: digits only, at most 5 of them.
class TFPSW : public QDialog {
    Q_OBJECT
  public:
    explicit TFPSW(QWidget* parent = nullptr);

    QString Password() const;
    void SetPassword(const QString& text);

    QLabel* Label1;
    QLineEdit* Edit1;
};

inline constexpr const char* kPasswordFileName = "FParol.dat";
// Gives the full access level when the user's password file does not exist.
inline constexpr uint16_t kServicePassword = 17017;

struct PasswordFile {
    enum class State { Missing, Valid, Damaged };
    State state = State::Missing;
    uint16_t password = 0; // Valid only
};

// Reads the user's password (2 bytes, little-endian) from the password file in the directory.
PasswordFile ReadPasswordFile(const QString& directory);

// The decision of the log-in.
enum class LoginResult { Limited = 0, Full = 1, EndProgram = -1 };

// Asks for the password until it is accepted or the user ends the program: the user's password
// (or the service password when the password file is missing) gives the full level, an empty
// entry the limited one. The password file is looked for in the directory (the working
// directory when empty).
LoginResult AskAccessLevel(QWidget* parent, TFPSW& dialog, const QString& directory = QString());
