#include <zelmw/persistence/DbConfigXmlReader.h>

#include <QByteArray>
#include <QDomDocument>
#include <QDomElement>
#include <QDomNode>
#include <QFile>
#include <QXmlStreamAttributes>
#include <QXmlStreamReader>

#include <libxml/parser.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlschemas.h>

#include <atomic>
#include <mutex>

namespace zelmw {

namespace {

const QString SCHEMA_RESOURCE = QStringLiteral(":/xml_schema/zelconfig_schema.xsd");
const QString XSI_NAMESPACE = QStringLiteral("http://www.w3.org/2001/XMLSchema-instance");

// The shipped file is a few kilobytes; the cap bounds what a hostile file can make us hold.
const qint64 MAX_DOCUMENT_SIZE = 1024 * 1024;

// No network, no entity substitution, no DTD loading or validation, no XInclude, and the
// parser's size and depth limits in force.
const int DOCUMENT_OPTIONS = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

enum class Verdict { Valid, InvalidSchema, InvalidDocument };

// Set while this thread validates: every load libxml2 attempts for it is refused and noted.
thread_local bool refusingLoads = false;
thread_local bool loadRefused = false;
std::atomic<xmlExternalEntityLoader> otherLoader { nullptr };

xmlParserInputPtr refuseOrDelegate(const char *url, const char *id, xmlParserCtxtPtr context)
{
    if (refusingLoads) {
        loadRefused = true;
        return nullptr;
    }
    return otherLoader.load(std::memory_order_acquire)(url, id, context);
}

// libxml2 is initialised once and never cleaned up: other users in the process may still
// need it. Its entity loader is process-wide, not per parser: ours refuses only the loads of
// a thread that is validating here and hands every other one to the loader it replaced.
void prepareLibxml()
{
    static std::once_flag prepared;
    std::call_once(prepared, [] {
        xmlInitParser();
        otherLoader.store(xmlGetExternalEntityLoader(), std::memory_order_release);
        xmlSetExternalEntityLoader(refuseOrDelegate);
    });
}

// The reader reports failures through its last error only.
void ignoreError(void *, xmlErrorPtr)
{ }

Verdict validateWithLibxml(const QByteArray &schemaText, const QByteArray &content)
{
    xmlSchemaParserCtxtPtr schemaParser
        = xmlSchemaNewMemParserCtxt(schemaText.constData(), schemaText.size());
    xmlSchemaPtr schema = schemaParser ? xmlSchemaParse(schemaParser) : nullptr;
    xmlSchemaFreeParserCtxt(schemaParser);
    if (!schema)
        return Verdict::InvalidSchema;

    // No base URL: nothing in the document resolves to a file beside it.
    xmlDocPtr document
        = xmlReadMemory(content.constData(), content.size(), nullptr, nullptr, DOCUMENT_OPTIONS);
    // A DOCTYPE is refused before anything reads the tree, which would expand its entities;
    // the stream reader refused one already, but two parsers may read odd bytes differently.
    bool valid = document && !document->intSubset && !document->extSubset;
    if (valid) {
        xmlSchemaValidCtxtPtr validator = xmlSchemaNewValidCtxt(schema);
        valid = validator && xmlSchemaValidateDoc(validator, document) == 0;
        xmlSchemaFreeValidCtxt(validator);
    }
    xmlFreeDoc(document);
    xmlSchemaFree(schema);
    return valid ? Verdict::Valid : Verdict::InvalidDocument;
}

// Validates with this thread's libxml2 diagnostics silenced and its loads refused; a
// document that asked for anything from outside is refused even if libxml2 carried on.
Verdict validateQuietly(const QByteArray &schemaText, const QByteArray &content)
{
    prepareLibxml();
    const xmlStructuredErrorFunc errorHandler = xmlStructuredError;
    void *const errorContext = xmlStructuredErrorContext;
    xmlSetStructuredErrorFunc(nullptr, ignoreError);
    refusingLoads = true;
    loadRefused = false;
    Verdict verdict = validateWithLibxml(schemaText, content);
    if (verdict == Verdict::Valid && loadRefused)
        verdict = Verdict::InvalidDocument;
    refusingLoads = false;
    xmlSetStructuredErrorFunc(errorContext, errorHandler);
    return verdict;
}

bool namesSchema(const QXmlStreamAttributes &attributes)
{
    return attributes.hasAttribute(XSI_NAMESPACE, QStringLiteral("schemaLocation"))
        || attributes.hasAttribute(XSI_NAMESPACE, QStringLiteral("noNamespaceSchemaLocation"));
}

// Entities can only be declared in a DTD, so refusing any DTD rules out entity expansion and
// external entities before either parser builds a tree. A document naming a schema of its
// own is refused too, although the validator would ignore it and use the embedded one.
bool isPlainDocument(const QByteArray &content)
{
    QXmlStreamReader reader(content);
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::DTD
            || (token == QXmlStreamReader::StartElement && namesSchema(reader.attributes())))
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
    QFile schemaFile(SCHEMA_RESOURCE);
    schemaFile.open(QIODevice::ReadOnly);
    const Verdict verdict = readContent(content) && isPlainDocument(content)
        ? validateQuietly(schemaFile.readAll(), content)
        : Verdict::InvalidDocument;
    if (verdict == Verdict::InvalidSchema) {
        m_lastError = QStringLiteral("invalid schema file");
        return false;
    }
    if (verdict == Verdict::InvalidDocument) {
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
