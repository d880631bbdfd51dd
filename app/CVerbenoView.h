#pragma once
// The main window's view: the program's picture stretched over the whole client area, width and
// height scaled independently, and the frame's caption set to the program's motto at every
// paint.

#include <QWidget>

class CDocument;

class CVerbenoView : public QWidget {
    Q_OBJECT
public:
    CVerbenoView(QWidget* parent, CDocument* document);

    CDocument* GetDocument() const { return m_document; }
    QSize sizeHint() const override;
    // Where the picture comes from (bitmap 102); a picture that cannot be loaded paints black.
    void SetPicturePath(const QString& path) { m_picturePath = path; }

    static QString Caption();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool OnEraseBkgnd(QPainter& dc);
    void OnPaint();

private:
    CDocument* m_document;
    QString m_picturePath;
};
