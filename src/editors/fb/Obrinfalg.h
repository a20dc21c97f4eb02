#pragma once
// The algorithm tables window: the created function blocks as a read-only table, and the
// algorithms (name and block list) the user edits. Closing stores the algorithm grid into the
// tables; the window also loads algorithms from a configuration file and prints both tables.

#include "AlgTableEdit.h"
#include "PagePrinter.h"

#include "LazyFileDialog.h"

#include <QDialog>
#include <QStringList>
#include <vector>

class EditorContext;
class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;
class QTextEdit;

class TFormInfAlg : public QDialog {
    Q_OBJECT
  public:
    explicit TFormInfAlg(EditorContext& context, QWidget* parent = nullptr);

    static constexpr int GridRows = 122;
    static constexpr int HeadRows = 2;

    QLabel* Label1 = nullptr;
    QTableWidget* StringGrid1 = nullptr; // blocks
    QTableWidget* StringGrid2 = nullptr; // algorithms
    QCheckBox* EditingNFB = nullptr;
    QPushButton *NameFromFile = nullptr, *OK = nullptr, *BNew1 = nullptr, *BNew2 = nullptr;
    QPushButton *But3 = nullptr, *But5 = nullptr, *Button1 = nullptr, *Button2 = nullptr; // hidden
    QTextEdit *RichEdit1 = nullptr, *RichEdit2 = nullptr, *RichEdit3 = nullptr, *RichEdit4 = nullptr;
    LazyFileDialog DialOpenFile; // made when first used
    LazyFileDialog DialSaveFile;

    // The opener's fill: the data rows of both grids cleared, then these rows written from row 2;
    // the block numbers editable only while there are blocks.
    void FillTables(const std::vector<QStringList>& blockRows, const std::vector<AlgGridRow>& algRows);

    // The block editor's algorithm captions, one per algorithm: a row with a number but no name
    // clears its caption at once, whether or not the scheme is rebuilt afterwards.
    void SetAlgorithmCaptions(const std::vector<QLabel*>* captions) { algorithmCaptions_ = captions; }

    // The data rows of the algorithm grid, in order.
    std::vector<AlgGridRow> AlgorithmGridRows() const;

    // Stores the algorithm grid into the tables; false, with the window staying open, when the
    // grid holds an error and the user does not want to finish. Sets the modal result (2, or 6
    // for an error the user accepted).
    bool FormCloseQuery();
    // True when the cell may be selected; in file mode a selection marks the configuration
    // modified.
    bool StringGrid2SelectCell(int column, int row);

    void NameFromFileClick();
    void But3Click();    // the block table's text, direct-print title
    void Button1Click(); // the algorithm table's text
    void But5Click();    // prints the block table's text, whole or the selected part
    void Button2Click(); // prints the algorithm table's text, whole or the selected part
    void BNew1Click();
    void BNew2Click();

    void done(int result) override;

  private:
    void SetCell(QTableWidget* grid, int row, int column, const QString& text);
    QString Cell(const QTableWidget* grid, int row, int column) const;
    void ClearDataRows(QTableWidget* grid);
    void FillAlgorithmRows(const std::vector<AlgGridRow>& rows);
    std::vector<QStringList> PrintRows(const QTableWidget* grid, int lastRow) const;
    QStringList BlockLines(const QString& devicePrefix) const;
    QStringList AlgorithmLines() const;
    void ShowLines(QTextEdit* edit, const QStringList& lines);
    void PrintText(QTextEdit* source, QTextEdit* selection, const QString& selectionTitle,
                   PrintRange selectionRange);

    EditorContext& context_;
    const std::vector<QLabel*>* algorithmCaptions_ = nullptr;
    int closeResult_ = 0;
    int currentColumn_ = 0, currentRow_ = HeadRows;
};
