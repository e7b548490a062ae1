#pragma once
// The page "Настройки": client settings, storage folders, the tray options and the watch table.
#include "app/tform1.h"
#include "ui/handler_runner.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace zorvant::ui {

class WatchTableView;

class SettingsPage : public QWidget {
    Q_OBJECT

public:
    SettingsPage(app::TForm1& form, HandlerRunner& runner, QWidget* parent = nullptr);
    void refresh();

private:
    QWidget* clientGroup();
    QWidget* foldersGroup();
    QWidget* trayOptions();
    QLineEdit* clientField(const char* name, app::Edit& model);
    void call(void (app::TForm1::*handler)());

    app::TForm1& form_;
    HandlerRunner& runner_;
    QRadioButton* ClientConfigAll;
    QRadioButton* ClientConfigInd;
    QLineEdit* client_code;
    QLineEdit* firmid;
    QLineEdit* account;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLineEdit* ConFolder;
    QLineEdit* DescFolder;
    QLineEdit* PortfelFolder;
    QLineEdit* MessFolder;
    QCheckBox* CloseToTray;
    QCheckBox* AlertBalloons;
    WatchTableView* watch_;
};

} // namespace zorvant::ui
