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
#include <QWidget>
#include <atomic>

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

void setSerialPorts(const QStringList &paths)
{
    qputenv("LUMISK_SERIAL_PORTS", paths.join(QLatin1Char(':')).toUtf8());
}

void onNextModal(std::function<void(QWidget *)> action, int timeoutMs)
{
    auto *timer = new QTimer(qApp);
    auto *clock = new QElapsedTimer;
    clock->start();
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, action, timeoutMs]() {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            timer->stop();
            delete clock;
            timer->deleteLater();
            action(modal);
            return;
        }
        if (clock->elapsed() > timeoutMs) {
            timer->stop();
            delete clock;
            timer->deleteLater();
        }
    });
    timer->start();
}

void clickInNextModal(const QString &buttonObjectName, int timeoutMs)
{
    onNextModal(
        [buttonObjectName](QWidget *modal) {
            auto *button = modal->findChild<QAbstractButton *>(buttonObjectName);
            if (button)
                button->click();
            else
                modal->close();
        },
        timeoutMs);
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
