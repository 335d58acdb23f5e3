#include "ScanFeeder.h"

#include "PipelineRunner.h"
#include "StoreSetup.h"

#include <zelscan/HomeScanner.h>

ScanFeeder::ScanFeeder(QObject *parent)
    : QObject(parent)
{ }

bool ScanFeeder::begin(QString &error)
{
    if (m_running) {
        error = QStringLiteral("a replay or discovery is still going");
        return false;
    }
    // The viewer opens the store to read; it becomes the writer only when it feeds.
    return StoreSetup::claimForFeeding(error);
}

bool ScanFeeder::startReplay(const QString &path, int intervalMs, QString &error)
{
    ReplayFile file;
    if (!file.read(path)) {
        error = file.error();
        return false;
    }
    if (!begin(error))
        return false;
    feed(file.steps(), intervalMs);
    return true;
}

bool ScanFeeder::startDiscovery(const QString &interfaceName, int intervalMs, QString &error)
{
    if (!begin(error))
        return false;
    m_running = true;
    m_found.clear();
    m_scanner = new zelscan::HomeScanner(this);
    m_scanner->setSearching(true);
    m_scanner->setInterfaceName(interfaceName);
    connect(m_scanner, &zelscan::Scanner::discovered, this,
            [this](const QMap<QString, QString> &record) {
                ReplayFile::Step step;
                step.record = record;
                m_found.append(step);
            });
    connect(m_scanner, &zelscan::Scanner::finished, this, [this, intervalMs] {
        const QString failure = m_scanner->error();
        m_scanner->deleteLater();
        if (!failure.isEmpty())
            end(1, failure);
        else
            feed(m_found, intervalMs);
    });
    m_scanner->start();
    return true;
}

void ScanFeeder::feed(const QList<ReplayFile::Step> &steps, int intervalMs)
{
    m_running = true;
    m_runner = new PipelineRunner(steps, intervalMs, QString());
    m_runner->setParent(this);
    m_runner->setEcho(false);
    // The listener serves the next run of this process too.
    m_runner->setKeepListening(true);
    connect(m_runner, &PipelineRunner::done, this, [this](int status) {
        m_runner->deleteLater();
        // The runner said why on stderr.
        end(status, QString());
    });
    m_runner->start();
}

void ScanFeeder::end(int status, const QString &message)
{
    m_running = false;
    emit finished(status, message);
}
