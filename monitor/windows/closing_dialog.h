// A modeless dialog whose Escape key closes it like the close box does, so
// the core hears of it (a plain QDialog hides itself without a close event).
#pragma once

#include <QDialog>

namespace treld {

class ClosingDialog : public QDialog {
  public:
    using QDialog::QDialog;
    void reject() override { close(); }
};

}  // namespace treld
