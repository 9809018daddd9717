// Form2, "Settings": a modeless dialog whose rows follow the station file,
// port and mail account first, the remote stations last.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "windows/builders.h"

namespace treld {
namespace {

// Columns: row label, left field, right label, right field.
class Rows {
  public:
    explicit Rows(QDialog* dialog) : dialog_(dialog), grid_(new QGridLayout) {}

    QGridLayout* grid() const { return grid_; }
    int next() { return row_++; }

    void label(int row, int column, const char* text, int span = 1) {
        grid_->addWidget(new QLabel(QString::fromLatin1(text), dialog_), row, column, 1, span);
    }
    QLineEdit* edit(const char* name, int row, int column, int span = 1) {
        auto* edit = new QLineEdit(dialog_);
        edit->setObjectName(QString::fromLatin1(name));
        grid_->addWidget(edit, row, column, 1, span);
        return edit;
    }
    QCheckBox* check(const char* name, int row, int column, int span) {
        auto* box = new QCheckBox(dialog_);
        box->setObjectName(QString::fromLatin1(name));
        grid_->addWidget(box, row, column, 1, span);
        return box;
    }
    void separator() {
        auto* line = new QFrame(dialog_);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        grid_->addWidget(line, next(), 0, 1, 4);
    }

  private:
    QDialog* dialog_;
    QGridLayout* grid_;
    int row_ = 0;
};

QPushButton* button(QDialog* dialog, const char* name) {
    auto* button = new QPushButton(dialog);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

QWidget* buildSettingsDialog(QWidget* mainWindow) {
    auto* window = new QDialog(mainWindow);
    window->setObjectName("Form2");
    window->setModal(false);
    // Escape goes through the same closing as the window's close box.
    QObject::connect(window, &QDialog::rejected, window, &QWidget::close);

    Rows rows(window);
    int row = rows.next();
    rows.label(row, 0, "COMM port");
    auto* ports = new QComboBox(window);
    ports->setObjectName("Combo1");
    ports->setEditable(true);
    ports->setInsertPolicy(QComboBox::NoInsert);
    rows.grid()->addWidget(ports, row, 1);
    rows.check("Check1", row, 2, 2);

    row = rows.next();
    rows.label(row, 0, "Station name");
    rows.edit("Text14", row, 1, 3);
    rows.separator();

    row = rows.next();
    rows.label(row, 1, "e-mail address");
    rows.label(row, 2, "Name - Surname", 2);
    struct MailRow {
        const char* label;
        const char* address;
        const char* name;
    };
    for (const MailRow& mail :
         {MailRow{"sender e-mail", "Text1", "Text6"}, MailRow{"Receipent 1", "Text2", "Text7"},
          MailRow{"Receipent 2", "Text8", "Text9"}, MailRow{"Receipent 3", "Text10", "Text11"}}) {
        row = rows.next();
        rows.label(row, 0, mail.label);
        rows.edit(mail.address, row, 1);
        rows.edit(mail.name, row, 2, 2);
    }
    row = rows.next();
    rows.label(row, 0, "SMTP host");
    rows.edit("Text3", row, 1);
    row = rows.next();
    rows.label(row, 0, "Subject");
    rows.edit("Text13", row, 1, 3);
    rows.separator();

    row = rows.next();
    rows.label(row, 2, "User name");
    rows.edit("Text4", row, 3);
    row = rows.next();
    rows.check("Check2", row, 0, 2);
    rows.label(row, 2, "Password");
    rows.edit("Text5", row, 3);  // shown as typed, as the file holds it
    rows.separator();

    row = rows.next();
    rows.check("Check3", row, 0, 1);
    rows.label(row, 1, "POP3 host");
    rows.edit("Text12", row, 2, 2);
    rows.separator();

    row = rows.next();
    rows.label(row, 1, "IP address");
    rows.label(row, 2, "TCP/IP port", 2);
    const char* const remotes[][2] = {
        {"Remote STS 1", "Text15"}, {"Remote STS 2", "Text16"}, {"Remote STS 3", "Text17"}};
    for (int i = 0; i < 3; ++i) {
        row = rows.next();
        rows.label(row, 0, remotes[i][0]);
        rows.edit(remotes[i][1], row, 1);
        if (i == 0)
            rows.edit("Text18", row, 2);  // one port for all remote stations
    }

    auto* save = button(window, "Command1");
    auto* mailTest = button(window, "Command2");
    auto* cancel = button(window, "Command3");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save);
    buttons->addStretch();
    buttons->addWidget(mailTest);
    buttons->addStretch();
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(window);
    layout->addLayout(rows.grid());
    layout->addLayout(buttons);

    // Focus starts at Cancel, then Save, then the port list.
    QWidget::setTabOrder(cancel, save);
    QWidget::setTabOrder(save, ports);
    cancel->setFocus();
    window->resize(px(7800), px(7200));
    return window;
}

}  // namespace treld
