#ifndef ZELSCAN_UPNP_DESCRIPTIONFETCH_P_H
#define ZELSCAN_UPNP_DESCRIPTIONFETCH_P_H

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

namespace zelscan {
namespace upnp {

// One bounded HTTP GET of a device description: at most MAX_BYTES, whether or not the server
// announces a length, within TIMEOUT_MS for the whole fetch, never following a redirect.
// Emits finished() exactly once, from the event loop; destroying it first aborts the fetch.
class DescriptionFetch : public QObject
{
    Q_OBJECT

public:
    static const int MAX_BYTES = 64 * 1024;
    static const int TIMEOUT_MS = 2000;

    // Starts fetching URL with MANAGER, which must not use a proxy.
    DescriptionFetch(QNetworkAccessManager *manager, const QUrl &url, QObject *parent = nullptr);
    ~DescriptionFetch() override;

signals:
    // The whole document, or an empty one and why the fetch was refused.
    void finished(const QByteArray &document, const QString &refusal);

private:
    void checkHeaders();
    void read();
    void complete();
    void end(const QString &refusal);

    QPointer<QNetworkReply> m_reply;
    QTimer m_timeout;
    QByteArray m_document;
    bool m_ended = false;
};

} // namespace upnp
} // namespace zelscan

#endif // ZELSCAN_UPNP_DESCRIPTIONFETCH_P_H
