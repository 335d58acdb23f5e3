#ifndef ZELMW_DISCOVERY_NETWORKMAPDIRECTOR_P_H
#define ZELMW_DISCOVERY_NETWORKMAPDIRECTOR_P_H

#include <zelmw/discovery/NetworkMapBuilder_p.h>

namespace zelmw {

// Runs a builder's steps in their order; it does not own the builder.
class NetworkMapDirector
{
public:
    explicit NetworkMapDirector(NetworkMapBuilder *builder)
        : m_builder(builder)
    { }

    // Every step runs, also when the first one built no map.
    void construct(const boost::shared_ptr<zeldb::NetworkMapsRecord> &record, QObject *parent)
    {
        m_builder->constructNetworkMap(record, parent);
        m_builder->constructNetworkMapObjects();
        m_builder->completeNetworkMap();
    }

private:
    NetworkMapBuilder *m_builder;
};

} // namespace zelmw

#endif // ZELMW_DISCOVERY_NETWORKMAPDIRECTOR_P_H
