#include <zelmw/networkmap/DeletedDeviceRecords_p.h>

#include <zelmw/config/ConfigDataFactory.h>
#include <zelmw/networkmap/DeletedDeviceDataHandler_p.h>
#include <zelmw/networkmap/NetworkMapObject.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include <QJsonDocument>
#include <QJsonObject>

namespace zelmw {

namespace {

int retentionDays()
{
    // Missing, not a number or below a day: the default.
    const int days
        = ConfigDataFactory::getInstance()->getConfigValue(DELETED_DEVICE_RETENTION_DAYS).toInt();
    return days >= 1 ? days : DELETED_DEVICE_RETENTION_DAYS_DEFAULT.toInt();
}

} // namespace

const QStringList &DeletedDeviceRecords::userDetails()
{
    static const QStringList names { DEVICE_PARAM_USER_DEFINED_NAME, GATEWAY_PARAM_USERNAME,
                                     GATEWAY_PARAM_PASSWORD, GATEWAY_PARAM_ISAUTHENTICATED };
    return names;
}

bool DeletedDeviceRecords::keep(int mapId, const NetworkMapObject &device)
{
    QJsonObject kept;
    for (const QString &name : userDetails()) {
        const QString value = device.getDetailValue(name, QString());
        if (!value.isEmpty())
            kept.insert(name, value);
    }
    if (kept.isEmpty())
        return true;
    m_known = Known::Some;
    const QString mac = device.getMacAddress().toUpper();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    DeletedDeviceDataHandler rows;
    return rows.deleteRecords(mapId, mac)
        && rows.addRecord(
            mapId, mac, QString::fromUtf8(QJsonDocument(kept).toJson(QJsonDocument::Compact)), now)
        && rows.deleteBeyond(mapId, MAX_PER_MAP, now.addDays(-retentionDays()));
}

QMap<QString, QString> DeletedDeviceRecords::takeBack(int mapId, const QString &mac)
{
    if (m_known == Known::None)
        return {};
    DeletedDeviceDataHandler rows;
    if (m_known == Known::Unknown) {
        m_known = rows.hasRecords(mapId) ? Known::Some : Known::None;
        if (m_known == Known::None)
            return {};
    }
    const DeletedDeviceDataHandler::RecordPtr record = rows.getRecord(mapId, mac.toUpper());
    if (!record || !rows.deleteRecord(int(record->Id())))
        return {};
    // Only the user's details, whatever the row holds.
    QMap<QString, QString> details;
    const QJsonObject kept = QJsonDocument::fromJson(record->Details().toUtf8()).object();
    for (const QString &name : userDetails()) {
        const QString value = kept.value(name).toString();
        if (!value.isEmpty())
            details.insert(name, value);
    }
    return details;
}

bool DeletedDeviceRecords::drop(int mapId, const QString &mac)
{
    return m_known == Known::None || DeletedDeviceDataHandler().deleteRecords(mapId, mac.toUpper());
}

} // namespace zelmw
