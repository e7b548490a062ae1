#include "ui/handler_runner.h"

#include "text/cp1251.h"
#include "text/error.h"

namespace zorvant::ui {
using namespace text::literals;

void HandlerRunner::run(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const Error& error) {
        dialogs_.showMessage(error.what());
    } catch (const std::exception& error) {
        // Errors of the standard library speak English in ASCII or UTF-8.
        dialogs_.showMessage(text::fromUtf8(error.what()));
    } catch (...) {
        dialogs_.showMessage("Неизвестная ошибка."_cp);
    }
    refreshViews();
}

void HandlerRunner::refreshViews() {
    for (const auto& refresh : views_)
        refresh();
}

} // namespace zorvant::ui
