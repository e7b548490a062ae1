#pragma once
#include "app/controls.h"

#include <string>

namespace zorvant::app {

// The about box.
class TForm4 {
public:
    explicit TForm4(std::string programVersion) : programVersion_(std::move(programVersion)) {}

    Label ProductName;
    Label Version;

    // Runs each time the box is shown.
    void FormActivate();

private:
    std::string programVersion_;
};

} // namespace zorvant::app
