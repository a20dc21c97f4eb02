#pragma once
// What the main window hands every editor instead of itself: the configuration, the exchange, the
// information windows and their fills, the identity line of printed tables, the file mode, and a
// notification that an editor changed the configuration.

#include "InformFill.h"
#include "PrintContext.h"

#include <QObject>
#include <QString>

class TComPortClass;
class TInform;
class TInformMR;
struct TConfiguration;

class EditorContext : public QObject, public PrintContext {
    Q_OBJECT
  public:
    // The information windows print through this context from now on.
    EditorContext(TConfiguration& cfg, TComPortClass& comPort, TInform& inform, TInformMR& informMR,
                  QObject* parent = nullptr);

    TConfiguration& Cfg() const { return cfg_; }
    TComPortClass& ComPort() const { return comPort_; }
    TInform& Inform() const { return inform_; }
    TInformMR& InformMR() const { return informMR_; }

    // The information windows filled from the configuration.
    void FillInform(InformShow how) const;
    void FillInformMR(InformShow how) const;

    // True in file mode: the configuration came from a file and nothing goes to the device.
    bool FileMode() const;
    // The configuration file last opened or saved; empty when the configuration has none.
    const QString& ConfigFileName() const { return configFileName_; }
    void SetConfigFileName(const QString& name) { configFileName_ = name; }
    // The main window's file-mode label text, printed in the headers of file-mode print-outs.
    const QString& FileModeText() const { return fileModeText_; }
    void SetFileModeText(const QString& text) { fileModeText_ = text; }
    // The modification code of the configuration's modules; empty when there are none.
    const QString& ModifCode() const { return modifCode_; }
    void SetModifCode(const QString& code) { modifCode_ = code; }

    // "Файл " and the file name in file mode, else "ВЕГ-17  ", the modification code, "  № " and
    // the device number the exchange goes to.
    QString IdentityLine() const override;
    // The same with another device title in place of "ВЕГ-17  ".
    QString IdentityLineFor(const QString& deviceTitle) const;

    // Called by an editor that changed the configuration.
    void NotifyConfigurationChanged() { emit ConfigurationChanged(); }
    // Called by an editor's read that took the device's composition: the input information is
    // filled anew (not shown), and the owner told of the changed configuration (its input counts).
    void NotifyCompositionTaken();

  signals:
    void ConfigurationChanged();

  private:
    TConfiguration& cfg_;
    TComPortClass& comPort_;
    TInform& inform_;
    TInformMR& informMR_;
    QString configFileName_;
    QString modifCode_;
    QString fileModeText_;
};
