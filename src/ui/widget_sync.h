#pragma once
// Copying model values into widgets without disturbing what the user is doing: a widget is only
// touched when its value differs, and no change signal reaches the handlers while it is.
#include "app/controls.h"
#include "ui/cp1251_validator.h"
#include "ui/qt_text.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <functional>

namespace zorvant::ui {

inline void display(QLineEdit* widget, const app::Edit& model) {
    const QSignalBlocker blocker(widget);
    if (widget->text() != qt(model.text))
        widget->setText(qt(model.text));
    widget->setEnabled(model.enabled);
}

inline void display(QComboBox* widget, const app::ComboBox& model) {
    const QSignalBlocker blocker(widget);
    if (widget->count() != static_cast<int>(model.items.size())) {
        widget->clear();
        for (const auto& item : model.items)
            widget->addItem(qt(item));
    }
    // The shown text is what counts; leaving an equal text alone keeps the cursor of someone typing.
    const QString text = qt(model.text);
    if (widget->currentText() != text) {
        if (model.itemIndex >= 0 && widget->itemText(model.itemIndex) == text)
            widget->setCurrentIndex(model.itemIndex);
        else
            widget->setEditText(text);
    }
    widget->setEnabled(model.enabled);
}

inline void display(QSpinBox* widget, const app::SpinEdit& model) {
    const QSignalBlocker blocker(widget);
    widget->setRange(model.minimum, model.maximum);
    if (widget->value() != model.value)
        widget->setValue(model.value);
}

inline void display(QAbstractButton* widget, const app::RadioButton& model) {
    const QSignalBlocker blocker(widget);
    widget->setChecked(model.checked);
}

inline void display(QAbstractButton* widget, const app::CheckBox& model) {
    const QSignalBlocker blocker(widget);
    widget->setChecked(model.checked);
}

inline void display(QAbstractButton* widget, const app::Button& model) {
    if (!model.caption.empty())
        widget->setText(qt(model.caption));
    widget->setVisible(model.visible);
    widget->setEnabled(model.enabled);
}

inline void display(QLabel* widget, const app::Label& model) {
    widget->setText(qt(model.caption));
    QPalette colours = widget->palette();
    colours.setColor(QPalette::WindowText, qtColour(model.colour, QApplication::palette(widget)));
    widget->setPalette(colours);
}

// User input back into the models: typed text, a chosen or typed combo text, a spin value. A change
// handler, when given, runs after the model has the new value. Text fields take only characters that
// Windows-1251 holds.
inline void takeInput(QLineEdit* widget, app::Edit& model) {
    widget->setValidator(new Cp1251Validator(widget));
    QObject::connect(widget, &QLineEdit::textEdited, widget,
                     [&model](const QString& text) { model.text = cp(text); });
}

inline void takeInput(QComboBox* widget, app::ComboBox& model, std::function<void()> changed = {}) {
    widget->setEditable(true);
    widget->setInsertPolicy(QComboBox::NoInsert);
    widget->setValidator(new Cp1251Validator(widget->lineEdit()));
    QObject::connect(widget->lineEdit(), &QLineEdit::textEdited, widget,
                     [&model, changed](const QString& text) {
                         model.text = cp(text);
                         model.itemIndex = -1;
                         if (changed)
                             changed();
                     });
    QObject::connect(widget, &QComboBox::activated, widget, [widget, &model, changed](int index) {
        model.itemIndex = index;
        model.text = cp(widget->itemText(index));
        if (changed)
            changed();
    });
}

inline void takeInput(QSpinBox* widget, app::SpinEdit& model, std::function<void()> changed = {}) {
    QObject::connect(widget, &QSpinBox::valueChanged, widget, [&model, changed](int value) {
        model.value = value;
        if (changed)
            changed();
    });
}

} // namespace zorvant::ui
