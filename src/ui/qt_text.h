#pragma once
// The edge between the core's Windows-1251 texts and Qt's UTF-16 strings, and the core's colours.
#include "app/controls.h"

#include <QColor>
#include <QPalette>
#include <QString>
#include <string>
#include <string_view>

namespace zorvant::ui {

QString qt(std::string_view cp1251);
// Characters that Windows-1251 lacks become "?".
std::string cp(const QString& text);

QColor qtColour(const app::Colour& colour, const QPalette& palette);

} // namespace zorvant::ui
