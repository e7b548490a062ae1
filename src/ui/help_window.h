#pragma once
// The program's help window: the help file (an HTML document) in a text browser, opened at the topic
// with the given context number (the anchor "context-N").
#include <QWidget>

class QTextBrowser;

namespace zorvant::ui {

class HelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);
    void showTopic(const QString& helpFile, int context);

private:
    QTextBrowser* browser_;
};

} // namespace zorvant::ui
