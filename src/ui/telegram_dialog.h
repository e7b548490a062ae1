#pragma once
// "Настройка Telegram": the bot's token and the Bot API server, in force as soon as they are typed.
#include "app/tform_telegram.h"
#include "ui/handler_runner.h"

#include <QDialog>
#include <QThreadPool>
#include <stop_token>

class QLineEdit;
class QPushButton;

namespace zorvant::ui {

class TelegramDialog : public QDialog {
    Q_OBJECT

public:
    TelegramDialog(app::TFormTelegram& form, HandlerRunner& runner, QWidget* parent = nullptr);
    ~TelegramDialog() override;
    void refresh();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The test asks the server off the window's thread, so that the dialog stays responsive.
    void startTest();

    app::TFormTelegram& form_;
    HandlerRunner& runner_;
    QLineEdit* TelegramToken;
    QLineEdit* TelegramServer;
    QPushButton* TestButton;
    QThreadPool tests_;
    std::stop_source stopTests_;
};

} // namespace zorvant::ui
