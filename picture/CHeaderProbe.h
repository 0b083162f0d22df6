#pragma once

#include "picture/PictureInfo.h"

#include <QByteArrayView>

// Reads size and colour depth from the fixed header of a picture file without decoding
// any pixel. Each field stays 0 where the header does not tell it (or not this simply).
class CHeaderProbe {
public:
    // How many bytes of the file's start Probe wants (a JPEG's frame header may follow
    // large metadata blocks).
    static constexpr int kHeadBytes = 256 * 1024;

    static SPictureInfo Probe(int format, QByteArrayView head);

private:
    static void ProbeJpeg(QByteArrayView head, SPictureInfo& info);
    static void ProbeTiff(QByteArrayView head, SPictureInfo& info);
    static void ProbePng(QByteArrayView head, SPictureInfo& info);
    static void ProbeBmp(QByteArrayView head, SPictureInfo& info);
    static void ProbePsd(QByteArrayView head, SPictureInfo& info);
    static void ProbeFixed(int format, QByteArrayView head, SPictureInfo& info);
};
