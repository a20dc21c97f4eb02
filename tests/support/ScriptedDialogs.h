#pragma once
// Test scripts for message boxes and modal windows: each expected box is checked exactly and
// answered; a box nobody expected, or an expectation left unused, fails the test.

#include "Dialogs.h"

#include <QString>
#include <deque>
#include <functional>

class QDialog;

class ScriptedMessageBoxes {
  public:
    ScriptedMessageBoxes();
    ~ScriptedMessageBoxes(); // fails the test when an expected box was never shown

    // Expect a box with exactly these properties and answer it.
    ScriptedMessageBoxes& Expect(const QString& text, const QString& caption, MsgButtons buttons,
                                 MsgIcon icon, int defaultButton, int answer) {
        script_.push_back({text, caption, buttons, icon, defaultButton, answer, true});
        return *this;
    }
    // The same, when the buttons, icon and default button do not matter to the test.
    ScriptedMessageBoxes& ExpectText(const QString& text, const QString& caption, int answer = mrOk) {
        script_.push_back({text, caption, MsgButtons::OK, MsgIcon::None, mrNone, answer, false});
        return *this;
    }

    int Shown() const { return shown_; }
    bool Done() const { return script_.empty(); }

  private:
    struct Entry {
        QString text, caption;
        MsgButtons buttons;
        MsgIcon icon;
        int defaultButton, answer;
        bool checkStyle;
    };
    std::deque<Entry> script_;
    int shown_ = 0;
};

// Runs modal windows by handlers: each handler gets the dialog and returns the modal result.
class ScriptedModals {
  public:
    using Handler = std::function<int(QDialog*)>;
    ScriptedModals();
    ~ScriptedModals();
    ScriptedModals& Then(Handler handler) {
        script_.push_back(std::move(handler));
        return *this;
    }
    int Shown() const { return shown_; }

  private:
    std::deque<Handler> script_;
    int shown_ = 0;
};

// A handler for a file dialog: chooses the path and accepts.
ScriptedModals::Handler ChooseFile(const QString& path);
