// Form2, "Settings": a modeless dialog whose rows follow the station file,
// port and mail account first, the remote stations last.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "records/mail_test.h"
#include "records/settings_dialog.h"
#include "windows/builders.h"
#include "windows/closing_dialog.h"
#include "windows/scrolling_rows.h"

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
    QLineEdit* edit(ElementName name, int row, int column, int span = 1) {
        auto* edit = named(new QLineEdit(dialog_), name);
        grid_->addWidget(edit, row, column, 1, span);
        return edit;
    }
    void check(ElementName name, int row, int column, int span) {
        grid_->addWidget(named(new QCheckBox(dialog_), name), row, column, 1, span);
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

QPushButton* button(QDialog* dialog, ElementName name) {
    auto* button = named(new QPushButton(dialog), name);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

QWidget* buildSettingsDialog(QWidget* mainWindow) {
    // Escape closes it through the core like the close box, so that the next
    // opening reloads the fields from memory.
    auto* window = named(new ClosingDialog(mainWindow), kSettingsDialog);
    window->setModal(false);

    Rows rows(window);
    int row = rows.next();
    rows.label(row, 0, "COMM port");
    auto* ports = named(new QComboBox(window), kPortChoice);
    ports->setEditable(true);
    ports->setInsertPolicy(QComboBox::NoInsert);
    rows.grid()->addWidget(ports, row, 1);
    rows.check(kEmailEnableBox, row, 2, 2);

    row = rows.next();
    rows.label(row, 0, "Station name");
    rows.edit(kStationNameBox, row, 1, 3);
    rows.separator();

    row = rows.next();
    rows.label(row, 1, "e-mail address");
    rows.label(row, 2, "Name - Surname", 2);
    struct MailRow {
        const char* label;
        ElementName address;
        ElementName name;
    };
    for (const MailRow& mail :
         {MailRow{"sender e-mail", kSenderAddressBox, kSenderNameBox},
          MailRow{"Receipent 1", kRecipientAddress1Box, kRecipientName1Box},
          MailRow{"Receipent 2", kRecipientAddress2Box, kRecipientName2Box},
          MailRow{"Receipent 3", kRecipientAddress3Box, kRecipientName3Box}}) {
        row = rows.next();
        rows.label(row, 0, mail.label);
        rows.edit(mail.address, row, 1);
        rows.edit(mail.name, row, 2, 2);
    }
    row = rows.next();
    rows.label(row, 0, "SMTP host");
    rows.edit(kSmtpHostBox, row, 1);
    row = rows.next();
    rows.label(row, 0, "Subject");
    rows.edit(kMailSubjectBox, row, 1, 3);
    rows.separator();

    row = rows.next();
    rows.label(row, 2, "User name");
    rows.edit(kSmtpUserNameBox, row, 3);
    row = rows.next();
    rows.check(kAuthenticationBox, row, 0, 2);
    rows.label(row, 2, "Password");
    rows.edit(kSmtpPasswordBox, row, 3)->setEchoMode(QLineEdit::Password);
    rows.separator();

    row = rows.next();
    rows.check(kPopAuthenticationBox, row, 0, 1);
    rows.label(row, 1, "POP3 host");
    rows.edit(kPop3HostBox, row, 2, 2);
    rows.separator();

    row = rows.next();
    rows.label(row, 1, "IP address");
    rows.label(row, 2, "TCP/IP port", 2);
    const ElementName remotes[] = {kRemoteIp1Box, kRemoteIp2Box, kRemoteIp3Box};
    for (int i = 0; i < 3; ++i) {
        row = rows.next();
        rows.label(row, 0, ("Remote STS " + std::to_string(i + 1)).c_str());
        rows.edit(remotes[i], row, 1);
        if (i == 0)
            rows.edit(kRemotePortBox, row, 2);  // one port for all remote stations
    }

    auto* save = button(window, kSaveSettings);
    auto* mailTest = button(window, kMailTest);
    auto* cancel = button(window, kCancelSettings);
    // The e-mail test's outcome has a row of its own over the buttons, three
    // lines high from the start, so that no outcome moves them.
    auto* outcome = named(new QLabel(window), kMailTestOutcome);
    outcome->setWordWrap(true);
    outcome->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    outcome->setFixedHeight(3 * outcome->fontMetrics().lineSpacing());
    outcome->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save);
    buttons->addStretch();
    buttons->addWidget(mailTest);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(window);
    scrollingRows(layout)->setLayout(rows.grid());
    layout->addWidget(outcome);
    layout->addLayout(buttons);

    // Enter saves, Escape cancels; Tab goes through the rows as they are laid out.
    save->setDefault(true);
    ports->setFocus();
    // As wide as drawn and as tall as its rows, unless the screen is smaller.
    const QSize screen = QGuiApplication::primaryScreen()->availableSize() * 0.9;
    window->resize(QSize(px(7800), window->sizeHint().height()).boundedTo(screen));
    return window;
}

}  // namespace treld
