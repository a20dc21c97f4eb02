#include "WholeFile.h"

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
