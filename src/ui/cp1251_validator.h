#pragma once
// Refuses, as they are typed or pasted, characters that Windows-1251 cannot hold (₽, emoji), which the
// program would otherwise keep as "?"; a tip at the field names the character.
#include <QValidator>

namespace zorvant::ui {

class Cp1251Validator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

} // namespace zorvant::ui
