#include "testsupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QLabel>
#include <QWidget>
#include <atomic>
#include <deque>
#include <pty.h>
#include <unistd.h>

namespace testsupport {

QString metersimPath()
{
    return QStringLiteral(LUMISK_METERSIM);
}

MeterSim::MeterSim() = default;

MeterSim::~MeterSim()
{
    stop();
}

bool MeterSim::start(const QStringList &args)
{
    stop();
    static std::atomic<int> serial{0};
    m_dir = std::make_unique<QTemporaryDir>();
    if (!m_dir->isValid())
        return false;
    m_link = m_dir->filePath(QStringLiteral("ttyLUMISK%1").arg(serial++));
    m_log = m_dir->filePath(QStringLiteral("requests.log"));
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::SeparateChannels);
    m_process->setProgram(metersimPath());
    m_process->setArguments(QStringList{QStringLiteral("--link"), m_link, QStringLiteral("--log"), m_log} + args);
    m_process->start();
    if (!m_process->waitForStarted(5000))
        return false;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 10000) {
        if (QFileInfo::exists(m_link))
            return true;
        if (m_process->state() != QProcess::Running)
            return false;
        m_process->waitForReadyRead(20);
    }
    return false;
}

void MeterSim::stop()
{
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->terminate();
        if (!m_process->waitForFinished(5000)) {
            m_process->kill();
            m_process->waitForFinished(2000);
        }
    }
    m_process.reset();
}

void MeterSim::killNow()
{
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(2000);
    }
    m_process.reset();
    QFile::remove(m_link);
}

bool MeterSim::isRunning() const
{
    return m_process && m_process->state() == QProcess::Running;
}

QStringList MeterSim::logLines() const
{
    QFile file(m_log);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    lines.removeAll(QString());
    return lines;
}

QByteArray MeterSim::output()
{
    return m_process ? m_process->readAllStandardOutput() : QByteArray();
}

SilentPort::SilentPort()
{
    int slave = -1;
    char name[256];
    if (openpty(&m_master, &slave, name, nullptr, nullptr) != 0)
        return;
    m_path = QString::fromLocal8Bit(name);
    ::close(slave);
}

SilentPort::~SilentPort()
{
    if (m_master >= 0)
        ::close(m_master);
}

void setSerialPorts(const QStringList &paths)
{
    qputenv("LUMISK_SERIAL_PORTS", paths.join(QLatin1Char(':')).toUtf8());
}

namespace {

// One armed answer. Answers are served in the order they were armed: the
// first waits for its modal, the others wait behind it, so that an action
// may arm the answer for the modal its click brings up next.
struct ModalAnswer {
    QByteArray className;
    std::function<void(QWidget *)> action;
    QDeadlineTimer deadline;
    QByteArray testFunction;
    QByteArray dataTag;
};

QByteArray currentFunction()
{
    return QByteArray(QTest::currentTestFunction());
}

QByteArray currentTag()
{
    return QByteArray(QTest::currentDataTag());
}

std::deque<ModalAnswer> &modalAnswers()
{
    static std::deque<ModalAnswer> answers;
    return answers;
}

QString describe(const ModalAnswer &answer)
{
    QString where = QString::fromLatin1(answer.testFunction);
    if (!answer.dataTag.isEmpty())
        where += QStringLiteral("(%1)").arg(QString::fromLatin1(answer.dataTag));
    return QStringLiteral("the answer for a modal %1 armed in %2")
        .arg(answer.className.isEmpty() ? QStringLiteral("widget") : QString::fromLatin1(answer.className), where);
}

void failNow(const QString &message)
{
    QTest::qFail(qPrintable(message), __FILE__, __LINE__);
}

void serveModalAnswers();

QTimer *modalTimer()
{
    static QPointer<QTimer> timer;
    if (!timer) {
        timer = new QTimer(qApp);
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, timer, &serveModalAnswers);
    }
    return timer;
}

