#pragma once
// The save dialog of the tool's files. Whether to replace an existing file is asked through the
// message-box service, so the question is as wide as its caption needs; "No" replaces nothing and
// leaves the dialog open.

#include <QFileDialog>

class SaveFileDialog : public QFileDialog {
  public:
    SaveFileDialog(QWidget* parent, const QString& caption, const QString& filter,
                   const QString& defaultSuffix);

  protected:
    void accept() override;
};
