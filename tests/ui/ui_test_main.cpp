// Runs every view test class in one process with one QApplication.
#include <QApplication>
#include <QFileInfo>
#include <QTest>
#include <memory>
#include <vector>

std::vector<std::unique_ptr<QObject>> makeDialogsTests();
std::vector<std::unique_ptr<QObject>> makeEditorTests();
std::vector<std::unique_ptr<QObject>> makeLifecycleTests();
std::vector<std::unique_ptr<QObject>> makePagesTests();
std::vector<std::unique_ptr<QObject>> makePreviewTests();

namespace {

// Qt Test opens its "-o FILE,FORMAT" file anew for every test class, which would keep only the last
// class's results (on Windows without a console that file is the only place they go): each class
// writes to FILE with its own name added, "results.txt" becoming "results-PagesTest.txt".
QStringList argumentsFor(const QObject& tests, QStringList arguments) {
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
        if (arguments[i] != "-o")
            continue;
        QString& output = arguments[i + 1];
        const QString file = output.left(output.lastIndexOf(','));
        if (file.isEmpty() || file == "-")
            continue;
        const QString suffix = QFileInfo(file).suffix();
        const qsizetype stem = file.size() - (suffix.isEmpty() ? 0 : suffix.size() + 1);
        output.insert(stem, QString("-") + tests.metaObject()->className());
    }
    return arguments;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    int failed = 0;
    for (auto make :
         {makeDialogsTests, makeEditorTests, makeLifecycleTests, makePagesTests, makePreviewTests})
        for (const auto& tests : make())
            failed += QTest::qExec(tests.get(), argumentsFor(*tests, arguments));
    return failed == 0 ? 0 : 1;
}
