#include <zelmw/persistence/DbConfigXmlReader.h>

#include <QAbstractMessageHandler>
#include <QByteArray>
#include <QDomDocument>
#include <QDomElement>
#include <QDomNode>
#include <QFile>
#include <QMetaObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>
#include <QXmlSchema>
#include <QXmlSchemaValidator>
#include <QXmlStreamReader>

namespace zelmw {

namespace {

const QString SCHEMA_RESOURCE = QStringLiteral(":/xml_schema/zelconfig_schema.xsd");

// The shipped file is a few kilobytes; the cap bounds what a hostile file can make us hold.
const qint64 MAX_DOCUMENT_SIZE = 1024 * 1024;

// A reply that has already failed. The requester connects to a reply only after receiving
// it, so the failure is announced from the event loop rather than from the constructor.
class RefusedReply : public QNetworkReply
{
public:
    RefusedReply(QNetworkAccessManager::Operation operation, const QNetworkRequest &request,
                 QObject *parent)
        : QNetworkReply(parent)
    {
        setOperation(operation);
        setRequest(request);
        setUrl(request.url());
        setError(ContentAccessDenied, QStringLiteral("access refused"));
        open(QIODevice::ReadOnly);
        setFinished(true);
        QMetaObject::invokeMethod(
            this,
            [this]() {
                emit errorOccurred(ContentAccessDenied);
                emit finished();
            },
            Qt::QueuedConnection);
    }

    void abort() override { }

protected:
    qint64 readData(char *, qint64) override { return -1; }
};

// The validator follows xsi:schemaLocation and xsi:noNamespaceSchemaLocation (http and file
// URLs alike) even though its schema is embedded, and a URI resolver does not stop it. Every
// such fetch goes through the network access manager, so this one refuses them all and
// remembers that the document tried.
class RefusingNetworkAccessManager : public QNetworkAccessManager
{
public:
    bool wasAsked() const { return m_asked; }

protected:
    QNetworkReply *createRequest(Operation operation, const QNetworkRequest &request,
                                 QIODevice *) override
    {
        m_asked = true;
        return new RefusedReply(operation, request, this);
    }

private:
    bool m_asked = false;
};

// The reader reports failures through its last error only; the validator would otherwise
// print its diagnostics through qWarning.
class SilentMessageHandler : public QAbstractMessageHandler
{
protected:
    void handleMessage(QtMsgType, const QString &, const QUrl &, const QSourceLocation &) override
    { }
};

// Entities can only be declared in a DTD, so refusing any DTD rules out entity expansion and
// external entities before the validator or the DOM parser see the document.
bool isWellFormedWithoutDtd(const QByteArray &content)
{
    QXmlStreamReader reader(content);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::DTD)
            return false;
    }
    return !reader.hasError();
}

bool isElementNamed(const QDomNode &node, QLatin1String tagName)
{
    return node.isElement() && node.toElement().tagName() == tagName;
}

} // namespace

class DbConfigXmlReader::Implementation
{
public:
    explicit Implementation(const QString &fileName)
        : m_fileName(fileName)
    { }

    bool parseConfigProperties(QList<ConfigXmlProperty> &properties);

    QString m_fileName;
    QString m_lastError;

private:
    bool validate(QByteArray &content);
    void loadSchema(QXmlSchema &schema) const;
    bool readContent(QByteArray &content) const;
    bool readDocument(const QByteArray &content, QDomDocument &document);
    static bool parseDocument(const QDomDocument &document, QList<ConfigXmlProperty> &properties);
    static bool parseProperty(const QDomNode &node, ConfigXmlProperty &property);
};

bool DbConfigXmlReader::Implementation::parseConfigProperties(QList<ConfigXmlProperty> &properties)
{
    // The bytes that passed validation are the ones parsed: the file is read only once.
    QByteArray content;
    if (!validate(content))
        return false;
    QDomDocument document;
    if (!readDocument(content, document))
        return false;
    return parseDocument(document, properties);
}

void DbConfigXmlReader::Implementation::loadSchema(QXmlSchema &schema) const
{
    QFile file(SCHEMA_RESOURCE);
    file.open(QIODevice::ReadOnly);
    schema.load(&file, QUrl::fromLocalFile(file.fileName()));
}

