#include <zelmw/warranty/WarrantyDevice.h>
#include <zelmw/warranty/WarrantyRecordStore_p.h>

#include <boost/make_shared.hpp>

namespace zelmw {

namespace {

using Record = zeldb::WarrantyRegistrationsRecord;

// What the product was registered with; MAC address and token are not part of it.
bool registeredDataChanged(const Record &stored, const Record &current)
{
    return stored.WarrantyUserDataId() != current.WarrantyUserDataId()
        || stored.ProductModelName() != current.ProductModelName()
        || stored.ProductFwVersion() != current.ProductFwVersion()
        || stored.ProductSerialNo() != current.ProductSerialNo();
}

} // namespace

WarrantyDevice::WarrantyDevice(int id)
{
    if (!open())
        return;
    m_record = WarrantyRecordStore::load<Record>(getWarrantyRegistrationsTable(), id);
    m_user = boost::make_shared<WarrantyUser>(int(m_record->WarrantyUserDataId()));
    close();
}

WarrantyDevice::WarrantyDevice(const WarrantyDevice &other) = default;
WarrantyDevice &WarrantyDevice::operator=(const WarrantyDevice &other) = default;
WarrantyDevice::~WarrantyDevice() = default;

int WarrantyDevice::getId() const
{
    return m_record ? int(m_record->Id()) : 0;
}

int WarrantyDevice::getWarrantyUserDataId() const
{
    return m_record ? int(m_record->WarrantyUserDataId()) : 0;
}

void WarrantyDevice::setWarrantyUserDataId(int userId)
{
    if (!m_record)
        return;
    m_record->setWarrantyUserDataId(unsigned(qMax(userId, 0)));
    if (!m_user || m_user->getId() != userId)
        m_user = boost::make_shared<WarrantyUser>(userId);
}

boost::shared_ptr<WarrantyUser> WarrantyDevice::getWarrantyUser() const
{
    return m_user;
}

void WarrantyDevice::setWarrantyUser(const boost::shared_ptr<WarrantyUser> &user)
{
    if (!user || !m_record)
        return;
    m_record->setWarrantyUserDataId(unsigned(user->getId()));
    m_user = user;
}

QString WarrantyDevice::getProductModelName() const
{
    return m_record ? m_record->ProductModelName() : QString();
}

void WarrantyDevice::setProductModelName(const QString &modelName)
{
    if (m_record)
        m_record->setProductModelName(modelName);
}

QString WarrantyDevice::getProductFwVersion() const
{
    return m_record ? m_record->ProductFwVersion() : QString();
}

void WarrantyDevice::setProductFwVersion(const QString &fwVersion)
{
    if (m_record)
        m_record->setProductFwVersion(fwVersion);
}

QString WarrantyDevice::getProductSerialNo() const
{
    return m_record ? m_record->ProductSerialNo() : QString();
}

void WarrantyDevice::setProductSerialNo(const QString &serialNo)
{
    if (m_record)
        m_record->setProductSerialNo(serialNo);
}

QString WarrantyDevice::getProductMacAddress() const
{
    return m_record ? m_record->ProductMacAddress() : QString();
}

void WarrantyDevice::setProductMacAddress(const QString &macAddress)
{
    if (m_record)
        m_record->setProductMacAddress(macAddress);
}

QString WarrantyDevice::getProductToken() const
{
    return m_record ? m_record->ProductToken() : QString();
}

void WarrantyDevice::setProductToken(const QString &token)
{
    if (m_record)
        m_record->setProductToken(token);
}

bool WarrantyDevice::isRegistered() const
{
    return m_record && m_record->IsRegistered();
}

void WarrantyDevice::setIsRegistered(bool registered)
{
    if (m_record)
        m_record->setIsRegistered(registered);
}

bool WarrantyDevice::save()
{
    if (!m_record || !m_user || m_user->getId() < 1 || !open())
        return false;
    m_record->setWarrantyUserDataId(unsigned(m_user->getId()));
    // Nothing is kept in a device's extra fields.
    m_record->setExtra1(QString());
    const bool saved = WarrantyRecordStore::save(getWarrantyRegistrationsTable(), *m_record,
                                                 registeredDataChanged);
    close();
    return saved;
}

} // namespace zelmw
