#include "ui/cp1251_validator.h"

#include "text/cp1251.h"
#include "ui/qt_text.h"

#include <QToolTip>
#include <QWidget>

namespace zorvant::ui {
using namespace text::literals;

QValidator::State Cp1251Validator::validate(QString& input, int&) const {
    const auto refused = text::firstUnrepresentable(input.toStdString());
    if (!refused)
        return Acceptable;
    if (auto* field = qobject_cast<QWidget*>(parent())) {
        const QString message = qt("Символ «"_cp) + QString::fromUcs4(&*refused, 1) +
                                qt("» нельзя сохранить в кодировке Windows-1251, он не введён."_cp);
        QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())), message, field);
    }
    return Invalid;
}

} // namespace zorvant::ui