bool DbConfigXmlReader::Implementation::readContent(QByteArray &content) const
{
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // One byte past the cap tells an oversized file from one that just fits, also for files
    // that do not know their size.
    content = file.read(MAX_DOCUMENT_SIZE + 1);
    return content.size() <= MAX_DOCUMENT_SIZE;
}

bool DbConfigXmlReader::Implementation::validate(QByteArray &content)
{
    // Declared before the schema and the validator, which keep plain pointers to them.
    SilentMessageHandler messageHandler;
    RefusingNetworkAccessManager networkAccessManager;

    QXmlSchema schema;
    schema.setMessageHandler(&messageHandler);
    schema.setNetworkAccessManager(&networkAccessManager);
    loadSchema(schema);
    if (!schema.isValid()) {
        m_lastError = QStringLiteral("invalid schema file");
        return false;
    }

    QXmlSchemaValidator validator(schema);
    validator.setMessageHandler(&messageHandler);
    validator.setNetworkAccessManager(&networkAccessManager);
    // A document that asked for anything from outside is refused even if the validator
    // chose to carry on without it.
    const bool valid = readContent(content) && isWellFormedWithoutDtd(content)
        && validator.validate(content, QUrl::fromLocalFile(m_fileName))
        && !networkAccessManager.wasAsked();
    if (!valid) {
        m_lastError = QStringLiteral("xml document is invalid: ") + m_fileName;
        return false;
    }
    return true;
}

bool DbConfigXmlReader::Implementation::readDocument(const QByteArray &content,
                                                     QDomDocument &document)
{
    document.clear();
    // The stream reader overload: the byte-array one expands entities without bound.
    QXmlStreamReader reader(content);
    if (!document.setContent(&reader, false)) {
        m_lastError
            = QStringLiteral("QDomDocument setContent failed for xml document:") + m_fileName;
        return false;
    }
    return true;
}

bool DbConfigXmlReader::Implementation::parseDocument(const QDomDocument &document,
                                                      QList<ConfigXmlProperty> &properties)
{
    const QDomElement root = document.documentElement();
    if (root.tagName() != QLatin1String("zel"))
        return false;

    QDomNode list = root.firstChild();
    while (!list.isNull() && !isElementNamed(list, QLatin1String("config-properties")))
        list = list.nextSibling();
    if (list.isNull())
        return false;

    for (QDomNode node = list.firstChild(); !node.isNull(); node = node.nextSibling()) {
        ConfigXmlProperty property;
        if (parseProperty(node, property) && !property.key.isEmpty())
            properties.append(property);
    }
    return true;
}

bool DbConfigXmlReader::Implementation::parseProperty(const QDomNode &node,
                                                      ConfigXmlProperty &property)
{
    if (!isElementNamed(node, QLatin1String("property")) || !node.hasChildNodes())
        return false;

    bool hasKey = false;
    bool hasVal = false;
    for (QDomElement child = node.firstChildElement(); !child.isNull();
         child = child.nextSiblingElement()) {
        const QString tag = child.tagName();
        if (tag == QLatin1String("key")) {
            property.key = child.text();
            hasKey = true;
        } else if (tag == QLatin1String("val")) {
            property.val = child.text();
            hasVal = true;
        } else if (tag == QLatin1String("overwrite")) {
            property.overwrite = child.text().toLower() == QLatin1String("true");
        }
    }
    return hasKey && hasVal;
}

DbConfigXmlReader::DbConfigXmlReader(const QString &fileName, QObject *parent)
    : QObject(parent)
    , m_impl(new Implementation(fileName))
{ }

DbConfigXmlReader::~DbConfigXmlReader() = default;

void DbConfigXmlReader::setFileName(const QString &fileName)
{
    m_impl->m_fileName = fileName;
}

bool DbConfigXmlReader::parseConfigProperties(QList<ConfigXmlProperty> &properties)
{
    return m_impl->parseConfigProperties(properties);
}

QString DbConfigXmlReader::getLastError() const
{
    return m_impl->m_lastError;
}

} // namespace zelmw
