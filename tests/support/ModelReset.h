#ifndef ZELTEST_MODELRESET_H
#define ZELTEST_MODELRESET_H

#include <zelmw/catalogue/MapObjectFactory.h>
#include <zelmw/config/ConfigDataFactory.h>
#include <zelmw/networkmap/InUseMapController.h>
#include <zelmw/networkmap/NetworkMapFactory.h>
#include <zelmw/networkmap/NetworkMapObjectFactory.h>
#include <zelmw/persistence/ZelDbConnection.h>

namespace zeltest {

// What a start of the application on the stored model finds in memory: nothing cached.
inline void forgetModel()
{
    zelmw::InUseMapController::getInstance()->reset();
    zelmw::NetworkMapFactory::getInstance()->clear();
    zelmw::NetworkMapObjectFactory::getInstance()->clear();
    zelmw::MapObjectFactory::getInstance()->clear();
    zelmw::ConfigDataFactory::getInstance()->clear();
}

// A fresh start between test functions: empty tables and repository caches. False when the
// database could not be opened.
inline bool resetModel()
{
    forgetModel();
    zelmw::ZelDbConnection connection;
    if (!connection.open())
        return false;
    connection.clearTables();
    connection.close();
    return true;
}

} // namespace zeltest

#endif // ZELTEST_MODELRESET_H
