#pragma once

#include "picture/format/PictureMetadata.h"

#include <QCoreApplication>
#include <QList>
#include <QLocale>
#include <QString>

// A picture's facts as lines for a person to read: a label and a value each, in the
// locale's formats (date, numbers, sizes), in a fixed order. Facts that are unknown give no
// line.
class CMetadataLines {
    Q_DECLARE_TR_FUNCTIONS(CMetadataLines)
public:
    struct SLine {
        QString label;
        QString value;
    };
    static QList<SLine> Lines(const PictureMetadata& facts, const QLocale& locale);

    // The single lines, for the panel's and the tests' use.
    static QString DateTaken(const QDateTime& taken, const QLocale& locale);
    static QString Camera(const QString& make, const QString& model);
    static QString ExposureTime(double seconds, const QLocale& locale);
    static QString Aperture(double fNumber, const QLocale& locale);
    static QString FocalLength(double mm, int mm35, const QLocale& locale);
    static QString Flash(int flash);
    static QString Dimensions(QSize pixels, const QLocale& locale);
    static QString Position(double latitude, double longitude, const QLocale& locale);

private:
    static void AddCamera(const PictureMetadata& facts, const QLocale& locale, QList<SLine>& to);
    static void AddFile(const PictureMetadata& facts, const QLocale& locale, QList<SLine>& to);
};
