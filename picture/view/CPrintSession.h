#pragma once

#include <QImage>
#include <QRectF>
#include <memory>

class CPictureSource;
class QPainter;
class QPrinter;

// One printed page on the program's shared printer: Begin opens it and gives a handle,
// Draw puts a picture on it, End finishes the page and the print job.
//
// Rectangles are in printer units of 1/600 inch from the top left corner of the printable
// area; one that does not fit the printable area is shrunk, keeping its proportions,
// until it does.
class CPrintSession {
public:
    static constexpr double kUnitsPerInch = 600.0;

    CPrintSession();
    ~CPrintSession();

    // A non-zero handle, or 0 when there is no printer or it cannot start a page.
    long Begin(QPrinter* printer);
    bool IsActive() const { return m_painter != nullptr; }
    // The rectangle in printer pixels that Draw would fill (empty when not active).
    QRectF DeviceRect(long handle, const QRectF& units) const;
    bool Draw(long handle, const QRectF& units, const QImage& image);
    // Draws the picture of `source`, decoded for the rectangle; false when it cannot be
    // decoded (the source is then closed and tells why) or the rectangle is empty.
    bool DrawPicture(long handle, const QRectF& units, CPictureSource& source);
    void End(long handle);

private:
    std::unique_ptr<QPainter> m_painter;
    QPrinter* m_pPrinter = nullptr;
    long m_nHandle = 0;
    long m_nLastHandle = 0;
};
