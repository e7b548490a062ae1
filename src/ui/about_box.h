#pragma once
// TForm4, the about box "About": a fixed-size dialog with the icon, the product name and the version.
#include "app/tform4.h"

#include <QDialog>

class QLabel;

namespace zorvant::ui {

class AboutBox : public QDialog {
    Q_OBJECT

public:
    explicit AboutBox(app::TForm4& form, QWidget* parent = nullptr);
    void setVisible(bool visible) override;

private:
    app::TForm4& form_;
    QLabel* ProductName;
    QLabel* Version;
};

} // namespace zorvant::ui
