#pragma once
// A titled group of radio buttons with one selected index, as the configuration windows use it.

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

class RadioGroup : public QGroupBox {
    Q_OBJECT
  public:
    explicit RadioGroup(const QString& title, const QStringList& items = {}, QWidget* parent = nullptr);

    void SetItems(const QStringList& items);
    int ItemCount() const;
    int ItemIndex() const; // -1 when none is selected
    void SetItemIndex(int index);
    QRadioButton* Button(int index) const;
    // The items without spacing between them and with narrower margins.
    void SetCompact();

  signals:
    void Clicked(int index);

  private:
    QButtonGroup* group_;
};
