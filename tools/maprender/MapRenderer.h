#ifndef ZELMAP_MAPRENDERER_H
#define ZELMAP_MAPRENDERER_H

#include <zelmw/networkmap/NetworkMap.h>

#include <QByteArray>
#include <QString>

// Draws a map with Graphviz's library: the gateway in the centre, every other device joined
// to it, the maker's CPEs in their own shape, wireless links dashed, disconnected devices
// greyed, the local PC marked. Names and values from devices are drawn as plain text,
// shortened, whatever they hold: never as Graphviz syntax, markup or control characters.
// Graphviz keeps state for the whole process: draw on one thread at a time.
class MapRenderer
{
public:
    explicit MapRenderer(const zelmw::NetworkMapSharedPtr &map);

    // Into BYTES the drawing in FORMAT: "svg", "png" or "dot". False with error() set when
    // the layout or the drawing failed.
    bool render(const QString &format, QByteArray &bytes);
    QString error() const { return m_error; }

private:
    zelmw::NetworkMapSharedPtr m_map;
    QString m_error;
};

#endif // ZELMAP_MAPRENDERER_H
