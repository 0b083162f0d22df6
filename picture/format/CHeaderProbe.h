#pragma once

#include "picture/format/PictureInfo.h"

#include <QByteArrayView>

class QIODevice;

// Reads size and colour depth from the fixed header of a picture file without decoding
// any pixel. Each field stays 0 where the header does not tell it (or not this simply).
class CHeaderProbe {
public:
    // How many bytes of the file's start Probe wants (a JPEG's frame header may follow
    // large metadata blocks).
    static constexpr int kHeadBytes = 256 * 1024;

    // `file`, when given, is read for what lies beyond the head (a TIFF's first directory
    // may be anywhere in the file).
    static SPictureInfo Probe(int format, QByteArrayView head, QIODevice* file = nullptr);

private:
    static void ProbeJpeg(QByteArrayView head, SPictureInfo& info);
    static void ProbeTiff(QByteArrayView head, QIODevice* file, SPictureInfo& info);
    static void ProbePng(QByteArrayView head, SPictureInfo& info);
    static void ProbeBmp(QByteArrayView head, SPictureInfo& info);
    static void ProbePsd(QByteArrayView head, SPictureInfo& info);
    static void ProbeFixed(int format, QByteArrayView head, SPictureInfo& info);
};
