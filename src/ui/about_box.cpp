#include "ui/about_box.h"

#include "text/cp1251.h"
#include "ui/images.h"
#include "ui/qt_text.h"
#include "ui/window_placement.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorvant::ui {
using namespace text::literals;

AboutBox::AboutBox(app::TForm4& form, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      form_(form) {
    setObjectName("Form4");
    setWindowTitle("About");
    auto* panel = new QFrame;
    panel->setObjectName("Panel1");
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    auto* ProgramIcon = new QLabel;
    ProgramIcon->setObjectName("ProgramIcon");
    ProgramIcon->setFixedSize(128, 128);
    ProgramIcon->setScaledContents(true);
    ProgramIcon->setPixmap(QPixmap::fromImage(programIcon()));
    ProductName = new QLabel;
    ProductName->setObjectName("ProductName");
    Version = new QLabel;
    Version->setObjectName("Version");
    auto* grid = new QGridLayout(panel);
    grid->addWidget(ProgramIcon, 0, 0, 2, 1);
    grid->addWidget(ProductName, 0, 1);
    grid->addWidget(Version, 1, 1, Qt::AlignTop);

    auto* BitBtn1 = new QPushButton(qt("Закрыть"_cp));
    BitBtn1->setObjectName("BitBtn1");
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addWidget(BitBtn1, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutBox::setVisible(bool visible) {
    // The texts go in first, so that the box is centred at its real size. Qt's own placement guesses
    // the frame from other windows and misses the centre where frames differ (Wine draws its own).
    if (visible) {
        form_.FormActivate();
        ProductName->setText(qt(form_.ProductName.caption));
        Version->setText(qt(form_.Version.caption));
        adjustSize();
        centreOver(*this, parentWidget());
    }
    QDialog::setVisible(visible);
}

} // namespace zorvant::ui
