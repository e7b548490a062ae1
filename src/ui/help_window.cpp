#include "ui/help_window.h"

#include "text/cp1251.h"
#include "ui/qt_text.h"
#include "ui/window_placement.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace zorvant::ui {
using namespace text::literals;

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("HelpWindow");
    setWindowTitle(qt("Работа с программой"_cp));
    browser_ = new QTextBrowser;
    browser_->setObjectName("HelpText");
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 520);
}

void HelpWindow::showTopic(const QString& helpFile, int context) {
    QUrl url = QUrl::fromLocalFile(helpFile);
    url.setFragment(QString("context-%1").arg(context));
    // The file's name does not end in .html, so the browser is told what it holds.
    browser_->setSource(url, QTextDocument::HtmlResource);
    if (!isVisible())
        centreOver(*this, parentWidget());
    show();
    raise();
    activateWindow();
}

} // namespace zorvant::ui
