#include "ui/qt_text.h"

#include "text/cp1251.h"

namespace zorvant::ui {

QString qt(std::string_view cp1251) {
    const std::string utf8 = text::toUtf8(cp1251);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string cp(const QString& text) {
    return text::fromUtf8(text.toStdString());
}

QColor qtColour(const app::Colour& colour, const QPalette& palette) {
    using Kind = app::Colour::Kind;
    switch (colour.kind) {
    case Kind::Window:
        return palette.color(QPalette::Active, QPalette::Base);
    case Kind::ButtonFace:
        return palette.color(QPalette::Active, QPalette::Button);
    case Kind::WindowText:
        return palette.color(QPalette::Active, QPalette::WindowText);
    case Kind::Rgb:
        break;
    }
    return QColor(colour.red, colour.green, colour.blue);
}

} // namespace zorvant::ui
