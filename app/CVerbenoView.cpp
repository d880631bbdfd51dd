#include "app/CVerbenoView.h"

#include "res/Images.h"

#include <QPainter>
#include <QPixmap>

CVerbenoView::CVerbenoView(QWidget* parent, CDocument* document)
    : QWidget(parent), m_document(document),
      m_picturePath(QString::fromLatin1(res::kBackgroundPicture)) {
    // The picture covers every pixel, so Qt need not clear anything first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize CVerbenoView::sizeHint() const {
    return {500, 300};
}

QString CVerbenoView::Caption() {
    return QStringLiteral("Verbeno:  Verbenishly encodes MP3s for your listening pleasure...");
}

void CVerbenoView::paintEvent(QPaintEvent*) {
    QPainter dc(this);
    OnEraseBkgnd(dc);
    OnPaint();
}

bool CVerbenoView::OnEraseBkgnd(QPainter& dc) {
    // Loaded at every erase: QPixmap's cache keeps that cheap.
    const QPixmap picture(m_picturePath);
    if (picture.isNull()) {
        dc.fillRect(rect(), Qt::black);
        return true;
    }
    // No smoothing: each picture pixel becomes a block, as a plain stretched copy does.
    dc.setRenderHint(QPainter::SmoothPixmapTransform, false);
    dc.drawPixmap(rect(), picture, picture.rect());
    return true;
}

void CVerbenoView::OnPaint() {
    if (QWidget* const frame = window(); frame && frame != this)
        frame->setWindowTitle(Caption());
}
