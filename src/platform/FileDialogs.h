#pragma once
// The file dialogs of the tool: Qt's own widgets, not the desktop's native dialogs.

#include <QFileDialog>

// A dialog choosing an existing file to open.
QFileDialog* NewOpenFileDialog(QWidget* parent, const QString& caption, const QString& filter,
                               const QString& defaultSuffix);

// The save dialog. Whether to replace an existing file is asked through the message-box service,
// so the question is as wide as its caption needs; "No" replaces nothing and leaves the dialog open.
class SaveFileDialog : public QFileDialog {
  public:
    SaveFileDialog(QWidget* parent, const QString& caption, const QString& filter,
                   const QString& defaultSuffix);

  protected:
    void accept() override;
};
