#include "EditorContext.h"

#include "Configuration.h"
#include "Obrinform.h"
#include "Obrinformmr.h"

EditorContext::EditorContext(TConfiguration& cfg, TComPortClass& comPort, TInform& inform,
                             TInformMR& informMR, QObject* parent)
    : QObject(parent), cfg_(cfg), comPort_(comPort), inform_(inform), informMR_(informMR) {
    inform.Printing = this;
    informMR.Printing = this;
}

void EditorContext::FillInform(InformShow how) const {
    ::FillInform(inform_, cfg_, how);
}

void EditorContext::FillInformMR(InformShow how) const {
    ::FillInformMR(informMR_, cfg_, how);
}

void EditorContext::NotifyCompositionTaken() {
    FillInform(InformShow::Quiet);
    emit ConfigurationChanged();
}

bool EditorContext::FileMode() const {
    return cfg_.Serv.FileMode == 1;
}

QString EditorContext::IdentityLine() const {
    return IdentityLineFor(QStringLiteral("ВЕГ-17  "));
}

QString EditorContext::IdentityLineFor(const QString& deviceTitle) const {
    if (FileMode()) return QStringLiteral("Файл ") + configFileName_;
    return deviceTitle + modifCode_ + QStringLiteral("  № ") + QString::number(cfg_.Serv.DevNum + 1);
}
