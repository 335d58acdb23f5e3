#include "MapPicture.h"

#include "MapRenderer.h"

#include <QLabel>

MapPicture::MapPicture(QWidget *parent)
    : QScrollArea(parent)
    , m_image(new QLabel(this))
{
    m_image->setAlignment(Qt::AlignCenter);
    // A failure's reason may quote what a device calls itself.
    m_image->setTextFormat(Qt::PlainText);
    m_image->setWordWrap(true);
    m_image->setAccessibleName(tr("Drawing of the map in use"));
    setWidget(m_image);
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setBackgroundRole(QPalette::Base);
}

void MapPicture::showMap(const zelmw::NetworkMapSharedPtr &map)
{
    m_drawing = QPixmap();
    if (!map) {
        m_image->setText(tr("No map is in use."));
        return;
    }
    MapRenderer renderer(map);
    QByteArray png;
    if (!renderer.render(QStringLiteral("png"), png)) {
        m_image->setText(tr("The map cannot be drawn: %1").arg(renderer.error()));
        return;
    }
    if (!m_drawing.loadFromData(png, "PNG")) {
        m_image->setText(tr("The drawing of the map cannot be shown."));
        return;
    }
    fit();
}

void MapPicture::setFitToWindow(bool fit)
{
    m_fitToWindow = fit;
    this->fit();
}

void MapPicture::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    fit();
}

void MapPicture::fit()
{
    if (m_drawing.isNull())
        return;
    const QSize room = viewport()->size();
    const bool tooBig = m_drawing.width() > room.width() || m_drawing.height() > room.height();
    m_image->setPixmap(m_fitToWindow && tooBig && !room.isEmpty()
                           ? m_drawing.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                           : m_drawing);
}