void serveModalAnswers()
{
    auto &answers = modalAnswers();
    if (answers.empty()) {
        modalTimer()->stop();
        return;
    }
    const ModalAnswer &first = answers.front();
    if (first.testFunction != currentFunction() || first.dataTag != currentTag()) {
        const QString message = describe(first) + QStringLiteral(" found no modal before that test ended");
        answers.pop_front();
        failNow(message);
        return;
    }
    QWidget *modal = QApplication::activeModalWidget();
    if (modal && modal->isVisible() && (first.className.isEmpty() || modal->inherits(first.className.constData()))) {
        const ModalAnswer answer = first;
        answers.pop_front();
        // Run outside this timer's slot: Qt never fires a timer again while
        // its slot runs, and the action may open the next modal (a nested
        // event loop) that a later answer has to serve.
        QPointer<QWidget> target(modal);
        QTimer::singleShot(0, qApp, [answer, target]() {
            if (target)
                answer.action(target);
            else
                failNow(describe(answer) + QStringLiteral(" saw its modal vanish before it could answer"));
        });
        return;
    }
    if (first.deadline.hasExpired()) {
        const QString message = describe(first) + QStringLiteral(" timed out: no such modal came up");
        answers.pop_front();
        failNow(message);
    }
}

void arm(const char *className, std::function<void(QWidget *)> action, int timeoutMs)
{
    modalAnswers().push_back(
        ModalAnswer{QByteArray(className ? className : ""), std::move(action), QDeadlineTimer(timeoutMs), currentFunction(), currentTag()});
    if (!modalTimer()->isActive())
        modalTimer()->start();
}

} // namespace

void onNextModal(std::function<void(QWidget *)> action, int timeoutMs)
{
    arm(nullptr, std::move(action), timeoutMs);
}

void onNextModal(const char *className, std::function<void(QWidget *)> action, int timeoutMs)
{
    arm(className, std::move(action), timeoutMs);
}

bool clickButton(QWidget *modal, const QString &buttonObjectName)
{
    if (auto *button = modal->findChild<QAbstractButton *>(buttonObjectName)) {
        button->click();
        return true;
    }
    failNow(QStringLiteral("the modal %1 has no button \"%2\"").arg(QString::fromLatin1(modal->metaObject()->className()), buttonObjectName));
    modal->close();
    return false;
}

void clickInNextModal(const QString &buttonObjectName, int timeoutMs)
{
    arm(nullptr, [buttonObjectName](QWidget *modal) { clickButton(modal, buttonObjectName); }, timeoutMs);
}

void answerMessage(const QString &buttonObjectName, QString *text, int timeoutMs)
{
    arm(
        "MessageDialog",
        [buttonObjectName, text](QWidget *box) {
            if (text)
                if (auto *label = box->findChild<QLabel *>(QStringLiteral("msgLabel")))
                    *text = label->text();
            clickButton(box, buttonObjectName);
        },
        timeoutMs);
}

bool noModalFor(int ms)
{
    QString seen;
    QTimer watch;
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&seen]() {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            if (!modal->isVisible())
                return;
            seen = QString::fromLatin1(modal->metaObject()->className());
            if (auto *label = modal->findChild<QLabel *>(QStringLiteral("msgLabel")))
                seen += QStringLiteral(" \"%1\"").arg(label->text());
            modal->close();
        }
    });
    watch.start();
    QTest::qWait(ms);
    watch.stop();
    if (!seen.isEmpty())
        failNow(QStringLiteral("a modal %1 came up where none was expected").arg(seen));
    return seen.isEmpty();
}

int pendingModalAnswers()
{
    return int(modalAnswers().size());
}

void dropModalAnswers()
{
    modalAnswers().clear();
}

int runPython(const QString &scriptRelativeToTests, const QStringList &args, QString *output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    const QString script = QStringLiteral(LUMISK_SOURCE_DIR "/tests/") + scriptRelativeToTests;
    process.start(QStringLiteral("/usr/bin/python3"), QStringList{script} + args);
    if (!process.waitForFinished(120000)) {
        process.kill();
        if (output)
            *output = QStringLiteral("python did not finish");
        return -1;
    }
    if (output)
        *output = QString::fromUtf8(process.readAll());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

} // namespace testsupport
