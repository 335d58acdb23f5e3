#include <zelmw/networkmap/DiscoveryRecordLimits_p.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include <zellogger/BurstLog_p.h>
#include <zellogger/ZelLogger.h>

namespace zelmw {

namespace {

bool isWellFormed(const QString &text)
{
    const QChar *const chars = text.constData();
    const int size = text.size();
    // Nearly every text has no surrogate at all: a pass without branches, which the compiler
    // vectorises, tells so before any pair is checked. Every queued record is checked.
    const ushort *const units = reinterpret_cast<const ushort *>(chars);
    unsigned surrogates = 0;
    for (int i = 0; i < size; ++i)
        surrogates |= unsigned((units[i] & 0xF800) == 0xD800);
    if (!surrogates)
        return true;
    for (int i = 0; i < size; ++i) {
        if (!chars[i].isSurrogate())
            continue;
        if (!chars[i].isHighSurrogate() || i + 1 == size || !chars[i + 1].isLowSurrogate())
            return false;
        ++i;
    }
    return true;
}

} // namespace

const int DiscoveryRecordLimits::MAX_KEYS;
const int DiscoveryRecordLimits::MAX_KEY_LENGTH;
const int DiscoveryRecordLimits::MAX_VALUE_LENGTH;
const int DiscoveryRecordLimits::MAX_RECORD_LENGTH;
const int DiscoveryRecordLimits::MAX_CLIENT_LIST_ENTRIES;

QString DiscoveryRecordLimits::excess(const QMap<QString, QString> &record)
{
    using Limits = DiscoveryRecordLimits;
    if (record.size() > Limits::MAX_KEYS)
        return QStringLiteral("more than %1 keys").arg(Limits::MAX_KEYS);
    qint64 length = 0;
    for (auto entry = record.cbegin(); entry != record.cend(); ++entry) {
        if (entry.key().size() > Limits::MAX_KEY_LENGTH)
            return QStringLiteral("a key longer than %1 characters").arg(Limits::MAX_KEY_LENGTH);
        if (entry.value().size() > Limits::MAX_VALUE_LENGTH) {
            return QStringLiteral("a value longer than %1 characters")
                .arg(Limits::MAX_VALUE_LENGTH);
        }
        length += entry.key().size() + entry.value().size();
        if (length > Limits::MAX_RECORD_LENGTH)
            return QStringLiteral("more than %1 characters").arg(Limits::MAX_RECORD_LENGTH);
        if (!isWellFormed(entry.key()) || !isWellFormed(entry.value()))
            return QStringLiteral("an unpaired UTF-16 surrogate");
    }
    for (const QString &key : { MESH_CLIENT_LIST, WIRELESS_CLIENT_LIST }) {
        // Entries are separated by '#'.
        if (record.value(key).count(QLatin1Char('#')) >= Limits::MAX_CLIENT_LIST_ENTRIES) {
            return QStringLiteral("more than %1 entries in %2")
                .arg(Limits::MAX_CLIENT_LIST_ENTRIES)
                .arg(key);
        }
    }
    return QString();
}

bool DiscoveryRecordLimits::admit(const QMap<QString, QString> &record, const QString &caller)
{
    const QString bound = excess(record);
    if (bound.isEmpty())
        return true;
    const QString message = caller + QStringLiteral(" - record refused: ") + bound;
    BurstLog::log(message, message, ZelLogger::WARNING_LEVEL, LOGGER_NAME);
    return false;
}

} // namespace zelmw
