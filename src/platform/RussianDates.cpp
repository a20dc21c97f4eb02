#include "RussianDates.h"

#include <QByteArray>
#include <QtGlobal>

void UseRussianDates() {
    if (qEnvironmentVariableIsEmpty("LC_ALL")) qputenv("LC_TIME", QByteArrayLiteral("ru_RU.UTF-8"));
}
