// Form7, "Program help": the operator's guide that ships beside the program,
// in a window of its own that stays open beside the main window.
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "device/device_controls.h"
#include "windows/builders.h"
#include "windows/closing_dialog.h"

namespace treld {
namespace {

// Reads the guide each time it is shown, so that an updated guide is seen.
class GuideWindow : public ClosingDialog {
  public:
    GuideWindow(QWidget* mainWindow, const std::filesystem::path& programDir)
        : ClosingDialog(mainWindow),
          file_(QString::fromStdString((programDir / kOperatorGuide).string())),
          guide_(new QTextBrowser(this)) {
        guide_->setOpenExternalLinks(true);
        (new QVBoxLayout(this))->addWidget(guide_);
    }

  protected:
    void showEvent(QShowEvent* event) override {
        if (QFileInfo(file_).isFile()) {
            guide_->setSource(QUrl::fromLocalFile(file_), QTextDocument::MarkdownResource);
        } else {
            guide_->setPlainText("The operator's guide " + file_ +
                                 " is missing: it belongs beside the program.");
        }
        ClosingDialog::showEvent(event);
    }

  private:
    const QString file_;
    QTextBrowser* const guide_;
};

}  // namespace

QWidget* buildHelpWindow(QWidget* mainWindow, const std::filesystem::path& programDir) {
    auto* window = named(new GuideWindow(mainWindow, programDir), kHelpWindow);
    window->setModal(false);
    window->resize(px(9000), px(6000));  // 1366 x 768 at scale 1.5 holds it
    return window;
}

}  // namespace treld
