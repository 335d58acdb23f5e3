#ifndef ZELMAP_STOREREADER_H
#define ZELMAP_STOREREADER_H

#include <zelmw/persistence/ZelDbConnection.h>

#include <QList>
#include <QPair>
#include <QString>

// Lists what the repositories can only look up one by one: every stored map id and every
// configuration entry.
class StoreReader : public zelmw::ZelDbConnection
{
public:
    // False when the store cannot be opened or read.
    bool mapIds(QList<int> &ids);
    bool configEntries(QList<QPair<QString, QString>> &entries);
};

#endif // ZELMAP_STOREREADER_H
