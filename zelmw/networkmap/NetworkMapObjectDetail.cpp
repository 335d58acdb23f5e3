#include <zelmw/networkmap/NetworkMapObjectDetail.h>

#include <zelmw/networkmap/DeviceAddressIndex_p.h>
#include <zelmw/networkmap/NetworkMapObject.h>
#include <zelmw/networkmap/NetworkMapObjectDetailDataHandler_p.h>
#include <zelmw/networkmap/NetworkMapObjectFactory.h>
#include <zelmw/persistence/DirtyFields_p.h>
#include <zelmw/persistence/MapObjectParameterDataHandler_p.h>
#include <zelmw/persistence/ModelLock_p.h>
#include <zelmw/persistence/UnitOfWork_p.h>
#include <zelmw/vocabulary/ZelConstants.h>

#include <stdexcept>

namespace zelmw {

using zeldb::NetworkMapObjectDetailsRecord;

class NetworkMapObjectDetail::Implementation
{
public:
    boost::shared_ptr<zeldb::NetworkMapObjectDetailsRecord> m_record;
    QString m_paramName;
    DirtyFields m_dirtyFields;
    NetworkMapObject *m_owner = nullptr;

    ~Implementation() { UnitOfWork::forget(this); }

    // Before a change of the value or of what is marked to save: the unit of work restores
    // both if it fails. The owner restores which details it holds, and their owner.
    void remember()
    {
        UnitOfWork::remember(this, [this] {
            return [this, record = *m_record, dirtyFields = m_dirtyFields] {
                *m_record = record;
                m_dirtyFields = dirtyFields;
            };
        });
    }
};

NetworkMapObjectDetail::NetworkMapObjectDetail(
    const boost::shared_ptr<NetworkMapObjectDetailsRecord> &record)
    : d(new Implementation)
{
    setRecord(record);
    d->m_paramName = readParamName(int(record->MapObjectParameterId()));
}

NetworkMapObjectDetail::NetworkMapObjectDetail(
    const boost::shared_ptr<NetworkMapObjectDetailsRecord> &record, const QString &paramName)
    : d(new Implementation)
{
    setRecord(record);
    d->m_paramName = paramName;
}

NetworkMapObjectDetail::~NetworkMapObjectDetail() = default;

void NetworkMapObjectDetail::setRecord(
    const boost::shared_ptr<NetworkMapObjectDetailsRecord> &record)
{
    if (!record)
        throw std::invalid_argument("NetworkMapObjectDetail setRecord failed");
    d->m_record = record;
}

QString NetworkMapObjectDetail::readParamName(int parameterId) const
{
    const MapObjectParameterDataHandler::RecordPtr parameter
        = MapObjectParameterDataHandler().getRecord(unsigned(parameterId));
    return parameter ? parameter->Name() : QString();
}

int NetworkMapObjectDetail::getId() const
{
    const ModelLock lock;
    return int(d->m_record->Id());
}

int NetworkMapObjectDetail::getNetworkMapObjectId() const
{
    const ModelLock lock;
    return int(d->m_record->NetworkMapObjectId());
}

int NetworkMapObjectDetail::getMapObjectParameterId() const
{
    const ModelLock lock;
    return int(d->m_record->MapObjectParameterId());
}

QString NetworkMapObjectDetail::getValue() const
{
    const ModelLock lock;
    return d->m_record->Value();
}

QString NetworkMapObjectDetail::getParamName() const
{
    const ModelLock lock;
    return d->m_paramName;
}

boost::shared_ptr<NetworkMapObject> NetworkMapObjectDetail::getNetworkMapObject() const
{
    const ModelLock lock;
    return NetworkMapObjectFactory::getInstance()->getNetworkMapObject(getNetworkMapObjectId());
}

void NetworkMapObjectDetail::setValue(const QString &value)
{
    const ModelLock lock;
    if (d->m_record->Value() == value)
        return;
    d->remember();
    d->m_dirtyFields.set(*d->m_record, NetworkMapObjectDetailsRecord::FieldValue, value);
    // The device reports first, as it did when it was the first receiver of valueChanged; a
    // call rather than a connection, which took more memory than the detail itself.
    if (NetworkMapObject *const owner = d->m_owner) {
        if (d->m_paramName == DEVICE_PARAM_LAN_IPADDRESS)
            DeviceAddressIndex::invalidateAll();
        UnitOfWork::announce(owner, [owner, name = d->m_paramName, value] {
            emit owner->detailChanged(name, value);
        });
    }
    UnitOfWork::announce(this,
                         [this, name = d->m_paramName, value] { emit valueChanged(name, value); });
}

void NetworkMapObjectDetail::setOwner(NetworkMapObject *owner)
{
    const ModelLock lock;
    d->m_owner = owner;
}

void NetworkMapObjectDetail::setNetworkMapObjectId(int id)
{
    const ModelLock lock;
    d->remember();
    d->m_dirtyFields.set(*d->m_record, NetworkMapObjectDetailsRecord::FieldNetworkMapObjectId,
                         unsigned(id));
}

void NetworkMapObjectDetail::setMapObjectParameterId(int id)
{
    const ModelLock lock;
    d->remember();
    d->m_dirtyFields.set(*d->m_record, NetworkMapObjectDetailsRecord::FieldMapObjectParameterId,
                         unsigned(id));
}

bool NetworkMapObjectDetail::saveData()
{
    UnitOfWork unit;
    if (!d->m_dirtyFields.isDirty())
        return false;
    d->remember();
    // The table stamps a missing update date.
    return unit.finish(d->m_dirtyFields.save<NetworkMapObjectDetailDataHandler>(*d->m_record));
}

bool NetworkMapObjectDetail::deleteData()
{
    UnitOfWork unit;
    d->remember();
    return unit.finish(d->m_dirtyFields.remove<NetworkMapObjectDetailDataHandler>(*d->m_record));
}

} // namespace zelmw
