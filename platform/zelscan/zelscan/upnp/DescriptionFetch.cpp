#include <zelscan/upnp/DescriptionFetch_p.h>

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace zelscan {
namespace upnp {

const int DescriptionFetch::MAX_BYTES;
const int DescriptionFetch::TIMEOUT_MS;

DescriptionFetch::DescriptionFetch(QNetworkAccessManager *manager, const QUrl &url, QObject *parent)
    : QObject(parent)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    request.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    // Asking for no compression keeps the size bound on what the server sends.
    request.setRawHeader("Accept-Encoding", "identity");
    m_reply = manager->get(request);
    m_reply->setReadBufferSize(MAX_BYTES + 1);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &DescriptionFetch::checkHeaders);
    connect(m_reply, &QNetworkReply::readyRead, this, &DescriptionFetch::read);
    connect(m_reply, &QNetworkReply::finished, this, &DescriptionFetch::complete);
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this, [this] { end(QStringLiteral("timeout")); });
    m_timeout.start(TIMEOUT_MS);
}

DescriptionFetch::~DescriptionFetch()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        delete m_reply;
    }
}

void DescriptionFetch::checkHeaders()
{
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status >= 300 && status < 400)
        end(QStringLiteral("redirect"));
    else if (m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong() > MAX_BYTES)
        end(QStringLiteral("oversized"));
}

void DescriptionFetch::read()
{
    m_document += m_reply->read(MAX_BYTES + 1 - m_document.size());
    if (m_document.size() > MAX_BYTES)
        end(QStringLiteral("oversized"));
}

void DescriptionFetch::complete()
{
    checkHeaders();
    if (m_ended)
        return;
    read();
    if (m_ended)
        return;
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (m_reply->error() != QNetworkReply::NoError)
        end(QStringLiteral("fetch failed: ") + m_reply->errorString());
    else if (status != 200)
        end(QStringLiteral("HTTP status %1").arg(status));
    else
        end({});
}

void DescriptionFetch::end(const QString &refusal)
{
    if (m_ended)
        return;
    m_ended = true;
    m_timeout.stop();
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
    emit finished(refusal.isEmpty() ? m_document : QByteArray(), refusal);
}

} // namespace upnp
} // namespace zelscan
