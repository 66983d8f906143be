// Runs every registered test class of this folder. Arguments are passed to
// QTest (for example -v2 or a function name); LUMISK_TEST_CLASS=Name runs one
// class only; LUMISK_TEST_CHILD=name runs a test's child program instead.

#include "testregistry.h"
#include "testsupport.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <memory>

namespace testregistry {
std::vector<std::pair<const char *, Factory>> &entries()
{
    static std::vector<std::pair<const char *, Factory>> list;
    return list;
}

std::vector<std::pair<const char *, Child>> &children()
{
    static std::vector<std::pair<const char *, Child>> list;
    return list;
}
} // namespace testregistry

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Every window a test builds keeps its measurement history here, never in
    // the user's own file.
    QTemporaryDir historyDir;
    if (qEnvironmentVariableIsEmpty("LUMISK_HISTORY_DB"))
        qputenv("LUMISK_HISTORY_DB", historyDir.filePath(QStringLiteral("history.sqlite")).toLocal8Bit());
    Q_INIT_RESOURCE(lumisk);
    const QByteArray child = qgetenv("LUMISK_TEST_CHILD");
    if (!child.isEmpty()) {
        for (auto &entry : testregistry::children()) {
            if (child == entry.first)
                return entry.second();
        }
        std::fprintf(stderr, "no test child %s\n", child.constData());
        return 2;
    }
    const QByteArray only = qgetenv("LUMISK_TEST_CLASS");
    int failed = 0;
    int ran = 0;
    for (auto &entry : testregistry::entries()) {
        if (!only.isEmpty() && only != entry.first)
            continue;
        std::unique_ptr<QObject> test(entry.second());
        int result = QTest::qExec(test.get(), argc, argv);
        // A modal answer armed in the last test function and never used:
        // that test waited for nothing.
        if (testsupport::pendingModalAnswers() > 0) {
            std::printf("FAIL!  : %s left %d modal answer(s) unused\n", entry.first, testsupport::pendingModalAnswers());
            testsupport::dropModalAnswers();
            result = 1;
        }
        failed += result != 0 ? 1 : 0;
        ++ran;
    }
    std::printf("%d passed, %d failed\n", ran - failed, failed);
    return failed == 0 ? 0 : 1;
}
