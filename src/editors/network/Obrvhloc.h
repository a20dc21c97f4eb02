#pragma once
// The start/count dialog of the network discrete view: the first position and the number of the
// block's inputs that TFormVhDLoc shows. Leaving an edit stores both values in the view; the close
// query keeps the dialog open while a value is out of its range, with the error hint beside it.
// The block is the one of the request-block editor (its LabN_MBM).

#include <QDialog>
#include <QString>

class EditorContext;
class QLabel;
class QLineEdit;
class QPushButton;
class TFormMBM;
class TFormVhDLoc;

namespace StartCount {

// A refused entry: the text of the error hint. An empty text means accepted.
using Verdict = QString;

// The start: a number from the block's first discrete position first, within its outputs.
Verdict CheckStart(const QString& text, int first, int outputs);
// The count from start: 1..12; a block of more than 12 outputs whose count leaves fewer than 13
// of them unshown limits it to the outputs from start on.
Verdict CheckCount(const QString& text, int start, int first, int outputs);

} // namespace StartCount

class TFormVhLoc : public QDialog {
    Q_OBJECT
  public:
    TFormVhLoc(EditorContext& context, TFormMBM& mbm, TFormVhDLoc& view, QWidget* parent = nullptr);

    QLineEdit *Edit1, *Edit2;
    QLabel* ErrorText;
    QPushButton* OK;

    // Stores the start and the count in the view.
    void EditNVhExit();
    // False, with the error hint shown, while a value is refused.
    bool FormCloseQuery();
    void OKClick();
    void reject() override;

  private:
    int Block() const;
    bool Refuse(QLineEdit* edit, const StartCount::Verdict& hint);

    EditorContext& context_;
    TFormMBM& mbm_;
    TFormVhDLoc& view_;
};
