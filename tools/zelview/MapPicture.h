#ifndef ZELVIEW_MAPPICTURE_H
#define ZELVIEW_MAPPICTURE_H

#include <zelmw/networkmap/NetworkMap.h>

#include <QPixmap>
#include <QScrollArea>

class QLabel;

// The drawing of a map, the same as zelmap export draws, shown as an image: scaled down to the
// space there is (never up), or at its own size to scroll through. Any failure to draw is
// shown as plain text in its place.
class MapPicture : public QScrollArea
{
    Q_OBJECT

public:
    explicit MapPicture(QWidget *parent = nullptr);

    // Draws MAP now, which reads it through the library; no map shows a short note.
    void showMap(const zelmw::NetworkMapSharedPtr &map);
    // Whether the drawing is scaled down to fit; true at first.
    void setFitToWindow(bool fit);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void fit();

    QLabel *m_image;
    QPixmap m_drawing;
    bool m_fitToWindow = true;
};

#endif // ZELVIEW_MAPPICTURE_H
