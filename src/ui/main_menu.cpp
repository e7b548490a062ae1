#include "ui/main_menu.h"

#include "text/cp1251.h"
#include "ui/qt_text.h"

#include <QMenu>
#include <QMenuBar>

namespace zorvant::ui {
using namespace text::literals;

namespace {

using Handler = void (app::TForm1::*)();

struct Entry {
    std::string_view caption; // empty for a separator
    const char* name;
    Handler handler;
};

void addEntries(QMenu& menu, std::initializer_list<Entry> entries, app::TForm1& form, HandlerRunner& runner) {
    for (const Entry& entry : entries) {
        if (entry.caption.empty()) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(qt(entry.caption));
        action->setObjectName(entry.name);
        QObject::connect(action, &QAction::triggered, &menu, [&form, &runner, handler = entry.handler] {
            runner.run([&] { (form.*handler)(); });
        });
    }
}

QMenu& addMenu(QMenuBar& bar, std::string_view caption, const char* name) {
    QMenu* menu = bar.addMenu(qt(caption));
    menu->setObjectName(name);
    return *menu;
}

} // namespace

void buildMainMenu(QMenuBar& bar, app::TForm1& form, HandlerRunner& runner) {
    addEntries(addMenu(bar, "Портфель"_cp, "N8"),
               {{"Сохранить описание портфеля"_cp, "N10", &app::TForm1::N10Click},
                {"Загрузить описание портфеля"_cp, "N11", &app::TForm1::N11Click},
                {{}, nullptr, nullptr},
                {"Генерировать скрипт QPL (портфель)"_cp, "N9", &app::TForm1::N9Click},
                {"Сохранить скрипт QPL (портфель)"_cp, "N13", &app::TForm1::N13Click},
                {{}, nullptr, nullptr},
                {"Проверить на истории"_cp, "HistoryPreview", &app::TForm1::HistoryPreviewClick}},
               form, runner);
    addEntries(addMenu(bar, "Условия"_cp, "N1"),
               {{"Сохранить"_cp, "N3", &app::TForm1::N3Click},
                {"Загрузить"_cp, "N4", &app::TForm1::N4Click},
                {{}, nullptr, nullptr},
                {"Добавить условие"_cp, "N5", &app::TForm1::BitBtn1Click},
                {"Удалить условие"_cp, "N6", &app::TForm1::N6Click}},
               form, runner);
    addEntries(addMenu(bar, "Отслеживание файлов сообщений"_cp, "N14"),
               {{"Добавить"_cp, "N15", &app::TForm1::SpeedButton7Click},
                {"Редактировать"_cp, "N16", &app::TForm1::SpeedButton12Click},
                {"Удалить"_cp, "N17", &app::TForm1::SpeedButton10Click}},
               form, runner);
    QAction* mail = bar.addAction(qt("Настройка почты"_cp));
    mail->setObjectName("N18");
    QObject::connect(mail, &QAction::triggered, &bar, [&] { runner.run([&] { form.N18Click(); }); });
    QAction* telegram = bar.addAction(qt("Настройка Telegram"_cp));
    telegram->setObjectName("TelegramSettings");
    QObject::connect(telegram, &QAction::triggered, &bar,
                     [&] { runner.run([&] { form.TelegramSettingsClick(); }); });
    addEntries(addMenu(bar, "Помощь"_cp, "N19"),
               {{"Работа с программой"_cp, "N20", &app::TForm1::N20Click},
                {{}, nullptr, nullptr},
                {"О программе"_cp, "N22", &app::TForm1::N22Click}},
               form, runner);
}

} // namespace zorvant::ui
