#include "ui/settings_page.h"

#include "text/cp1251.h"
#include "ui/watch_table_view.h"
#include "ui/widget_sync.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace zorvant::ui {
using namespace text::literals;

SettingsPage::SettingsPage(app::TForm1& form, HandlerRunner& runner, QWidget* parent)
    : QWidget(parent), form_(form), runner_(runner) {
    setObjectName("TabSheet2");
    auto* top = new QHBoxLayout;
    top->addWidget(clientGroup(), 2);
    top->addWidget(foldersGroup(), 5);
    watch_ = new WatchTableView(form_, runner_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(trayOptions());
    layout->addWidget(watch_, 1);
}

void SettingsPage::call(void (app::TForm1::*handler)()) {
    runner_.run([this, handler] { (form_.*handler)(); });
}

QLineEdit* SettingsPage::clientField(const char* name, app::Edit& model) {
    auto* field = new QLineEdit;
    field->setObjectName(name);
    takeInput(field, model);
    return field;
}

QWidget* SettingsPage::clientGroup() {
    auto* group = new QGroupBox(qt(" Настройки клиента "_cp));
    auto* grid = new QGridLayout(group);
    ClientConfigAll = new QRadioButton(qt("Общие"_cp));
    ClientConfigAll->setObjectName("ClientConfigAll");
    ClientConfigInd = new QRadioButton(qt("Индивидуальные:"_cp));
    ClientConfigInd->setObjectName("ClientConfigInd");
    for (QRadioButton* radio : {ClientConfigAll, ClientConfigInd}) {
        connect(radio, &QRadioButton::clicked, this, [this, radio] {
            form_.ClientConfigAll.checked = radio == ClientConfigAll;
            form_.ClientConfigInd.checked = radio == ClientConfigInd;
            call(&app::TForm1::ClientConfigAllClick);
        });
    }
    client_code = clientField("client_code", form_.client_code);
    firmid = clientField("firmid", form_.firmid);
    account = clientField("account", form_.account);
    Label1 = new QLabel;
    Label1->setObjectName("Label1");
    Label2 = new QLabel;
    Label2->setObjectName("Label2");
    Label3 = new QLabel;
    Label3->setObjectName("Label3");
    grid->addWidget(ClientConfigAll, 0, 0, 1, 2);
    grid->addWidget(ClientConfigInd, 1, 0, 1, 2);
    grid->addWidget(Label1, 2, 0);
    grid->addWidget(client_code, 2, 1);
    grid->addWidget(Label2, 3, 0);
    grid->addWidget(firmid, 3, 1);
    grid->addWidget(Label3, 4, 0);
    grid->addWidget(account, 4, 1);
    return group;
}

QWidget* SettingsPage::foldersGroup() {
    auto* group = new QGroupBox(qt(" Настройки хранения файлов  "_cp));
    auto* grid = new QGridLayout(group);
    const struct {
        std::string_view label;
        const char* name;
        app::Edit& model;
        QLineEdit*& widget;
        const char* button;
        void (app::TForm1::*handler)();
    } folders[] = {
        {"Папка для хранения файлов условий"_cp, "ConFolder", form_.ConFolder, ConFolder, "SpeedButton2",
         &app::TForm1::SpeedButton2Click},
        {"Папка для хранения файлов описаний"_cp, "DescFolder", form_.DescFolder, DescFolder, "SpeedButton3",
         &app::TForm1::SpeedButton3Click},
        {"Папка для хранения портфелей"_cp, "PortfelFolder", form_.PortfelFolder, PortfelFolder,
         "SpeedButton4", &app::TForm1::SpeedButton4Click},
        {"Папка для хранения файлов сообщений"_cp, "MessFolder", form_.MessFolder, MessFolder,
         "SpeedButton11", &app::TForm1::SpeedButton11Click},
    };
    int row = 0;
    for (const auto& folder : folders) {
        folder.widget = new QLineEdit;
        folder.widget->setObjectName(folder.name);
        takeInput(folder.widget, folder.model);
        auto* pick = new QToolButton;
        pick->setObjectName(folder.button);
        pick->setText("...");
        connect(pick, &QToolButton::clicked, this, [this, handler = folder.handler] { call(handler); });
        grid->addWidget(new QLabel(qt(folder.label)), row, 0);
        grid->addWidget(folder.widget, row, 1);
        grid->addWidget(pick, row, 2);
        ++row;
    }
    return group;
}

QWidget* SettingsPage::trayOptions() {
    auto* row = new QWidget;
    CloseToTray = new QCheckBox(qt("Закрывать окно в область уведомлений"_cp));
    CloseToTray->setObjectName("CloseToTray");
    AlertBalloons = new QCheckBox(qt("Уведомление о каждом сигнале"_cp));
    AlertBalloons->setObjectName("AlertBalloons");
    for (const auto& [box, model] :
         {std::pair{CloseToTray, &form_.CloseToTray}, {AlertBalloons, &form_.AlertBalloons}})
        connect(box, &QCheckBox::clicked, this, [model](bool checked) { model->checked = checked; });
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(CloseToTray);
    layout->addWidget(AlertBalloons);
    layout->addStretch(1);
    return row;
}

void SettingsPage::refresh() {
    display(ClientConfigAll, form_.ClientConfigAll);
    display(ClientConfigInd, form_.ClientConfigInd);
    display(client_code, form_.client_code);
    display(firmid, form_.firmid);
    display(account, form_.account);
    display(Label1, form_.Label1);
    display(Label2, form_.Label2);
    display(Label3, form_.Label3);
    display(ConFolder, form_.ConFolder);
    display(DescFolder, form_.DescFolder);
    display(PortfelFolder, form_.PortfelFolder);
    display(MessFolder, form_.MessFolder);
    display(CloseToTray, form_.CloseToTray);
    display(AlertBalloons, form_.AlertBalloons);
    watch_->refresh();
}

} // namespace zorvant::ui
