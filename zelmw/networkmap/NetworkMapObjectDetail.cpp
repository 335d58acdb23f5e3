#include <zelmw/networkmap/NetworkMapObjectDetail_p.h>

#include <zelmw/networkmap/NetworkMapObjectDetailDataHandler_p.h>
#include <zelmw/networkmap/NetworkMapObjectFactory.h>
#include <zelmw/networkmap/NetworkMapObject_p.h>
#include <zelmw/persistence/MapObjectParameterDataHandler_p.h>
#include <zelmw/persistence/ModelLock_p.h>
#include <zelmw/persistence/UnitOfWork_p.h>

#include <stdexcept>

namespace zelmw {

using zeldb::NetworkMapObjectDetailsRecord;

namespace {

QString readParamName(int parameterId)
{
    const MapObjectParameterDataHandler::RecordPtr parameter
        = MapObjectParameterDataHandler().getRecord(unsigned(parameterId));
    return parameter ? parameter->Name() : QString();
}

} // namespace

NetworkMapObjectDetail::Implementation::Implementation(
    const boost::shared_ptr<NetworkMapObjectDetailsRecord> &record)
    : m_record(record)
{
    if (!record)
        throw std::invalid_argument("NetworkMapObjectDetail setRecord failed");
}

NetworkMapObjectDetail::Implementation::~Implementation()
{
    UnitOfWork::forget(this);
}

void NetworkMapObjectDetail::Implementation::remember()
{
    UnitOfWork::remember(this, [this] {
        return [this, record = *m_record, dirtyFields = m_dirtyFields] {
            *m_record = record;
            m_dirtyFields = dirtyFields;
        };
    });
}

NetworkMapObjectDetail::NetworkMapObjectDetail(
    const boost::shared_ptr<NetworkMapObjectDetailsRecord> &record)
    : d(new Implementation(record))
{
    d->m_paramName = readParamName(int(record->MapObjectParameterId()));
}

NetworkMapObjectDetail::NetworkMapObjectDetail(
    const boost::shared_ptr<NetworkMapObjectDetailsRecord> &record, const QString &paramName)
    : d(new Implementation(record))
{
    d->m_paramName = paramName;
}

NetworkMapObjectDetail::~NetworkMapObjectDetail() = default;

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
    if (d->owner)
        d->owner->detailChanged(d->m_paramName, value);
    UnitOfWork::announce(this,
                         [this, name = d->m_paramName, value] { emit valueChanged(name, value); });
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
