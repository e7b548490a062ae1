#include "ui/translations.h"

#include <QCoreApplication>
#include <QTranslator>

namespace zorvant::ui {

bool installQtTranslations(QCoreApplication& application) {
    auto* translator = new QTranslator(&application);
    if (!translator->load(":/translations/qtbase_ru.qm")) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace zorvant::ui
