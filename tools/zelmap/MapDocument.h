#ifndef ZELMAP_MAPDOCUMENT_H
#define ZELMAP_MAPDOCUMENT_H

#include <zelmw/networkmap/NetworkMap.h>
#include <zelmw/networkmap/NetworkMapObject.h>

#include <QJsonObject>
#include <QMap>
#include <QString>

// The JSON shapes that scripts rely on, and the masking of secret details.
class MapDocument
{
public:
    static const QString MASK;

    // Details whose values are credentials: shown only on request.
    static bool isSecret(const QString &detailName);
    static QMap<QString, QString> details(const boost::shared_ptr<zelmw::NetworkMapObject> &device,
                                          bool showSecrets);

    // One map, as "maps --json" lists it and "show --json" names it: "devices" is its count.
    static QJsonObject map(const zelmw::NetworkMapSharedPtr &map, bool inUse);
    static QJsonObject device(const boost::shared_ptr<zelmw::NetworkMapObject> &device,
                              bool showSecrets);
    // {"map": {...}, "devices": [...]} with the devices in ascending id.
    static QJsonObject show(const zelmw::NetworkMapSharedPtr &map, bool inUse, bool showSecrets);
};

#endif // ZELMAP_MAPDOCUMENT_H
