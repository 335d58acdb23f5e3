#include "ReplayFile.h"

#include <zelmw/discovery/DiscoveryHandler.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

bool ReplayFile::read(const QString &path)
{
    QFile file;
    bool opened;
    if (path == QLatin1String("-"))
        opened = file.open(stdin, QIODevice::ReadOnly);
    else {
        file.setFileName(path);
        opened = file.open(QIODevice::ReadOnly);
    }
    if (!opened) {
        m_error = path + QStringLiteral(": cannot read: ") + file.errorString();
        return false;
    }
    return parse(path == QLatin1String("-") ? QStringLiteral("<stdin>") : path, file.readAll());
}

bool ReplayFile::fail(const QString &name, int line, const QString &reason)
{
    m_steps.clear();
    m_error = QStringLiteral("%1:%2: %3").arg(name).arg(line).arg(reason);
    return false;
}

bool ReplayFile::parse(const QString &name, const QByteArray &content)
{
    m_steps.clear();
    m_error.clear();
    const QList<QByteArray> lines = content.split('\n');
    for (int index = 0; index < lines.size(); ++index) {
        const int lineNumber = index + 1;
        const QByteArray line = lines.at(index).trimmed();
        if (line.isEmpty())
            continue;
        QJsonParseError parseError;
        const QJsonDocument document = QJsonDocument::fromJson(line, &parseError);
        if (parseError.error != QJsonParseError::NoError)
            return fail(name, lineNumber, QStringLiteral("not JSON: ") + parseError.errorString());
        if (!document.isObject())
            return fail(name, lineNumber, QStringLiteral("not a JSON object"));
        const QJsonObject object = document.object();
        if (object.isEmpty())
            return fail(name, lineNumber, QStringLiteral("empty object"));

        Step step;
        const QJsonValue connection = object.value(QLatin1String("connection"));
        if (object.size() == 1 && connection.isObject()) {
            const QJsonObject results = connection.toObject();
            if (results.isEmpty())
                return fail(name, lineNumber, QStringLiteral("\"connection\" holds no results"));
            for (auto it = results.begin(); it != results.end(); ++it) {
                if (!it.value().isBool())
                    return fail(name, lineNumber,
                                QStringLiteral("connection result for \"%1\" is not true or false")
                                    .arg(it.key()));
                step.connection.insert(it.key(), it.value().toBool());
            }
            step.isConnection = true;
        } else {
            for (auto it = object.begin(); it != object.end(); ++it) {
                if (!it.value().isString())
                    return fail(name, lineNumber,
                                QStringLiteral("value of \"%1\" is not a string").arg(it.key()));
                step.record.insert(it.key(), it.value().toString());
            }
            // The pipeline drops such a record silently; in a recording it is a typo.
            if (!step.record.contains(zelmw::NS_DEVICE_TYPE)
                && !step.record.contains(zelmw::MESH_CLIENT_LIST)
                && !step.record.contains(zelmw::WIRELESS_CLIENT_LIST))
                return fail(name, lineNumber,
                            QStringLiteral("record has none of NS_DEVICE_TYPE, MESH_CLIENT_LIST, "
                                           "WIRELESS_CLIENT_LIST"));
            // Refused by the pipeline, it would leave the scan half applied.
            const QString refusal = zelmw::DiscoveryHandler::refusalReason(step.record);
            if (!refusal.isEmpty())
                return fail(name, lineNumber, QStringLiteral("record refused: ") + refusal);
        }
        m_steps.append(step);
    }
    if (m_steps.isEmpty())
        return fail(name, lines.size(), QStringLiteral("no records"));
    return true;
}
