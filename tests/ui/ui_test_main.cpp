// Runs every view test class in one process with one QApplication.
#include <QApplication>
#include <QTest>
#include <memory>
#include <vector>

std::vector<std::unique_ptr<QObject>> makeDialogsTests();
std::vector<std::unique_ptr<QObject>> makeEditorTests();
std::vector<std::unique_ptr<QObject>> makeLifecycleTests();
std::vector<std::unique_ptr<QObject>> makePagesTests();
std::vector<std::unique_ptr<QObject>> makePreviewTests();

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    int failed = 0;
    for (auto make :
         {makeDialogsTests, makeEditorTests, makeLifecycleTests, makePagesTests, makePreviewTests})
        for (const auto& tests : make())
            failed += QTest::qExec(tests.get(), argc, argv);
    return failed == 0 ? 0 : 1;
}
