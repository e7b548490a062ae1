#include "ui/script_page.h"

#include "text/cp1251.h"
#include "ui/qt_text.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace zorvant::ui {
using namespace text::literals;

namespace {

QString joined(const app::Memo& memo) {
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(memo.lines.size()));
    for (const auto& line : memo.lines)
        lines << qt(line);
    return lines.join('\n');
}

} // namespace

ScriptPage::ScriptPage(app::Memo& script, QWidget* parent) : QWidget(parent), script_(script) {
    setObjectName("TabSheet3");
    ScriptText = new QPlainTextEdit;
    ScriptText->setObjectName("ScriptText");
    ScriptText->setLineWrapMode(QPlainTextEdit::NoWrap);
    ScriptText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    connect(ScriptText, &QPlainTextEdit::textChanged, this, [this] {
        script_.lines.clear();
        const QString all = ScriptText->toPlainText();
        if (all.isEmpty())
            return;
        for (const QString& line : all.split('\n'))
            script_.lines.push_back(cp(line));
    });
    auto* preview = new QPushButton(qt("Проверить на истории"_cp));
    preview->setObjectName("HistoryPreviewButton");
    connect(preview, &QPushButton::clicked, this, &ScriptPage::historyPreviewClicked);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(preview);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ScriptText);
    layout->addLayout(buttons);
}

void ScriptPage::refresh() {
    const QString text = joined(script_);
    if (ScriptText->toPlainText() == text)
        return;
    const QSignalBlocker blocker(ScriptText);
    ScriptText->setPlainText(text);
}

} // namespace zorvant::ui
