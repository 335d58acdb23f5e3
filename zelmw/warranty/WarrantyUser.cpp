#include <zelmw/warranty/WarrantyRecordStore_p.h>
#include <zelmw/warranty/WarrantyUser.h>

namespace zelmw {

namespace {

using Record = zeldb::WarrantyUsersDataRecord;

// What the user registered with; the token is the application's own reference.
bool registeredDataChanged(const Record &stored, const Record &current)
{
    return stored.Name() != current.Name() || stored.Surname() != current.Surname()
        || stored.Email() != current.Email() || stored.PhoneNumber() != current.PhoneNumber();
}

} // namespace

WarrantyUser::WarrantyUser(int id)
{
    if (!open())
        return;
    m_record = WarrantyRecordStore::load<Record>(getWarrantyUsersDataTable(), id);
    close();
}

WarrantyUser::WarrantyUser(const WarrantyUser &other) = default;
WarrantyUser &WarrantyUser::operator=(const WarrantyUser &other) = default;
WarrantyUser::~WarrantyUser() = default;

int WarrantyUser::getId() const
{
    return m_record ? int(m_record->Id()) : 0;
}

QString WarrantyUser::getName() const
{
    return m_record ? m_record->Name() : QString();
}

void WarrantyUser::setName(QString name)
{
    if (m_record)
        m_record->setName(name);
}

QString WarrantyUser::getSurName() const
{
    return m_record ? m_record->Surname() : QString();
}

void WarrantyUser::setSurName(QString surName)
{
    if (m_record)
        m_record->setSurname(surName);
}

QString WarrantyUser::getMail() const
{
    return m_record ? m_record->Email() : QString();
}

void WarrantyUser::setMail(QString mail)
{
    if (m_record)
        m_record->setEmail(mail);
}

QString WarrantyUser::getPhoneNumber() const
{
    return m_record ? m_record->PhoneNumber() : QString();
}

void WarrantyUser::setPhoneNumber(QString phoneNumber)
{
    if (m_record)
        m_record->setPhoneNumber(phoneNumber);
}

QString WarrantyUser::getUserToken() const
{
    return m_record ? m_record->UserToken() : QString();
}

void WarrantyUser::setUserToken(QString userToken)
{
    if (m_record)
        m_record->setUserToken(userToken);
}

QString WarrantyUser::getTimeStamp() const
{
    return m_record ? m_record->Extra1() : QString();
}

void WarrantyUser::setTimeStamp(QString timeStamp)
{
    if (m_record)
        m_record->setExtra1(timeStamp);
}

bool WarrantyUser::isRegistered() const
{
    return m_record && m_record->IsRegistered();
}

void WarrantyUser::setIsRegistered(bool registered)
{
    if (m_record)
        m_record->setIsRegistered(registered);
}

bool WarrantyUser::save()
{
    if (!m_record || !open())
        return false;
    // Extra1 holds the time stamp the application set, so it is written as it stands.
    const bool saved
        = WarrantyRecordStore::save(getWarrantyUsersDataTable(), *m_record, registeredDataChanged);
    close();
    return saved;
}

} // namespace zelmw
