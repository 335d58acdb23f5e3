#ifndef ZELMW_FACADES_NETWORKDEVICEFACADE_H
#define ZELMW_FACADES_NETWORKDEVICEFACADE_H

#include <zelmw/networkmap/PresenceSession.h>
#include <zelmw/zelmw_export.h>

#include <QString>
#include <boost/shared_ptr.hpp>

namespace zelmw {

class NetworkMapObject;

/// Typed read access to the details of one device, so that callers never spell detail names
/// or parse stored strings.
///
/// A facade is a cheap value: it holds only the shared device, reads the current details on
/// every call and caches nothing. Copies wrap the same device. Callers test isNull() first;
/// over no device the getters answer as for a device without details, and nothing is saved.
/// Any thread may use a facade, as the device's own calls hold the model lock; a getter that
/// reads several details may see a change made between two of them. One facade object is not
/// to be assigned while another thread uses it.
class ZELMW_EXPORT NetworkDeviceFacade
{
public:
    /// A facade over NETWORKMAPOBJECT, which may be null.
    explicit NetworkDeviceFacade(const boost::shared_ptr<NetworkMapObject> &networkMapObject);
    ///@{
    /// A copy wraps the same device.
    NetworkDeviceFacade(const NetworkDeviceFacade &other);
    NetworkDeviceFacade &operator=(const NetworkDeviceFacade &other);
    ///@}
    /// Lets go of the device.
    virtual ~NetworkDeviceFacade();

    /// Whether the facade wraps no device.
    bool isNull() const;

    ///@{
    /// The UPnP port and path details; a null string when the detail is missing.
    virtual QString getUpnpPort() const;
    virtual QString getUpnpPath() const;
    ///@}
    ///@{
    /// The UPnP device type, manufacturer, manufacturer URL, model description, model name and
    /// serial number details; an empty string, never a null one, when the detail is missing.
    virtual QString getUpnpDeviceType() const;
    virtual QString getUpnpManufacturer() const;
    virtual QString getUpnpManufacturerUrl() const;
    virtual QString getUpnpModelDescription() const;
    virtual QString getUpnpModelName() const;
    virtual QString getUpnpSerialNumber() const;
    ///@}
    /// Whether the device's MAC address is a locally administered one (the second-lowest bit
    /// of its first octet set), as phones and tablets make up a private address per network:
    /// such a device may come back under another address, as another device. False over no
    /// device and for an invalid address. Only a flag: nothing is merged by it.
    bool isRandomizedMac() const;
    /// When the device was last seen: now for a connected device, else the end of its last
    /// session on its map or, for a device disconnected before sessions were kept, its stored
    /// disconnect time; null when it was never seen or over no device. In UTC.
    QDateTime getLastSeen() const;
    /// Each stretch of time the device (by its MAC address, so across type changes and
    /// returns) was connected to its map, oldest first, within the kept history; empty over
    /// no device or when the store cannot be read.
    QList<PresenceSession> getPresenceHistory() const;

protected:
    /// The device the facade wraps; null for a null facade.
    const boost::shared_ptr<NetworkMapObject> &getNetworkMapObject() const;

    /// The detail's value; a null string when the device does not have the detail.
    QString getDetailValue(const QString &name) const;
    /// As getDetailValue(), but an empty string, never a null one.
    QString getDetailValueOrEmpty(const QString &name) const;
    /// True exactly when the stored value is "1": no trimming, no other spelling of true.
    bool isDetailTrue(const QString &name) const;
    /// The device's NetworkMapObject::saveDetail(): stored at once; false over no device.
    bool saveDetail(const QString &name, const QString &value);

private:
    boost::shared_ptr<NetworkMapObject> m_networkMapObject;
};

} // namespace zelmw

#endif // ZELMW_FACADES_NETWORKDEVICEFACADE_H
