#include "WholeFile.h"

#include "Dialogs.h"

#include <QDir>
#include <QSaveFile>

bool WriteFileWhole(const QString& path, const QByteArray& data) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    // A short document stays in the file's buffer until the flush: only then can a full disk show.
    if (file.write(data) != data.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool WriteFileWholeOrTell(QWidget* parent, const QString& path, const QByteArray& data) {
    if (WriteFileWhole(path, data)) return true;
    MessageBox(parent, QStringLiteral("Файл не удается сохранить:\n") + QDir::toNativeSeparators(path),
               QStringLiteral("Ошибка"), MsgButtons::OK, MsgIcon::Error);
    return false;
}
