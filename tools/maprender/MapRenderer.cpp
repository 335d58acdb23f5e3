#include "MapRenderer.h"
#include "TerminalText.h"

#include <zelmw/facades/VelCpeFacade.h>
#include <zelmw/networkmap/LanConnection.h>
#include <zelmw/networkmap/NetworkMapObject.h>

#include <graphviz/cgraph.h>
#include <graphviz/gvc.h>

#include <QByteArray>

#include <cmath>

namespace {

const double NODE_PITCH_INCHES = 1.9;
// Longer names are cut: drawing time and memory grow with a label's length, and a name is
// never worth more than a line. The whole name stays in JSON and in `zelmap device`.
const int MAX_DRAWN_LENGTH = 64;

void set(void *object, const char *name, const QByteArray &value)
{
    agsafeset(object, const_cast<char *>(name), const_cast<char *>(value.constData()),
              const_cast<char *>(""));
}

// Device-provided TEXT as a plain Graphviz label shows it: cut to MAX_DRAWN_LENGTH with an
// ellipsis, control and bidirectional characters shown escaped as on a terminal (XML cannot
// hold most of them at all), the non-characters XML forbids replaced. Graphviz reads label
// escapes (\n, \N, \G...) and entities in the text, so a backslash and an ampersand are
// written as those escapes of themselves; quotes are left to the DOT writer.
QByteArray drawnText(const QString &text)
{
    QString shown = text;
    if (shown.size() > MAX_DRAWN_LENGTH) {
        int kept = MAX_DRAWN_LENGTH - 1;
        if (shown.at(kept - 1).isHighSurrogate())
            --kept;
        shown = shown.left(kept) + QChar(0x2026);
    }
    shown = TerminalText::escaped(shown);
    for (const QChar nonCharacter : { QChar(0xfffe), QChar(0xffff) })
        shown.replace(nonCharacter, QChar::ReplacementCharacter);
    shown.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    shown.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    return shown.toUtf8();
}

// A label line ends in Graphviz's "\n".
QByteArray labelLine(const QString &text)
{
    return drawnText(text) + "\\n";
}

// One Graphviz context for the whole process, never freed. Its text layout plugin keeps the
// font it measured last as a pointer into the context's table of fonts, so a drawing made after
// an earlier context was freed would compare font names in freed memory. Sharing the context
// also spares loading the plugins for every drawing.
GVC_t *graphvizContext()
{
    static GVC_t *const context = gvContext();
    return context;
}

} // namespace

MapRenderer::MapRenderer(const zelmw::NetworkMapSharedPtr &map)
    : m_map(map)
{ }

bool MapRenderer::render(const QString &format, QByteArray &bytes)
{
    GVC_t *context = graphvizContext();
    Agraph_t *graph = agopen(const_cast<char *>("network"), Agundirected, nullptr);
    set(graph, "layout", "twopi");
    set(graph, "overlap", "false");
    set(graph, "bgcolor", "white");
    set(graph, "pad", "0.4");
    set(graph, "label", labelLine(m_map->getName()) + "map " + QByteArray::number(m_map->getId()));
    set(graph, "labelloc", "t");
    set(graph, "fontname", "Helvetica");
    set(graph, "fontsize", "20");

    const QList<boost::shared_ptr<zelmw::NetworkMapObject>> devices = m_map->getNwMapObjectList();
    // One ring around the gateway, wide enough that the labels do not collide.
    const double ringRadius = qMax(2.0, devices.size() * NODE_PITCH_INCHES / (2 * M_PI));
    set(graph, "ranksep", QByteArray::number(ringRadius, 'f', 2));
    const int masterId = m_map->getMasterDeviceId();
    Agnode_t *centre = nullptr;
    QList<QPair<Agnode_t *, boost::shared_ptr<zelmw::NetworkMapObject>>> nodes;
    for (const auto &device : devices) {
        Agnode_t *node = agnode(graph, QByteArray::number(device->getId()).data(), 1);
        const bool isMaster = device->getId() == masterId
            || (masterId == 0 && !centre && device->getTypeName() == QLatin1String("GATEWAY"));
        const bool isCpe = zelmw::VelCpeFacade(device).isVelmoraCpe();
        const bool isLocal = device->getId() == m_map->getLocalZelPcId();
        QByteArray label = labelLine(device->getName()) + labelLine(device->getIpAddress())
            + drawnText(device->getTypeName());
        QByteArray fill = "#eef3f8";
        set(node, "shape", "box");
        set(node, "style", "rounded,filled");
        set(node, "fontname", "Helvetica");
        set(node, "fontsize", "11");
        set(node, "color", "#4a6785");
        if (isMaster) {
            set(node, "shape", "doubleoctagon");
            set(node, "style", "filled");
            set(node, "fontsize", "14");
            fill = "#a9cce3";
            centre = node;
        } else if (isCpe) {
            set(node, "shape", "box3d");
            set(node, "style", "filled");
            fill = "#f9e79f";
        }
        if (isCpe)
            label += "\\nVelmora CPE";
        if (zelmw::NetworkDeviceFacade(device).isRandomizedMac())
            label += "\\n(private MAC)";
        if (isLocal) {
            label = "[ this PC ]\\n" + label;
            set(node, "penwidth", "3");
            set(node, "color", "#1e8449");
            fill = "#d5f5e3";
        }
        if (!device->getIsConnected()) {
            fill = "#eeeeee";
            set(node, "color", "#aaaaaa");
            set(node, "fontcolor", "#999999");
            label += "\\n(disconnected)";
        }
        set(node, "fillcolor", fill);
        set(node, "label", label);
        nodes.append(qMakePair(node, device));
    }
    if (centre)
        set(graph, "root", agnameof(centre));
    for (const auto &entry : qAsConst(nodes)) {
        if (!centre || entry.first == centre)
            continue;
        Agedge_t *edge = agedge(graph, centre, entry.first, nullptr, 1);
        const bool wireless = entry.second->getConnectionType() == zelmw::LAN_TYPE_WIRELESS;
        set(edge, "style", wireless ? "dashed" : "solid");
        set(edge, "color", entry.second->getIsConnected() ? "#4a6785" : "#cccccc");
    }

    bool ok = gvLayout(context, graph, "twopi") == 0;
    if (!ok)
        m_error = QStringLiteral("the layout failed");
    if (ok) {
        // In memory: Graphviz's own writers end the process when a write fails.
        char *data = nullptr;
        unsigned int length = 0;
        ok = gvRenderData(context, graph, format.toLatin1().constData(), &data, &length) == 0;
        if (ok)
            bytes = QByteArray(data, int(length));
        else
            m_error = QStringLiteral("cannot draw the map as %1").arg(format);
        gvFreeRenderData(data);
        gvFreeLayout(context, graph);
    }
    agclose(graph);
    return ok;
}
