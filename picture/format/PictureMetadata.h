#pragma once

#include <QDateTime>
#include <QSize>
#include <QString>
#include <QStringList>

// What a picture file says about the picture: the camera's record (read in the decoder
// helper, checked by the program) and what the program adds from the file itself. Zero,
// empty or invalid means unknown.
struct PictureMetadata {
    // The camera's record.
    QDateTime taken; // the camera's clock, at its offset from UTC where the file records one
    QString make;
    QString model;
    QString lens;
    double exposure = 0;    // seconds
    double aperture = 0;    // f-number
    int iso = 0;            // ISO speed
    double focalLength = 0; // millimetres
    int focal35 = 0;        // millimetres on 35 mm film
    int flash = -1;         // the EXIF flash word, -1 unknown
    QSize pixels;           // the picture's size as the file records it
    bool hasGps = false;
    double latitude = 0;  // degrees, north positive
    double longitude = 0; // degrees, east positive

    // What the program adds.
    qint64 fileSize = -1;
    int format = 0;         // the picture type's code (picfmt)
    QString type;           // the picture type's description
    QStringList companions; // the names of the files that go with the picture
};
