#pragma once
// A dialog made when it is first used. A QFileDialog, and a QPrintDialog with its file field,
// start a file-information thread for their folder as soon as they exist, so a window that may
// never show its dialog makes it late.

#include <QFileDialog>
#include <functional>

template <class Dialog> class LazyDialog {
  public:
    // How the dialog is made; its parent window owns it.
    void MakeWith(std::function<Dialog*()> make) { make_ = std::move(make); }

    Dialog* Get() const {
        if (!dialog_ && make_) dialog_ = make_();
        return dialog_;
    }
    Dialog* operator->() const { return Get(); }
    operator Dialog*() const { return Get(); }
    bool Made() const { return dialog_ != nullptr; }

  private:
    std::function<Dialog*()> make_;
    mutable Dialog* dialog_ = nullptr;
};

using LazyFileDialog = LazyDialog<QFileDialog>;
