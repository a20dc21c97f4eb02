#pragma once
// The window every scheme editor shares: tool bar, file-mode label, progress bar, information
// buttons, the scrolled scheme area with its wheel and popup handling, the main menu, and the
// actions both the function-block and the control-loop editors have.
//
// A new scheme editor starts here (and from BlockSession.h):
// - derive from SchemeEditorFrame and pass the context on; in the constructor set the object
//   name, caption and size, create the editor's own actions (NewAction, NewQuietActions), put
//   its own buttons on the button row (AddToButtonRow), fill MainMenu1, ToolBar1, PopupMenu1 and
//   PopupMenu3 (AddItemFor for items that trigger a frame action), give AInSertGroup and
//   AAddGroup their captions (they name the editor's elements);
// - implement InPortClick (F9), OutPortClick (F10) and FormCloseQuery with a BlockSession;
// - override FormShow (runs at every showing), ScrollBox1Click (a click on the empty scheme),
//   ScrollBox1MouseDown (call the frame's first) and InformFillOnly as the editor needs;
// - put the scheme's elements on SchemeArea.
// AClose, the close box and Escape all pass FormCloseQuery; a refused close keeps the window.

#include <QDialog>
#include <initializer_list>
#include <utility>

class EditorContext;
class QAction;
class QHBoxLayout;
class QLabel;
class QMenu;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QToolBar;

class SchemeEditorFrame : public QDialog {
    Q_OBJECT
  public:
    explicit SchemeEditorFrame(EditorContext& context, QWidget* parent = nullptr);

    // Controls, all created by the frame.
    QMenuBar* MainMenu1 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QLabel* LabelFile = nullptr;          // "Режим работы с файлом", hidden
    QProgressBar* ProgressBar1 = nullptr; // hidden until a transfer
    QPushButton* InformBut = nullptr;
    QPushButton* InformButMR = nullptr; // hidden
    QScrollArea* ScrollBox1 = nullptr;
    QWidget* SchemeArea = nullptr;   // the scrolled canvas every scheme element lives on
    QMenu* PopupMenu1 = nullptr;     // on a scheme element, filled by the editor
    QMenu* PopupMenu3 = nullptr;     // on the empty scheme, filled by the editor
    QMenu* ScrollBoxPopup = nullptr; // the scheme area's current popup menu; PopupMenu3 at first

    // Actions, all created by the frame. The group actions have no handler yet.
    QAction *AInPort = nullptr, *AOutPort = nullptr, *AClose = nullptr;
    QAction *ACopyGroup = nullptr, *AInSertGroup = nullptr, *AAddGroup = nullptr, *AChooseAll = nullptr,
            *ADelChoose = nullptr, *ADelete = nullptr;
    // Without a handler, and without a caption.
    QAction *AText = nullptr, *AOpenFile = nullptr, *ASaveFile = nullptr, *ACreatFile = nullptr,
            *AArhiv = nullptr, *AParol = nullptr, *AHelp = nullptr, *APort = nullptr, *AInfAnalog = nullptr,
            *AInfVyh = nullptr;

    // The editor's transfers and close query; FormCloseQuery is true when the window may close.
    virtual void InPortClick() = 0;
    virtual void OutPortClick() = 0;
    virtual bool FormCloseQuery() = 0;
    // Runs at every showing of the window.
    virtual void FormShow() {}

    void NCloseClick();
    // Fills the input-information window (shown unless InformFillOnly) and returns the focus to
    // the scheme area.
    void InformButClick();
    // Fills and shows the relay-output information window and returns the focus to the scheme area.
    void InformButMRClick();
    // The vertical scroll position of the scheme area, by 10 pixels.
    void ScrollBox1MouseWheelDown();
    void ScrollBox1MouseWheelUp();
    // A press on the empty scheme area: its popup menu becomes PopupMenu3.
    virtual void ScrollBox1MouseDown(Qt::MouseButton button);
    // A left click on the empty scheme area (sender ScrollBox1).
    virtual void ScrollBox1Click(QObject* sender = nullptr);

  protected:
    // True while InformButClick fills the information window without showing it.
    virtual bool InformFillOnly() const { return false; }

    // An action of this window, its shortcut working anywhere in it.
    QAction* NewAction(const char* name, const QString& caption, const QKeySequence& key);
    // Actions without caption, shortcut or handler, stored where the pairs say.
    void NewQuietActions(std::initializer_list<std::pair<QAction**, const char*>> actions);
    // A menu item with the action's caption that triggers the action.
    static QAction* AddItemFor(QMenu* menu, QAction* action);
    // Widgets after the information buttons, in order.
    void AddToButtonRow(std::initializer_list<QWidget*> widgets);

    void showEvent(QShowEvent* event) override;
    void reject() override; // every way of closing passes the close query
    bool eventFilter(QObject* watched, QEvent* event) override;

    EditorContext& context_;

  private:
    void CreateActions();
    void CreateControls();

    QHBoxLayout* buttonRow_ = nullptr;
};
