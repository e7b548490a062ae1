#pragma once
// The application's general error handler: every handler a view calls runs through it. An error that
// escapes the handler is shown with its own text and the program goes on; then the views show the
// models as the handler left them.
#include "app/dialogs.h"

#include <functional>
#include <vector>

namespace zorvant::ui {

class HandlerRunner {
public:
    explicit HandlerRunner(app::Dialogs& dialogs) : dialogs_(dialogs) {}

    void run(const std::function<void()>& handler);
    // A view's model-to-widget copy, called after every handler.
    void addView(std::function<void()> refresh) { views_.push_back(std::move(refresh)); }
    void refreshViews();

private:
    app::Dialogs& dialogs_;
    std::vector<std::function<void()>> views_;
};

} // namespace zorvant::ui
